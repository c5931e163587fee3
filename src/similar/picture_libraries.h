#pragma once
// The picture libraries, opened when a picture is first read (see platform/shared_library.h).
#include <FreeImage.h>
#include <libheif/heif.h>

#include <string>

#include "platform/shared_library.h"

namespace twinex::similar {

#define TWINEX_FREEIMAGE_FUNCTIONS(X)                                                                           \
  X(FreeImage_Initialise) X(FreeImage_SetOutputMessage) X(FreeImage_Unload) X(FreeImage_Allocate)              \
  X(FreeImage_GetScanLine) X(FreeImage_GetFileType) X(FreeImage_GetFIFFromFilename)                           \
  X(FreeImage_FIFSupportsReading) X(FreeImage_FIFSupportsNoPixels) X(FreeImage_Load) X(FreeImage_HasPixels)   \
  X(FreeImage_GetWidth) X(FreeImage_GetHeight) X(FreeImage_GetImageType) X(FreeImage_ConvertToStandardType)   \
  X(FreeImage_ConvertTo32Bits) X(FreeImage_GetBPP) X(FreeImage_Copy) X(FreeImage_Rescale)                   \
  X(FreeImage_ConvertFromRawBits) X(FreeImage_OpenMemory) X(FreeImage_SaveToMemory) X(FreeImage_AcquireMemory) \
  X(FreeImage_CloseMemory)

#define TWINEX_HEIF_FUNCTIONS(X)                                                                              \
  X(heif_context_alloc) X(heif_context_free) X(heif_context_read_from_file)                                   \
  X(heif_context_get_primary_image_handle) X(heif_image_handle_get_width) X(heif_image_handle_get_height)     \
  X(heif_image_handle_release) X(heif_decode_image) X(heif_image_get_plane_readonly) X(heif_image_get_width)  \
  X(heif_image_get_height) X(heif_image_release)

struct FreeImageLibrary {
  TWINEX_FREEIMAGE_FUNCTIONS(TWINEX_LIBRARY_MEMBER)
};
struct HeifLibrary {
  TWINEX_HEIF_FUNCTIONS(TWINEX_LIBRARY_MEMBER)
};

// Null when the library cannot be loaded; *error then says why.
const FreeImageLibrary* FreeImageLib(std::string* error = nullptr);
const HeifLibrary* HeifLib(std::string* error = nullptr);

}  // namespace twinex::similar

#include "similar/picture_libraries.h"

namespace twinex::similar {

const FreeImageLibrary* FreeImageLib(std::string* error) {
  static const FreeImageLibrary* lib =
      TWINEX_LOAD_LIBRARY(FreeImageLibrary, TWINEX_FREEIMAGE_SONAME, TWINEX_FREEIMAGE_FUNCTIONS);
  if (!lib && error) *error = platform::LibraryError(TWINEX_FREEIMAGE_SONAME);
  return lib;
}

const HeifLibrary* HeifLib(std::string* error) {
  static const HeifLibrary* lib = TWINEX_LOAD_LIBRARY(HeifLibrary, TWINEX_LIBHEIF_SONAME, TWINEX_HEIF_FUNCTIONS);
  if (!lib && error) *error = platform::LibraryError(TWINEX_LIBHEIF_SONAME);
  return lib;
}

}  // namespace twinex::similar

#include "similar/picture_libraries.h"

namespace twinex::similar {

const FreeImageLibrary* FreeImageLib(std::string* error) {
  static const FreeImageLibrary* lib = platform::LoadLibraryTable<FreeImageLibrary>(
      TWINEX_FREEIMAGE_SONAME,
      [](FreeImageLibrary& t, platform::SharedLibrary& so) { TWINEX_FREEIMAGE_FUNCTIONS(TWINEX_LIBRARY_RESOLVE) });
  if (!lib && error) *error = platform::LibraryError(TWINEX_FREEIMAGE_SONAME);
  return lib;
}

const HeifLibrary* HeifLib(std::string* error) {
  static const HeifLibrary* lib = platform::LoadLibraryTable<HeifLibrary>(
      TWINEX_LIBHEIF_SONAME,
      [](HeifLibrary& t, platform::SharedLibrary& so) { TWINEX_HEIF_FUNCTIONS(TWINEX_LIBRARY_RESOLVE) });
  if (!lib && error) *error = platform::LibraryError(TWINEX_LIBHEIF_SONAME);
  return lib;
}

}  // namespace twinex::similar

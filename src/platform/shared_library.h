#pragma once
// A shared library loaded on first use instead of at program start. The picture, media,
// archive, spreadsheet and transfer libraries pull in some seventy further libraries between
// them; loading them all up front cost a plain content search more memory and start-up time
// than its own work on a small tree. A library's functions are kept in a table of pointers,
// named and typed after the library's own declarations:
//
//   #define ZIP_FUNCTIONS(X) X(zip_open) X(zip_close)
//   struct ZipLibrary { ZIP_FUNCTIONS(TWINEX_LIBRARY_MEMBER) };
//   const ZipLibrary* Zip() {
//     static const ZipLibrary* lib = TWINEX_LOAD_LIBRARY(ZipLibrary, TWINEX_ZIP_SONAME, ZIP_FUNCTIONS);
//     return lib;
//   }
#include <string>

namespace twinex::platform {

class SharedLibrary {
 public:
  explicit SharedLibrary(const char* soname);
  bool Loaded() const { return handle_ != nullptr; }
  // The function's address, or null (and the reason in error()).
  void* Symbol(const char* name);
  // Why the library or one of its functions could not be found.
  const std::string& error() const { return error_; }

 private:
  std::string soname_;
  void* handle_ = nullptr;  // never closed: the library's functions may be in use until exit
  std::string error_;
};

// Fills a table through `resolve`; null when the library or a function is missing, with the
// reason kept for LibraryError(soname).
template <class Table, class Resolve>
const Table* LoadLibraryTable(const char* soname, Resolve resolve) {
  SharedLibrary so(soname);
  if (!so.Loaded()) return nullptr;
  static Table table;  // one per library type, filled once by the caller's static
  resolve(table, so);
  return so.error().empty() ? &table : nullptr;
}

// Why the library named could not be loaded ("" when it was, or was never tried).
std::string LibraryError(const char* soname);

}  // namespace twinex::platform

#define TWINEX_LIBRARY_MEMBER(name) decltype(&::name) name = nullptr;
#define TWINEX_LIBRARY_RESOLVE(name) t.name = reinterpret_cast<decltype(&::name)>(so.Symbol(#name));
// The table of the library, every function of the list resolved; null when one is missing.
#define TWINEX_LOAD_LIBRARY(Table, soname, FUNCTIONS) \
  ::twinex::platform::LoadLibraryTable<Table>(        \
      soname, [](Table& t, ::twinex::platform::SharedLibrary& so) { FUNCTIONS(TWINEX_LIBRARY_RESOLVE) })

#include "search/tag_file.h"

#include "settings/translate.h"

namespace twinex {
namespace {

std::string AccessError(const std::string& path, const std::string& error, int position) {
  return z_Translate(14001, "Beim Zugriff auf die Datei '%1' ist ein Fehler aufgetreten: %2 (%3)",
                     {path, error, std::to_string(position)});
}

}  // namespace

bool TagFile::Open(int position) {
  // Tags are read at scattered places; read-ahead would only fetch bytes nobody looks at.
  std::string e = file_.Open(path_, false);
  if (e.empty()) return true;
  accessError_ = AccessError(path_, e, position);
  return false;
}

bool TagFile::Read(std::uint64_t offset, void* buffer, std::size_t length, int position) {
  std::string e = file_.ReadAt(offset, buffer, length);
  if (e.empty()) return true;
  accessError_ = AccessError(path_, e, position);
  return false;
}

TagCuts TagFile::Uncut() const { return TagCuts{0, 0, accessError_}; }

TagCuts TagFile::Damaged() const {
  return TagCuts{0, 0,
                 z_Translate(14005, "Die Metadaten der Datei '%1' sind beschädigt; die Datei wird vollständig verglichen.",
                             {path_})};
}

TagCuts TagFile::Cut(std::uint64_t start, std::uint64_t end) const {
  if (start > Size() || end > Size() - start) return Damaged();
  return TagCuts{start, end, ""};
}

}  // namespace twinex

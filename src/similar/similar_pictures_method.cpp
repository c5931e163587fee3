#include "similar/similar_pictures_method.h"

#include <memory>
#include <vector>

#include "search/archive_search.h"
#include "search/checksum_db_search.h"
#include "search/search.h"
#include "search/search_method.h"
#include "settings/translate.h"
#include "similar/similar_pictures.h"
#include "similar/similar_rows.h"

namespace twinex::similar {
namespace {

void LogFailure(Search& s, FileRecord& r, const std::string& error, const std::string& path) {
  s.LogProtokoll(
      z_Translate(14010, "Beim Erstellen der Prüfsumme von Datei '%2' ist ein Fehler aufgetreten: %1", {error, path}),
      true);
  r.HaveErrorMessage = true;
}

// The hashes of `slots` of the record at `index`: from the checksum database where it keeps
// them, else made from the file and stored there. With `size`, the picture's size is read too.
// False when the file cannot be read (logged).
bool MakeSlots(Search& s, long index, const PictureOptions& o, std::span<const int> slots, SlotHashes& out,
               PictureSize* size) {
  std::vector<int> missing;
  for (int slot : slots) {
    auto& hash = out[static_cast<std::size_t>(slot)];
    const bool cached = o.Cacheable() && DB_Get_Pic_Hash(s, index, o.layout.typeCode + slot, hash) &&
                        hash.size() == static_cast<std::size_t>(o.layout.length);
    if (!cached) missing.push_back(slot);
  }
  if (missing.empty() && !size) return true;
  std::string path;
  if (!Search_ContentPath(s, index, path)) return false;  // the extraction logs its failure
  FileRecord& r = s.files.Record(index);
  PictureSize read;
  std::string error;
  if (missing.empty()) {
    const DecodeOutcome header = ReadPictureSize(path);
    error = header.ok ? "" : header.error;
    read = header.source;
  } else {
    error = HashPictureSlots(path, o, missing, out, read);
    if (error.empty()) {
      ++s.counters.checksumsCreated;
      if (o.Cacheable())
        for (int slot : missing) DB_Save_Pic_Hash(s, index, o.layout.typeCode + slot, out[static_cast<std::size_t>(slot)]);
    }
  }
  if (!error.empty()) {
    LogFailure(s, r, error, path);
    return false;
  }
  if (size) *size = read;
  if (r.ArchiveType != 0 && s.settings.DeleteTempFilesAfterCreateChecksum) Search_DropTempCopy(s, index);
  return true;
}

struct PicturesState : SearchMethodState {
  explicit PicturesState(Search& s)
      : pictures(PictureOptionsFrom(s.settings), s.scope, s.run,
                 [this, &s](std::size_t item, std::span<const int> slots, SlotHashes& out) {
                   return MakeSlots(s, rows.RecordOf(item), pictures.Options(), slots, out, nullptr);
                 }) {}
  SimilarPictures pictures;
  SimilarRows rows;
};

class SimilarPicturesSearchMethod : public SearchMethod {
 public:
  void SetCriteria(const SearchSettings&, std::array<bool, 8>&) const override {}
  bool AcceptsExtension(const Search& s, std::string_view ext) const override { return IsSearchedPictureExtension(s, ext); }
  bool FiltersByType() const override { return true; }
  bool MakesChecksums(const Search&) const override { return true; }
  int CaptionType(const Search&) const override { return kCaptionSimilarPictures; }
  void AddLogLines(const Search& s, std::vector<std::string>& lines) const override { SimilarPicturesLogLines(s, lines); }

  void CheckFile(Search& s) const override {
    if (!s.methodState) s.methodState = std::make_unique<PicturesState>(s);
    PicturesState& state = static_cast<PicturesState&>(*s.methodState);
    const PictureOptions& o = state.pictures.Options();
    if (o.layout.length == 0) return;
    SlotHashes hashes;
    PictureSize size;
    static constexpr int kSlot0[] = {0};
    // A picture that cannot be read is left out; the search goes on.
    if (!MakeSlots(s, 0, o, kSlot0, hashes, &size)) return;
    FileRecord& current = s.files.Record(0);
    RecordExtras& extras = s.files.EditExtras(current);
    extras.picWidth = size.width;
    extras.picHeight = size.height;
    const std::uint64_t before = state.pictures.SlotComparisons();
    const GroupChange change =
        state.pictures.Add(hashes[0], {s.files.Name(current), s.files.Extension(current), size.width, size.height}, current.SourceNr,
                           s.scope == 3 ? s.files.RelativeFolder(0) : std::string());
    s.counters.fileComparisons += state.pictures.SlotComparisons() - before;
    // Every picture stays in the table: a later one may look alike.
    state.rows.AddItem(s.files.Add("", std::move(current)));
    state.rows.Apply(s, change);
  }
};

}  // namespace

void InstallSimilarPicturesMethod() {
  static const SimilarPicturesSearchMethod pictures;
  InstallSearchMethod(kMethodSimilarPictures, pictures);
}

void ReadPictureFileInfo(ResultFile& row) {
  std::string path = row.archiv != 0 ? row.Extras().tmppath : row.FullPath();
  if (path.empty()) return;
  const DecodeOutcome o = ReadPictureSize(path);
  if (!o.ok) return;
  row.picW = o.source.width;
  row.picH = o.source.height;
  row.GetFileInfo = false;
}

}  // namespace twinex::similar

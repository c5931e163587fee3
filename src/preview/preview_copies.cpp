#include "preview/preview_copies.h"

#include "platform/file_system.h"
#include "search/archive_access.h"
#include "search/archive_temp.h"
#include "settings/translate.h"

namespace twinex::preview {

PreviewCopies::PreviewCopies(std::string tempFolder) : tempFolder_(std::move(tempFolder)) {}

PreviewCopies::~PreviewCopies() = default;  // the copies' destructor removes them and their folder

std::string PreviewCopies::ExtractingText(const ResultFile& row) {
  return z_Translate(22503, "Entpacke Datei '%1'...", {row.dupname});
}

PreviewSource PreviewCopies::SourceOf(const ResultFile& row, RunControl& run) {
  PreviewSource s;
  if (row.archiv == 0) {
    s.ok = true;
    s.path = row.FullPath();
    return s;
  }
  if (const std::string& kept = row.Extras().tmppath; !kept.empty() && platform::ExistFile(kept)) {
    s.ok = true;
    s.path = kept;
    return s;
  }
  std::lock_guard<std::mutex> lock(mutex_);
  if (!copies_) copies_ = std::make_unique<ArchiveTempCopies>(ArchiveTempCopies::MakeSearchFolder(tempFolder_));
  if (!lastCopy_.empty()) {
    copies_->Remove(lastCopy_);
    lastCopy_.clear();
  }
  const TempCopyResult copy = copies_->Extract(ArchiveRefOf(row.path), row.PathA(), run);
  if (!copy.ok) {
    const std::string reason = copy.outcome.error == ArchiveError::kPassword
                                   ? z_Translate(22504, "Passwortgeschützt")
                                   : ExtractionReason(copy.outcome);
    s.message = z_Translate(11506, "Beim Entpacken der Datei '%1' aus der Archivdatei '%2' ist ein Fehler aufgetreten: %3",
                            {row.PathA(), row.path, reason});
    return s;
  }
  s.ok = s.extracted = true;
  s.path = lastCopy_ = copy.path;
  return s;
}

}  // namespace twinex::preview

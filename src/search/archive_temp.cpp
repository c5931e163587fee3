#include "search/archive_temp.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "platform/date_time.h"
#include "platform/file_ops.h"
#include "platform/file_system.h"
#include "search/archive_extract.h"

namespace twinex {
namespace {

std::string WithSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

// A fresh subfolder: another search (or another instance) never shares it.
std::string FreshSubfolder(const std::string& base) {
  if (!platform::CreateFolderTree(base).empty()) return "";
  const std::string stem = WithSlash(base) + "TW" + std::to_string(platform::TickCount());
  for (int attempt = 0; attempt < 1000; ++attempt) {
    const std::string candidate = attempt == 0 ? stem : stem + "_" + std::to_string(attempt);
    if (::mkdir(candidate.c_str(), 0700) == 0) return WithSlash(candidate);
    if (errno != EEXIST) return "";
  }
  return "";
}

}  // namespace

std::string ArchiveTempCopies::MakeSearchFolder(const std::string& base) {
  std::string folder = base.empty() ? "" : FreshSubfolder(base);
  if (folder.empty()) {
    folder = WithSlash(platform::SystemTempFolder()) + "TWtemp/";
    // When even this fails, extraction reports the folder as it fails to write.
    (void)platform::CreateFolderTree(folder);
  }
  return folder;
}

TempCopyResult ArchiveTempCopies::Extract(const ArchiveRef& archive, const std::string& pathInsideZip, RunControl& run,
                                          std::function<void(std::uint64_t)> onWritten) {
  TempCopyResult r;
  r.number = std::to_string(++counter_) + "_";
  MemberSink sink(folder_ + TempCopyName(counter_, pathInsideZip), sizeLimit_);
  sink.OnWritten(std::move(onWritten));
  r.outcome = ExtractArchiveMember(archive, pathInsideZip, sink, run);
  if (r.outcome.ok()) {
    r.ok = true;
    r.path = sink.path();
    ++extracted_;
    return r;
  }
  r.message = ExtractionMessage(pathInsideZip, archive.path, r.outcome, r.isError);
  return r;
}

void ArchiveTempCopies::Remove(const std::string& path) const {
  if (path.size() > folder_.size() && path.compare(0, folder_.size(), folder_) == 0 &&
      path.find('/', folder_.size()) == std::string::npos)
    ::unlink(path.c_str());
}

void ArchiveTempCopies::RemoveAll() const {
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(folder_, ec))
    if (e.is_regular_file(ec) || e.is_symlink(ec)) std::filesystem::remove(e.path(), ec);
  ::rmdir(folder_.c_str());
}

}  // namespace twinex

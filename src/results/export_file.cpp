#include "results/export_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/file_system.h"
#include "platform/text.h"

namespace twinex::exporting {
namespace {

std::string ErrorText(const char* step, int error = errno) { return std::string(step) + ": " + std::strerror(error); }

// Writing through a symbolic link keeps the link and replaces the file it points to.
std::string ResolveTarget(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    char buf[PATH_MAX];
    if (::realpath(path.c_str(), buf)) return buf;
  }
  return path;
}

}  // namespace

ExportTarget::ExportTarget(std::string target) : target_(ResolveTarget(target)) {}

ExportTarget::~ExportTarget() {
  if (!committed_) Discard();
}

std::string ExportTarget::Create() {
  if (target_.empty()) return ErrorText("open", ENOENT);
  struct stat existing;
  if (::stat(target_.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode)) return ErrorText("open", EISDIR);
  // The rename would also succeed over a file the user made read-only; that protection holds.
  if (::access(target_.c_str(), F_OK) == 0 && ::access(target_.c_str(), W_OK) != 0) return ErrorText("open");
  static std::atomic<unsigned> counter{0};
  const std::string folder = platform::ParentFolder(platform::AbsolutePath(target_));
  const std::string base = "." + platform::FileNameOf(target_).substr(0, 180) + ".~tmp" + std::to_string(::getpid());
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string temp = platform::JoinPath(folder, base + "-" + std::to_string(counter.fetch_add(1)));
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) return ErrorText("open");
    // The replacement keeps the permissions of the file it replaces.
    if (::stat(target_.c_str(), &existing) == 0) ::fchmod(fd, existing.st_mode & 07777);
    ::close(fd);
    temp_ = std::move(temp);
    return "";
  }
  return ErrorText("open", EEXIST);
}

std::string ExportTarget::Commit() {
  if (temp_.empty()) return ErrorText("rename", ENOENT);
  const int fd = ::open(temp_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return ErrorText("open");
  const bool synced = ::fsync(fd) == 0;
  const int syncError = errno;
  ::close(fd);
  if (!synced) return ErrorText("fsync", syncError);
  if (::rename(temp_.c_str(), target_.c_str()) != 0) return ErrorText("rename");
  committed_ = true;
  return "";
}

void ExportTarget::Discard() {
  if (!temp_.empty() && !committed_) ::unlink(temp_.c_str());
  temp_.clear();
}

Utf16LineFile::~Utf16LineFile() {
  if (file_) std::fclose(file_);
}

std::string Utf16LineFile::Open(const std::string& path) {
  file_ = std::fopen(path.c_str(), "wb");
  if (!file_) return ErrorText("open");
  std::setvbuf(file_, nullptr, _IOFBF, 1 << 16);
  error_.clear();
  if (std::fwrite("\xFF\xFE", 1, 2, file_) != 2) error_ = ErrorText("write");
  return error_;
}

void Utf16LineFile::WriteLine(std::string_view utf8) {
  if (!file_ || !error_.empty()) return;
  std::string bytes = platform::EncodeUtf16LE(utf8, false);
  bytes.append("\r\0\n\0", 4);
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) error_ = ErrorText("write");
}

std::string Utf16LineFile::Close() {
  if (!file_) return error_;
  if (std::fflush(file_) != 0 && error_.empty()) error_ = ErrorText("write");
  if (std::fclose(file_) != 0 && error_.empty()) error_ = ErrorText("close");
  file_ = nullptr;
  return error_;
}

}  // namespace twinex::exporting

#include "platform/file_ops.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/digest.h"
#include "platform/file_system.h"
#include "platform/unique_fd.h"

namespace twinex::platform {
namespace {

std::string ErrorText(const char* step, int err = errno) { return std::string(step) + ": " + std::strerror(err); }

constexpr std::size_t kCopyBlock = 1 << 20;
constexpr int kVerifyDigest = 1;  // MD5: enough to catch a bad copy, and quick

ssize_t ReadSome(int fd, char* buffer, std::size_t length) {
  ssize_t n;
  do {
    n = ::read(fd, buffer, length);
  } while (n < 0 && errno == EINTR);
  return n;
}

// Reads the file to its end, feeding the digest; returns the bytes read or -1.
std::int64_t DigestOfFile(int fd, Digest& digest, std::vector<char>& buffer) {
  std::int64_t total = 0;
  for (;;) {
    ssize_t n = ReadSome(fd, buffer.data(), buffer.size());
    if (n < 0) return -1;
    if (n == 0) return total;
    if (!digest.Add(buffer.data(), static_cast<std::size_t>(n)).empty()) return -1;
    total += n;
  }
}

std::string Finish(Digest& digest) {
  std::array<std::uint8_t, 64> out{};
  std::size_t length = 0;
  if (!digest.Finish(out.data(), out.size(), length).empty()) return "";
  return std::string(reinterpret_cast<const char*>(out.data()), length);
}

// Copies the open source into the open target; fills the digest of the bytes read.
std::string CopyData(int from, int to, std::uint64_t expected, Digest* digest, const CopyProgress& progress) {
  std::vector<char> buffer(kCopyBlock);
  std::uint64_t copied = 0;
  for (;;) {
    ssize_t n = ReadSome(from, buffer.data(), buffer.size());
    if (n < 0) return ErrorText("read");
    if (n == 0) break;
    if (digest) {
      if (std::string e = digest->Add(buffer.data(), static_cast<std::size_t>(n)); !e.empty()) return "verify: " + e;
    }
    if (!WriteAll(to, buffer.data(), static_cast<std::size_t>(n))) return ErrorText("write");
    copied += static_cast<std::uint64_t>(n);
    if (progress && !progress(copied)) return kCopyCancelled;
  }
  if (copied != expected) return "read: the file changed while it was copied";
  return "";
}

std::string CheckCopy(const std::string& temp, const struct stat& source, bool verifyContent,
                      const std::string& sourceDigest) {
  struct stat st;
  if (::stat(temp.c_str(), &st) != 0) return ErrorText("stat");
  if (st.st_size != source.st_size) return "verify: the copy has " + std::to_string(st.st_size) + " bytes instead of " +
                                            std::to_string(source.st_size);
  if (!verifyContent) return "";
  UniqueFd fd(::open(temp.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) return ErrorText("verify");
  Digest digest;
  if (std::string e = digest.Begin(kVerifyDigest); !e.empty()) return "verify: " + e;
  std::vector<char> buffer(kCopyBlock);
  if (DigestOfFile(fd.get(), digest, buffer) < 0) return ErrorText("verify");
  if (Finish(digest) != sourceDigest || sourceDigest.empty()) return "verify: the copy differs from the file";
  return "";
}

}  // namespace

bool PathExists(const std::string& path) {
  struct stat st;
  return !path.empty() && ::lstat(path.c_str(), &st) == 0;
}

std::string TempNameBeside(const std::string& beside) {
  static std::atomic<unsigned> counter{0};
  const std::string folder = ParentFolder(beside);
  for (;;) {
    std::string name = JoinPath(folder, ".twinex-" + std::to_string(getpid()) + "-" +
                                            std::to_string(counter.fetch_add(1)) + ".tmp");
    if (!PathExists(name)) return name;
  }
}

std::string RenameNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return "";
  if (errno != EINVAL && errno != ENOSYS) return ErrorText("rename");
  // File systems without the flag: a second name and removing the first never replaces either.
  if (::link(from.c_str(), to.c_str()) != 0) {
    if (errno == EEXIST || PathExists(to)) return ErrorText("rename", EEXIST);
    return ErrorText("rename");
  }
  if (::unlink(from.c_str()) != 0) {
    int err = errno;
    ::unlink(to.c_str());
    return ErrorText("rename", err);
  }
  return "";
}

std::string RenameOver(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str()) == 0 ? "" : ErrorText("rename");
}

std::string LinkNoReplace(const std::string& from, const std::string& to) {
  return ::link(from.c_str(), to.c_str()) == 0 ? "" : ErrorText("link");
}

std::string CopyFileChecked(const std::string& from, const std::string& to, bool verifyContent,
                            const CopyProgress& progress) {
  if (PathExists(to)) return ErrorText("open", EEXIST);
  UniqueFd in(::open(from.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
  if (!in) return ErrorText("open");
  struct stat source;
  if (::fstat(in.get(), &source) != 0) return ErrorText("fstat");
  if (!S_ISREG(source.st_mode)) return "open: not a regular file";

  const std::string temp = TempNameBeside(to);
  UniqueFd out(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
  if (!out) return ErrorText("create");
  auto fail = [&](std::string error) {
    out.Reset();
    ::unlink(temp.c_str());
    return error;
  };
  Digest digest;
  if (verifyContent) {
    if (std::string e = digest.Begin(kVerifyDigest); !e.empty()) return fail("verify: " + e);
  }
  if (std::string e = CopyData(in.get(), out.get(), static_cast<std::uint64_t>(source.st_size),
                               verifyContent ? &digest : nullptr, progress);
      !e.empty())
    return fail(e);
  ::fchmod(out.get(), source.st_mode & 07777);
  const struct timespec times[2] = {source.st_atim, source.st_mtim};
  ::futimens(out.get(), times);
  if (::fsync(out.get()) != 0) return fail(ErrorText("fsync"));
  if (out.Close() != 0) {
    ::unlink(temp.c_str());
    return ErrorText("close");
  }
  if (std::string e = CheckCopy(temp, source, verifyContent, verifyContent ? Finish(digest) : ""); !e.empty()) {
    ::unlink(temp.c_str());
    return e;
  }
  if (std::string e = RenameNoReplace(temp, to); !e.empty()) {
    ::unlink(temp.c_str());
    return e;
  }
  return "";
}

std::string RemoveFile(const std::string& path, bool overwrite) {
  if (!overwrite) return ::unlink(path.c_str()) == 0 ? "" : ErrorText("unlink");
  UniqueFd fd(::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC));
  if (!fd) return ErrorText("open");
  if (::unlink(path.c_str()) != 0) return ErrorText("unlink");
  struct stat st;
  // Another name still shows these bytes: they are not ours to wipe.
  if (::fstat(fd.get(), &st) != 0 || st.st_nlink != 0 || !S_ISREG(st.st_mode)) return "";
  std::vector<char> zeros(kCopyBlock, 0);
  for (std::uint64_t left = static_cast<std::uint64_t>(st.st_size); left > 0;) {
    std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(left, zeros.size()));
    if (!WriteAll(fd.get(), zeros.data(), n)) break;  // the name is gone already
    left -= n;
  }
  ::fsync(fd.get());
  return "";
}

std::string TruncateToZero(const std::string& path) {
  UniqueFd fd(::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC));
  if (!fd) return ErrorText("open");
  if (::ftruncate(fd.get(), 0) != 0) return ErrorText("ftruncate");
  return "";
}

std::string CreateFolderTree(const std::string& path) {
  if (path.empty()) return "mkdir: empty path";
  struct stat st;
  if (::stat(path.c_str(), &st) == 0) return S_ISDIR(st.st_mode) ? "" : ErrorText("mkdir", ENOTDIR);
  const std::string parent = ParentFolder(path);
  if (!parent.empty() && parent != path) {
    if (std::string e = CreateFolderTree(parent); !e.empty()) return e;
  }
  if (::mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) return ErrorText("mkdir");
  return "";
}

bool IsEmptyFolder(const std::string& path) {
  DIR* dir = ::opendir(path.c_str());
  if (!dir) return false;
  bool empty = true;
  while (dirent* e = ::readdir(dir)) {
    if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) {
      empty = false;
      break;
    }
  }
  ::closedir(dir);
  return empty;
}

std::string RemoveEmptyFolder(const std::string& path) {
  return ::rmdir(path.c_str()) == 0 ? "" : ErrorText("rmdir");
}

}  // namespace twinex::platform

#include "platform/links.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/file_ops.h"
#include "platform/volume.h"

namespace twinex::platform {
namespace {

std::string ErrorText(const char* step, int err = errno) { return std::string(step) + ": " + std::strerror(err); }

// Puts the link made at `temp` in place of `path`; a failed rename takes the link away again.
std::string PutInPlace(const std::string& temp, const std::string& path) {
  if (::rename(temp.c_str(), path.c_str()) == 0) return "";
  std::string error = ErrorText("rename");
  ::unlink(temp.c_str());
  return error;
}

}  // namespace

std::string ReplaceWithHardLink(const std::string& path, const std::string& source) {
  struct stat a, b;
  if (::lstat(path.c_str(), &a) != 0) return ErrorText("lstat");
  if (::lstat(source.c_str(), &b) != 0) return ErrorText("lstat");
  // rename(2) between two names of one file does nothing and would leave the temporary name.
  if (a.st_dev == b.st_dev && a.st_ino == b.st_ino) return "";
  const std::string temp = TempNameBeside(path);
  if (::link(source.c_str(), temp.c_str()) != 0) return ErrorText("link");
  return PutInPlace(temp, path);
}

std::string ReplaceWithSymlink(const std::string& path, const std::string& target) {
  const std::string temp = TempNameBeside(path);
  if (::symlink(target.c_str(), temp.c_str()) != 0) return ErrorText("symlink");
  return PutInPlace(temp, path);
}

bool FileSystemHasHardLinks(const std::string& fsType) {
  static const char* const kWithout[] = {"vfat", "msdos", "fat", "exfat", "iso9660", "udf"};
  for (const char* t : kWithout)
    if (fsType == t) return false;
  return true;
}

bool SupportsHardLinks(const std::string& path) { return FileSystemHasHardLinks(GetMountFacts(path).fsType); }

}  // namespace twinex::platform

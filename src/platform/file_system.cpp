#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/date_time.h"
#include "platform/unique_fd.h"

namespace twinex::platform {
namespace {

constexpr unsigned kStatxMask = STATX_BASIC_STATS | STATX_BTIME;
// A walk must never trigger an automounter just by looking at a mount point.
constexpr int kNoFollow = AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT;

std::uint32_t AttributesOf(const struct statx& st, std::string_view name, bool targetIsDirectory) {
  std::uint32_t a = 0;
  const bool link = S_ISLNK(st.stx_mode);
  if (!link && !(st.stx_mode & S_IWUSR)) a |= kAttrReadOnly;
  if (!name.empty() && name[0] == '.') a |= kAttrHidden;
  if (S_ISDIR(st.stx_mode) || (link && targetIsDirectory)) a |= kAttrDirectory;
  if (link) a |= kAttrReparsePoint;
  // Transparent compression also leaves fewer blocks than the size; that is not a sparse file.
  const bool compressed = (st.stx_attributes_mask & STATX_ATTR_COMPRESSED) && (st.stx_attributes & STATX_ATTR_COMPRESSED);
  if (S_ISREG(st.stx_mode) && !compressed && st.stx_blocks * 512 < st.stx_size) a |= kAttrSparse;
  if (a == 0) a = kAttrNormal;
  return a;
}

// Fills info (except the name) from the entry at dirfd/name; false when it cannot be read.
bool FillInfo(int dirfd, const char* name, std::string_view baseName, FileInfo& info) {
  struct statx st;
  if (statx(dirfd, name, kNoFollow, kStatxMask, &st) != 0) return false;
  info.size = st.stx_size;
  info.device = makedev(st.stx_dev_major, st.stx_dev_minor);
  info.inode = st.stx_ino;
  info.links = st.stx_nlink;
  info.isSymlink = S_ISLNK(st.stx_mode);
  info.isDirectory = S_ISDIR(st.stx_mode);
  info.isRegular = S_ISREG(st.stx_mode);
  if (info.isSymlink) {
    // The link's own facts stay; only the kind comes from its target (false when dangling).
    struct statx target;
    if (statx(dirfd, name, AT_NO_AUTOMOUNT, STATX_TYPE, &target) == 0) {
      info.isDirectory = S_ISDIR(target.stx_mode);
      info.isRegular = S_ISREG(target.stx_mode);
    }
  }
  info.attributes = AttributesOf(st, baseName, info.isDirectory);
  info.modified = DateFromUnix(st.stx_mtime.tv_sec);
  info.created = (st.stx_mask & STATX_BTIME) ? DateFromUnix(st.stx_btime.tv_sec) : info.modified;
  return true;
}

std::string ErrorText(const char* step, int err) { return std::string(step) + ": " + std::strerror(err); }

}  // namespace

std::string GetFileInfo(const std::string& path, FileInfo& info) {
  info.name = FileNameOf(path);
  if (!FillInfo(AT_FDCWD, path.c_str(), info.name, info)) return ErrorText("statx", errno);
  return "";
}

std::string ListFolder(const std::string& folder, const std::function<bool(const FileInfo&)>& onEntry) {
  UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!fd) return ErrorText("open", errno);
  return ListFolderAt(fd.get(), onEntry);
}

std::string ListFolderAt(int folderFd, const std::function<bool(const FileInfo&)>& onEntry) {
  // The listing gets its own descriptor, so the caller's stays open for opening subfolders.
  UniqueFd owned(::fcntl(folderFd, F_DUPFD_CLOEXEC, 0));
  if (!owned) return ErrorText("dup", errno);
  DIR* dir = fdopendir(owned.get());
  if (!dir) return ErrorText("fdopendir", errno);
  const int fd = owned.Release();  // the listing owns it now
  rewinddir(dir);  // the duplicate shares its position with the caller's descriptor
  FileInfo info;  // reused: its name keeps its capacity from entry to entry
  std::string error;
  for (;;) {
    errno = 0;
    struct dirent* e = readdir(dir);
    if (!e) {
      if (errno != 0) error = ErrorText("readdir", errno);
      break;
    }
    const char* n = e->d_name;
    if (n[0] == '.' && (n[1] == '\0' || (n[1] == '.' && n[2] == '\0'))) continue;
    info.name.assign(n);
    if (!FillInfo(fd, n, info.name, info)) continue;  // vanished since the listing was read
    if (!onEntry(info)) break;
  }
  closedir(dir);
  return error;
}

bool ExistFolder(const std::string& path) {
  if (path.empty()) return false;
  // A folder counts as existing when it can be listed, as the walk needs it.
  return static_cast<bool>(UniqueFd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)));
}

bool ExistFile(const std::string& path) {
  struct stat st;
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string xGetExtension(std::string_view name) {
  std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || name.find('/', dot) != std::string_view::npos) return "";
  return std::string(name.substr(dot + 1));
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string out(folder);
  if (!out.empty() && out.back() != '/') out += '/';
  out += name;
  return out;
}

bool IsPlainFileName(std::string_view name, std::size_t maxBytes) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
         name.find('\0') == std::string_view::npos && name.size() <= maxBytes;
}

std::string StripTrailingSlash(std::string_view path) {
  std::size_t end = path.size();
  while (end > 1 && path[end - 1] == '/') --end;
  return std::string(path.substr(0, end));
}

std::string AbsolutePath(std::string_view path) {
  std::string full;
  if (path.empty() || path[0] != '/') {
    std::vector<char> buf(4096);
    while (!getcwd(buf.data(), buf.size())) {
      if (errno != ERANGE) return std::string(path);
      buf.resize(buf.size() * 2);
    }
    full = buf.data();
    full += '/';
  }
  full += path;

  // Lexical clean-up: drop empty and "." components, let ".." remove its predecessor.
  std::vector<std::string_view> parts;
  std::string_view rest(full);
  while (!rest.empty()) {
    std::size_t slash = rest.find('/');
    std::string_view part = rest.substr(0, slash);
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    parts.push_back(part);
  }
  std::string out;
  for (std::string_view p : parts) {
    out += '/';
    out += p;
  }
  return out.empty() ? "/" : out;
}

std::string ParentFolder(std::string_view path) {
  std::string p = StripTrailingSlash(path);
  std::size_t slash = p.rfind('/');
  if (slash == std::string::npos || p == "/") return "";
  if (slash == 0) return "/";
  return StripTrailingSlash(std::string_view(p).substr(0, slash));
}

std::string FileNameOf(std::string_view path) {
  std::string p = StripTrailingSlash(path);
  if (p == "/") return "";
  std::size_t slash = p.rfind('/');
  return slash == std::string::npos ? p : p.substr(slash + 1);
}

std::string ToLongPath(std::string_view windowsPath) {
  // A path that already carries the prefix would otherwise be mistaken for a UNC path.
  if (windowsPath.starts_with("\\\\?\\")) return std::string(windowsPath);
  if (windowsPath.starts_with("\\\\")) return "\\\\?\\UNC" + std::string(windowsPath.substr(1));
  return "\\\\?\\" + std::string(windowsPath);
}

std::string SystemTempFolder() {
  const char* t = std::getenv("TMPDIR");
  if (t && *t) return StripTrailingSlash(t);
  return "/tmp";
}

}  // namespace twinex::platform

#include "platform/trash.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/date_time.h"
#include "platform/file_ops.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/text.h"
#include "platform/unique_fd.h"
#include "platform/volume.h"

namespace twinex::platform {
namespace {

std::string ErrorText(const char* step, int err = errno) { return std::string(step) + ": " + std::strerror(err); }

std::string HomeDataFolder() {
  std::string data = GetEnv("XDG_DATA_HOME");
  if (!data.empty() && data[0] == '/') return StripTrailingSlash(data);
  std::string home = GetEnv("HOME");
  return home.empty() ? "" : JoinPath(home, ".local/share");
}

// A private folder of the trash: created 0700 when missing; an existing one must be a real
// folder (a symbolic link could send the user's files anywhere).
bool EnsurePrivateFolder(const std::string& path, std::string& why) {
  if (::mkdir(path.c_str(), 0700) == 0) return true;
  if (errno != EEXIST) {
    why = ErrorText("mkdir");
    return false;
  }
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    why = path + ": not a folder";
    return false;
  }
  return true;
}

bool EnsureTrash(const std::string& trash, std::string& why) {
  return EnsurePrivateFolder(trash, why) && EnsurePrivateFolder(JoinPath(trash, "files"), why) &&
         EnsurePrivateFolder(JoinPath(trash, "info"), why);
}

std::uint64_t DeviceOf(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0 ? static_cast<std::uint64_t>(st.st_dev) : 0;
}

struct TrashPlace {
  std::string folder;
  std::string topDir;  // empty for the home trash (its paths are absolute)
};

bool FindTrash(const std::string& path, TrashPlace& place, std::string& why) {
  const std::uint64_t device = DeviceOf(path);
  if (device == 0) {
    why = ErrorText("lstat");
    return false;
  }
  const std::string data = HomeDataFolder();
  if (!data.empty() && CreateFolderTree(data).empty() && DeviceOf(data) == device) {
    place = {JoinPath(data, "Trash"), ""};
    return EnsureTrash(place.folder, why);
  }
  const std::string top = GetMountFacts(ParentFolder(AbsolutePath(path))).mountPoint;
  if (top.empty()) {
    why = "no mount point found";
    return false;
  }
  const std::string uid = std::to_string(getuid());
  // $topdir/.Trash counts only when the administrator made it: a real folder with the sticky bit.
  const std::string shared = JoinPath(top, ".Trash");
  struct stat st;
  if (::lstat(shared.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX)) {
    std::string ignored;
    place = {JoinPath(shared, uid), top};
    if (EnsureTrash(place.folder, ignored) && DeviceOf(place.folder) == device) return true;
  }
  place = {JoinPath(top, ".Trash-" + uid), top};
  if (!EnsureTrash(place.folder, why)) return false;
  if (DeviceOf(place.folder) != device) {
    why = place.folder + ": on another file system";
    return false;
  }
  return true;
}

std::string TrashDate(double date) {
  int y, mo, d, h, mi, s;
  SplitDate(date, y, mo, d, h, mi, s);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d", y, mo, d, h, mi, s);
  return buf;
}

// An entry's note adds ".trashinfo" to its name, and a name has at most 255 bytes.
constexpr std::size_t kMaxEntryName = 255 - (sizeof ".trashinfo" - 1);
constexpr std::size_t kMaxKeptExtension = 32;

// The first bytes of a text, at most `max`; a text that was valid UTF-8 stays so.
std::string Cut(const std::string& text, std::size_t max) {
  if (text.size() <= max) return text;
  std::size_t n = max;
  if (IsValidUtf8(text))
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  return text.substr(0, n);
}

// "foto.jpg", "foto.2.jpg", "foto.3.jpg" …; a name too long for its note is shortened before
// its number and extension (the note keeps the whole original path).
std::string Candidate(const std::string& name, int n) {
  std::string ext = xGetExtension(name);
  if (ext.size() > kMaxKeptExtension) ext.clear();
  const std::string stem = ext.empty() ? name : name.substr(0, name.size() - ext.size() - 1);
  const std::string tail = (n == 1 ? "" : "." + std::to_string(n)) + (ext.empty() ? "" : "." + ext);
  return Cut(stem, kMaxEntryName - tail.size()) + tail;
}

}  // namespace

std::string EscapeTrashPath(const std::string& path) {
  static const char* const kHex = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : path) {
    const bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                      c == '-' || c == '_' || c == '.' || c == '~' || c == '/';
    if (keep) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

std::string TrashInfoText(const std::string& pathInInfo, double deletionDate) {
  return "[Trash Info]\nPath=" + EscapeTrashPath(pathInInfo) + "\nDeletionDate=" + TrashDate(deletionDate) + "\n";
}

std::string TrashFolderFor(const std::string& path, std::string* why) {
  TrashPlace place;
  std::string reason;
  if (!FindTrash(path, place, reason)) {
    if (why) *why = reason;
    return "";
  }
  return place.folder;
}

TrashOutcome MoveToTrash(const std::string& path, bool keepName) {
  TrashOutcome out;
  const std::string absolute = AbsolutePath(path);
  TrashPlace place;
  if (!FindTrash(absolute, place, out.error)) {
    out.status = TrashStatus::NoTrash;
    return out;
  }
  std::string inInfo = absolute;
  if (!place.topDir.empty() && place.topDir != "/" && StartsWith(absolute, place.topDir + "/"))
    inInfo = absolute.substr(place.topDir.size() + 1);
  const std::string info = TrashInfoText(inInfo, Now());
  const std::string name = FileNameOf(absolute);

  for (int n = 1; n < 100000; ++n) {
    const std::string entry = Candidate(name, n);
    const std::string infoPath = JoinPath(JoinPath(place.folder, "info"), entry + ".trashinfo");
    UniqueFd fd(::open(infoPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (!fd) {
      if (errno == EEXIST) continue;
      out.error = ErrorText("trashinfo");
      return out;
    }
    const bool written = WriteAll(fd.get(), info.data(), info.size()) && ::fsync(fd.get()) == 0;
    if (fd.Close() != 0 || !written) {
      out.error = ErrorText("trashinfo");
      ::unlink(infoPath.c_str());
      return out;
    }
    const std::string filesPath = JoinPath(JoinPath(place.folder, "files"), entry);
    std::string error = keepName ? LinkNoReplace(absolute, filesPath) : RenameNoReplace(absolute, filesPath);
    if (error.empty()) {
      out.status = TrashStatus::Trashed;
      out.filesPath = filesPath;
      out.infoPath = infoPath;
      return out;
    }
    ::unlink(infoPath.c_str());
    // A leftover in files/ without its note: take the next name.
    if (PathExists(filesPath) && PathExists(absolute)) continue;
    out.error = error;
    return out;
  }
  out.error = "trash: no free name";
  return out;
}

void UndoTrash(const TrashOutcome& entry) {
  if (entry.status != TrashStatus::Trashed) return;
  ::unlink(entry.filesPath.c_str());
  ::unlink(entry.infoPath.c_str());
}

}  // namespace twinex::platform

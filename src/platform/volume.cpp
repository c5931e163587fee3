#include "platform/volume.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <fstream>

#include "platform/file_system.h"
#include "platform/ini_file.h"
#include "platform/text.h"

namespace twinex::platform {
namespace {

constexpr std::array kNetworkTypes = {"nfs",  "nfs4", "cifs", "smb3",      "smbfs",         "sshfs",
                                      "fuse.sshfs", "9p", "afs", "ceph", "glusterfs", "fuse.glusterfs"};
// Disk file systems whose mounts may show an anonymous device number (btrfs subvolumes, ZFS
// datasets, overlays of local layers); without a block device to ask they still count as local.
constexpr std::array kLocalTypes = {"ext2", "ext3",   "ext4",  "xfs",     "btrfs",   "zfs",  "f2fs",
                                    "jfs",  "reiserfs", "vfat", "exfat", "ntfs", "ntfs3", "fuseblk",
                                    "hfsplus", "overlay", "bcachefs"};

template <typename List>
bool Contains(const List& list, std::string_view s) {
  return std::find(list.begin(), list.end(), s) != list.end();
}

// mountinfo escapes blanks, tabs, newlines and backslashes as \ooo.
std::string UnescapeOctal(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 3 < s.size()) {
      auto oct = [](char c) { return c >= '0' && c <= '7'; };
      if (oct(s[i + 1]) && oct(s[i + 2]) && oct(s[i + 3])) {
        out.push_back(static_cast<char>((s[i + 1] - '0') * 64 + (s[i + 2] - '0') * 8 + (s[i + 3] - '0')));
        i += 3;
        continue;
      }
    }
    out.push_back(s[i]);
  }
  return out;
}

// udev names label links with \xNN for characters that are unsafe in a file name.
std::string UnescapeHex(std::string_view s) {
  auto hex = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 3 < s.size() && s[i + 1] == 'x' && hex(s[i + 2]) >= 0 && hex(s[i + 3]) >= 0) {
      out.push_back(static_cast<char>(hex(s[i + 2]) * 16 + hex(s[i + 3])));
      i += 3;
      continue;
    }
    out.push_back(s[i]);
  }
  return out;
}

std::string RealPath(const std::string& path) {
  char buf[PATH_MAX];
  return realpath(path.c_str(), buf) ? std::string(buf) : std::string();
}

int ReadRemovableFlag(const std::string& sysDevice) {
  std::string dir = RealPath(sysDevice);
  if (dir.empty()) return -1;
  // A partition carries no flag of its own; its disk is the folder above.
  struct stat st;
  if (::stat((dir + "/partition").c_str(), &st) == 0) dir = ParentFolder(dir);
  std::ifstream in(dir + "/removable");
  int flag = -1;
  if (!(in >> flag)) return -1;
  return flag != 0 ? 1 : 0;
}

int RemovableFlagOf(const MountEntry& m) {
  if (m.major != 0) {
    int f = ReadRemovableFlag("/sys/dev/block/" + std::to_string(m.major) + ":" + std::to_string(m.minor));
    if (f >= 0) return f;
  }
  if (StartsWith(m.source, "/dev/")) {
    std::string dev = RealPath(m.source);
    if (!dev.empty()) return ReadRemovableFlag("/sys/class/block/" + FileNameOf(dev));
  }
  return -1;
}

bool ReadMounts(std::vector<MountEntry>& mounts, std::string* error) {
  std::string text;
  if (!ReadWholeFile("/proc/self/mountinfo", text, error)) return false;
  mounts = ParseMountInfo(text);
  return true;
}

// The path as the kernel sees it (symbolic links resolved) when it exists.
std::string ResolvedPath(const std::string& path) {
  std::string real = RealPath(path);
  return real.empty() ? AbsolutePath(path) : real;
}

}  // namespace

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
  std::vector<MountEntry> out;
  for (const std::string& line : Split(text, '\n')) {
    std::vector<std::string> f = Split(line, ' ');
    auto sep = std::find(f.begin(), f.end(), "-");
    if (f.size() < 6 || sep == f.end() || sep - f.begin() < 6 || f.end() - sep < 3) continue;
    MountEntry m;
    std::size_t colon = f[2].find(':');
    if (colon == std::string::npos) continue;
    long long major = 0, minor = 0;
    if (!ParseLong(f[2].substr(0, colon), major) || !ParseLong(f[2].substr(colon + 1), minor)) continue;
    m.major = static_cast<unsigned>(major);
    m.minor = static_cast<unsigned>(minor);
    m.mountPoint = UnescapeOctal(f[4]);
    m.fsType = UnescapeOctal(*(sep + 1));
    m.source = UnescapeOctal(*(sep + 2));
    out.push_back(std::move(m));
  }
  return out;
}

const MountEntry* FindMount(const std::vector<MountEntry>& mounts, std::string_view path) {
  const MountEntry* best = nullptr;
  for (const MountEntry& m : mounts) {
    std::string_view mp = m.mountPoint;
    bool covers = mp == "/" || path == mp || (StartsWith(path, mp) && path.size() > mp.size() && path[mp.size()] == '/');
    if (covers && (!best || mp.size() >= best->mountPoint.size())) best = &m;
  }
  return best;
}

DriveKind ClassifyMount(const MountEntry& m, int removable) {
  if (Contains(kNetworkTypes, m.fsType)) return DriveKind::Network;
  if (m.fsType == "iso9660" || m.fsType == "udf") return DriveKind::CdRom;
  if (m.fsType == "tmpfs" || m.fsType == "ramfs") return DriveKind::RamDisk;
  if (removable == 1) return DriveKind::Removable;
  if (removable == 0 || Contains(kLocalTypes, m.fsType)) return DriveKind::Fixed;
  return DriveKind::Unknown;
}

MountFacts GetMountFacts(const std::string& path) {
  MountFacts facts;
  std::vector<MountEntry> mounts;
  if (!ReadMounts(mounts, nullptr)) return facts;
  const MountEntry* m = FindMount(mounts, ResolvedPath(path));
  if (!m) return facts;
  facts.mountPoint = m->mountPoint;
  facts.fsType = m->fsType;
  facts.source = m->source;
  facts.kind = ClassifyMount(*m, RemovableFlagOf(*m));
  return facts;
}

std::string DriveTypeText(DriveKind kind) {
  switch (kind) {
    case DriveKind::Removable: return "Wechseldatenträger";
    case DriveKind::Fixed: return "Lokaler Datenträger";
    case DriveKind::Network: return "Netzlaufwerk";
    case DriveKind::CdRom: return "CD/DVD";
    case DriveKind::RamDisk: return "RAM-Disk";
    case DriveKind::Unknown: break;
  }
  return "?";
}

std::string xGetDriveLabel(const std::string& path, std::string* errorText) {
  if (errorText) errorText->clear();
  std::vector<MountEntry> mounts;
  if (!ReadMounts(mounts, errorText)) return "";
  const MountEntry* m = FindMount(mounts, ResolvedPath(path));
  if (!m) {
    if (errorText) *errorText = "mountinfo: no mount holds " + path;
    return "";
  }
  if (ClassifyMount(*m, -1) == DriveKind::Network || !StartsWith(m->source, "/dev/")) return "";
  std::string device = RealPath(m->source);
  if (device.empty()) return "";

  const std::string byLabel = "/dev/disk/by-label";
  DIR* dir = opendir(byLabel.c_str());
  if (!dir) return "";  // no labelled file system on this machine at all
  std::string label;
  while (struct dirent* e = readdir(dir)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    if (RealPath(byLabel + "/" + name) == device) {
      label = UnescapeHex(name);
      break;
    }
  }
  closedir(dir);
  return Trim(label).empty() ? std::string() : label;
}

std::uint64_t GetVolumeSerial(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return 0;
  return static_cast<std::uint64_t>(st.st_dev);
}

}  // namespace twinex::platform

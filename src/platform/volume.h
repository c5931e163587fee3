#pragma once
// Mount facts: drive-type texts, labels and volume ids, from /proc/self/mountinfo.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace twinex::platform {

enum class DriveKind { Unknown, Removable, Fixed, Network, CdRom, RamDisk };

struct MountFacts {
  std::string mountPoint;
  std::string fsType;
  std::string source;  // device or remote share
  DriveKind kind = DriveKind::Unknown;
};

// One line of /proc/self/mountinfo (escapes such as \040 already undone).
struct MountEntry {
  unsigned major = 0;
  unsigned minor = 0;
  std::string mountPoint;
  std::string fsType;
  std::string source;
};

// Parses mountinfo text; malformed lines are skipped.
std::vector<MountEntry> ParseMountInfo(std::string_view text);
// The mount holding an absolute path: the longest mount point that is a whole-component prefix
// (a later entry for the same mount point wins, as it lies on top). Null when none matches.
const MountEntry* FindMount(const std::vector<MountEntry>& mounts, std::string_view absolutePath);
// Kind of a mount; removable is 1/0 from the block device, -1 when it has none.
DriveKind ClassifyMount(const MountEntry& mount, int removable);

// The mount that a path lies on (longest mount-point prefix of its absolute path).
MountFacts GetMountFacts(const std::string& path);
// The German drive-type text: "Wechseldatenträger", "Lokaler Datenträger", "Netzlaufwerk",
// "CD/DVD", "RAM-Disk" or "?".
std::string DriveTypeText(DriveKind kind);
// Label of the file system (from /dev/disk/by-label), empty when none or for network drives.
std::string xGetDriveLabel(const std::string& path, std::string* errorText = nullptr);
// st_dev of the volume holding the path (0 when it cannot be read).
std::uint64_t GetVolumeSerial(const std::string& path);

}  // namespace twinex::platform

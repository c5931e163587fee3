#include "search/hardlink_id.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/folder_handle.h"
#include "platform/read_only_file.h"
#include "search/search.h"
#include "settings/translate.h"

namespace twinex {

cHardlinkID cHardlinkID::Of(const FileRecord& r) {
  return {r.VolumeSerialNumber, r.FileIndexHigh, r.FileIndexLow, r.NumberOfLinks};
}

void cHardlinkID::StoreIn(FileRecord& r) const {
  r.VolumeSerialNumber = VolumeSerialNumber;
  r.FileIndexHigh = FileIndexHigh;
  r.FileIndexLow = FileIndexLow;
  r.NumberOfLinks = NumberOfLinks;
}

bool cHardlinkID::SameFileAs(const cHardlinkID& o) const {
  return NumberOfLinks >= 2 && o.NumberOfLinks >= 2 && VolumeSerialNumber == o.VolumeSerialNumber &&
         FileIndexHigh == o.FileIndexHigh && FileIndexLow == o.FileIndexLow;
}

std::uint32_t xGetHardlinkCount2(const std::string& path, cHardlinkID& id, std::string& errorText) {
  errorText.clear();
  auto fail = [&](const char* step, int err) -> std::uint32_t {
    errorText = z_Translate(14013, "Die Datei '%1' konnte nicht geöffnet werden. (%2)",
                            {path, std::string("xGetHardlinkCount2\\") + step + platform::SystemErrorText(err)});
    return 0;
  };
  // A path handle needs no read permission and never blocks on a FIFO or touches a device.
  const int fd = platform::OpenLongPath(path, O_PATH | O_CLOEXEC);
  if (fd < 0) return fail("CreateFileWide: ", errno);
  struct stat st {};
  const int rc = ::fstat(fd, &st);
  const int err = errno;
  ::close(fd);
  if (rc != 0) return fail("GetFileInformationByHandle: ", err);

  id.NumberOfLinks = static_cast<std::uint32_t>(std::min<std::uint64_t>(st.st_nlink, UINT32_MAX));
  const bool linked = id.NumberOfLinks >= 2;
  id.VolumeSerialNumber = linked ? static_cast<std::uint64_t>(st.st_dev) : 0;
  id.FileIndexHigh = linked ? static_cast<std::uint32_t>(static_cast<std::uint64_t>(st.st_ino) >> 32) : 0;
  id.FileIndexLow = linked ? static_cast<std::uint32_t>(st.st_ino & 0xFFFFFFFFu) : 0;
  return id.NumberOfLinks;
}

std::string HardlinkSearchKey(const cHardlinkID& id, bool quellSerialsAllSame) {
  std::string key = std::to_string(id.FileIndexHigh) + "-" + std::to_string(id.FileIndexLow);
  return quellSerialsAllSame ? key : std::to_string(id.VolumeSerialNumber) + "-" + key;
}

bool QuellSerialsAllSame(const std::vector<SourceEntry>& sources) {
  return std::all_of(sources.begin(), sources.end(),
                     [&](const SourceEntry& s) { return s.volume == sources.front().volume; });
}

bool ReadHardlinkData(Search& s, long index) {
  FileRecord& r = s.files.Record(index);
  if (r.NumberOfLinks != 0) return true;
  cHardlinkID id = cHardlinkID::Of(r);
  std::string error;
  if (xGetHardlinkCount2(s.files.GetPathWithFileName(index), id, error) == 0) {
    s.LogProtokoll(error, true);
    return false;
  }
  id.StoreIn(r);
  return true;
}

}  // namespace twinex

#pragma once
// Which file on disk a name stands for: the volume (st_dev), the file index (st_ino, split into
// its high and low words) and the number of names the file has (st_nlink).
#include <cstdint>
#include <string>
#include <vector>

namespace twinex {

class Search;
struct FileRecord;
struct SourceEntry;

struct cHardlinkID {
  std::uint64_t VolumeSerialNumber = 0;
  std::uint32_t FileIndexHigh = 0;
  std::uint32_t FileIndexLow = 0;
  std::uint32_t NumberOfLinks = 0;  // 0: not read yet

  static cHardlinkID Of(const FileRecord& record);
  void StoreIn(FileRecord& record) const;
  // Two names of one file: both multiply linked, same volume, same index.
  bool SameFileAs(const cHardlinkID& other) const;
};

// Reads the identity of a path (a folder too) without reading the file. Returns the number of
// links, or 0 with `errorText` set ("Die Datei '%1' konnte nicht geöffnet werden. (%2)"); the
// identity then keeps its values. A file with a single link gets volume and index 0: only
// multiply-linked files need telling apart.
std::uint32_t xGetHardlinkCount2(const std::string& path, cHardlinkID& id, std::string& errorText);

// The search key text, also shown in the "hardlinkID" column: "high-low", with the volume in
// front ("volume-high-low") unless all source folders share one volume.
std::string HardlinkSearchKey(const cHardlinkID& id, bool quellSerialsAllSame);

// Whether every source folder lies on the volume of the first.
bool QuellSerialsAllSame(const std::vector<SourceEntry>& sources);

// Reads the identity of a record whose link count is not known yet; a failure is logged and
// leaves the record as it was. True when the record's identity is known afterwards.
bool ReadHardlinkData(Search& search, long index);

}  // namespace twinex

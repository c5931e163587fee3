#pragma once
// The search-time file table: one FileRecord per distinct grouping key (or slot), found by key
// through a hash map and addressed by a 1-based index. Folders are stored once and
// shared by the records of their files, so a table of hundreds of thousands of files stays small.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <functional>
#include <unordered_map>
#include <vector>

#include "results/shared_text.h"
#include "results/string_collection.h"

namespace twinex {

inline constexpr int kMaxDigestLength = 64;

// Fields are ordered by size so that the record, kept once per stored file, carries no padding.
// The name lives in the table's name store (see CStringCollection2::FileName): a string per
// record would cost 32 bytes even for the short names that fit in it.
struct FileRecord {
  std::uint64_t SIZE = 0;
  double DateLastModified = 0;
  double DateCreated = 0;
  std::uint64_t VolumeSerialNumber = 0;
  std::uint32_t FolderIndex = 0;       // full folder (see CStringCollection2::Folder)
  std::uint32_t Attributes = 0;
  std::int32_t SourceNr = 0;
  std::uint32_t FileIndexHigh = 0;
  std::uint32_t FileIndexLow = 0;
  std::uint32_t NumberOfLinks = 0;   // 0 = not read yet
  std::uint32_t ArchiveMember = 0;   // archive members: their entry in the table's member list
  std::int32_t GroupID = -1;         // -1 not in a group; otherwise the result group's id
  std::int32_t SlotChain = -1;       // first slot of a key: the search's list of that key's slots
  std::uint32_t HashSlot = 0;        // checksum 0: its place in the table's digest store (0 none)
  std::uint32_t Extras = 0;          // picture size and tag cuts: see CStringCollection2::Extras
  std::uint8_t ArchiveType = 0;
  std::uint8_t PercentMatch = 0;
  // One byte for the four flags: together with the name fields they fill the record's last word.
  bool HashCreated : 1 = false;
  bool IsReferenceFile : 1 = false;
  bool HaveErrorMessage : 1 = false;
  bool DBChecked : 1 = false;  // the checksum database was asked for this file's digest

  std::uint32_t NameAt = 0;      // where the name starts in the name store
  std::uint16_t NameSize = 0;    // the whole name, extension included (kLongName: kept apart)
  std::uint16_t NameLength = 0;  // the name without its extension and dot

  static constexpr std::uint16_t kLongName = 0xFFFF;
};

// A search keeps one record per file it has met; a field added here costs its size that many times.
static_assert(sizeof(FileRecord) <= 88, "FileRecord grew");

// What only the records of some searches carry: the picture's size in pixels (picture searches)
// and the tag bytes left out of the comparison at either end (searches that ignore tags).
struct RecordExtras {
  std::int32_t picWidth = 0;
  std::int32_t picHeight = 0;
  std::uint32_t cutFromFileStart = 0;  // tags are far below 4 GiB
  std::uint32_t cutFromFileEnd = 0;
};

class CStringCollection2 {
 public:
  // Initial allocation and additive growth in entries (the search uses 100,000 and 50,000).
  void Init(long initialAllocVal, long growthVal);
  // Adds a record under the key. When the key exists nothing is added, *existed is set and the
  // existing element's index is returned; otherwise the new index.
  long Add(std::string_view key, FileRecord record, bool* existed = nullptr);
  long ExistKey(std::string_view key) const;  // index, 0 when absent
  long Count() const { return count_; }
  // Index 0 is the file being checked: it is compared with stored files before it is known
  // whether it will be stored itself.
  FileRecord& Record(long index) { return index == 0 ? scratch_ : Slot(index); }
  const FileRecord& Record(long index) const { return index == 0 ? scratch_ : Slot(index); }
  void Clear();

  // Folders are interned: the same folder text always gives the same index, and the result rows
  // of a folder share its one text.
  std::uint32_t InternFolder(std::string_view folder);
  const std::string& Folder(std::uint32_t index) const { return folders_[index]; }
  const SharedText& SharedFolder(std::uint32_t index) const { return folders_[index]; }

  // The name as on disk, extension included; the name without extension, and the extension
  // without the dot. The views stay valid while the table lives.
  std::string_view FileName(const FileRecord& record) const;
  std::string_view Name(const FileRecord& record) const { return FileName(record).substr(0, StemLength(record)); }
  std::string_view Extension(const FileRecord& record) const;
  void SetFileName(FileRecord& record, std::string_view fileName, std::string_view extension);

  std::string GetFileNameWithExtension(long index) const;
  std::string GetPathWithFileName(long index) const;   // full folder, "/", name with extension
  std::string FolderOf(long index) const { return Folder(Record(index).FolderIndex); }
  // The folder relative to the file's source folder ("" for the source folder itself), given the
  // length of each source folder's path at the front of its files' folders.
  void SetSourceBaseLength(int sourceNr, std::size_t length);
  std::string RelativeFolder(long index) const;
  std::string GetHardlinkIDkey(long index, bool quellSerialsAllSame) const;

  // Digests are stored apart from the records, each as long as the search's checksum, so a
  // table of SHA-1 digests does not carry room for SHA-512 in every record.
  void SetDigestLength(int length);
  int DigestLength() const { return digestLength_; }
  // The record's digest bytes, made (zero-filled) on first use.
  std::uint8_t* HashArray(FileRecord& record);
  const std::uint8_t* HashArray(const FileRecord& record) const;

  // Archive members keep their inner path and temporary copy apart from the record, since
  // ordinary files, nearly all of the table, have neither.
  void SetArchiveMember(FileRecord& record, std::string pathInsideZip, std::string archiveTempFileNr = "");
  const std::string& PathInsideZip(const FileRecord& record) const;
  const std::string& ArchiveTempFileNr(const FileRecord& record) const;

  // Picture size and tag cuts live apart from the record, since a search for exact duplicates,
  // the one with the most records, has neither; a record without them reads zeros.
  const RecordExtras& Extras(const FileRecord& record) const;
  RecordExtras& EditExtras(FileRecord& record);
  // The size less skipped tag bytes.
  std::uint64_t EffectiveSize(const FileRecord& record) const {
    if (record.Extras == 0) return record.SIZE;
    const RecordExtras& e = Extras(record);
    return record.SIZE - e.cutFromFileStart - e.cutFromFileEnd;
  }
  std::string GetHardlinkIDkeyFormatted(long index, bool quellSerialsAllSame) const;

 private:
  // Lets the folder map be searched with a string_view, so a lookup that finds the folder
  // allocates nothing.
  struct FolderHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>{}(s); }
  };

  void MakeRoomForRecord();
  std::uint32_t StoreName(std::string_view name);
  std::size_t NameTail() const;  // where the next name goes
  std::size_t StemLength(const FileRecord& record) const;

  // Key (case folded, so that keys compare without regard to case) -> record index.
  std::unordered_map<std::string, long, FolderHash, std::equal_to<>> keys_;
  mutable std::string folded_;  // the last folded key, kept for its capacity
  const std::string& Folded(std::string_view key) const;
  // Records live in blocks that never move: growing the table adds a block instead of copying
  // every record into a larger array, which would hold both copies at once.
  static constexpr int kBlockShift = 16;
  static constexpr long kBlockSize = 1L << kBlockShift;
  FileRecord& Slot(long index) const {
    const auto i = static_cast<std::size_t>(index - 1);
    return blocks_[i >> kBlockShift][i & (kBlockSize - 1)];
  }
  mutable std::vector<std::vector<FileRecord>> blocks_;
  long count_ = 0;
  struct ArchiveMemberInfo {
    std::string pathInsideZip;
    std::string archiveTempFileNr;
  };
  std::vector<ArchiveMemberInfo> members_;  // index 0: no member
  // The checked file's extras stay apart until it is stored, so that files that only join a
  // group leave nothing behind.
  static constexpr std::uint32_t kScratchExtras = 0xFFFFFFFF;
  RecordExtras scratchExtras_;
  std::vector<RecordExtras> extras_;  // record.Extras - 1
  int digestLength_ = kMaxDigestLength;
  std::uint32_t digestCount_ = 0;
  std::vector<std::unique_ptr<std::uint8_t[]>> digestBlocks_;
  FileRecord scratch_;
  // Names of all records, back to back in chunks that never move. The checked file's name is
  // written before it is known whether the file is stored; while it is not, the next checked
  // file's name takes its place, so files that only join a group leave nothing behind.
  static constexpr int kNameChunkShift = 20;
  static constexpr std::size_t kNameChunk = std::size_t{1} << kNameChunkShift;
  std::vector<std::unique_ptr<char[]>> nameChunks_;
  std::size_t nameUsed_ = kNameChunk;  // in the last chunk
  struct LongName {
    std::string name;
    std::size_t stem;  // NameLength would not hold it either
  };
  std::vector<LongName> longNames_;  // names longer than the size field holds
  bool scratchNamePending_ = false;
  std::uint32_t scratchHashSlot_ = 0;  // the digest place of the checked file while it is not stored
  std::uint32_t scratchNameAt_ = 0;
  std::size_t scratchNameEnd_ = 0;
  long initialAlloc_ = 100000;
  long growth_ = 50000;
  std::vector<SharedText> folders_;
  std::vector<std::uint32_t> sourceBaseLengths_;  // by source number
  // Keyed by views of the folders' own texts, which never move.
  std::unordered_map<std::string_view, std::uint32_t, FolderHash> folderIndex_;
  std::uint32_t lastFolder_ = 0;
  bool haveLastFolder_ = false;
};

}  // namespace twinex

#include "results/file_record.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/text.h"

namespace twinex {

namespace {

std::string Hex(std::uint64_t value) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(value));
  return buf;
}

}  // namespace

void CStringCollection2::Init(long initialAllocVal, long growthVal) {
  initialAlloc_ = std::max(1L, initialAllocVal);
  growth_ = std::max(1L, growthVal);
  keys_.clear();
  blocks_.clear();
  count_ = 0;
}

// A block is reserved when the first record of it arrives: the reservation is address space the
// system backs page by page as records are written, so a small search does not pay for it.
void CStringCollection2::MakeRoomForRecord() {
  if (!blocks_.empty() && blocks_.back().size() < static_cast<std::size_t>(kBlockSize)) return;
  blocks_.emplace_back();
  blocks_.back().reserve(static_cast<std::size_t>(kBlockSize));
}

// Keys of the property search are mostly digits and ASCII names, whose folded form is their
// lower case; only other text goes through the full case folding.
const std::string& CStringCollection2::Folded(std::string_view key) const {
  folded_.assign(key);
  for (char& c : folded_) {
    if (static_cast<unsigned char>(c) >= 0x80) return folded_ = platform::FoldCase(key);
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return folded_;
}

long CStringCollection2::Add(std::string_view key, FileRecord record, bool* existed) {
  const long index = Count() + 1;
  if (existed) *existed = false;
  if (!key.empty()) {  // an empty key is never a duplicate: its record is reached by index only
    const auto [it, inserted] = keys_.try_emplace(Folded(key), index);
    if (!inserted) {
      if (existed) *existed = true;
      return it->second;
    }
  }
  // The checked file's name is now the stored record's: the next checked file appends its own.
  if (scratchNamePending_ && record.NameSize != FileRecord::kLongName && record.NameAt == scratchNameAt_)
    scratchNamePending_ = false;
  // The checked file's digest place, if it had one, went with it; the next file gets its own.
  scratchHashSlot_ = 0;
  if (record.Extras == kScratchExtras) {
    extras_.push_back(scratchExtras_);
    record.Extras = static_cast<std::uint32_t>(extras_.size());
  }
  MakeRoomForRecord();
  blocks_.back().push_back(record);
  ++count_;
  return index;
}

// Record indexes start at 1, so the Tag of a missing key (0) reads as "absent" with one lookup.
long CStringCollection2::ExistKey(std::string_view key) const {
  if (key.empty()) return 0;
  const auto it = keys_.find(std::string_view(Folded(key)));
  return it == keys_.end() ? 0 : it->second;
}

// Dropping the node array releases every key string at once; releasing them one by one first
// would only add a pass over the tree.
void CStringCollection2::Clear() {
  decltype(keys_)().swap(keys_);
  std::vector<std::vector<FileRecord>>().swap(blocks_);
  count_ = 0;
  folderIndex_.clear();
  std::vector<SharedText>().swap(folders_);
  std::vector<std::unique_ptr<char[]>>().swap(nameChunks_);
  nameUsed_ = kNameChunk;
  std::vector<LongName>().swap(longNames_);
  scratchNamePending_ = false;
  scratchHashSlot_ = 0;
  std::vector<ArchiveMemberInfo>().swap(members_);
  std::vector<RecordExtras>().swap(extras_);
  digestBlocks_.clear();
  digestCount_ = 0;
  haveLastFolder_ = false;
}

// The walk hands over the files of one folder after each other, so the last folder is checked
// before the map.
std::uint32_t CStringCollection2::InternFolder(std::string_view folder) {
  if (haveLastFolder_ && folders_[lastFolder_] == folder) return lastFolder_;
  auto it = folderIndex_.find(folder);
  if (it == folderIndex_.end()) {
    const auto index = static_cast<std::uint32_t>(folders_.size());
    folders_.emplace_back(folder);
    it = folderIndex_.emplace(std::string_view(folders_.back()), index).first;
  }
  lastFolder_ = it->second;
  haveLastFolder_ = true;
  return lastFolder_;
}

std::size_t CStringCollection2::NameTail() const {
  return nameChunks_.empty() ? 0 : ((nameChunks_.size() - 1) << kNameChunkShift) | nameUsed_;
}

std::uint32_t CStringCollection2::StoreName(std::string_view name) {
  if (nameChunks_.empty() || kNameChunk - nameUsed_ < name.size()) {
    nameChunks_.push_back(std::make_unique_for_overwrite<char[]>(kNameChunk));
    nameUsed_ = 0;
  }
  const auto at = static_cast<std::uint32_t>(((nameChunks_.size() - 1) << kNameChunkShift) | nameUsed_);
  std::memcpy(nameChunks_.back().get() + nameUsed_, name.data(), name.size());
  nameUsed_ += name.size();
  return at;
}

void CStringCollection2::SetFileName(FileRecord& record, std::string_view fileName, std::string_view extension) {
  const bool scratch = &record == &scratch_;
  // The last checked file was not stored: nothing refers to its name, whose room is reused
  // unless another name was written after it.
  if (scratch && scratchNamePending_ && NameTail() == scratchNameEnd_) nameUsed_ = scratchNameAt_ & (kNameChunk - 1);
  if (scratch) scratchNamePending_ = false;
  // Positions are 32-bit: past 4 GiB of names (or for a name longer than the size field) the
  // name is kept on its own.
  const std::size_t chunkLimit = std::size_t{1} << (32 - kNameChunkShift);
  if (fileName.size() >= FileRecord::kLongName || (nameChunks_.size() >= chunkLimit && kNameChunk - nameUsed_ < fileName.size())) {
    record.NameAt = static_cast<std::uint32_t>(longNames_.size());
    record.NameSize = FileRecord::kLongName;
    longNames_.push_back({std::string(fileName), 0});
  } else {
    record.NameAt = StoreName(fileName);
    record.NameSize = static_cast<std::uint16_t>(fileName.size());
    if (scratch && !fileName.empty()) {
      scratchNamePending_ = true;
      scratchNameAt_ = record.NameAt;
      scratchNameEnd_ = NameTail();
    }
  }
  const std::size_t stem = extension.empty() && (fileName.empty() || fileName.back() != '.')
                               ? fileName.size()
                               : fileName.size() - extension.size() - 1;
  record.NameLength = static_cast<std::uint16_t>(std::min<std::size_t>(stem, FileRecord::kLongName));
  if (record.NameSize == FileRecord::kLongName) longNames_.back().stem = stem;
}

std::size_t CStringCollection2::StemLength(const FileRecord& record) const {
  return record.NameSize == FileRecord::kLongName ? longNames_[record.NameAt].stem : record.NameLength;
}

std::string_view CStringCollection2::FileName(const FileRecord& record) const {
  if (record.NameSize == 0) return {};
  if (record.NameSize == FileRecord::kLongName) return longNames_[record.NameAt].name;
  return {nameChunks_[record.NameAt >> kNameChunkShift].get() + (record.NameAt & (kNameChunk - 1)), record.NameSize};
}

std::string_view CStringCollection2::Extension(const FileRecord& record) const {
  const std::string_view name = FileName(record);
  const std::size_t stem = StemLength(record);
  return stem < name.size() ? name.substr(stem + 1u) : std::string_view();
}

// The name is kept as on disk, so a name ending in a dot is never shown (or acted on) without it.
std::string CStringCollection2::GetFileNameWithExtension(long index) const { return std::string(FileName(Record(index))); }

std::string CStringCollection2::GetPathWithFileName(long index) const {
  const std::string& folder = Folder(Record(index).FolderIndex);
  const std::string_view name = FileName(Record(index));
  std::string out;
  out.reserve(folder.size() + 1 + name.size());
  out.append(folder);
  if (out.empty() || out.back() != '/') out.push_back('/');
  out.append(name);
  return out;
}

void CStringCollection2::SetSourceBaseLength(int sourceNr, std::size_t length) {
  if (sourceNr < 0) return;
  const auto nr = static_cast<std::size_t>(sourceNr);
  if (sourceBaseLengths_.size() <= nr) sourceBaseLengths_.resize(nr + 1, 0);
  sourceBaseLengths_[nr] = static_cast<std::uint32_t>(length);
}

std::string CStringCollection2::RelativeFolder(long index) const {
  const FileRecord& r = Record(index);
  std::string_view folder = Folder(r.FolderIndex);
  const auto nr = static_cast<std::size_t>(r.SourceNr);
  const std::size_t base = r.SourceNr >= 0 && nr < sourceBaseLengths_.size() ? sourceBaseLengths_[nr] : 0;
  folder.remove_prefix(std::min(base, folder.size()));
  while (!folder.empty() && folder.front() == '/') folder.remove_prefix(1);
  return std::string(folder);
}

std::string CStringCollection2::GetHardlinkIDkey(long index, bool quellSerialsAllSame) const {
  const FileRecord& r = Record(index);
  std::string key = std::to_string(r.FileIndexHigh) + "|" + std::to_string(r.FileIndexLow);
  return quellSerialsAllSame ? key : std::to_string(r.VolumeSerialNumber) + "|" + key;
}

std::string CStringCollection2::GetHardlinkIDkeyFormatted(long index, bool quellSerialsAllSame) const {
  const FileRecord& r = Record(index);
  std::string key = Hex(r.FileIndexHigh) + Hex(r.FileIndexLow);
  return quellSerialsAllSame ? key : Hex(r.VolumeSerialNumber) + key;
}

void CStringCollection2::SetArchiveMember(FileRecord& record, std::string pathInsideZip, std::string archiveTempFileNr) {
  if (members_.empty()) members_.emplace_back();
  if (record.ArchiveMember == 0) {
    record.ArchiveMember = static_cast<std::uint32_t>(members_.size());
    members_.emplace_back();
  }
  members_[record.ArchiveMember] = {std::move(pathInsideZip), std::move(archiveTempFileNr)};
}

const std::string& CStringCollection2::PathInsideZip(const FileRecord& record) const {
  static const std::string kNone;
  return record.ArchiveMember == 0 ? kNone : members_[record.ArchiveMember].pathInsideZip;
}

const std::string& CStringCollection2::ArchiveTempFileNr(const FileRecord& record) const {
  static const std::string kNone;
  return record.ArchiveMember == 0 ? kNone : members_[record.ArchiveMember].archiveTempFileNr;
}

const RecordExtras& CStringCollection2::Extras(const FileRecord& record) const {
  static const RecordExtras kNone;
  if (record.Extras == 0) return kNone;
  return record.Extras == kScratchExtras ? scratchExtras_ : extras_[record.Extras - 1];
}

RecordExtras& CStringCollection2::EditExtras(FileRecord& record) {
  if (record.Extras == 0) {
    if (&record == &scratch_) {
      record.Extras = kScratchExtras;
      scratchExtras_ = {};
    } else {
      extras_.emplace_back();
      record.Extras = static_cast<std::uint32_t>(extras_.size());
    }
  }
  return record.Extras == kScratchExtras ? scratchExtras_ : extras_[record.Extras - 1];
}

void CStringCollection2::SetDigestLength(int length) {
  digestLength_ = std::clamp(length, 1, kMaxDigestLength);
  digestBlocks_.clear();
  digestCount_ = 0;
  scratchHashSlot_ = 0;
}

std::uint8_t* CStringCollection2::HashArray(FileRecord& record) {
  const auto length = static_cast<std::size_t>(digestLength_);
  if (record.HashSlot == 0) {
    // The checked file takes over the digest of the one before when that was not stored.
    if (&record == &scratch_ && scratchHashSlot_ != 0) {
      record.HashSlot = scratchHashSlot_;
      std::uint8_t* bytes = HashArray(record);
      std::fill(bytes, bytes + length, std::uint8_t{0});
      return bytes;
    }
    const std::uint32_t slot = digestCount_++;
    if (&record == &scratch_) scratchHashSlot_ = slot + 1;
    // Blocks are not cleared as a whole: a page is only backed once a digest is written to it.
    if ((slot >> kBlockShift) >= digestBlocks_.size())
      digestBlocks_.push_back(std::make_unique_for_overwrite<std::uint8_t[]>(static_cast<std::size_t>(kBlockSize) * length));
    record.HashSlot = slot + 1;
    std::uint8_t* bytes = digestBlocks_[slot >> kBlockShift].get() + static_cast<std::size_t>(slot & (kBlockSize - 1)) * length;
    std::fill(bytes, bytes + length, std::uint8_t{0});
    return bytes;
  }
  const std::uint32_t slot = record.HashSlot - 1;
  return digestBlocks_[slot >> kBlockShift].get() + static_cast<std::size_t>(slot & (kBlockSize - 1)) * length;
}

const std::uint8_t* CStringCollection2::HashArray(const FileRecord& record) const {
  static const std::uint8_t kZeros[kMaxDigestLength] = {};
  if (record.HashSlot == 0) return kZeros;
  const std::uint32_t slot = record.HashSlot - 1;
  return digestBlocks_[slot >> kBlockShift].get() +
         static_cast<std::size_t>(slot & (kBlockSize - 1)) * static_cast<std::size_t>(digestLength_);
}

}  // namespace twinex

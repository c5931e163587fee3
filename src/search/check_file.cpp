#include "search/check_file.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <ranges>

#include "platform/file_system.h"
#include "platform/folder_handle.h"
#include "platform/text.h"
#include "search/compare_content.h"
#include "search/grouping_key.h"
#include "search/hardlink_id.h"
#include "search/result_rows.h"
#include "search/search.h"
#include "search/search_method.h"
#include "search/slot_prints.h"
#include "search/walk.h"
#include "search/tag_cuts.h"

namespace twinex {
namespace {

constexpr long kCurrent = 0;  // the file being checked, see CStringCollection2::Record

void FillRecord(Search& s, const EnumeratedFile& f, FileRecord& r) {
  r = FileRecord{};
  s.files.SetFileName(r, f.name, platform::xGetExtension(f.name));
  r.FolderIndex = s.files.InternFolder(f.folder);
  r.SourceNr = s.currentSourceNr;
  r.SIZE = f.size;
  r.Attributes = f.attributes;
  r.DateLastModified = f.modified;
  r.DateCreated = f.created;
  if (!f.archivePath.empty()) s.files.SetArchiveMember(r, std::string(f.archivePath));
  r.ArchiveType = f.archiveType;
  if (f.entry) {
    r.VolumeSerialNumber = f.entry->device;
    r.FileIndexHigh = static_cast<std::uint32_t>(f.entry->inode >> 32);
    r.FileIndexLow = static_cast<std::uint32_t>(f.entry->inode & 0xFFFFFFFFu);
    r.NumberOfLinks = static_cast<std::uint32_t>(f.entry->links);
  }
}

// The two files met in a slot are duplicates when the scope allows the pair and the contents
// agree.
bool SlotPairMatches(Search& s, long first) {
  const FileRecord& fresh = s.files.Record(kCurrent);
  const FileRecord& stored = s.files.Record(first);
  if (s.scope == 2 && fresh.SourceNr == stored.SourceNr) return false;
  if (s.scope == 3 && (fresh.SourceNr != stored.SourceNr || s.files.RelativeFolder(kCurrent) != s.files.RelativeFolder(first)))
    return false;
  if (!s.criteria[kCritContent]) return true;
  return Search_CompareContent(s, kCurrent, first);
}

std::uint64_t InodeOf(const FileRecord& r) {
  return (static_cast<std::uint64_t>(r.FileIndexHigh) << 32) | r.FileIndexLow;
}

// Where a file was met: what tells one directory entry from another.
struct EntryFacts {
  std::uint64_t device, inode;
  std::string_view name, folder;
  bool inArchive;
};

EntryFacts FactsOf(const Search& s, const FileRecord& r) {
  return {r.VolumeSerialNumber, InodeOf(r), s.files.FileName(r), s.files.Folder(r.FolderIndex), r.ArchiveType != 0};
}
EntryFacts FactsOf(const ResultFile& row) { return {row.device, row.inode, row.dupname, row.path, row.archiv != 0}; }

// One directory entry reached twice (its folder under two names) is one file, not two: a group
// of it with itself would offer the only copy for deletion. Hard links are different entries
// of one file and stay apart: another name, or another folder.
bool SameDirectoryEntry(const EntryFacts& a, const EntryFacts& b) {
  if (a.inArchive || b.inArchive || a.inode != b.inode || a.device != b.device || a.name != b.name) return false;
  if (a.folder == b.folder) return true;
  platform::FolderId fa, fb;
  return platform::FolderIdOf(std::string(a.folder), fa) && platform::FolderIdOf(std::string(b.folder), fb) && fa == fb;
}

bool AlreadyInGroup(const Search& s, const FileRecord& fresh, const FileRecord& stored, const ResultGroup* group) {
  const EntryFacts mine = FactsOf(s, fresh);
  if (!group) return SameDirectoryEntry(mine, FactsOf(s, stored));
  for (const ResultFile& row : group->files)
    if (row.inode == mine.inode && SameDirectoryEntry(mine, FactsOf(row))) return true;
  return false;
}

// Makes the stored file's group (when it has none yet) and adds the checked file to it.
void JoinGroup(Search& s, long first) {
  FileRecord& stored = s.files.Record(first);
  ResultGroup* group = stored.GroupID > 0 ? s.result.FindGroup(stored.GroupID) : nullptr;
  if (AlreadyInGroup(s, s.files.Record(kCurrent), stored, group)) return;
  if (s.settings.ShowOnlyFilesWithoutDups) {
    stored.GroupID = 1;
    return;
  }
  if (!group) {
    group = &Search_AddNewGroup(s, first);
    stored.GroupID = group->id;
    Search_AddNodeFromCollection(s, *group, stored);
  }
  s.files.Record(kCurrent).GroupID = group->id;
  Search_AddNodeFromCollection(s, *group, s.files.Record(kCurrent));
}

void GroupWithoutSlots(Search& s, const std::string& key) {
  ++s.counters.fileComparisons;
  long index = s.files.ExistKey(key);
  if (index != 0)
    JoinGroup(s, index);
  else
    s.files.Add(key, std::move(s.files.Record(kCurrent)));
}

std::uint32_t DigestPrefix(const Search& s, const FileRecord& r) {
  std::uint32_t v = 0;
  std::memcpy(&v, s.files.HashArray(r), std::min<std::size_t>(sizeof v, static_cast<std::size_t>(s.files.DigestLength())));
  return v;
}

void Remember(const Search& s, SlotSummary& slot, const FileRecord& r) {
  if (slot.digestKnown || !r.HashCreated) return;
  slot.digestKnown = true;
  slot.digestPrefix = DigestPrefix(s, r);
}

// With digests known on both sides, a differing digest settles the pair without reading the
// stored record; every other pair goes through the full comparison.
bool SlotMatches(Search& s, SlotSummary& slot) {
  const FileRecord& fresh = s.files.Record(kCurrent);
  if (s.contentMethod > 0 && slot.digestKnown && fresh.HashCreated && slot.digestPrefix != DigestPrefix(s, fresh) &&
      s.criteria[kCritContent])
    return false;
  bool match = SlotPairMatches(s, slot.index);
  Remember(s, slot, s.files.Record(slot.index));
  return match;
}

// Scope 2: once a group formed, the first files of the following slots that match the checked
// file join it too.
void JoinFollowingSlots(Search& s, std::vector<SlotSummary>& chain, std::size_t from) {
  int groupId = s.files.Record(kCurrent).GroupID;
  ResultGroup* group = s.result.FindGroup(groupId);
  if (!group) return;
  for (std::size_t k = from + 1; k < chain.size(); ++k) {
    if (s.run.StopRequested()) return;
    FileRecord& rec = s.files.Record(chain[k].index);
    if (rec.GroupID != -1 || !SlotMatches(s, chain[k])) continue;
    rec.GroupID = groupId;
    Search_AddNodeFromCollection(s, *group, rec);
  }
}

// Comparing one file with many slots can take long; the window hears from the search meanwhile.
void ProgressWhileComparing(Search& s) {
  if (ProgressDue(s)) Search_ShowProgress(s, s.files.Folder(s.files.Record(kCurrent).FolderIndex), false);
}

// Tries the given slots in slot order; true when the search is done with the file (it joined a
// group, or the search stops).
template <typename Slots>
bool JoinFirstMatch(Search& s, std::vector<SlotSummary>& chain, const Slots& slots) {
  for (std::size_t k : slots) {
    if (s.run.StopRequested()) return true;
    ProgressWhileComparing(s);
    if (!SlotMatches(s, chain[k])) continue;
    JoinGroup(s, chain[k].index);
    if (s.scope == 2 && !s.settings.ShowOnlyFilesWithoutDups) JoinFollowingSlots(s, chain, k);
    return true;
  }
  return false;
}

// The prints a new file gets in the slot index when it becomes a slot.
struct OwnPrints {
  std::optional<std::uint64_t> sample;
  std::optional<std::uint64_t> full;
};

// Where the cheap prints of several slots agree (files that differ only inside), the print of
// the whole content tells them apart, so each such file is read once for its print instead of
// once against every slot. A candidate whose print cannot be taken stays a candidate.
bool NarrowByFullPrint(Search& s, std::vector<SlotSummary>& chain, SlotPrints& prints,
                       std::vector<std::size_t>& candidates, OwnPrints& own) {
  using Outcome = ContentSamples::FullPrintOutcome;
  std::uint64_t mine = 0;
  const Outcome made = Search_ContentFullPrint(s, kCurrent, mine);
  if (made == Outcome::Cancelled) return false;
  if (made == Outcome::Failed) return true;
  own.full = mine;
  std::vector<std::size_t> kept;
  for (std::size_t k : candidates) {
    ProgressWhileComparing(s);
    const std::uint64_t* theirs = prints.FullPrint(k);
    std::uint64_t value = 0;
    if (!theirs) {
      const Outcome outcome = Search_ContentFullPrint(s, chain[k].index, value);
      if (outcome == Outcome::Cancelled) return false;
      if (outcome == Outcome::Made) {
        prints.SetFullPrint(k, value);
        theirs = prints.FullPrint(k);
      }
    }
    if (!theirs || *theirs == mine) kept.push_back(k);
  }
  candidates = std::move(kept);
  return true;
}

// Byte by byte, a file's print picks the slots worth a full comparison. Exact equality holds
// between whole contents, so skipping slots of another print changes no result.
bool JoinByPrint(Search& s, std::size_t chainId, OwnPrints& own) {
  std::vector<SlotSummary>& chain = s.slotChains[chainId];
  SlotPrints& prints = s.slotPrints[chainId];
  prints.Resolve(chain.size(), [&](std::size_t k, std::uint64_t& p) { return Search_ContentPrint(s, chain[k].index, p); });
  std::uint64_t sample = 0;
  if (!Search_ContentPrint(s, kCurrent, sample))
    return JoinFirstMatch(s, chain, std::views::iota(std::size_t{0}, chain.size()));
  own.sample = sample;
  std::vector<std::size_t> candidates;
  prints.Candidates(sample, candidates);
  // A stop or skip while reading gives up this file's comparisons.
  if (candidates.size() > 1 && !NarrowByFullPrint(s, chain, prints, candidates, own)) return s.run.StopRequested();
  return JoinFirstMatch(s, chain, candidates);
}

// The slots of a key are listed together, so the slot loop walks that list instead of looking
// every slot key up again; the file table finds a key's first slot, the list the others.
void GroupInSlots(Search& s, const std::string& key) {
  long head = s.files.ExistKey(key + "1");
  std::size_t chainId = 0;
  OwnPrints own;
  const bool byPrint = UsesContentPrints(s);
  if (head != 0) {
    chainId = static_cast<std::size_t>(s.files.Record(head).SlotChain);
    std::vector<SlotSummary>& chain = s.slotChains[chainId];
    if (byPrint ? JoinByPrint(s, chainId, own)
                : JoinFirstMatch(s, chain, std::views::iota(std::size_t{0}, chain.size())))
      return;
  } else {
    chainId = s.slotChains.size();
    s.slotChains.emplace_back();
    s.files.Record(kCurrent).SlotChain = static_cast<std::int32_t>(chainId);
  }
  std::vector<SlotSummary>& chain = s.slotChains[chainId];
  SlotSummary slot;
  Remember(s, slot, s.files.Record(kCurrent));
  // Only the first slot needs its key in the tree: the later ones are reached through the list.
  std::string slotKey = chain.empty() ? key + "1" : std::string();
  slot.index = static_cast<std::uint32_t>(s.files.Add(slotKey, std::move(s.files.Record(kCurrent))));
  Search_ContentStored(s, slot.index);
  chain.push_back(slot);
  // A key's first file needs no print until a second file of the key arrives.
  if (byPrint && head != 0) {
    SlotPrints& prints = s.slotPrints[chainId];
    prints.Add(own.sample);
    if (own.full) prints.SetFullPrint(chain.size() - 1, *own.full);
  }
}

}  // namespace

void Search_CheckFile(Search& s, const EnumeratedFile& f) {
  ++s.counters.filesChecked;
  FileRecord& r = s.files.Record(kCurrent);
  FillRecord(s, f, r);
  Search_ContentNewCheckedFile(s);
  if (!ApplyTagCuts(s, kCurrent)) return;

  s.currentFolderFd = f.archivePath.empty() ? f.folderFd : -1;
  s.currentDigestJob = f.archivePath.empty() ? f.digestJob : nullptr;
  s.searchMethod->CheckFile(s);
  s.currentFolderFd = -1;
  s.currentDigestJob = nullptr;
}

void Search_GroupByKey(Search& s) {
  const FileRecord& r = s.files.Record(kCurrent);
  std::string key = BuildSearchKey(s, r, s.scope == 3 ? s.files.RelativeFolder(kCurrent) : std::string());
  if (UsesSlots(s))
    GroupInSlots(s, key);
  else
    GroupWithoutSlots(s, key);
}

}  // namespace twinex

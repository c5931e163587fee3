#include "search/walk.h"

#include <algorithm>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "platform/date_time.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/text.h"
#include "search/digest_ahead.h"
#include "search/open_folders.h"
#include "search/result_rows.h"
#include "search/search.h"
#include "search/search_method.h"
#include "search/search_stats.h"
#include "settings/translate.h"

namespace twinex {
namespace {

constexpr std::int64_t kProgressIntervalMs = 1000;
constexpr std::int64_t kCountProgressIntervalMs = 1500;

// Tests whether a subfolder is the archive temp folder (met once per source).
bool IsTempFolder(Search& s, const std::string& fullPath) {
  if (!s.tempInsideSource) return false;
  const std::string& temp = s.archiveTempFolder;  // ends in "/"
  if (fullPath.size() + 1 != temp.size()) return false;
  if (temp.compare(0, fullPath.size(), fullPath) != 0) return false;
  s.tempInsideSource = false;
  return true;
}

bool ShouldEnterFolder(Search& s, std::string_view name, const std::string& fullPath, bool isLink, bool counting) {
  if (!s.recurseCurrentSource) return false;
  if (isLink && s.skipJunctions) return false;
  if (s.filters.FolderFilterActive() && s.filters.FolderRejected(name, fullPath)) {
    if (!counting) ++s.counters.foldersExcluded;
    return false;
  }
  if (!counting && IsTempFolder(s, fullPath)) return false;
  return true;
}

void PollRunState(Search& s) {
  if (s.run.Paused()) Pause(s);
}

void LogCannotEnter(Search& s, const std::string& folder, const std::string& error) {
  s.LogProtokoll(z_Translate(11036, "Der Ordner '%1' konnte nicht durchsucht werden: %2", {folder, error}), true);
}

// Enters a subfolder below the current one and walks it, unless it cannot be opened or was
// entered before under another name. Only the collecting walk reports either; the counting
// walk meets the same folders first and stays quiet.
template <typename WalkFn>
void Descend(Search& s, OpenFolders& chain, std::set<platform::FolderId>& visited, std::string_view name,
             const std::string& full, bool report, WalkFn walk) {
  if (std::string error = chain.Enter(name); !error.empty()) {
    if (report) LogCannotEnter(s, full, error);
    return;
  }
  if (visited.insert(chain.CurrentId()).second) {
    walk(full);
  } else if (report) {
    s.LogProtokoll(z_Translate(11035, "Der Ordner '%1' wird übersprungen, da er bereits unter einem anderen Namen durchsucht wurde.",
                               {full}));
  }
  chain.Leave();
}

void CountFolder(Search& s, const std::string& folder, OpenFolders& chain, std::int64_t& lastUpdate) {
  if (s.run.StopRequested()) return;
  const platform::FolderHandle* dir = nullptr;
  if (!chain.Current(dir).empty()) return;
  ++s.counters.totalFolders;
  std::vector<std::pair<std::string, bool>> subfolders;  // name, is link
  platform::ListFolderNamesAt(dir->Descriptor(), [&](std::string_view name, platform::EntryKind kind) {
    std::int64_t now = platform::TickCount();
    if (now - lastUpdate >= kCountProgressIntervalMs) {
      Search_ShowProgress(s, folder + "/...", true);
      lastUpdate = now;
    }
    PollRunState(s);
    if (s.run.StopRequested()) return false;
    using platform::EntryKind;
    if (kind == EntryKind::Directory || kind == EntryKind::SymlinkToDirectory) {
      subfolders.emplace_back(std::string(name), kind == EntryKind::SymlinkToDirectory);
    } else if (kind == EntryKind::File) {
      ++s.counters.totalFiles;
      if (s.scanArchives && s.searchMethod->ScansArchives()) {
        std::string ext = platform::LowerCase(platform::xGetExtension(name));
        std::string type;
        if (ArchiveTypeOfName(s, name, ext, type)) ++s.counters.totalArchives;
      }
    }
    return true;
  });
  // Subfolders are walked after the listing is closed, so a deep tree holds one descriptor per
  // level, not two.
  for (const auto& [name, isLink] : subfolders) {
    if (s.run.StopRequested()) break;
    const std::string full = platform::JoinPath(folder, name);
    if (ShouldEnterFolder(s, name, full, isLink, true))
      Descend(s, chain, s.countedFolders, name, full, false,
              [&](const std::string& path) { CountFolder(s, path, chain, lastUpdate); });
  }
}

// A folder listed and offered to the digest helper before the walk gets there, so that the
// helper never waits for the walk to list the next folder.
struct Prelisted {
  std::string name;
  platform::FolderId id;
  std::vector<platform::FileInfo> entries;
  OfferedFolder ahead;
};

// Walk order: folders are walked in name order, as the file systems of the desktop list them,
// so that a search over the same tree always meets its files in the same order (the first file
// of a group is the one met first).
std::string ListInWalkOrder(int folderFd, std::vector<platform::FileInfo>& entries) {
  std::string error = platform::ListFolderAt(folderFd, [&](const platform::FileInfo& e) {
    entries.push_back(e);
    return true;
  });
  std::sort(entries.begin(), entries.end(),
            [](const platform::FileInfo& a, const platform::FileInfo& b) { return a.name < b.name; });
  return error;
}

// Lists the plain subfolder after entry `from` and offers its files; nothing when there is none
// or it cannot be read (the walk then lists it itself and reports what fails).
std::optional<Prelisted> ListNextFolder(Search& s, const platform::FolderHandle& dir,
                                        const std::vector<platform::FileInfo>& entries, std::size_t from) {
  for (std::size_t k = from + 1; k < entries.size(); ++k) {
    const platform::FileInfo& e = entries[k];
    if (!e.isDirectory) continue;
    if (e.isSymlink) return std::nullopt;
    platform::FolderHandle next;
    Prelisted p{e.name, {}, {}, {}};
    if (!next.OpenChild(dir, e.name, false).empty() || !ListInWalkOrder(next.Descriptor(), p.entries).empty())
      return std::nullopt;
    p.id = next.Id();
    p.ahead = s.digestAhead->Offer(next.Descriptor(), p.entries);
    return p;
  }
  return std::nullopt;
}

void WalkFolder(Search& s, const std::string& folder, OpenFolders& chain, std::optional<Prelisted> given) {
  if (s.run.StopRequested()) return;
  const platform::FolderHandle* dir = nullptr;
  std::vector<platform::FileInfo> entries;
  OfferedFolder ahead;
  std::string error = chain.Current(dir);
  if (error.empty() && given && given->id == chain.CurrentId()) {
    entries = std::move(given->entries);
    ahead = std::move(given->ahead);
    s.digestAhead->Promote(ahead);
  } else if (error.empty()) {
    error = ListInWalkOrder(dir->Descriptor(), entries);
    // The helper thread starts on this folder's digests while the walk goes through it.
    if (error.empty() && s.digestAhead) ahead = s.digestAhead->Offer(dir->Descriptor(), entries);
  }
  given.reset();
  if (!error.empty()) {  // an unreadable or vanished folder is passed over, but not silently
    LogCannotEnter(s, folder, error);
    return;
  }
  ++s.counters.foldersScanned;
  struct RestoreOffered {
    Search& s;
    const OfferedFolder* outer;
    ~RestoreOffered() { s.offeredFolder = outer; }
  } restore{s, s.offeredFolder};
  std::optional<Prelisted> next;

  std::string full;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const platform::FileInfo& e = entries[i];
    full = platform::JoinPath(folder, e.name);
    if (ProgressDue(s)) Search_ShowProgress(s, folder, false);
    PollRunState(s);
    if (s.run.StopRequested()) break;

    if (e.isDirectory) {
      std::optional<Prelisted> mine;
      if (next && next->name == e.name) mine = std::move(next);
      next.reset();
      if (ShouldEnterFolder(s, e.name, full, e.isSymlink, false)) {
        if (s.digestAhead && chain.Current(dir).empty()) next = ListNextFolder(s, *dir, entries, i);
        Descend(s, chain, s.walkedFolders, e.name, full, true,
                [&](const std::string& path) { WalkFolder(s, path, chain, std::move(mine)); });
      }
      continue;
    }
    // A link is not a copy: grouping it with its target invites deleting the only copy.
    if (e.isSymlink || !e.isRegular) continue;

    ++s.counters.filesSeen;
    std::string ext = platform::LowerCase(platform::xGetExtension(e.name));
    bool excludedByFilter = s.filters.Search_CheckFileFilter(e.size, e.name, full, e.modified, e.created);
    const bool excludedByType = !excludedByFilter && !s.searchMethod->AcceptsExtension(s, ext);
    if (excludedByFilter || excludedByType) {
      ++s.counters.filesExcluded;
      s.counters.bytesExcluded += e.size;
    } else {
      EnumeratedFile f;
      f.folder = folder;
      f.name = e.name;
      f.fullPath = full;
      f.size = e.size;
      f.modified = e.modified;
      f.created = e.created;
      f.attributes = e.attributes;
      f.entry = &e;
      f.digestJob = ahead.JobFor(i);
      // Asked per file: a deep subfolder walked meanwhile may have closed this folder's
      // descriptor and opened it again under another number.
      if (chain.Current(dir).empty()) f.folderFd = dir->Descriptor();
      s.offeredFolder = &ahead;  // again after every subfolder, which offered its own
      const long stored = s.files.Count();
      s.checkFile(s, f);
      if (s.digestAhead && s.files.Count() > stored) {
        ahead.Stored(i, s.files.Count());
        s.digestAhead->NoteStored(e.size, s.files.Count());
      }
      if (s.counters.duplicates >= s.maxDuplicates) s.run.RequestStop(kStopMaxDuplicates);
      if (s.run.StopRequested()) break;
    }

    if (!excludedByFilter && s.scanArchives && s.searchMethod->ScansArchives()) {
      std::string type;
      if (ArchiveTypeOfName(s, e.name, ext, type)) {
        ++s.counters.archivesFound;
        if (s.scanArchive) s.scanArchive(s, full, ext, type);
        if (s.run.StopRequested()) break;
      }
    }
  }
}

}  // namespace

bool ArchiveTypeOfName(const Search& s, std::string_view name, std::string_view ext, std::string& type) {
  // Item codes of the archive types (index = code - 1).
  struct Plain {
    const char* ext;
    int code;
  };
  static const Plain kPlain[] = {{"zip", 1},  {"7z", 3},   {"iso", 4},  {"cab", 5},  {"tar", 6},
                                 {"epub", 8}, {"cbr", 9},  {"nrg", 10}, {"lzh", 11}, {"lha", 12},
                                 {"arj", 13}, {"cbz", 14}, {"cb7", 15}, {"cbt", 16}};
  auto enabled = [&](int code) { return s.settings.ScanArchive[static_cast<std::size_t>(code - 1)]; };
  type.clear();
  for (const auto& p : kPlain)
    if (ext == p.ext) return enabled(p.code);

  std::string lowerName = platform::LowerCase(name);
  if (ext == "gz" && platform::EndsWith(lowerName, ".tar.gz")) {
    // A compressed tar is a tar: its members are the files, not the one tar stream.
    type = "tar";
    return enabled(6);
  }
  if (ext == "gz") return enabled(7);
  if (ext == "rar") {
    if (!enabled(2)) return false;
    std::size_t pos = lowerName.find(".part");
    if (pos == std::string::npos) return true;
    type = "rar";
    // Only the first volume of a multi-part set is opened: the digits after ".part" read 1.
    std::string digits = lowerName.substr(pos + 5, lowerName.size() >= pos + 9 ? lowerName.size() - pos - 9 : 0);
    long long v = 0;
    return platform::ParseLong(digits, v) && v == 1;
  }
  if (ext == "001") {
    struct Volume {
      const char* suffix;
      int code;
      const char* type;
    };
    static const Volume kVolumes[] = {{".7z.001", 3, "7z"}, {".zip.001", 1, "zip"}, {".tar.001", 6, "tar"}};
    for (const auto& v : kVolumes) {
      if (platform::EndsWith(lowerName, v.suffix) && enabled(v.code)) {
        type = v.type;
        return true;
      }
    }
  }
  return false;
}

namespace {

// Opens a source and walks it; the source folder counts as visited like any other.
template <typename WalkFn>
void WalkSource(Search& s, const std::string& folder, std::set<platform::FolderId>& visited, bool report, WalkFn walk) {
  OpenFolders chain(!s.skipJunctions);
  if (std::string error = chain.EnterSource(folder); !error.empty()) {
    if (report) LogCannotEnter(s, folder, error);
    return;
  }
  if (visited.insert(chain.CurrentId()).second) walk(chain);
}

}  // namespace

void Search_GetSourceFolderFileCount(Search& search, const std::string& folder) {
  std::int64_t lastUpdate = platform::TickCount();
  WalkSource(search, folder, search.countedFolders, false,
             [&](OpenFolders& chain) { CountFolder(search, folder, chain, lastUpdate); });
}

void Search_GetFiles(Search& search, const std::string& folder) {
  WalkSource(search, folder, search.walkedFolders, true,
             [&](OpenFolders& chain) { WalkFolder(search, folder, chain, std::nullopt); });
}

// Asked for every file: a coarse clock, whose reading costs nothing worth measuring, is enough
// for a once-a-second decision.
bool ProgressDue(const Search& s) {
  return platform::CoarseTickCount() - s.lastProgressTick >= kProgressIntervalMs;
}

void Search_ShowProgress(Search& s, const std::string& currentFolder, bool counting) {
  std::int64_t now = platform::TickCount();
  s.lastProgressTick = now;
  if (platform::ResidentMemoryBytes() >= s.memoryLimit) s.run.RequestStop(kStopMemoryLimit);
  SearchProgress p;
  p.elapsedSeconds = (now - s.startTick) / 1000;
  p.filesChecked = s.counters.filesChecked;
  p.filesTotal = s.counters.totalFiles;
  p.archivesFound = s.counters.archivesFound;
  p.archivesTotal = s.counters.totalArchives;
  p.duplicates = s.counters.duplicates;
  p.groups = s.counters.groups;
  p.counting = counting;
  p.currentFolder = currentFolder;
  s.observer.OnProgress(p);
  Search_HandOverGroups(s);
  Log_Scan_Stats_IfDue(s);
}

void Pause(Search& s) {
  s.observer.OnPaused(true);
  s.run.WaitWhilePaused();
  s.observer.OnPaused(false);
}

}  // namespace twinex

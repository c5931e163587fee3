#pragma once
// The working state of one search: a copy of the settings taken at the start (edits made while
// it runs do not reach it), the compiled filters, the walk options, counters and source table.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/file_owner.h"
#include "platform/folder_handle.h"
#include "results/file_record.h"
#include "results/result_tree.h"
#include "search/checksum_db_location.h"
#include "platform/run_control.h"
#include "search/search_observer.h"
#include "search/slot_prints.h"
#include "settings/filters.h"
#include "settings/settings_file.h"

namespace twinex {

class Prompt;
class ArchiveTempCopies;
class ChecksumDatabase;
class SearchMethod;
struct SearchMethodState;
struct ContentWorkspace;
class DigestAhead;
class DigestJob;
class OfferedFolder;
namespace platform {
struct FileInfo;
}

// What the walk hands to the per-file step for one accepted file.
struct EnumeratedFile {
  std::string_view folder;    // without trailing separator
  std::string_view name;
  std::string_view fullPath;
  std::string_view archivePath;  // path inside an archive; empty for a plain file
  std::uint64_t size = 0;
  double modified = 0;  // local Date values to the second
  double created = 0;
  std::uint32_t attributes = 0;
  bool inArchive = false;
  std::uint8_t archiveType = 0;  // the member's ArchiveType
  const platform::FileInfo* entry = nullptr;  // device, inode and link count of a plain file
  int folderFd = -1;  // a plain file's folder, held open by the walk while the file is checked
  DigestJob* digestJob = nullptr;  // its digest, when a helper thread makes it ahead
};

// What the slot loop needs of a slot's first file, kept together so that walking a long list of
// slots does not touch every record: its index, and its digest's first bytes once known.
// A key can have many slots (files of one size with different contents), so the summary is kept
// to 8 bytes: four digest bytes tell nearly every pair of different digests apart.
struct SlotSummary {
  std::uint32_t index : 31 = 0;  // the table's indexes are 31-bit (see FileRecord::SlotChain)
  std::uint32_t digestKnown : 1 = 0;
  std::uint32_t digestPrefix = 0;
};
static_assert(sizeof(SlotSummary) == 8);

struct SearchCounters {
  std::uint64_t filesChecked = 0;
  std::uint64_t filesInArchives = 0;
  std::uint64_t archivesSearched = 0;
  std::uint64_t filesExtracted = 0;
  std::uint64_t fileComparisons = 0;
  std::uint64_t checksumsCreated = 0;
  std::uint64_t dbChecksumsUsed = 0;
  std::uint64_t dbChecksumsStored = 0;
  std::uint64_t dbChecksumsUpdated = 0;
  std::uint64_t duplicates = 0;
  std::uint64_t groups = 0;
  // Walk counters.
  std::uint64_t foldersScanned = 0;
  std::uint64_t filesSeen = 0;
  std::uint64_t filesExcluded = 0;
  std::uint64_t bytesExcluded = 0;
  std::uint64_t foldersExcluded = 0;
  std::uint64_t archivesFound = 0;
  std::uint64_t totalFiles = 0;
  std::uint64_t totalArchives = 0;
  std::uint64_t totalFolders = 0;
};

struct SourceEntry {
  std::string path;  // the base cut off the front of every found path
  int SourceNr = 0;  // 1-based
  bool includeSubfolders = true;
  bool fileProtection = false;
  std::uint64_t volume = 0;  // st_dev of the source folder
  std::uint64_t duplicates = 0;
  std::uint64_t duplicateBytes = 0;
};

// What the program around the engine provides to a search.
struct SearchEnvironment {
  std::string programFolder;
  std::string programTempFolder;     // default archive temp folder
  std::uint64_t memoryLimit = 0;     // 0: 90 % of physical memory
  int afterSearchAction = 0;         // 0 none, 1 standby, 2 hibernation
  bool playSound = false;
  std::string soundFile;
  std::function<void(const std::string& file)> playSoundFile;  // empty: no sound device
  bool saveReport = false;
  std::function<void()> saveReportHook;
  std::function<std::string(bool hibernate)> requestPowerState;  // empty: the platform's
  DatabaseLocation database;          // empty file: no checksum database
  bool expandAllGroups = false;       // "Alle Gruppen im Suchergebnis aufklappen"
  std::string dateFormat = "dd/MM/yyyy hh:nn:ss";  // date display of the result
  std::string settingsFile;  // where the result window's options are read; "": the program's own
  // Stop, pause and skip of this search; the front end keeps a share of it. Empty: the search
  // makes its own.
  std::shared_ptr<RunControl> run;
};

// The checksum descriptor chosen from the content method.
struct ChecksumDescriptor {
  int index = 0;             // content method index, also the stored checksum type
  int digestLength = 0;      // bytes
  const char* name = "";     // "SHA1-160" …
};
ChecksumDescriptor ChecksumDescriptorFor(int contentCompare);

class Search {
 public:
  Search(const MainSettings& settings, SearchEnvironment env, SearchObserver& observer, Prompt& prompt);
  ~Search();

  // LogProtokoll: one line of the search log.
  void LogProtokoll(const std::string& text, bool isError = false);

  SearchSettings settings;        // copy taken at the start (Init_Variablen)
  SourcesAndFilters sources;
  SearchEnvironment env;
  RunControl& run;  // env.run, made when the front end gave none
  SearchObserver& observer;
  Prompt& prompt;

  CompiledFilters filters;
  NameCleanup nameCleanup;

  // Init_Variablen
  int method = 0;
  const SearchMethod* searchMethod;  // the implementation of `method`
  std::unique_ptr<SearchMethodState> methodState;  // what the method keeps between files
  std::array<bool, 8> criteria{};  // name, extension, size, content, modified, created, attributes, hard link
  int scope = 0;
  int contentMethod = 0;
  int contentPercent = 100;
  ChecksumDescriptor checksum;
  std::array<std::uint64_t, 4> buffers{};  // CompareBuffer0..3 (3 is 0 without "end block first")
  bool useDatabase = false;  // the checksum database is open for this search
  std::unique_ptr<ChecksumDatabase> database;
  // Every source folder lies on one volume: the hard-link texts leave the volume out.
  bool quellSerialsAllSame = true;
  // "Dateibesitzer ermitteln": every result row shows its owner.
  bool readOwner = false;
  platform::OwnerNames ownerNames;
  // A duration, bit-rate or sampling-rate column is shown: every result row gets them.
  bool readAudio = false;

  // Walk options.
  bool recurseCurrentSource = true;
  bool skipJunctions = true;
  bool scanArchives = false;
  std::string archiveTempFolder;  // ends in "/"
  std::string archiveBeingScanned;  // the archive whose members are being listed
  // The temporary copies of archive members, made on the first extraction; shared with the
  // result, which keeps the copies of grouped members.
  std::shared_ptr<ArchiveTempCopies> tempCopies;
  // Copies made ahead, in archive order, for members that another member of their archive may
  // need to be compared with, by "<archive>/<inner path>": claimed by the record when its content
  // is first read; the closing step deletes those never claimed.
  std::unordered_map<std::string, std::string> copiesAhead;  // -> ArchiveTempFileNr
  // The members of a solid archive that take part, in archive order, and how far its reader
  // has read: a member behind that point costs a read from the archive's start.
  struct SolidArchiveMembers {
    std::vector<std::string> members;
    std::vector<std::uint64_t> sizes;
    std::unordered_map<std::string, std::size_t> position;
    std::vector<bool> copied;
    std::size_t reached = 0;
  };
  std::unordered_map<std::string, SolidArchiveMembers> solidArchives;  // by archive path
  // Groups opened or grown since the last hand-over to a front end that shows them live.
  bool liveGroups = false;
  std::vector<int> changedGroups;
  bool tempInsideSource = false;
  std::string pictureExtensions;  // "/jpg/png/"
  std::uint64_t maxDuplicates = 2000000;
  long long firstCharsCount = 0;          // FileNameCompareOnlyFirstCharsCount
  std::int64_t statsIntervalMs = 300000;  // LogStatisticMinutes

  SearchCounters counters;
  // The folders each walk has entered, by identity, over all sources: a folder reached again
  // under another name (a followed link, a bind mount) is not entered twice, which also ends
  // any loop.
  std::set<platform::FolderId> countedFolders, walkedFolders;
  std::vector<SourceEntry> sourceTable;
  CStringCollection2 files;  // the file table of this search
  std::vector<std::vector<SlotSummary>> slotChains;  // the slots of each key, in slot order
  // Byte by byte: the prints of the slots of each key that met a second file, by chain.
  std::unordered_map<std::size_t, SlotPrints> slotPrints;
  std::shared_ptr<ContentWorkspace> contentWorkspace;  // buffers and looks of the content comparison
  ResultTree result;
  int currentSourceNr = 0;
  // The open folder of the plain file being checked (-1 for none): its content is opened there.
  int currentFolderFd = -1;
  DigestJob* currentDigestJob = nullptr;
  // The folder the walk is going through, as offered to the digest helper: the digests of its
  // files and of the earlier files they meet may be made there already.
  const OfferedFolder* offeredFolder = nullptr;
  // Makes digests of small files ahead of the walk on a second thread (null when it does not
  // apply); lives for the walk.
  std::unique_ptr<DigestAhead> digestAhead;

  std::int64_t startTick = 0;
  std::int64_t lastProgressTick = 0;
  std::int64_t lastStatsTick = 0;  // last periodic statistics line
  std::uint64_t memoryLimit = 0;

  // The per-file step; tests may replace it to record what the walk accepted.
  std::function<void(Search&, const EnumeratedFile&)> checkFile;
  // Archive listing; lists nothing until archive support is present.
  std::function<void(Search&, const std::string& fullPath, const std::string& ext, const std::string& type)> scanArchive;
};

}  // namespace twinex

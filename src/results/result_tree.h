#pragma once
// The result of a search: group rows with their file rows, the counters over the whole result,
// and the named values every row carries (sorting, selection, saving and export address values
// by these names).
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

#include "results/copyable_ptr.h"
#include "results/shared_text.h"

namespace twinex {

// What the files of a group share (the first column's header names it).
enum CaptionType : int {
  kCaptionName = 0,
  kCaptionNameWithExtension = 1,
  kCaptionExtension = 2,
  kCaptionSize = 3,
  kCaptionModified = 4,
  kCaptionCreated = 5,
  kCaptionAttributes = 6,
  kCaptionHardlink = 7,
  kCaptionSimilarPictures = 8,
  kCaptionSimilarMusic = 9,
  kCaptionTrackLength = 10,
};

// Values that only some rows carry (owner, audio, archive members, thumbnails, shared links): kept
// out of the row so that the common row stays small.
struct ResultFileExtras {
  std::string owner;
  std::string AudioDuration;
  std::string tmppath;
  std::string thumbnailpath;
  // Reached through the row's accessors, which leave the extras unmade for the common values.
  std::string pathA;  // path inside the archive
  double AudioDurationVal = 0;
  int AudioBitrate = 0, AudioSamplingrate = 0;
};

struct ResultFile {
  std::string dupname;      // file name with extension
  // Folder; for an archive member the archive's path. Rows of one folder share its text.
  SharedText path;
  std::uint64_t size = 0;
  double dateVal = 0;       // modified
  double dateEval = 0;      // created
  // Identity at search time, so that file actions can verify a file is still the one found.
  std::uint64_t device = 0, inode = 0;
  CopyablePtr<ResultFileExtras> extras;
  // The shared-link identity, set for files with two links or more: boxed on its own, since in a
  // search for hard links every row has one and the extras would cost far more.
  CopyablePtr<std::string> hardlinkID;  // none: "-"
  std::uint32_t attr = 0;
  std::uint32_t hardlinks = 0;  // link count when 2 or more, else 0
  int similar = 0;
  int picW = 0, picH = 0;
  int qnr = 0;              // source folder number
  int archiv = 0;           // archive kind, 0 ordinary file
  bool IsRefFile = false;
  bool GetFileInfo = false;
  bool selected = false;
  bool protectedFile = false;  // below a protected source folder

  std::string FullPath() const;  // path + "/" + dupname
  const ResultFileExtras& Extras() const;
  ResultFileExtras& EditExtras() { return extras.Ensure(); }

  // Path inside the archive; empty for an ordinary file.
  const std::string& PathA() const { return Extras().pathA; }
  void SetPathA(std::string pathInside);
  // The shared-link identity text; "-" for a file with a single link unless another text was set.
  const std::string& HardlinkID() const;
  void SetHardlinkID(std::string id);
  // Audio columns: 0 until they are read.
  double AudioDurationVal() const { return Extras().AudioDurationVal; }
  int AudioBitrate() const { return Extras().AudioBitrate; }
  int AudioSamplingrate() const { return Extras().AudioSamplingrate; }
  void SetAudioDurationVal(double seconds);
  void SetAudioBitrate(int bitrate);
  void SetAudioSamplingrate(int samplingrate);
};
// One row per duplicate, by the ten thousand in a large result: keep it free of padding and rare values.
static_assert(sizeof(ResultFile) <= 128);

struct ResultGroup {
  int id = 0;
  std::string dupname;        // caption
  std::uint64_t size = 0;     // sum of the files' sizes
  std::uint64_t sizeG = 0;    // size-grouped: the shared size
  double dateG = 0;           // date-grouped: the group date
  int Sel = 0;                // selected files
  bool expanded = false;
  // The caption is a text of its own (the files without duplicates), not the shared size or
  // date that the caption type would show.
  bool textCaption = false;
  std::vector<ResultFile> files;
  std::size_t anz() const { return files.size(); }
};

struct ResultCounters {
  std::int64_t DupCount = 0;
  std::int64_t DupCountSelected = 0;
  std::uint64_t FilesizeAll = 0;
  std::uint64_t FilesizeSelected = 0;
  std::int32_t GroupID = 0;  // last group number handed out
};

// A named value: the value (text, whole number or date/real number) and its display text.
struct NamedValue {
  std::variant<std::monostate, std::string, std::int64_t, double> value;
  std::string text;
  bool Exists() const { return value.index() != 0; }
};

// The date display format used when the settings leave it empty.
inline constexpr const char* kDefaultDateDisplayFormat = "dd\\mm\\yyyy hh:nn:ss";

// Called by the bulk removal walk after each group with the groups done and the groups in all;
// returning false ends the walk there (every counter is still exact).
using RemovalProgress = std::function<bool(std::size_t done, std::size_t total)>;

// How values are shown: the date format (settings "DateFormat3") and the size unit.
struct ResultDisplay {
  std::string dateFormat = "dd/MM/yyyy hh:nn:ss";
  int formatSize = 0;          // "FormatSize": 0 bytes, 1 KB, 2 MB, 3 GB, 5 TB; 4 automatic here
  int formatSizeDecimal = 1;   // 1 "###,##0.00", else "###,###,##0"
  bool ignoreTime = false;     // date captions of this search
  bool ignoreSeconds = false;
  // The sources span several volumes: "Hardlink ID" texts carry the volume in front.
  bool hardlinkIdWithVolume = false;
};

class ResultTree {
 public:
  std::vector<ResultGroup> groups;
  ResultCounters counters;
  int captionType = kCaptionName;
  ResultDisplay display;

  // Adds an empty group with the next group number; returns it.
  ResultGroup& AddGroup(std::string caption, std::uint64_t sizeG = 0, double dateG = 0);
  // Adds a file row to a group and updates the group and the counters.
  void AddFile(ResultGroup& group, ResultFile file);
  ResultGroup* FindGroup(int id);

  void SetSelected(ResultGroup& group, ResultFile& file, bool selected);
  // Check state of a group: 0 none, 1 all, 2 some selected.
  static int GroupCheckState(const ResultGroup& group);

  NamedValue FileValue(const ResultFile& file, std::string_view key) const;    // key without regard to case
  NamedValue GroupValue(const ResultGroup& group, std::string_view key) const;

  // Bulk removal: walks from the last row to the first, removes the file rows the test accepts,
  // keeps groups with one file, removes emptied groups; returns the number of file rows removed.
  std::size_t RemoveFiles(const std::function<bool(const ResultGroup&, const ResultFile&)>& test,
                          const RemovalProgress& progress = {});
  // Removes the groups the test accepts with all their file rows; returns the file rows removed.
  std::size_t RemoveGroups(const std::function<bool(const ResultGroup&)>& test, const RemovalProgress& progress = {});
  void Clear();

  // Sorts the groups by a named value (as a click on the group column: "sizeG", "dateG" or
  // "dupname" without regard to case).
  void SortGroups(std::string_view key, bool ascending = true);
  // Sorts the file rows inside every group by a named value of the file rows (stable).
  void SortFiles(std::string_view key, bool ascending = true);
  // The key the group column sorts by for this result's caption type.
  std::string GroupSortKey() const;

  // Display text of a size under this result's size unit.
  std::string SizeText(std::uint64_t size) const;

 private:
  void IndexGroups();
  // Drops the groups whose flag is set, keeping the order of the others.
  void EraseFlaggedGroups(const std::vector<char>& flags);
  void DropFileCounts(ResultGroup& group, const ResultFile& file);

  std::unordered_map<int, std::size_t> groupIndex_;  // group id -> position in groups
};

// Display helpers.
std::string FormatFileSizeA(int formatType, std::uint64_t size, const std::string& formatString = "###,##0.00");
std::string FormatFileSizeB(int formatType, std::uint64_t size);
// Display text of a size for a "FormatSize" value: bytes, a unit (number format by
// formatSizeDecimal) or, for 4, the automatic format with its unit.
std::string SizeDisplayText(std::uint64_t size, int formatSize, int formatSizeDecimal);
// The size unit and number format of the result window's options ("Optionen": "FormatSize",
// "FormatSizeDecimal") from the settings file ("": the program's own).
void ReadSizeFormat(ResultDisplay& display, const std::string& settingsFile = "");
// Unit name shown in headers for a "FormatSize" value ("Automatisch" for 4).
std::string SizeUnitName(int formatSize);
std::string FormatDateDisplay(double date, const std::string& format);  // VB-style format text
// The format of date captions: without the time parts when the time is ignored, without the
// seconds when they are ignored.
std::string CaptionDateFormat(const std::string& format, bool ignoreTime, bool ignoreSeconds);
std::string AttributeLetters(std::uint32_t attributes);
// One line per letter: "A: Archiv".
std::string AttributeTooltip(std::uint32_t attributes);
std::string ToRichText(std::string_view text);
// The three status texts of ShowDupCount: groups, files, sizes.
std::vector<std::string> ShowDupCount(const ResultTree& tree);
// Tooltips of the file and size status texts.
std::vector<std::string> DupCountTooltips();
// "Gruppe - %1" header of the first column.
std::string GroupColumnHeader(int captionType, int formatSize);
// "Größe (Bytes)" / "Größe (%1)" header of the size column.
std::string SizeColumnHeader(int formatSize);

}  // namespace twinex

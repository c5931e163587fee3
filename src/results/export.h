#pragma once
// Writing a search result, or its selected or unselected part, to a file for use outside the
// program: a readable text report, a CSV table, an XLSX workbook, or a plain list of paths.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "results/result_tree.h"
#include "settings/prompt.h"

namespace twinex {

enum ExportFormat : int { kExportTxt = 0, kExportCsv = 1, kExportXlsx = 2 };
enum ExportWhich : int { kExportAll = 0, kExportSelected = 1, kExportUnselected = 2 };
enum ExportSeparator : int {
  kSeparatorComma = 0,
  kSeparatorSemicolon = 1,
  kSeparatorTab = 2,
  kSeparatorBlank = 3,
  kSeparatorCustom = 4,
};

// The export window's choices, kept in section "ExportList" of the settings file.
struct ExportSettings {
  int Delimiter = kSeparatorSemicolon;  // what spreadsheets in a German locale expect
  std::string DelimiterChars;           // the custom separator
  int FileFormat = kExportTxt;
  int SaveFileType = kExportAll;
  bool SaveOnlyFiles = false;
  bool OpenFile = false;
  std::string LastSaveDir;
  std::string LastSaveFileName;
  bool operator==(const ExportSettings&) const = default;
};

// defaultSaveDir is the "export" folder below the data folder (used while none was stored).
ExportSettings LoadExportSettings(const std::string& file, const std::string& defaultSaveDir = "");
std::string SaveExportSettings(const ExportSettings& settings, const std::string& file);

// The optional file columns of the result grid that are switched on (section "Optionen"); the
// export writes exactly the columns the user sees.
struct ExportColumns {
  bool filePath = true;
  bool zipPath = true;
  bool size = true;
  bool dateM = false;
  bool dateC = false;
  bool attr = false;
  bool owner = false;
  bool hardlinks = false;
  bool hardlinkID = false;
  bool similar = false;
  bool picWidth = false;
  bool picHeight = false;
  bool audioDuration = false;
  bool audioBitRate = false;
  bool audioSamplingRate = false;
  bool operator==(const ExportColumns&) const = default;
};

ExportColumns LoadExportColumns(const std::string& file);

struct ExportRequest {
  std::string target;                   // the file to write; an existing one is replaced
  int format = kExportTxt;
  int which = kExportAll;
  int separator = kSeparatorSemicolon;  // CSV only
  std::string customSeparator;          // with kSeparatorCustom, written as given
  bool fileListOnly = false;            // one full path per line, whatever the format
  std::string searchDescription;        // title of the text report
  std::vector<std::string> descriptionLines;  // method, criteria, options of the search
  ExportColumns columns;
  // Polled while writing; true stops the export and removes the incomplete file.
  std::function<bool()> cancelled;
  std::function<void(int percent)> progress;
};

// Fills the choices of a request from the stored settings.
ExportRequest MakeExportRequest(const ExportSettings& settings, const ExportColumns& columns,
                                const std::string& target);

enum class ExportStatus { Written, NothingToExport, Cancelled, Failed };

struct ExportOutcome {
  ExportStatus status = ExportStatus::Written;
  std::string error;        // the message shown for Failed and NothingToExport
  std::int64_t files = 0;   // file rows written
  bool Ok() const { return status == ExportStatus::Written; }
};

// Writes the export. Nothing to export and failures are also shown through the prompt; a
// cancelled or failed export leaves the target as it was and no temporary file behind.
ExportOutcome ExportResult(const ResultTree& tree, const ExportRequest& request, Prompt& prompt);

// False when "which" selects no file row ("all" always has something: an empty result still
// gives a valid, empty export).
bool HasFilesToExport(const ResultTree& tree, int which);

// The text report, line by line without line ends (the file writer encodes each line as
// UTF-16LE with CR LF; the command line prints them as UTF-8). False when cancelled.
bool WriteTextReport(const ResultTree& tree, const ExportRequest& request,
                     const std::function<void(const std::string& line)>& writeLine);
// The file list: the full path of each exported file. False when cancelled.
bool WriteFileList(const ResultTree& tree, const ExportRequest& request,
                   const std::function<void(const std::string& line)>& writeLine);

std::string ExportSeparatorText(int separator, const std::string& customSeparator);
std::string ExportSeparatorCaption(int separator);
std::string ExportWhichCaption(int which);
// "txt", "csv" or "xlsx".
std::string ExportFileExtension(int format);

}  // namespace twinex

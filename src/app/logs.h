#pragma once
// The program's log files: the general log, the temporary log of the running search (merged
// into the general log and kept as "lastsearch.txt" when the search window closes), the error
// log and the debug log. All are UTF-16LE with byte-order mark; every append opens the file,
// writes one line in one call and closes it, so other processes may read them at any time.
// A line that cannot be written is lost, nothing else.
#include <string>
#include <vector>

namespace twinex {

// Where the logs of this process go; set once by the start-up sequence. Empty paths switch the
// matching log off.
struct LogFiles {
  std::string generalLog;     // Twinex4.txt
  std::string searchLog;      // the temporary search log in the temp folder
  std::string lastSearchLog;  // lastsearch.txt
  std::string errorLog;       // error.txt
  std::string debugLog;       // debug.txt
  std::string appTitle;       // for the error record
  std::string dataFolder;
};
void SetLogFiles(const LogFiles& files);
LogFiles GetLogFiles();

// LogProtokollMain: one line of the general log.
void LogProtokollMain(const std::string& text);
// LogProtokoll: one line of the temporary search log ("ERROR: " before the text of an error).
void LogProtokoll(const std::string& text, bool isError = false);
// LogFehler: a line of "error.txt", with the timestamp when asked, and an empty line after it
// when asked.
void LogFehler(const std::string& text, bool extraBlankLine = false, bool withTimestamp = true);
// The debug log: the text, then " (" and each argument after ", ", then ")".
void LogDebug(const std::string& text, const std::vector<std::string>& args = {});
// The action log of the file manager, written on its open file: one line; on failure the
// error text "Write_To_Log: " and the reason.
std::string Write_To_Log(int fd, const std::string& text, bool isError = false);

// SaveTmpLog: appends the temporary search log to the general log, copies it over
// "lastsearch.txt" and deletes it. Returns the first error or "".
std::string SaveTmpLog();

// Log_Show_Last_Search: the heading and text of "lastsearch.txt" for the log pane.
struct LastSearchLog {
  std::string heading;
  std::string text;  // empty when there is no file
};
LastSearchLog Log_Show_Last_Search();

}  // namespace twinex

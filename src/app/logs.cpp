#include "app/logs.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <mutex>

#include "app/log_line.h"
#include "platform/file_system.h"
#include "platform/ini_file.h"
#include "platform/text.h"
#include "platform/text_file.h"
#include "settings/translate.h"

namespace twinex {
namespace {

struct LogFilesStore {
  std::mutex lock;
  LogFiles files;
};

LogFilesStore& Store() {
  static LogFilesStore store;
  return store;
}

void Append(const std::string& file, const std::string& line) {
  if (!file.empty()) AppendLogLine(file, line);
}

}  // namespace

void SetLogFiles(const LogFiles& files) {
  std::lock_guard guard(Store().lock);
  Store().files = files;
}

LogFiles GetLogFiles() {
  std::lock_guard guard(Store().lock);
  return Store().files;
}

void LogProtokollMain(const std::string& text) { Append(GetLogFiles().generalLog, FormatLogLine(text, false)); }

void LogProtokoll(const std::string& text, bool isError) {
  Append(GetLogFiles().searchLog, FormatLogLine(text, isError));
}

void LogFehler(const std::string& text, bool extraBlankLine, bool withTimestamp) {
  std::string line = withTimestamp ? FormatLogLine(text, false) : text;
  if (extraBlankLine) line += "\r\n";
  Append(GetLogFiles().errorLog, line);
}

void LogDebug(const std::string& text, const std::vector<std::string>& args) {
  std::string line = text;
  if (!args.empty()) {
    line += " (";
    for (const std::string& a : args) line += ", " + a;
    line += ")";
  }
  Append(GetLogFiles().debugLog, FormatLogLine(line, false));
}

std::string Write_To_Log(int fd, const std::string& text, bool isError) {
  std::string bytes = platform::EncodeUtf16LE(FormatLogLine(text, isError) + "\r\n", false);
  ssize_t n;
  do {
    n = ::write(fd, bytes.data(), bytes.size());
  } while (n < 0 && errno == EINTR);
  if (n == static_cast<ssize_t>(bytes.size())) return "";
  return std::string("Write_To_Log: ") + std::strerror(n < 0 ? errno : ENOSPC);
}

std::string SaveTmpLog() {
  const LogFiles files = GetLogFiles();
  std::string bytes, error;
  if (files.searchLog.empty() || !platform::ExistFile(files.searchLog)) return "";
  if (!platform::ReadWholeFile(files.searchLog, bytes, &error)) return error;
  std::string_view body = bytes;
  if (platform::StartsWith(body, "\xFF\xFE")) body.remove_prefix(2);
  if (!body.empty() && !files.generalLog.empty()) error = AppendLogBytes(files.generalLog, body);
  if (!files.lastSearchLog.empty()) {
    std::string copyError = platform::WriteFileAtomic(files.lastSearchLog, bytes);
    // Without its copy the search log is all that is left of the search: it stays.
    if (!copyError.empty()) return error.empty() ? copyError : error;
  }
  ::unlink(files.searchLog.c_str());
  return error;
}

LastSearchLog Log_Show_Last_Search() {
  LastSearchLog out;
  std::string bytes;
  const std::string file = GetLogFiles().lastSearchLog;
  if (file.empty() || !platform::ExistFile(file) || !platform::ReadWholeFile(file, bytes)) {
    out.heading = z_Translate(12041, "Es ist keine Protokolldatei vorhanden.");
    return out;
  }
  out.heading = z_Translate(12040, "Protokoll der letzten Suche");
  out.text = platform::DecodeTextFile(bytes);
  return out;
}

}  // namespace twinex

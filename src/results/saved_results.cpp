#include "results/saved_results.h"

#include <cstdio>
#include <unistd.h>

#include <algorithm>

#include "platform/date_time.h"
#include "platform/file_ops.h"
#include "platform/file_system.h"
#include "platform/ini_file.h"
#include "platform/text.h"
#include "settings/translate.h"

namespace twinex {
namespace {

constexpr const char* kSection = "General";
constexpr const char* kVersion = "405";
constexpr std::string_view kRowsExt = ".asr4a";
// The longest name whose three files still fit a file name.
constexpr std::size_t kMaxNameBytes = 255 - kRowsExt.size();

std::string Key(const char* base, std::size_t i) { return base + std::to_string(i + 1); }

std::string LoadError(const std::string& why) {
  return z_Translate(14201, "Das Suchergebnis kann nicht geladen werden:%!%!%1", {why});
}

std::int64_t ReadInt(const std::string& file, const char* key) {
  long long v = 0;
  return platform::ParseLong(platform::IniRead(file, kSection, key, "0"), v) ? v : -1;
}

// N".ini4a" made anew: a file holding only the byte-order mark replaces the old one, then the
// keys are written in one batch with "v" last, so a file that has "v" is complete.
std::string WriteInfo(const std::string& path, const ResultTree& tree, const SavedResultInfo& info) {
  if (std::string e = platform::WriteFileAtomic(path, "\xFF\xFE"); !e.empty()) return e;
  platform::IniBatch batch(path);
  const ResultCounters& c = tree.counters;
  std::size_t rows = tree.groups.size();
  for (const ResultGroup& g : tree.groups) rows += g.files.size();
  std::string serials;
  for (const auto& s : info.sources) serials += (serials.empty() ? "" : ",") + std::to_string(s.volume);
  std::vector<std::pair<std::string, std::string>> keys = {
      {"Unicode", info.unicode ? "1" : "0"},
      {"DupCount", std::to_string(c.DupCount)},
      {"DupCountSelected", std::to_string(c.DupCountSelected)},
      {"GroupID", std::to_string(c.GroupID)},
      {"FilesizeAll", std::to_string(c.FilesizeAll)},
      {"FilesizeSelected", std::to_string(c.FilesizeSelected)},
      {"ListCount", std::to_string(rows)},
      {"SearchMethod", std::to_string(info.searchMethod)},
      {"SearchCriteria", info.searchCriteria},
      {"SearchCriteriaDesc", info.searchCriteriaDesc},
      {"Tag", "0"},
      {"ContextCount", std::to_string(info.sources.size())},
  };
  for (std::size_t i = 0; i < info.sources.size(); ++i) {
    keys.emplace_back(Key("Context", i), info.sources[i].path);
    keys.emplace_back(Key("ContextA", i), info.sources[i].includeSubfolders ? "1" : "0");
    keys.emplace_back(Key("ContextS", i), info.sources[i].fileProtection ? "1" : "0");
  }
  keys.emplace_back("ContextQserials", serials);
  keys.emplace_back("v", kVersion);
  for (const auto& [key, value] : keys)
    if (std::string e = platform::IniWrite(path, kSection, key, value); !e.empty()) return e;
  return batch.Commit();
}

SavedResultInfo ReadInfo(const std::string& path) {
  SavedResultInfo info;
  info.unicode = platform::IniRead(path, kSection, "Unicode", "-1") == "1";
  info.searchMethod = static_cast<int>(std::clamp<std::int64_t>(ReadInt(path, "SearchMethod"), 0, 5));
  info.searchCriteria = platform::IniRead(path, kSection, "SearchCriteria", "");
  info.searchCriteriaDesc = platform::IniRead(path, kSection, "SearchCriteriaDesc", "");
  const std::int64_t count = std::clamp<std::int64_t>(ReadInt(path, "ContextCount"), 0, 100000);
  const std::vector<std::string> serials = platform::Split(platform::IniRead(path, kSection, "ContextQserials", ""), ',');
  for (std::int64_t i = 0; i < count; ++i) {
    SavedResultInfo::Source s;
    const auto n = static_cast<std::size_t>(i);
    s.path = platform::IniRead(path, kSection, Key("Context", n), "");
    s.includeSubfolders = platform::IniRead(path, kSection, Key("ContextA", n), "1") != "0";
    s.fileProtection = platform::IniRead(path, kSection, Key("ContextS", n), "0") == "1";
    long long v = 0;
    if (n < serials.size() && platform::ParseLong(serials[n], v)) s.volume = static_cast<std::uint64_t>(v);
    info.sources.push_back(std::move(s));
  }
  return info;
}

// The counters the ".ini4a" states must be the rows' own: a mismatch means the files do not
// belong together.
bool CountersAgree(const std::string& path, const ResultCounters& c) {
  return ReadInt(path, "DupCount") == c.DupCount && ReadInt(path, "DupCountSelected") == c.DupCountSelected &&
         ReadInt(path, "FilesizeAll") == static_cast<std::int64_t>(c.FilesizeAll) &&
         ReadInt(path, "FilesizeSelected") == static_cast<std::int64_t>(c.FilesizeSelected);
}

bool Exists(const std::string& path) { return platform::PathExists(path); }

}  // namespace

SavedResultFiles SavedResultPaths(const std::string& dataFolder, const std::string& name) {
  const std::string base = platform::JoinPath(dataFolder, name);
  return {base + std::string(kRowsExt), base + ".ini4a", base + ".txt"};
}

std::string ResultNameError(const std::string& name) {
  if (platform::Trim(name).empty()) return z_Translate(14202, "Bitte geben Sie einen Namen für das Suchergebnis ein.");
  if (!platform::IsPlainFileName(name, kMaxNameBytes))
    return z_Translate(14203,
                       "Der Name '%1' kann nicht als Name eines Suchergebnisses verwendet werden. Er darf kein '/' "
                       "enthalten, nicht '.' oder '..' lauten und höchstens %2 Bytes lang sein.",
                       {platform::DisplayText(name), std::to_string(kMaxNameBytes)});
  return "";
}

std::string NextAutoSaveName(const std::string& dataFolder) {
  for (int n = 1; n < 1000; ++n) {
    char name[16];
    std::snprintf(name, sizeof name, "AutoSave%03d", n);
    if (!Exists(SavedResultPaths(dataFolder, name).rows)) return name;
  }
  return "";
}

SaveResultOutcome Report_Save(const ResultTree& tree, const SaveResultRequest& request, Prompt& prompt) {
  SaveResultOutcome out;
  out.name = request.autoSave ? NextAutoSaveName(request.dataFolder) : request.name;
  if (out.name.empty()) {
    out.error = z_Translate(14204, "Es ist keine freie AutoSave-Nummer mehr vorhanden.");
    return out;
  }
  if (std::string e = ResultNameError(out.name); !e.empty()) {
    out.error = e;
    return out;
  }
  const SavedResultFiles files = SavedResultPaths(request.dataFolder, out.name);
  if (!request.autoSave && Exists(files.rows)) {
    PromptMessage q = PromptMessage::Make(
        TextRef{14205, "Ein Suchergebnis mit dem Dateinamen '%1' ist schon vorhanden! Überschreiben?"}, {out.name},
        PromptButtons::YesNo, PromptIcon::Question);
    if (prompt.Ask(q) != PromptAnswer::Yes) return out;
  }
  if (request.status) request.status(z_Translate(14206, "Bitte warten, das Suchergebnis wird gespeichert..."));
  if (std::string e = platform::CreateFolderTree(request.dataFolder); !e.empty()) {
    out.error = e;
    return out;
  }
  ResultRowsHeader header = request.rowsHeader;
  header.captionType = tree.captionType;
  header.lastGroupId = tree.counters.GroupID;
  if (std::string e = platform::WriteFileAtomic(files.rows, EncodeResultRows(tree, header)); !e.empty()) {
    out.error = e;
    return out;
  }
  if (std::string e = WriteInfo(files.info, tree, request.info); !e.empty()) {
    out.error = e;
    return out;
  }
  ::unlink(files.log.c_str());
  if (!request.searchLog.empty() && Exists(request.searchLog)) {
    if (std::string e = platform::CopyFileChecked(request.searchLog, files.log, false); !e.empty()) {
      out.error = e;
      return out;
    }
  }
  out.saved = true;
  return out;
}

LoadedResult Report_Laden(const std::string& dataFolder, const std::string& name, const ResultDisplay& display) {
  LoadedResult out;
  if (std::string e = ResultNameError(name); !e.empty()) {
    out.error = LoadError(e);
    return out;
  }
  const SavedResultFiles files = SavedResultPaths(dataFolder, name);
  for (const std::string& path : {files.rows, files.info})
    if (!Exists(path)) {
      out.error = LoadError("File '" + path + "' not exist");
      return out;
    }
  if (platform::IniRead(files.info, kSection, "v", "0") != kVersion) {
    out.error = LoadError("File is not compatible");
    return out;
  }
  std::string bytes, readError;
  if (!platform::ReadWholeFile(files.rows, bytes, &readError)) {
    out.error = LoadError(readError);
    return out;
  }
  out.tree.display = display;
  const RowsError rows = DecodeResultRows(bytes, out.tree, out.rowsHeader);
  if (rows == RowsError::None && !CountersAgree(files.info, out.tree.counters)) {
    out.tree.Clear();
    out.error = LoadError("File '" + files.info + "' does not belong to '" + files.rows + "'");
    return out;
  }
  if (rows == RowsError::Foreign || rows == RowsError::NewerVersion) out.error = LoadError("File is not compatible");
  if (rows == RowsError::Damaged) out.error = LoadError("File '" + files.rows + "' is damaged");
  if (!out.ok()) return out;
  out.info = ReadInfo(files.info);
  return out;
}

std::vector<SavedResultEntry> Init_SearchResults(const std::string& dataFolder) {
  std::vector<SavedResultEntry> rows;
  platform::ListFolder(dataFolder, [&](const platform::FileInfo& f) {
    if (!f.isRegular || f.isSymlink || !platform::EndsWith(f.name, kRowsExt)) return true;
    SavedResultEntry e;
    e.name = f.name.substr(0, f.name.size() - kRowsExt.size());
    const SavedResultFiles files = SavedResultPaths(dataFolder, e.name);
    e.dupCount = ReadInt(files.info, "DupCount");
    e.comment = platform::IniRead(files.info, kSection, "SearchCriteriaDesc", "");
    e.created = f.modified;
    e.bytes = f.size;
    for (const std::string& other : {files.info, files.log}) {
      platform::FileInfo info;
      if (platform::GetFileInfo(other, info).empty()) e.bytes += info.size;
    }
    e.hasLog = Exists(files.log);
    rows.push_back(std::move(e));
    return true;
  });
  std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  return rows;
}

std::string Searchresult_Rename(const std::string& dataFolder, const std::string& name, const std::string& newName) {
  if (std::string e = ResultNameError(newName); !e.empty()) return e;
  const SavedResultFiles from = SavedResultPaths(dataFolder, name), to = SavedResultPaths(dataFolder, newName);
  if (!Exists(from.rows)) return "File '" + from.rows + "' not exist";
  if (Exists(to.rows) || Exists(to.info) || Exists(to.log))
    return z_Translate(14207, "Ein Suchergebnis mit dem Namen '%1' ist schon vorhanden.", {newName});
  // Each rename refuses to replace, so a result that appears meanwhile is never overwritten.
  const std::pair<const std::string*, const std::string*> moves[] = {
      {&from.rows, &to.rows}, {&from.info, &to.info}, {&from.log, &to.log}};
  for (std::size_t i = 0; i < 3; ++i) {
    if (!Exists(*moves[i].first)) continue;
    if (std::string e = platform::RenameNoReplace(*moves[i].first, *moves[i].second); !e.empty()) {
      for (std::size_t j = 0; j < i; ++j)
        if (Exists(*moves[j].second)) (void)platform::RenameNoReplace(*moves[j].second, *moves[j].first);
      return e;
    }
  }
  return "";
}

bool Searchresult_Delete(const std::string& dataFolder, const std::string& name, Prompt& prompt, std::string* error) {
  const SavedResultFiles files = SavedResultPaths(dataFolder, name);
  if (!Exists(files.rows)) {
    if (error) *error = "File '" + files.rows + "' not exist";
    return false;
  }
  if (prompt.Ask(PromptMessage::Make(TextRef{14208, "Suchergebnis '%1' löschen?"}, {name}, PromptButtons::YesNo,
                                     PromptIcon::Question)) != PromptAnswer::Yes)
    return false;
  for (const std::string& path : {files.rows, files.info}) {
    if (::unlink(path.c_str()) != 0 && Exists(path)) {
      if (error) *error = "unlink: " + path;
      return false;
    }
  }
  return true;
}

std::string Searchresult_Save_Comment(const std::string& dataFolder, const std::string& name, const std::string& comment) {
  const SavedResultFiles files = SavedResultPaths(dataFolder, name);
  if (!Exists(files.info)) return "File '" + files.info + "' not exist";
  return platform::IniWrite(files.info, kSection, "SearchCriteriaDesc", comment);
}

}  // namespace twinex

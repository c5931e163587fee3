#include "cli/cli_report.h"

#include <cstdio>

#include "app/session.h"
#include "platform/file_system.h"
#include "platform/text.h"
#include "results/export.h"
#include "search/search_driver.h"
#include "settings/prompt.h"

namespace twinex::cli {
namespace {

int WhichOf(const std::string& which, int stored) {
  if (which == "all") return kExportAll;
  if (which == "selected") return kExportSelected;
  if (which == "unselected") return kExportUnselected;
  return stored;
}

void ApplyDelimiter(const std::string& d, ExportRequest& r) {
  static const struct {
    const char* name;
    int separator;
  } kNamed[] = {{"comma", kSeparatorComma}, {"semicolon", kSeparatorSemicolon}, {"tab", kSeparatorTab}, {"space", kSeparatorBlank}};
  if (d.empty()) return;
  for (const auto& n : kNamed) {
    if (d == n.name) {
      r.separator = n.separator;
      return;
    }
  }
  r.separator = kSeparatorCustom;
  r.customSeparator = d;
}

int FormatOf(const std::string& file) {
  if (platform::EndsWith(file, ".csv")) return kExportCsv;
  if (platform::EndsWith(file, ".xlsx")) return kExportXlsx;
  return kExportTxt;
}

}  // namespace

int WriteSearchResult(Session& session, const CliOptions& o) {
  if (!session.search()) return 0;
  const Search& search = *session.search();
  const std::string& settingsFile = session.settingsFile();
  ExportSettings stored = LoadExportSettings(settingsFile);
  ExportRequest r = MakeExportRequest(stored, LoadExportColumns(settingsFile), o.exportFile.empty() ? "" : platform::AbsolutePath(o.exportFile));
  r.which = WhichOf(o.which, o.which.empty() ? kExportAll : r.which);
  r.fileListOnly = o.fileList;
  ApplyDelimiter(o.delimiter, r);
  r.searchDescription = session.resultDescription();
  r.descriptionLines = session.resultDescriptionLines();

  if (o.exportFile.empty()) {
    auto toStdout = [](const std::string& line) { std::printf("%s\n", line.c_str()); };
    if (o.fileList)
      WriteFileList(search.result, r, toStdout);
    else
      WriteTextReport(search.result, r, toStdout);
    std::fflush(stdout);
    return 0;
  }
  r.format = FormatOf(o.exportFile);
  ExportOutcome out = session.Export(std::move(r));
  if (out.status == ExportStatus::Failed) {
    std::fprintf(stderr, "twinex-cli: export failed: %s\n", out.error.c_str());
    return 1;
  }
  if (out.status == ExportStatus::Written)
    std::fprintf(stderr, "twinex-cli: %lld files written to %s\n", static_cast<long long>(out.files),
                 platform::AbsolutePath(o.exportFile).c_str());
  return 0;
}

}  // namespace twinex::cli

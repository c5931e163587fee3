// The text report and the file list. Both are line sinks, so the file writer and the command
// line's standard output share one code path.
#include <string>

#include "platform/date_time.h"
#include "platform/text.h"
#include "results/export.h"
#include "results/export_table.h"

namespace twinex {
namespace {

using exporting::ExportCell;

// A file name on Linux may hold line breaks; in a line-based file it would split the entry,
// and a file list could then name a path that was never found. They show as U+FFFD instead.
std::string OneLine(std::string text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      text.replace(i, 1, "\xEF\xBF\xBD");
      i += 2;
    }
  }
  return text;
}

std::string LeftTrim(const std::string& s) {
  const std::size_t start = s.find_first_not_of(" \t");
  return start == std::string::npos ? "" : s.substr(start);
}

std::string JoinTab(const std::vector<std::string>& parts) {
  std::string out;
  for (const std::string& p : parts) {
    if (!out.empty()) out += '\t';
    out += p;
  }
  return out;
}

}  // namespace

bool WriteTextReport(const ResultTree& tree, const ExportRequest& request,
                     const std::function<void(const std::string& line)>& writeLine) {
  const std::string rule(80, '-');
  writeLine(z_Translate(15004, "Suchergebnis") + " '" + OneLine(request.searchDescription) + "'");
  for (const std::string& line : request.descriptionLines) writeLine(LeftTrim(OneLine(line)));
  writeLine(z_Translate(15005, "Speichertyp: %1", {ExportWhichCaption(request.which)}));
  writeLine(z_Translate(15006, "Datum: %1", {platform::FormatGeneralDate(platform::Now())}));
  writeLine(rule);

  writeLine(z_Translate(15007, "Gruppenspalten:"));
  writeLine(JoinTab(exporting::GroupColumnHeaders(tree, request.columns)));
  writeLine(z_Translate(15008, "Dateispalten:"));
  const std::vector<const exporting::FileColumn*> columns = exporting::VisibleFileColumns(request.columns);
  std::vector<std::string> fileHeaders{z_Translate(15009, "Datei")};
  for (const exporting::FileColumn* c : columns) fileHeaders.push_back(exporting::FileColumnHeader(tree, *c));
  writeLine(JoinTab(fileHeaders));
  writeLine(rule);

  std::string line;
  return exporting::WalkExported(
      tree, request,
      [&](const ResultGroup& group, int) {
        // An empty line before each group keeps the groups apart when read.
        writeLine("");
        const std::vector<ExportCell> cells = exporting::GroupCells(tree, group, request.columns);
        line.clear();
        for (const ExportCell& c : cells) {
          if (&c != &cells.front()) line += '\t';
          line += OneLine(c.text);
        }
        writeLine(line);
      },
      [&](const ResultGroup&, const ResultFile& file) {
        line.clear();
        if (request.which == kExportAll) line = file.selected ? "[x]\t" : "[ ]\t";
        line += OneLine(file.dupname);
        for (const exporting::FileColumn* c : columns) {
          line += '\t';
          line += OneLine(exporting::FileCell(tree, file, *c).text);
        }
        writeLine(line);
      });
}

bool WriteFileList(const ResultTree& tree, const ExportRequest& request,
                   const std::function<void(const std::string& line)>& writeLine) {
  return exporting::WalkExported(tree, request, nullptr,
                                 [&](const ResultGroup&, const ResultFile& file) { writeLine(OneLine(file.FullPath())); });
}

}  // namespace twinex

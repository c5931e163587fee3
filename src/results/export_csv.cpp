#include "results/export_table.h"
#include "results/export_writers.h"

namespace twinex::exporting {

std::string CsvLine(const std::vector<ExportCell>& row, std::string_view separator) {
  std::string line;
  for (std::size_t i = 0; i < row.size(); ++i) {
    if (i > 0) line += separator;
    line += '"';
    // A quote inside a field is doubled, so the field cannot end early when read back.
    for (char c : row[i].text) {
      if (c == '"') line += '"';
      line += c;
    }
    line += '"';
  }
  return line;
}

bool WriteCsv(const ResultTree& tree, const ExportRequest& request,
              const std::function<void(const std::string& line)>& writeLine) {
  const std::string separator = ExportSeparatorText(request.separator, request.customSeparator);
  writeLine(CsvLine(TableHeader(tree, request), separator));
  return ForEachTableRow(tree, request,
                         [&](const std::vector<ExportCell>& row) { writeLine(CsvLine(row, separator)); });
}

}  // namespace twinex::exporting

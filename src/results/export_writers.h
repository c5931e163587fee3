#pragma once
// The two writers of the export table: CSV lines and the XLSX workbook.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "results/export.h"
#include "results/export_columns.h"

namespace twinex::exporting {

// Every field in double quotes (a quote inside doubled), separated by the separator as given.
std::string CsvLine(const std::vector<ExportCell>& row, std::string_view separator);
// False when cancelled.
bool WriteCsv(const ResultTree& tree, const ExportRequest& request,
              const std::function<void(const std::string& line)>& writeLine);

// The most file rows one worksheet holds below its header row.
inline constexpr std::int64_t kMaxSheetFiles = 1048575;

// Writes a new workbook with the sheet "Twinex" to path. Returns an error text ("" on success);
// sets cancelled (and writes nothing) when the request was cancelled.
std::string WriteXlsx(const ResultTree& tree, const ExportRequest& request, const std::string& path,
                      bool& cancelled);

}  // namespace twinex::exporting

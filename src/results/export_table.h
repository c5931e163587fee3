#pragma once
// Which file rows an export writes, in which order, and the table that the CSV file and the
// workbook both hold: header row, then one row per exported file.
#include <functional>
#include <vector>

#include "results/export.h"
#include "results/export_columns.h"

namespace twinex::exporting {

bool IsExported(const ResultFile& file, int which);

// Walks the exported files in display order, group by group; onGroup is called before the
// first exported file of a group (groups without one are skipped) with the running number of
// the exported groups. Polls the cancel request and reports progress; false when cancelled.
bool WalkExported(const ResultTree& tree, const ExportRequest& request,
                  const std::function<void(const ResultGroup& group, int groupNo)>& onGroup,
                  const std::function<void(const ResultGroup& group, const ResultFile& file)>& onFile);

std::vector<ExportCell> TableHeader(const ResultTree& tree, const ExportRequest& request);
// False when cancelled.
bool ForEachTableRow(const ResultTree& tree, const ExportRequest& request,
                     const std::function<void(const std::vector<ExportCell>& row)>& onRow);

}  // namespace twinex::exporting

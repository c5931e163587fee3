#include "results/export_table.h"

#include <string>

namespace twinex::exporting {

bool IsExported(const ResultFile& file, int which) {
  switch (which) {
    case kExportSelected: return file.selected;
    case kExportUnselected: return !file.selected;
    default: return true;
  }
}

bool WalkExported(const ResultTree& tree, const ExportRequest& request,
                  const std::function<void(const ResultGroup& group, int groupNo)>& onGroup,
                  const std::function<void(const ResultGroup& group, const ResultFile& file)>& onFile) {
  std::size_t total = 0;
  for (const ResultGroup& g : tree.groups) total += g.files.size();
  std::size_t done = 0;
  int lastPercent = -1;
  int groupNo = 0;
  for (const ResultGroup& group : tree.groups) {
    bool groupStarted = false;
    for (const ResultFile& file : group.files) {
      if (request.cancelled && request.cancelled()) return false;
      ++done;
      if (request.progress) {
        const int percent = static_cast<int>(done * 100 / total);
        if (percent != lastPercent) request.progress(lastPercent = percent);
      }
      if (!IsExported(file, request.which)) continue;
      if (!groupStarted) {
        groupStarted = true;
        if (onGroup) onGroup(group, ++groupNo);
      }
      if (onFile) onFile(group, file);
    }
  }
  return true;
}

std::vector<ExportCell> TableHeader(const ResultTree& tree, const ExportRequest& request) {
  std::vector<ExportCell> header;
  const auto add = [&](std::string text) { header.push_back(ExportCell::Text(std::move(text))); };
  add(z_Translate(15010, "Gruppen-Nr."));
  const std::vector<std::string> groupHeaders = GroupColumnHeaders(tree, request.columns);
  add(z_Translate(15011, "Gruppe"));
  for (std::size_t i = 1; i < groupHeaders.size(); ++i) add(z_Translate(15012, "Gruppe - %1", {groupHeaders[i]}));
  if (request.which == kExportAll) add(z_Translate(15013, "Selektiert"));
  add(z_Translate(15009, "Datei"));
  for (const FileColumn* c : VisibleFileColumns(request.columns)) add(FileColumnHeader(tree, *c));
  return header;
}

bool ForEachTableRow(const ResultTree& tree, const ExportRequest& request,
                     const std::function<void(const std::vector<ExportCell>& row)>& onRow) {
  const std::vector<const FileColumn*> columns = VisibleFileColumns(request.columns);
  // The group's cells are built once and copied in front of each of its files.
  std::vector<ExportCell> groupPart;
  std::vector<ExportCell> row;
  return WalkExported(
      tree, request,
      [&](const ResultGroup& group, int groupNo) {
        groupPart.clear();
        groupPart.push_back(ExportCell::Whole(groupNo));
        for (ExportCell& c : GroupCells(tree, group, request.columns)) groupPart.push_back(std::move(c));
      },
      [&](const ResultGroup&, const ResultFile& file) {
        row = groupPart;
        if (request.which == kExportAll) row.push_back(ExportCell::Whole(file.selected ? 1 : 0));
        row.push_back(ExportCell::Text(file.dupname));
        for (const FileColumn* c : columns) row.push_back(FileCell(tree, file, *c));
        onRow(row);
      });
}

}  // namespace twinex::exporting

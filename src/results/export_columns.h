#pragma once
// The columns of an export and their cells. Every format writes the same columns, so the
// column set is one table and a cell carries both its shown text and, where the column is
// numeric, the number behind it (the workbook stores numbers, the text files the text).
#include <span>
#include <string>
#include <vector>

#include "results/export.h"
#include "settings/translate.h"

namespace twinex::exporting {

enum class CellKind { Text, Number };

struct ExportCell {
  std::string text;
  CellKind kind = CellKind::Text;
  double number = 0;
  std::string numberFormat;  // spreadsheet number format (dates are numbers with a date format)

  static ExportCell Text(std::string text) {
    ExportCell cell;
    cell.text = std::move(text);
    return cell;
  }
  // A plain whole number (group number, selection flag), without grouping.
  static ExportCell Whole(long long value) {
    ExportCell cell;
    cell.text = std::to_string(value);
    cell.kind = CellKind::Number;
    cell.number = static_cast<double>(value);
    cell.numberFormat = "0";
    return cell;
  }
};

enum class ColumnKind {
  Text,     // the named value's text
  Date,     // a date value shown in the date display format
  Size,     // bytes shown in the chosen size unit
  Count,    // whole number; zero shows empty or "-"
  Percent,  // whole percent; zero shows empty
};

struct FileColumn {
  bool ExportColumns::*visible;
  const char* settingKey;  // visibility setting in section "Optionen"
  TextRef header;
  const char* key;         // named value of the file row
  ColumnKind kind;
};

std::span<const FileColumn> FileColumnTable();
std::vector<const FileColumn*> VisibleFileColumns(const ExportColumns& columns);

std::string FileColumnHeader(const ResultTree& tree, const FileColumn& column);
ExportCell FileCell(const ResultTree& tree, const ResultFile& file, const FileColumn& column);

// Group columns: the caption, "Duplikate" and, when the size column is shown, the group size.
// The first header is the grid's ("Gruppe - <criterion>").
std::vector<std::string> GroupColumnHeaders(const ResultTree& tree, const ExportColumns& columns);
std::vector<ExportCell> GroupCells(const ResultTree& tree, const ResultGroup& group, const ExportColumns& columns);

}  // namespace twinex::exporting

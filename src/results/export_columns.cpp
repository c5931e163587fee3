#include "results/export_columns.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace twinex::exporting {
namespace {

constexpr std::array<FileColumn, 15> kFileColumns{{
    {&ExportColumns::filePath, "ColumnFilePath", TextRef{15020, "Dateipfad"}, "path", ColumnKind::Text},
    {&ExportColumns::zipPath, "ColumnZipPath", TextRef{15021, "Archivpfad"}, "pathA", ColumnKind::Text},
    {&ExportColumns::size, "ColumnSize", TextRef{15015, "Größe (Bytes)"}, "size", ColumnKind::Size},
    {&ExportColumns::dateM, "ColumnDateM", TextRef{15022, "Änderungsdatum"}, "dateVal", ColumnKind::Date},
    {&ExportColumns::dateC, "ColumnDateC", TextRef{15023, "Erstellungsdatum"}, "dateEval", ColumnKind::Date},
    {&ExportColumns::attr, "ColumnAttr", TextRef{15024, "Attribute"}, "attr2", ColumnKind::Text},
    {&ExportColumns::owner, "ColumnOwner", TextRef{15025, "Besitzer"}, "owner", ColumnKind::Text},
    {&ExportColumns::hardlinks, "ColumnHardlinks", TextRef{15026, "Hardlinks"}, "hardlinks", ColumnKind::Count},
    {&ExportColumns::hardlinkID, "ColumnHardlinkID", TextRef{15027, "Hardlink ID"}, "hardlinkID", ColumnKind::Text},
    {&ExportColumns::similar, "ColumnSimilar", TextRef{15028, "Übereinstimmung"}, "similar", ColumnKind::Percent},
    {&ExportColumns::picWidth, "ColumnPicWidth", TextRef{15029, "Breite"}, "picW", ColumnKind::Count},
    {&ExportColumns::picHeight, "ColumnPicHeight", TextRef{15030, "Höhe"}, "picH", ColumnKind::Count},
    {&ExportColumns::audioDuration, "ColumnAudioDuration", TextRef{15031, "Dauer"}, "AudioDuration", ColumnKind::Text},
    {&ExportColumns::audioBitRate, "ColumnAudioBitRate", TextRef{15032, "Bitrate"}, "AudioBitRate", ColumnKind::Count},
    {&ExportColumns::audioSamplingRate, "ColumnAudioSamplingRate", TextRef{15033, "Samplingrate"}, "AudioSamplingRate",
     ColumnKind::Count},
}};

constexpr const char* kCountFormat = "#,##0";
constexpr const char* kDecimalFormat = "#,##0.00";

// Divisor of a fixed size unit ("FormatSize"); 0 for the automatic format, whose texts carry
// their own unit and so stay text in the workbook.
double UnitDivisor(int formatSize) {
  switch (formatSize) {
    case 0: return 1.0;
    case 1: return 1024.0;
    case 2: return 1048576.0;
    case 3: return 1073741824.0;
    case 5: return 1099511627776.0;
    default: return 0.0;
  }
}

bool AtNoCase(const std::string& s, std::size_t i, std::string_view word) {
  if (s.size() - i < word.size()) return false;
  for (std::size_t k = 0; k < word.size(); ++k)
    if (std::tolower(static_cast<unsigned char>(s[i + k])) != word[k]) return false;
  return true;
}

// The date display format as a spreadsheet reads it: minutes are "n" in the display format but
// "m" next to hours in the sheet; characters that the sheet would read as codes are escaped,
// since the display format shows every other character as it stands.
std::string SheetDateFormat(const std::string& displayFormat) {
  const std::string format = displayFormat.empty() ? std::string(kDefaultDateDisplayFormat) : displayFormat;
  std::string out;
  for (std::size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    const char lc = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (AtNoCase(format, i, "am/pm")) {
      out += "AM/PM";
      i += 4;
    } else if (c == '"') {
      const std::size_t end = std::min(format.find('"', i + 1), format.size());
      out += '"';
      out.append(format, i + 1, end - i - 1);
      out += '"';
      i = end;
    } else if (std::string_view("dmyhs").find(lc) != std::string_view::npos) {
      out += lc;
    } else if (lc == 'n') {
      out += 'm';
    } else if (std::string_view(" .,:/-").find(c) != std::string_view::npos) {
      out += c;
    } else {
      out += '\\';
      out += c;
    }
  }
  return out;
}

double NumberOf(const NamedValue& v) {
  if (const auto* i = std::get_if<std::int64_t>(&v.value)) return static_cast<double>(*i);
  if (const auto* d = std::get_if<double>(&v.value)) return *d;
  return 0;
}

// The cell shows what the grid shows; the workbook gets the number behind it where there is one.
ExportCell CellOf(const NamedValue& v, ColumnKind kind, const ResultDisplay& display,
                  const std::string& dateFormat) {
  ExportCell cell;
  cell.text = v.text;
  if (cell.text.empty())
    if (const auto* s = std::get_if<std::string>(&v.value)) cell.text = *s;
  const double number = NumberOf(v);
  switch (kind) {
    case ColumnKind::Text:
      break;
    case ColumnKind::Date:
      cell.kind = CellKind::Number;
      cell.number = number;
      cell.numberFormat = SheetDateFormat(dateFormat);
      break;
    case ColumnKind::Size:
      if (const double divisor = UnitDivisor(display.formatSize); divisor != 0) {
        cell.kind = CellKind::Number;
        cell.number = number / divisor;
        cell.numberFormat = display.formatSize != 0 && display.formatSizeDecimal == 1 ? kDecimalFormat : kCountFormat;
      }
      break;
    case ColumnKind::Count:
    case ColumnKind::Percent:
      // Zero shows empty or "-" in the grid; that text is kept rather than a 0.
      if (number != 0) {
        cell.kind = CellKind::Number;
        cell.number = number;
        cell.numberFormat = kind == ColumnKind::Percent ? "0\"%\"" : kCountFormat;
      }
      break;
  }
  return cell;
}

}  // namespace

std::span<const FileColumn> FileColumnTable() { return kFileColumns; }

std::vector<const FileColumn*> VisibleFileColumns(const ExportColumns& columns) {
  std::vector<const FileColumn*> out;
  for (const FileColumn& c : kFileColumns)
    if (columns.*c.visible) out.push_back(&c);
  return out;
}

std::string FileColumnHeader(const ResultTree& tree, const FileColumn& column) {
  if (column.kind == ColumnKind::Size) return SizeColumnHeader(tree.display.formatSize);
  return z_Translate(column.header);
}

ExportCell FileCell(const ResultTree& tree, const ResultFile& file, const FileColumn& column) {
  return CellOf(tree.FileValue(file, column.key), column.kind, tree.display, tree.display.dateFormat);
}

std::vector<std::string> GroupColumnHeaders(const ResultTree& tree, const ExportColumns& columns) {
  std::vector<std::string> headers{GroupColumnHeader(tree.captionType, tree.display.formatSize),
                                   z_Translate(15014, "Duplikate")};
  if (columns.size) headers.push_back(SizeColumnHeader(tree.display.formatSize));
  return headers;
}

std::vector<ExportCell> GroupCells(const ResultTree& tree, const ResultGroup& group, const ExportColumns& columns) {
  const ResultDisplay& d = tree.display;
  ColumnKind captionKind = ColumnKind::Text;
  if (!group.textCaption && tree.captionType == kCaptionSize) captionKind = ColumnKind::Size;
  if (!group.textCaption && (tree.captionType == kCaptionModified || tree.captionType == kCaptionCreated))
    captionKind = ColumnKind::Date;
  std::vector<ExportCell> cells{
      CellOf(tree.GroupValue(group, "dupname"), captionKind, d, CaptionDateFormat(d.dateFormat, d.ignoreTime, d.ignoreSeconds)),
      CellOf(tree.GroupValue(group, "anz"), ColumnKind::Count, d, d.dateFormat)};
  if (columns.size) cells.push_back(CellOf(tree.GroupValue(group, "size"), ColumnKind::Size, d, d.dateFormat));
  return cells;
}

}  // namespace twinex::exporting

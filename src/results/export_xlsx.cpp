// The export table as a workbook. A new workbook is written each time: the target is replaced
// as a whole, so there is never an earlier sheet "Twinex" that the new one would have to avoid.
#include <xlsxwriter.h>

#include <cstdio>
#include <map>
#include <string>

#include "platform/file_system.h"
#include "platform/shared_library.h"
#include "platform/text.h"
#include "results/export_table.h"
#include "results/export_writers.h"

namespace twinex::exporting {
namespace {

#define TWINEX_XLSXWRITER_FUNCTIONS(X)                                                                         \
  X(workbook_new_opt) X(workbook_add_worksheet) X(workbook_add_format) X(workbook_close) X(lxw_workbook_free) \
  X(lxw_strerror) X(format_set_bold) X(format_set_num_format) X(worksheet_freeze_panes)                       \
  X(worksheet_write_string) X(worksheet_write_number)

struct XlsxWriterLibrary {
  TWINEX_XLSXWRITER_FUNCTIONS(TWINEX_LIBRARY_MEMBER)
};

// Set inside the guarded initialisation of the first spreadsheet export; nothing below runs
// without it.
const XlsxWriterLibrary* xw = nullptr;

bool LoadXlsxWriter() {
  static const XlsxWriterLibrary* lib = xw =
      TWINEX_LOAD_LIBRARY(XlsxWriterLibrary, TWINEX_XLSXWRITER_SONAME, TWINEX_XLSXWRITER_FUNCTIONS);
  return lib != nullptr;
}

class Sheet {
 public:
  Sheet(lxw_workbook* book, lxw_worksheet* sheet) : book_(book), sheet_(sheet) {
    bold_ = xw->workbook_add_format(book_);
    xw->format_set_bold(bold_);
  }

  lxw_error WriteRow(lxw_row_t row, const std::vector<ExportCell>& cells, bool header) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
      const ExportCell& cell = cells[i];
      const auto col = static_cast<lxw_col_t>(i);
      lxw_error error;
      if (header) error = xw->worksheet_write_string(sheet_, row, col, Utf8(cell.text).c_str(), bold_);
      else if (cell.kind != CellKind::Text) error = xw->worksheet_write_number(sheet_, row, col, cell.number, Format(cell.numberFormat));
      else if (cell.text.empty()) continue;
      else error = xw->worksheet_write_string(sheet_, row, col, Utf8(cell.text).c_str(), nullptr);
      if (error != LXW_NO_ERROR) return error;
    }
    return LXW_NO_ERROR;
  }

 private:
  // The workbook is XML: a name whose bytes are not UTF-8 would make the whole file unreadable.
  static std::string Utf8(const std::string& text) {
    return platform::IsValidUtf8(text) ? text : platform::DisplayText(text);
  }

  lxw_format* Format(const std::string& numberFormat) {
    auto it = formats_.find(numberFormat);
    if (it != formats_.end()) return it->second;
    lxw_format* format = xw->workbook_add_format(book_);
    xw->format_set_num_format(format, numberFormat.c_str());
    formats_.emplace(numberFormat, format);
    return format;
  }

  lxw_workbook* book_;
  lxw_worksheet* sheet_;
  lxw_format* bold_;
  std::map<std::string, lxw_format*> formats_;
};

}  // namespace

std::string WriteXlsx(const ResultTree& tree, const ExportRequest& request, const std::string& path,
                      bool& cancelled) {
  cancelled = false;
  if (!LoadXlsxWriter()) return platform::LibraryError(TWINEX_XLSXWRITER_SONAME);
  // Rows go to a temporary file as they are written (constant memory), kept beside the export
  // rather than in a temp folder that may live in memory.
  std::string tmpdir = platform::ParentFolder(platform::AbsolutePath(path));
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  options.tmpdir = tmpdir.data();
  lxw_workbook* book = xw->workbook_new_opt(path.c_str(), &options);
  if (!book) return "workbook_new: " + path;
  lxw_worksheet* worksheet = xw->workbook_add_worksheet(book, "Twinex");
  if (!worksheet) {
    xw->lxw_workbook_free(book);
    return "workbook_add_worksheet: Twinex";
  }
  Sheet sheet(book, worksheet);
  xw->worksheet_freeze_panes(worksheet, 1, 0);

  lxw_error error = sheet.WriteRow(0, TableHeader(tree, request), true);
  lxw_row_t row = 0;
  const bool complete = ForEachTableRow(tree, request, [&](const std::vector<ExportCell>& cells) {
    if (error == LXW_NO_ERROR) error = sheet.WriteRow(++row, cells, false);
  });
  if (!complete || error != LXW_NO_ERROR) {
    // Nothing is written: the workbook is dropped unsaved. Freeing it leaves the row spool of
    // constant-memory mode open, so it is closed here.
    if (worksheet->optimize_tmpfile) {
      std::fclose(worksheet->optimize_tmpfile);
      worksheet->optimize_tmpfile = nullptr;
    }
    xw->lxw_workbook_free(book);
    cancelled = !complete;
    return complete ? std::string("worksheet_write: ") + xw->lxw_strerror(error) : "";
  }
  error = xw->workbook_close(book);
  if (error != LXW_NO_ERROR) return std::string("workbook_close: ") + xw->lxw_strerror(error);
  return "";
}

}  // namespace twinex::exporting

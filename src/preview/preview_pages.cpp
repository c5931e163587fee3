#include "preview/preview_pages.h"

#include <initializer_list>
#include <utility>

#include "platform/number_format.h"
#include "preview/html_text.h"
#include "settings/translate.h"

namespace twinex::preview {
namespace {

using Row = std::pair<std::string, std::string>;

std::string Head(const PageColours& c) {
  return "<html><head><meta charset=\"utf-8\"></head><body style=\"color:" + HtmlEscape(c.text) +
         ";background-color:" + HtmlEscape(c.back) + "\">";
}

std::string Table(const std::vector<Row>& rows) {
  std::string out = "<table cellspacing=\"2\" cellpadding=\"2\">";
  for (const auto& [label, value] : rows)
    out += "<tr><td><b>" + HtmlEscape(label) + "</b></td><td>" + HtmlEscape(value) + "</td></tr>";
  return out + "</table>";
}

std::string SizeText(std::uint64_t size) {
  return platform::FormatCount(size) + " Bytes (" + platform::FormatSizeAuto(size) + ")";
}

std::vector<Row> FileRows(const FileFacts& f) {
  std::vector<Row> rows{{z_Translate(22516, "Dateiname"), f.name},
                        {z_Translate(22511, "Größe :"), SizeText(f.size)},
                        {z_Translate(22528, "Pfad"), f.folder}};
  if (!f.archive.empty()) {
    rows.emplace_back(z_Translate(22517, "Archivdatei"), f.archive);
    rows.emplace_back(z_Translate(22528, "Pfad"), f.pathInside);
  }
  return rows;
}

}  // namespace

FileFacts FactsOf(const ResultFile& row) {
  FileFacts f;
  f.name = row.dupname;
  f.size = row.size;
  if (row.archiv != 0) {
    f.archive = row.path;
    const std::size_t slash = row.path.rfind('/');
    f.folder = slash == std::string::npos ? "" : row.path.substr(0, slash);
    f.pathInside = row.PathA();
  } else {
    f.folder = row.path;
  }
  return f;
}

std::string UnknownFormatStatus(const FileFacts& facts) {
  return z_Translate(22502, "Unbekanntes Dateiformat: %1", {facts.name});
}

std::string UnknownFormatPage(const FileFacts& facts, const std::string& error, const PageColours& colours) {
  std::vector<Row> rows = FileRows(facts);
  if (!error.empty()) rows.emplace_back(z_Translate(22518, "Fehlermeldung"), error);
  return Head(colours) + "<h3>" + HtmlEscape(UnknownFormatStatus(facts)) + "</h3>" + Table(rows) + "</body></html>";
}

std::string PropertiesPage(const FileFacts& facts, const MediaReport& report, const PageColours& colours) {
  std::string page = Head(colours) + "<h3>" + HtmlEscape(facts.name) + "</h3>" + Table(FileRows(facts));
  if (!report.opened) {
    page += "<p>" + HtmlEscape(z_Translate(22514, "MediaInfo Error: ") + report.error) + "<br>" +
            HtmlEscape(z_Translate(22515, "Datei: %1", {facts.name})) + "</p>";
  }
  for (const MediaSection& s : report.sections) {
    if (s.values.empty()) continue;
    page += "<h4>" + HtmlEscape(s.name) + "</h4>";
    page += Table(s.values);
  }
  return page + "</body></html>";
}

std::string PicturePage(const FileFacts& facts, const std::string& fileUrl, int width, int height,
                        const PageColours& colours) {
  return Head(colours) + "<p align=\"center\"><img src=\"" + HtmlEscape(fileUrl) + "\" width=\"" +
         std::to_string(width) + "\" height=\"" + std::to_string(height) + "\"></p>" +
         Table({{z_Translate(22510, "Datei :"), facts.name}, {z_Translate(22511, "Größe :"), SizeText(facts.size)}}) +
         "</body></html>";
}

std::string TextHeader(const FileFacts& facts) {
  return z_Translate(22510, "Datei :") + " " + facts.name + "    " + z_Translate(22511, "Größe :") + " " +
         platform::FormatSizeAuto(facts.size);
}

}  // namespace twinex::preview

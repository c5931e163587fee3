#pragma once
// The generated pages of the preview: the information page of a file no viewer takes, the
// properties page with the file's technical data, and the page that shows a picture in the
// browser view. Every text from a file (its name, folder, tag values) is escaped, so it shows as
// text and never turns into markup.
#include <cstdint>
#include <string>

#include "preview/media_report.h"
#include "results/result_tree.h"

namespace twinex::preview {

// What the pages tell about a file.
struct FileFacts {
  std::string name;
  std::string folder;      // for an archive member: the archive's folder
  std::uint64_t size = 0;
  std::string archive;     // the archive's full path, or ""
  std::string pathInside;  // the member's path inside the archive
};
FileFacts FactsOf(const ResultFile& row);

// The theme's colours as "#rrggbb".
struct PageColours {
  std::string text = "#000000";
  std::string back = "#ffffff";
};

// "Unbekanntes Dateiformat: %1" as the status text of such a file.
std::string UnknownFormatStatus(const FileFacts& facts);
// Name, size, path, the archive and the path inside it for a member, and the error when loading
// failed (error "" leaves that row out).
std::string UnknownFormatPage(const FileFacts& facts, const std::string& error, const PageColours& colours);
std::string PropertiesPage(const FileFacts& facts, const MediaReport& report, const PageColours& colours);
// The picture centred, at the size given (the caller fits it into the view), with its name and size.
std::string PicturePage(const FileFacts& facts, const std::string& fileUrl, int width, int height,
                        const PageColours& colours);
// "Datei : <name>    Größe : <size>" above the text view.
std::string TextHeader(const FileFacts& facts);

}  // namespace twinex::preview

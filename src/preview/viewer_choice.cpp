#include "preview/viewer_choice.h"

#include <cctype>
#include <utility>

#include "platform/number_format.h"
#include "settings/translate.h"

namespace twinex::preview {
namespace {

bool InKey(const std::string& key, std::string_view ext) {
  if (ext.empty()) return false;
  std::string needle;
  needle.reserve(ext.size() + 2);
  needle.append("/").append(ext).append("/");
  return key.find(needle) != std::string::npos;
}

std::string KeyOf(const std::vector<ExtensionRow>& rows) {
  std::string key = "/";
  for (const ExtensionRow& r : rows) {
    if (!r.ticked) continue;
    std::string ext = LowerExtension("." + r.ext);
    if (ext.empty()) continue;
    key.append(ext).append("/");
  }
  return key;
}

std::vector<ExtensionRow> Ticked(std::initializer_list<const char*> exts) {
  std::vector<ExtensionRow> rows;
  for (const char* e : exts) rows.push_back({e, true});
  return rows;
}

}  // namespace

std::string LowerExtension(std::string_view fileName) {
  const std::size_t dot = fileName.rfind('.');
  if (dot == std::string_view::npos || fileName.find('/', dot) != std::string_view::npos) return "";
  std::string ext(fileName.substr(dot + 1));
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

Viewer ViewerOfTab(int tabId) {
  switch (tabId) {
    case kTabText: return Viewer::Text;
    case kTabBrowser: return Viewer::Browser;
    case kTabMediaPlayer: return Viewer::MediaPlayer;
    case kTabPicture: return Viewer::Picture;
    case kTabVlc: return Viewer::Vlc;
    case kTabExif: return Viewer::Exif;
    case kTabMediaInfo: return Viewer::MediaInfo;
    default: return Viewer::Unknown;
  }
}

PreviewKeys MakePreviewKeys(const std::array<std::vector<ExtensionRow>, kPreviewListSections.size()>& lists) {
  // Sections: "Dateiansicht", "Browseransicht", "WMPendungen", "VLCendungen", "PICendungen".
  return {KeyOf(lists[0]), KeyOf(lists[1]), KeyOf(lists[3]), KeyOf(lists[2]), KeyOf(lists[4])};
}

std::array<std::vector<ExtensionRow>, kPreviewListSections.size()> DefaultPreviewLists() {
  return {Ticked({"txt", "rtf", "log", "ini", "csv", "md", "json", "c", "cpp", "h", "py", "sh", "bat", "nfo"}),
          Ticked({"htm", "html", "xhtml", "xml"}),
          Ticked({"mp3", "wav", "flac", "ogg", "oga", "opus", "m4a", "aac", "wma", "mp4", "m4v", "mkv", "webm", "avi",
                  "mov", "mpg", "mpeg", "wmv", "ogv"}),
          std::vector<ExtensionRow>{},
          Ticked({"jpg", "jpeg", "jpe", "png", "gif", "bmp", "tif", "tiff", "webp", "heic", "heif", "ico", "psd",
                  "tga", "pcx", "ppm", "pgm", "pbm", "jp2", "j2k", "exr", "hdr", "dds", "cr2", "nef", "dng", "arw",
                  "orf", "rw2", "raf", "pef", "srw"})};
}

Viewer ChooseViewer(const PreviewKeys& keys, std::string_view ext) {
  // An extension in both the browser and the text list opens in the browser view.
  const std::pair<const std::string*, Viewer> order[] = {{&keys.browser, Viewer::Browser},
                                                         {&keys.text, Viewer::Text},
                                                         {&keys.pictures, Viewer::Picture},
                                                         {&keys.mediaPlayer, Viewer::MediaPlayer},
                                                         {&keys.vlc, Viewer::Vlc}};
  for (const auto& [key, viewer] : order)
    if (InKey(*key, ext)) return viewer;
  return Viewer::Unknown;
}

PreviewPlan PlanPreview(const PreviewKeys& keys, std::string_view fileName, std::uint64_t size, int forcedTab) {
  PreviewPlan plan;
  plan.lowerExtension = LowerExtension(fileName);
  plan.viewer = forcedTab != 0 ? ViewerOfTab(forcedTab) : ChooseViewer(keys, plan.lowerExtension);
  if (plan.viewer == Viewer::Text) {
    plan.richText = plan.lowerExtension == "rtf";
    if (size > kTextViewLimit)
      plan.refusal = z_Translate(22508, "Dateien größer als %1 können nicht mit dem Plugin 'WordPad' angezeigt werden.",
                                 {platform::FormatSizeAuto(kTextViewLimit)});
  } else if (plan.viewer == Viewer::Browser) {
    plan.pictureOnPage = InKey("/png/gif/jpg/jpeg/bmp/", plan.lowerExtension);
    if (!plan.pictureOnPage && size > kBrowserTextLimit)
      plan.refusal =
          z_Translate(22509, "Textdateien größer als %1 können nicht mit dem Plugin 'Internet Explorer' angezeigt werden.",
                      {platform::FormatSizeAuto(kBrowserTextLimit)});
  }
  return plan;
}

}  // namespace twinex::preview

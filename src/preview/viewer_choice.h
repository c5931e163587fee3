#pragma once
// Which viewer shows a file: decided by the five extension lists of the settings (text view,
// browser view, pictures, the two media players), by the user's explicit choice of a tab, and
// refused by the size limits that keep the text views responsive.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/program_options.h"

namespace twinex::preview {

enum class Viewer : int {
  Unknown = 0,    // information page for an unknown format
  Text = 1,       // plain or rich text
  Browser = 2,    // browser view (HTML pages, pictures on a generated page)
  Picture = 3,
  MediaPlayer = 4,
  Vlc = 5,
  Exif = 6,       // the picture's metadata
  MediaInfo = 7,  // the file's technical data
};

// Tab ids of an explicit choice (0: none).
inline constexpr int kTabText = 401, kTabBrowser = 402, kTabMediaPlayer = 403, kTabPicture = 404, kTabVlc = 405,
                     kTabExif = 406, kTabMediaInfo = 407;
// The viewer of a tab id; Unknown for an id that names none.
Viewer ViewerOfTab(int tabId);

// Files above these sizes are not loaded into the text view / as text into the browser view.
inline constexpr std::uint64_t kTextViewLimit = 100ull * 1048576;
inline constexpr std::uint64_t kBrowserTextLimit = 14ull * 1048576;

// The lookup texts "/ext1/ext2/" of the checked extensions, lower case, one per list in the
// order of kPreviewListSections.
struct PreviewKeys {
  std::string text, browser, vlc, mediaPlayer, pictures;
};
PreviewKeys MakePreviewKeys(const std::array<std::vector<ExtensionRow>, kPreviewListSections.size()>& lists);
// The lists a settings file without any of them starts with.
std::array<std::vector<ExtensionRow>, kPreviewListSections.size()> DefaultPreviewLists();

// Browser list, text list, picture list, media player list, VLC list; no list: Unknown.
Viewer ChooseViewer(const PreviewKeys& keys, std::string_view lowerExtension);

// What the dispatcher decided for one file.
struct PreviewPlan {
  Viewer viewer = Viewer::Unknown;
  std::string lowerExtension;
  bool richText = false;        // text view: an ".rtf" file
  bool pictureOnPage = false;   // browser view: a picture shown on a generated page
  std::string refusal;          // set when a size limit forbids loading the file
};
// fileName: the name with its extension; forcedTab: a tab id or 0.
PreviewPlan PlanPreview(const PreviewKeys& keys, std::string_view fileName, std::uint64_t size, int forcedTab = 0);

// The lower-case extension of a file name ("" without one).
std::string LowerExtension(std::string_view fileName);

}  // namespace twinex::preview

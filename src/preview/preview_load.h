#pragma once
// Loading what a viewer shows, away from the window: the file (an archive member is extracted
// first), then its text, picture or page. The window only puts the result into its widgets.
// Every failure comes back as the message the viewer shows instead; nothing is thrown.
#include <string>
#include <vector>

#include "platform/run_control.h"
#include "preview/preview_copies.h"
#include "preview/preview_pages.h"
#include "preview/viewer_choice.h"
#include "similar/picture_decode.h"

namespace twinex::preview {

enum class ShowAs {
  Message,      // text: the message in place of the file
  Picture,      // picture: the decoded picture
  PlainText,    // text: the file's text
  Html,         // text: a page (rich text, an HTML file, a generated page)
  PicturePage,  // path: a picture for the browser view's generated page (pictureSize filled)
  Media,        // path: a file for the media player
};

struct LoadedPreview {
  ShowAs as = ShowAs::Message;
  Viewer viewer = Viewer::Unknown;
  std::string text;
  std::string path;  // the file that was read
  similar::Bitmap picture;
  similar::PictureSize pictureSize;
  std::string header;  // "Datei : … Größe : …" above the text view
  std::string status;  // the status line once shown
};

// Pictures for the picture viewer are decoded at most this large on their long side: enough for
// any screen, far less memory than a camera's full picture.
inline constexpr int kMaxShownSide = 2048;

LoadedPreview LoadFilePreview(const ResultFile& row, const PreviewPlan& plan, PreviewCopies& copies, RunControl& run,
                              const PageColours& colours, int maxSide = kMaxShownSide);

// "Lade '%1'..." while a file loads.
std::string LoadingText(const ResultFile& row);

// One row of the group thumbnail grid.
struct ThumbnailRow {
  std::string file, match, dimensions, size, folder, properties;
  bool picture = false;  // a thumbnail is made for it
};
// "Gruppe '%1'" and "Dateien: %1".
std::string GroupHeader(const std::string& caption, std::size_t files);
std::vector<ThumbnailRow> ThumbnailRows(const ResultGroup& group, const PreviewKeys& keys);
// "w x h", or "" for an unknown size.
std::string DimensionsText(int width, int height);
// "Erstelle Vorschau der Bilder... n%".
std::string ThumbnailProgressText(std::size_t done, std::size_t total);

}  // namespace twinex::preview

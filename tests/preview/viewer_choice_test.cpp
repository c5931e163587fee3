// The viewer chosen for a file by the extension lists, an explicit tab and the size limits.
#include "preview/viewer_choice.h"

#include <gtest/gtest.h>

namespace twinex::preview {
namespace {

PreviewKeys Keys() {
  std::array<std::vector<ExtensionRow>, kPreviewListSections.size()> lists;
  lists[0] = {{"txt", true}, {"htm", true}, {"rtf", true}, {"log", false}};  // text
  lists[1] = {{"HTM", true}, {"jpg", true}, {"txt", false}};                // browser
  lists[2] = {{"mp3", true}};                                               // media player
  lists[3] = {{"mkv", true}};                                               // VLC
  lists[4] = {{"jpg", true}, {"jpeg", true}, {".png", true}};               // pictures
  return MakePreviewKeys(lists);
}

TEST(ViewerChoice, ListsAreAskedInTheirOrderAndOnlyCheckedWholeExtensionsCount) {
  const PreviewKeys k = Keys();
  EXPECT_EQ(ChooseViewer(k, "htm"), Viewer::Browser);  // in the browser and the text list
  EXPECT_EQ(ChooseViewer(k, "jpg"), Viewer::Browser);  // in the browser and the picture list
  EXPECT_EQ(ChooseViewer(k, "txt"), Viewer::Text);     // unchecked in the browser list
  EXPECT_EQ(ChooseViewer(k, "jpeg"), Viewer::Picture);
  EXPECT_EQ(ChooseViewer(k, "png"), Viewer::Picture);  // typed with its dot
  EXPECT_EQ(ChooseViewer(k, "mp3"), Viewer::MediaPlayer);
  EXPECT_EQ(ChooseViewer(k, "mkv"), Viewer::Vlc);
  for (const char* ext : {"log", "peg", "jp", "", "doc"}) EXPECT_EQ(ChooseViewer(k, ext), Viewer::Unknown) << ext;
}

TEST(ViewerChoice, ExtensionsAreReadWithoutRegardToCase) {
  EXPECT_EQ(LowerExtension("Urlaub.JPG"), "jpg");
  EXPECT_EQ(LowerExtension("archive.tar.GZ"), "gz");
  EXPECT_EQ(LowerExtension("README"), "");
  EXPECT_EQ(PlanPreview(Keys(), "Bild.JPEG", 10).viewer, Viewer::Picture);
}

TEST(ViewerChoice, AnExplicitTabWinsOverTheLists) {
  const PreviewKeys k = Keys();
  EXPECT_EQ(PlanPreview(k, "song.mp3", 10, kTabMediaInfo).viewer, Viewer::MediaInfo);
  EXPECT_EQ(PlanPreview(k, "a.jpg", 10, kTabPicture).viewer, Viewer::Picture);
  EXPECT_EQ(PlanPreview(k, "a.jpg", 10, kTabExif).viewer, Viewer::Exif);
  EXPECT_EQ(PlanPreview(k, "x.bin", 10, kTabText).viewer, Viewer::Text);
  EXPECT_EQ(ViewerOfTab(999), Viewer::Unknown);
}

TEST(ViewerChoice, SizeLimitsRefuseLargeTextButNotPicturesOnAPage) {
  const PreviewKeys k = Keys();
  const std::uint64_t fifteenMb = 15ull * 1048576;
  // The same 15 MB text file: refused by the browser view, loaded by the text view.
  const PreviewPlan browser = PlanPreview(k, "big.txt", fifteenMb, kTabBrowser);
  EXPECT_NE(browser.refusal.find("Internet Explorer"), std::string::npos) << browser.refusal;
  EXPECT_EQ(PlanPreview(k, "big.txt", fifteenMb).refusal, "");
  EXPECT_EQ(PlanPreview(k, "big.txt", kBrowserTextLimit, kTabBrowser).refusal, "");
  // A picture in the browser view is shown on a page, whatever its size.
  const PreviewPlan picture = PlanPreview(k, "big.jpg", fifteenMb);
  EXPECT_TRUE(picture.pictureOnPage);
  EXPECT_EQ(picture.refusal, "");
  EXPECT_EQ(PlanPreview(k, "huge.txt", kTextViewLimit).refusal, "");
  EXPECT_NE(PlanPreview(k, "huge.txt", kTextViewLimit + 1).refusal.find("WordPad"), std::string::npos);
  EXPECT_TRUE(PlanPreview(k, "letter.rtf", 10).richText);
  EXPECT_FALSE(PlanPreview(k, "notes.txt", 10).richText);
}

TEST(ViewerChoice, TheDefaultListsGiveEveryKindItsViewer) {
  const PreviewKeys k = MakePreviewKeys(DefaultPreviewLists());
  EXPECT_EQ(ChooseViewer(k, "txt"), Viewer::Text);
  EXPECT_EQ(ChooseViewer(k, "html"), Viewer::Browser);
  EXPECT_EQ(ChooseViewer(k, "heic"), Viewer::Picture);
  EXPECT_EQ(ChooseViewer(k, "cr2"), Viewer::Picture);
  EXPECT_EQ(ChooseViewer(k, "wav"), Viewer::MediaPlayer);
  EXPECT_EQ(ChooseViewer(k, "exe"), Viewer::Unknown);
}

}  // namespace
}  // namespace twinex::preview

// "Select every defective picture / audio file" over real files: the broken ones get selected
// and listed with their reason, sound files and files of other kinds are left alone.
#include "similar/file_defects.h"

#include <gtest/gtest.h>

#include "audio_fixture.h"
#include "picture_fixture.h"
#include "results/selection.h"
#include "results/selection_tools.h"

namespace twinex::test {
namespace {

ResultFile Row(const std::string& path) {
  ResultFile f;
  f.path = path.substr(0, path.rfind('/'));
  f.dupname = path.substr(path.rfind('/') + 1);
  return f;
}

TEST(FileDefects, BrokenPicturesAreSelectedAndListed) {
  TempDir t;
  DibPtr pattern = DrawPattern(64, 48, 3);
  ASSERT_TRUE(Save(pattern.get(), t / "good.png", FIF_PNG));
  const std::vector<std::uint8_t> jpeg = Encoded(pattern.get(), FIF_JPEG);
  t.Write("cut.jpg", std::string(jpeg.begin(), jpeg.begin() + 40));
  t.Write("empty.gif", "");
  t.Write("notes.txt", "not a picture at all");
  ResultTree tree;
  ResultGroup& g = tree.AddGroup("g");
  for (const char* name : {"good.png", "cut.jpg", "empty.gif", "notes.txt"}) tree.AddFile(g, Row(t / name));
  Selection s(tree);
  s.pictureDefect = similar::PictureDefect;
  const SelectOutcome out = RunSelectTool(s, SelectToolId::SelectDefectPictures);
  ASSERT_TRUE(out.ran);
  EXPECT_EQ(out.selected, 2u);
  EXPECT_TRUE(tree.groups[0].files[1].selected && tree.groups[0].files[2].selected);
  EXPECT_NE(out.message.find("Bei folgenden Bilddateien ist beim Laden ein Fehler aufgetreten:"), std::string::npos);
  EXPECT_NE(out.message.find("1. Datei: " + (t / "cut.jpg")), std::string::npos) << out.message;
  EXPECT_NE(out.message.find("2. Datei: " + (t / "empty.gif")), std::string::npos) << out.message;
  EXPECT_NE(out.message.find("--- Fehler: "), std::string::npos);

  // A front end that cannot read the files offers nothing to run.
  Selection blind(tree);
  EXPECT_FALSE(RunSelectTool(blind, SelectToolId::SelectDefectPictures).ran);
}

TEST(FileDefects, AudioWithoutPropertiesIsSelectedWithItsReason) {
  TWINEX_AUDIO_FIXTURES(audio);
  ResultTree tree;
  ResultGroup& g = tree.AddGroup("g");
  for (const char* name : {"melody.mp3", "melody.flac", "broken.mp3"}) tree.AddFile(g, Row(audio->Folder() + "/" + name));
  Selection s(tree);
  s.audioDefect = similar::AudioDefect;
  const SelectOutcome out = RunSelectTool(s, SelectToolId::SelectDefectAudio);
  ASSERT_TRUE(out.ran);
  EXPECT_EQ(out.selected, 1u) << out.message;
  EXPECT_TRUE(tree.groups[0].files[2].selected);
  EXPECT_NE(out.message.find("Folgende Audiodateien besitzen korrupte Eigenschaften:"), std::string::npos);
  EXPECT_NE(out.message.find("--- Grund: "), std::string::npos) << out.message;
}

}  // namespace
}  // namespace twinex::test

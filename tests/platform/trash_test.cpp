// The desktop trash, kept in a test folder through XDG_DATA_HOME.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include "platform/date_time.h"
#include "platform/file_ops.h"
#include "platform/file_system.h"
#include "platform/links.h"
#include "platform/text.h"
#include "platform/trash.h"
#include "support/temp_dir.h"

namespace twinex::test {
namespace {

struct Trash : ::testing::Test {
  TempDir dir;
  void SetUp() override { setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1); }
  void TearDown() override { unsetenv("XDG_DATA_HOME"); }
};

TEST_F(Trash, InfoNoteEscapesThePath) {
  EXPECT_EQ(platform::TrashInfoText("/home/a b/Ä%.txt", platform::MakeDate(2024, 2, 3, 4, 5, 6)),
            "[Trash Info]\nPath=/home/a%20b/%C3%84%25.txt\nDeletionDate=2024-02-03T04:05:06\n");
}

TEST_F(Trash, LongNamesAreShortenedInTheTrashButNotInTheirNote) {
  std::string name;
  for (int i = 0; i < 124; ++i) name += "\xC3\xA4";  // "ä": 248 bytes with the extension
  name += ".txt";
  const std::string a = dir.Write("one/" + name, "1");
  const std::string b = dir.Write("two/" + name, "2");
  platform::TrashOutcome first = platform::MoveToTrash(a);
  platform::TrashOutcome second = platform::MoveToTrash(b);
  ASSERT_EQ(first.status, platform::TrashStatus::Trashed) << first.error;
  ASSERT_EQ(second.status, platform::TrashStatus::Trashed) << second.error;
  for (const platform::TrashOutcome* t : {&first, &second}) {
    const std::string entry = platform::FileNameOf(t->filesPath);
    EXPECT_LE(platform::FileNameOf(t->infoPath).size(), 255u);
    EXPECT_TRUE(platform::IsValidUtf8(entry));
    EXPECT_EQ(entry.substr(entry.size() - 4), ".txt");
  }
  EXPECT_NE(first.filesPath, second.filesPath);
  EXPECT_EQ(ReadFile(second.filesPath), "2");
  EXPECT_NE(ReadFile(first.infoPath).find(platform::EscapeTrashPath(a)), std::string::npos);
}

TEST_F(Trash, NamesDoNotCollideAndAKeptNameCanBeUndone) {
  const std::string a = dir.Write("one/r.txt", "1");
  const std::string b = dir.Write("two/r.txt", "2");
  platform::TrashOutcome first = platform::MoveToTrash(a);
  platform::TrashOutcome second = platform::MoveToTrash(b, /*keepName*/ true);
  ASSERT_EQ(first.status, platform::TrashStatus::Trashed) << first.error;
  ASSERT_EQ(second.status, platform::TrashStatus::Trashed) << second.error;
  EXPECT_EQ(first.filesPath, dir / "data/Trash/files/r.txt");
  EXPECT_EQ(second.filesPath, dir / "data/Trash/files/r.2.txt");
  EXPECT_FALSE(platform::PathExists(a));
  EXPECT_EQ(ReadFile(b), "2");  // kept at its path as well
  platform::UndoTrash(second);
  EXPECT_FALSE(platform::PathExists(second.filesPath) || platform::PathExists(second.infoPath));
  EXPECT_EQ(ReadFile(b), "2");
  struct stat st;
  ASSERT_EQ(::stat((dir / "data/Trash").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(Trash, AFileThatIsGoneIsNotTrashed) {
  platform::TrashOutcome out = platform::MoveToTrash(dir / "missing.txt");
  EXPECT_NE(out.status, platform::TrashStatus::Trashed);
  EXPECT_FALSE(out.error.empty());
}

TEST(FileOps, ReplacementsNeverLeaveThePathEmpty) {
  TempDir t;
  const std::string src = t.Write("s.txt", "source");
  const std::string file = t.Write("f.txt", "file");
  // A link that cannot be made leaves the file as it was.
  EXPECT_NE(platform::ReplaceWithHardLink(file, t / "missing"), "");
  EXPECT_EQ(ReadFile(file), "file");
  EXPECT_EQ(platform::ReplaceWithHardLink(file, src), "");
  EXPECT_EQ(ReadFile(file), "source");
  // Two names of one file already: nothing to do, and no temporary name is left behind.
  EXPECT_EQ(platform::ReplaceWithHardLink(file, src), "");
  EXPECT_EQ(platform::RenameNoReplace(src, file), "rename: File exists");
  EXPECT_NE(platform::CopyFileChecked(src, file, true), "");
  EXPECT_EQ(platform::CopyFileChecked(src, t / "c.txt", true), "");
  EXPECT_EQ(ReadFile(t / "c.txt"), "source");
  int entries = 0;  // no temporary names are left
  platform::ListFolder(t.path(), [&](const platform::FileInfo&) { return ++entries > 0; });
  EXPECT_EQ(entries, 3);
  EXPECT_FALSE(platform::FileSystemHasHardLinks("vfat"));
  EXPECT_TRUE(platform::FileSystemHasHardLinks("ext4"));
}

}  // namespace
}  // namespace twinex::test

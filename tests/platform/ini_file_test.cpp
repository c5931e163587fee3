#include "platform/ini_file.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_system.h"
#include "platform/text.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"

namespace twinex::platform {
namespace {

using test::ReadFile;
using test::TempDir;

std::string Utf16File(const std::string& text) { return EncodeUtf16LE(text, true); }

const char* const kSample =
    "; comment=not a key\r\n"
    "[Optionen]\r\n"
    "Pfad = \"  C:\\x  \" \r\n"
    "Doppelt=\"\"quoted\"\"\r\n"
    "Leer=\r\n"
    "\xC3\x84nderung=1\r\n"
    "Wert=first\r\n"
    "wert=second\r\n"
    "garbage line\r\n"
    "\r\n"
    "[ALLGEMEIN]\r\n"
    "Lang=eng\r\n"
    "[optionen]\r\n"
    "Spaet=late\r\n"
    "Wert=third\r\n";

TEST(IniRead, FollowsPrivateProfileRules) {
  TempDir tmp;
  const std::string f = tmp.Write("config4.ini", Utf16File(kSample));
  EXPECT_EQ(IniRead(f, "optionen", "PFAD", "d"), "  C:\\x  ");  // blanks outside quotes go
  EXPECT_EQ(IniRead(f, "Optionen", "Doppelt", "d"), "\"quoted\"");  // only one pair goes
  EXPECT_EQ(IniRead(f, "Optionen", "Leer", "d"), "");
  EXPECT_EQ(IniRead(f, "Optionen", "\xC3\xA4NDERUNG", "d"), "1");
  EXPECT_EQ(IniRead(f, "Optionen", "WERT", "d"), "first");
  EXPECT_EQ(IniRead(f, "Optionen", "Spaet", "d"), "late");  // a repeated section still counts
  EXPECT_EQ(IniRead(f, "allgemein", "lang", "d"), "eng");
  EXPECT_EQ(IniRead(f, "Optionen", "garbage line", "d"), "d");
  EXPECT_EQ(IniRead(f, "Optionen", "; comment", "d"), "d");
  EXPECT_EQ(IniRead(f, "Optionen", "Fehlt", "d"), "d");
  EXPECT_EQ(IniRead(f, "Fehlt", "Lang", "d"), "d");
  EXPECT_EQ(IniRead(tmp / "missing.ini", "A", "B", "d"), "d");
  EXPECT_EQ(IniSectionKeys(f, "OPTIONEN"),
            (std::vector<std::string>{"Pfad", "Doppelt", "Leer", "\xC3\x84nderung", "Wert", "Spaet"}));
}

TEST(IniRead, AcceptsOtherEncodings) {
  TempDir tmp;
  const std::string utf8 = tmp.Write("a.ini", "[S]\nName=Gr\xC3\xB6\xC3\x9F" "e\n");
  EXPECT_EQ(IniRead(utf8, "s", "name", ""), "Gr\xC3\xB6\xC3\x9F" "e");
  const std::string withBom = tmp.Write("b.ini", "\xEF\xBB\xBF[S]\r\nK=v\r\n");
  EXPECT_EQ(IniRead(withBom, "S", "K", ""), "v");
  std::string be = "\xFE\xFF";
  for (char c : std::string("[S]\r\nK=be\r\n")) be += std::string{'\0', c};
  EXPECT_EQ(IniRead(tmp.Write("c.ini", be), "S", "K", ""), "be");
  EXPECT_EQ(IniRead(tmp.Write("d.ini", "[S]\nK=\xE4\n"), "S", "K", ""), "\xC3\xA4");  // Windows-1252
}

TEST(IniWrite, ChangesOnlyWhatItMustAndWritesUtf16WithCrLf) {
  TempDir tmp;
  const std::string f = tmp.Write("config4.ini", Utf16File(kSample));
  ASSERT_EQ(IniWrite(f, "OPTIONEN", "wert", "neu"), "");
  ASSERT_EQ(IniWrite(f, "Allgemein", "Neu", "x"), "");
  ASSERT_EQ(IniWrite(f, "Optionen", "Zusatz", "z"), "");
  ASSERT_EQ(IniWrite(f, "WindowPos", "Main_Left", "10"), "");
  const char* const want =
      "; comment=not a key\r\n"
      "[Optionen]\r\n"
      "Pfad = \"  C:\\x  \" \r\n"
      "Doppelt=\"\"quoted\"\"\r\n"
      "Leer=\r\n"
      "\xC3\x84nderung=1\r\n"
      "Wert=neu\r\n"
      "wert=second\r\n"
      "garbage line\r\n"
      "Zusatz=z\r\n"  // behind the last non-blank line of the first such section
      "\r\n"
      "[ALLGEMEIN]\r\n"
      "Lang=eng\r\n"
      "Neu=x\r\n"
      "[optionen]\r\n"
      "Spaet=late\r\n"
      "Wert=third\r\n"
      "[WindowPos]\r\n"
      "Main_Left=10\r\n";
  EXPECT_EQ(ReadFile(f), Utf16File(want));
  EXPECT_EQ(IniRead(f, "Optionen", "Wert", ""), "neu");

  ASSERT_EQ(IniDeleteSection(f, "OPTIONEN"), "");
  EXPECT_EQ(IniRead(f, "Optionen", "Spaet", "gone"), "gone");  // every section of the name goes
  EXPECT_EQ(IniRead(f, "Allgemein", "Lang", ""), "eng");
  EXPECT_EQ(DecodeUtf16LE(ReadFile(f)),
            "; comment=not a key\r\n[ALLGEMEIN]\r\nLang=eng\r\nNeu=x\r\n[WindowPos]\r\nMain_Left=10\r\n");
}

TEST(IniWrite, CreatesMissingFilesAndRefusesUnsafeInput) {
  TempDir tmp;
  const std::string f = tmp / "new.ini";
  EXPECT_EQ(IniDeleteSection(f, "A"), "");
  EXPECT_FALSE(ExistFile(f));  // nothing to delete, nothing created
  ASSERT_EQ(IniWrite(f, "A", "K", "line1\r\nline2"), "");
  EXPECT_EQ(ReadFile(f), Utf16File("[A]\r\nK=line1  line2\r\n"));
  EXPECT_NE(IniWrite(f, "A", "K=2", "v"), "");
  EXPECT_NE(IniWrite(f, "A]", "K", "v"), "");
  EXPECT_NE(IniWrite(f, "A", "", "v"), "");
  EXPECT_NE(IniWrite(tmp / "no/such/folder.ini", "A", "K", "v"), "");

  // A file that exists but cannot be read is never replaced by a fresh one.
  tmp.MakeDir("dir.ini");
  EXPECT_NE(IniWrite(tmp / "dir.ini", "A", "K", "v"), "");
  EXPECT_TRUE(ExistFolder(tmp / "dir.ini"));
}

TEST(IniCache, SeesAChangeByAnotherWriterAtOnce) {
  TempDir tmp;
  const std::string f = tmp.Write("c.ini", Utf16File("[S]\r\nK=aaa\r\n"));
  EXPECT_EQ(IniRead(f, "S", "K", ""), "aaa");
  // Same size, same inode and (as on a coarse clock) the same modification time: only the
  // content tells the change.
  struct stat st;
  ASSERT_EQ(stat(f.c_str(), &st), 0);
  tmp.Write("c.ini", Utf16File("[S]\r\nK=bbb\r\n"));
  const struct timespec times[2] = {st.st_atim, st.st_mtim};
  ASSERT_EQ(utimensat(AT_FDCWD, f.c_str(), times, 0), 0);
  EXPECT_EQ(IniRead(f, "S", "K", ""), "bbb");
  unlink(f.c_str());
  EXPECT_EQ(IniRead(f, "S", "K", "gone"), "gone");
}

TEST(IniBatch, WritesTheFileOnceWhenTheOutermostBatchEnds) {
  TempDir tmp;
  const std::string f = tmp.Write("b.ini", Utf16File("[S]\r\nK=old\r\n"));
  struct stat before;
  ASSERT_EQ(stat(f.c_str(), &before), 0);
  {
    IniBatch outer(f);
    {
      IniBatch inner(f);
      for (int i = 0; i < 300; ++i) ASSERT_EQ(IniWrite(f, "S", "K" + std::to_string(i), std::to_string(i)), "");
    }
    EXPECT_EQ(IniRead(f, "S", "K299", ""), "299");
    struct stat during;
    ASSERT_EQ(stat(f.c_str(), &during), 0);
    EXPECT_EQ(during.st_ino, before.st_ino);  // each write replaces the file, so none happened
    EXPECT_EQ(ReadFile(f).size(), Utf16File("[S]\r\nK=old\r\n").size());
  }
  EXPECT_EQ(IniRead(f, "S", "K0", ""), "0");
  EXPECT_EQ(IniSectionKeys(f, "S").size(), 301u);
  EXPECT_EQ(DecodeUtf16LE(ReadFile(f)).substr(0, 20), "[S]\r\nK=old\r\nK0=0\r\nK1");

  IniBatch batch(f);
  ASSERT_EQ(IniWrite(f, "S", "K", "committed"), "");
  EXPECT_EQ(batch.Commit(), "");
  EXPECT_NE(ReadFile(f).find(EncodeUtf16LE("K=committed", false)), std::string::npos);
}

TEST(WriteFileAtomic, ReplacesThroughATempFileKeepingLinksAndPermissions) {
  TempDir tmp;
  const std::string target = tmp.Write("real.ini", "old");
  chmod(target.c_str(), 0640);
  ASSERT_EQ(symlink("real.ini", (tmp / "link.ini").c_str()), 0);
  ASSERT_EQ(WriteFileAtomic(tmp / "link.ini", "new"), "");
  EXPECT_EQ(ReadFile(target), "new");
  struct stat st;
  ASSERT_EQ(lstat((tmp / "link.ini").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  ASSERT_EQ(stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);

  // A file the user made read-only stays as it is, although its folder would allow the rename.
  chmod(target.c_str(), 0444);
  twinex::test::OpenToEveryone(tmp.path());
  EXPECT_TRUE(twinex::test::RunUnprivileged([&] { return !WriteFileAtomic(target, "newer").empty(); }));
  EXPECT_EQ(ReadFile(target), "new");
  EXPECT_EQ(WriteFileAtomic(tmp / "missing/x", "y").rfind("open: ", 0), 0u);
  int entries = 0;
  ListFolder(tmp.path(), [&](const FileInfo&) { return ++entries, true; });
  EXPECT_EQ(entries, 2);  // no temporary file left behind

  std::string bytes, error;
  EXPECT_FALSE(ReadWholeFile(tmp / "missing", bytes, &error));
  EXPECT_EQ(error.rfind("open: ", 0), 0u);
}

}  // namespace
}  // namespace twinex::platform

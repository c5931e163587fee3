#include "results/file_record.h"

#include <gtest/gtest.h>

#include <string>

namespace twinex {
namespace {

FileRecord Rec(CStringCollection2& t, std::string name, std::string ext) {
  FileRecord r;
  t.SetFileName(r, ext.empty() ? name : name + "." + ext, ext);
  return r;
}

TEST(FileTable, KeysAreFoundWithoutRegardToCaseAndDuplicatesAreNotStored) {
  CStringCollection2 t;
  t.Init(4, 2);
  bool existed = true;
  EXPECT_EQ(t.Add("KReport.txt", Rec(t, "Report", "txt"), &existed), 1);
  EXPECT_FALSE(existed);
  EXPECT_EQ(t.Add("K100>1", Rec(t, "b", ""), &existed), 2);

  EXPECT_EQ(t.Add("kREPORT.TXT", Rec(t, "other", "doc"), &existed), 1);
  EXPECT_TRUE(existed);
  EXPECT_EQ(t.Count(), 2);
  EXPECT_EQ(t.Name(t.Record(1)), "Report");  // the first file of a key stays

  EXPECT_EQ(t.ExistKey("kreport.TXT"), 1);
  EXPECT_EQ(t.ExistKey("K100>1"), 2);
  EXPECT_EQ(t.ExistKey("K100>2"), 0);
  EXPECT_EQ(t.ExistKey(""), 0);
  // Unicode folding, not ASCII only.
  t.Add("KÄrger", Rec(t, "Ärger", ""));
  EXPECT_EQ(t.ExistKey("KäRGER"), 3);
}

TEST(FileTable, FoldersAreStoredOnceAndRelativeFoldersCutTheSourceBase) {
  CStringCollection2 t;
  const auto a = t.InternFolder("/data/src/sub");
  const auto b = t.InternFolder("/data/src");
  EXPECT_NE(a, b);
  EXPECT_EQ(t.InternFolder("/data/src/sub"), a);
  EXPECT_EQ(t.InternFolder("/data/src"), b);
  EXPECT_NE(t.InternFolder("/data/src/SUB"), a);  // paths are case-sensitive
  EXPECT_EQ(t.Folder(a), "/data/src/sub");

  FileRecord r = Rec(t, "x", "bin");
  r.FolderIndex = a;
  r.SourceNr = 1;
  t.SetSourceBaseLength(1, 9);  // "/data/src"
  t.Add("K1", r);
  r.FolderIndex = b;
  t.Add("K2", r);
  EXPECT_EQ(t.RelativeFolder(1), "sub");
  EXPECT_EQ(t.RelativeFolder(2), "");
  EXPECT_EQ(t.FolderOf(1), "/data/src/sub");

  // No trailing dot without an extension, no doubled separator below the root.
  t.Add("K3", Rec(t, "archive.tar", "gz"));
  t.Record(3).FolderIndex = t.InternFolder("/");
  EXPECT_EQ(t.GetFileNameWithExtension(1), "x.bin");
  EXPECT_EQ(t.GetPathWithFileName(1), "/data/src/sub/x.bin");
  EXPECT_EQ(t.GetPathWithFileName(3), "/archive.tar.gz");
  EXPECT_EQ(t.Name(t.Record(3)), "archive.tar");
  t.SetFileName(t.Record(3), "name.", "");  // a name ending in a dot keeps it on disk
  EXPECT_EQ(t.GetFileNameWithExtension(3), "name.");
  EXPECT_EQ(t.Name(t.Record(3)), "name");
  EXPECT_EQ(t.Extension(t.Record(3)), "");
}

TEST(FileTable, HardlinkKeyTexts) {
  CStringCollection2 t;
  FileRecord r = Rec(t, "a", "");
  r.VolumeSerialNumber = 2049;
  r.FileIndexHigh = 0;
  r.FileIndexLow = 0xFFFFFFFFu;
  t.Add("K1", r);

  EXPECT_EQ(t.GetHardlinkIDkey(1, true), "0|4294967295");
  EXPECT_EQ(t.GetHardlinkIDkey(1, false), "2049|0|4294967295");
  EXPECT_EQ(t.GetHardlinkIDkeyFormatted(1, true), "0FFFFFFFF");
  EXPECT_EQ(t.GetHardlinkIDkeyFormatted(1, false), "8010FFFFFFFF");
}

TEST(FileTable, TakesTwoHundredThousandFiles) {
  CStringCollection2 t;
  t.Init(100000, 50000);
  for (int i = 0; i < 200000; ++i) {
    FileRecord r;
    r.FolderIndex = t.InternFolder("/corpus/folder" + std::to_string(i / 100));
    t.SetFileName(r, "file" + std::to_string(i), "");
    r.SIZE = static_cast<std::uint64_t>(i);
    ASSERT_EQ(t.Add("K" + std::to_string(i) + ">1", std::move(r)), i + 1);
  }
  EXPECT_EQ(t.Count(), 200000);
  EXPECT_EQ(t.ExistKey("K199999>1"), 200000);
  EXPECT_EQ(t.Record(150001).SIZE, 150000u);
  EXPECT_EQ(t.FolderOf(150001), "/corpus/folder1500");
  EXPECT_EQ(t.GetFileNameWithExtension(150001), "file150000");
  t.Clear();
  EXPECT_EQ(t.Count(), 0);
  EXPECT_EQ(t.ExistKey("K1>1"), 0);
  EXPECT_EQ(t.Add("K1>1", FileRecord()), 1);
}

// The checked file (record 0) writes its name before it is known whether it is stored. A file
// that only joins a group must leave no name behind, and reusing that room must never overwrite
// a stored name, also one written after it.
TEST(FileTable, NamesOfFilesNotStoredAreReusedAndStoredNamesStay) {
  CStringCollection2 t;
  auto check = [&](const std::string& name) { t.SetFileName(t.Record(0), name, ""); };
  check("first");
  t.Add("K1", t.Record(0));
  check("passing-through-a-group");
  check("second");
  t.Add("K2", t.Record(0));
  EXPECT_EQ(t.GetFileNameWithExtension(1), "first");
  EXPECT_EQ(t.GetFileNameWithExtension(2), "second");
  EXPECT_EQ(t.Record(2).NameAt, t.Record(1).NameAt + 5);  // nothing left between them

  check("pending");
  t.SetFileName(t.Record(1), "renamed", "");  // written after the pending name
  check("third");
  t.Add("K3", t.Record(0));
  EXPECT_EQ(t.GetFileNameWithExtension(1), "renamed");
  EXPECT_EQ(t.GetFileNameWithExtension(3), "third");

  // Longer than the size field: kept whole, extension included.
  const std::string longName = std::string(70000, 'n') + ".txt";
  t.SetFileName(t.Record(0), longName, "txt");
  t.Add("K4", t.Record(0));
  check("fourth");
  t.Add("K5", t.Record(0));
  EXPECT_EQ(t.GetFileNameWithExtension(4), longName);
  EXPECT_EQ(t.Extension(t.Record(4)), "txt");
  EXPECT_EQ(t.GetFileNameWithExtension(5), "fourth");

  // Many names fill more than one chunk of the store; each stays readable.
  for (int i = 0; i < 120000; ++i) {
    check("file-number-" + std::to_string(i));
    if (i % 3 == 0) t.Add("", t.Record(0));
  }
  EXPECT_EQ(t.GetFileNameWithExtension(6), "file-number-0");
  EXPECT_EQ(t.GetFileNameWithExtension(t.Count()), "file-number-119997");
}

TEST(FileTable, ExtrasOfTheCheckedFileGoWithItOnlyWhenItIsStored) {
  CStringCollection2 t;
  auto check = [&](std::uint32_t cut) {
    FileRecord& r = t.Record(0);
    r = FileRecord{};
    r.SIZE = 1000;
    if (cut > 0) t.EditExtras(r) = {640, 480, cut, 2 * cut};
  };
  check(10);
  t.Add("K1", t.Record(0));
  check(20);  // joins a group: not stored
  check(0);
  t.Add("K2", t.Record(0));
  check(30);
  t.Add("K3", t.Record(0));
  check(40);  // the checked file's own extras change no stored record

  EXPECT_EQ(t.EffectiveSize(t.Record(1)), 1000u - 30u);
  EXPECT_EQ(t.Extras(t.Record(1)).picWidth, 640);
  EXPECT_EQ(t.Record(2).Extras, 0u);
  EXPECT_EQ(t.EffectiveSize(t.Record(2)), 1000u);
  EXPECT_EQ(t.Extras(t.Record(2)).picHeight, 0);
  EXPECT_EQ(t.Extras(t.Record(3)).cutFromFileEnd, 60u);
  EXPECT_EQ(t.Record(3).Extras, 2u);  // the file that passed through a group left no entry
  EXPECT_EQ(t.EffectiveSize(t.Record(0)), 1000u - 120u);
}

TEST(FileTable, DigestOfAFileNotStoredIsTakenOverByTheNext) {
  CStringCollection2 t;
  t.SetDigestLength(20);
  auto check = [&](std::uint8_t fill) {
    t.Record(0) = FileRecord{};
    std::uint8_t* d = t.HashArray(t.Record(0));
    EXPECT_EQ(d[19], 0);  // a taken-over place starts empty too
    std::fill(d, d + 20, fill);
  };
  check(0xAA);
  t.Add("K1", t.Record(0));
  check(0xBB);  // joins a group
  check(0xCC);
  t.Add("K2", t.Record(0));
  check(0xDD);
  EXPECT_EQ(t.HashArray(t.Record(1))[0], 0xAA);
  EXPECT_EQ(t.HashArray(t.Record(2))[0], 0xCC);
  EXPECT_EQ(t.Record(2).HashSlot, 2u);
  EXPECT_EQ(t.Record(0).HashSlot, 3u);
}

}  // namespace
}  // namespace twinex

// Hostile archives: names that try to leave the temporary folder, link members, bombs, broken
// and mutated archives. Nothing may be written outside the folder and nothing may crash.
#include <filesystem>
#include <random>
#include <set>

#include "archive_fixture.h"

namespace twinex::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> FilesBelow(const std::string& root) {
  std::vector<std::string> out;
  for (const auto& e : fs::recursive_directory_iterator(root)) out.push_back(e.path().string());
  std::sort(out.begin(), out.end());
  return out;
}

TEST(ArchiveSafety, TemporaryNamesNeverLeaveTheFolder) {
  const std::pair<const char*, const char*> kNames[] = {
      {"../../x", "x"},       {"/etc/passwd", "passwd"}, {"C:\\Windows\\x.dll", "x.dll"},
      {"a/..", "_"},          {"", "_"},                {"..", "_"},
      {"ok/Größe.txt", "Größe.txt"}, {"bad\x01na\x7Fme\n.txt", "badname.txt"}, {"c:x", "c_x"},
  };
  for (const auto& [inner, safe] : kNames) EXPECT_EQ(SafeMemberFileName(inner), safe) << inner;
  EXPECT_EQ(SafeMemberFileName(std::string_view("a\0b", 3)), "ab");
  EXPECT_EQ(TempCopyName(2, "pics/a.jpg"), "2_a.jpg");
  // Long names are cut on a character boundary.
  std::string longName;
  for (int i = 0; i < 150; ++i) longName += "ä";
  const std::string cut = SafeMemberFileName(longName);
  EXPECT_LE(cut.size(), 200u);
  EXPECT_EQ(cut.size() % 2, 0u);
}

TEST(ArchiveSafety, HostileMembersStayInsideAndLinksAreNeverExtracted) {
  TempDir t;
  const std::string archive = t / "hostile.tar";
  WriteArchive(archive, "pax", "",
               {{"../../escape.txt", "up"},
                {"/etc/twinex-abs.txt", "abs"},
                {"C:\\drive.txt", "drive"},
                {"ctl\x01.txt", "ctl"},
                {"link", "/etc/passwd", 'l'},
                {"hard", "../../escape.txt", 'h'}});
  Listed l = ListWith(ReaderOfKind(ArchiveReaderKind::kLibarchive), archive, "tar");
  ASSERT_TRUE(l.outcome.ok()) << l.outcome.text;
  EXPECT_EQ(l.members.size(), 4u);  // the two links are no members
  const std::string temp = t.MakeDir("temp");
  std::uint64_t counter = 0;
  RunControl run;
  for (const ArchiveMember& m : l.members) {
    MemberSink sink(temp + "/" + TempCopyName(++counter, m.pathInsideZip), kNoSizeLimit, 0);
    EXPECT_TRUE(ExtractArchiveMember({archive, "tar", ""}, m.pathInsideZip, sink, run).ok()) << m.pathInsideZip;
  }
  for (const char* link : {"link", "hard"}) {
    MemberSink sink(temp + "/9_" + link, kNoSizeLimit, 0);
    EXPECT_EQ(ExtractArchiveMember({archive, "tar", ""}, link, sink, run).error, ArchiveError::kNotAFile);
  }
  EXPECT_EQ(FilesBelow(temp), (std::vector<std::string>{temp + "/1_escape.txt", temp + "/2_twinex-abs.txt",
                                                         temp + "/3_drive.txt", temp + "/4_ctl.txt"}));
  EXPECT_EQ(FilesBelow(t.path()).size(), 6u);  // the archive, the folder, its four files
  EXPECT_FALSE(fs::exists("/etc/twinex-abs.txt"));

  // A link planted at the temporary name is not followed: the sink refuses to open it.
  fs::create_symlink(t / "outside.txt", temp + "/5_top.txt");
  MemberSink planted(temp + "/5_top.txt", kNoSizeLimit, 0);
  EXPECT_EQ(planted.Begin(1).error, ArchiveError::kWrite);
  EXPECT_FALSE(fs::exists(t / "outside.txt"));
}

TEST(ArchiveSafety, BombsStopAtTheLimitAndAtTheFreeSpace) {
  TempDir t;
  const std::string bomb = t / "bomb.zip";
  WriteArchive(bomb, "zip", "", {{"zeros.bin", std::string(4 << 20, '\0')}});
  RunControl run;
  for (auto kind : {ArchiveReaderKind::kLibarchive, ArchiveReaderKind::kSevenZip}) {
    MemberSink limited(t / "1_zeros.bin", 1 << 20, 0);
    ArchiveOutcome o = ReaderOfKind(kind).Extract(bomb, *ArchiveTypeByExtension("zip"), "zeros.bin", limited, run);
    EXPECT_EQ(o.error, ArchiveError::kTooLarge);
    EXPECT_FALSE(fs::exists(limited.path()));
    // A folder that cannot take the data: the reserve asks for more than any disk has.
    MemberSink full(t / "2_zeros.bin", kNoSizeLimit, UINT64_MAX / 2);
    o = ReaderOfKind(kind).Extract(bomb, *ArchiveTypeByExtension("zip"), "zeros.bin", full, run);
    EXPECT_EQ(o.error, ArchiveError::kNoSpace);
    EXPECT_FALSE(fs::exists(full.path()));
    bool isError = false;
    EXPECT_NE(ExtractionMessage("zeros.bin", bomb, o, isError), "");
    EXPECT_TRUE(isError);
  }
  // The size limit of the settings: 20 MB by default, its unit, an empty field, off.
  SearchSettings s;
  EXPECT_EQ(ArchiveSizeLimit(s, true), 20ull << 20);
  EXPECT_EQ(ArchiveSizeLimit(s, false), kNoSizeLimit);
  s.ZipSizeFilterTyp = 1;
  s.ZipSizeFilterSize = "1,5";
  EXPECT_EQ(ArchiveSizeLimit(s, true), 1536u);
  s.ZipSizeFilterSize = "";
  EXPECT_EQ(ArchiveSizeLimit(s, true), 20u << 10);
  s.ZipSizeFilter = false;
  EXPECT_EQ(ArchiveSizeLimit(s, true), kNoSizeLimit);
}

TEST(ArchiveSafety, TruncatedCorruptAndMutatedArchivesNeverCrash) {
  TempDir t;
  struct Kind {
    const char* ext;
    const char* format;
    const char* filter;
  };
  const Kind kKinds[] = {{"zip", "zip", ""}, {"7z", "7zip", ""}, {"tar", "pax", "gzip"}, {"iso", "iso9660", ""}};
  std::mt19937 random(20261206);
  RunControl run;
  for (const Kind& k : kKinds) {
    const std::string good = t / (std::string("good.") + k.ext);
    WriteArchive(good, k.format, k.filter, CommonEntries());
    const std::string bytes = ReadFile(good);
    // Truncated in half: an error for the archive or one of its members, never success for all.
    const std::string half = t.Write(std::string("half.") + k.ext, bytes.substr(0, bytes.size() / 2));
    int listed = 0;
    ArchiveOutcome o = ListArchive({half, k.ext, ""}, run, [&](const ArchiveMember&) { return ++listed > 0; });
    if (!o.ok()) {
      EXPECT_NE(ListingMessage(half, o), "") << k.ext;
    }
    // Mutated copies: list, then extract what was listed.
    for (int round = 0; round < 60; ++round) {
      std::string mutated = bytes;
      const int flips = 1 + static_cast<int>(random() % 8);
      for (int i = 0; i < flips; ++i) mutated[random() % mutated.size()] = static_cast<char>(random());
      const std::string path = t.Write(std::string("m.") + k.ext, mutated);
      std::vector<std::string> inner;
      ListArchive({path, k.ext, ""}, run, [&](const ArchiveMember& m) {
        inner.push_back(m.pathInsideZip);
        return true;
      });
      for (std::size_t i = 0; i < inner.size() && i < 3; ++i) {
        MemberSink sink(t / TempCopyName(i + 1, inner[i]), 1 << 20, 0);
        ExtractArchiveMember({path, k.ext, ""}, inner[i], sink, run);
        sink.Abandon();
      }
    }
  }
}

TEST(ArchiveTypesTable, CodesKindsAndReaders) {
  std::set<int> codes, kinds;
  for (const ArchiveTypeInfo& t : ArchiveTypes()) {
    codes.insert(t.itemCode);
    kinds.insert(t.archiveType);
    EXPECT_EQ(ArchiveTypeByExtension(t.extension), &t);
  }
  EXPECT_EQ(codes.size(), 16u);
  EXPECT_EQ(kinds.size(), 16u);
  EXPECT_EQ(kinds.count(3), 0u);  // 3 is not used
  EXPECT_EQ(ArchiveTypeByExtension("7z")->archiveType, 4);
  EXPECT_EQ(ArchiveTypeByExtension("epub")->itemCode, 8);
  EXPECT_EQ(ArchiveTypeOf("001", "zip")->archiveType, 1);
  EXPECT_EQ(ArchiveTypeOf("001", ""), nullptr);
  EXPECT_EQ(ArchiveReadersFor("7z", ""), (std::vector{ArchiveReaderKind::kLibarchive, ArchiveReaderKind::kSevenZip}));
  EXPECT_EQ(ArchiveReadersFor("arj", "").front(), ArchiveReaderKind::kSevenZip);
  EXPECT_EQ(ArchiveReadersFor("001", "7z"), std::vector{ArchiveReaderKind::kSevenZip});

  SearchSettings s;
  EXPECT_FALSE(ArchiveScanningOn(s));
  s.ScanArchives = true;
  EXPECT_FALSE(ArchiveScanningOn(s));
  s.ScanArchive[13] = true;
  EXPECT_TRUE(ArchiveScanningOn(s));
}

}  // namespace
}  // namespace twinex::test

// Listing and extracting real archives of every type the build can write, with both readers.
#include <algorithm>
#include <filesystem>

#include "archive_fixture.h"

namespace twinex::test {
namespace {

struct Case {
  const char* label;
  const char* ext;     // the archive's extension (its type in the table)
  const char* format;  // library writer format; "7zz" when the archiver writes it
  const char* filter;
  bool sevenZipReads;  // the archiver also reads it
};

const Case kCases[] = {
    {"zip", "zip", "zip", "", true},       {"7z", "7z", "7zip", "", false},   {"tar", "tar", "pax", "", true},
    {"tgz_as_tar", "tar", "pax", "gzip", false}, {"iso", "iso", "iso9660", "", true}, {"cbz", "cbz", "zip", "", true},
    {"epub", "epub", "zip", "", true},     {"cb7", "cb7", "7zip", "", false}, {"cbt", "cbt", "pax", "", true},
    {"7zz_zip", "zip", "7zz", "", true},   {"7zz_7z", "7z", "7zz", "", true},
};

class ArchiveTypes : public ::testing::TestWithParam<Case> {};

std::vector<std::string> ExpectedPaths() {
  std::vector<std::string> out;
  for (const FixtureEntry& f : CommonEntries())
    if (f.kind == 'f') out.push_back(f.name);
  std::sort(out.begin(), out.end());
  return out;
}

std::string Build(const TempDir& t, const Case& c) {
  const std::string path = t / (std::string("test.") + c.ext);
  if (std::string(c.format) == "7zz")
    WriteWith7zz(t, path, CommonEntries());
  else
    WriteArchive(path, c.format, c.filter, CommonEntries());
  return path;
}

TEST_P(ArchiveTypes, BothReadersListAndExtractEveryFileMember) {
  const Case& c = GetParam();
  TempDir t;
  const std::string path = Build(t, c);
  std::vector<ArchiveReader*> readers = {&ReaderOfKind(ArchiveReaderKind::kLibarchive)};
  if (c.sevenZipReads) readers.push_back(&ReaderOfKind(ArchiveReaderKind::kSevenZip));
  std::uint64_t counter = 0;
  for (ArchiveReader* reader : readers) {
    SCOPED_TRACE(reader == readers[0] ? "library" : "archiver");
    Listed l = ListWith(*reader, path, c.ext);
    ASSERT_TRUE(l.outcome.ok()) << l.outcome.text;
    EXPECT_EQ(l.Paths(), ExpectedPaths());  // folders left out, umlauts intact
    const std::vector<FixtureEntry> entries = CommonEntries();
    for (const ArchiveMember& m : l.members) {
      const auto want = std::find_if(entries.begin(), entries.end(),
                                     [&](const FixtureEntry& f) { return f.name == m.pathInsideZip; });
      ASSERT_NE(want, entries.end()) << m.pathInsideZip;
      EXPECT_EQ(m.size, want->content.size()) << m.pathInsideZip;
      EXPECT_FALSE(m.encrypted);
      if (c.format != std::string("iso9660") && c.format != std::string("7zz")) {
        EXPECT_EQ(platform::UnixFromDate(m.modified), 1700000000) << m.pathInsideZip;
      }
      MemberSink sink(t / TempCopyName(++counter, m.pathInsideZip), kNoSizeLimit, 0);
      RunControl run;
      ArchiveOutcome x = reader->Extract(path, *ArchiveTypeByExtension(c.ext), m.pathInsideZip, sink, run);
      ASSERT_TRUE(x.ok()) << m.pathInsideZip << ": " << x.text;
      EXPECT_TRUE(ReadFile(sink.path()) == want->content) << m.pathInsideZip;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Written, ArchiveTypes, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.label); });

// The library reader reads on from the last member it extracted; members asked for out of order,
// twice, or after the archive was written anew must still come out right.
TEST(ArchiveReader, MembersComeOutRightInAnyOrderAndAfterTheArchiveChanged) {
  TempDir t;
  const std::string path = t / "solid.7z";
  WriteArchive(path, "7zip", "", {{"a.txt", "alpha"}, {"b.txt", "bravo"}, {"c.txt", "charlie"}});
  ArchiveReader& reader = ReaderOfKind(ArchiveReaderKind::kLibarchive);
  std::uint64_t counter = 0;
  auto extract = [&](const std::string& member) {
    MemberSink sink(t / TempCopyName(++counter, member), kNoSizeLimit, 0);
    RunControl run;
    ArchiveOutcome x = reader.Extract(path, *ArchiveTypeByExtension("7z"), member, sink, run);
    return x.ok() ? ReadFile(sink.path()) : "error: " + x.text;
  };
  EXPECT_EQ(extract("b.txt"), "bravo");
  EXPECT_EQ(extract("c.txt"), "charlie");
  EXPECT_EQ(extract("a.txt"), "alpha");
  EXPECT_EQ(extract("a.txt"), "alpha");
  EXPECT_EQ(extract("missing.txt").rfind("error", 0), 0u);
  EXPECT_EQ(extract("c.txt"), "charlie");
  std::filesystem::remove(path);
  WriteArchive(path, "7zip", "", {{"a.txt", "ALPHA, written anew"}, {"b.txt", "BRAVO"}});
  EXPECT_EQ(extract("a.txt"), "ALPHA, written anew");
  EXPECT_EQ(extract("b.txt"), "BRAVO");
}

TEST(ArchiveReader, SplitsInnerPathsAndNamesAGzByItsArchive) {
  std::string folder, name;
  SplitInnerPath("./a\\b/c.txt", folder, name);
  EXPECT_EQ(folder, "a/b");
  EXPECT_EQ(name, "c.txt");
  SplitInnerPath("/top.txt", folder, name);
  EXPECT_EQ(folder, "");
  EXPECT_EQ(name, "top.txt");

  TempDir t;
  const std::string gz = t / "Notizen.txt.gz";
  WriteArchive(gz, "raw", "gzip", {{"data", "single stream"}});
  Listed l = ListWith(ReaderOfKind(ArchiveReaderKind::kLibarchive), gz, "gz");
  ASSERT_TRUE(l.outcome.ok()) << l.outcome.text;
  ASSERT_EQ(l.Paths(), std::vector<std::string>{"Notizen.txt"});
  MemberSink sink(t / "1_Notizen.txt", kNoSizeLimit, 0);
  RunControl run;
  ASSERT_TRUE(ExtractArchiveMember({gz, "gz", ""}, "Notizen.txt", sink, run).ok());
  EXPECT_EQ(ReadFile(sink.path()), "single stream");
}

TEST(ArchiveReader, ArchiveInsideArchiveIsOneMemberAndEmptyArchiveHasNone) {
  TempDir t;
  const std::string inner = t / "inner.zip";
  WriteArchive(inner, "zip", "", {{"x.txt", "x"}});
  const std::string outer = t / "outer.zip";
  WriteArchive(outer, "zip", "", {{"inner.zip", ReadFile(inner)}});
  Listed l = ListWith(ReaderOfKind(ArchiveReaderKind::kLibarchive), outer, "zip");
  ASSERT_TRUE(l.outcome.ok());
  EXPECT_EQ(l.Paths(), std::vector<std::string>{"inner.zip"});

  const std::string empty = t / "empty.zip";
  WriteArchive(empty, "zip", "", {});
  for (auto kind : {ArchiveReaderKind::kLibarchive, ArchiveReaderKind::kSevenZip}) {
    Listed e = ListWith(ReaderOfKind(kind), empty, "zip");
    EXPECT_TRUE(e.outcome.ok()) << e.outcome.text;
    EXPECT_TRUE(e.members.empty());
  }
  EXPECT_NE(NoMembersMessage(empty).find(empty), std::string::npos);
}

TEST(ArchiveReader, PasswordProtectedMembersAreFlaggedAndNeverExtracted) {
  TempDir t;
  const std::vector<FixtureEntry> entries = {{"secret.txt", "hidden words"}};
  for (const char* ext : {"zip", "7z"}) {
    SCOPED_TRACE(ext);
    const std::string path = t / (std::string("locked.") + ext);
    WriteWith7zz(t, path, entries, "Geheim");
    for (auto kind : {ArchiveReaderKind::kLibarchive, ArchiveReaderKind::kSevenZip}) {
      Listed l = ListWith(ReaderOfKind(kind), path, ext);
      if (!l.outcome.ok()) {  // a reader may refuse the whole archive: then for the password
        EXPECT_EQ(l.outcome.error, ArchiveError::kPassword) << l.outcome.text;
        continue;
      }
      ASSERT_EQ(l.members.size(), 1u);
      EXPECT_TRUE(l.members[0].encrypted);
      MemberSink sink(t / "1_secret.txt", kNoSizeLimit, 0);
      RunControl run;
      ArchiveOutcome x = ReaderOfKind(kind).Extract(path, *ArchiveTypeByExtension(ext), "secret.txt", sink, run);
      EXPECT_EQ(x.error, ArchiveError::kPassword) << x.text;
      EXPECT_FALSE(std::filesystem::exists(sink.path()));
    }
  }
  // Encrypted names: nothing can be listed, and the search log says why.
  const std::string hidden = t / "names.7z";
  WriteWith7zz(t, hidden, entries, "Geheim", true);
  Listed l;
  RunControl run;
  l.outcome = ListArchive({hidden, "7z", ""}, run, [&](const ArchiveMember& m) {
    l.members.push_back(m);
    return true;
  });
  EXPECT_TRUE(l.members.empty());
  EXPECT_FALSE(l.outcome.ok());
  EXPECT_NE(ListingMessage(hidden, l.outcome), "");
  EXPECT_NE(PasswordMemberMessage("secret.txt", hidden).find("secret.txt"), std::string::npos);
}

TEST(ArchiveReader, UnreadableArchivesGiveTheOpenMessageFromEitherReader) {
  TempDir t;
  const std::string fake = t.Write("fake.zip", "this is no archive at all");
  RunControl run;
  for (const char* ext : {"zip", "arj"}) {
    ArchiveOutcome o = ListArchive({fake, ext, ""}, run, [](const ArchiveMember&) { return true; });
    EXPECT_EQ(o.error, ArchiveError::kOpen) << ext << ": " << o.text;
    EXPECT_NE(ListingMessage(fake, o).find(fake), std::string::npos);
  }
  // Without the archiver its types cannot be read; the message names the program and package.
  SetArchiverProgram("twinex-no-such-archiver");
  ArchiveOutcome o = ListArchive({fake, "arj", ""}, run, [](const ArchiveMember&) { return true; });
  SetArchiverProgram("7zz");
  EXPECT_FALSE(o.ok());
}

TEST(ArchiveReader, StopEndsTheListingAndSkipGivesUpOneMember) {
  TempDir t;
  const std::string path = t / "big.zip";
  WriteArchive(path, "zip", "", {{"a.bin", std::string(1 << 20, 'a')}, {"b.txt", "b"}});
  for (auto kind : {ArchiveReaderKind::kLibarchive, ArchiveReaderKind::kSevenZip}) {
    RunControl stopped;
    stopped.RequestStop();
    int seen = 0;
    ArchiveOutcome o = ReaderOfKind(kind).List(path, *ArchiveTypeByExtension("zip"), stopped, [&](const ArchiveMember&) {
      ++seen;
      return true;
    });
    EXPECT_EQ(o.error, ArchiveError::kStopped);
    EXPECT_EQ(seen, 0);

    RunControl skip;
    skip.RequestSkip();
    MemberSink sink(t / "1_a.bin", kNoSizeLimit, 0);
    o = ReaderOfKind(kind).Extract(path, *ArchiveTypeByExtension("zip"), "a.bin", sink, skip);
    EXPECT_EQ(o.error, ArchiveError::kSkipped);
    EXPECT_FALSE(std::filesystem::exists(sink.path()));
    bool isError = true;
    EXPECT_NE(ExtractionMessage("a.bin", path, o, isError), "");
    EXPECT_FALSE(isError);
  }
}

}  // namespace
}  // namespace twinex::test

// Content comparison over real files: byte comparison, percentages, digests, errors, skipping.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "search/compare_content.h"
#include "search/search.h"
#include "search_fixture.h"

namespace twinex::test {
namespace {

// A search whose file table holds hand-made records of real files.
struct ContentSearch {
  RecordingObserver observer;
  SilentPrompt prompt;
  Search search{MainSettings{}, SearchEnvironment{}, observer, prompt};

  explicit ContentSearch(int method, int percent = 100) {
    search.files.Init(16, 16);
    search.contentMethod = method;
    search.contentPercent = percent;
    search.checksum = ChecksumDescriptorFor(method);
    search.buffers = {16384, 32768, 16384, 32768};
  }
  long Add(const std::string& path, std::uint64_t cutStart = 0, std::uint64_t cutEnd = 0) {
    FileRecord r;
    const auto slash = path.rfind('/');
    r.FolderIndex = search.files.InternFolder(path.substr(0, slash));
    search.files.SetFileName(r, path.substr(slash + 1), "");
    struct stat st {};
    stat(path.c_str(), &st);
    r.SIZE = static_cast<std::uint64_t>(st.st_size);
    if (cutStart + cutEnd > 0) {
      RecordExtras& cuts = search.files.EditExtras(r);
      cuts.cutFromFileStart = static_cast<std::uint32_t>(cutStart);
      cuts.cutFromFileEnd = static_cast<std::uint32_t>(cutEnd);
    }
    return search.files.Add("k" + std::to_string(search.files.Count() + 1), r);
  }
  bool Equal(long a, long b) { return Search_CompareContent(search, a, b); }
  FileRecord& Rec(long i) { return search.files.Record(i); }
};

std::string Pattern(std::size_t n) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>('a' + (i * 7 + i / 13) % 26);
  return s;
}

std::string Flipped(std::string s, std::initializer_list<std::size_t> positions) {
  for (auto p : positions) s[p] = static_cast<char>(s[p] ^ 0x5A);
  return s;
}

std::string Hex(const std::uint8_t* p, std::size_t n) {
  static const char* d = "0123456789abcdef";
  std::string out;
  for (std::size_t i = 0; i < n; ++i) (out += d[p[i] >> 4]) += d[p[i] & 15];
  return out;
}

HashOutcome HashFile(const std::string& path, const RecordExtras& r, std::uint8_t* digest, const ChecksumDescriptor& c,
                     std::uint64_t block, ChecksumWorkspace& ws, std::string& error, RunControl& run) {
  platform::ReadOnlyFile f;
  if (std::string e = f.Open(path); !e.empty()) {
    error = e;
    return HashOutcome::Failed;
  }
  return CreateHashFromFile(f, r, digest, c, block, ws, error, run);
}

TEST(ContentCompare, EmptyFilesAreEqualUnderEveryMethod) {
  TempDir t;
  const std::string a = t.Write("a", ""), b = t.Write("b", "");
  for (int method = 0; method <= 5; ++method) {
    for (int percent : {100, 90}) {
      ContentSearch cs(method, method == 0 ? percent : 100);
      EXPECT_TRUE(cs.Equal(cs.Add(a), cs.Add(b))) << method << " " << percent;
      EXPECT_EQ(cs.search.counters.checksumsCreated, 0u);
      EXPECT_TRUE(cs.observer.errors.empty());
    }
  }
}

TEST(ContentCompare, DigestsOfShortAndKnownContent) {
  TempDir t;
  ContentSearch md5(1);
  const long ten = md5.Add(t.Write("ten", "0123456789"));
  ChecksumWorkspace ws;
  RunControl run;
  std::string error;
  ASSERT_EQ(HashFile(t / "ten", md5.search.files.Extras(md5.Rec(ten)), md5.search.files.HashArray(md5.Rec(ten)), md5.search.checksum, 16384, ws, error, run), HashOutcome::Created);
  EXPECT_EQ(Hex(md5.search.files.HashArray(md5.Rec(ten)), 16), "30313233343536373839000000000000");

  EXPECT_EQ(HashFile(t.Write("empty", ""), md5.search.files.Extras(md5.Rec(ten)), md5.search.files.HashArray(md5.Rec(ten)), md5.search.checksum, 16384, ws, error, run),
            HashOutcome::Failed);
  EXPECT_EQ(error, "File size 0");

  // The digest covers the range between the cuts, read in blocks smaller than the text.
  ContentSearch sha1(2);
  const long fox = sha1.Add(t.Write("fox", "<<The quick brown fox jumps over the lazy dog>>>"), 2, 3);
  ASSERT_EQ(HashFile(t / "fox", sha1.search.files.Extras(sha1.Rec(fox)), sha1.search.files.HashArray(sha1.Rec(fox)), sha1.search.checksum, 7, ws, error, run), HashOutcome::Created);
  EXPECT_EQ(Hex(sha1.search.files.HashArray(sha1.Rec(fox)), 20), "2fd4e1c67a2d28fced849ee1bb76e7391b93eb12");

  sha1.search.files.EditExtras(sha1.Rec(fox)) = {0, 0, 40, 10};
  EXPECT_EQ(HashFile(t / "fox", sha1.search.files.Extras(sha1.Rec(fox)), sha1.search.files.HashArray(sha1.Rec(fox)), sha1.search.checksum, 7, ws, error, run), HashOutcome::Failed);
  EXPECT_NE(error.find(" (-2 / 48)"), std::string::npos) << error;
}

TEST(ContentCompare, ExactComparisonSeesEveryByteWhileBlocksGrow) {
  TempDir t;
  const std::string base = Pattern(2000);
  const std::string a = t.Write("a", base);
  // Blocks of 7, 20, 33, 46 and then 50 bytes, with and without the end block first.
  for (std::uint64_t endBlock : {0, 30}) {
    const CompareBlockSizes sizes = CompareBlockSizes::From({7, 50, 13, endBlock});
    CompareBuffers buffers;
    RunControl run;
    std::string error;
    EXPECT_EQ(Search_CompareFileContent({a}, {t.Write("same", base)}, sizes, error, buffers, run), kContentEqual);
    const std::string b = t.Write("b", base);
    const int fd = open(b.c_str(), O_WRONLY);
    for (std::size_t pos = 0; pos < base.size(); ++pos) {
      const char flipped = static_cast<char>(base[pos] ^ 1);
      ASSERT_EQ(pwrite(fd, &flipped, 1, static_cast<off_t>(pos)), 1);
      ASSERT_EQ(Search_CompareFileContent({a}, {b}, sizes, error, buffers, run), kContentDifferent)
          << "end block " << endBlock << ", difference at " << pos;
      ASSERT_EQ(pwrite(fd, &base[pos], 1, static_cast<off_t>(pos)), 1);
    }
    close(fd);
  }
  // Cuts line up different offsets of the two files.
  CompareBuffers buffers;
  RunControl run;
  std::string error;
  const std::string shifted = t.Write("shifted", "xyz" + base + "tail!");
  EXPECT_EQ(Search_CompareFileContent({a, 0, 0}, {shifted, 3, 5}, CompareBlockSizes::From({7, 50, 13, 30}),
                                      error, buffers, run),
            kContentEqual);
  EXPECT_EQ(Search_CompareFileContent({a, 0, 0}, {shifted, 2, 5}, CompareBlockSizes{}, error, buffers, run),
            kContentDifferent);
  EXPECT_TRUE(error.empty());
  // Cuts beyond the file (it shrank since its tags were read) cannot be positioned.
  EXPECT_EQ(Search_CompareFileContent({a, 0, 0}, {shifted, 3000, 0}, CompareBlockSizes{}, error, buffers, run),
            kContentDifferent);
  EXPECT_EQ(error.rfind("xSetFilePointerPos2: ", 0), 0u) << error;
}

TEST(ContentCompare, PercentageOfEqualBytesDecides) {
  TempDir t;
  const std::string base = Pattern(1000);
  std::vector<std::size_t> fifty, hundredOne;
  for (std::size_t i = 0; i < 50; ++i) fifty.push_back(i * 20 + 19);  // reaches the last byte
  for (std::size_t i = 0; i < 101; ++i) hundredOne.push_back(i * 9);
  auto flip = [&](const std::vector<std::size_t>& ps) {
    std::string s = base;
    for (auto p : ps) s[p] = static_cast<char>(s[p] ^ 1);
    return s;
  };
  const std::string a = t.Write("a", base), b50 = t.Write("b50", flip(fifty)), b101 = t.Write("b101", flip(hundredOne));

  CompareBuffers buffers;
  RunControl run;
  std::string error;
  int percent = -1;
  const CompareBlockSizes sizes = CompareBlockSizes::From({64, 256, 64, 128});
  EXPECT_EQ(Search_CompareFileContentPercent({a}, {b50}, sizes, percent, error, buffers, run), kContentEqual);
  EXPECT_EQ(percent, 95);
  EXPECT_EQ(Search_CompareFileContentPercent({a}, {b101}, sizes, percent, error, buffers, run), kContentEqual);
  EXPECT_EQ(percent, 89);
  EXPECT_EQ(Search_CompareFileContentPercent({a}, {t.Write("short", base.substr(1))}, sizes, percent, error, buffers, run),
            kContentDifferent);
  EXPECT_EQ(percent, 0);

  ContentSearch cs(0, 90);
  const long first = cs.Add(a);
  const long close = cs.Add(b50), far = cs.Add(b101);
  EXPECT_TRUE(cs.Equal(close, first));
  EXPECT_EQ(cs.Rec(close).PercentMatch, 95);
  EXPECT_EQ(cs.Rec(first).PercentMatch, 100);
  EXPECT_FALSE(cs.Equal(far, first));
  EXPECT_EQ(cs.search.counters.fileComparisons, 2u);
}

TEST(ContentCompare, UnreadableFilesAreReportedOnceAndNeverEqual) {
  TempDir t;
  const std::string present = t.Write("present", Pattern(50000));
  const std::string missing = t / "missing";
  CompareBuffers buffers;
  RunControl run;
  std::string error;
  EXPECT_EQ(Search_CompareFileContent({missing}, {present}, {}, error, buffers, run), kContentOpenFirst);
  EXPECT_EQ(error, "CreateFileWide1: No such file or directory");
  EXPECT_EQ(Search_CompareFileContent({present}, {missing}, {}, error, buffers, run), kContentOpenSecond);
  // A FIFO is refused at once instead of waiting for a writer.
  const std::string fifo = t / "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(Search_CompareFileContent({present}, {fifo}, {}, error, buffers, run), kContentOpenSecond);
  EXPECT_EQ(error, "CreateFileWide2: not a regular file");

  ContentSearch bytes(0);
  const long p = bytes.Add(present), m = bytes.Add(present);
  bytes.search.files.SetFileName(bytes.search.files.Record(m), "missing", "");
  EXPECT_FALSE(bytes.Equal(m, p));
  EXPECT_FALSE(bytes.Equal(m, p));
  EXPECT_TRUE(bytes.Rec(m).HaveErrorMessage);
  ASSERT_EQ(bytes.observer.errors.size(), 1u);
  EXPECT_EQ(bytes.observer.errors[0],
            "Die Datei '" + missing + "' konnte nicht geöffnet werden. Fehler: CreateFileWide1: No such file or directory");

  ContentSearch sums(3);
  const long sp = sums.Add(present), sm = sums.Add(present);
  sums.search.files.SetFileName(sums.search.files.Record(sm), "missing", "");
  EXPECT_FALSE(sums.Equal(sp, sm));
  EXPECT_FALSE(sums.Equal(sm, sp));
  ASSERT_EQ(sums.observer.errors.size(), 1u);
  EXPECT_EQ(sums.observer.errors[0], "Beim Erstellen der Prüfsumme von Datei '" + missing +
                                         "' ist ein Fehler aufgetreten: CreateFileWide: No such file or directory");
  EXPECT_EQ(sums.search.counters.checksumsCreated, 1u);
}

TEST(ContentCompare, StopAndSkipEndTheCurrentFileOnly) {
  TempDir t;
  const std::string a = t.Write("a", Pattern(100000)), b = t.Write("b", Pattern(100000));
  CompareBuffers buffers;
  RunControl run;
  std::string error;
  run.RequestSkip();
  EXPECT_EQ(Search_CompareFileContent({a}, {b}, {}, error, buffers, run), kContentCancelled);
  EXPECT_EQ(run.State(), kStateRunning);
  run.RequestStop();
  EXPECT_EQ(Search_CompareFileContent({a}, {b}, {}, error, buffers, run), kContentCancelled);
  EXPECT_TRUE(run.StopRequested());

  // A skipped checksum leaves no digest and no error mark, so the file can be hashed later.
  ContentSearch cs(2);
  const long ia = cs.Add(a), ib = cs.Add(b);
  cs.search.run.RequestSkip();
  EXPECT_FALSE(cs.Equal(ia, ib));
  EXPECT_FALSE(cs.Rec(ia).HashCreated || cs.Rec(ia).HaveErrorMessage);
  EXPECT_EQ(cs.search.run.State(), kStateRunning);
  EXPECT_TRUE(cs.Equal(ia, ib));
  EXPECT_TRUE(cs.observer.errors.empty());
}

TEST(ContentCompare, EachDigestIsMadeOnceAndOnlyWhenNeeded) {
  TempDir t;
  const std::string base = Pattern(200000);
  ContentSearch cs(2);
  const long a = cs.Add(t.Write("a", base)), b = cs.Add(t.Write("b", base));
  const long middle = cs.Add(t.Write("middle", Flipped(base, {100000})));
  const long front = cs.Add(t.Write("front", Flipped(base, {10})));
  EXPECT_TRUE(cs.Equal(b, a));
  EXPECT_FALSE(cs.Equal(middle, a));
  EXPECT_FALSE(cs.Equal(middle, b));
  EXPECT_EQ(cs.search.counters.checksumsCreated, 3u);
  // A difference near either end settles the pair without hashing the new file.
  EXPECT_FALSE(cs.Equal(front, a));
  EXPECT_FALSE(cs.Rec(front).HashCreated);
  EXPECT_EQ(cs.search.counters.checksumsCreated, 3u);
  EXPECT_EQ(cs.search.counters.fileComparisons, 4u);

  // The byte method takes the same shortcut and still finds the difference in the middle.
  ContentSearch bytes(0);
  const long ba = bytes.Add(t / "a"), bm = bytes.Add(t / "middle"), bb = bytes.Add(t / "b");
  EXPECT_FALSE(bytes.Equal(bm, ba));
  EXPECT_TRUE(bytes.Equal(bb, ba));
}

TEST(ContentCompare, HardLinksOfOneFileNeedNoReading) {
  TempDir t;
  const std::string a = t.Write("a", Pattern(30000));
  ASSERT_EQ(link(a.c_str(), (t / "b").c_str()), 0);
  ContentSearch cs(0);
  cs.search.settings.DontCompareHardlinks = true;
  const long ia = cs.Add(a), ib = cs.Add(t / "b");
  EXPECT_TRUE(cs.Equal(ib, ia));
  EXPECT_EQ(cs.Rec(ia).NumberOfLinks, 2u);
  EXPECT_EQ(cs.search.counters.fileComparisons, 0u);
  cs.search.settings.DontCompareHardlinks = false;
  EXPECT_TRUE(cs.Equal(ib, ia));
  EXPECT_EQ(cs.search.counters.fileComparisons, 1u);
}

}  // namespace
}  // namespace twinex::test

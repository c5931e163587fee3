// Byte-by-byte grouping of many files of one size: each file is read in full only against the
// files that may share its content, with the groups a checksum search finds.
#include "search_fixture.h"

namespace twinex::test {
namespace {

using Groups = std::vector<std::vector<std::string>>;

struct Outcome {
  Groups groups;
  std::uint64_t comparisons = 0;
};

Outcome SearchWith(const MainSettings& m, int method) {
  MainSettings settings = m;
  settings.search.Suchkriterien = {};
  settings.search.Suchkriterien[kCritSize] = settings.search.Suchkriterien[kCritContent] = true;
  settings.search.ContentCompare = method;
  RecordingObserver observer;
  ScriptedPrompt prompt;
  SearchOutcome out = StartSearchForDups(settings, {}, observer, prompt);
  Outcome o;
  for (const auto& g : out.search->result.groups) {
    o.groups.emplace_back();
    for (const auto& f : g.files) o.groups.back().push_back(f.FullPath());
  }
  o.comparisons = out.search->counters.fileComparisons;
  return o;
}

// Contents of one length that agree in their first and last 4 KiB unless `head` differs, so
// that the cheap look cannot tell every class apart.
std::string Content(std::size_t length, int head, int middle) {
  std::string s(length, 'm');
  s[0] = static_cast<char>('a' + head);
  s[length / 2] = static_cast<char>('a' + middle);
  return s;
}

TEST(ByteCompare, ManyFilesOfOneSizeMatchTheChecksumGroupsWithFewComparisons) {
  TempDir t;
  const int kFiles = 60;
  for (std::size_t length : {std::size_t{100}, std::size_t{40000}}) {
    for (int i = 0; i < kFiles; ++i) {
      // Six classes: three heads times two middles; a quarter of the files are unique.
      const bool unique = i % 4 == 3;
      const std::string name = "src/" + std::to_string(length) + "/f" + std::to_string(100 + i);
      t.Write(name, unique ? Content(length, 10 + i % 16, 20 + i / 16) : Content(length, i % 3, i % 2));
    }
  }
  // A second source reorders nothing but lets the cross-source scope join following slots.
  t.Write("other/g", Content(40000, 1, 1));
  for (int scope : {0, 2}) {
    SCOPED_TRACE(scope);
    MainSettings m = SettingsFor({t / "src", t / "other"});
    m.search.SourceFolderCompareMode = scope;
    const Outcome bytes = SearchWith(m, 0), sha = SearchWith(m, 2);
    EXPECT_EQ(bytes.groups, sha.groups);
    EXPECT_GE(bytes.groups.size(), scope == 0 ? 12u : 1u);
    // Without the prints every file would be read against every class met before it.
    EXPECT_LE(bytes.comparisons, 2u * (2 * kFiles + 1));
  }
}

}  // namespace
}  // namespace twinex::test

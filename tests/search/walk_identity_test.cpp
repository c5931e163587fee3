// The walk over trees that reach one folder twice, change while walked, or lie deeper than any
// path the kernel accepts.
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdio>

#include "search/check_file.h"
#include "search/open_folders.h"
#include "search_fixture.h"

namespace twinex::test {
namespace {

// Runs the real per-file step; the groups as lists of file names.
struct NamedGroups {
  RecordingObserver observer;
  ScriptedPrompt prompt;
  SearchOutcome outcome;
  std::vector<std::vector<std::string>> groups;

  explicit NamedGroups(const MainSettings& m, const std::function<void(Search&)>& configure = {}) {
    outcome = StartSearchForDups(m, {}, observer, prompt, configure);
    for (const auto& g : outcome.search->result.groups) {
      groups.emplace_back();
      for (const auto& f : g.files) groups.back().push_back(f.dupname);
    }
  }
  bool LoggedContaining(const std::string& part) const {
    for (const auto& l : observer.log)
      if (l.find(part) != std::string::npos) return true;
    return false;
  }
};

MainSettings ContentSearch(const std::string& folder, int method) {
  MainSettings m = SettingsFor({folder});
  m.search.Suchkriterien[kCritContent] = true;
  m.search.ContentCompare = method;
  return m;
}

using Groups = std::vector<std::vector<std::string>>;

TEST(WalkIdentity, FolderReachedThroughAFollowedLinkIsWalkedOnce) {
  TempDir t;
  t.Write("src/real/a.txt", "same");
  t.Write("src/real/b.txt", "other");
  ASSERT_EQ(symlink((t / "src/real").c_str(), (t / "src/view").c_str()), 0);
  MainSettings m = SettingsFor({t / "src"});
  m.search.NTFSordner = false;

  NamedGroups r(m);
  EXPECT_TRUE(r.groups.empty());  // never a file grouped with itself
  EXPECT_EQ(r.outcome.search->counters.filesChecked, 2u);
  EXPECT_EQ(r.outcome.search->counters.totalFiles, 2u);
  EXPECT_TRUE(r.observer.Logged("Der Ordner '" + t / "src/view" +
                                "' wird übersprungen, da er bereits unter einem anderen Namen durchsucht wurde."));
}

TEST(WalkIdentity, OneDirectoryEntryNeverJoinsItsOwnGroupButHardLinksDo) {
  TempDir t;
  const std::string a = t.Write("src/one/a", "x");
  ASSERT_EQ(link(a.c_str(), (t / "src/one/a2").c_str()), 0);
  t.MakeDir("src/two");
  ASSERT_EQ(link(a.c_str(), (t / "src/two/a").c_str()), 0);  // same name, other folder: a real link
  t.Write("src/lone", "yy");

  // Whatever route brings an entry back a second time, it stays one row.
  NamedGroups r(SettingsFor({t / "src"}), [](Search& s) {
    s.checkFile = [](Search& search, const EnumeratedFile& f) {
      Search_CheckFile(search, f);
      Search_CheckFile(search, f);
    };
  });
  EXPECT_EQ(r.groups, (Groups{{"a", "a2", "a"}}));
  ASSERT_EQ(r.outcome.search->result.groups.size(), 1u);
  std::vector<std::string> folders;
  for (const auto& f : r.outcome.search->result.groups[0].files) folders.push_back(f.FullPath());
  EXPECT_EQ(folders, (std::vector<std::string>{t / "src/one/a", t / "src/one/a2", t / "src/two/a"}));
}

// Runs `body` in a child with its own mount table; false when the system allows none.
bool InPrivateMounts(const std::function<bool()>& body, bool& passed) {
  const pid_t pid = fork();
  if (pid == 0) {
    if (unshare(CLONE_NEWNS) != 0) {
      const uid_t uid = getuid();
      const gid_t gid = getgid();
      if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) _exit(77);
      auto write = [](const char* file, const std::string& text) {
        FILE* f = std::fopen(file, "w");
        if (!f) return;
        std::fputs(text.c_str(), f);
        std::fclose(f);
      };
      write("/proc/self/setgroups", "deny");
      write("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1");
      write("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1");
    }
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) _exit(77);
    _exit(body() ? 0 : 1);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) == 77) return false;
  passed = WEXITSTATUS(status) == 0;
  return true;
}

TEST(WalkIdentity, BindMountInsideTheSourceIsWalkedOnce) {
  TempDir t;
  t.Write("src/data/a.txt", "same");
  t.MakeDir("src/mirror");
  bool passed = false;
  const bool ran = InPrivateMounts(
      [&] {
        if (mount((t / "src/data").c_str(), (t / "src/mirror").c_str(), nullptr, MS_BIND, nullptr) != 0) return false;
        NamedGroups r(SettingsFor({t / "src"}));
        return r.groups.empty() && r.outcome.search->counters.filesChecked == 1 &&
               r.LoggedContaining("/src/mirror' wird übersprungen");
      },
      passed);
  if (!ran) GTEST_SKIP() << "no private mount table for a test child";
  EXPECT_TRUE(passed);
}

TEST(WalkIdentity, FolderVanishingMidWalkIsReportedAndTheWalkGoesOn) {
  TempDir t;
  t.Write("src/a/x", "1");
  t.Write("src/b/y", "2");
  t.Write("src/c/z", "3");
  RecordedSearch r;
  MainSettings m = SettingsFor({t / "src"});
  r.outcome = StartSearchForDups(m, {}, r.observer, r.prompt, [&](Search& s) {
    s.checkFile = [&](Search& search, const EnumeratedFile& f) {
      ++search.counters.filesChecked;
      r.files.emplace_back(f.name);
      if (f.name == "x") {
        std::remove((t / "src/b/y").c_str());
        rmdir((t / "src/b").c_str());
      }
    };
  });
  EXPECT_EQ(r.files, (std::vector<std::string>{"x", "z"}));
  ASSERT_EQ(r.observer.errors.size(), 1u);
  EXPECT_EQ(r.observer.errors[0].rfind("Der Ordner '" + t / "src/b" + "' konnte nicht durchsucht werden: ", 0), 0u);
}

// A tree deeper than PATH_MAX, made and removed by descriptor (no path of it fits one call).
class DeepTree {
 public:
  DeepTree(const std::string& base, std::size_t pathBytes) : base_(base) {
    const std::string name(120, 'd');
    int fd = ::open(base.c_str(), O_RDONLY | O_DIRECTORY);
    path_ = base;
    while (path_.size() < pathBytes) {
      mkdirat(fd, name.c_str(), 0700);
      const int next = openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
      ::close(fd);
      fd = next;
      path_ += "/" + name;
      ++depth_;
    }
    const int file = openat(fd, "bottom.bin", O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const std::string content(70000, 'z');
    if (write(file, content.data(), content.size()) != static_cast<ssize_t>(content.size())) ADD_FAILURE();
    ::close(file);
    ::close(fd);
  }
  ~DeepTree() {
    const std::string name(120, 'd');
    for (std::size_t level = depth_; level > 0; --level) {
      int fd = ::open(base_.c_str(), O_RDONLY | O_DIRECTORY);
      for (std::size_t i = 1; i < level; ++i) {
        const int next = openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
      }
      const int inner = openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
      unlinkat(inner, "bottom.bin", 0);
      ::close(inner);
      unlinkat(fd, name.c_str(), AT_REMOVEDIR);
      ::close(fd);
    }
  }
  const std::string& path() const { return path_; }

 private:
  std::string base_, path_;
  std::size_t depth_ = 0;
};

TEST(WalkIdentity, FilesBeyondPathMaxAreFoundReadAndGrouped) {
  TempDir t;
  t.Write("src/top.bin", std::string(70000, 'z'));
  DeepTree deep(t / "src", 9000);  // deeper than the folders a walk keeps open
  ASSERT_GT(deep.path().size(), static_cast<std::size_t>(PATH_MAX));
  for (int method : {0, 2}) {  // bytes, then SHA-1
    NamedGroups r(ContentSearch(t / "src", method));
    EXPECT_TRUE(r.observer.errors.empty()) << r.observer.errors.front();
    EXPECT_EQ(r.groups, (Groups{{"bottom.bin", "top.bin"}})) << method;
    ASSERT_EQ(r.outcome.search->result.groups.size(), 1u);
    EXPECT_EQ(r.outcome.search->result.groups[0].files[0].FullPath(), deep.path() + "/bottom.bin");
  }
}

TEST(WalkIdentity, ClosedFoldersAreOpenedAgainAndCheckedToBeTheSame) {
  TempDir t;
  t.MakeDir("r/1/2/3/4/5/6");
  OpenFolders chain(false, 3);
  ASSERT_EQ(chain.EnterSource(t / "r"), "");
  std::vector<platform::FolderId> ids{chain.CurrentId()};
  for (const char* n : {"1", "2", "3", "4", "5", "6"}) {
    ASSERT_EQ(chain.Enter(n), "");
    ids.push_back(chain.CurrentId());
  }
  std::string path = t / "r/1/2/3/4/5/6";
  for (std::size_t level = ids.size(); level-- > 0;) {
    const platform::FolderHandle* folder = nullptr;
    ASSERT_EQ(chain.Current(folder), "") << level;
    struct stat st {};
    ASSERT_EQ(fstat(folder->Descriptor(), &st), 0);
    EXPECT_EQ(static_cast<std::uint64_t>(st.st_ino), ids[level].inode) << level;
    chain.Leave();
  }

  // A closed folder replaced by another of the same name is not taken for it.
  OpenFolders again(false, 2);
  ASSERT_EQ(again.EnterSource(t / "r"), "");
  for (const char* n : {"1", "2", "3", "4"}) ASSERT_EQ(again.Enter(n), "");
  again.Leave();
  again.Leave();  // now at r/1/2, whose descriptor was closed
  ASSERT_EQ(rename((t / "r/1/2").c_str(), (t / "r/1/old").c_str()), 0);
  t.MakeDir("r/1/2");
  const platform::FolderHandle* folder = nullptr;
  EXPECT_NE(again.Current(folder), "");
}

}  // namespace
}  // namespace twinex::test

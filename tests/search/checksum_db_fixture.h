#pragma once
// A checksum database in a temporary folder, raw access to its tables, searches that use it and
// another process that holds its lock.
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>

#include "platform/process.h"
#include "search/checksum_db.h"
#include "search_fixture.h"

namespace twinex::test {

struct DbFolder {
  TempDir t;
  DatabaseLocation loc{t / "data/db/checksum.adb", t / "data/TwinexDB.lock"};

  DbFolder() { t.MakeDir("data/db"); }
  void Create() {
    ChecksumDatabase db(loc);
    std::string error;
    ASSERT_TRUE(db.Create_Checksum_Database(false, error)) << error;
  }
  // Straight to the file, past the program's lock: for setting up and checking.
  std::int64_t Query(const std::string& sql) const {
    db::Connection c;
    if (!c.Open(loc.file, false).empty()) return -1;
    db::Statement st(c, sql);
    return st.Step() == db::StepResult::Row ? st.Int(0) : -1;
  }
  std::string Exec(const std::string& sql) const {
    db::Connection c;
    std::string e = c.Open(loc.file, true);
    return e.empty() ? c.Execute(sql) : e;
  }
};

// Size and SHA-1 content over one folder, with the database on.
inline MainSettings ContentSearchSettings(const std::string& folder) {
  MainSettings m = SettingsFor({folder});
  m.search.Suchkriterien[kCritContent] = true;
  m.search.ContentCompare = 2;
  m.search.usedb = true;
  return m;
}

struct DbSearch {
  RecordingObserver observer;
  ScriptedPrompt prompt;
  SearchOutcome outcome;

  DbSearch(const MainSettings& m, const DatabaseLocation& loc) {
    SearchEnvironment env;
    env.database = loc;
    env.programTempFolder = "/nonexistent-twinex-temp";
    outcome = StartSearchForDups(m, env, observer, prompt);
  }
  const SearchCounters& counters() const { return outcome.search->counters; }
  std::size_t groups() const { return outcome.search->result.groups.size(); }
  std::size_t ErrorsWith(const std::string& part) const {
    std::size_t n = 0;
    for (const auto& e : observer.errors) n += e.find(part) != std::string::npos ? 1 : 0;
    return n;
  }
};

// Another process that holds a lock file for as long as this object lives.
class ForeignLock {
 public:
  explicit ForeignLock(const std::string& path)
      : holder_(popen(("exec flock -x '" + path + "' cat >/dev/null").c_str(), "w")) {
    for (int i = 0; i < 500 && !platform::LockFile::IsHeldElsewhere(path); ++i) usleep(10000);
  }
  ~ForeignLock() {
    if (holder_) pclose(holder_);  // cat sees the end of its input and the lock goes with it
  }

 private:
  FILE* holder_;
};

// Root writes to any file whatever its mode; without this capability the thread meets the
// permission bits like any user (for an ordinary user nothing changes).
class WithoutDacOverride {
 public:
  WithoutDacOverride() {
    if (syscall(SYS_capget, &header_, saved_) != 0) return;
    __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
    reduced[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
    active_ = syscall(SYS_capset, &header_, reduced) == 0;
  }
  ~WithoutDacOverride() {
    if (active_) syscall(SYS_capset, &header_, saved_);
  }

 private:
  __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct saved_[2]{};
  bool active_ = false;
};

}  // namespace twinex::test

// Two processes acting on one group: the keep check and the removal of a file never fall
// between another process's.
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "action_fixture.h"
#include "actions/action_lock.h"

namespace twinex::test {
namespace {

using ActionLock = ActionFixture;

TEST_F(ActionLock, ARunWaitsWhileAnotherProcessChangesFiles) {
  int g = Group("pair");
  std::string kept = Add(g, "a.txt", "pair", false);
  std::string victim = Add(g, "b.txt", "pair", true);
  const std::string lockPath = dir / kActionLockName;
  int locked[2], go[2];
  ASSERT_EQ(::pipe(locked), 0);
  ASSERT_EQ(::pipe(go), 0);
  const pid_t other = ::fork();
  ASSERT_GE(other, 0);
  if (other == 0) {
    // The other process: takes the lock, then removes the file this one keeps.
    platform::LockFile lock;
    char c = lock.TryLock(lockPath) ? 'y' : 'n';
    if (::write(locked[1], &c, 1) != 1 || ::read(go[0], &c, 1) != 1) ::_exit(1);
    ::_exit(::unlink(kept.c_str()) == 0 ? 0 : 1);
  }
  char c = 0;
  ASSERT_EQ(::read(locked[0], &c, 1), 1);
  ASSERT_EQ(c, 'y');

  FileManagerRequest r = Request(FileAction::Delete);
  r.lockPath = lockPath;
  FileManagerOutcome out;
  std::thread run([&] { out = Run(r); });
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_TRUE(Exists(victim));  // still waiting for the lock
  ASSERT_EQ(::write(go[1], "g", 1), 1);
  run.join();
  int status = 0;
  ::waitpid(other, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

  // The kept copy went while this run waited: its own file is now the last one and stays.
  EXPECT_FALSE(Exists(kept));
  EXPECT_EQ(ReadFile(victim), "pair");
  EXPECT_EQ(out.counters.deleted, 0u);
  for (int fd : {locked[0], locked[1], go[0], go[1]}) ::close(fd);
}

}  // namespace
}  // namespace twinex::test

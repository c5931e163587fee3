#include "platform/process.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/file_system.h"
#include "support/temp_dir.h"

namespace twinex::platform {
namespace {

TEST(LockFile, ALockHeldByAnotherProcessIsSeenAndRefused) {
  test::TempDir tmp;
  const std::string path = tmp / "Twinex4.lock";
  EXPECT_FALSE(LockFile::IsHeldElsewhere(path));
  EXPECT_FALSE(ExistFile(path));  // probing creates nothing

  int ready[2], release[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(release), 0);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    LockFile lock;
    char c = lock.TryLock(path) ? 'y' : 'n';
    if (write(ready[1], &c, 1) != 1) _exit(2);
    if (read(release[0], &c, 1) < 0) _exit(2);
    _exit(0);
  }
  char c = 0;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  ASSERT_EQ(c, 'y');
  EXPECT_TRUE(LockFile::IsHeldElsewhere(path));
  LockFile mine;
  EXPECT_FALSE(mine.TryLock(path));
  EXPECT_FALSE(mine.Locked());

  ASSERT_EQ(write(release[1], "x", 1), 1);
  int status = 0;
  waitpid(child, &status, 0);
  for (int fd : {ready[0], ready[1], release[0], release[1]}) close(fd);

  EXPECT_FALSE(LockFile::IsHeldElsewhere(path));
  EXPECT_TRUE(mine.TryLock(path));
  EXPECT_TRUE(LockFile::IsHeldElsewhere(path));
  mine.Unlock();
  EXPECT_FALSE(LockFile::IsHeldElsewhere(path));
}

TEST(RunProgram, ReportsWhyAProgramFailed) {
  EXPECT_EQ(RunProgram({"true"}), "");
  EXPECT_EQ(RunProgram({"sh", "-c", "echo 'not supported' >&2; echo ignored; exit 1"}), "not supported");
  EXPECT_EQ(RunProgram({"sh", "-c", "exit 4"}), "exit status 4");
  EXPECT_EQ(RunProgram({"sh", "-c", "kill -9 $$"}), "ended by signal 9");
  EXPECT_FALSE(RunProgram({"twinex-no-such-program"}).empty());
  EXPECT_FALSE(RunProgram({}).empty());
}

TEST(Process, FactsOfTheRunningProgram) {
  EXPECT_GT(ResidentMemoryBytes(), 0u);
  EXPECT_GT(PhysicalMemoryBytes(), ResidentMemoryBytes());
  EXPECT_EQ(FileNameOf(ExecutablePath()), "test_platform");
  setenv("TWINEX_TEST_VAR", "v", 1);
  EXPECT_EQ(GetEnv("TWINEX_TEST_VAR"), "v");
  unsetenv("TWINEX_TEST_VAR");
  EXPECT_EQ(GetEnv("TWINEX_TEST_VAR"), "");
}

}  // namespace
}  // namespace twinex::platform

// Lock files: shared holders coexist, an exclusive one waits for them, probes keep nothing.
#include "platform/lock_file.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace twinex::platform {
namespace {

TEST(LockFileModes, SharedHoldersCoexistAndKeepAnExclusiveWaiting) {
  test::TempDir dir;
  const std::string path = dir / "x.lock";
  LockFile a, b, c;
  ASSERT_TRUE(a.TryLock(path, LockMode::Shared));
  ASSERT_TRUE(b.TryLock(path, LockMode::Shared));
  EXPECT_FALSE(LockFile::IsHeldElsewhere(path));        // nobody holds it exclusively
  EXPECT_TRUE(LockFile::IsHeldElsewhere(path, true));   // but somebody holds it
  int tries = 0;
  EXPECT_EQ(c.Lock(path, LockMode::Exclusive, [&] { return ++tries < 3; }), "lock: given up");
  EXPECT_EQ(tries, 3);
  EXPECT_FALSE(c.Locked());
  a.Unlock();
  b.Unlock();
  EXPECT_EQ(c.Lock(path, LockMode::Exclusive, [] { return false; }), "");
  EXPECT_TRUE(LockFile::IsHeldElsewhere(path));
  LockFile moved = std::move(c);
  EXPECT_TRUE(moved.Locked());
  moved.Unlock();
  EXPECT_FALSE(LockFile::IsHeldElsewhere(path, true));
  LockFile d;
  EXPECT_EQ(d.Lock(dir / "no/such/folder.lock", LockMode::Exclusive, [] { return false; }).rfind("open: ", 0), 0u);
}

}  // namespace
}  // namespace twinex::platform

// The run lock on real files: one holder at a time, released with its
// holder, and a missing folder left to the opening to report.

#include "run/run_lock.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "support/test_server.h"

namespace typrosync {
namespace {

TEST(RunLockTest, OneHolderAtATimeNamedByItsProcessId) {
  test_support::TempDir dir;
  {
    RunLock first(dir.path());
    EXPECT_EQ(first.state(), RunLockState::kHeld);
    RunLock second(dir.path());
    EXPECT_EQ(second.state(), RunLockState::kBusy);
    EXPECT_EQ(second.detail(), std::to_string(getpid()));
  }
  RunLock after(dir.path());
  EXPECT_EQ(after.state(), RunLockState::kHeld);
  EXPECT_EQ(after.path(), dir.path() + "typrosync.lock");
  EXPECT_EQ(test_support::ReadFileBytes(after.path()), std::to_string(getpid()) + "\n");

  EXPECT_EQ(RunLock(dir.path() + "ontbreekt/").state(), RunLockState::kNoFolder);
  std::filesystem::create_directories(dir.path() + "map/typrosync.lock");
  RunLock blocked(dir.path() + "map/");
  EXPECT_EQ(blocked.state(), RunLockState::kFailed);
  EXPECT_NE(blocked.detail(), "");
}

}  // namespace
}  // namespace typrosync

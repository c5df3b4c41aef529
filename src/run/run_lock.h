#pragma once
// One run per administration at a time. A run holds an exclusive flock on
// "typrosync.lock" in the data folder from before it opens the
// administration until the process ends. The kernel drops the lock with the
// process, so a run that was killed never blocks the next one. The holder's
// process id is kept in the file for the message of a run that finds it taken.

#include <string>

namespace typrosync {

inline constexpr char kRunLockFile[] = "typrosync.lock";

enum class RunLockState {
  kHeld,      // this process holds the lock
  kBusy,      // another process holds it
  kNoFolder,  // the data folder does not exist; the opening reports that
  kFailed,    // the lock file could not be made or locked
};

class RunLock {
 public:
  // Tries to take the lock of `data_map` (a folder path ending in "/") once,
  // without waiting.
  explicit RunLock(const std::string& data_map);
  ~RunLock();  // releases the lock; the file stays
  RunLock(const RunLock&) = delete;
  RunLock& operator=(const RunLock&) = delete;

  RunLockState state() const { return state_; }
  const std::string& path() const { return path_; }
  // kBusy: the holder's process id ("" while it is not known yet);
  // kFailed: the reason.
  const std::string& detail() const { return detail_; }

 private:
  void Take();
  std::string path_;
  int fd_ = -1;
  RunLockState state_ = RunLockState::kFailed;
  std::string detail_;
};

}  // namespace typrosync

#include "run/run_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>

namespace typrosync {
namespace {

// The digits at the start of the lock file: the holder's process id.
std::string ReadHolder(int fd) {
  char buffer[32] = {};
  const ssize_t got = pread(fd, buffer, sizeof buffer - 1, 0);
  std::string pid;
  for (ssize_t i = 0; i < got && std::isdigit(static_cast<unsigned char>(buffer[i])); ++i) {
    pid += buffer[i];
  }
  return pid;
}

void WriteHolder(int fd) {
  const std::string pid = std::to_string(getpid()) + "\n";
  // The id only serves the message of a second run; failing to write it
  // does not weaken the lock.
  if (ftruncate(fd, 0) == 0) {
    [[maybe_unused]] const ssize_t written = pwrite(fd, pid.data(), pid.size(), 0);
  }
}

}  // namespace

RunLock::RunLock(const std::string& data_map) : path_(data_map + kRunLockFile) { Take(); }

RunLock::~RunLock() {
  if (fd_ >= 0) close(fd_);
}

void RunLock::Take() {
  // The file itself is never removed: the lock is the flock on it, which
  // the system drops when a crashed run's process ends, so no stale lock
  // can block the next scheduled run.
  fd_ = open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  // A missing data folder is its own case: the caller reports it as the
  // folder's fault, not as a lock problem.
  if (fd_ < 0) {
    state_ = errno == ENOENT || errno == ENOTDIR ? RunLockState::kNoFolder : RunLockState::kFailed;
    detail_ = std::strerror(errno);
    return;
  }
  // Never wait: a second run reports the first one and ends.
  int rc = 0;
  do {
    rc = flock(fd_, LOCK_EX | LOCK_NB);
  } while (rc != 0 && errno == EINTR);
  if (rc == 0) {
    state_ = RunLockState::kHeld;
    WriteHolder(fd_);
    return;
  }
  const int error = errno;
  state_ = error == EWOULDBLOCK ? RunLockState::kBusy : RunLockState::kFailed;
  // The holder's id is read only after our attempt failed; it may be empty
  // when the holder has not written it yet.
  detail_ = state_ == RunLockState::kBusy ? ReadHolder(fd_) : std::strerror(error);
  close(fd_);
  fd_ = -1;
}

}  // namespace typrosync

#include "transport/https_watchdog_windows.h"

#include <windows.h>
#include <winhttp.h>

#include <algorithm>

namespace typrosync {
namespace {

// How often a stop request is looked at: it has no way to wake us.
constexpr std::chrono::milliseconds kStopPoll(50);

}  // namespace

HttpsWatchdog::HttpsWatchdog(void* request, Limits limits)
    : request_(request), limits_(limits), thread_([this] { Watch(); }) {}

HttpsWatchdog::~HttpsWatchdog() { Finish(); }

void HttpsWatchdog::Connected() {
  std::lock_guard<std::mutex> lock(mutex_);
  connected_ = true;
}

bool HttpsWatchdog::Finish() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    finished_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
  return closed_;
}

long HttpsWatchdog::MillisecondsLeft() {
  std::lock_guard<std::mutex> lock(mutex_);
  return closed_ ? 0 : Left(Clock::now());
}

long HttpsWatchdog::Left(Clock::time_point now) {
  using std::chrono::duration_cast;
  using std::chrono::milliseconds;
  const long elapsed = static_cast<long>(duration_cast<milliseconds>(now - start_).count());
  long left = limits_.exchange_ms - elapsed;
  if (!connected_) left = std::min(left, limits_.connect_ms - elapsed);
  if (limits_.stop != nullptr && limits_.stop->StopRequested()) {
    if (!stop_noticed_) {
      stop_noticed_ = true;
      stop_seen_ = now;
    }
    const long since_stop =
        static_cast<long>(duration_cast<milliseconds>(now - stop_seen_).count());
    left = std::min(left, limits_.stop_grace_ms - since_stop);
  }
  return std::max(left, 0L);
}

void HttpsWatchdog::Watch() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (!finished_) {
    if (Left(Clock::now()) == 0) {
      // Closing the handle makes the blocked WinHTTP call return at once
      // with an error; the request is over.
      WinHttpCloseHandle(request_);
      closed_ = true;
      return;
    }
    wake_.wait_for(lock, kStopPoll);
  }
}

}  // namespace typrosync

#pragma once
// Windows builds only: the limits of one WinHTTP request that WinHTTP's own
// time-outs do not cover. WinHTTP times each send and receive; this thread
// ends the request when the connection (handshake included) is not up in
// time, when the whole exchange passes its deadline, and when a stop has
// been requested and its grace period is over. It ends the request by
// closing its handle, the documented way to cancel a synchronous request.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "common/stop_request.h"

namespace typrosync {

class HttpsWatchdog {
 public:
  struct Limits {
    long connect_ms = 60000;
    long exchange_ms = 120000;
    const StopRequest* stop = nullptr;
    long stop_grace_ms = 30000;
  };

  // `request` is the WinHTTP request handle (HINTERNET); it must stay open
  // until Finish() has returned.
  HttpsWatchdog(void* request, Limits limits);
  ~HttpsWatchdog();
  HttpsWatchdog(const HttpsWatchdog&) = delete;
  HttpsWatchdog& operator=(const HttpsWatchdog&) = delete;

  // The connection is up, secured and the headers are out: from now on the
  // connect limit is off.
  void Connected();
  // Milliseconds until the watchdog ends the request; 0 once it has. Each
  // blocking call is also given no longer than this, for a WinHTTP (Wine's)
  // that lets a call on a handle closed meanwhile run on to its own time-out.
  long MillisecondsLeft();
  // Ends the watch; true when the watchdog has closed the request handle,
  // which the caller must then not close again.
  bool Finish();

 private:
  using Clock = std::chrono::steady_clock;
  void Watch();
  long Left(Clock::time_point now);  // with the mutex held

  void* request_;
  Limits limits_;
  Clock::time_point start_ = Clock::now();
  Clock::time_point stop_seen_{};
  bool stop_noticed_ = false;
  bool connected_ = false;
  bool finished_ = false;
  bool closed_ = false;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::thread thread_;
};

}  // namespace typrosync

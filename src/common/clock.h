#pragma once
// The wall clock as a service, so tests can set the moment.

#include <memory>

namespace typrosync {

// A local date and time to the second.
struct LocalDateTime {
  int year = 1899;
  int month = 12;  // 1-12
  int day = 30;    // 1-31
  int hour = 0;
  int minute = 0;
  int second = 0;
  friend bool operator==(const LocalDateTime&, const LocalDateTime&) = default;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalDateTime Now() = 0;
};

// The process's local time.
std::unique_ptr<Clock> MakeSystemClock();

}  // namespace typrosync

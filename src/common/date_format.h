#pragma once
// A moment written with a date pattern, as the run stamps and the run log
// need them.

#include <string>
#include <string_view>

#include "common/clock.h"

namespace typrosync {

// Writes `moment` with `pattern`: yyyy four-digit year, dd two-digit day,
// mmm the locale's abbreviated month name (common/month_names.h), mm the
// two-digit month, or the minutes when it follows an hour; hh and HH the
// 24-hour hour, ss seconds. Other characters are copied.
// Examples: "yyyymmdd", "hhmmss", "yyyy-mm", "dd-mmm-yyyy HH:mm:ss".
std::string FormatMoment(const LocalDateTime& moment, std::string_view pattern);

}  // namespace typrosync

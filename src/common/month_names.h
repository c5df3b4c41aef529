#pragma once
// The locale's abbreviated month names, as the date patterns' "mmm" writes
// them: month_names.cpp asks the process locale (LC_TIME), and
// month_names_windows.cpp the user's regional settings.

#include <string>

namespace typrosync {

// The abbreviated name of month 1..12 in UTF-8; "" for any other number or
// when the locale has none.
std::string MonthAbbreviation(int month);

}  // namespace typrosync

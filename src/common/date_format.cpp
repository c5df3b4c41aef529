#include "common/date_format.h"

#include <cstdio>

#include "common/month_names.h"

namespace typrosync {

namespace {

std::string TwoDigits(int value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d", value);
  return buffer;
}

std::string FourDigits(int value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%04d", value);
  return buffer;
}

bool StartsWith(std::string_view text, size_t pos, std::string_view token) {
  return text.substr(pos, token.size()) == token;
}

}  // namespace

std::string FormatMoment(const LocalDateTime& moment, std::string_view pattern) {
  std::string out;
  bool after_hour = false;  // "mm" right after an hour means minutes
  for (size_t i = 0; i < pattern.size();) {
    if (StartsWith(pattern, i, "yyyy")) {
      out += FourDigits(moment.year);
      after_hour = false;
      i += 4;
    } else if (StartsWith(pattern, i, "mmm")) {
      out += MonthAbbreviation(moment.month);
      after_hour = false;
      i += 3;
    } else if (StartsWith(pattern, i, "mm")) {
      out += TwoDigits(after_hour ? moment.minute : moment.month);
      after_hour = false;
      i += 2;
    } else if (StartsWith(pattern, i, "dd")) {
      out += TwoDigits(moment.day);
      after_hour = false;
      i += 2;
    } else if (StartsWith(pattern, i, "hh") || StartsWith(pattern, i, "HH")) {
      out += TwoDigits(moment.hour);
      after_hour = true;
      i += 2;
    } else if (StartsWith(pattern, i, "ss")) {
      out += TwoDigits(moment.second);
      after_hour = false;
      i += 2;
    } else {
      out += pattern[i++];
    }
  }
  return out;
}

}  // namespace typrosync

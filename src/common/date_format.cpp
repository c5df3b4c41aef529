#include "common/date_format.h"

#include <cstdio>
#include <ctime>

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

// The abbreviated month name of the process locale (LC_TIME).
std::string MonthAbbreviation(int month) {
  if (month < 1 || month > 12) return "";
  std::tm moment{};
  moment.tm_mon = month - 1;
  moment.tm_mday = 1;
  moment.tm_year = 100;
  char buffer[64];
  const size_t length = std::strftime(buffer, sizeof buffer, "%b", &moment);
  return std::string(buffer, length);
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

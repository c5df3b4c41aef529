#include "common/month_names.h"

#include <ctime>

namespace typrosync {

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

}  // namespace typrosync

#include "common/date_format.h"

namespace typrosync {

std::string FormatMoment(const LocalDateTime&, std::string_view pattern) {
  return std::string(pattern);
}

}  // namespace typrosync

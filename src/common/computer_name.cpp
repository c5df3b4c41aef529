#include "common/computer_name.h"

#include <unistd.h>

namespace typrosync {

std::optional<std::string> PlatformHostName() {
  char buffer[256] = {};
  if (gethostname(buffer, sizeof buffer - 1) != 0) return std::nullopt;
  return std::string(buffer);  // up to the first NUL
}

}  // namespace typrosync

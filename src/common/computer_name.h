#pragma once
// The machine's name as the platform gives it; the run log cleans it up
// (ComputerNameFrom). computer_name.cpp asks POSIX, computer_name_windows.cpp
// asks Windows.

#include <optional>
#include <string>

namespace typrosync {

// The host name in UTF-8, or nothing when the platform cannot tell.
std::optional<std::string> PlatformHostName();

}  // namespace typrosync

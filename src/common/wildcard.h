#pragma once
// Wildcard matching of one name, as directory look-ups do it.

#include <string_view>

namespace typrosync {

// True when `name` matches `pattern` as a whole: "*" stands for any run of
// characters, "?" for one character, everything else for itself (exact).
bool MatchesWildcard(std::string_view pattern, std::string_view name);

}  // namespace typrosync

#pragma once
// The exact-match tests on the run's work lists: the whole entry must match,
// letter case ignored. O(1) through the lists' hash index.

#include <string>

#include "common/run_state.h"

namespace typrosync {

bool IsInUniek(const RunState& state, const std::string& text);
bool IsInOrderNr(const RunState& state, const std::string& text);
bool IsInRelNr(const RunState& state, const std::string& text);
bool IsInArtNr(const RunState& state, const std::string& text);

}  // namespace typrosync

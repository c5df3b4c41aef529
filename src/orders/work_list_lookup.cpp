#include "orders/work_list_lookup.h"

namespace typrosync {

bool IsInUniek(const RunState& state, const std::string& text) {
  return state.lstUniek.Contains(text);
}

bool IsInOrderNr(const RunState& state, const std::string& text) {
  return state.lstOrderNr.Contains(text);
}

bool IsInRelNr(const RunState& state, const std::string& text) {
  return state.lstRelNr.Contains(text);
}

bool IsInArtNr(const RunState& state, const std::string& text) {
  return state.lstArtNr.Contains(text);
}

}  // namespace typrosync

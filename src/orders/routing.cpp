#include "orders/routing.h"

#include <array>
#include <string_view>

#include "common/work_list.h"

namespace typrosync {
namespace {

// Words in the customer's group descriptions that send it to a platform;
// Crop-R also serves the Dacom customers, whose groups name Dacom.
constexpr std::array<std::string_view, 3> kCropRWoorden = {"crop-r", "cropr", "dacom"};
constexpr std::array<std::string_view, 3> kAgroVisionWoorden = {"agrovision", "agro vision",
                                                                "agro-vision"};

template <size_t N>
bool ContainsAnyOf(const std::string& tekst, const std::array<std::string_view, N>& woorden) {
  for (std::string_view woord : woorden) {
    if (tekst.find(woord) != std::string::npos) return true;
  }
  return false;
}

}  // namespace

void DetermineDestination(const std::string& relatiegroepen, Bestemming& bestemming) {
  // Case-folded once; a customer may go to both platforms.
  const std::string g = FoldCase(relatiegroepen);
  if (ContainsAnyOf(g, kCropRWoorden)) bestemming.bCropR = true;
  if (ContainsAnyOf(g, kAgroVisionWoorden)) bestemming.bAgroVision = true;
}

}  // namespace typrosync

#include "orders/routing.h"

#include <array>
#include <string_view>

#include "common/work_list.h"

namespace typrosync {
namespace {

// Words in the customer's group descriptions that send it to a platform;
// Crop-R also serves the Dacom customers, whose groups name Dacom.
constexpr std::array<std::string_view, 3> kCropRWords = {"crop-r", "cropr", "dacom"};
constexpr std::array<std::string_view, 3> kAgroVisionWords = {"agrovision", "agro vision",
                                                                "agro-vision"};

template <size_t N>
bool ContainsAnyOf(const std::string& text, const std::array<std::string_view, N>& words) {
  for (std::string_view word : words) {
    if (text.find(word) != std::string::npos) return true;
  }
  return false;
}

}  // namespace

void DetermineDestination(const std::string& relation_groups, Destination& destination) {
  // Case-folded once; a customer may go to both platforms.
  const std::string g = FoldCase(relation_groups);
  if (ContainsAnyOf(g, kCropRWords)) destination.bCropR = true;
  if (ContainsAnyOf(g, kAgroVisionWords)) destination.bAgroVision = true;
}

}  // namespace typrosync

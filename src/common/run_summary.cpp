#include "common/run_summary.h"

#include <algorithm>
#include <cmath>

namespace typrosync {
namespace {

std::string CountsText(const char* platform, const MessageCounts& counts) {
  return std::string(platform) + ": " + std::to_string(counts.sent) + " verstuurd, " +
         std::to_string(counts.refused) + " geweigerd, " + std::to_string(counts.failed) +
         " mislukt";
}

// One decimal with a decimal comma, whatever the process locale.
std::string SecondsText(double seconds) {
  const long tenths = std::lround(std::max(seconds, 0.0) * 10);
  return std::to_string(tenths / 10) + "," + std::to_string(tenths % 10) + " s";
}

}  // namespace

std::string SummaryLine(const RunSummary& summary, double seconds) {
  return "Samenvatting: " + std::to_string(summary.customers) + " klanten gelezen; " +
         CountsText("Crop-R", summary.cropr) + "; " + CountsText("AgroVision", summary.agrovision) +
         "; " + std::to_string(summary.orders_stamped) + " orders gestempeld; " +
         SecondsText(seconds);
}

}  // namespace typrosync

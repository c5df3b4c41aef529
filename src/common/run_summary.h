#pragma once
// What one run did, counted as it goes, for the one closing line of a
// headless run: customers read, messages per platform by how they ended, and
// orders stamped. Owned by the run (it lives in RunState).

#include <string>

namespace typrosync {

struct MessageCounts {
  long sent = 0;     // handed over and accepted
  long refused = 0;  // the receiver said no, or the settings did not allow sending
  long failed = 0;   // the exchange itself failed, or was not attempted after a failure
};

struct RunSummary {
  long customers = 0;  // customers whose order lines were read
  MessageCounts cropr;
  MessageCounts agrovision;
  long orders_stamped = 0;  // delivery marks written, one per order and platform
};

// "Samenvatting: ..." without a line end; `seconds` with one decimal.
std::string SummaryLine(const RunSummary& summary, double seconds);

}  // namespace typrosync

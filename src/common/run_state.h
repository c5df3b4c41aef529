#pragma once
// The run's own state: the sender identity, the current customer's delivery
// lines and the work lists of one run. Every member is read or written by
// the orders or message layer, so it lives here and not with the window;
// the window only shows the lines and stays open while bBezig is set (which
// the AgroVision delivery in the orders layer clears as well).

#include <string>

#include "common/delivery_line.h"
#include "common/run_summary.h"
#include "common/work_list.h"

namespace typrosync {

struct RunState {
  std::string sRunId;                            // yyyymmdd_hhmmss, taken at load
  std::string sDataMapArg;                       // the argument, with a final "/"
  std::string sZenderId = "KORVELDAM";           // sender id of every message
  std::string sLeveranciersNummer = "KORVELDAM"; // supplier number (AgroVision)
  bool bBezig = false;                           // while true the run may not be closed

  DeliveryLines lvwLeveringen;  // the delivery lines of the customer being handled

  WorkList lstArtNr;      // articles with an admission number...
  WorkList lstArtNrToel;  // ...and their admission numbers, index for index
  WorkList lstRelNr;      // candidate customers
  WorkList lstOrderNr;    // voucher-and-order pairs of one message
  WorkList lstUniek;      // voucher keys with an open segment in one message

  RunSummary summary;  // what the run did so far, for its closing line
};

}  // namespace typrosync

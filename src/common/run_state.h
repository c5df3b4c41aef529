#pragma once
// The run's own state: the members and hidden work lists of the main window,
// kept in a plain struct so the core can use them without any toolkit. The
// window only shows what is here.

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
  bool bBezig = false;                           // while true the window refuses to close

  DeliveryLines lvwLeveringen;  // the delivery lines of the customer being handled

  WorkList lstArtNr;      // articles with an admission number...
  WorkList lstArtNrToel;  // ...and their admission numbers, index for index
  WorkList lstRelNr;      // candidate customers
  WorkList lstOrderNr;    // voucher-and-order pairs of one message
  WorkList lstUniek;      // voucher keys with an open segment in one message

  RunSummary summary;  // what the run did so far, for its closing line
};

}  // namespace typrosync

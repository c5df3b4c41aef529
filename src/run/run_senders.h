#pragma once
// The transports of one run, built once by main and handed to the run
// sequence: HTTPS to Crop-R (cut short by a stop), FTP to AgroVision (asking
// the view when a transfer goes wrong), and the console's warning about a
// Crop-R message that was refused or could not be sent.

#include <memory>
#include <string>

#include "common/stop_request.h"
#include "common/user_interface.h"
#include "run/console_output.h"
#include "run/cropr_warnings.h"
#include "transport/ftp_delivery.h"
#include "transport/https_delivery.h"

namespace typrosync {

struct RunSenders {
  std::unique_ptr<HttpsSender> https;
  std::unique_ptr<FtpSender> ftp;
  std::unique_ptr<CropRWarnings> warnings;
};

// `data_map` as given on the command line; `stop`, `ui` and `output` must
// outlive the senders.
RunSenders MakeRunSenders(const std::string& data_map, const StopRequest& stop,
                          UserInterface& ui, ConsoleOutput& output);

}  // namespace typrosync

#pragma once
// The real message builders of a run: the delivery messages with the HTTPS
// and FTP senders they hand over to.

#include "common/stop_request.h"
#include "run/console_output.h"
#include "run/run_sequence.h"

namespace typrosync {

// `stop` and `output` must outlive the builders: a stop shortens the Crop-R
// request in flight, and a refused Crop-R message is a warning on `output`.
MessageBuildersFactory MakeDeliveryBuilders(const StopRequest& stop, ConsoleOutput& output);

}  // namespace typrosync

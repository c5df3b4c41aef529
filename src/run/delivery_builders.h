#pragma once
// The real message builders of a run: the delivery messages with the HTTPS
// and FTP senders they hand over to.

#include "common/stop_request.h"
#include "run/run_sequence.h"

namespace typrosync {

// `stop` must outlive the builders: a stop shortens the Crop-R request in flight.
MessageBuildersFactory MakeDeliveryBuilders(const StopRequest& stop);

}  // namespace typrosync

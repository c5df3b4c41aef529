#pragma once
// The real message builders of a run: the delivery messages with the HTTPS
// and FTP senders they hand over to.

#include "run/run_sequence.h"

namespace typrosync {

MessageBuildersFactory MakeDeliveryBuilders();

}  // namespace typrosync

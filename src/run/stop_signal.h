#pragma once
// SIGTERM, SIGINT and SIGHUP (what systemctl stop, Ctrl+C and a closed
// terminal send) no longer end the process at once: their handler only notes
// the signal, and the run stops before its next customer, after the message
// in flight has had its reply and its stamps.

#include <memory>

#include "common/stop_request.h"

namespace typrosync {

// Installs the handlers; the request reports the first of the signals that
// arrived. Call once per process, before the run starts.
std::unique_ptr<StopRequest> InstallStopSignals();

}  // namespace typrosync

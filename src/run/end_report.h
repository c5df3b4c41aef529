#pragma once
// The lines a run leaves on standard error when it ends badly, so that a cron
// mail or the journal says so without anybody opening the run log.

#include "common/clock.h"
#include "run/console_output.h"
#include "run/run_sequence.h"

namespace typrosync {

// After the run: an administration that did not open gets the one line
// naming why, a run without a data folder the usage text, and an ended run
// (status 2) a line naming its log file.
void ReportRunEnd(RunSequence& run, const std::string& data_map, Clock& clock,
                  ConsoleOutput& output);

}  // namespace typrosync

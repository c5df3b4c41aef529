#pragma once
// The lines a run leaves on standard error when it ends badly, so that a cron
// mail or the journal says so without anybody opening the run log.

#include "common/clock.h"
#include "run/console_output.h"
#include "run/run_sequence.h"

namespace typrosync {

// After the run: an ended run (status 2) names its log file as an error; a
// run without a data folder gets the usage text.
void ReportRunEnd(RunSequence& run, const std::string& data_map, Clock& clock,
                  ConsoleOutput& output);

}  // namespace typrosync

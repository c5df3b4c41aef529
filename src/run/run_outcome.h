#pragma once
// How a run ended; the process exit status.

namespace typrosync {

enum class RunOutcome : int {
  kFinished = 0,     // the run finished
  kNotOpened = 1,    // no argument, or the administration could not be opened
  kAborted = 2,      // the run ended on an error
  kOtherRunBusy = 3,  // another run of the same administration holds the run lock
};

}  // namespace typrosync

#pragma once
// How a run ended; the process exit status.

namespace typrosync {

enum class RunOutcome : int {
  kGereed = 0,          // the run finished
  kNietGeopend = 1,     // no argument, or the administration could not be opened
  kAfgebroken = 2,      // the run ended on an error
  kAndereRunBezig = 3,  // another run of the same administration holds the run lock
};

}  // namespace typrosync

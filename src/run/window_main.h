#pragma once
// The run with a display: the main window drives the run sequence.

#include "run/program_arguments.h"

namespace typrosync {

// One whole run in the window; returns the exit status.
int WindowMain(int& argc, char** argv, const ProgramArguments& arguments);

}  // namespace typrosync

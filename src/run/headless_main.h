#pragma once
// The run without a display: no toolkit at all, the console view on
// standard output and standard error.

#include "run/program_arguments.h"

namespace typrosync {

// One whole run; returns the exit status.
int HeadlessMain(const ProgramArguments& arguments);

}  // namespace typrosync

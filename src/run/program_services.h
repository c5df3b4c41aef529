#pragma once
// What every run of the program takes from the process, made once in main
// for the window and the headless run alike: standard output and error as
// the options and the journal ask, the stop signals, the clock, the database
// engine and the console view.

#include <memory>

#include "common/clock.h"
#include "common/stop_request.h"
#include "database/engine.h"
#include "run/console_output.h"
#include "run/console_view.h"
#include "run/program_arguments.h"

namespace typrosync {

struct ProgramServices {
  explicit ProgramServices(const ProgramArguments& arguments);
  ProgramServices(const ProgramServices&) = delete;
  ProgramServices& operator=(const ProgramServices&) = delete;

  OutputPolicy policy;
  ConsoleOutput output;
  std::unique_ptr<StopRequest> stop;
  std::unique_ptr<Clock> clock;
  std::unique_ptr<DatabaseEngine> engine;
  ConsoleView console;
};

}  // namespace typrosync

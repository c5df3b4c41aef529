#include "run/program_services.h"

#include <cstdlib>
#include <iostream>

#include "database/engine_choice.h"
#include "run/stop_signal.h"

namespace typrosync {
namespace {

OutputPolicy PolicyFor(const ProgramArguments& arguments) {
  OutputPolicy policy = OutputPolicyFromEnvironment();
  policy.quiet = arguments.quiet;
  return policy;
}

}  // namespace

// Members are made in their declared order: the output first, so that the
// console view writes through the quiet and journal filters.
ProgramServices::ProgramServices(const ProgramArguments& arguments)
    : policy(PolicyFor(arguments)),
      output(std::cout, std::cerr, policy),
      stop(InstallStopSignals()),
      clock(MakeSystemClock()),
      engine(MakeEngineFor(std::getenv("TYPROSYNC_ODBC"))),
      console(output.Out(), output.Err(), arguments.verbose, policy.journal) {}

}  // namespace typrosync

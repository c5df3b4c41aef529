#include "run/headless_main.h"

#include <chrono>
#include <clocale>
#include <cstdlib>
#include <iostream>
#include <memory>

#include "common/clock.h"
#include "database/engine_choice.h"
#include "run/console_view.h"
#include "run/run_senders.h"
#include "run/end_report.h"
#include "run/run_sequence.h"
#include "run/stop_signal.h"

namespace typrosync {

// Without a display the same run sequence reports to the console view, so
// a timer unit and a person at a desk see the same steps.
int HeadlessMain(const ProgramArguments& arguments) {
  // The toolkit takes the process locale from the environment at start; the
  // number texts and the month names of the log depend on it.
  std::setlocale(LC_ALL, "");
  const auto start = std::chrono::steady_clock::now();
  OutputPolicy policy = OutputPolicyFromEnvironment();
  policy.quiet = arguments.quiet;
  ConsoleOutput output(std::cout, std::cerr, policy);
  std::unique_ptr<StopRequest> stop = InstallStopSignals();
  std::unique_ptr<Clock> clock = MakeSystemClock();
  std::unique_ptr<DatabaseEngine> engine = MakeEngineFor(std::getenv("TYPROSYNC_ODBC"));
  ConsoleView console(output.Out(), output.Err(), arguments.verbose, policy.journal);
  RunSenders senders = MakeRunSenders(arguments.data_map, *stop, console, output);
  RunSequence run({*clock, *engine, GetComputerNaam(), senders.https.get(), senders.ftp.get(),
                   nullptr, senders.warnings.get(), stop.get()},
                  console);
  const RunOutcome outcome = RunToEnd(run, arguments.data_map);
  if (outcome == RunOutcome::kFinished || outcome == RunOutcome::kAborted) {
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    console.ShowSummary(run.state().summary, seconds.count());
  }
  ReportRunEnd(run, arguments.data_map, *clock, output);
  return static_cast<int>(outcome);
}

}  // namespace typrosync

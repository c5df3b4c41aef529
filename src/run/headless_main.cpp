#include "run/headless_main.h"

#include <chrono>
#include <clocale>

#include "run/end_report.h"
#include "run/program_services.h"
#include "run/run_senders.h"
#include "run/run_sequence.h"

namespace typrosync {

// Without a display the same run sequence reports to the console view, so
// a timer unit and a person at a desk see the same steps.
int HeadlessMain(const ProgramArguments& arguments) {
  // The toolkit takes the process locale from the environment at start; the
  // number texts and the month names of the log depend on it.
  std::setlocale(LC_ALL, "");
  const auto start = std::chrono::steady_clock::now();
  ProgramServices services(arguments);
  RunSenders senders =
      MakeRunSenders(arguments.data_map, *services.stop, services.console, services.output);
  RunSequence run({*services.clock, *services.engine, GetComputerNaam(), senders.https.get(),
                   senders.ftp.get(), nullptr, senders.warnings.get(), services.stop.get()},
                  services.console);
  const RunOutcome outcome = RunToEnd(run, arguments.data_map);
  if (outcome == RunOutcome::kFinished || outcome == RunOutcome::kAborted) {
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    services.console.ShowSummary(run.state().summary, seconds.count());
  }
  ReportRunEnd(run, arguments.data_map, *services.clock, services.output);
  return static_cast<int>(outcome);
}

}  // namespace typrosync

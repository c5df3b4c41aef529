#include "run/window_main.h"

#include <QApplication>
#include <cstdlib>
#include <iostream>
#include <memory>

#include "common/clock.h"
#include "database/engine_choice.h"
#include "run/console_view.h"
#include "run/end_report.h"
#include "run/frm_main.h"
#include "run/run_senders.h"
#include "run/run_sequence.h"
#include "run/stop_signal.h"

namespace typrosync {
namespace {

bool IsScreenless() {
  const QString platform = QGuiApplication::platformName();
  return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

}  // namespace

int WindowMain(int& argc, char** argv, const ProgramArguments& arguments) {
  QApplication app(argc, argv);
  OutputPolicy policy = OutputPolicyFromEnvironment();
  policy.quiet = arguments.quiet;
  ConsoleOutput output(std::cout, std::cerr, policy);
  std::unique_ptr<StopRequest> stop = InstallStopSignals();
  std::unique_ptr<Clock> clock = MakeSystemClock();
  std::unique_ptr<DatabaseEngine> engine = MakeEngineFor(std::getenv("TYPROSYNC_ODBC"));
  ConsoleView console(output.Out(), output.Err(), arguments.verbose, policy.journal);
  // A window nobody can see still runs the same sequence, and passes what it
  // shows to the console, so such a run reports as a headless one does.
  FrmMain window(IsScreenless() ? &console : nullptr);
  RunSenders senders = MakeRunSenders(arguments.data_map, *stop, window, output);
  RunSequence run({*clock, *engine, GetComputerNaam(), senders.https.get(), senders.ftp.get(),
                   nullptr, senders.warnings.get(), stop.get()},
                  window);
  window.Load(run, arguments.data_map);
  window.show();
  app.exec();
  // After the event loop: the window has closed and the run has ended.
  ReportRunEnd(run, arguments.data_map, *clock, output);
  return static_cast<int>(run.outcome());
}

}  // namespace typrosync

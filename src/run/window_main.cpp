#include "run/window_main.h"

#include <QApplication>

#include "run/end_report.h"
#include "run/frm_main.h"
#include "run/program_services.h"
#include "run/run_senders.h"
#include "run/run_sequence.h"

namespace typrosync {
namespace {

bool IsScreenless() {
  const QString platform = QGuiApplication::platformName();
  return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

}  // namespace

int WindowMain(int& argc, char** argv, const ProgramArguments& arguments) {
  QApplication app(argc, argv);
  ProgramServices services(arguments);
  // A window nobody can see still runs the same sequence, and passes what it
  // shows to the console, so such a run reports as a headless one does.
  FrmMain window(IsScreenless() ? &services.console : nullptr);
  RunSenders senders = MakeRunSenders(arguments.data_map, *services.stop, window, services.output);
  RunSequence run({*services.clock, *services.engine, GetComputerNaam(), senders.https.get(),
                   senders.ftp.get(), nullptr, senders.warnings.get(), services.stop.get()},
                  window);
  window.Load(run, arguments.data_map);
  window.show();
  app.exec();
  // After the event loop: the window has closed and the run has ended.
  ReportRunEnd(run, arguments.data_map, *services.clock, services.output);
  return static_cast<int>(run.outcome());
}

}  // namespace typrosync

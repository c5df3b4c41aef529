#include "run/window_main.h"

#include <QApplication>
#include <iostream>
#include <memory>

#include "common/clock.h"
#include "database/sqlite_engine.h"
#include "run/console_view.h"
#include "run/delivery_builders.h"
#include "run/frm_main.h"
#include "run/run_sequence.h"

namespace typrosync {
namespace {

bool ZonderScherm() {
  const QString platform = QGuiApplication::platformName();
  return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

}  // namespace

int WindowMain(int& argc, char** argv, const ProgramArguments& arguments) {
  QApplication app(argc, argv);
  std::unique_ptr<Clock> clock = MakeSystemClock();
  std::unique_ptr<DatabaseEngine> engine = MakeSqliteEngine();
  ConsoleView console(std::cout, std::cerr, arguments.verbose);
  FrmMain window(ZonderScherm() ? &console : nullptr);
  RunSequence run({*clock, *engine, GetComputerNaam(), MakeDeliveryBuilders()}, window);
  window.Load(run, arguments.data_map);
  window.show();
  app.exec();
  if (arguments.data_map.empty()) std::cerr << kGebruik;
  return static_cast<int>(run.outcome());
}

}  // namespace typrosync

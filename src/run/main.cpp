// typrosync DATAFOLDER: one sync run of the administration in DATAFOLDER.
// main() builds the services once, hands them to the run sequence and the
// window, and returns the run's outcome as the exit status.

#include <QApplication>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

#include "common/clock.h"
#include "database/sqlite_engine.h"
#include "run/console_view.h"
#include "run/frm_main.h"
#include "run/run_sequence.h"
#include "transport/ftp_delivery.h"
#include "transport/https_delivery.h"

namespace typrosync {
namespace {

constexpr const char* kUsage =
    "Gebruik: typrosync DATAMAP\n"
    "  Verstuurt de nog niet gemelde leveringen van de administratie in DATAMAP\n"
    "  naar Crop-R en AgroVision en stempelt de verstuurde orders.\n"
    "  Exit-status: 0 gereed, 1 geen datamap of administratie niet geopend,\n"
    "  2 synchronisatie afgebroken.\n"
    "  --help      deze tekst\n"
    "  --version   de versie\n";

// The whole command line after the program name is the data folder.
std::string DataMapArgument(int argc, char** argv) {
  std::string argument;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) argument += ' ';
    argument += argv[i];
  }
  return argument;
}

// Without a display Qt's offscreen platform is chosen, unless one was named.
void ChoosePlatform() {
  if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
  }
}

bool IsHeadless() {
  const QString platform = QGuiApplication::platformName();
  return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

int Run(int argc, char** argv) {
  const std::string argument = DataMapArgument(argc, argv);
  ChoosePlatform();
  QApplication app(argc, argv);
  std::unique_ptr<Clock> clock = MakeSystemClock();
  std::unique_ptr<DatabaseEngine> engine = MakeSqliteEngine();
  ConsoleView console(std::cout, std::cerr);
  FrmMain window(IsHeadless() ? &console : nullptr);
  // Both senders write into the data folder (bericht.xml, response.txt); the
  // FTP one asks the window when a transfer goes wrong.
  std::unique_ptr<HttpsSender> https = MakeHttpsSender(argument);
  std::unique_ptr<FtpSender> ftp = MakeFtpSender(argument, window);
  RunSequence run({*clock, *engine, GetComputerNaam(), https.get(), ftp.get()}, window);
  window.Load(run, argument);
  window.show();
  app.exec();
  if (!run.open_failure().empty()) {
    std::cerr << "typrosync: administratie niet geopend: " << run.open_failure() << '\n';
  }
  if (argument.empty()) std::cerr << kUsage;
  return static_cast<int>(run.outcome());
}

}  // namespace
}  // namespace typrosync

int main(int argc, char** argv) {
  const std::string first = argc > 1 ? argv[1] : "";
  if (argc == 2 && first == "--help") {
    std::cout << typrosync::kUsage;
    return 0;
  }
  if (argc == 2 && first == "--version") {
    std::cout << "typrosync " << TYPROSYNC_VERSION << "\n";
    return 0;
  }
  return typrosync::Run(argc, argv);
}

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
#include "message/delivery_message.h"
#include "run/console_view.h"
#include "run/frm_main.h"
#include "run/run_sequence.h"
#include "transport/ftp_delivery.h"
#include "transport/https_delivery.h"

namespace typrosync {
namespace {

constexpr const char* kGebruik =
    "Gebruik: typrosync DATAMAP\n"
    "  Verstuurt de nog niet gemelde leveringen van de administratie in DATAMAP\n"
    "  naar Crop-R en AgroVision en stempelt de verstuurde orders.\n"
    "  Exit-status: 0 gereed, 1 geen datamap of administratie niet geopend,\n"
    "  2 synchronisatie afgebroken.\n"
    "  --help      deze tekst\n"
    "  --version   de versie\n";

// The builders with the transports they send through, kept together so the
// senders live exactly as long as the builders.
class BerichtBouwers : public MessageBuilders {
 public:
  explicit BerichtBouwers(BuilderServices& s)
      : https_(MakeHttpsSender(s.log.DataMap())),
        ftp_(MakeFtpSender(s.log.DataMap(), s.ui)),
        bericht_(s.state, BerichtTabellenVan(s.admin), *https_, *ftp_, s.clock, s.log,
                 s.separators) {}

  bool BouwBerichtCropR(const std::string& sRelNr) override {
    return bericht_.BouwBerichtCropR(sRelNr);
  }
  void BouwBerichtAgroVision(const std::string& sRelNr) override {
    bericht_.BouwBerichtAgroVision(sRelNr);
  }

 private:
  std::unique_ptr<HttpsSender> https_;
  std::unique_ptr<FtpSender> ftp_;
  DeliveryMessage bericht_;
};

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
void KiesPlatform() {
  if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
  }
}

bool ZonderScherm() {
  const QString platform = QGuiApplication::platformName();
  return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

int Run(int argc, char** argv) {
  const std::string argument = DataMapArgument(argc, argv);
  KiesPlatform();
  QApplication app(argc, argv);
  std::unique_ptr<Clock> clock = MakeSystemClock();
  std::unique_ptr<DatabaseEngine> engine = MakeSqliteEngine();
  ConsoleView console(std::cout, std::cerr);
  FrmMain window(ZonderScherm() ? &console : nullptr);
  RunSequence run({*clock, *engine, GetComputerNaam(),
                   [](BuilderServices& s) { return std::make_unique<BerichtBouwers>(s); }},
                  window);
  window.Load(run, argument);
  window.show();
  app.exec();
  if (argument.empty()) std::cerr << kGebruik;
  return static_cast<int>(run.outcome());
}

}  // namespace
}  // namespace typrosync

int main(int argc, char** argv) {
  const std::string first = argc > 1 ? argv[1] : "";
  if (argc == 2 && first == "--help") {
    std::cout << typrosync::kGebruik;
    return 0;
  }
  if (argc == 2 && first == "--version") {
    std::cout << "typrosync " << TYPROSYNC_VERSION << "\n";
    return 0;
  }
  return typrosync::Run(argc, argv);
}

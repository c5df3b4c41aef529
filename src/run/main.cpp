// typrosync DATAFOLDER: one sync run of the administration in DATAFOLDER.
// main() builds the services once, hands them to the run sequence and the
// window, and returns the run's outcome as the exit status.

#include <QApplication>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

#include "common/clock.h"
#include "common/date_format.h"
#include "database/sqlite_engine.h"
#include "message/delivery_message.h"
#include "run/console_output.h"
#include "run/console_view.h"
#include "run/cropr_warnings.h"
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
    "  --quiet     alleen waarschuwingen en fouten (vóór DATAMAP)\n"
    "  --help      deze tekst\n"
    "  --version   de versie\n";

// The builders with the transports they send through, kept together so the
// senders live exactly as long as the builders.
class BerichtBouwers : public MessageBuilders {
 public:
  BerichtBouwers(BuilderServices& s, ConsoleOutput& output)
      : https_(std::make_unique<CropRWarnings>(MakeHttpsSender(s.log.DataMap()), output)),
        ftp_(MakeFtpSender(s.log.DataMap(), s.ui)),
        bericht_(s.state, BerichtTabellenVan(s.admin), *https_, *ftp_, s.clock, s.log) {}

  bool BouwBerichtCropR(const std::string& sRelNr) override {
    const bool ok = bericht_.BouwBerichtCropR(sRelNr);
    https_->ReportFor(sRelNr);
    return ok;
  }
  void BouwBerichtAgroVision(const std::string& sRelNr) override {
    bericht_.BouwBerichtAgroVision(sRelNr);
  }

 private:
  std::unique_ptr<CropRWarnings> https_;
  std::unique_ptr<FtpSender> ftp_;
  DeliveryMessage bericht_;
};

// The whole command line after the program name and its options is the data
// folder.
std::string DataMapArgument(int first, int argc, char** argv) {
  std::string argument;
  for (int i = first; i < argc; ++i) {
    if (i > first) argument += ' ';
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

int Run(int argc, char** argv, int first, OutputPolicy policy) {
  const std::string argument = DataMapArgument(first, argc, argv);
  ConsoleOutput output(std::cout, std::cerr, policy);
  KiesPlatform();
  QApplication app(argc, argv);
  std::unique_ptr<Clock> clock = MakeSystemClock();
  std::unique_ptr<DatabaseEngine> engine = MakeSqliteEngine();
  ConsoleView console(output.Out(), output.Err(), policy.journal);
  FrmMain window(ZonderScherm() ? &console : nullptr);
  RunSequence run(
      {*clock, *engine, GetComputerNaam(),
       [&output](BuilderServices& s) { return std::make_unique<BerichtBouwers>(s, output); }},
      window);
  window.Load(run, argument);
  window.show();
  app.exec();
  if (argument.empty()) std::cerr << kGebruik;
  if (run.outcome() == RunOutcome::kAfgebroken) {
    output.Report(Priority::kError, "typrosync: synchronisatie afgebroken; de fout staat in " +
                                        run.log().DataMap() + "typrosync-" +
                                        FormatMoment(clock->Now(), "yyyy-mm") + ".log");
  }
  return static_cast<int>(run.outcome());
}

}  // namespace
}  // namespace typrosync

int main(int argc, char** argv) {
  typrosync::OutputPolicy policy = typrosync::OutputPolicyFromEnvironment();
  const int args_start = typrosync::TakeOutputOptions(argc, argv, policy);
  const std::string first = argc > args_start ? argv[args_start] : "";
  if (argc == args_start + 1 && first == "--help") {
    std::cout << typrosync::kGebruik;
    return 0;
  }
  if (argc == args_start + 1 && first == "--version") {
    std::cout << "typrosync " << TYPROSYNC_VERSION << "\n";
    return 0;
  }
  return typrosync::Run(argc, argv, args_start, policy);
}

#include "run/program_arguments.h"

#include <cstdlib>
#include <string_view>

namespace typrosync {

const char* const kGebruik =
    "Gebruik: typrosync DATAMAP\n"
    "  Verstuurt de nog niet gemelde leveringen van de administratie in DATAMAP\n"
    "  naar Crop-R en AgroVision en stempelt de verstuurde orders.\n"
    "  Exit-status: 0 gereed, 1 geen datamap of administratie niet geopend,\n"
    "  2 synchronisatie afgebroken (ook na SIGTERM, SIGINT of SIGHUP: de run stopt\n"
    "  voor de volgende klant), 3 een andere run van deze administratie is bezig\n"
    "  (typrosync.lock in DATAMAP); er is dan niets verstuurd.\n"
    "  --verbose   zonder scherm ook de leverregels per klant als tabel\n"
    "  --help      deze tekst\n"
    "  --version   de versie\n";

ProgramArguments ParseProgramArguments(int argc, const char* const* argv) {
  ProgramArguments arguments;
  bool first = true;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--verbose") {
      arguments.verbose = true;
      continue;
    }
    if (!first) arguments.data_map += ' ';
    arguments.data_map += argument;
    first = false;
  }
  return arguments;
}

bool HasDisplay() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform != nullptr) {
    const std::string_view name = platform;
    if (name.starts_with("offscreen") || name.starts_with("minimal")) return false;
  }
  return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
}

}  // namespace typrosync

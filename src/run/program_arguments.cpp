#include "run/program_arguments.h"

#include <cstdlib>
#include <string_view>

namespace typrosync {

const char* const kUsage =
    "Gebruik: typrosync [--quiet] [--verbose] DATAMAP\n"
    "  Verstuurt de nog niet gemelde leveringen van de administratie in DATAMAP\n"
    "  naar Crop-R en AgroVision en stempelt de verstuurde orders.\n"
    "  Exit-status: 0 gereed, 1 geen datamap of administratie niet geopend,\n"
    "  2 synchronisatie afgebroken (ook na SIGTERM, SIGINT of SIGHUP: de run stopt\n"
    "  voor de volgende klant), 3 een andere run van deze administratie is bezig\n"
    "  (typrosync.lock in DATAMAP); er is dan niets verstuurd.\n"
    "  --quiet     alleen waarschuwingen en fouten (vóór DATAMAP)\n"
    "  --verbose   zonder scherm ook de leverregels per klant als tabel (vóór DATAMAP)\n"
    "  --help      deze tekst\n"
    "  --version   de versie\n";

ProgramArguments ParseProgramArguments(int argc, const char* const* argv) {
  ProgramArguments arguments;
  int i = 1;
  for (; i < argc; ++i) {
    const std::string_view argument = argv[i];
    // Options come before the data folder only, so a folder whose name starts
    // with "--" can still be given after "--".
    if (argument == "--") {
      ++i;
      break;
    }
    if (argument == "--verbose") {
      arguments.verbose = true;
    } else if (argument == "--quiet") {
      arguments.quiet = true;
    } else {
      break;
    }
  }
  // The rest is one folder: a path with spaces given unquoted by a scheduler
  // arrives as several arguments and is joined back with single spaces.
  for (int first = i; i < argc; ++i) {
    if (i > first) arguments.data_map += ' ';
    arguments.data_map += argv[i];
  }
  return arguments;
}

bool HasDisplay() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform != nullptr) {
    const std::string_view name = platform;
    // These platforms draw nowhere; a run under them is headless in effect.
    if (name.starts_with("offscreen") || name.starts_with("minimal")) return false;
  }
  return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
}

}  // namespace typrosync

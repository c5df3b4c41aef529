#pragma once
// The command line of typrosync as both entry points see it: the data folder,
// the options, the usage text, and whether the run gets a window.

#include <string>

namespace typrosync {

extern const char* const kUsage;

struct ProgramArguments {
  std::string data_map;  // every other argument, joined by spaces
  bool verbose = false;  // --verbose: each customer's delivery lines as a table
  bool quiet = false;    // --quiet: only warnings and errors on the console
};

// Leading "--quiet" and "--verbose" are options ("--" ends them); the rest is
// the data folder, taken whole, so a folder with spaces needs no quotes and
// an option word after the folder is part of it.
ProgramArguments ParseProgramArguments(int argc, const char* const* argv);

// True when there is a display to show a window on: DISPLAY or
// WAYLAND_DISPLAY is set and QT_QPA_PLATFORM does not name a platform
// without a screen (offscreen, minimal).
bool HasDisplay();

}  // namespace typrosync

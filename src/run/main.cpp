// typrosync DATAFOLDER: one sync run of the administration in DATAFOLDER.
// With a display the main window drives the run; without one (or without
// the toolkit in this build) the console view does, and no toolkit is loaded.

#include <iostream>
#include <string>

#include "run/headless_main.h"
#include "run/program_arguments.h"
#ifdef TYPROSYNC_WITH_QT
#include "run/window_main.h"
#endif

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
  const typrosync::ProgramArguments arguments = typrosync::ParseProgramArguments(argc, argv);
#ifdef TYPROSYNC_WITH_QT
  if (typrosync::HasDisplay()) return typrosync::WindowMain(argc, argv, arguments);
#endif
  return typrosync::HeadlessMain(arguments);
}

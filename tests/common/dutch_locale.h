#pragma once
// Switches the process locale for a test. A Dutch locale is used when the
// system has one; otherwise it is compiled once into a temporary folder with
// localedef and found through LOCPATH. Tests skip when neither works.

#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace typrosync::testing {

inline constexpr char kDutchLocale[] = "nl_NL.UTF-8";

// Sets every category of the process locale to Dutch; false when impossible.
inline bool UseDutchLocale() {
  if (std::setlocale(LC_ALL, kDutchLocale) != nullptr) return true;
  static const bool built = [] {
    const auto folder =
        std::filesystem::temp_directory_path() / ("typro-locale-" + std::to_string(getuid()));
    std::filesystem::create_directories(folder);
    const std::string command =
        "localedef -i nl_NL -f UTF-8 '" + (folder / kDutchLocale).string() + "' >/dev/null 2>&1";
    if (!std::filesystem::exists(folder / kDutchLocale) && std::system(command.c_str()) != 0) {
      return false;
    }
    setenv("LOCPATH", folder.c_str(), 1);
    return true;
  }();
  return built && std::setlocale(LC_ALL, kDutchLocale) != nullptr;
}

// Puts the process back to the "C" locale when the test ends.
struct CLocaleAfterTest {
  ~CLocaleAfterTest() { std::setlocale(LC_ALL, "C"); }
};

}  // namespace typrosync::testing

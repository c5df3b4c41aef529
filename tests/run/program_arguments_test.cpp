// The command line: the data folder may hold spaces, leading --quiet and
// --verbose are options, and only a real display gets a window.

#include "run/program_arguments.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace typrosync {
namespace {

ProgramArguments Parse(std::vector<const char*> words) {
  words.insert(words.begin(), "typrosync");
  return ParseProgramArguments(static_cast<int>(words.size()), words.data());
}

// A word that comes after the folder's first word is part of the folder;
// options are exact; "--" ends them.
TEST(ProgramArgumentsTest, DataFolderAndOptions) {
  const std::tuple<std::vector<const char*>, const char*, bool, bool> cases[] = {
      // words, data folder, verbose, quiet
      {{}, "", false, false},
      {{"/srv/302021/"}, "/srv/302021/", false, false},
      {{"/srv/mijn", "map/"}, "/srv/mijn map/", false, false},
      {{"--quiet", "--verbose", "/srv/a b/"}, "/srv/a b/", true, true},
      {{"/srv/mijn", "--verbose", "map/"}, "/srv/mijn --verbose map/", false, false},
      {{"/srv/a", "--quiet"}, "/srv/a --quiet", false, false},
      {{"--", "--quiet"}, "--quiet", false, false},
      {{"--quiet", "--", "--verbose"}, "--verbose", false, true},
      {{"--verbose"}, "", true, false},
      {{"--Verbose"}, "--Verbose", false, false}};
  for (const auto& [words, data_map, verbose, quiet] : cases) {
    const ProgramArguments arguments = Parse(words);
    EXPECT_EQ(arguments.data_map, data_map);
    EXPECT_EQ(std::pair(arguments.verbose, arguments.quiet), std::pair(verbose, quiet)) << data_map;
  }
}

TEST(ProgramArgumentsTest, OnlyARealDisplayGetsTheWindow) {
  const char* const names[] = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
  const std::pair<std::array<const char*, 3>, bool> cases[] = {  // as `names`; null: unset
      {{nullptr, nullptr, nullptr}, false},    {{":0", nullptr, nullptr}, true},
      {{nullptr, "wayland-0", nullptr}, true}, {{":0", nullptr, "offscreen"}, false},
      {{":0", nullptr, "minimal"}, false},     {{":0", nullptr, "xcb"}, true},
      {{nullptr, nullptr, "xcb"}, false}};
  std::optional<std::string> saved[3];
  for (int i = 0; i < 3; ++i)
    if (const char* value = std::getenv(names[i])) saved[i] = value;
  const auto put = [&](int i, const char* value) {
    value != nullptr ? setenv(names[i], value, 1) : unsetenv(names[i]);
  };
  for (const auto& [values, window] : cases) {
    for (int i = 0; i < 3; ++i) put(i, values[i]);
    EXPECT_EQ(HasDisplay(), window) << (values[0] ? values[0] : "-") << " "
                                    << (values[2] ? values[2] : "-");
  }
  for (int i = 0; i < 3; ++i) put(i, saved[i] ? saved[i]->c_str() : nullptr);
}

}  // namespace
}  // namespace typrosync

// The command line: the data folder may hold spaces, leading --quiet and
// --verbose are options, and only a real display gets a window.

#include "run/program_arguments.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace typrosync {
namespace {

ProgramArguments Parse(std::vector<const char*> words) {
  words.insert(words.begin(), "typrosync");
  return ParseProgramArguments(static_cast<int>(words.size()), words.data());
}

TEST(ProgramArgumentsTest, DataFolderAndOptions) {
  const struct {
    std::vector<const char*> words;
    const char* data_map;
    bool verbose;
    bool quiet;
  } cases[] = {
      {{}, "", false, false},
      {{"/srv/302021/"}, "/srv/302021/", false, false},
      {{"/srv/mijn", "map/"}, "/srv/mijn map/", false, false},
      {{"--verbose", "/srv/302021/"}, "/srv/302021/", true, false},
      {{"--quiet", "--verbose", "/srv/a b/"}, "/srv/a b/", true, true},
      {{"/srv/mijn", "--verbose", "map/"}, "/srv/mijn --verbose map/", false, false},
      {{"/srv/a", "--quiet"}, "/srv/a --quiet", false, false},  // part of the folder
      {{"--", "--quiet"}, "--quiet", false, false},
      {{"--quiet", "--", "--verbose"}, "--verbose", false, true},
      {{"--verbose"}, "", true, false},
      {{"--Verbose"}, "--Verbose", false, false},  // options are exact
  };
  for (const auto& c : cases) {
    const ProgramArguments arguments = Parse(c.words);
    EXPECT_EQ(arguments.data_map, c.data_map);
    EXPECT_EQ(arguments.verbose, c.verbose) << c.data_map;
    EXPECT_EQ(arguments.quiet, c.quiet) << c.data_map;
  }
}

TEST(ProgramArgumentsTest, OnlyARealDisplayGetsTheWindow) {
  const struct {
    const char* display;
    const char* wayland;
    const char* platform;
    bool window;
  } cases[] = {
      {nullptr, nullptr, nullptr, false},    {":0", nullptr, nullptr, true},
      {nullptr, "wayland-0", nullptr, true}, {":0", nullptr, "offscreen", false},
      {":0", nullptr, "minimal", false},     {":0", nullptr, "xcb", true},
      {nullptr, nullptr, "xcb", false},
  };
  std::vector<std::pair<const char*, std::optional<std::string>>> saved;
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
  }
  const auto put = [](const char* name, const char* value) {
    if (value != nullptr) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  };
  for (const auto& c : cases) {
    put("DISPLAY", c.display);
    put("WAYLAND_DISPLAY", c.wayland);
    put("QT_QPA_PLATFORM", c.platform);
    EXPECT_EQ(HasDisplay(), c.window)
        << (c.display ? c.display : "-") << " " << (c.platform ? c.platform : "-");
  }
  for (const auto& [name, value] : saved) put(name, value ? value->c_str() : nullptr);
}

}  // namespace
}  // namespace typrosync

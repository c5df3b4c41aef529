// Includes point down only: common <- database, transport <- message <-
// orders <- run, with ui beside them on common. Every quoted include of a
// file under src/ must name a folder its own folder may use.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>

namespace typrosync {
namespace {

namespace fs = std::filesystem;

const std::map<std::string, std::set<std::string>> kMayInclude = {
    {"common", {"common"}},
    {"database", {"common", "database"}},
    {"transport", {"common", "transport"}},
    {"message", {"common", "database", "message"}},
    {"orders", {"common", "database", "transport", "message", "orders"}},
    {"run", {"common", "database", "transport", "message", "orders", "run", "ui"}},
    {"ui", {"common", "ui"}},
};

TEST(LayeringTest, NoIncludePointsUp) {
  const std::regex include_line(R"(^\s*#\s*include\s*"([a-z_]+)/)");
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(TYPROSYNC_SOURCE_DIR "/src")) {
    if (!entry.is_regular_file()) continue;
    const fs::path relative = fs::relative(entry.path(), TYPROSYNC_SOURCE_DIR "/src");
    const std::string layer = relative.begin()->string();
    ASSERT_TRUE(kMayInclude.contains(layer)) << "a folder without a place: " << layer;
    std::ifstream file(entry.path());
    std::string line;
    std::smatch match;
    while (std::getline(file, line)) {
      if (std::regex_search(line, match, include_line)) {
        EXPECT_TRUE(kMayInclude.at(layer).contains(match[1].str()))
            << relative.string() << ": " << line;
      }
    }
    ++files;
  }
  EXPECT_GT(files, 100);  // the walk found the sources
}

}  // namespace
}  // namespace typrosync

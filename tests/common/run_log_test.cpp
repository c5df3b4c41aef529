// The monthly run log in a real temporary data folder, with a fake clock.

#include "common/run_log.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/test_support.h"

namespace typrosync {
namespace {

namespace fs = std::filesystem;

class RunLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    log_.SetDataMap(folder_.string() + "/");
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string Read(const std::string& month) const {
    std::ifstream file(folder_ / ("typrosync-2024-" + month + ".log"), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  }

  const fs::path folder_ = fs::temp_directory_path() / ("typro-runlog-" + std::to_string(getpid()));
  test_support::FakeClock clock_;
  test_support::QuietUi ui_;
  std::ostringstream warnings_;
  RunLog log_{clock_, ui_, "PC01", warnings_};
};

const std::string kPrefix = " : PC01            : BEHEER          : ";

// Each line takes its own time stamp (the file name takes one reading too);
// each month has its own file, and the stamp uses the locale's month name.
TEST_F(RunLogTest, LinesEmptyLinesErrorLinesAndMonths) {
  log_.LogRegel(PadRechts("SYNC", 10) + ": Datapath        : /data/");
  EXPECT_EQ(ui_.events, 2);
  clock_.step = 1;
  log_.LogRegel("");
  log_.LogRegel("", 5, "Ongeldige procedureaanroep");
  log_.LogRegel("tekst", 13, "Typen komen niet overeen");
  EXPECT_EQ(Read("03"),
            "05-Mar-2024 14:07:09" + kPrefix + "SYNC      : Datapath        : /data/\r\n" +
                "\r\n\r\n05-Mar-2024 14:07:11" + kPrefix +
                "ERROR     :  + Error        : 5 -> Ongeldige procedureaanroep\r\n" +
                "05-Mar-2024 14:07:13" + kPrefix + "tekst\r\n" + "05-Mar-2024 14:07:14" + kPrefix +
                "ERROR     :  + Error        : 13 -> Typen komen niet overeen\r\n");
  clock_.now = {2024, 10, 31, 23, 59, 59};
  clock_.step = 0;
  test_support::DutchLocale dutch;
  ASSERT_TRUE(dutch.active);
  log_.LogRegel("twee");
  EXPECT_EQ(Read("10"), "31-okt-2024 23:59:59" + kPrefix + "twee\r\n");
}

// A log that cannot be written stops nothing and is reported once per run.
TEST_F(RunLogTest, NothingWithoutDataFolderAndOneWarningForABadOne) {
  log_.SetDataMap("");
  log_.LogRegel("x", 1, "y");
  EXPECT_TRUE(fs::is_empty(folder_));
  EXPECT_EQ(ui_.events, 0);
  log_.SetDataMap(folder_.string() + "/missing/");
  EXPECT_NO_THROW(log_.LogRegel("x", 1, "y"));
  EXPECT_TRUE(fs::is_empty(folder_));
  EXPECT_EQ(ui_.events, 2);
  EXPECT_EQ(warnings_.str(), "typrosync: waarschuwing: het logbestand '" + folder_.string() +
                                 "/missing/typrosync-2024-03.log' kan niet worden geschreven; "
                                 "de run gaat door\n");
  log_.LogRegel("x");
  log_.SetDataMap(folder_.string() + "/");
  fs::create_directory(folder_ / "typrosync-2024-03.log");  // a folder where the file goes
  log_.LogRegel("x");
  const std::string warned = warnings_.str();
  EXPECT_EQ(std::count(warned.begin(), warned.end(), '\n'), 1);
}

TEST(RunLogTextTest, PadRechtsAndComputerNaam) {
  const std::pair<const char*, int16_t> widths[] = {
      {"AGROVISIONS", 10}, {"  SYNC  ", 6}, {"", 3}, {"abc", 0}, {"été", 4}, {"été", 2}};
  EXPECT_EQ(test_support::Joined(widths, [](auto c) { return PadRechts(c.first, c.second); }),
            "AGROVISION|SYNC  |   ||été |ét");
  EXPECT_EQ(test_support::ErrorNumber([] { PadRechts("x", -1); }), 5);
  EXPECT_EQ(test_support::Joined<std::optional<std::string>>(
                {"PC:01", ":/\\?!<>*\"|", std::string("host\0junk", 9), "", std::nullopt},
                ComputerNameFrom),
            "PC01|-|host|-|-");
  EXPECT_EQ(GetComputerNaam().find_first_of(":/\\?!<>*\"|"), std::string::npos);
}

}  // namespace
}  // namespace typrosync

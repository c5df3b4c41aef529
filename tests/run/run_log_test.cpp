// The monthly run log in a real temporary data folder, with a fake clock.

#include "run/run_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "common/dutch_locale.h"
#include "common/vb_error.h"

namespace typrosync {
namespace {

namespace fs = std::filesystem;

class FakeClock : public Clock {
 public:
  LocalDateTime Now() override {
    LocalDateTime moment = now;
    now.second += step;
    return moment;
  }
  LocalDateTime now{2024, 3, 5, 14, 7, 9};
  int step = 0;  // seconds added after each reading
};

class CountingUi : public UserInterface {
 public:
  void ProcessPendingEvents() override { ++events; }
  void SetBusyPointer(bool) override {}
  void ShowMessage(const std::string&, MessageIcon, const std::string&) override {}
  int events = 0;
};

class RunLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("typro-runlog-" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    log_.SetDataMap(folder_.string() + "/");
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string Read(const std::string& name) const {
    std::ifstream file(folder_ / name, std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    return content.str();
  }

  testing::CLocaleAfterTest restore_;
  FakeClock clock_;
  CountingUi ui_;
  RunLog log_{clock_, ui_, "PC01"};
  fs::path folder_;
};

TEST_F(RunLogTest, LineLayout) {
  log_.LogRegel(PadRechts("SYNC", 10) + ": Datapath        : " + "/data/");
  EXPECT_EQ(Read("typrosync-2024-03.log"),
            "05-Mar-2024 14:07:09 : PC01            : BEHEER          : "
            "SYNC      : Datapath        : /data/\r\n");
  EXPECT_EQ(ui_.events, 2);
}

// Each line takes its own time stamp (the file name takes one reading too).
TEST_F(RunLogTest, EmptyTextAndErrorLines) {
  clock_.step = 1;
  log_.LogRegel("");
  log_.LogRegel("", 5, "Ongeldige procedureaanroep");
  log_.LogRegel("tekst", 13, "Typen komen niet overeen");
  EXPECT_EQ(Read("typrosync-2024-03.log"),
            "\r\n"
            "\r\n"
            "05-Mar-2024 14:07:11 : PC01            : BEHEER          : "
            "ERROR     :  + Error        : 5 -> Ongeldige procedureaanroep\r\n"
            "05-Mar-2024 14:07:13 : PC01            : BEHEER          : tekst\r\n"
            "05-Mar-2024 14:07:14 : PC01            : BEHEER          : "
            "ERROR     :  + Error        : 13 -> Typen komen niet overeen\r\n");
}

TEST_F(RunLogTest, AppendsAndStartsANewFileEachMonth) {
  log_.LogRegel("een");
  log_.LogRegel("twee");
  clock_.now = {2024, 4, 1, 0, 0, 0};
  log_.LogRegel("drie");
  const std::string march = Read("typrosync-2024-03.log");
  EXPECT_NE(march.find("een\r\n"), std::string::npos);
  EXPECT_NE(march.find("twee\r\n"), std::string::npos);
  EXPECT_EQ(march.find("drie"), std::string::npos);
  EXPECT_EQ(Read("typrosync-2024-04.log"),
            "01-Apr-2024 00:00:00 : PC01            : BEHEER          : drie\r\n");
}

TEST_F(RunLogTest, DutchMonthInTheTimeStamp) {
  if (!testing::UseDutchLocale()) GTEST_SKIP() << "no Dutch locale available";
  clock_.now = {2024, 10, 31, 23, 59, 59};
  log_.LogRegel("x");
  EXPECT_EQ(Read("typrosync-2024-10.log"),
            "31-okt-2024 23:59:59 : PC01            : BEHEER          : x\r\n");
}

TEST_F(RunLogTest, WritesNothingWithoutDataFolder) {
  log_.SetDataMap("");
  log_.LogRegel("x", 1, "y");
  EXPECT_TRUE(fs::is_empty(folder_));
  EXPECT_EQ(ui_.events, 0);
}

TEST_F(RunLogTest, IgnoresAFolderThatCannotBeWritten) {
  log_.SetDataMap(folder_.string() + "/missing/");
  EXPECT_NO_THROW(log_.LogRegel("x", 1, "y"));
  EXPECT_FALSE(fs::exists(folder_ / "missing"));
  EXPECT_EQ(ui_.events, 2);
}

TEST(PadRechtsTest, TrimsThenPadsOrCuts) {
  const struct {
    const char* text;
    int16_t width;
    const char* padded;
  } cases[] = {
      {"SYNC", 10, "SYNC      "},
      {"AGROVISION", 10, "AGROVISION"},
      {"AGROVISIONS", 10, "AGROVISION"},
      {"  SYNC  ", 6, "SYNC  "},
      {"", 3, "   "},
      {"abc", 0, ""},
      {"\xC3\xA9t\xC3\xA9", 4, "\xC3\xA9t\xC3\xA9 "},
      {"\xC3\xA9t\xC3\xA9", 2, "\xC3\xA9t"},
  };
  for (const auto& c : cases) EXPECT_EQ(PadRechts(c.text, c.width), c.padded) << c.text;
  EXPECT_THROW(PadRechts("x", -1), VbError);
}

TEST(ComputerNaamTest, CleanedPlatformName) {
  EXPECT_EQ(ComputerNaamUit(std::string("PC:01")), "PC01");
  EXPECT_EQ(ComputerNaamUit(std::string(":/\\?!<>*\"|")), "-");
  EXPECT_EQ(ComputerNaamUit(std::string("host\0junk", 9)), "host");
  EXPECT_EQ(ComputerNaamUit(std::string()), "-");
  EXPECT_EQ(ComputerNaamUit(std::nullopt), "-");
  const std::string own = GetComputerNaam();
  EXPECT_FALSE(own.empty());
  EXPECT_EQ(own.find_first_of(":/\\?!<>*\"|"), std::string::npos);
}

}  // namespace
}  // namespace typrosync

// The program as operators and scripts see it: arguments, exit status,
// headless output and the log file, with no display at all.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "orders/test_administration.h"

namespace typrosync {
namespace {

using testing::OrderRegel;
using testing::RunProgram;
using testing::TestAdministratie;

bool HeeftLog(const std::filesystem::path& folder) {
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().filename().string().starts_with("typrosync-")) return true;
  }
  return false;
}

std::string LogVan(const std::filesystem::path& folder) {
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (!entry.path().filename().string().starts_with("typrosync-")) continue;
    std::ifstream file(entry.path(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  }
  return "";
}

class TyprosyncTest : public ::testing::Test {
 protected:
  void SetUp() override {
    admin_.Gebruiker("Handel Korvath");
    admin_.Groep(1, "Overig");
    admin_.Groep(2, "AgroVision");
    admin_.Artikel("A1", "NL-1");
  }

  int Run(const std::vector<std::string>& arguments) {
    return RunProgram(TYPROSYNC_EXE, arguments, {}, &out_, &err_);
  }

  TestAdministratie admin_;
  std::string out_;
  std::string err_;
};

TEST_F(TyprosyncTest, HelpAndVersion) {
  EXPECT_EQ(Run({"--version"}), 0);
  EXPECT_EQ(out_, "typrosync 1.0.0\n");
  EXPECT_EQ(Run({"--help"}), 0);
  EXPECT_NE(out_.find("typrosync DATAMAP"), std::string::npos);
}

TEST_F(TyprosyncTest, NotStartedIsStatusOneWithoutLog) {
  EXPECT_EQ(Run({}), 1);
  EXPECT_EQ(Run({(admin_.folder() / "bestaat-niet").string()}), 1);
  std::ofstream(admin_.folder() / "Archief.mdb", std::ios::trunc) << "kapot";
  EXPECT_EQ(Run({admin_.DataMap()}), 1);
  EXPECT_FALSE(HeeftLog(admin_.folder()));
}

TEST_F(TyprosyncTest, HeadlessRunPrintsItsStepsAndLogsTheFolder) {
  admin_.Relatie("1001", "Boer Jansen", "X");  // routed nowhere
  admin_.Order(OrderRegel{});
  EXPECT_EQ(Run({admin_.folder().string()}), 0) << err_;
  for (const char* text : {"Venster: Handel Korvath - TallyraPro - AutoSync\n",
                           "Status: Lezen van orders\n", "Status: Gereed\n", "Boer Jansen"}) {
    EXPECT_NE(out_.find(text), std::string::npos) << text << "\n" << out_;
  }
  EXPECT_NE(LogVan(admin_.folder()).find("SYNC      : Datapath        : " + admin_.DataMap()),
            std::string::npos);
}

TEST_F(TyprosyncTest, FailedTransferStillStampsAndAnswersItsMessageAtOnce) {
  admin_.Relatie("1001", "Boer Jansen", " X");  // AgroVision, without agrovision.ini
  admin_.Order(OrderRegel{});
  admin_.Meta("5001");
  EXPECT_EQ(Run({admin_.DataMap()}), 0) << err_;
  EXPECT_EQ(admin_.Marks("5001")->first.size(), 14u);
  EXPECT_NE(err_.find("Beheer - TallyraPro"), std::string::npos) << err_;
}

TEST_F(TyprosyncTest, EndingErrorIsStatusTwo) {
  admin_.Relatie("1001", "Boer Jansen", "X");
  OrderRegel regel;
  regel.korting = 5000;
  admin_.Order(regel);
  EXPECT_EQ(Run({admin_.DataMap()}), 2);
  const std::string log = LogVan(admin_.folder());
  EXPECT_NE(log.find("SYNC      : ERROR           : Synchronisatie afgebroken\r\n"),
            std::string::npos);
  EXPECT_NE(log.find("ERROR     :  + Error        : 13 -> "), std::string::npos);
}

}  // namespace
}  // namespace typrosync

// The program as operators and scripts see it: exit status, headless output
// and the log file, with no display at all.

#include <gtest/gtest.h>

#include <fstream>

#include "common/date_format.h"
#include "orders/test_administration.h"

namespace typrosync {
namespace {

class TyprosyncTest : public ::testing::Test {
 protected:
  void SetUp() override {
    admin_.Insert("UserGegevens", {{"Naam", "Handel Korvath"}});
    admin_.Insert("TabelRelatiegroepen", {{"Code", 2}, {"Omschrijving", "AgroVision"}});
    admin_.Artikel("A1", "NL-1");
  }
  int Run(const std::string& argument) {
    return testing::RunProgram(TYPROSYNC_EXE " " + argument, &out_);
  }

  testing::TestAdministratie admin_;
  const std::string log_ =
      admin_.DataMap() + "typrosync-" + FormatMoment(MakeSystemClock()->Now(), "yyyy-mm") + ".log";
  std::string out_;  // standard output and error
};

TEST_F(TyprosyncTest, NotStartedIsStatusOneWithoutLog) {
  EXPECT_EQ(Run(""), 1);
  EXPECT_NE(out_.find("Gebruik: typrosync [--quiet] [--verbose] DATAMAP"), std::string::npos) << out_;
  EXPECT_EQ(Run(admin_.DataMap() + "bestaat-niet"), 1);
  std::ofstream(admin_.DataMap() + "Archief.mdb", std::ios::trunc) << "kapot";
  EXPECT_EQ(Run(admin_.DataMap()), 1);
  EXPECT_FALSE(std::filesystem::exists(log_));
}

// Customer 1002 goes to AgroVision without agrovision.ini: the transfer fails,
// its message is answered at once, the order is stamped all the same.
TEST_F(TyprosyncTest, FinishedRunIsStatusZeroAndAnEndingErrorTwo) {
  admin_.Relatie("1001", "X", "Boer Jansen");  // routed nowhere
  admin_.Relatie("1002", "-X");
  admin_.Order();
  admin_.Order({{"RelNr", "1002"}, {"OrderNr", "5002"}});
  admin_.Meta("5002");
  EXPECT_EQ(Run(admin_.DataMap()), 0) << out_;
  EXPECT_NE(out_.find("Venster: Handel Korvath - TallyraPro - AutoSync\n"), std::string::npos);
  EXPECT_NE(out_.find("Status: Gereed\n"), std::string::npos) << out_;
  EXPECT_NE(out_.find("Beheer - TallyraPro: "), std::string::npos) << out_;
  // No toolkit in a headless run, no table without --verbose, one closing line.
  EXPECT_EQ(out_.find("QStandardPaths"), std::string::npos) << out_;
  EXPECT_EQ(out_.find("relnr."), std::string::npos) << out_;
  EXPECT_NE(out_.find("Samenvatting: 2 klanten gelezen; Crop-R: 0 verstuurd, 0 geweigerd, 0 "
                      "mislukt; AgroVision: 0 verstuurd, 1 geweigerd, 0 mislukt; 1 orders "
                      "gestempeld; "),
            std::string::npos)
      << out_;
  EXPECT_EQ(admin_.MarksOf("5002")->first.size(), 14u);
  EXPECT_NE(
      testing::ReadFile(log_).find("SYNC      : Datapath        : " + admin_.DataMap() + "\r\n"),
      std::string::npos);

  EXPECT_EQ(Run("--verbose " + admin_.DataMap()), 0) << out_;
  EXPECT_NE(out_.find("relnr."), std::string::npos) << out_;  // the table, though nothing is pending

  admin_.Order({{"OrderNr", 5003}, {"KortingPercentage", 5000}});
  EXPECT_EQ(Run(admin_.DataMap()), 2);
  // Also on standard error, so that --quiet and cron still tell.
  EXPECT_NE(out_.find("typrosync: synchronisatie afgebroken; de fout staat in " + log_ + "\n"),
            std::string::npos)
      << out_;
  EXPECT_NE(testing::ReadFile(log_).find("ERROR     :  + Error        : 13 -> "), std::string::npos)
      << testing::ReadFile(log_);
}

}  // namespace
}  // namespace typrosync

// The program as operators and scripts see it: exit status, headless output
// and the log file, with no display at all.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "e2e/admin_fixture.h"

namespace typrosync {
namespace {

class TyprosyncTest : public ::testing::Test {
 protected:
  void SetUp() override {
    admin_.Insert("UserGegevens", {{"Naam", "Handel Korvath"}});
    admin_.Insert("TabelRelatiegroepen", {{"Code", 2}, {"Omschrijving", "AgroVision"}});
    admin_.Artikel("A1", "NL-1");
  }
  int Run(const std::vector<std::string>& args) {
    const test_support::ProgramResult result = test_support::RunProgram(
        TYPROSYNC_PROGRAM, args, {}, "", {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"});
    out_ = result.out + result.err;
    return result.exit_code;
  }
  // The program's clock names the month, so the test takes whichever log
  // the run wrote rather than guessing the month (a run may cross into the
  // next one); "" when there is none.
  std::string Logs() const {
    std::string text;
    for (const auto& entry : std::filesystem::directory_iterator(admin_.folder())) {
      const std::string name = entry.path().filename().string();
      if (name.starts_with("typrosync-") && name.ends_with(".log"))
        text += test_support::ReadFileBytes(entry.path().string());
    }
    return text;
  }

  test_support::TestAdministratie admin_;
  std::string out_;  // standard output and error
};

TEST_F(TyprosyncTest, NotStartedIsStatusOneWithoutLog) {
  EXPECT_EQ(Run({}), 1);
  EXPECT_NE(out_.find("Gebruik: typrosync [--quiet] [--verbose] DATAMAP"), std::string::npos) << out_;
  EXPECT_EQ(Run({admin_.folder() + "bestaat-niet"}), 1);
  std::ofstream(admin_.folder() + "Archief.mdb", std::ios::trunc) << "kapot";
  EXPECT_EQ(Run({admin_.folder()}), 1);
  EXPECT_EQ(Logs(), "");
}

// Customer 1002 goes to AgroVision without agrovision.ini: the transfer fails,
// its message is answered at once, the order is stamped all the same.
TEST_F(TyprosyncTest, FinishedRunIsStatusZeroAndAnEndingErrorTwo) {
  admin_.Relatie("1001", "X", "Boer Jansen");  // routed nowhere
  admin_.Relatie("1002", "-X");
  admin_.Order();
  admin_.Order({{"RelNr", "1002"}, {"OrderNr", "5002"}});
  admin_.Meta("5002");
  EXPECT_EQ(Run({admin_.folder()}), 0) << out_;
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
  EXPECT_NE(Logs().find("SYNC      : Datapath        : " + admin_.folder() + "\r\n"),
            std::string::npos);

  EXPECT_EQ(Run({"--verbose", admin_.folder()}), 0) << out_;
  EXPECT_NE(out_.find("relnr."), std::string::npos) << out_;  // the table, though nothing is pending

  admin_.Order({{"OrderNr", 5003}, {"KortingPercentage", 5000}});
  EXPECT_EQ(Run({admin_.folder()}), 2);
  // Also on standard error, so that --quiet and cron still tell.
  EXPECT_NE(out_.find("typrosync: synchronisatie afgebroken; de fout staat in " + admin_.folder() +
                      "typrosync-"),
            std::string::npos)
      << out_;
  EXPECT_NE(Logs().find("ERROR     :  + Error        : 13 -> "), std::string::npos) << Logs();
}

}  // namespace
}  // namespace typrosync

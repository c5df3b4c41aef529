// The whole run without a window: start-up, the run, its outcome, the
// headless output and the error line that ends a run.

#include "run/run_sequence.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/vb_error.h"
#include "orders/recording_doubles.h"

namespace typrosync {
namespace {

using test_support::Marks;

class RunSequenceTest : public ::testing::Test, public test_support::SyncRun {
 protected:
  void SetUp() override {
    admin.Insert("TabelRelatiegroepen", {{"Code", 1}, {"Omschrijving", "AgroVision"}});
    admin.Artikel("A1", "NL-1");
  }
};

TEST_F(RunSequenceTest, FinishedRunShowsItsStepsAndLinesAlignedAsInTheWindow) {
  admin.Insert("UserGegevens", {{"Naam", "Handel Korvath"}});
  admin.Artikel("A12", "NL-22");
  admin.Relatie("1001", "X", "Boer Ås");
  admin.Order();
  admin.Order({{"LeverDatum", ""}, {"ArtNr", "A12"}, {"Aantal", 1250}, {"VerkoopPrijs", 12}});
  std::vector<bool> may_unload;
  on_call = [&](const auto&) { may_unload.push_back(run->MayUnload()); };
  // Without the final "/", which the run adds.
  EXPECT_EQ(Sync(std::filesystem::path(admin.folder()).parent_path()), RunOutcome::kFinished);
  EXPECT_EQ(may_unload, std::vector<bool>{false});  // closing is refused while busy
  EXPECT_EQ(run->state().sRunId, "20240301_123045");
  EXPECT_EQ(
      out.str(),
      "Voortgang: 0 %\nStatus: Geen activiteit.\n"
      "Venster: Handel Korvath - TallyraPro - AutoSync\n"
      "Status: Lezen van orders\nStatus: Versturen van orders\n"
      "relnr.  naam     woonplaats  magazijnbon  orderdatum   leverdatum  artnr  omschrijving  "
      "aantal  verkoopprijs  berekende prijs  toelatingsnr.  relatiegroep\n"
      "1001    Boer Ås  Emmen               MB1  5 jan 2024  10 jan 2024     A1  Middel 5 l    "
      "    10          2,50             2,50           NL-1    AgroVision\n"
      "1001    Boer Ås  Emmen               MB1  5 jan 2024                 A12  Middel 5 l    "
      "  1250         12,00            12,00          NL-22    AgroVision\n"
      "Status: Gereed\n");
  const std::string first =
      test_support::kLogPrefix + "SYNC      : Datapath        : " + admin.folder() + "\r\n";
  EXPECT_TRUE(admin.Log("2024-03").starts_with(first));
}

TEST_F(RunSequenceTest, AnEndingErrorIsLoggedAndEarlierStampsStay) {
  const struct {
    std::function<void()> raise;
    const char* error_line;
  } cases[] = {
      {[] { throw VbError(3260, "Record is vergrendeld"); }, "3260 -> Record is vergrendeld"},
      {[] { throw std::out_of_range("vector::at"); }, "51 -> Interne fout: vector::at"},
      {[] { throw 42; }, "51 -> Interne fout"},
  };
  for (const char* relnr : {"1001", "1002"}) {
    admin.Relatie(relnr, "X");
    admin.Order({{"RelNr", relnr}, {"OrderNr", std::string("5") + relnr}});
    admin.Meta(std::string("5") + relnr);
  }
  for (const auto& c : cases) {
    SCOPED_TRACE(c.error_line);
    on_call = [&c](const auto& call) {
      if (call.relnr == "1002") c.raise();
    };
    EXPECT_EQ(Sync(), RunOutcome::kAborted);
    EXPECT_TRUE(admin.Log("2024-03").ends_with(
        test_support::kLogPrefix + "SYNC      : ERROR           : Synchronisatie afgebroken\r\n" +
        test_support::kLogPrefix + "ERROR     :  + Error        : " + c.error_line + "\r\n"));
    EXPECT_EQ(admin.MarksOf("51001"), Marks("20240301123045", ""));
    EXPECT_EQ(admin.MarksOf("51002"), Marks("", ""));
    EXPECT_TRUE(run->MayUnload());
    EXPECT_TRUE(out.str().ends_with("Status: Synchronisatie afgebroken\n"));
  }
  EXPECT_EQ(out.str().find("Venster:"), std::string::npos);  // no user record, no caption
}

}  // namespace
}  // namespace typrosync

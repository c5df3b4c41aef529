// The headless console as cron mails it: short, in order, with one closing line.

#include "run/console_view.h"

#include <gtest/gtest.h>

#include <sstream>

namespace typrosync {
namespace {

DeliveryLines OneLine() {
  DeliveryLines lines(1);
  lines[0].column(kColRelNr) = "1001";
  return lines;
}

TEST(ConsoleViewTest, StatusWithoutDetailOnceAndProgressInStepsOfTen) {
  std::ostringstream out, err;
  ConsoleView view(out, err);
  view.SetProgress(0);
  view.SetStatus("Geen activiteit.");
  view.SetStatus("Lezen van orders");
  for (double p : {0.0, 3.0, 9.99, 10.0, 10.5, 57.0, 99.9}) {
    view.SetStatus("Lezen van orders ( " + std::to_string(static_cast<int>(p)) + " )");
    view.SetProgress(p);
  }
  view.SetStatus("Versturen van orders");
  view.SetProgress(4);  // a new phase starts low again
  view.SetStatus("Versturen van orders ( 1001 )");
  view.ShowDeliveryLines(OneLine());  // not verbose: no table
  view.SetStatus("Gereed");
  view.SetStatus("Gereed");
  EXPECT_EQ(out.str(),
            "Voortgang: 0 %\nStatus: Geen activiteit.\nStatus: Lezen van orders\n"
            "Voortgang: 10 %\nVoortgang: 50 %\nVoortgang: 90 %\n"
            "Status: Versturen van orders\nVoortgang: 0 %\nStatus: Gereed\n");
  EXPECT_EQ(err.str(), "");
}

TEST(ConsoleViewTest, VerboseShowsTheTableAndMessagesGoToStandardError) {
  std::ostringstream out, err;
  ConsoleView view(out, err, /*verbose=*/true);
  view.ShowDeliveryLines({});
  EXPECT_EQ(out.str(), "");
  view.ShowDeliveryLines(OneLine());
  EXPECT_EQ(out.str(), DeliveryLinesTable(OneLine()));
  view.ShowMessage("Er is geen FTP instelling aangetroffen.", MessageIcon::kInformation,
                   "Beheer - TallyraPro");
  EXPECT_EQ(err.str(), "Beheer - TallyraPro: Er is geen FTP instelling aangetroffen.\n");
}

TEST(ConsoleViewTest, SummaryLineCountsPerPlatform) {
  RunSummary summary{.customers = 20000, .cropr = {381, 2, 1}, .agrovision = {188, 0, 3},
                     .orders_stamped = 3852};
  std::ostringstream out, err;
  ConsoleView view(out, err);
  view.ShowSummary(summary, 7.84);
  EXPECT_EQ(out.str(),
            "Samenvatting: 20000 klanten gelezen; Crop-R: 381 verstuurd, 2 geweigerd, 1 mislukt; "
            "AgroVision: 188 verstuurd, 0 geweigerd, 3 mislukt; 3852 orders gestempeld; 7,8 s\n");
  EXPECT_EQ(SummaryLine(RunSummary{}, 0.04).substr(0, 40), "Samenvatting: 0 klanten gelezen; Crop-R:");
  EXPECT_TRUE(SummaryLine(RunSummary{}, 0.04).ends_with("; 0,0 s"));
}

}  // namespace
}  // namespace typrosync

#include "run/console_view.h"

#include <gtest/gtest.h>

#include <sstream>

namespace typrosync {
namespace {

DeliveryLine Regel(std::initializer_list<const char*> cells) {
  DeliveryLine line;
  size_t i = 0;
  for (const char* cell : cells) line.columns[i++] = cell;
  return line;
}

TEST(ConsoleViewTest, TableOfVisibleColumnsAlignedAsInTheWindow) {
  const DeliveryLines lines = {
      Regel({"1001", "Boer Ås", "Emmen", "MB1", "5 jan 2024", "10 jan 2024", "A1", "Middel 5 l",
             "10", "2,50", "2,50", "NL-1", "5001", "AgroVision"}),
      Regel({"1001", "Boer Ås", "Emmen", "MB22", "5 jan 2024", "", "A12", "Kort", "1.250", "12,00",
             "0,00", "NL-22", "5002", "AgroVision"})};
  const std::string expected =
      "relnr.  naam     woonplaats  magazijnbon  orderdatum   leverdatum  artnr  omschrijving  "
      "aantal  verkoopprijs  berekende prijs  toelatingsnr.  relatiegroep\n"
      "1001    Boer Ås  Emmen               MB1  5 jan 2024  10 jan 2024     A1  Middel 5 l    "
      "    10          2,50             2,50           NL-1    AgroVision\n"
      "1001    Boer Ås  Emmen              MB22  5 jan 2024                 A12  Kort          "
      " 1.250         12,00             0,00          NL-22    AgroVision\n";
  EXPECT_EQ(DeliveryLinesTable(lines), expected);
}

TEST(ConsoleViewTest, StatusChangesProgressStepsAndMessages) {
  std::ostringstream out;
  std::ostringstream err;
  ConsoleView view(out, err);
  view.SetStatus("Lezen van orders");
  view.SetStatus("Lezen van orders");
  view.SetProgress(10.2);
  view.SetProgress(10.9);
  view.SetProgress(11);
  view.ShowDeliveryLines({});
  view.ShowMessage("Bestand ontbreekt", MessageIcon::kCritical, "Beheer - TallyraPro");
  EXPECT_EQ(out.str(), "Status: Lezen van orders\nVoortgang: 10 %\nVoortgang: 11 %\n");
  EXPECT_EQ(err.str(), "Beheer - TallyraPro: Bestand ontbreekt\n");
}

}  // namespace
}  // namespace typrosync

// The order run on real administrations: which lines are pending, the rows
// they become, where they go, what is logged and what is stamped.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "orders/recording_doubles.h"

namespace typrosync {
namespace {

using test_support::Fields;
using test_support::Marks;

constexpr const char* kStempel = "20240301123045";

class OrderRunTest : public ::testing::Test, public test_support::SyncRun {
 protected:
  void SetUp() override {
    int code = 0;
    for (const char* groep :
         {"Crop-R klanten", "AgroVision", "Overig", "KLANTEN CROPR", "Dacom gebruikers",
          "AGRO VISION", "agro-vision", "crop r, agro_vision"})
      admin.Insert("TabelRelatiegroepen", {{"Code", ++code}, {"Omschrijving", groep}});
    admin.Artikel("A1", "NL-12345");
  }
};

TEST_F(OrderRunTest, WhichLinesArePending) {
  const Variant null = Variant::Null();
  admin.Artikel("A2", "");
  admin.Artikel("A3", null);
  // The line's changes, the AgroVision and Crop-R marks ({}: no meta record).
  struct Case {
    const char* name;
    Fields line;
    std::vector<Variant> meta;
    bool reported;
  } const cases[] = {
      {"no meta record", {}, {}, true}, {"meta with Null marks", {}, {null, null}, true},
      {"meta with empty marks", {}, {"", ""}, true},
      {"delivered to AgroVision", {}, {"20230101000000", null}, false},
      {"delivered to Crop-R", {}, {null, "2023"}, false},
      {"year 2018", {{"OrderDatum", "2018"}}, {}, true},
      {"year 2017", {{"OrderDatum", "20171231"}}, {}, false},
      {"date without year", {{"OrderDatum", ""}}, {}, false},
      {"no voucher", {{"MagazijnBonNr", ""}}, {}, false},
      {"Null voucher", {{"MagazijnBonNr", null}}, {}, false},
      {"article without admission", {{"ArtNr", "A2"}}, {}, false},
      {"article with Null admission", {{"ArtNr", "A3"}}, {}, false},
      {"unknown article", {{"ArtNr", "ZZ"}}, {}, false},
      {"article in other case", {{"ArtNr", "a1"}}, {}, true},
      {"unknown customer", {{"RelNr", "9999"}}, {}, false}};
  for (size_t i = 0; i < std::size(cases); ++i) {
    const std::string relnr = std::to_string(3001 + i), ordernr = std::to_string(6001 + i);
    admin.Relatie(relnr, "X");
    Fields line = {{"RelNr", relnr}, {"OrderNr", ordernr}};
    line.insert(line.end(), cases[i].line.begin(), cases[i].line.end());
    admin.Order(line);
    if (!cases[i].meta.empty()) admin.Meta(ordernr, cases[i].meta[0], cases[i].meta[1]);
  }
  admin.Relatie("ab1", "X");
  for (const char* relnr : {"ab1", "AB1"}) admin.Order({{"RelNr", relnr}, {"OrderNr", 7001}});
  ASSERT_EQ(Sync(), RunOutcome::kFinished);
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].name);
    const std::string call = "CROPR " + std::to_string(3001 + i) + " 1";
    EXPECT_EQ(std::ranges::count(Calls(), call), cases[i].reported ? 1 : 0);
  }
  // Customers of lines with a voucher, once, first appearance first, case ignored.
  EXPECT_EQ(run->state().lstRelNr.entries(),
            (std::vector<std::string>{"3001", "3002", "3003", "3004", "3005", "3006", "3007",
                                      "3008", "3011", "3012", "3013", "3014", "9999", "ab1"}));
}

// The quantity and price columns from stored Currency, double and text
// fields, and the admission column, row by row.
TEST_F(OrderRunTest, RowsOfACustomer) {
  admin.Relatie("1001", "X-X", "  Boer Jansen ", " Emmen ");
  admin.Artikel("A2", "");
  admin.Artikel("A4", "NL-4");
  admin.Artikel(" B1", "NL-B");
  const Variant none = Variant::Null();
  const char* names[] = {"Aantal",         "PrijsPer",          "VerkoopPrijs",
                         "FactuurGewicht", "KortingPercentage", "ArtNr"};
  struct Case {
    std::array<Variant, 6> fields;     // as `names`
    std::vector<std::string> columns;  // aantal, verkoopprijs, berekende prijs, toelatingsnr.
  } const cases[] = {
      // Untrimmed, the article is found but not its admission number: the
      // column shows the previous row's price instead.
      {{1, 1, 7, none, 0, " B1"}, {"1", "7,00", "7,00", "0,00"}},
      {{10, 1, 2.5, 0, 0, "A1"}, {"10", "2,50", "2,50", "NL-12345"}},
      {{250, 100, 40, none, 0, "A4"}, {"250", "40,00", "40,00", "NL-4"}},
      {{250, 100, 40, 0, 10, "A1"}, {"250", "40,00", "36,00", "NL-12345"}},
      // FactuurGewicht replaces Aantal as the basis, cut to PrijsPer's decimals.
      {{3, "1,00", 4, 0.4, 0, "A1"}, {"3,00", "4,00", "4,00", "NL-12345"}},
      {{3, 1, 4, 0.4, 0, "A1"}, {"3", "4,00", "0,00", "NL-12345"}},
      {{3, 1, 4, 0, 0, "A1"}, {"3", "4,00", "4,00", "NL-12345"}},
      // A PrijsPer below 1 divides by one less.
      {{10, 0, 2.5, none, 0, "A1"}, {"10", "2,50", "2,50", "NL-12345"}},
      {{10, 0.5, 2, none, 0, "A1"}, {"10,0", "2,00", "2,00", "NL-12345"}},
      // B is rounded to cents before the discount, N again after it.
      {{3, 1, 3.335, none, 12.5, "A1"}, {"3", "3,34", "2,92", "NL-12345"}},
      {{1, 100, 0.5, none, 0, "A1"}, {"1", "0,50", "1,00", "NL-12345"}},
      {{1, 1, 100, none, "25%", "A1"}, {"1", "100,00", "75,00", "NL-12345"}},
      {{2, 1, 1234.5, none, 0, "A1"}, {"2", "1.234,50", "1.234,50", "NL-12345"}},
      {{0, 1, 2.5, 0, 0, "A1"}, {"0", "2,50", "0,00", "NL-12345"}},
      {{1, 1, 7, none, 0, " B1"}, {"1", "7,00", "7,00", "2,50"}},
  };
  std::vector<std::string> keys;
  for (const Case& c : cases) {
    Fields line = {{"Omschrijving1", "Middel "}};
    for (size_t f = 0; f < c.fields.size(); ++f) line.emplace_back(names[f], c.fields[f]);
    keys.push_back(admin.Order(line));
  }
  ASSERT_EQ(Sync(), RunOutcome::kFinished);
  ASSERT_EQ(Calls(), std::vector<std::string>{"CROPR 1001 15"});
  const DeliveryLines& rows = calls[0].rows;
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    const auto& c = rows[i].columns;
    EXPECT_EQ(std::vector<std::string>(&c[kColAantal - 1], &c[kColToelatingsnr]), cases[i].columns);
    EXPECT_EQ(rows[i].tag, keys[i]);
    EXPECT_TRUE(rows[i].checked);
  }
  EXPECT_EQ(rows[1].columns,
            (std::array<std::string, 14>{"1001", "Boer Jansen", "Emmen", "MB1", "5 jan 2024",
                                         "10 jan 2024", "A1", "Middel  5 l", "10", "2,50", "2,50",
                                         "NL-12345", "5001", "Crop-R klanten, Overig"}));
}

// The groups as SetUp numbers them; "crop r, agro_vision" (8) names neither.
TEST_F(OrderRunTest, RelationGroupsChooseThePlatforms) {
  const std::string cropr = "CROPR ", agrovision = "AGROVISION ", both = cropr + agrovision;
  const std::pair<const char*, std::string> cases[] = {
      {"", ""},         {"--X", ""},           {"-------X", ""},       {"X", cropr},
      {"---x", cropr},  {"----X", cropr},      {"-X", agrovision},     {"-----X", agrovision},
      {"------X", agrovision},                 {"XX", both},           {"---X-X", both}};
  for (size_t i = 0; i < std::size(cases); ++i) {
    const std::string relnr = std::to_string(2001 + i), ordernr = std::to_string(8001 + i);
    admin.Relatie(relnr, cases[i].first);
    admin.Order({{"RelNr", relnr}, {"OrderNr", ordernr}});
    admin.Meta(ordernr);
  }
  ASSERT_EQ(Sync(), RunOutcome::kFinished);
  const std::string log = admin.Log("2024-03");
  std::map<std::string, std::string> platforms;
  for (const auto& call : calls) platforms[call.relnr] += call.platform + " ";
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].first);
    const std::string relnr = std::to_string(2001 + i);
    EXPECT_EQ(platforms[relnr], cases[i].second);
    if (!cases[i].second.empty()) continue;
    EXPECT_EQ(log.find(": " + relnr + "\r\n"), std::string::npos);
    EXPECT_EQ(admin.MarksOf(std::to_string(8001 + i)), Marks("", ""));
  }
}

TEST_F(OrderRunTest, StampsAndLogBlocksFollowTheBuildersAndTheAcknowledgement) {
  admin.Relatie("1001", "XX");  // both platforms, Crop-R acknowledges
  admin.Relatie("1002", "XX");  // both platforms, Crop-R refuses
  admin.Relatie("1003", "X");   // Crop-R only, refuses
  refused = {"1002", "1003"};
  for (const char* relnr : {"1001", "1001", "1002", "1003"})
    admin.Order({{"RelNr", relnr}, {"OrderNr", std::string("7") + relnr}});
  admin.Order({{"OrderNr", 81001}});  // no meta record: reported, never stamped
  for (const char* ordernr : {"71001", "71002", "71003"}) admin.Meta(ordernr);
  std::vector<Marks> during;
  on_call = [&](const auto& call) { during.push_back(admin.MarksOf("7" + call.relnr).value()); };
  ASSERT_EQ(Sync(), RunOutcome::kFinished);
  EXPECT_EQ(admin.MarksOf("71001"), Marks(kStempel, kStempel));
  EXPECT_EQ(admin.MarksOf("71002"), Marks(kStempel, ""));
  EXPECT_EQ(admin.MarksOf("71003"), Marks("", ""));
  EXPECT_EQ(admin.MarksOf("81001"), std::nullopt);
  // Nothing is stamped before its builder has run.
  const Marks leeg("", "");
  EXPECT_EQ(during, (std::vector<Marks>{leeg, {"", kStempel}, leeg, leeg, leeg}));

  const std::string& prefix = test_support::kLogPrefix;
  std::string expected = prefix + "SYNC      : Datapath        : " + admin.folder() + "\r\n";
  auto blok = [&](const std::string& soort, const char* relnr, char regels, bool ok) {
    expected += "\r\n" + prefix + soort + ": Relatienr.      : " + relnr + "\r\n" + prefix + soort +
                ": Aantal regels   : " + regels + "\r\n" + prefix + soort +
                ": Datum/tijdstip  : " + kStempel + "\r\n";
    if (ok) expected += prefix + soort + ": Status          : OK\r\n";
  };
  blok("CROPR     ", "1001", '3', true);
  blok("AGROVISION", "1001", '3', false);
  blok("CROPR     ", "1002", '1', false);
  blok("AGROVISION", "1002", '1', false);
  blok("CROPR     ", "1003", '1', false);
  EXPECT_EQ(admin.Log("2024-03"), expected);

  // The next run offers only what is not stamped.
  ASSERT_EQ(Sync(), RunOutcome::kFinished);
  EXPECT_EQ(Calls(),
            (std::vector<std::string>{"CROPR 1001 1", "AGROVISION 1001 1", "CROPR 1003 1"}));
  EXPECT_EQ(calls[0].rows[0].column(kColOrderNr), "81001");
}

TEST_F(OrderRunTest, StatusAndProgressEvery51Records) {
  admin.Relatie("1001", "");
  for (int i = 1; i <= 120; ++i) admin.Order({{"OrderNr", 6000 + i}});
  ASSERT_EQ(Sync(), RunOutcome::kFinished);
  // The console shows the status without its detail, progress in steps of 10 %:
  // the refreshes after records 51 (41 %) and 102 (84 %).
  EXPECT_NE(out.str().find("Status: Lezen van orders\nVoortgang: 40 %\nVoortgang: 80 %\n"
                           "Status: Versturen van orders\n"),
            std::string::npos)
      << out.str();
}

}  // namespace
}  // namespace typrosync

// The order run on real administrations: which lines are pending, the rows
// they become, where they go, what is logged and what is stamped.

#include <gtest/gtest.h>

#include <memory>

#include "common/date_format.h"
#include "common/locale_settings.h"
#include "database/sqlite_engine.h"
#include "orders/delivery_lines.h"
#include "orders/pending_orders.h"
#include "orders/recording_doubles.h"
#include "orders/test_administration.h"

namespace typrosync {
namespace {

using testing::FakeClock;
using testing::OrderRegel;
using testing::RecordingBuilders;
using testing::RecordingView;
using testing::TestAdministratie;

constexpr LocalDateTime kMoment{2024, 3, 1, 12, 30, 45};
constexpr const char* kStempel = "20240301123045";

class OrderRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gsDecimaalTeken = ",";
    gsDuizendTeken = ".";
    admin_.Groep(1, "Crop-R klanten");
    admin_.Groep(2, "AgroVision");
    admin_.Groep(3, "Overig");
    admin_.Artikel("A1", "NL-12345");
  }

  // One pass of the order run over the administration as it is now.
  void Run() {
    state_ = std::make_unique<RunState>();
    builders_ = std::make_unique<RecordingBuilders>(*state_);
    builders_->refused = refused_;
    builders_->on_call = on_call_;
    std::unique_ptr<Administratie> open = OpenAdministratie(admin_.DataMap(), *engine_, view_);
    ASSERT_TRUE(open);
    RunLog log(clock_, view_, "PC01");
    log.SetDataMap(admin_.DataMap());
    OrderContext ctx{*state_, *open, view_, log, clock_, *builders_};
    LeesToelatingsnummers(ctx);
    LeesOrders(ctx);
  }

  size_t Rows() const { return builders_->calls.empty() ? 0 : builders_->calls[0].rows.size(); }

  TestAdministratie admin_;
  FakeClock clock_{kMoment};
  RecordingView view_;
  std::unique_ptr<DatabaseEngine> engine_ = MakeSqliteEngine();
  std::unique_ptr<RunState> state_;
  std::unique_ptr<RecordingBuilders> builders_;
  std::set<std::string> refused_;
  std::function<void(const RecordingBuilders::Call&)> on_call_;
};

// Each case adds a Crop-R customer 1001 and one line; is the line reported?
struct SelectieCase {
  const char* name;
  std::function<void(TestAdministratie&, OrderRegel&)> prepare;
  bool reported;
};

TEST(OrderSelectionTest, EachTestOfALine) {
  const Variant null = Variant::Null();
  const SelectieCase cases[] = {
      {"pending line", [](auto&, auto&) {}, true},
      {"year 2018", [](auto&, auto& r) { r.orderdatum = "2018"; }, true},
      {"year 2017", [](auto&, auto& r) { r.orderdatum = "20171231"; }, false},
      {"date without year", [](auto&, auto& r) { r.orderdatum = ""; }, false},
      {"no voucher", [](auto&, auto& r) { r.magazijnbon = ""; }, false},
      {"Null voucher", [null](auto&, auto& r) { r.magazijnbon = null; }, false},
      {"delivered to AgroVision", [](auto& a, auto&) { a.Meta("5001", "20230101000000"); }, false},
      {"delivered to Crop-R", [null](auto& a, auto&) { a.Meta("5001", null, "2023"); }, false},
      {"meta with Null marks", [](auto& a, auto&) { a.Meta("5001"); }, true},
      {"meta with empty marks", [](auto& a, auto&) { a.Meta("5001", "", ""); }, true},
      {"article without admission",
       [](auto& a, auto& r) {
         a.Artikel("A2", "");
         r.artnr = "A2";
       },
       false},
      {"article with Null admission",
       [null](auto& a, auto& r) {
         a.Artikel("A3", null);
         r.artnr = "A3";
       },
       false},
      {"unknown article", [](auto&, auto& r) { r.artnr = "ZZ"; }, false},
      {"article in other case", [](auto&, auto& r) { r.artnr = "a1"; }, true},
      {"unknown customer", [](auto&, auto& r) { r.relnr = "9999"; }, false},
  };
  for (const SelectieCase& c : cases) {
    SCOPED_TRACE(c.name);
    gsDecimaalTeken = ",";
    TestAdministratie admin;
    admin.Groep(1, "Crop-R");
    admin.Artikel("A1", "NL-1");
    admin.Relatie("1001", "Boer", "X");
    OrderRegel regel;
    c.prepare(admin, regel);
    admin.Order(regel);
    RunState state;
    RecordingBuilders builders(state);
    RecordingView view;
    FakeClock clock(kMoment);
    auto engine = MakeSqliteEngine();
    auto open = OpenAdministratie(admin.DataMap(), *engine, view);
    ASSERT_TRUE(open);
    RunLog log(clock, view, "PC01");
    OrderContext ctx{state, *open, view, log, clock, builders};
    LeesToelatingsnummers(ctx);
    LeesOrders(ctx);
    EXPECT_EQ(builders.calls.size(), c.reported ? 1u : 0u);
  }
}

TEST_F(OrderRunTest, ArticleListsStayParallel) {
  admin_.Artikel("A2", "");
  admin_.Artikel("A3", Variant::Null());
  admin_.Artikel("A4", "NL-4");
  Run();
  EXPECT_EQ(state_->lstArtNr.entries(), (std::vector<std::string>{"A1", "A4"}));
  EXPECT_EQ(state_->lstArtNrToel.entries(), (std::vector<std::string>{"NL-12345", "NL-4"}));
}

TEST_F(OrderRunTest, CustomersOnceInOrderOfFirstAppearanceIgnoringCase) {
  admin_.Relatie("ab1", "Boer", "X");
  for (const char* relnr : {"2002", "ab1", "2002", "AB1", "3003"}) {
    OrderRegel regel;
    regel.relnr = relnr;
    admin_.Order(regel);
  }
  OrderRegel zonder_bon;
  zonder_bon.relnr = "4004";
  zonder_bon.magazijnbon = Variant::Null();
  admin_.Order(zonder_bon);
  Run();
  EXPECT_EQ(state_->lstRelNr.entries(), (std::vector<std::string>{"2002", "ab1", "3003"}));
}

TEST_F(OrderRunTest, RowColumnsTagAndCheckBox) {
  admin_.Relatie("1001", "  Boer Jansen ", "X X", " Emmen ");
  OrderRegel regel;
  regel.omschrijving1 = "Middel ";
  regel.artnr = "A1";
  const std::string sleutel = admin_.Order(regel);
  Run();
  ASSERT_EQ(view_.shown.size(), 1u);
  ASSERT_EQ(view_.shown[0].size(), 1u);
  const DeliveryLine& row = view_.shown[0][0];
  const std::array<std::string, 14> expected = {
      "1001", "Boer Jansen",           "Emmen", "MB1",  "5 jan 2024", "10 jan 2024",
      "A1",   "Middel  5 l",           "10",    "2,50", "2,50",       "NL-12345",
      "5001", "Crop-R klanten, Overig"};
  EXPECT_EQ(row.columns, expected);
  EXPECT_EQ(row.tag, sleutel);
  EXPECT_TRUE(row.checked);
}

TEST_F(OrderRunTest, UntrimmedArticleShowsThePreviousPriceAsAdmission) {
  // Found as stored, but the trimmed number is not in the list.
  admin_.Artikel(" B1", "NL-B");
  admin_.Relatie("1001", "Boer", "X");
  OrderRegel eerste;
  eerste.artnr = " B1";
  eerste.verkoop_prijs = 7;
  admin_.Order(eerste);
  admin_.Order(eerste);
  Run();
  ASSERT_EQ(Rows(), 2u);
  EXPECT_EQ(builders_->calls[0].rows[0].column(kColToelatingsnr), "0,00");
  EXPECT_EQ(builders_->calls[0].rows[1].column(kColToelatingsnr), "7,00");
}

// The amounts as the administration stores them (Currency prices, double
// quantities, a PrijsPer typed as text), read back through the database.
TEST_F(OrderRunTest, AmountsFromStoredFields) {
  admin_.Relatie("1001", "Boer", "X");
  struct Bedrag {
    Variant aantal, prijs_per, verkoop_prijs, factuur_gewicht, korting;
    const char* kolom9;
    const char* kolom10;
    const char* kolom11;
  } const cases[] = {
      {10, 1, 2.5, 0, 0, "10", "2,50", "2,50"},
      {250, 100, 40, Variant::Null(), 10, "250", "40,00", "36,00"},
      {3, "1,00", 3.33, 12.5, 0, "3,00", "3,33", "3,33"},
      {3, 1, 0.07, 12.5, 0, "3", "0,07", "0,07"},
      {10, 0, 2.5, 0, 0, "10", "2,50", "2,50"},
      {0, 1, 2.5, 0, 0, "0", "2,50", "0,00"},
  };
  for (const Bedrag& c : cases) {
    OrderRegel regel;
    regel.aantal = c.aantal;
    regel.prijs_per = c.prijs_per;
    regel.verkoop_prijs = c.verkoop_prijs;
    regel.factuur_gewicht = c.factuur_gewicht;
    regel.korting = c.korting;
    admin_.Order(regel);
  }
  Run();
  ASSERT_EQ(Rows(), std::size(cases));
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    const DeliveryLine& row = builders_->calls[0].rows[i];
    EXPECT_EQ(row.column(kColAantal), cases[i].kolom9);
    EXPECT_EQ(row.column(kColVerkoopprijs), cases[i].kolom10);
    EXPECT_EQ(row.column(kColBerekendePrijs), cases[i].kolom11);
  }
}

struct RouteCase {
  const char* groep;
  std::vector<std::string> platforms;
};

TEST(OrderRoutingTest, RelationGroupsChooseThePlatforms) {
  const RouteCase cases[] = {
      {"", {}},
      {"  X", {}},
      {"X", {"CROPR"}},
      {" X", {"AGROVISION"}},
      {"XX", {"CROPR", "AGROVISION"}},
      {"x x", {"CROPR"}},
      {"   x", {"CROPR"}},
  };
  for (const RouteCase& c : cases) {
    SCOPED_TRACE(c.groep);
    gsDecimaalTeken = ",";
    TestAdministratie admin;
    admin.Groep(1, "Crop-R");
    admin.Groep(2, "Agro Vision");
    admin.Groep(3, "Akkerbouw");
    admin.Groep(4, "DACOM");
    admin.Artikel("A1", "NL-1");
    admin.Relatie("1001", "Boer", c.groep);
    admin.Order({});
    admin.Meta("5001");
    RunState state;
    RecordingBuilders builders(state);
    RecordingView view;
    FakeClock clock(kMoment);
    auto engine = MakeSqliteEngine();
    auto open = OpenAdministratie(admin.DataMap(), *engine, view);
    ASSERT_TRUE(open);
    RunLog log(clock, view, "PC01");
    log.SetDataMap(admin.DataMap());
    OrderContext ctx{state, *open, view, log, clock, builders};
    LeesToelatingsnummers(ctx);
    LeesOrders(ctx);
    std::vector<std::string> platforms;
    for (const auto& call : builders.calls) platforms.push_back(call.platform);
    EXPECT_EQ(platforms, c.platforms);
    if (c.platforms.empty()) {
      EXPECT_EQ(admin.Log("2024-03").find("1001"), std::string::npos);
      EXPECT_EQ(admin.Marks("5001"), std::make_pair(std::string(), std::string()));
    }
  }
}

TEST_F(OrderRunTest, StampsFollowTheBuildersAndTheAcknowledgement) {
  admin_.Relatie("1001", "Boer", "XX");  // both platforms, Crop-R acknowledges
  admin_.Relatie("1002", "Boer", "XX");  // both platforms, Crop-R refuses
  admin_.Relatie("1003", "Boer", "X");   // Crop-R only, refuses
  for (const char* relnr : {"1001", "1002", "1003"}) {
    OrderRegel regel;
    regel.relnr = relnr;
    regel.ordernr = std::string("7") + relnr;
    admin_.Order(regel);
    admin_.Meta(regel.ordernr.Text());
  }
  refused_ = {"1002", "1003"};
  std::vector<std::optional<std::pair<std::string, std::string>>> during;
  on_call_ = [&](const RecordingBuilders::Call& call) {
    during.push_back(admin_.Marks("7" + call.relnr));
  };
  Run();
  using Marks = std::pair<std::string, std::string>;
  EXPECT_EQ(admin_.Marks("71001"), Marks(kStempel, kStempel));
  EXPECT_EQ(admin_.Marks("71002"), Marks(kStempel, ""));
  EXPECT_EQ(admin_.Marks("71003"), Marks("", ""));
  // Nothing is stamped before its builder has run.
  ASSERT_EQ(during.size(), 5u);
  EXPECT_EQ(during[0], Marks("", ""));
  EXPECT_EQ(during[1], Marks("", kStempel));
  EXPECT_EQ(during[2], Marks("", ""));
}

TEST_F(OrderRunTest, ThreeRowsOfTwoOrdersStampTwoMetaRecords) {
  admin_.Relatie("1001", "Boer", " X");
  OrderRegel regel;
  regel.ordernr = 5001;
  admin_.Order(regel);
  admin_.Order(regel);
  regel.ordernr = 5002;
  admin_.Order(regel);
  regel.ordernr = 5003;  // no meta record: reported, not stamped
  admin_.Order(regel);
  admin_.Meta("5001");
  admin_.Meta("5002", Variant::Null(), Variant::Null());
  Run();
  ASSERT_EQ(Rows(), 4u);
  using Marks = std::pair<std::string, std::string>;
  EXPECT_EQ(admin_.Marks("5001"), Marks(kStempel, ""));
  EXPECT_EQ(admin_.Marks("5002"), Marks(kStempel, ""));
  EXPECT_EQ(admin_.Marks("5003"), std::nullopt);

  Run();  // the next run offers only the order that could not be stamped
  ASSERT_EQ(Rows(), 1u);
  EXPECT_EQ(builders_->calls[0].rows[0].column(kColOrderNr), "5003");
}

TEST_F(OrderRunTest, LogBlocksPerDestination) {
  admin_.Relatie("1001", "Boer", "XX");
  admin_.Order({});
  admin_.Order({});
  admin_.Meta("5001");
  Run();
  const std::string prefix =
      FormatMoment(kMoment, "dd-mmm-yyyy HH:mm:ss") + " : PC01            : BEHEER          : ";
  std::string expected;
  for (const char* soort : {"CROPR     ", "AGROVISION"}) {
    expected += "\r\n";
    expected += prefix + soort + ": Relatienr.      : 1001\r\n";
    expected += prefix + soort + ": Aantal regels   : 2\r\n";
    expected += prefix + soort + ": Datum/tijdstip  : " + kStempel + "\r\n";
    if (std::string(soort) == "CROPR     ")
      expected += prefix + soort + ": Status          : OK\r\n";
  }
  EXPECT_EQ(admin_.Log("2024-03"), expected);
}

TEST_F(OrderRunTest, StatusEvery51Records) {
  admin_.Relatie("1001", "Boer", "");
  for (int i = 1; i <= 120; ++i) {
    OrderRegel regel;
    regel.ordernr = 6000 + i;
    admin_.Order(regel);
  }
  Run();
  EXPECT_EQ(view_.statuses,
            (std::vector<std::string>{"Lezen van orders", "Lezen van orders ( 6051 )",
                                      "Lezen van orders ( 6102 )", "Versturen van orders"}));
  ASSERT_EQ(view_.progress.size(), 2u);
  EXPECT_GT(view_.progress[1], view_.progress[0]);
}

}  // namespace
}  // namespace typrosync

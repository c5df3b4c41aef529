// What the order scan keeps of the lines against what a fresh read finds:
// the run's own stamps and another program's writes between two customers
// must show exactly as if every customer's lines were read when it comes.

#include <gtest/gtest.h>

#include "orders/recording_doubles.h"

namespace typrosync {
namespace {

using test_support::SyncRun;

// Two Crop-R customers, 1001 first with order 5001, which the run stamps.
void TwoCustomers(SyncRun& sync) {
  sync.admin.Insert("TabelRelatiegroepen", {{"Code", 1}, {"Omschrijving", "Crop-R klanten"}});
  sync.admin.Artikel("A1", "NL-12345");
  sync.admin.Artikel("A2", "");
  sync.admin.Relatie("1001", "X");
  sync.admin.Relatie("1002", "X");
  sync.admin.Order({{"RelNr", "1001"}, {"OrderNr", 5001}});
  sync.admin.Meta("5001");
}

// While customer 1001's message is built, another program changes the
// administration; customer 1002's line is order 5002. The connection takes
// up the change with 1001's stamp (until it writes, an open read may keep it
// on the state it began with, for kept and fresh reads alike).
TEST(KeptLinesTest, AnotherProgramWritesBetweenTwoCustomers) {
  const std::string meta = "UPDATE OrderGegevensMeta SET ", line = "UPDATE Ordergegevens SET ",
                    where = " WHERE OrderNr = 5002";
  const struct {
    const char* name;
    const char* meta_agrovision;  // 5002's AgroVision mark before the run; null: no meta record
    std::string between;          // SQL run by the other program during 1001's message
    int rows;                     // 1002's rows when sent; 0: not sent
    const char* quantity;         // the quantity column of 1002's first row
  } cases[] = {
      {"nothing changes", "", "SELECT 1", 1, "10"},
      {"a mark set", "", meta + "LeveringNaarDacom = '2024'" + where, 0, ""},
      {"a mark cleared", "20230101000000", meta + "LeveringNaarAgroVision = NULL" + where, 1, "10"},
      {"a meta record added with a mark", nullptr,
       "INSERT INTO OrderGegevensMeta VALUES (5002, '2024', NULL)", 0, ""},
      {"a line added", "",
       "INSERT INTO Ordergegevens (RelnrOrderdatumRegNrIndex, RelNr, OrderNr, OrderDatum, "
       "MagazijnBonNr, ArtNr, Aantal, PrijsPer, VerkoopPrijs) "
       "VALUES ('k9', 1002, 5009, '20240105', 'MB9', 'A1', 3, 1, 2)",
       2, "10"},
      {"a quantity changed", "", line + "Aantal = 7" + where, 1, "7"},
      {"an article without admission", "", line + "ArtNr = 'A2'" + where, 0, ""},
      {"a voucher taken back", "", line + "MagazijnBonNr = NULL" + where, 0, ""},
      {"a line deleted", "", "DELETE FROM Ordergegevens" + where, 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SyncRun sync;
    TwoCustomers(sync);
    sync.admin.Order({{"RelNr", "1002"}, {"OrderNr", 5002}});
    if (c.meta_agrovision != nullptr)
      sync.admin.Meta("5002", *c.meta_agrovision ? Variant(c.meta_agrovision) : Variant::Null());
    sync.on_call = [&](const SyncRun::Call& call) {
      if (call.relnr == "1001") sync.admin.Sql(c.between);
    };
    ASSERT_EQ(sync.Sync(), RunOutcome::kFinished);
    std::vector<std::string> calls = {"CROPR 1001 1"};
    if (c.rows > 0) calls.push_back("CROPR 1002 " + std::to_string(c.rows));
    ASSERT_EQ(sync.Calls(), calls);
    EXPECT_EQ(c.rows > 0 ? sync.calls[1].rows.front().column(kColAantal) : "", c.quantity);
  }
}

// The run's own stamps count for every later customer: an order stamped for
// one customer is not reported again for another whose line names it.
TEST(KeptLinesTest, OwnStampsCountForLaterCustomers) {
  SyncRun sync;
  TwoCustomers(sync);
  sync.admin.Order({{"RelNr", "1002"}, {"OrderNr", 5001}});
  sync.admin.Order({{"RelNr", "1002"}, {"OrderNr", 5002}});
  sync.admin.Meta("5002");
  ASSERT_EQ(sync.Sync(), RunOutcome::kFinished);
  EXPECT_EQ(sync.Calls(), (std::vector<std::string>{"CROPR 1001 1", "CROPR 1002 1"}));
  EXPECT_EQ(sync.calls[1].rows[0].column(kColOrderNr), "5002");
}

}  // namespace
}  // namespace typrosync

// The ODBC engine on a real Jet file through the MDBTools ODBC driver, which
// reads Jet files only and answers neither ORDER BY nor the index catalog.
// Each test prints which path the engine took.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iostream>

#include "database/database_test_support.h"
#include "database/engine_choice.h"
#include "database/odbc_engine.h"

namespace typrosync {
namespace {

using test_support::ErrorNumber;

class OdbcJetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(TYPROSYNC_JET_SAMPLE))
      GTEST_SKIP() << "no Jet sample at " << TYPROSYNC_JET_SAMPLE;
    std::filesystem::copy_file(TYPROSYNC_JET_SAMPLE, path_);
    original_ = test_support::ReadFileBytes(path_);
    db_ = engine_->OpenDatabase(path_, "");
  }
  std::unique_ptr<TableRecordset> Open(const std::string& table, const std::string& index) {
    std::unique_ptr<TableRecordset> rs = db_->OpenTable(table);
    rs->SetIndex(index);
    std::cout << "[ path     ] " << table << ": " << OdbcAccessPath(*rs) << '\n';
    return rs;
  }

  test_support::TempDir dir_;
  std::string path_ = dir_.path() + "nwind.mdb";
  std::string original_;
  std::unique_ptr<DatabaseEngine> engine_ = MakeOdbcEngine({"Driver=MDBTools;DBQ={file}"});
  std::unique_ptr<Database> db_;
};

// Without TYPROSYNC_ODBC the SQLite engine refuses the Jet file; with it
// the file goes to the driver.
TEST_F(OdbcJetTest, JetFileGoesToTheDriverOnlyWithTheVariableSet) {
  for (const char* setting : {static_cast<const char*>(nullptr), ""})
    EXPECT_EQ(ErrorNumber([&] { MakeEngineFor(setting)->OpenDatabase(path_, ""); }), 3343);
  EXPECT_EQ(MakeEngineFor("Driver=MDBTools;DBQ={file}")
                ->OpenDatabase(path_, "")->OpenTable("Shippers")->RecordCount(),
            3);
}

TEST_F(OdbcJetTest, ListsTheTablesAndRefusesUnknownNames) {
  const std::vector<std::string> tables = OdbcTableNames(*db_);
  for (const char* table : {"Customers", "Orders", "Order Details", "Products", "Employees"})
    EXPECT_NE(std::find(tables.begin(), tables.end(), table), tables.end()) << table;
  std::unique_ptr<TableRecordset> rs = db_->OpenTable("customers");
  EXPECT_EQ(rs->RecordCount(), 91);
  EXPECT_EQ(test_support::ErrorNumbers({[&] { db_->OpenTable("Bestaatniet"); },
                                        [&] { rs->SetIndex("Bestaatniet"); },
                                        [&] { rs->Field("Bestaatniet"); }}),
            "3078|3800|3265");
}

// Text, Null, a seek without regard to case and a walk on in key order.
TEST_F(OdbcJetTest, SeeksCustomersByTheirIdInKeyOrder) {
  std::unique_ptr<TableRecordset> rs = Open("Customers", "customerid");
  rs->Seek("alfki");
  ASSERT_FALSE(rs->NoMatch());
  EXPECT_EQ(rs->Field("CompanyName"), Variant("Alfreds Futterkiste"));
  EXPECT_EQ(rs->Field("City"), Variant("Berlin"));
  EXPECT_TRUE(rs->Field("Region").IsNull());
  rs->MoveNext();
  EXPECT_EQ(rs->Field("CustomerID"), Variant("ANATR"));
  rs->Seek("ZZZZZ");
  EXPECT_TRUE(rs->NoMatch());
  EXPECT_EQ(ErrorNumber([&] { rs->Field("City"); }), 3021);
}

// Long Integer, Integer, Currency (exact), Boolean and text of one product;
// a text key finds the number.
TEST_F(OdbcJetTest, ReadsEachKindOfProductField) {
  std::unique_ptr<TableRecordset> rs = Open("Products", "ProductID");
  rs->Seek("5");
  ASSERT_FALSE(rs->NoMatch());
  for (const auto& [name, value] : std::vector<std::pair<const char*, Variant>>{
           {"ProductID", int64_t{5}}, {"ProductName", "Chef Anton's Gumbo Mix"},
           {"UnitPrice", Currency::FromRaw(213500)}, {"UnitsInStock", int64_t{0}},
           {"Discontinued", true}})
    EXPECT_EQ(rs->Field(name), value) << name;
  rs->MoveNext();
  EXPECT_EQ(rs->Field("Discontinued"), Variant(false));
  EXPECT_EQ(rs->Field("UnitPrice"), Variant(Currency::FromRaw(250000)));
}

// Dates as Dutch date texts, and equal keys in the file's own order.
TEST_F(OdbcJetTest, ReadsDatesSinglesAndEqualKeysInFileOrder) {
  std::unique_ptr<TableRecordset> orders = Open("Orders", "OrderID");
  orders->Seek(10330);
  ASSERT_FALSE(orders->NoMatch());
  EXPECT_EQ(orders->Field("CustomerID"), Variant("LILAS"));
  EXPECT_EQ(orders->Field("OrderDate"), Variant("16-11-1994"));
  EXPECT_EQ(orders->Field("Freight"), Variant(Currency::FromRaw(127500)));
  std::unique_ptr<TableRecordset> lines = Open("Order Details", "OrderID");
  lines->Seek(10250);
  std::vector<std::pair<int64_t, double>> found;
  for (int i = 0; i < 3; ++i, lines->MoveNext()) {
    found.emplace_back(static_cast<int64_t>(lines->Field("ProductID").ToDouble()),
                       lines->Field("Discount").ToDouble());
  }
  EXPECT_EQ(found, (std::vector<std::pair<int64_t, double>>{
                       {41, 0.0}, {51, 0.15000001}, {65, 0.15000001}}));
  EXPECT_EQ(lines->Field("OrderID"), Variant(int64_t{10251}));
}

TEST_F(OdbcJetTest, UpdateFailsClearlyAndLeavesTheFileUnchanged) {
  std::unique_ptr<TableRecordset> rs = Open("Customers", "CustomerID");
  for (bool lock_edits : {true, false}) {
    rs->SetLockEdits(lock_edits);
    rs->Seek("ALFKI");
    rs->Edit();
    rs->SetField("City", "Utrecht");
    EXPECT_EQ(rs->Field("City"), Variant("Utrecht"));
    try {
      rs->Update();
      ADD_FAILURE() << "Update went through";
    } catch (const VbError& error) {
      EXPECT_EQ(error.number(), 3027);
      EXPECT_NE(std::string(error.what()).find("alleen"), std::string::npos) << error.what();
    }
    EXPECT_EQ(rs->Field("City"), Variant("Berlin"));
  }
  rs.reset();
  db_.reset();
  EXPECT_TRUE(test_support::ReadFileBytes(path_) == original_);
}

}  // namespace
}  // namespace typrosync

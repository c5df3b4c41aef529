// The SQLite recordset against real files: Jet's order and seek rules, and
// positions that survive writes by the same or another user.

#include <gtest/gtest.h>

#include "database/database_test_support.h"

namespace typrosync {
namespace {

using test_support::ErrorNumberOf;
using test_support::OtherUser;
using test_support::TempDir;
using test_support::TestTable;
using test_support::WriteDatabase;

TableDefinition Lines(const std::string& key_type) {
  return {"Regels",
          {{"Sleutel", key_type},
           {"Nr", "INTEGER"},
           {"Datum", "TEXT"},
           {"Bedrag", "CURRENCY"},
           {"Actief", "BOOLEAN"},
           {"Aantal", "DOUBLE"}},
          {{"Sleutel", {"Sleutel"}},
           {"PrimaryKey", {"Nr"}, true},
           {"SleutelDatum", {"Sleutel", "Datum"}}}};
}

class SqliteRecordsetTest : public ::testing::Test {
 protected:
  // Rows (Sleutel, Nr) in this insertion order; the other fields follow Nr.
  void Write(const std::vector<std::pair<Variant, int>>& rows,
             const std::string& key_type = "TEXT") {
    TestTable table{Lines(key_type), {"Sleutel", "Nr", "Datum", "Bedrag", "Actief", "Aantal"}, {}};
    for (const auto& [key, nr] : rows) {
      table.rows.push_back(
          {key, nr, "2024010" + std::to_string(nr % 10), 12.5 * nr, nr % 2 == 1, nr / 4.0});
    }
    WriteDatabase(path_, {table});
    db_ = engine_->OpenDatabase(path_, "");
    rs_ = db_->OpenTable("regels");
  }

  // The Nr of every row from the current one to the end.
  std::vector<int64_t> RestOfOrder(TableRecordset& rs) {
    std::vector<int64_t> order;
    while (!rs.IsEOF()) {
      order.push_back(static_cast<int64_t>(rs.Field("Nr").ToDouble()));
      rs.MoveNext();
    }
    return order;
  }
  std::vector<int64_t> Order(TableRecordset& rs) {
    rs.MoveFirst();
    return RestOfOrder(rs);
  }

  TempDir dir_;
  std::string path_ = dir_.path() + "regels.db";
  std::unique_ptr<DatabaseEngine> engine_ = MakeSqliteEngine({std::chrono::milliseconds(200)});
  std::unique_ptr<Database> db_;
  std::unique_ptr<TableRecordset> rs_;
};

TEST_F(SqliteRecordsetTest, WithoutIndexRowsComeInInsertionOrder) {
  Write({{"c", 3}, {"a", 1}, {"b", 2}});
  EXPECT_EQ(RestOfOrder(*rs_), (std::vector<int64_t>{3, 1, 2}));  // opened on the first row
  EXPECT_EQ(Order(*rs_), (std::vector<int64_t>{3, 1, 2}));
  EXPECT_EQ(ErrorNumberOf([&] { rs_->MoveNext(); }), 3021);
}

TEST_F(SqliteRecordsetTest, IndexOrderIgnoresCaseAndKeepsEqualKeysInInsertionOrder) {
  Write({{"b", 1}, {"A", 2}, {"a", 3}, {"B", 4}, {"a", 5}, {Variant::Null(), 6}});
  rs_->SetIndex("sleutel");
  EXPECT_EQ(rs_->Index(), "Sleutel");
  EXPECT_EQ(Order(*rs_), (std::vector<int64_t>{6, 2, 3, 5, 1, 4}));
}

TEST_F(SqliteRecordsetTest, SeekFindsTheFirstEqualKeyAndMovesOnThroughTheIndex) {
  Write({{"b", 1}, {"A", 2}, {"a", 3}, {"B", 4}, {"a", 5}, {"c", 6}});
  rs_->SetIndex("Sleutel");
  struct Case {
    Variant key;
    std::vector<int64_t> rest;  // empty: no match
  };
  const std::vector<Case> cases = {{"a", {2, 3, 5, 1, 4, 6}},
                                   {"A", {2, 3, 5, 1, 4, 6}},
                                   {"B", {1, 4, 6}},
                                   {"c", {6}},
                                   {"aa", {}},
                                   {"", {}},
                                   {Variant::Null(), {}}};
  for (const Case& c : cases) {
    rs_->Seek(c.key);
    EXPECT_EQ(rs_->NoMatch(), c.rest.empty()) << c.key.Text();
    if (!c.rest.empty()) {
      EXPECT_EQ(RestOfOrder(*rs_), c.rest) << c.key.Text();
    }
  }
}

TEST_F(SqliteRecordsetTest, FailedSeekLeavesNoCurrentRecord) {
  Write({{"a", 1}});
  rs_->SetIndex("Sleutel");
  rs_->Seek("z");
  EXPECT_TRUE(rs_->NoMatch());
  EXPECT_FALSE(rs_->IsEOF());
  EXPECT_EQ(ErrorNumberOf([&] { rs_->Field("Nr"); }), 3021);
  EXPECT_EQ(ErrorNumberOf([&] { rs_->MoveNext(); }), 3021);
}

TEST_F(SqliteRecordsetTest, TextAndNumberKeysFindEachOther) {
  struct Case {
    std::string stored_type;
    Variant stored;
    Variant sought;
  };
  const std::vector<Case> cases = {
      {"INTEGER", 1001, "1001"}, {"INTEGER", "1001", 1001},
      {"TEXT", 1001, "1001"},    {"TEXT", "1001", 1001},
      {"TEXT", "1001", 1001.0},  {"INTEGER", 1001, Currency::FromRaw(10010000)},
      {"TEXT", "AB-12", "ab-12"}};
  int round = 0;
  for (const Case& c : cases) {
    path_ = dir_.path() + "keys" + std::to_string(++round) + ".db";
    Write({{c.stored, 7}}, c.stored_type);
    rs_->SetIndex("Sleutel");
    rs_->Seek(c.sought);
    EXPECT_FALSE(rs_->NoMatch()) << c.stored_type << " " << c.sought.Text();
  }
}

TEST_F(SqliteRecordsetTest, MultiFieldIndexSeeksOnItsFirstField) {
  Write({{"b", 1}, {"a", 9}, {"a", 2}});
  rs_->SetIndex("SleutelDatum");
  rs_->Seek("A");
  ASSERT_FALSE(rs_->NoMatch());
  EXPECT_EQ(RestOfOrder(*rs_), (std::vector<int64_t>{2, 9, 1}));  // Datum 20240102 before 20240109
}

TEST_F(SqliteRecordsetTest, FieldsComeAsTheirDeclaredKind) {
  Write({{"a", 3}});
  rs_->MoveFirst();
  EXPECT_EQ(rs_->Field("sleutel"), Variant("a"));
  EXPECT_EQ(rs_->Field("NR"), Variant(int64_t{3}));
  EXPECT_EQ(rs_->Field("Bedrag"), Variant(Currency::FromRaw(375000)));
  EXPECT_EQ(rs_->Field("Actief"), Variant(true));
  EXPECT_EQ(rs_->Field("Aantal"), Variant(0.75));
  EXPECT_EQ(ErrorNumberOf([&] { rs_->Field("Onbekend"); }), 3265);
}

TEST_F(SqliteRecordsetTest, IndexErrors) {
  Write({{"a", 1}});
  EXPECT_EQ(ErrorNumberOf([&] { rs_->Seek("a"); }), 3019);
  EXPECT_EQ(ErrorNumberOf([&] { rs_->SetIndex("Bestaatniet"); }), 3800);
  EXPECT_EQ(ErrorNumberOf([&] { db_->OpenTable("Bestaatniet"); }), 3078);
}

TEST_F(SqliteRecordsetTest, EmptyTableIsAtItsEndAtOnce) {
  Write({});
  EXPECT_TRUE(rs_->IsEOF());
  rs_->MoveFirst();
  EXPECT_TRUE(rs_->IsEOF());
  EXPECT_EQ(rs_->RecordCount(), 0);
  EXPECT_EQ(rs_->PercentPosition(), 0);
}

TEST_F(SqliteRecordsetTest, PercentPositionFollowsTheOrderAndCountSeesOtherUsers) {
  Write({{"d", 1}, {"c", 2}, {"b", 3}, {"a", 4}});
  rs_->SetIndex("Sleutel");
  rs_->MoveFirst();
  EXPECT_EQ(rs_->PercentPosition(), 0);
  rs_->MoveNext();
  EXPECT_EQ(rs_->PercentPosition(), 25);
  rs_->Seek("c");
  EXPECT_EQ(rs_->PercentPosition(), 50);
  EXPECT_EQ(rs_->RecordCount(), 4);
  OtherUser other(path_);
  ASSERT_TRUE(other.Exec("INSERT INTO Regels (Sleutel, Nr) VALUES ('e', 5)"));
  rs_->MoveFirst();  // reading on from the start sees the other user's row
  EXPECT_EQ(rs_->RecordCount(), 5);
}

// A recordset in the middle of an index keeps its place when the connection
// writes, also after another user committed in between (an old read
// snapshot would otherwise make the write fail).
TEST_F(SqliteRecordsetTest, PositionSurvivesWritesOfTheSameConnection) {
  Write({{"a", 1}, {"b", 2}, {Variant::Null(), 3}, {"b", 4}, {"c", 5}});
  std::unique_ptr<TableRecordset> writer = db_->OpenTable("Regels");
  writer->SetIndex("PrimaryKey");
  for (const char* index : {"Sleutel", "PrimaryKey"}) {
    rs_->SetIndex(index);
    rs_->MoveFirst();
    rs_->MoveNext();
    const int64_t before = static_cast<int64_t>(rs_->Field("Nr").ToDouble());
    OtherUser other(path_);
    ASSERT_TRUE(other.Exec("UPDATE Regels SET Aantal = 9 WHERE Nr = 5"));
    writer->Seek(5);
    writer->Edit();
    writer->SetField("Datum", "20250101");
    writer->Update();
    EXPECT_EQ(rs_->Field("Nr").ToDouble(), before) << index;
    rs_->MoveNext();
    EXPECT_EQ(RestOfOrder(*rs_).size(), 3u) << index;
  }
}

TEST_F(SqliteRecordsetTest, NullKeysKeepTheirPlaceAfterAWrite) {
  Write({{Variant::Null(), 1}, {Variant::Null(), 2}, {"a", 3}});
  rs_->SetIndex("Sleutel");
  rs_->MoveFirst();
  std::unique_ptr<TableRecordset> writer = db_->OpenTable("Regels");
  writer->MoveFirst();
  writer->Edit();
  writer->SetField("Aantal", 1.5);
  writer->Update();
  rs_->MoveNext();
  EXPECT_EQ(RestOfOrder(*rs_), (std::vector<int64_t>{2, 3}));
}

TEST_F(SqliteRecordsetTest, GoToLastModifiedContinuesInIndexOrder) {
  Write({{"a", 1}, {"b", 2}, {"c", 3}});
  rs_->SetIndex("Sleutel");
  rs_->Seek("b");
  rs_->Edit();
  rs_->SetField("Datum", "20240505");
  rs_->Update();
  rs_->MoveFirst();
  rs_->GoTo(rs_->LastModified());
  EXPECT_EQ(rs_->Field("Datum"), Variant("20240505"));
  EXPECT_EQ(RestOfOrder(*rs_), (std::vector<int64_t>{2, 3}));
}

}  // namespace
}  // namespace typrosync

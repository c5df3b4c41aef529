// The recordset contract, run against both engines (SQLite, and ODBC through
// the SQLite ODBC driver) on the same real SQLite files. Pessimistic edits hold
// the write lock from Edit to Update, optimistic ones take it in Update.

#include <gtest/gtest.h>

#include <thread>

#include "database/database_test_support.h"
#include "database/odbc_engine.h"

namespace typrosync {
namespace {

using namespace std::chrono_literals;
using test_support::ErrorNumber;
using test_support::ErrorNumbers;
using test_support::OtherUser;
using Nrs = std::vector<int64_t>;
using Ms = std::chrono::milliseconds;

struct EngineCase {
  const char* name;
  std::unique_ptr<DatabaseEngine> (*make)(Ms busy_timeout);
};

const EngineCase kEngines[] = {
    {"Sqlite", [](Ms ms) { return MakeSqliteEngine({ms}); }},
    {"OdbcSqlite3", [](Ms ms) { return MakeOdbcEngine({"Driver=SQLite3;Database={file}", ms}); }},
};

// Edits the current record's Datum and writes it.
void SetDatum(TableRecordset& rs, const char* datum) {
  rs.Edit();
  rs.SetField("Datum", datum);
  rs.Update();
}

class RecordsetContractTest : public ::testing::TestWithParam<EngineCase> {
 protected:
  // Rows (Sleutel, Nr) in this insertion order; the other fields follow Nr.
  void Write(const std::vector<std::pair<Variant, int>>& rows, const std::string& type = "TEXT") {
    path_ = dir_.path() + "regels" + std::to_string(++files_) + ".db";
    const std::string types[] = {type, "INTEGER", "TEXT", "CURRENCY", "BOOLEAN", "DOUBLE"};
    test_support::TestTable table{
        {"Regels", {}, {{"Sleutel", {"Sleutel"}}, {"SleutelDatum", {"Sleutel", "Datum"}}}},
        {"Sleutel", "Nr", "Datum", "Bedrag", "Actief", "Aantal"},
        {}};
    table.definition.indexes.push_back({"PrimaryKey", {"Nr"}, true});
    for (size_t i = 0; i < 6; ++i) table.definition.fields.push_back({table.fields[i], types[i]});
    for (const auto& [key, nr] : rows)
      table.rows.push_back({key, nr, "2024010" + std::to_string(nr), 12.5 * nr, nr % 2, nr / 4.0});
    test_support::WriteDatabase(path_, {table});
    db_ = engine_->OpenDatabase(path_, "");
    rs_ = db_->OpenTable("regels");
  }
  // Datum of the first row as a new connection reads it.
  std::string Stored() {
    return engine_->OpenDatabase(path_, "")->OpenTable("Regels")->Field("Datum").Text();
  }
  // The Nr of every row from the current one to the end.
  Nrs Rest() {
    Nrs order;
    for (; !rs_->IsEOF(); rs_->MoveNext()) order.push_back(rs_->Field("Nr").ToDouble());
    return order;
  }

  test_support::TempDir dir_;
  int files_ = 0;
  std::string path_;
  std::unique_ptr<DatabaseEngine> engine_ = GetParam().make(1000ms);
  std::unique_ptr<Database> db_;
  std::unique_ptr<TableRecordset> rs_;
};

TEST_P(RecordsetContractTest, IndexOrderIgnoresCaseAndKeepsEqualKeysInInsertionOrder) {
  Write({{"b", 1}, {"A", 5}, {"a", 3}, {"B", 4}, {"a", 2}, {"c", 6}});
  EXPECT_EQ(Rest(), (Nrs{1, 5, 3, 4, 2, 6}));  // without an index: insertion order
  EXPECT_EQ(ErrorNumber([&] { rs_->MoveNext(); }), 3021);
  rs_->SetIndex("sleutel");
  const Nrs all = {5, 3, 2, 1, 4, 6};
  rs_->MoveFirst();
  EXPECT_EQ(Rest(), all);
  for (const auto& [key, rest] : std::vector<std::pair<Variant, Nrs>>{
           {"a", all}, {"A", all}, {"B", {1, 4, 6}}, {"c", {6}}, {"aa", {}}, {"", {}}}) {
    rs_->Seek(key);
    EXPECT_EQ(rs_->NoMatch(), rest.empty()) << key.Text();
    EXPECT_EQ(rest.empty() ? Nrs{} : Rest(), rest) << key.Text();
  }
  EXPECT_FALSE(rs_->IsEOF());  // after the failed seek: no current record
  EXPECT_EQ(ErrorNumber([&] { rs_->Field("Nr"); }), 3021);
  rs_->Seek("B");
  EXPECT_EQ(rs_->PercentPosition(), 50);
  rs_->SetIndex("SleutelDatum");  // seeks on its first field, then orders by Datum
  rs_->Seek("A");
  EXPECT_EQ(Rest(), (Nrs{2, 3, 5, 1, 4, 6}));
}

TEST_P(RecordsetContractTest, TextAndNumberKeysFindEachOther) {
  const std::vector<std::tuple<std::string, Variant, Variant>> cases = {
      {"INTEGER", 1001, "1001"}, {"INTEGER", "1001", 1001},
      {"TEXT", 1001, "1001"},    {"TEXT", "1001", 1001},
      {"TEXT", "1001", 1001.0},  {"INTEGER", 1001, Currency::FromRaw(10010000)}};
  for (const auto& [type, stored, sought] : cases) {
    Write({{stored, 7}}, type);
    rs_->SetIndex("Sleutel");
    rs_->Seek(sought);
    EXPECT_FALSE(rs_->NoMatch()) << type << " " << sought.Text();
  }
}

TEST_P(RecordsetContractTest, FieldsComeAsTheirDeclaredKindAndErrors) {
  Write({{"a", 3}});
  for (const auto& [name, value] : std::vector<std::pair<const char*, Variant>>{
           {"sleutel", "a"}, {"NR", int64_t{3}}, {"Bedrag", Currency::FromRaw(375000)},
           {"Actief", true}, {"Aantal", 0.75}})
    EXPECT_EQ(rs_->Field(name), value) << name;
  EXPECT_EQ(ErrorNumbers({[&] { rs_->Field("Onbekend"); }, [&] { rs_->Seek("a"); },
                          [&] { rs_->SetIndex("Bestaatniet"); },
                          [&] { db_->OpenTable("Bestaatniet"); }}),
            "3265|3019|3800|3078");
}

// A recordset keeps its place, also on a Null key, when its connection
// writes after another user committed (an old read snapshot would make the
// write fail); it reads on into the other user's row and GoTo finds the write.
TEST_P(RecordsetContractTest, PositionSurvivesWritesAndSeesOtherUsersRows) {
  Write({{Variant::Null(), 1}, {"b", 2}, {Variant::Null(), 3}, {"b", 4}, {"c", 5}});
  std::unique_ptr<TableRecordset> writer = db_->OpenTable("Regels");
  writer->SetIndex("PrimaryKey");
  for (const auto& [index, rest] : std::vector<std::pair<const char*, Nrs>>{
           {"Sleutel", {3, 2, 4, 5, 6}}, {"PrimaryKey", {2, 3, 4, 5, 6, 7}}}) {
    rs_->SetIndex(index);
    rs_->MoveFirst();
    ASSERT_TRUE(OtherUser(path_).Exec(
        "INSERT INTO Regels SELECT 'd', max(Nr) + 1, '', 0, 0, 0 FROM Regels"));
    writer->Seek(1);
    SetDatum(*writer, "20250101");
    EXPECT_EQ(rs_->Field("Nr"), Variant(int64_t{1})) << index;
    rs_->MoveNext();
    EXPECT_EQ(Rest(), rest) << index;
  }
  writer->MoveFirst();
  writer->GoTo(writer->LastModified());  // goes on in its index's order
  EXPECT_EQ(writer->Field("Datum"), Variant("20250101"));
  writer->MoveNext();
  EXPECT_EQ(writer->Field("Nr"), Variant(int64_t{2}));
}

// Fields by position and bookmarks of any record: a caller that reads many
// records keeps both and comes back to a record later.
TEST_P(RecordsetContractTest, FieldPositionsAndBookmarksOfAnyRecord) {
  Write({{"b", 1}, {"a", 2}, {"c", 3}});
  const int nr = rs_->FieldIndex("nr");
  EXPECT_EQ(rs_->FieldAt(nr), Variant(int64_t{1}));
  EXPECT_EQ(ErrorNumbers({[&] { rs_->FieldIndex("Onbekend"); }, [&] { rs_->FieldAt(-1); },
                          [&] { rs_->FieldAt(99); }}),
            "3265|3265|3265");
  rs_->SetIndex("Sleutel");
  std::vector<Bookmark> bookmarks;
  for (rs_->MoveFirst(); !rs_->IsEOF(); rs_->MoveNext()) bookmarks.push_back(rs_->CurrentBookmark());
  rs_->Seek(2);  // no match on the first key field: no current record
  EXPECT_EQ(ErrorNumber([&] { rs_->CurrentBookmark(); }), 3021);
  rs_->Seek("b");
  SetDatum(*rs_, "20250101");
  const Nrs expected = {3, 1, 2};
  for (size_t i = bookmarks.size(); i-- > 0;) {
    rs_->GoTo(bookmarks[i]);
    EXPECT_EQ(rs_->FieldAt(nr), Variant(expected[bookmarks.size() - 1 - i]));
  }
  rs_->GoTo(rs_->LastModified());  // handing out bookmarks leaves it alone
  EXPECT_EQ(rs_->Field("Datum"), Variant("20250101"));
}

// The SQLite engine tells when another user has committed, its own commits
// aside; the ODBC engine cannot tell.
TEST_P(RecordsetContractTest, OtherWritersVersionMovesForOtherUsersOnly) {
  Write({{"a", 1}});
  const std::optional<long long> before = db_->OtherWritersVersion();
  ASSERT_EQ(before.has_value(), std::string(GetParam().name) == "Sqlite");
  if (!before) return;
  SetDatum(*rs_, "20250101");
  EXPECT_EQ(db_->OtherWritersVersion(), before);
  ASSERT_TRUE(OtherUser(path_).Exec("UPDATE Regels SET Datum = '20250102'"));
  EXPECT_NE(db_->OtherWritersVersion(), before);
}

// A key longer than the ODBC engine's block buffers comes whole and the
// walk goes on after it; a file with a password opens with that one only.
TEST_P(RecordsetContractTest, LongKeysComeWholeAndThePasswordIsChecked) {
  const std::string long_key = "a" + std::string(1000, 'x') + "\xC3\xA9";
  Write({{"b", 2}, {long_key, 1}});
  rs_->SetIndex("Sleutel");
  rs_->MoveFirst();
  EXPECT_EQ(rs_->Field("Sleutel"), Variant(long_key));
  EXPECT_EQ(Rest(), (Nrs{1, 2}));
  rs_->Seek(long_key);
  EXPECT_EQ(rs_->Field("Nr"), Variant(int64_t{1}));

  const std::string locked = dir_.path() + "wachtwoord.db";
  AdministrationWriter(locked).SetPassword("geheim");
  EXPECT_EQ(ErrorNumbers({[&] { engine_->OpenDatabase(locked, "Geheim"); },
                          [&] { engine_->OpenDatabase(locked, "geheim"); },
                          [&] { engine_->OpenDatabase(dir_.path() + "geen.db", ""); }}),
            "3031|0|3024");
}

constexpr const char* kOtherRecord = "UPDATE Regels SET Aantal = 9 WHERE Nr = 2";

// The busy time-out here is far longer than the pause before the release, so
// a slow machine cannot turn the wait into error 3260; when Edit comes only
// after the release it simply finds the file free.
TEST_P(RecordsetContractTest, PessimisticEditWaitsForTheLockAndHoldsItToUpdate) {
  engine_ = GetParam().make(60s);
  Write({{"a", 1}, {"b", 2}});
  OtherUser other(path_);
  ASSERT_TRUE(other.Exec("BEGIN IMMEDIATE"));
  std::thread release([&] {
    std::this_thread::sleep_for(100ms);
    other.Exec("COMMIT");
  });
  rs_->Edit();
  release.join();
  EXPECT_FALSE(other.Exec(kOtherRecord));
  rs_->SetField("Datum", "20240304");
  rs_->Update();
  EXPECT_TRUE(other.Exec(kOtherRecord));
  EXPECT_EQ(Stored(), "20240304");
}

TEST_P(RecordsetContractTest, LockKeptByAnotherUserPastTheTimeOutIsRecordLocked) {
  Write({{"a", 1}, {"b", 2}});
  for (bool lock_edits : {true, false}) {
    rs_->SetLockEdits(lock_edits);
    OtherUser other(path_);
    ASSERT_TRUE(other.Exec("BEGIN IMMEDIATE"));
    if (lock_edits) {
      EXPECT_EQ(ErrorNumber([&] { rs_->Edit(); }), 3260);
      continue;
    }
    rs_->Edit();
    rs_->SetField("Datum", "20240304");
    EXPECT_EQ(ErrorNumber([&] { rs_->Update(); }), 3260);
    ASSERT_TRUE(other.Exec("COMMIT"));
    rs_->Update();  // the edit stayed pending and goes through now
    EXPECT_EQ(Stored(), "20240304");
  }
}

TEST_P(RecordsetContractTest, OptimisticUpdateFailsOnlyWhenTheRecordChangedSinceEdit) {
  Write({{"a", 1}, {"b", 2}});
  rs_->SetLockEdits(false);
  OtherUser other(path_);
  for (const char* change : {"UPDATE Regels SET Aantal = 9 WHERE Nr = 1", kOtherRecord}) {
    rs_->MoveFirst();
    rs_->Edit();
    EXPECT_TRUE(other.Exec(change));  // no lock is held while editing
    rs_->SetField("Datum", "20240304");
    const bool conflict = change != kOtherRecord;
    EXPECT_EQ(ErrorNumber([&] { rs_->Update(); }), conflict ? 3197 : 0);
    EXPECT_EQ(Stored(), conflict ? "20240101" : "20240304");
  }
}

INSTANTIATE_TEST_SUITE_P(Engines, RecordsetContractTest, ::testing::ValuesIn(kEngines),
                         [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace typrosync

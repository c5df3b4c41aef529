// Opening files with the SQLite engine: what is refused, the password
// check, shared-use mode, and rows written by other SQLite clients.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <fstream>

#include "database/database_test_support.h"
#include "database/sha256.h"

namespace typrosync {
namespace {

using test_support::ErrorNumberOf;
using test_support::TempDir;
using test_support::TestTable;
using test_support::WriteDatabase;

class SqliteEngineTest : public ::testing::Test {
 protected:
  void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  TestTable Codes() {
    return {{"Codes", {{"Code", "INTEGER"}, {"Omschrijving", "TEXT"}}, {{"PrimaryKey", {"Code"}}}},
            {"Code", "Omschrijving"},
            {{1, "Een"}}};
  }

  TempDir dir_;
  std::string path_ = dir_.path() + "TallyraDB.mdb";
  std::unique_ptr<DatabaseEngine> engine_ = MakeSqliteEngine();
};

TEST_F(SqliteEngineTest, FilesThatAreNoAdministrationAreRefused) {
  WriteBytes(dir_.path() + "tekst.mdb", "Dit is geen database, maar wel lang genoeg om te lezen.");
  WriteBytes(dir_.path() + "jet.mdb", std::string("\0\x01\0\0Standard Jet DB\0\0\0\0", 23));
  EXPECT_EQ(ErrorNumberOf([&] { engine_->OpenDatabase(dir_.path() + "ontbreekt.mdb", ""); }), 3024);
  EXPECT_EQ(ErrorNumberOf([&] { engine_->OpenDatabase(dir_.path(), ""); }), 3024);
  EXPECT_EQ(ErrorNumberOf([&] { engine_->OpenDatabase(dir_.path() + "tekst.mdb", ""); }), 3343);
  try {
    engine_->PrepareSharedUse(dir_.path() + "jet.mdb", "");
    ADD_FAILURE() << "a Jet file was accepted";
  } catch (const VbError& error) {
    EXPECT_EQ(error.number(), 3343);
    EXPECT_NE(error.description().find("jet.mdb' is een Jet-database"), std::string::npos);
  }
}

TEST_F(SqliteEngineTest, PasswordIsCheckedAtEveryOpen) {
  WriteDatabase(path_, {Codes()}, "Geheim");
  struct Case {
    std::string given;
    long error;
  };
  for (const Case& c :
       std::vector<Case>{{"Geheim", 0}, {"geheim", 3031}, {"", 3031}, {"Geheim ", 3031}}) {
    EXPECT_EQ(ErrorNumberOf([&] { engine_->OpenDatabase(path_, c.given); }), c.error) << c.given;
    EXPECT_EQ(ErrorNumberOf([&] { engine_->PrepareSharedUse(path_, c.given); }), c.error)
        << c.given;
  }
}

TEST_F(SqliteEngineTest, FileWithoutPasswordOpensWithAnyPassword) {
  WriteDatabase(path_, {Codes()});
  EXPECT_EQ(ErrorNumberOf([&] { engine_->OpenDatabase(path_, ""); }), 0);
  EXPECT_EQ(ErrorNumberOf([&] { engine_->OpenDatabase(path_, "iets"); }), 0);
}

// A file made by another SQLite client, in the default journal mode, with
// numbers stored as text: the engine sets WAL and reads the rows.
TEST_F(SqliteEngineTest, FilesOfOtherClientsAreSetForSharedUseAndRead) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path_.c_str(), &db), SQLITE_OK);
  sqlite3_exec(db,
               "CREATE TABLE Relaties (RelNr TEXT, Naam TEXT);"
               "CREATE INDEX Relaties__PrimaryKey ON Relaties (RelNr COLLATE NOCASE);"
               "INSERT INTO Relaties VALUES ('10023', 'Maatschap Bos'), (10024, 'De Hoeve');",
               nullptr, nullptr, nullptr);
  sqlite3_close(db);
  engine_->PrepareSharedUse(path_, "");
  std::unique_ptr<Database> database = engine_->OpenDatabase(path_, "");
  std::unique_ptr<TableRecordset> rs = database->OpenTable("RELATIES");
  rs->SetIndex("primarykey");
  rs->Seek(10024);
  ASSERT_FALSE(rs->NoMatch());
  EXPECT_EQ(rs->Field("Naam"), Variant("De Hoeve"));
  sqlite3* check = nullptr;
  sqlite3_open(path_.c_str(), &check);
  sqlite3_stmt* stmt = nullptr;
  sqlite3_prepare_v2(check, "PRAGMA journal_mode", -1, &stmt, nullptr);
  ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
  EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)), "wal");
  sqlite3_finalize(stmt);
  sqlite3_close(check);
}

TEST(Sha256Test, KnownDigests) {
  EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(Sha256Hex(std::string(1000000, 'a')),
            "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
  EXPECT_EQ(Sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
}

}  // namespace
}  // namespace typrosync

// Description lookups on a real code table.

#include "database/lookups.h"

#include <gtest/gtest.h>

#include "database/database_test_support.h"

namespace typrosync {
namespace {

using test_support::ErrorNumberOf;
using test_support::TempDir;
using test_support::TestTable;
using test_support::WriteDatabase;

class LookupsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const TableDefinition codes{"TabelRelatiegroepen",
                                {{"Code", "INTEGER"}, {"Omschrijving", "TEXT"}},
                                {{"PrimaryKey", {"Code"}, true}}};
    TableDefinition empty = codes;
    empty.name = "TabelLandcode";
    // Inserted out of code order: the index, not insertion, decides.
    WriteDatabase(path_, {{codes,
                           {"Code", "Omschrijving"},
                           {{4, "Dacom"},
                            {1, "Akkerbouw"},
                            {2, "Crop-R klanten"},
                            {3, "(niet ingesteld)"},
                            {6, Variant::Null()}}},
                          {empty, {}, {}}});
    db_ = engine_->OpenDatabase(path_, "");
  }

  TempDir dir_;
  std::string path_ = dir_.path() + "TallyraDB.mdb";
  std::unique_ptr<DatabaseEngine> engine_ = MakeSqliteEngine();
  std::unique_ptr<Database> db_;
};

TEST_F(LookupsTest, GetOmschrijvingFromTabelJoinsMarkedCodesInOrder) {
  struct Case {
    std::string selection;
    std::string descriptions;
  };
  const std::vector<Case> cases = {
      {"X", "Akkerbouw"},
      {" X x", "Crop-R klanten, Dacom"},
      {"x", "Akkerbouw"},
      {"", ""},
      {"abc -", ""},
      {"  X", "(niet ingesteld)"},
      {"XXXXX", "Akkerbouw, Crop-R klanten, (niet ingesteld), Dacom, "},  // code 5 missing
      {"X    X", "Akkerbouw, "},                                          // code 6 Null
      {"    X", ""},                                                      // only missing code 5
      {"    XX", ", "},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetOmschrijvingFromTabel(*db_, "TabelRelatiegroepen", c.selection), c.descriptions)
        << "'" << c.selection << "'";
  }
}

TEST(IsPositieGemarkeerdTest, OnlyAnXInsideTheSelection) {
  struct Case {
    int16_t position;
    std::string selection;
    bool marked;
  };
  const std::vector<Case> cases = {{1, "X", true},    {1, "x", true},   {2, "X", false},
                                   {0, "X", false},   {-1, "X", false}, {3, "X x", true},
                                   {2, "X x", false}, {1, "", false},   {1, "Y", false}};
  for (const Case& c : cases) {
    EXPECT_EQ(IsPositieGemarkeerd(c.position, c.selection), c.marked)
        << c.position << " '" << c.selection << "'";
  }
}

TEST_F(LookupsTest, GetCodeOmschrijvingGivesTheTextAsStored) {
  EXPECT_EQ(GetCodeOmschrijving(*db_, "TabelRelatiegroepen", 2), "Crop-R klanten");
  EXPECT_EQ(GetCodeOmschrijving(*db_, "TabelRelatiegroepen", 3), "(niet ingesteld)");
  EXPECT_EQ(GetCodeOmschrijving(*db_, "TabelRelatiegroepen", 5), "");
  EXPECT_EQ(GetCodeOmschrijving(*db_, "TabelRelatiegroepen", 6), "");
  // Codes below 1 never touch the table, so a missing table is no error then.
  EXPECT_EQ(GetCodeOmschrijving(*db_, "Bestaatniet", 0), "");
  EXPECT_EQ(GetCodeOmschrijving(*db_, "Bestaatniet", -3), "");
  EXPECT_EQ(ErrorNumberOf([&] { GetCodeOmschrijving(*db_, "Bestaatniet", 1); }), 3078);
}

TEST_F(LookupsTest, GetTabelOmschrijvingMarksUnsetCodesAndStaysOnTheRecord) {
  std::unique_ptr<TableRecordset> groups = db_->OpenTable("TabelRelatiegroepen");
  std::unique_ptr<TableRecordset> countries = db_->OpenTable("TabelLandcode");
  EXPECT_EQ(GetTabelOmschrijving(*groups, 3), "n/a");
  EXPECT_EQ(GetTabelOmschrijving(*groups, 6), "");
  EXPECT_EQ(GetTabelOmschrijving(*groups, 5), "");
  EXPECT_EQ(GetTabelOmschrijving(*groups, 0), "");
  EXPECT_EQ(GetTabelOmschrijving(*countries, 1), "");
  EXPECT_EQ(GetTabelOmschrijving(*groups, 2), "Crop-R klanten");
  EXPECT_EQ(groups->Field("Code"), Variant(int64_t{2}));
  EXPECT_EQ(groups->Index(), "PrimaryKey");
}

}  // namespace
}  // namespace typrosync

// Description lookups on a real code table.

#include "database/lookups.h"

#include <gtest/gtest.h>

#include "database/database_test_support.h"

namespace typrosync {
namespace {

class LookupsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const TableDefinition codes{"TabelRelatiegroepen",
                                {{"Code", "INTEGER"}, {"Omschrijving", "TEXT"}},
                                {{"PrimaryKey", {"Code"}, true}}};
    // Out of code order: the index, not insertion, decides. Code 5 is missing.
    const std::vector<std::vector<Variant>> rows = {{4, "Dacom"}, {1, "Akkerbouw"}, {2, "Crop-R"},
                                                    {3, "(niet ingesteld)"}, {6, Variant::Null()}};
    test_support::WriteDatabase(path_, {{codes, {"Code", "Omschrijving"}, rows},
                                        {{"TabelLandcode", codes.fields, codes.indexes}, {}, {}}});
    db_ = engine_->OpenDatabase(path_, "");
  }

  test_support::TempDir dir_;
  std::string path_ = dir_.path() + "TallyraDB.mdb";
  std::unique_ptr<DatabaseEngine> engine_ = MakeSqliteEngine();
  std::unique_ptr<Database> db_;
};

TEST_F(LookupsTest, GetOmschrijvingFromTabelJoinsMarkedCodesInOrder) {
  // Code 5 is missing and code 6 Null: an empty description, joined all the same.
  const std::pair<const char*, const char*> cases[] = {
      {"X", "Akkerbouw"}, {" X x", "Crop-R, Dacom"}, {"", ""}, {"abc -", ""},
      {"  X", "(niet ingesteld)"}, {"XXXXX", "Akkerbouw, Crop-R, (niet ingesteld), Dacom, "},
      {"X    X", "Akkerbouw, "}, {"    X", ""}, {"    XX", ", "}};
  for (const auto& [selection, descriptions] : cases)
    EXPECT_EQ(GetOmschrijvingFromTabel(*db_, "TabelRelatiegroepen", selection), descriptions)
        << "'" << selection << "'";
  for (int16_t position : {0, -1, 2}) EXPECT_FALSE(IsPositieGemarkeerd(position, "X"));
}

TEST_F(LookupsTest, CodeLookupsGiveNaOnlyOnAnOpenRecordsetAndEmptyForMissingCodes) {
  std::unique_ptr<TableRecordset> groups = db_->OpenTable("TabelRelatiegroepen");
  const std::tuple<int16_t, std::string, std::string> cases[] = {
      {3, "(niet ingesteld)", "n/a"}, {5, "", ""}, {6, "", ""}, {0, "", ""},
      {2, "Crop-R", "Crop-R"}};
  for (const auto& [code, stored, shown] : cases) {
    EXPECT_EQ(GetCodeOmschrijving(*db_, "TabelRelatiegroepen", code), stored) << code;
    EXPECT_EQ(GetTabelOmschrijving(*groups, code), shown) << code;
  }
  EXPECT_EQ(groups->Field("Code"), Variant(int64_t{2}));  // stays on the last found record
  EXPECT_EQ(GetTabelOmschrijving(*db_->OpenTable("TabelLandcode"), 1), "");
  // Codes below 1 never touch the table, so a missing table is no error then.
  EXPECT_EQ(GetCodeOmschrijving(*db_, "Bestaatniet", 0), "");
  EXPECT_EQ(test_support::ErrorNumber([&] { GetCodeOmschrijving(*db_, "Bestaatniet", 1); }),
            3078);
}

}  // namespace
}  // namespace typrosync

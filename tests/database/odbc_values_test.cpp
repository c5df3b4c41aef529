// The ODBC engine's value conversions that no driver test reaches in all
// their cases: exact Currency from decimal texts, the Dutch date text, the
// key order of the full-scan path and the filling of connection strings.

#include "database/odbc_values.h"

#include <gtest/gtest.h>

#include "common/vb_error.h"
#include "database/odbc_engine.h"

namespace typrosync {
namespace {

TEST(OdbcValuesTest, DecimalTextBecomesCurrencyExactlyWithHalvesToEven) {
  const std::pair<const char*, int64_t> cases[] = {
      {"21.3500", 213500}, {"-0.5", -5000},  {"12", 120000},       {"0.00005", 0},
      {"0.00015", 2},      {"0.000051", 1},  {"922337203685477.5807", INT64_MAX},
      {"1e2", 1000000},    {"+3.1", 31000}};
  for (const auto& [text, raw] : cases)
    EXPECT_EQ(DecimalCurrency(text), Currency::FromRaw(raw)) << text;
  EXPECT_THROW(DecimalCurrency("922337203685477.5808"), VbError);
}

TEST(OdbcValuesTest, DatesBecomeTheDutchDateText) {
  const std::pair<const char*, const char*> cases[] = {
      {"1994-11-16 00:00:00", "16-11-1994"}, {"2024-03-04 10:05:00.000", "4-3-2024 10:05:00"},
      {"2024-03-04", "4-3-2024"}, {"10:05:09", "10:05:09"}, {"gisteren", "gisteren"}};
  for (const auto& [odbc, dutch] : cases) EXPECT_EQ(DutchDateText(odbc), dutch) << odbc;
}

TEST(OdbcValuesTest, KeysOrderNullsThenNumbersThenTextsWithoutCase) {
  const std::vector<Variant> ordered = {Variant::Null(), int64_t{-2}, Currency::FromRaw(15000),
                                        2.5, "a", "B", "b1"};
  for (size_t i = 0; i + 1 < ordered.size(); ++i) {
    EXPECT_LT(CompareKeys(ordered[i], ordered[i + 1]), 0) << i;
    EXPECT_GT(CompareKeys(ordered[i + 1], ordered[i]), 0) << i;
  }
  EXPECT_EQ(CompareKeys(Variant("abc"), Variant("ABC")), 0);
  EXPECT_EQ(CompareKeys(Variant(int64_t{3}), Variant(3.0)), 0);
}

TEST(OdbcValuesTest, ConnectionStringsGetFileAndPasswordBracedWhereNeeded) {
  EXPECT_EQ(FillConnectionString("Driver=SQLite3;Database={file}", "/srv/a/TallyraDB.mdb", "x"),
            "Driver=SQLite3;Database=/srv/a/TallyraDB.mdb");
  EXPECT_EQ(FillConnectionString("DBQ={file};PWD={pwd}", "C:\\data\\a;b.mdb", "ge}heim"),
            "DBQ={C:\\data\\a;b.mdb};PWD={ge}}heim}");
  EXPECT_EQ(FillConnectionString("PWD={pwd};UID={pwd}", "", " s"), "PWD={ s};UID={ s}");
}

}  // namespace
}  // namespace typrosync

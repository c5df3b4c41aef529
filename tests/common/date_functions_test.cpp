// Date texts for display, month names, date order and zero padding; the
// moment patterns of the run stamps and the run log.

#include "common/date_functions.h"

#include <gtest/gtest.h>

#include "common/date_format.h"
#include "common/test_support.h"

namespace typrosync {
namespace {

using testing::Joined;

// Eight characters (not bytes) make a date; other texts come back trimmed, a
// leading "0" as a space. The caller's text only changes when swapped first.
TEST(DateFunctionsTest, DatumNaarTekst) {
  EXPECT_EQ(Joined({"20240105", "20241231", "20240310", "20240100", "00000105", "20241305",
                    "2024 105", "2024010", "0240105", "  2024  ", "2024abcd", "2024éé05"},
                   [](std::string date) { return DatumNaarTekst(date); }),
            " 5 jan 2024|31 dec 2024|10 mrt 2024|jan 2024||"
            " 5  2024| 5 jan 2024|2024010| 240105|20|cd  2024| 5  2024");
  for (std::string date : {"05012024", "5012024"}) {
    EXPECT_EQ(DatumNaarTekst(date, true), " 5 jan 2024");
    EXPECT_EQ(date, "20240105");
  }
}

TEST(DateFunctionsTest, MonthsOrderAndPadding) {
  EXPECT_EQ(Joined({"mrt", "MRT", "mRt", "dec", "03", "8", "010", "13", "0", "", "maart", " 3"},
                   [](const char* text) { return MaandConversie(text).Text() + "."; }),
            "3.|3.|3.|12.|mrt.|aug.|.|.|.|.|.|.");
  EXPECT_TRUE(MaandConversie("13").IsEmptyKind());
  EXPECT_EQ(MaandConversie("10", true), Variant("oktober"));
  // Direction set: read as a whole number, padded to 8 in the caller's text, then swapped.
  const std::tuple<const char*, bool, const char*, const char*> swaps[] = {
      {"20240105", false, "05012024", "20240105"},
      {"1012024", true, "20240101", "01012024"},
      {"123", false, "123", "123"},
      {"abc", true, "abc", "abc"}};
  for (auto [date, direction, result, after] : swaps) {
    std::string text = date;
    EXPECT_EQ(DatumOmkeren(text, direction) + "|" + text, std::string(result) + "|" + after);
  }
  EXPECT_EQ(VoorloopNullen(7, 3) + VoorloopNullen(123, 2) + VoorloopNullen(5, -1), "00712");
}

TEST(DateFunctionsTest, FormatMomentPatterns) {
  const LocalDateTime moment{2024, 3, 5, 7, 8, 9};
  EXPECT_EQ(FormatMoment(moment, "yyyymmdd hhmmss yyyy-mm"), "20240305 070809 2024-03");
  EXPECT_EQ(FormatMoment(moment, "dd-mmm-yyyy HH:mm:ss"), "05-Mar-2024 07:08:09");
  EXPECT_EQ(FormatMoment({987, 12, 31, 23, 59, 58}, "yyyymmdd_hhmmss"), "09871231_235958");
  EXPECT_EQ(FormatMoment({2024, 13, 1}, "[mmm]"), "[]");
  testing::DutchLocale dutch;
  ASSERT_TRUE(dutch.active);
  std::string months;
  for (int month = 1; month <= 12; ++month) months += FormatMoment({2024, month, 1}, "mmm ");
  EXPECT_EQ(months, "jan feb mrt apr mei jun jul aug sep okt nov dec ");
  EXPECT_EQ(FormatMoment({2024, 3, 5, 17, 4, 0}, "dd-mmm-yyyy HH:mm:ss"), "05-mrt-2024 17:04:00");
}

}  // namespace
}  // namespace typrosync

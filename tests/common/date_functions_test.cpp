// Date texts for display, month names, date order and zero padding; the
// moment patterns of the run stamps and the run log.

#include "common/date_functions.h"

#include <gtest/gtest.h>

#include "common/date_format.h"
#include "common/test_support.h"

namespace typrosync {
namespace {

TEST(DateFunctionsTest, DatumNaarTekst) {
  const struct {
    const char* date;
    bool swap_first;
    const char *text, *date_after;
  } cases[] = {
      {"20240105", false, " 5 jan 2024", "20240105"},
      {"20241231", false, "31 dec 2024", "20241231"},
      {"20240310", false, "10 mrt 2024", "20240310"},
      {"20240100", false, "jan 2024", "20240100"},
      {"00000105", false, "", "00000105"},
      {"20241305", false, " 5  2024", "20241305"},
      {"2024 105", false, " 5 jan 2024", "2024 105"},  // a one-character month is padded
      {"2024010", false, "2024010", "2024010"},
      {"0240105", false, " 240105", "0240105"},
      {"  2024  ", false, "20", "  2024  "},
      {"2024abcd", false, "cd  2024", "2024abcd"},
      {"2024\xC3\xA9\xC3\xA9"
       "05",
       false, " 5  2024",
       "2024\xC3\xA9\xC3\xA9"
       "05"},
      {"05012024", true, " 5 jan 2024", "20240105"},
      {"5012024", true, " 5 jan 2024", "20240105"},
  };
  for (const auto& c : cases) {
    std::string date = c.date;
    EXPECT_EQ(DatumNaarTekst(date, c.swap_first), c.text) << c.date;
    EXPECT_EQ(date, c.date_after);
  }
}

TEST(DateFunctionsTest, MaandConversie) {
  for (const char* text : {"mrt", "MRT", "mRt"}) EXPECT_EQ(MaandConversie(text), Variant(3));
  EXPECT_EQ(MaandConversie("dec"), Variant(12));
  EXPECT_EQ(MaandConversie("03"), Variant("mrt"));
  EXPECT_EQ(MaandConversie("03", true), Variant("maart"));
  EXPECT_EQ(MaandConversie(8), Variant("aug"));
  EXPECT_EQ(MaandConversie("10", true), Variant("oktober"));
  for (const char* text : {"010", "13", "0", "", "maart", "MAR", " 3"}) {
    EXPECT_TRUE(MaandConversie(text).IsEmptyKind()) << text;
  }
}

TEST(DateFunctionsTest, DatumOmkerenAndVoorloopNullen) {
  const struct {
    const char* date;
    bool direction;
    const char *result, *date_after;
  } cases[] = {
      {"20240105", false, "05012024", "20240105"},
      {"1012024", true, "20240101", "01012024"},
      {"123", false, "123", "123"},
      {"abc", true, "abc", "abc"},
      {"99999999999", true, "99999999999", "99999999999"},
  };
  for (const auto& c : cases) {
    std::string date = c.date;
    EXPECT_EQ(DatumOmkeren(date, c.direction), c.result) << c.date;
    EXPECT_EQ(date, c.date_after);
  }
  EXPECT_EQ(VoorloopNullen(7, 3), "007");
  EXPECT_EQ(VoorloopNullen(123, 2), "12");
  EXPECT_EQ(VoorloopNullen(5, -1), "");
}

TEST(DateFunctionsTest, FormatMomentPatterns) {
  const LocalDateTime moment{2024, 3, 5, 7, 8, 9};
  EXPECT_EQ(FormatMoment(moment, "yyyymmdd hhmmss yyyy-mm"), "20240305 070809 2024-03");
  EXPECT_EQ(FormatMoment(moment, "dd-mmm-yyyy HH:mm:ss"), "05-Mar-2024 07:08:09");
  EXPECT_EQ(FormatMoment({987, 12, 31, 23, 59, 58}, "yyyymmdd_hhmmss"), "09871231_235958");
  EXPECT_EQ(FormatMoment({2024, 13, 1, 0, 0, 0}, "[mmm]"), "[]");
  testing::DutchLocale dutch;
  ASSERT_TRUE(dutch.active);
  std::string months;
  for (int month = 1; month <= 12; ++month) months += FormatMoment({2024, month, 1}, "mmm ");
  EXPECT_EQ(months, "jan feb mrt apr mei jun jul aug sep okt nov dec ");
  EXPECT_EQ(FormatMoment({2024, 3, 5, 17, 4, 0}, "dd-mmm-yyyy HH:mm:ss"), "05-mrt-2024 17:04:00");
}

}  // namespace
}  // namespace typrosync

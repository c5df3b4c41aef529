// Date texts for display, month names, date order and zero padding; the
// moment patterns of the run stamps and the run log.

#include "common/date_functions.h"

#include <gtest/gtest.h>

#include <string>

#include "common/date_format.h"
#include "common/dutch_locale.h"

namespace typrosync {
namespace {

TEST(DatumNaarTekstTest, DisplayTexts) {
  const struct {
    const char* date;
    const char* text;
  } cases[] = {
      {"20240105", " 5 jan 2024"},
      {"20241231", "31 dec 2024"},
      {"20240310", "10 mrt 2024"},
      {"20240100", "jan 2024"},
      {"00000000", ""},
      {"00000105", ""},
      {"20241305", " 5  2024"},
      {"2024 105", " 5 jan 2024"},  // a one-character month is padded
      {"2024010", "2024010"},
      {"0240105", " 240105"},
      {"202401051", "202401051"},
      {"  2024  ", "20"},
      {"", ""},
      {"0", " "},
      {"2024abcd", "cd  2024"},
      {"2024\xC3\xA9\xC3\xA9"
       "05",
       " 5  2024"},  // eight characters, not bytes
  };
  for (const auto& c : cases) {
    std::string date = c.date;
    EXPECT_EQ(DatumNaarTekst(date), c.text) << c.date;
    EXPECT_EQ(date, c.date);
  }
}

TEST(DatumNaarTekstTest, SwapFirstReadsDayMonthYear) {
  std::string date = "05012024";
  EXPECT_EQ(DatumNaarTekst(date, true), " 5 jan 2024");
  EXPECT_EQ(date, "20240105");

  std::string short_day = "5012024";
  EXPECT_EQ(DatumNaarTekst(short_day, true), " 5 jan 2024");
  EXPECT_EQ(short_day, "20240105");
}

TEST(MaandConversieTest, AbbreviationsGiveNumbersAndNumbersGiveNames) {
  for (const char* text : {"mrt", "MRT", "Mrt", "mRt"}) {
    EXPECT_EQ(MaandConversie(Variant(text)), Variant(3)) << text;
  }
  EXPECT_EQ(MaandConversie(Variant("dec")), Variant(12));
  EXPECT_EQ(MaandConversie(Variant("03")), Variant("mrt"));
  EXPECT_EQ(MaandConversie(Variant("03"), true), Variant("maart"));
  EXPECT_EQ(MaandConversie(Variant("5"), true), Variant("mei"));
  EXPECT_EQ(MaandConversie(Variant(8)), Variant("aug"));
  EXPECT_EQ(MaandConversie(Variant("10"), true), Variant("oktober"));
  for (const char* text : {"010", "13", "0", "", "maart", "MAR", " 3"}) {
    EXPECT_TRUE(MaandConversie(Variant(text)).IsEmptyKind()) << text;
  }
}

TEST(DatumOmkerenTest, BothDirections) {
  std::string date = "20240105";
  EXPECT_EQ(DatumOmkeren(date, false), "05012024");
  EXPECT_EQ(date, "20240105");

  std::string seven = "1012024";
  EXPECT_EQ(DatumOmkeren(seven, true), "20240101");
  EXPECT_EQ(seven, "01012024");

  const struct {
    const char* date;
    bool direction;
    const char* result;
  } unchanged[] = {
      {"123", false, "123"},
      {"", true, ""},
      {"abc", true, "abc"},
      {"99999999999", true, "99999999999"},
  };
  for (const auto& c : unchanged) {
    std::string text = c.date;
    EXPECT_EQ(DatumOmkeren(text, c.direction), c.result) << c.date;
    EXPECT_EQ(text, c.date);
  }
}

TEST(VoorloopNullenTest, PadsAndCuts) {
  EXPECT_EQ(VoorloopNullen(5, 2), "05");
  EXPECT_EQ(VoorloopNullen(7, 3), "007");
  EXPECT_EQ(VoorloopNullen(123, 2), "12");
  EXPECT_EQ(VoorloopNullen(1012024, 8), "01012024");
  EXPECT_EQ(VoorloopNullen(5, 0), "");
  EXPECT_EQ(VoorloopNullen(5, -1), "");
}

TEST(FormatMomentTest, RunStampAndLogPatterns) {
  testing::CLocaleAfterTest restore;
  const LocalDateTime moment{2024, 3, 5, 7, 8, 9};
  EXPECT_EQ(FormatMoment(moment, "yyyymmdd"), "20240305");
  EXPECT_EQ(FormatMoment(moment, "hhmmss"), "070809");
  EXPECT_EQ(FormatMoment(moment, "yyyy-mm"), "2024-03");
  EXPECT_EQ(FormatMoment(moment, "dd-mmm-yyyy HH:mm:ss"), "05-Mar-2024 07:08:09");
  EXPECT_EQ(FormatMoment({987, 12, 31, 23, 59, 58}, "yyyymmdd_hhmmss"), "09871231_235958");
  EXPECT_EQ(FormatMoment({2024, 13, 1, 0, 0, 0}, "[mmm]"), "[]");
}

TEST(FormatMomentTest, DutchMonthAbbreviations) {
  testing::CLocaleAfterTest restore;
  if (!testing::UseDutchLocale()) GTEST_SKIP() << "no Dutch locale available";
  const char* expected[] = {"jan", "feb", "mrt", "apr", "mei", "jun",
                            "jul", "aug", "sep", "okt", "nov", "dec"};
  for (int month = 1; month <= 12; ++month) {
    EXPECT_EQ(FormatMoment({2024, month, 1, 0, 0, 0}, "mmm"), expected[month - 1]);
  }
  EXPECT_EQ(FormatMoment({2024, 3, 5, 17, 4, 0}, "dd-mmm-yyyy HH:mm:ss"), "05-mrt-2024 17:04:00");
}

}  // namespace
}  // namespace typrosync

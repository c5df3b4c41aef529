// Amount and number texts made from loosely typed values.

#include "common/number_format.h"

#include <gtest/gtest.h>

#include <string>

#include "common/locale_settings.h"
#include "common/separators.h"

namespace typrosync {
namespace {

using NumberFormatTest = testing::DutchSeparatorsTest;

struct BedragCase {
  Variant value;
  const char* plain;        // no flags
  const char* brackets;     // brackets flag
  const char* whole_units;  // whole-units flag
  const char* rounded;      // rounding flag
};

std::string Bedrag(Variant value, bool brackets = false, bool whole = false, bool round = false) {
  return NormaliseerBedrag(value, brackets, whole, round);
}

TEST_F(NumberFormatTest, NormaliseerBedragWithEachFlag) {
  const BedragCase cases[] = {
      {1234.5, "1.234,50", "1.234,50", "1.234", "1.234"},
      {-1234.5, "-1.234,50", "<1.234,50>", "-1.234", "-1.234"},
      {"12.5", "12,50", "12,50", "12", "12"},
      {"1.234", "1.234,00", "1.234,00", "1.234", "1.234"},
      {"1,995", "2,00", "2,00", "2", "2"},
      {"2,345", "2,35", "2,35", "2", "2"},
      {"2,5", "2,50", "2,50", "2", "2"},
      {"3,5", "3,50", "3,50", "3", "4"},
      {"-2,5", "-2,50", "<2,50>", "-2", "-2"},
      {"12a", "0,00", "0,00", "0,00", "0,00"},
      {"", "0,00", "0,00", "0", "0,00"},
      {0, "0,00", "0,00", "0", "0,00"},
      {"0,00", "0,00", "0,00", "0", "0,00"},
      {Variant::Null(), "0,00", "0,00", "0", "0,00"},
      {"\xC2\xA0\xC2\xA0", "0,00", "0,00", "0", "0,00"},
      {"1234567,891", "1.234.567,89", "1.234.567,89", "1.234.567", "1.234.568"},
      {"999,999", "1.000,00", "1.000,00", "1.000", "1.000"},
      {"-999,995", "-1.000,00", "<1.000,00>", "-1.000", "-1.000"},
  };
  for (const auto& c : cases) {
    const std::string input = c.value.Text();
    EXPECT_EQ(Bedrag(c.value), c.plain) << input;
    EXPECT_EQ(Bedrag(c.value, true), c.brackets) << input;
    EXPECT_EQ(Bedrag(c.value, false, true), c.whole_units) << input;
    EXPECT_EQ(Bedrag(c.value, false, false, true), c.rounded) << input;
  }
}

TEST_F(NumberFormatTest, NormaliseerBedragCleansTypedTexts) {
  const struct {
    Variant value;
    const char* amount;
  } cases[] = {
      {",50", "0,50"},
      {".50", "0,50"},
      {"1E-3", "0,00"},
      {"5E-3", "0,01"},
      {"1,5E3", "1.500,00"},
      {"12 EUR", "12,00"},
      {"2E3 kg", "2.000,00"},
      {"1 234,5", "1.234,50"},
      {"\xC2\xA0"
       "7,25\xC2\xA0",
       "7,25"},
      {"--5", "-5,00"},
      {"- 5", "-5,00"},
      {"5-", "5,00"},
      {"-", "0,00"},
      {",", "0,00"},
      {"...", "0,00"},
      {"-,", "-0,00"},
      {"1,2,3", "1,20"},
      {"1,,5", "1,50"},
      {"1.234.567,891", "1.234.567,89"},
      {"0,005", "0,01"},
      {"0,004", "0,00"},
      {"-0,001", "-0,00"},
      {"12.5,", "125,00"},
      {"1,234.5", "1.234,50"},
      {Currency::FromRaw(125000), "12,50"},
      {int64_t{1234567}, "1.234.567,00"},
      {"abc", "0,00"},
      {"1+2", "0,00"},
  };
  for (const auto& c : cases) EXPECT_EQ(Bedrag(c.value), c.amount) << c.value.Text();
}

TEST_F(NumberFormatTest, NormaliseerBedragBracketsWithWholeUnits) {
  EXPECT_EQ(Bedrag("-1234,99", true, true), "<1.234>");
  EXPECT_EQ(Bedrag("-2,5", true, false, true), "<2>");
  EXPECT_EQ(Bedrag("-3,5", true, true, true), "<4>");
}

// The amount text is limited to its rightmost 20 characters where it is
// built without a decimal separator.
TEST_F(NumberFormatTest, NormaliseerBedragTwentyCharacterLimit) {
  EXPECT_EQ(Bedrag("12345678901234567,5"), "12.345.678.901.234.567,50");
  EXPECT_EQ(Bedrag("123456789012345678901"), "56.789.012.345.678.901,00");
  // A large negative number comes back from the sign step in exponent form.
  EXPECT_EQ(Bedrag("-123456789012345678901"), "-1,23");
}

TEST_F(NumberFormatTest, NormaliseerBedragPinsTheSeparators) {
  gsDecimaalTeken = ".";
  gsDuizendTeken = " ";
  // The empty-value answer comes before the settings are overwritten.
  EXPECT_EQ(Bedrag(""), "0.00");
  EXPECT_EQ(gsDecimaalTeken, ".");
  EXPECT_EQ(Bedrag("1234,5"), "1.234,50");
  EXPECT_EQ(gsDecimaalTeken, ",");
  EXPECT_EQ(gsDuizendTeken, ".");
}

struct GetalCase {
  Variant value;
  int16_t decimals;
  bool allow_large;
  const char* text;
};

TEST_F(NumberFormatTest, NormaliseerGetal) {
  const GetalCase cases[] = {
      {"n/a", 3, false, "0,000"},
      {"(niet ingesteld)", 3, false, "0,000"},
      {"", 3, false, "0,000"},
      {Variant::Null(), 2, false, "0,00"},
      {"0", 4, false, "0,0000"},
      {"12%", 2, false, "12,00"},
      {"1500", 2, false, "n/a"},
      {"1500", 2, true, "1500,00"},
      {"1000", 2, false, "1000,00"},
      {"1500,5", 2, false, "1500,50"},  // only whole numbers are range-checked
      {"1.234", 2, false, "n/a"},
      {"1.234", 2, true, "1234,00"},
      {"12.5", 2, false, "12,50"},
      {"1,23456", 4, false, "1,2345"},
      {"-1,23456", 4, false, "-1,2300"},
      {"-1,235", 3, false, "-1,240"},
      {"-5000,5", 2, false, "-5000,50"},
      {"-20000,5", 2, false, "n/a"},
      {"-20000,5", 2, true, "-20000,50"},
      {"-20000", 2, false, "n/a"},
      {"1,5", 1, false, "1,5"},
      {"2,99", 1, false, "2,9"},
      {"2,5", -1, false, "2"},
      {"1,5", 5, false, "1,50000"},
      {"1,5", -3, false, "1,"},
      {"1E-3", 4, false, "0,0010"},
      {"1.5E2", 2, true, "1500,00"},
      {"abc", 2, false, "0,00"},
      {",", 2, false, "0,00"},
      {"...", 2, false, "0,00"},
      {"-", 2, false, "0,00"},
      {"--1", 2, false, "-1,00"},
      {"1 2 3", 2, false, "123,00"},
      {"1,2,3", 3, false, "1,230"},
      {1234.5678, 3, true, "1234,567"},
      {int64_t{12}, 2, false, "12,00"},
      {"123456789012345,678", 3, true, "56789012345,678"},
      {std::string("\0"
                   "12",
                   3),
       2, false, "0,00"},
  };
  for (const auto& c : cases) {
    Variant value = c.value;
    int16_t decimals = c.decimals;
    EXPECT_EQ(NormaliseerGetal(value, decimals, c.allow_large), c.text)
        << c.value.Text() << " decimals " << c.decimals;
  }
}

TEST_F(NumberFormatTest, NormaliseerGetalChangesTheCallersArguments) {
  Variant value = "1 2%";
  int16_t decimals = 0;
  EXPECT_EQ(NormaliseerGetal(value, decimals, false), "12,00");
  EXPECT_EQ(decimals, 2);
  EXPECT_EQ(value, Variant("12"));

  Variant number = 12.5;
  decimals = 3;
  NormaliseerGetal(number, decimals, false);
  EXPECT_EQ(number, Variant("12,5"));  // now a text, as the removal leaves it
  EXPECT_EQ(decimals, 3);

  Variant null = Variant::Null();
  NormaliseerGetal(null, decimals, false);
  EXPECT_TRUE(null.IsNull());
}

TEST_F(NumberFormatTest, FormatGetal) {
  const struct {
    Variant value;
    int16_t decimals;
    bool grouping;
    const char* text;
  } cases[] = {
      {1234567.891, 3, true, "1.234.567,891"},
      {1234567.891, 0, true, "1.234.567"},
      {1234567.891, 3, false, "1234567,891"},
      {12.5, 3, false, "12,500"},
      {12.5, 4, false, "12,5000"},
      {"-1234,5", 2, true, "-1.234,50"},
      {"-123456", 0, true, "-123.456"},
      {"-123", 0, true, "-123"},
      {-12.7, 0, false, "-12"},
      {"12,7", 0, false, "12"},
      {"-0,5", 0, false, "0"},
      {"n/a", 3, false, "0,000"},
      {"12345", 0, true, "12.345"},
      {"999", 0, true, "999"},
  };
  for (const auto& c : cases) {
    Variant value = c.value;
    EXPECT_EQ(FormatGetal(value, c.decimals, c.grouping), c.text) << c.value.Text();
  }
}

TEST_F(NumberFormatTest, FormatGetalSetsTheCallersValueToZero) {
  Variant empty = "";
  EXPECT_EQ(FormatGetal(empty, 3, false), "0,000");
  EXPECT_EQ(empty, Variant("0"));  // 0, then cleaned to text by NormaliseerGetal

  Variant null = Variant::Null();
  EXPECT_EQ(FormatGetal(null, 0, false), "0");
  EXPECT_EQ(null, Variant(0));

  // Truncating a text that is no number fails: nothing was built yet.
  Variant text = "abc";
  EXPECT_EQ(FormatGetal(text, 0, true), "");
  EXPECT_EQ(text, Variant(0));

  Variant huge = "1E400";
  EXPECT_EQ(FormatGetal(huge, 0, false), "");
  EXPECT_EQ(huge, Variant(0));
}

TEST_F(NumberFormatTest, TelTeken) {
  std::string text = "a.b.c";
  std::string point = ".";
  EXPECT_EQ(TelTeken(text, point), 2);

  std::string letters = "aXbXxX";
  std::string empty;
  EXPECT_EQ(TelTeken(letters, empty), 3);
  EXPECT_EQ(empty, "X");

  std::string accents =
      "\xC3\xA9\xC3\xA9"
      "a";
  std::string e_acute = "\xC3\xA9";
  EXPECT_EQ(TelTeken(accents, e_acute), 2);

  std::string two = "ab";
  std::string abc = "abcab";
  EXPECT_EQ(TelTeken(abc, two), 0);
}

}  // namespace
}  // namespace typrosync

// The platform conversions between numbers and Dutch texts.

#include "common/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common/dutch_locale.h"
#include "common/vb_error.h"

namespace typrosync {
namespace {

long ErrorNumberOf(void (*call)()) {
  try {
    call();
  } catch (const VbError& error) {
    return error.number();
  }
  return 0;
}

TEST(FormatDoubleTest, FifteenSignificantDigitsWithDecimalComma) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {0, "0"},
      {-0.0, "0"},
      {12.5, "12,5"},
      {-1234.5, "-1234,5"},
      {-0.5, "-0,5"},
      {0.1 + 0.2, "0,3"},
      {1.0 / 3, "0,333333333333333"},
      {2.0 / 3, "0,666666666666667"},
      {999999999999999, "999999999999999"},
      {1e15, "1E+15"},
      {123456789012345678.0, "1,23456789012346E+17"},
      {1e100, "1E+100"},
      {0.0001, "0,0001"},
      {0.00015, "0,00015"},
      {0.000015, "1,5E-05"},
      {-2.5e-7, "-2,5E-07"},
      {9.999999999999999, "10"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDouble(c.value), c.text) << c.value;
}

TEST(TryParseNumberTest, ReadsDutchNumberTexts) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"12,5", 12.5}, {" 1.234,5 ", 1234.5}, {"1.5", 15},       {"-,5", -0.5},  {"+3", 3},
      {"5,", 5},      {"1E3", 1000},         {"1,5e-2", 0.015}, {"\t7\r\n", 7}, {"1E-400", 0},
      {"0012", 12},   {"1.2.3", 123},
  };
  for (const auto& c : cases) {
    const auto value = TryParseNumber(c.text);
    ASSERT_TRUE(value.has_value()) << c.text;
    EXPECT_DOUBLE_EQ(*value, c.value) << c.text;
  }
}

TEST(TryParseNumberTest, RejectsTextsThatAreNoNumber) {
  for (const char* text : {"", " ", "abc", ",", ".", "-", "1E", "E5", "12a", "1,2,3", "- 5", "1e+",
                           "12%", "1,5.3", "1E400"}) {
    EXPECT_FALSE(TryParseNumber(text).has_value()) << text;
  }
}

TEST(ParseNumberTest, TypeMismatchAndOverflow) {
  EXPECT_EQ(ErrorNumberOf([] { ParseNumber("x"); }), 13);
  EXPECT_EQ(ErrorNumberOf([] { ParseNumber("1E400"); }), 6);
  EXPECT_EQ(ErrorNumberOf([] { ParseNumber("-99999999999999999999E300"); }), 6);
  EXPECT_DOUBLE_EQ(ParseNumber("2,5"), 2.5);
}

TEST(LeadingNumberTest, ReadsAsFarAsTheNumberGoes) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"12abc", 12}, {" 1 2 3", 123}, {"1.5.6", 1.5}, {"-3e2x", -300}, {"abc", 0}, {"12,5", 12},
      {".", 0},      {"", 0},         {"- 4", -4},    {"2D1", 20},     {"7e", 7},  {"+.5", 0.5},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.value) << c.text;
  EXPECT_EQ(ErrorNumberOf([] { LeadingNumber("1e999"); }), 6);
}

TEST(RoundingTest, HalvesToEvenAndAwayFromZero) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfAway(2.5), 3);
  EXPECT_EQ(RoundHalfAway(-2.5), -3);
  // The decimal rounding follows the 15-digit text, not the binary value.
  EXPECT_DOUBLE_EQ(RoundDecimalHalfAway(2.675, 2), 2.68);
  EXPECT_DOUBLE_EQ(RoundDecimalHalfAway(1.005, 2), 1.01);
  EXPECT_DOUBLE_EQ(RoundDecimalHalfAway(-2.675, 2), -2.68);
  EXPECT_DOUBLE_EQ(RoundDecimalHalfAway(1234.5, -1), 1230);
}

TEST(RangeCheckTest, SixteenAndThirtyTwoBit) {
  EXPECT_EQ(ToInteger16(32767.4), 32767);
  EXPECT_EQ(ToInteger16(-32768.5), -32768);
  EXPECT_EQ(ToInteger16(2.5), 2);
  EXPECT_EQ(ErrorNumberOf([] { ToInteger16(32767.5); }), 6);
  EXPECT_EQ(ErrorNumberOf([] { ToInteger16(-32769); }), 6);
  EXPECT_EQ(ErrorNumberOf([] { ToInteger16(std::nan("")); }), 6);
  EXPECT_EQ(ToLong32(-2147483648.0), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(ErrorNumberOf([] { ToLong32(2147483647.5); }), 6);
}

TEST(DecimalTextTest, ExactValueWithoutExponent) {
  const struct {
    const char* text;
    const char* decimal;
  } cases[] = {
      {"1E-3", "0,001"},
      {"1,5E3", "1500"},
      {"-2,50E1", "-25"},
      {"12", "12"},
      {"0,10", "0,1"},
      {"-0E5", "0"},
      {"1.234,5E-1", "123,45"},
      {"1E28", "10000000000000000000000000000"},
      {"1E-29", "0"},
      {"5E-29", "0"},
      {"1,5E-28", "0,0000000000000000000000000002"},
      {"79228162514264337593543950335", "79228162514264337593543950335"},
      {"1,23456789012345678901234567891", "1,2345678901234567890123456789"},
      {"1E-99999999", "0"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DecimalText(c.text).value_or("<none>"), c.decimal) << c.text;
  for (const char* text : {"abc", "", "1E", "79228162514264337593543950336", "1E29", "1E99999"}) {
    EXPECT_FALSE(DecimalText(text).has_value()) << text;
  }
}

TEST(FormatFixedTest, FixedDecimalsRoundedHalfAway) {
  const struct {
    double value;
    int decimals;
    const char* text;
  } cases[] = {
      {2.675, 2, "2,68"},    {-0.004, 2, "0,00"},  {0.5, 0, "1"},
      {-0.5, 0, "-1"},       {12.5, 3, "12,500"},  {-1.2345, 3, "-1,235"},
      {9.9999, 3, "10,000"}, {1e-300, 2, "0,00"},  {1e20, 2, "100000000000000000000,00"},
      {0, 4, "0,0000"},      {123.456, -2, "123"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatFixed(c.value, c.decimals), c.text) << c.value;
}

// The process locale changes when the window toolkit starts; the conversions
// must give the same texts under a Dutch locale as under "C".
TEST(NumberTextLocaleTest, IndependentOfTheProcessLocale) {
  testing::CLocaleAfterTest restore;
  if (!testing::UseDutchLocale()) GTEST_SKIP() << "no Dutch locale available";
  EXPECT_EQ(FormatDouble(12.5), "12,5");
  EXPECT_EQ(FormatDouble(1.5e-5), "1,5E-05");
  EXPECT_DOUBLE_EQ(TryParseNumber("1.234,5").value_or(0), 1234.5);
  EXPECT_DOUBLE_EQ(LeadingNumber("1.5"), 1.5);
  EXPECT_DOUBLE_EQ(RoundDecimalHalfAway(2.675, 2), 2.68);
  EXPECT_EQ(FormatFixed(3.14159, 3), "3,142");
}

}  // namespace
}  // namespace typrosync

// The platform conversions between numbers and Dutch texts, the loosely typed
// value and the fixed-point money type.

#include "common/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common/currency.h"
#include "common/test_support.h"
#include "common/variant.h"

namespace typrosync {
namespace {

using testing::ErrorNumber;
constexpr int64_t kMaxRaw = std::numeric_limits<int64_t>::max();

TEST(NumberTextTest, FormatDoubleFifteenDigitsAndDecimalComma) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {-0.0, "0"},
      {-1234.5, "-1234,5"},
      {0.1 + 0.2, "0,3"},
      {2.0 / 3, "0,666666666666667"},
      {999999999999999, "999999999999999"},
      {1e15, "1E+15"},
      {123456789012345678.0, "1,23456789012346E+17"},
      {0.0001, "0,0001"},
      {0.000015, "1,5E-05"},
      {-2.5e-7, "-2,5E-07"},
      {9.999999999999999, "10"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDouble(c.value), c.text) << c.value;
}

TEST(NumberTextTest, TryParseNumberReadsDutchNumberTexts) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {" 1.234,5 ", 1234.5}, {"1.5", 15},    {"-,5", -0.5}, {"+3", 3},      {"5,", 5},
      {"1,5e-2", 0.015},     {"\t7\r\n", 7}, {"1E-400", 0}, {"1.2.3", 123},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(TryParseNumber(c.text).value_or(-99), c.value);
  for (const char* text :
       {"", " ", ",", "-", "1E", "E5", "12a", "1,2,3", "- 5", "1e+", "12%", "1,5.3", "1E400"}) {
    EXPECT_FALSE(TryParseNumber(text).has_value()) << text;
  }
  EXPECT_EQ(ErrorNumber([] { ParseNumber("x"); }), 13);
  EXPECT_EQ(ErrorNumber([] { ParseNumber("-99999999999999999999E300"); }), 6);
}

TEST(NumberTextTest, LeadingNumberReadsAsFarAsTheNumberGoes) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"12abc", 12}, {" 1 2 3", 123}, {"1.5.6", 1.5}, {"-3e2x", -300}, {"abc", 0},   {"12,5", 12},
      {"", 0},       {"- 4", -4},     {"2D1", 20},    {"7e", 7},       {"+.5", 0.5},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.value) << c.text;
  EXPECT_EQ(ErrorNumber([] { LeadingNumber("1e999"); }), 6);
}

TEST(NumberTextTest, RoundingAndRangeChecks) {
  const struct { double value, even, away; } halves[] = {{2.5, 2, 3}, {3.5, 4, 4}, {-2.5, -2, -3}};
  for (const auto& c : halves) {
    EXPECT_EQ(RoundHalfEven(c.value), c.even) << c.value;
    EXPECT_EQ(RoundHalfAway(c.value), c.away) << c.value;
  }
  // The decimal rounding follows the 15-digit text, not the binary value.
  EXPECT_DOUBLE_EQ(RoundDecimalHalfAway(1.005, 2), 1.01);
  EXPECT_DOUBLE_EQ(RoundDecimalHalfAway(-2.675, 2), -2.68);
  EXPECT_DOUBLE_EQ(RoundDecimalHalfAway(1234.5, -1), 1230);
  EXPECT_EQ(ToInteger16(32767.4), 32767);
  EXPECT_EQ(ToInteger16(-32768.5), -32768);
  EXPECT_EQ(ToLong32(-2147483648.0), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(ErrorNumber([] { ToInteger16(32767.5); }), 6);
  EXPECT_EQ(ErrorNumber([] { ToInteger16(-32769); }), 6);
  EXPECT_EQ(ErrorNumber([] { ToInteger16(std::nan("")); }), 6);
  EXPECT_EQ(ErrorNumber([] { ToLong32(2147483647.5); }), 6);
}

TEST(NumberTextTest, DecimalTextAndFormatFixed) {
  const struct {
    const char* text;
    const char* decimal;
  } cases[] = {
      {"1E-3", "0,001"},
      {"-2,50E1", "-25"},
      {"-0E5", "0"},
      {"1.234,5E-1", "123,45"},
      {"5E-29", "0"},
      {"1,5E-28", "0,0000000000000000000000000002"},
      {"1E-99999999", "0"},
      {"1E28", "10000000000000000000000000000"},
      {"79228162514264337593543950335", "79228162514264337593543950335"},
      {"1,23456789012345678901234567891", "1,2345678901234567890123456789"},
  };
  for (const auto& c : cases) EXPECT_EQ(DecimalText(c.text).value_or("-"), c.decimal) << c.text;
  for (const char* text : {"abc", "1E", "79228162514264337593543950336", "1E29", "1E99999"}) {
    EXPECT_FALSE(DecimalText(text).has_value()) << text;
  }
  const struct {
    double value;
    int decimals;
    const char* text;
  } fixed[] = {
      {2.675, 2, "2,68"},     {-0.004, 2, "0,00"},   {-0.5, 0, "-1"},
      {-1.2345, 3, "-1,235"}, {9.9999, 3, "10,000"}, {1e20, 2, "100000000000000000000,00"},
      {123.456, -2, "123"},
  };
  for (const auto& c : fixed) EXPECT_EQ(FormatFixed(c.value, c.decimals), c.text) << c.value;
}

// The process locale changes when the window toolkit starts; the texts must not.
TEST(NumberTextTest, IndependentOfTheProcessLocale) {
  testing::DutchLocale dutch;
  ASSERT_TRUE(dutch.active);
  EXPECT_EQ(FormatDouble(1.5e-5), "1,5E-05");
  EXPECT_DOUBLE_EQ(TryParseNumber("1.234,5").value_or(0), 1234.5);
  EXPECT_DOUBLE_EQ(LeadingNumber("1.5"), 1.5);
  EXPECT_EQ(FormatFixed(3.14159, 3), "3,142");
  EXPECT_EQ(Variant(12.5).Text(), "12,5");
}

TEST(CurrencyTest, HalvesToEvenAndOverflow) {
  const Currency half = Currency::FromRaw(5000);
  EXPECT_EQ((Currency::FromRaw(10001) * half).raw(), 5000);  // 0,50005 -> 0,5000
  EXPECT_EQ((Currency::FromRaw(-10003) * half).raw(), -5002);
  EXPECT_EQ(Currency::FromDouble(1.23456).raw(), 12346);
  const struct {
    const char* text;
    int64_t raw;
  } cases[] = {
      {"1.234,5", 12345000},
      {"0,00015", 2},
      {"0,00025", 2},
      {"0,000251", 3},
      {"-0,00015", -2},
      {"922337203685477,5807", kMaxRaw},
      {"-922337203685477,5808", -kMaxRaw - 1},
  };
  for (const auto& c : cases) EXPECT_EQ(Currency::FromText(c.text).raw(), c.raw) << c.text;
  EXPECT_EQ(ErrorNumber([] { Currency::FromText("922337203685477,5808"); }), 6);
  EXPECT_EQ(ErrorNumber([] { Currency::FromText("12a"); }), 13);
  EXPECT_EQ(ErrorNumber([] { Currency::FromDouble(1e300); }), 6);
  const Currency max = Currency::FromRaw(kMaxRaw);
  EXPECT_EQ(ErrorNumber([&] { (void)(max + Currency::FromRaw(1)); }), 6);
  EXPECT_EQ(ErrorNumber([&] { (void)(max * max); }), 6);
  EXPECT_EQ(ErrorNumber([&] { (void)(max / Currency()); }), 11);
  EXPECT_EQ(Currency::FromRaw(-5).ToText(), "-0,0005");
  EXPECT_EQ(Currency::FromRaw(-kMaxRaw - 1).ToText(), "-922337203685477,5808");
}

TEST(VariantTest, TextsNumbersAndZero) {
  EXPECT_EQ(Variant(true).Text() + Variant(false).Text(), "WaarOnwaar");
  EXPECT_EQ(Variant(Currency::FromRaw(10)).Text(), "0,001");
  EXPECT_EQ(Variant(true).ToDouble(), -1);
  EXPECT_EQ(ErrorNumber([] { (void)Variant("abc").ToDouble(); }), 13);
  EXPECT_EQ(ErrorNumber([] { (void)Variant::Null().ToDouble(); }), 94);
  EXPECT_EQ(Variant::Null().ToDoubleOrZero(), 0);
  EXPECT_EQ(Variant("abc").ToDoubleOrZero(), 0);
  EXPECT_EQ(ErrorNumber([] { (void)Variant(kMaxRaw).ToCurrency(); }), 6);
  EXPECT_FALSE(Variant(" ").IsEmptyValue());
  for (Variant zero : {Variant(), Variant("0,00"), Variant(false)}) EXPECT_TRUE(zero.EqualsZero());
  for (Variant other : {Variant::Null(), Variant(""), Variant("abc"), Variant(0.0001)}) {
    EXPECT_FALSE(other.EqualsZero()) << other.Text();
  }
}

}  // namespace
}  // namespace typrosync

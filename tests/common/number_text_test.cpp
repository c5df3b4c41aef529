// The platform conversions between numbers and Dutch texts, the loosely typed
// value, the fixed-point money type, and the amount and number texts made
// from loosely typed values.

#include "common/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common/currency.h"
#include "common/file_helpers.h"
#include "common/number_format.h"
#include "common/test_support.h"
#include "common/variant.h"

namespace typrosync {
namespace {

using test_support::ErrorNumbers;
using test_support::Joined;

using ValueAndDecimals = std::pair<double, int>;
constexpr int64_t kMaxRaw = std::numeric_limits<int64_t>::max();

TEST(NumberTextTest, FormatDoubleFifteenDigitsAndDecimalComma) {
  EXPECT_EQ(Joined({-0.0, -1234.5, 0.1 + 0.2, 2.0 / 3, 999999999999999.0, 1e15,
                    123456789012345678.0, 0.0001, 0.000015, -2.5e-7, 9.999999999999999},
                   FormatDouble),
            "0|-1234,5|0,3|0,666666666666667|999999999999999|1E+15|1,23456789012346E+17|0,0001|"
            "1,5E-05|-2,5E-07|10");
}

// TryParseNumber reads whole number texts only; LeadingNumber as far as the number goes.
TEST(NumberTextTest, ReadingNumbers) {
  const auto parsed = [](const char* text) {
    const auto value = TryParseNumber(text);
    return value ? FormatDouble(*value) : "-";
  };
  EXPECT_EQ(Joined({" 1.234,5 ", "1.5", "-,5", "+3",  "5,",    "1,5e-2", "\t7\r\n", "1E-400",
                    "1.2.3",     "",    " ",   ",",   "-",     "1E",     "E5",      "12a",
                    "1,2,3",     "- 5", "1e+", "12%", "1,5.3", "1E400"},
                   parsed),
            "1234,5|15|-0,5|3|5|0,015|7|0|123|-|-|-|-|-|-|-|-|-|-|-|-|-");
  EXPECT_EQ(
      Joined({"12abc", " 1 2 3", "1.5.6", "-3e2x", "abc", "12,5", "", "- 4", "2D1", "7e", "+.5"},
             [](const char* text) { return FormatDouble(LeadingNumber(text)); }),
      "12|123|1,5|-300|0|12|0|-4|20|7|0,5");
  EXPECT_EQ(
      ErrorNumbers({[] { ParseNumber("x"); }, [] { ParseNumber("-99999999999999999999E300"); },
                    [] { LeadingNumber("1e999"); }}),
      "13|6|6");
}

TEST(NumberTextTest, RoundingAndRangeChecks) {
  EXPECT_EQ(Joined({2.5, 3.5, -2.5, 0.5},
                   [](double v) {
                     return FormatDouble(RoundHalfEven(v)) + FormatDouble(RoundHalfAway(v));
                   }),
            "23|44|-2-3|01");
  EXPECT_EQ(ToInteger16(32767.4), 32767);
  EXPECT_EQ(ToInteger16(-32768.5), -32768);
  EXPECT_EQ(ErrorNumbers({[] { ToInteger16(32767.5); }, [] { ToInteger16(-32769); },
                          [] { ToInteger16(std::nan("")); }, [] { ToLong32(2147483647.5); }}),
            "6|6|6|6");
}

// Exact decimals without exponent: at most 28 decimals and 29 digits. Fixed
// decimals round on the 15-digit text, not the binary value (2.675 to 2,68).
TEST(NumberTextTest, DecimalTextAndFormatFixed) {
  EXPECT_EQ(Joined({"1E-3", "-2,50E1", "-0E5", "1.234,5E-1", "5E-29", "1E-99999999", "1,5E-28",
                    "1E28", "79228162514264337593543950335", "1,23456789012345678901234567891",
                    "abc", "1E", "79228162514264337593543950336", "1E29", "1E99999"},
                   [](const char* text) { return DecimalText(text).value_or("-"); }),
            "0,001|-25|0|123,45|0|0|0,0000000000000000000000000002|10000000000000000000000000000|"
            "79228162514264337593543950335|1,2345678901234567890123456789|-|-|-|-|-");
  EXPECT_EQ(
      Joined<ValueAndDecimals>(
          {{2.675, 2}, {-0.004, 2}, {-0.5, 0}, {-1.2345, 3}, {9.9999, 3}, {123.456, -2}, {1e20, 2}},
          [](auto c) { return FormatFixed(c.first, c.second); }),
      "2,68|0,00|-1|-1,235|10,000|123|100000000000000000000,00");
}

// The process locale changes when the window toolkit starts; the texts must not.
TEST(NumberTextTest, IndependentOfTheProcessLocale) {
  test_support::DutchLocale dutch;
  ASSERT_TRUE(dutch.active);
  EXPECT_EQ(FormatDouble(1.5e-5), "1,5E-05");
  EXPECT_DOUBLE_EQ(TryParseNumber("1.234,5").value_or(0), 1234.5);
  EXPECT_DOUBLE_EQ(LeadingNumber("1.5"), 1.5);
  EXPECT_EQ(FormatFixed(3.14159, 3), "3,142");
  EXPECT_EQ(Variant(12.5).Text(), "12,5");
}

// Currency, and Variant conversions, with their errors.
TEST(CurrencyTest, HalvesToEvenAndOverflow) {
  const Currency half = Currency::FromRaw(5000), max = Currency::FromRaw(kMaxRaw);
  EXPECT_EQ((Currency::FromRaw(10001) * half).raw(), 5000);  // 0,50005 -> 0,5000
  EXPECT_EQ((Currency::FromRaw(-10003) * half).raw(), -5002);
  EXPECT_EQ(Currency::FromDouble(1.23456).raw(), 12346);
  EXPECT_EQ(Joined({"1.234,5", "0,00015", "0,00025", "0,000251", "-0,00015", "922337203685477,5807",
                    "-922337203685477,5808"},
                   [](const char* text) { return std::to_string(Currency::FromText(text).raw()); }),
            "12345000|2|2|3|-2|9223372036854775807|-9223372036854775808");
  EXPECT_EQ(
      ErrorNumbers({[] { Currency::FromText("922337203685477,5808"); },
                    [] { Currency::FromText("12a"); }, [] { Currency::FromDouble(1e300); },
                    [&] { (void)(max + Currency::FromRaw(1)); }, [&] { (void)(max * max); },
                    [&] { (void)(max / Currency()); }, [] { (void)Variant("abc").ToDouble(); },
                    [] { (void)Variant::Null().ToDouble(); },
                    [] { (void)Variant(kMaxRaw).ToCurrency(); }}),
      "6|13|6|6|6|11|13|94|6");
  EXPECT_EQ(Currency::FromRaw(-5).ToText() + Currency::FromRaw(-kMaxRaw - 1).ToText(),
            "-0,0005-922337203685477,5808");
}

TEST(VariantTest, TextsNumbersAndZero) {
  EXPECT_EQ(Variant(true).Text() + Variant(false).Text() + Variant(Currency::FromRaw(10)).Text(),
            "WaarOnwaar0,001");
  EXPECT_EQ(Variant(true).ToDouble(), -1);
  EXPECT_FALSE(Variant(" ").IsEmptyValue());
  EXPECT_EQ(Joined<Variant>({Variant(), "0,00", false, Variant::Null(), "", "abc", 0.0001},
                            [](const Variant& value) { return value.EqualsZero() ? "0" : "-"; }),
            "0|0|0|-|-|-|-");
}

using NumberFormatTest = test_support::DutchSeparatorsTest;

std::string Amount(Variant value, bool brackets = false, bool whole = false, bool round = false) {
  Separators separators;
  return NormaliseerBedrag(separators, value, brackets, whole, round);
}

// Plain, with brackets, in whole units and rounded (halves to even).
TEST_F(NumberFormatTest, NormaliseerBedragWithEachFlag) {
  EXPECT_EQ(Joined<Variant>({1234.5, -1234.5, "12.5", "1.234", "1,995", "3,5", "-2,5", "12a", "",
                             "\xC2\xA0\xC2\xA0", "1234567,891", "-999,995"},
                            [](const Variant& value) {
                              return Amount(value) + " " + Amount(value, true) + " " +
                                     Amount(value, false, true) + " " +
                                     Amount(value, false, false, true);
                            }),
            "1.234,50 1.234,50 1.234 1.234|-1.234,50 <1.234,50> -1.234 -1.234|12,50 12,50 12 12|"
            "1.234,00 1.234,00 1.234 1.234|2,00 2,00 2 2|3,50 3,50 3 4|-2,50 <2,50> -2 -2|"
            "0,00 0,00 0,00 0,00|0,00 0,00 0 0,00|0,00 0,00 0 0,00|"
            "1.234.567,89 1.234.567,89 1.234.567 1.234.568|-1.000,00 <1.000,00> -1.000 -1.000");
  EXPECT_EQ(Amount("-1234,99", true, true) + Amount("-3,5", true, true, true), "<1.234><4>");
}

TEST_F(NumberFormatTest, NormaliseerBedragCleansTypedTexts) {
  // At most twenty characters where no decimal separator is written yet; a
  // large negative number comes back from the sign step in exponent form.
  EXPECT_EQ(Joined<Variant>({",50", "5E-3", "1,5E3", "2E3 kg", "1 234,5", "\xC2\xA0 7,25\xC2\xA0",
                             "--5", "5-", "-,", "1,2,3", "0,004", "-0,001", "12.5,", "1,234.5",
                             "1+2", Currency::FromRaw(125000), int64_t{1234567},
                             "123456789012345678901", "-123456789012345678901"},
                            [](Variant value) { return Amount(value); }),
            "0,50|0,01|1.500,00|2.000,00|1.234,50|7,25|-5,00|5,00|-0,00|1,20|0,00|-0,00|125,00|"
            "1.234,50|0,00|12,50|1.234.567,00|56.789.012.345.678.901,00|-1,23");
  separators.gsDecimaalTeken = ".";
  separators.gsDuizendTeken = " ";
  Variant empty = "", typed = "1234,5";
  // The empty answer comes before the settings are pinned.
  EXPECT_EQ(NormaliseerBedrag(separators, empty), "0.00");
  EXPECT_EQ(NormaliseerBedrag(separators, typed), "1.234,50");
  EXPECT_EQ(separators.gsDecimaalTeken + separators.gsDuizendTeken, ",.");
  EXPECT_EQ(separators.gsDecimaalTekenGetal + separators.gsDuizendTekenGetal, ",.");
}

// The text with the given decimals and allow_large.
auto Number(int16_t decimals, bool allow_large) {
  return [=](const char* text) {
    Variant value = text;
    int16_t count = decimals;
    Separators separators;
    return NormaliseerGetal(separators, value, count, allow_large);
  };
}

// Only whole numbers are range-checked; negatives are rounded to two decimals.
TEST_F(NumberFormatTest, NormaliseerGetal) {
  EXPECT_EQ(Joined({"n/a", "(niet ingesteld)", "12%", "1500", "1000", "1500,5", "1.234", "12.5",
                    "-20000,5", "--1"},
                   Number(2, false)),
            "0,00|0,00|12,00|n/a|1000,00|1500,50|n/a|12,50|n/a|-1,00");
  EXPECT_EQ(Joined({"1500", "-20000,5", "1.5E2"}, Number(2, true)), "1500,00|-20000,50|1500,00");
  EXPECT_EQ(Joined({"1,23456", "-1,23456", "1E-3"}, Number(4, false)), "1,2345|-1,2300|0,0010");
  EXPECT_EQ(Joined({"-1,235", "1,2,3"}, Number(3, false)), "-1,240|1,230");
  EXPECT_EQ(Number(1, false)("2,99") + Number(-1, false)("2,5") + Number(-3, false)("1,5"),
            "2,921,");
  EXPECT_EQ(Number(3, true)("123456789012345,678"), "56789012345,678");
  Variant value = "1 2%", number = 1234.5678, null = Variant::Null(),
          nul = std::string(1, '\0') + "1";
  int16_t decimals = 0;
  EXPECT_EQ(NormaliseerGetal(separators, value, decimals, false), "12,00");
  EXPECT_EQ(decimals, 2);
  EXPECT_EQ(value, Variant("12"));  // spaces and "%" removed from the caller's value
  EXPECT_EQ(NormaliseerGetal(separators, number, ++decimals, true), "1234,567");
  EXPECT_EQ(number, Variant("1234,5678"));
  EXPECT_EQ(NormaliseerGetal(separators, null, decimals, false) +
                NormaliseerGetal(separators, nul, decimals, false),
            "0,0000,000");
}

TEST_F(NumberFormatTest, FormatGetal) {
  const auto format = [](int16_t decimals, bool grouping) {
    return [=](const char* text) {
      Variant value = text;
      Separators fresh;
      return FormatGetal(fresh, value, decimals, grouping);
    };
  };
  EXPECT_EQ(Joined({"1234567,891", "-1234,5", "999"}, format(2, true)),
            "1.234.567,89|-1.234,50|999,00");
  EXPECT_EQ(Joined({"1234567,891", "-123456"}, format(0, true)), "1.234.567|-123.456");
  EXPECT_EQ(Joined({"1234567,891", "12,5", "n/a"}, format(3, false)), "1234567,891|12,500|0,000");
  EXPECT_EQ(Joined({"-12,7", "-0,5"}, format(0, false)), "-12|0");
  // An empty value becomes 0 in the caller's variable; a failure gives the
  // text built so far (nothing) and sets it to 0.
  EXPECT_EQ(Joined<Variant>({"", Variant::Null(), "abc", "1E400"},
                            [](Variant value) {
                              Separators fresh;
                              const std::string text = FormatGetal(fresh, value, 0, false);
                              return text + "/" + value.Text();
                            }),
            "0/0|0/0|/0|/0");
}

// Everything after the first decimal separator counts.
TEST_F(NumberFormatTest, AantalDecimalen) {
  EXPECT_EQ(Joined({"2,5 kg", "1,2,3", "1.5"},
                   [&](const char* text) {
                     return std::to_string(AantalDecimalen(text, separators));
                   }),
            "4|3|0");
}

}  // namespace
}  // namespace typrosync

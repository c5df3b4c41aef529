// Amount and number texts made from loosely typed values.

#include "common/number_format.h"

#include <gtest/gtest.h>

#include "common/file_helpers.h"
#include "common/test_support.h"

namespace typrosync {
namespace {

using NumberFormatTest = testing::DutchSeparatorsTest;
using testing::Joined;

std::string Bedrag(Variant value, bool brackets = false, bool whole = false, bool round = false) {
  return NormaliseerBedrag(value, brackets, whole, round);
}

// Plain, with brackets, in whole units and rounded (halves to even).
TEST_F(NumberFormatTest, NormaliseerBedragWithEachFlag) {
  EXPECT_EQ(
      Joined<Variant>({1234.5, -1234.5, "12.5", "1.234", "1,995", "2,345", "3,5", "-2,5", "12a", "",
                       Variant::Null(), "\xC2\xA0\xC2\xA0", "1234567,891", "-999,995"},
                      [](const Variant& value) {
                        return Bedrag(value) + " " + Bedrag(value, true) + " " +
                               Bedrag(value, false, true) + " " + Bedrag(value, false, false, true);
                      }),
      "1.234,50 1.234,50 1.234 1.234|-1.234,50 <1.234,50> -1.234 -1.234|12,50 12,50 12 12|"
      "1.234,00 1.234,00 1.234 1.234|2,00 2,00 2 2|2,35 2,35 2 2|3,50 3,50 3 4|"
      "-2,50 <2,50> -2 -2|0,00 0,00 0,00 0,00|0,00 0,00 0 0,00|0,00 0,00 0 0,00|"
      "0,00 0,00 0 0,00|1.234.567,89 1.234.567,89 1.234.567 1.234.568|"
      "-1.000,00 <1.000,00> -1.000 -1.000");
  EXPECT_EQ(Bedrag("-1234,99", true, true) + Bedrag("-3,5", true, true, true), "<1.234><4>");
}

TEST_F(NumberFormatTest, NormaliseerBedragCleansTypedTexts) {
  // At most twenty characters where no decimal separator is written yet; a
  // large negative number comes back from the sign step in exponent form.
  EXPECT_EQ(Joined<Variant>({",50", "5E-3", "1,5E3", "2E3 kg", "1 234,5", "\xC2\xA0 7,25\xC2\xA0",
                             "--5", "5-", "-,", "1,2,3", "0,004", "-0,001", "12.5,", "1,234.5",
                             "1+2", Currency::FromRaw(125000), int64_t{1234567},
                             "123456789012345678901", "-123456789012345678901"},
                            [](Variant value) { return Bedrag(value); }),
            "0,50|0,01|1.500,00|2.000,00|1.234,50|7,25|-5,00|5,00|-0,00|1,20|0,00|-0,00|125,00|"
            "1.234,50|0,00|12,50|1.234.567,00|56.789.012.345.678.901,00|-1,23");
  gsDecimaalTeken = ".";
  gsDuizendTeken = " ";
  EXPECT_EQ(Bedrag(""), "0.00");  // the empty answer comes before the settings are pinned
  EXPECT_EQ(Bedrag("1234,5"), "1.234,50");
  EXPECT_EQ(gsDecimaalTeken + gsDuizendTeken, ",.");
}

// The text with the given decimals and allow_large.
auto Getal(int16_t decimals, bool allow_large) {
  return [=](const char* text) {
    Variant value = text;
    int16_t count = decimals;
    return NormaliseerGetal(value, count, allow_large);
  };
}

// Only whole numbers are range-checked; negatives are rounded to two decimals.
TEST_F(NumberFormatTest, NormaliseerGetal) {
  EXPECT_EQ(Joined({"n/a", "(niet ingesteld)", "12%", "1500", "1000", "1500,5", "1.234", "12.5",
                    "-20000,5", "--1"},
                   Getal(2, false)),
            "0,00|0,00|12,00|n/a|1000,00|1500,50|n/a|12,50|n/a|-1,00");
  EXPECT_EQ(Joined({"1500", "-20000,5", "1.5E2"}, Getal(2, true)), "1500,00|-20000,50|1500,00");
  EXPECT_EQ(Joined({"1,23456", "-1,23456", "1E-3"}, Getal(4, false)), "1,2345|-1,2300|0,0010");
  EXPECT_EQ(Joined({"-1,235", "1,2,3"}, Getal(3, false)), "-1,240|1,230");
  EXPECT_EQ(Getal(1, false)("2,99") + Getal(-1, false)("2,5") + Getal(-3, false)("1,5"), "2,921,");
  EXPECT_EQ(Getal(3, true)("123456789012345,678"), "56789012345,678");
  Variant value = "1 2%", number = 1234.5678, null = Variant::Null(),
          nul = std::string(1, '\0') + "1";
  int16_t decimals = 0;
  EXPECT_EQ(NormaliseerGetal(value, decimals, false), "12,00");
  EXPECT_EQ(decimals, 2);
  EXPECT_EQ(value, Variant("12"));  // spaces and "%" removed from the caller's value
  EXPECT_EQ(NormaliseerGetal(number, ++decimals, true), "1234,567");
  EXPECT_EQ(number, Variant("1234,5678"));
  EXPECT_EQ(NormaliseerGetal(null, decimals, false) + NormaliseerGetal(nul, decimals, false),
            "0,0000,000");
}

TEST_F(NumberFormatTest, FormatGetal) {
  const auto format = [](int16_t decimals, bool grouping) {
    return [=](const char* text) {
      Variant value = text;
      return FormatGetal(value, decimals, grouping);
    };
  };
  EXPECT_EQ(Joined({"1234567,891", "-1234,5", "999"}, format(2, true)),
            "1.234.567,89|-1.234,50|999,00");
  EXPECT_EQ(Joined({"1234567,891", "-123456"}, format(0, true)), "1.234.567|-123.456");
  EXPECT_EQ(Joined({"1234567,891", "12,5", "n/a"}, format(3, false)), "1234567,891|12,500|0,000");
  EXPECT_EQ(Joined({"-12,7", "-0,5"}, format(0, false)), "-12|0");
  // An empty value becomes 0 in the caller's variable; a failure gives the
  // text built so far (nothing) and sets it to 0.
  const std::pair<Variant, const char*> zeroed[] = {
      {"", "0"}, {Variant::Null(), "0"}, {"abc", ""}, {"1E400", ""}};
  for (auto [value, text] : zeroed) {
    EXPECT_EQ(FormatGetal(value, 0, false), text);
    EXPECT_EQ(value, Variant(0));
  }
}

TEST_F(NumberFormatTest, TelTekenAndAantalDecimalen) {
  std::string text = "aXbXxX", empty, e_acute = "\xC3\xA9", accents = "\xC3\xA9\xC3\xA9z";
  EXPECT_EQ(TelTeken(text, empty), 3);
  EXPECT_EQ(empty, "X");
  EXPECT_EQ(TelTeken(accents, e_acute), 2);
  EXPECT_EQ(AantalDecimalen("2,5 kg"), 4);
  EXPECT_EQ(AantalDecimalen("1,2,3"), 3);
  gsDecimaalTeken = ".";
  EXPECT_EQ(AantalDecimalen("1,000"), 0);
  EXPECT_EQ(AantalDecimalen("1.5"), 1);
}

}  // namespace
}  // namespace typrosync

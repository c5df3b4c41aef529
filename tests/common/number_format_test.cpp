// Amount and number texts made from loosely typed values.

#include "common/number_format.h"

#include <gtest/gtest.h>

#include "common/file_helpers.h"
#include "common/test_support.h"

namespace typrosync {
namespace {

using NumberFormatTest = testing::DutchSeparatorsTest;

std::string Bedrag(Variant value, bool brackets = false, bool whole = false, bool round = false) {
  return NormaliseerBedrag(value, brackets, whole, round);
}

// Plain, with brackets, in whole units and rounded (halves to even).
TEST_F(NumberFormatTest, NormaliseerBedragWithEachFlag) {
  const std::pair<Variant, const char*> cases[] = {
      {1234.5, "1.234,50 1.234,50 1.234 1.234"},
      {-1234.5, "-1.234,50 <1.234,50> -1.234 -1.234"},
      {"12.5", "12,50 12,50 12 12"},
      {"1.234", "1.234,00 1.234,00 1.234 1.234"},
      {"1,995", "2,00 2,00 2 2"},
      {"2,345", "2,35 2,35 2 2"},
      {"3,5", "3,50 3,50 3 4"},
      {"-2,5", "-2,50 <2,50> -2 -2"},
      {"12a", "0,00 0,00 0,00 0,00"},
      {"", "0,00 0,00 0 0,00"},
      {Variant::Null(), "0,00 0,00 0 0,00"},
      {"\xC2\xA0\xC2\xA0", "0,00 0,00 0 0,00"},
      {"1234567,891", "1.234.567,89 1.234.567,89 1.234.567 1.234.568"},
      {"-999,995", "-1.000,00 <1.000,00> -1.000 -1.000"},
  };
  for (const auto& [value, texts] : cases) {
    EXPECT_EQ(Bedrag(value) + " " + Bedrag(value, true) + " " + Bedrag(value, false, true) + " " +
                  Bedrag(value, false, false, true),
              texts);
  }
  EXPECT_EQ(Bedrag("-1234,99", true, true), "<1.234>");
  EXPECT_EQ(Bedrag("-3,5", true, true, true), "<4>");
}

TEST_F(NumberFormatTest, NormaliseerBedragCleansTypedTexts) {
  // At most twenty characters where no decimal separator is written yet; a
  // large negative number comes back from the sign step in exponent form.
  EXPECT_EQ(
      testing::Joined<Variant>(
          {",50", "5E-3", "1,5E3", "2E3 kg", "1 234,5", "\xC2\xA0 7,25\xC2\xA0", "--5", "5-", "-,",
           "1,2,3", "0,004", "-0,001", "12.5,", "1,234.5", "1+2", Currency::FromRaw(125000),
           int64_t{1234567}, "123456789012345678901", "-123456789012345678901"},
          [](Variant value) { return Bedrag(value); }),
      "0,50|0,01|1.500,00|2.000,00|1.234,50|7,25|-5,00|5,00|-0,00|1,20|0,00|-0,00|125,00|"
      "1.234,50|0,00|12,50|1.234.567,00|56.789.012.345.678.901,00|-1,23");
  gsDecimaalTeken = ".";
  gsDuizendTeken = " ";
  EXPECT_EQ(Bedrag(""), "0.00");  // the empty answer comes before the settings are pinned
  EXPECT_EQ(Bedrag("1234,5"), "1.234,50");
  EXPECT_EQ(gsDecimaalTeken + gsDuizendTeken, ",.");
}

// Text, decimals and allow_large; only whole numbers are range-checked.
TEST_F(NumberFormatTest, NormaliseerGetal) {
  EXPECT_EQ(testing::Joined({std::tuple{"n/a", 3, false}, {"(niet ingesteld)", 3, false},
                             {"12%", 2, false},           {"1500", 2, false},
                             {"1500", 2, true},           {"1000", 2, false},
                             {"1500,5", 2, false},        {"1.234", 2, false},
                             {"12.5", 2, false},          {"1,23456", 4, false},
                             {"-1,23456", 4, false},      {"-1,235", 3, false},
                             {"-20000,5", 2, false},      {"-20000,5", 2, true},
                             {"2,99", 1, false},          {"2,5", -1, false},
                             {"1,5", -3, false},          {"1E-3", 4, false},
                             {"1.5E2", 2, true},          {"--1", 2, false},
                             {"1,2,3", 3, false},         {"123456789012345,678", 3, true}},
                            [](auto c) {
                              auto [text, decimals, large] = c;
                              Variant value = text;
                              int16_t d = decimals;
                              return NormaliseerGetal(value, d, large);
                            }),
            "0,000|0,000|12,00|n/a|1500,00|1000,00|1500,50|n/a|12,50|1,2345|-1,2300|-1,240|n/a|"
            "-20000,50|2,9|2|1,|0,0010|1500,00|-1,00|1,230|56789012345,678");
  Variant value = "1 2%", number = 12.5, null = Variant::Null(), nul = std::string(1, '\0') + "12";
  int16_t decimals = 0;
  EXPECT_EQ(NormaliseerGetal(value, decimals, false), "12,00");
  EXPECT_EQ(decimals, 2);
  EXPECT_EQ(value, Variant("12"));  // spaces and "%" removed from the caller's value
  EXPECT_EQ(NormaliseerGetal(number, decimals, false), "12,50");
  EXPECT_EQ(number, Variant("12,5"));
  EXPECT_EQ(NormaliseerGetal(null, decimals, false) + NormaliseerGetal(nul, decimals, false),
            "0,000,00");
  decimals = 3;
  number = 1234.5678;
  EXPECT_EQ(NormaliseerGetal(number, decimals, true), "1234,567");
}

// Text, decimals and grouping.
TEST_F(NumberFormatTest, FormatGetal) {
  EXPECT_EQ(testing::Joined({std::tuple{"1234567,891", 3, true},
                             {"1234567,891", 0, true},
                             {"1234567,891", 3, false},
                             {"12,5", 4, false},
                             {"-1234,5", 2, true},
                             {"-123456", 0, true},
                             {"-12,7", 0, false},
                             {"-0,5", 0, false},
                             {"n/a", 3, false},
                             {"999", 0, true}},
                            [](auto c) {
                              Variant value = std::get<0>(c);
                              return FormatGetal(value, std::get<1>(c), std::get<2>(c));
                            }),
            "1.234.567,891|1.234.567|1234567,891|12,5000|-1.234,50|-123.456|-12|0|0,000|999");
  // An empty value becomes 0 in the caller's variable; a failure gives the
  // text built so far (nothing) and sets it to 0.
  for (auto [input, text] : {std::pair{Variant(""), "0"},
                             {Variant::Null(), "0"},
                             {Variant("abc"), ""},
                             {Variant("1E400"), ""}}) {
    Variant value = input;
    EXPECT_EQ(FormatGetal(value, 0, false), text) << input.Text();
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

// Arbitrary texts fed to the number, date and text functions must never crash;
// numbers written by the platform must come back as the amounts an independent
// computation expects.

#include <gtest/gtest.h>

#include <random>

#include "common/date_functions.h"
#include "common/file_helpers.h"
#include "common/number_format.h"
#include "common/number_text.h"
#include "common/test_support.h"
#include "common/utf8_text.h"

namespace typrosync {
namespace {

using RandomTextsTest = test_support::DutchSeparatorsTest;

// Pieces that matter to the cleaning steps, plus raw bytes (invalid UTF-8, NUL).
std::string RandomText(std::mt19937& random) {
  static const char* const kPieces[] = {
      "0",           "1",  "5",  "9",   "12", "995", ",",        ".",
      "-",           "+",  "E",  "e",   " ",  "%",   "n/a",      "(niet ingesteld)",
      "E+",          "E-", "00", "abc", "/",  "*",   "\xC2\xA0", "\xC3\xA9",
      "\xE2\x82\xAC"};
  std::string text;
  for (int i = random() % 25; i > 0; --i) {
    const size_t p = random() % (std::size(kPieces) + 4);
    text += p < std::size(kPieces) ? std::string(kPieces[p]) : std::string(1, char(random()));
  }
  return text;
}

TEST_F(RandomTextsTest, NumberDateAndTextFunctionsNeverCrash) {
  // Separators a locale may give, the missing one included.
  const char* const candidates[] = {",", ".", "", " ", "'", "\xC2\xA0", "\xE2\x80\xAF"};
  std::mt19937 random(20240105);
  for (int i = 0; i < 3000; ++i) {
    const std::string text = RandomText(random);
    Separators settings;
    for (std::string* setting : {&settings.gsDecimaalTeken, &settings.gsDuizendTeken,
                                 &settings.gsDecimaalTekenGetal}) {
      if (i % 2 == 1) *setting = candidates[random() % 7];
    }
    for (int16_t n = 0; n < 9; ++n) {  // decimals -2 to 6, every flag combination
      Variant number = text, formatted = text, amount = text;
      int16_t decimals = n - 2;
      EXPECT_FALSE(NormaliseerGetal(settings, number, decimals, n % 2).empty()) << text;
      FormatGetal(settings, formatted, n - 2, n % 2);
      EXPECT_FALSE(NormaliseerBedrag(settings, amount, n & 1, n & 2, n & 4).empty()) << text;
    }
    std::string copy = text, ch = text.substr(0, 1);
    EXPECT_GE(TelTeken(copy, ch) + AantalDecimalen(text, settings), 0);
    EXPECT_TRUE(!DecimalText(text) || TryParseNumber(text)) << text;  // same reading rules
    // Only the platform's range error may escape the leading-number rule.
    const long error = test_support::ErrorNumber([&] { LeadingNumber(text); });
    EXPECT_TRUE(error == 0 || error == 6) << text;
    std::string date = text, swapped = text, name = text;
    DatumNaarTekst(date);
    DatumNaarTekst(date, true);
    DatumOmkeren(swapped, false);
    DatumOmkeren(swapped, true);
    MaandConversie(text, true);
    EXPECT_EQ(MaakBestandsnaamVeilig(name).find_first_of(":/\\?!<>*\"|"), std::string::npos);
    EXPECT_EQ(Utf8Left(text, 3) + Utf8Mid(text, 4), text);
  }
}

// Thousandths written as the platform writes numbers give the amount rounded
// to cents, halves away from zero, grouped by three; positive ones keep their
// three decimals as a number text.
TEST_F(RandomTextsTest, AmountsAndNumbersOfRandomValues) {
  std::mt19937_64 random(7);
  for (int i = 0; i < 3000; ++i) {
    const int64_t value = int64_t(random() % 1999999999999) - 999999999999;
    const int64_t magnitude = std::abs(value), cents = (magnitude + 5) / 10;
    std::string whole = std::to_string(cents / 100);
    for (int pos = int(whole.size()) - 3; pos > 0; pos -= 3) whole.insert(pos, ".");
    Variant amount = FormatDouble(double(value) / 1000), number = double(magnitude) / 1000;
    int16_t decimals = 3;
    EXPECT_EQ(NormaliseerBedrag(separators, amount),
              (value < 0 ? "-" : "") + whole + "," + std::to_string(100 + cents % 100).substr(1));
    EXPECT_EQ(
        NormaliseerGetal(separators, number, decimals, true),
        std::to_string(magnitude / 1000) + "," + std::to_string(1000 + magnitude % 1000).substr(1));
  }
}

}  // namespace
}  // namespace typrosync

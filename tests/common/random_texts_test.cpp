// Arbitrary texts fed to the text and number functions: they must never
// crash, and numbers written by the platform must come back as the amounts
// an independent computation expects.

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "common/date_functions.h"
#include "common/file_helpers.h"
#include "common/locale_settings.h"
#include "common/number_format.h"
#include "common/number_text.h"
#include "common/separators.h"
#include "common/utf8_text.h"
#include "common/vb_error.h"

namespace typrosync {
namespace {

using RandomTextsTest = testing::DutchSeparatorsTest;

// Texts made of the pieces that matter to the cleaning steps, plus raw bytes
// (invalid UTF-8 and NUL included).
std::string RandomText(std::mt19937& random) {
  static const char* const kPieces[] = {"0",
                                        "1",
                                        "5",
                                        "9",
                                        "12",
                                        "995",
                                        ",",
                                        ".",
                                        "-",
                                        "+",
                                        "E",
                                        "e",
                                        " ",
                                        "%",
                                        "\xC2\xA0",
                                        "n/a",
                                        "(niet ingesteld)",
                                        "E+",
                                        "E-",
                                        "00",
                                        "\xC3\xA9",
                                        "\xE2\x82\xAC",
                                        "abc",
                                        "/",
                                        "*"};
  std::uniform_int_distribution<int> length(0, 24);
  std::uniform_int_distribution<size_t> piece(0, std::size(kPieces) + 3);
  std::uniform_int_distribution<int> byte(0, 255);
  std::string text;
  for (int i = length(random); i > 0; --i) {
    const size_t p = piece(random);
    if (p < std::size(kPieces)) {
      text += kPieces[p];
    } else {
      text += static_cast<char>(byte(random));
    }
  }
  return text;
}

template <typename Call>
void AllowingPlatformErrors(Call call) {
  try {
    call();
  } catch (const VbError& error) {
    // Only the range errors of the platform types may escape.
    EXPECT_TRUE(error.number() == 6) << error.what();
  }
}

// Separators a locale may give, the missing one included.
void RandomSeparators(std::mt19937& random) {
  static const char* const kSeparators[] = {",", ".", "", " ", "'", "\xC2\xA0", "\xE2\x80\xAF"};
  std::uniform_int_distribution<size_t> pick(0, std::size(kSeparators) - 1);
  gsDecimaalTeken = kSeparators[pick(random)];
  gsDuizendTeken = kSeparators[pick(random)];
  gsSpatie = kSeparators[pick(random)];
}

TEST_F(RandomTextsTest, NothingCrashes) {
  std::mt19937 random(20240105);
  for (int i = 0; i < 3000; ++i) {
    const std::string text = RandomText(random);
    if (i % 2 == 1) RandomSeparators(random);
    for (int16_t decimals = -2; decimals <= 6; ++decimals) {
      for (bool allow_large : {false, true}) {
        Variant value = text;
        int16_t d = decimals;
        EXPECT_FALSE(NormaliseerGetal(value, d, allow_large).empty()) << text;
        Variant formatted = text;
        FormatGetal(formatted, decimals, allow_large);
      }
    }
    std::string date = text;
    DatumNaarTekst(date);
    DatumNaarTekst(date, true);
    std::string swapped = text;
    DatumOmkeren(swapped, false);
    DatumOmkeren(swapped, true);
    MaandConversie(Variant(text), true);
    std::string ch = text.substr(0, 1);
    std::string copy = text;
    TelTeken(copy, ch);
    MaakBestandsnaamVeilig(copy);
    AantalDecimalen(text);
    DecimalText(text);
    TryParseNumber(text);
    AllowingPlatformErrors([&] { LeadingNumber(text); });
    for (int flags = 0; flags < 8; ++flags) {
      Variant value = text;
      const std::string amount = NormaliseerBedrag(value, flags & 1, flags & 2, flags & 4);
      EXPECT_FALSE(amount.empty()) << text;
    }
    EXPECT_EQ(Utf8Left(text, 3) + Utf8Mid(text, 4), text);
    testing::ResetSeparators();
  }
}

// Thousandths written as the platform writes numbers must give the amount
// rounded to cents, halves away from zero, grouped by three.
std::string ExpectedAmount(int64_t thousandths) {
  const bool negative = thousandths < 0;
  const int64_t magnitude = negative ? -thousandths : thousandths;
  const int64_t cents = (magnitude + 5) / 10;
  std::string whole = std::to_string(cents / 100);
  for (int pos = static_cast<int>(whole.size()) - 3; pos > 0; pos -= 3) whole.insert(pos, ".");
  const std::string fraction = std::to_string(100 + cents % 100).substr(1);
  return (negative && cents != 0 ? "-" : "") + whole + "," + fraction;
}

TEST_F(RandomTextsTest, AmountsOfRandomNumbers) {
  std::mt19937_64 random(7);
  std::uniform_int_distribution<int64_t> thousandths(-999999999999, 999999999999);
  for (int i = 0; i < 3000; ++i) {
    const int64_t value = thousandths(random);
    const std::string text = FormatDouble(static_cast<double>(value) / 1000);
    Variant amount = text;
    std::string expected = ExpectedAmount(value);
    if (std::abs(value) < 5) expected = value < 0 ? "-0,00" : "0,00";
    EXPECT_EQ(NormaliseerBedrag(amount), expected) << text;
  }
}

// Positive numbers with three decimals keep them exactly.
TEST_F(RandomTextsTest, NumbersWithThreeDecimals) {
  std::mt19937_64 random(11);
  std::uniform_int_distribution<int64_t> thousandths(1, 99999999999);
  for (int i = 0; i < 3000; ++i) {
    const int64_t value = thousandths(random);
    Variant number = static_cast<double>(value) / 1000;
    int16_t decimals = 3;
    const std::string expected =
        std::to_string(value / 1000) + "," + std::to_string(1000 + value % 1000).substr(1);
    EXPECT_EQ(NormaliseerGetal(number, decimals, true), expected) << value;
  }
}

}  // namespace
}  // namespace typrosync

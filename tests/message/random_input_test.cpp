// Arbitrary bytes, valid or not, through every cleaning and check function:
// nothing may crash, and a cleaned text holds only SEPA characters.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "common/vb_error.h"
#include "message/iban.h"
#include "message/sepa_text.h"
#include "message/utf8_decoder.h"

namespace typrosync {
namespace {

constexpr std::string_view kSepaSet =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/-?:().,'+ ";

// Pieces a generated text is made of: letters, separators, folded and
// unfolded characters, controls, emoji and broken sequences.
// clang-format off
const std::vector<std::string> kPieces = {
    "a", "Z", "7", " ", "&", ";", "\"", "<", ">", "`", "\t", "\r\n", "\x01", "é", "Ç", "æ", "¡",
    "\u00a0", "€", "ø", "╬", "ß", "🚜", "\u0301", "\xC3", "\xA9", "\xE2\x82", "\xF0\x9F", "\xFF",
    "\xC0\x80", "\xED\xA0\x80", "1234", "NL91", "-", "/", ".", ",", std::string(1, '\0')};
// clang-format on

std::string RandomText(std::mt19937& random, bool valid_only) {
  std::uniform_int_distribution<size_t> piece(0, kPieces.size() - 1);
  std::uniform_int_distribution<int> length(0, 40);
  std::string text;
  for (int i = length(random); i > 0; --i) {
    const std::string& p = kPieces[piece(random)];
    if (valid_only && (p.empty() || p[0] == '\0' || !DecodeUtf8At(p, 0).valid ||
                       DecodeUtf8At(p, 0).size != p.size())) {
      continue;
    }
    text += p;
  }
  return text;
}

std::string RandomBytes(std::mt19937& random) {
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> length(0, 40);
  std::string text;
  for (int i = length(random); i > 0; --i) text += static_cast<char>(byte(random));
  return text;
}

void CheckCleaned(std::string text, int16_t max_length) {
  const std::string cleaned = MaakSepaTekst(text, max_length);
  EXPECT_EQ(cleaned.find_first_not_of(kSepaSet), std::string::npos) << cleaned;
  if (max_length == 0) {
    EXPECT_FALSE(cleaned.starts_with(' ') || cleaned.ends_with(' ')) << cleaned;
  } else {
    EXPECT_LE(cleaned.size(), static_cast<size_t>(max_length));
  }
}

void CheckDoesNotCrash(const std::string& text) {
  std::string postcode = text;
  OpmaakPostcode(postcode);
  postcode = text;
  IsNederlandsePostcode(postcode);
  IsNumeriekeTekst(text, false);
  IsNumeriekeTekst(text, true);
  IsSepaLandIban(text);
  std::string digits = text;
  EXPECT_GE(RestNaDeling(digits, 97), 0);
}

TEST(RandomInputTest, CleaningAndChecksSurviveArbitraryText) {
  std::mt19937 random(20261205);
  std::uniform_int_distribution<int> max_length(0, 12);
  for (int round = 0; round < 3000; ++round) {
    const std::string text = round % 2 == 0 ? RandomText(random, false) : RandomBytes(random);
    CheckCleaned(text, static_cast<int16_t>(max_length(random)));
    CheckDoesNotCrash(text);
    const std::string folded = VerwijderAccenten(text);
    EXPECT_EQ(folded.find_first_of(std::string_view("\0\t\r\n\x01\x1F", 6)), std::string::npos);
  }
}

TEST(RandomInputTest, FoldingValidTextTwiceChangesNothingMore) {
  std::mt19937 random(437);
  for (int round = 0; round < 2000; ++round) {
    const std::string folded = VerwijderAccenten(RandomText(random, true));
    EXPECT_EQ(VerwijderAccenten(folded), folded);
  }
}

}  // namespace
}  // namespace typrosync

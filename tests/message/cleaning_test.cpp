// Cleaning of message texts and the account checks: what customer and
// supplier texts become, Dutch postcodes, IBANs, and arbitrary bytes. The
// number separators keep the Dutch values they start with.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "message/iban.h"
#include "message/sepa_text.h"
#include "common/test_support.h"

namespace typrosync {
namespace {

// A combining accent, like any character outside the table, is dropped; the
// length cuts before the trimming.
TEST(SepaTextTest, CleansCustomerAndSupplierTexts) {
  const std::pair<const char*, const char*> cases[] = {
      {"Jansen & Zn", "Jansen   Zn"}, {"Loon; en grondverzet", "Loon, en grondverzet"},
      {"Firma \"De Hoeve\"", "Firma .De Hoeve."}, {"<b>Vet</b> > 5", ".bVet./b  5"},
      {"`t Veld", ".t Veld"}, {"Café Zoë Ökoland Ñandú Çedille", "Cafe Zoe Okoland Nandu Cedille"},
      {"Ærø", "AEr"}, {"¡Olé! ¿Qué?", "iOle Que?"}, {"Maïs\u00a0BV", "MaisBV"},
      {"€ 12,50 per kg", "12,50 per kg"}, {"Kerkstraat\t12\r\nVeghel", "Kerkstraat12Veghel"},
      {"Boer 🚜 Jan", "Boer  Jan"}, {"Ré\u0301union", "Reunion"},
      {"Sint-Oedenrode (NB) 5491/A 'De Es' +31:?", "Sint-Oedenrode (NB) 5491/A 'De Es' +31:?"},
      {"Ĳsselmonde Ørsted Ã ║╬█ αßΣ ±≥√²■ ½", "sselmonde rsted"}};
  for (const auto& [input, expected] : cases) {
    std::string text = input;
    EXPECT_EQ(MaakSepaTekst(text, 0), expected) << input;
  }
  const std::tuple<const char*, int16_t, const char*> cuts[] = {
      {"ab cd", 4, "ab c"}, {"ab cd", 3, "ab "}, {"  ab", 1, "a"}};
  for (const auto& [input, length, expected] : cuts) {
    std::string text = input;
    EXPECT_EQ(MaakSepaTekst(text, length), expected) << length;
  }
  // The caller's text keeps the replaced and folded form, untrimmed.
  std::string text = "Boer & Zn; \"Ærø\"\t";
  EXPECT_EQ(MaakSepaTekst(text, 0), "Boer   Zn, .AEr.");
  EXPECT_EQ(text, "Boer   Zn, .AErø.");
  EXPECT_EQ(test_support::ErrorNumber([&] { MaakSepaTekst(text, -1); }), 5);
}

TEST(SepaTextTest, FoldsAfterRemovingControlsAndReplacesRepeatedly) {
  EXPECT_EQ(VerwijderAccenten("\x01\x1F¢ > Ê Ã Õ ø €"), "¢ > Ê Ã Õ ø €");
  EXPECT_EQ(VerwijderAccenten("\xC3\t\xA9t\xC3"), "et\xC3");  // é once the tab is gone
  EXPECT_EQ(VervangAlles("aaaa", "aa", "a"), "a");
  EXPECT_EQ(VervangAlles("abc", "", "x"), "abc");
  // A replacement holding the search text keeps going for 401 rounds only,
  // and one that multiplies the text stops before it outgrows the string space.
  EXPECT_EQ(VervangAlles("ab", "ab", "aab"), std::string(402, 'a') + "b");
  const std::string thousand(1000, 'a');
  EXPECT_EQ(test_support::ErrorNumber([&] { VervangAlles(thousand, "a", thousand); }), 14);
}

TEST(SepaTextTest, FormatsDutchPostcodes) {
  // The thousands separator counts as numeric (12.4AB).
  const struct {
    const char *input, *formatted, *variable_after;
  } cases[] = {{"1234AB", "1234 AB", "1234AB"}, {"1234 ab", "1234 ab", "1234ab"},
               {"12 34 AB", "1234 AB", "1234AB"}, {"5491éé", "5491 éé", "5491éé"},
               {"12.4AB", "12.4 AB", "12.4AB"}, {"1234 AB Veghel", "1234ABVeghel", "1234ABVeghel"},
               {"1234ABC", "1234ABC", "1234ABC"}, {"B-1000", "B-1000", "B-1000"},
               {"D 47533", "D 47533", "D 47533"}, {"AB1234", "AB1234", "AB1234"}, {"", "", ""}};
  for (const auto& c : cases) {
    std::string postcode = c.input;
    EXPECT_EQ(OpmaakPostcode(postcode, Separators{}), c.formatted) << c.input;
    EXPECT_EQ(postcode, c.variable_after) << c.input;
  }
}

constexpr char kIsoExample[] = "GB82 WEST 1234 5698 7654 32";

TEST(IbanTest, IsoExampleOneDigitCorruptionsAndSepaCountries) {
  for (const char* iban :
       {kIsoExample, "gb82-west/1234:5698\\7654+32*", "GB82.WEST.1234.5698.7654.32",
        "NL91ABNA0417164300", "AD1200012030200359100100"}) {
    EXPECT_TRUE(IsGeldigeIban(iban)) << iban;
  }
  for (const char* text : {"", "NL91 ABNA", "1234567890"})
    EXPECT_FALSE(IsGeldigeIban(text)) << text;
  const std::string iban = kIsoExample;
  for (size_t pos = 0; pos < iban.size(); ++pos) {
    for (char digit = '0'; digit <= '9' && iban[pos] >= '0' && iban[pos] <= '9'; ++digit) {
      std::string changed = iban;
      changed[pos] = digit;
      EXPECT_EQ(digit == iban[pos], IsGeldigeIban(changed)) << changed;
    }
  }
  // Only a valid IBAN of a country outside the SEPA area is refused.
  EXPECT_TRUE(IsSepaLandIban("nl91abna0417164300"));
  EXPECT_FALSE(IsSepaLandIban("AD1200012030200359100100"));
  EXPECT_FALSE(IsSepaLandIban(" NL91ABNA0417164300"));  // looked up as " N"
  EXPECT_TRUE(IsSepaLandIban("US02WEST12345698765433"));
  // The remainder refuses divisor 0, and one above 9999 that would never
  // shorten the text (1234 stays 1234).
  std::string digits = "123456";
  EXPECT_EQ(test_support::ErrorNumber([&] { RestNaDeling(digits, 0); }), 11);
  EXPECT_EQ(test_support::ErrorNumber([&] { RestNaDeling(digits, 10007); }), 28);
}

// Pieces of valid and broken text, or plain random bytes, through every
// cleaning and check: nothing may crash, a cleaned text holds only SEPA
// characters within its length, and folding leaves no control character.
TEST(RandomInputTest, CleaningAndChecksSurviveArbitraryText) {
  // clang-format off
  const std::string pieces[] = {
      "a", "Z", "7", " ", "&", ";", "\"", "<", "`", "\t", "\r\n", "\x01", "é", "Ç", "æ", "¡",
      "\u00a0", "€", "ø", "╬", "ß", "🚜", "\u0301", "\xC3", "\xA9", "\xE2\x82", "\xF0\x9F", "\xFF",
      "\xC0\x80", "\xED\xA0\x80", "1234", "NL91", "-", "/", ".", ",", std::string(1, '\0')};
  // clang-format on
  std::mt19937 random(20261205);
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    for (unsigned i = random() % 40; i > 0; --i) {
      text += round % 2 ? std::string(1, static_cast<char>(random()))
                        : pieces[random() % std::size(pieces)];
    }
    const auto max_length = static_cast<int16_t>(random() % 13);
    std::string copy = text;
    const std::string cleaned = MaakSepaTekst(copy, max_length);
    EXPECT_EQ(cleaned.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                        "0123456789/-?:().,'+ "),
              std::string::npos)
        << cleaned;
    EXPECT_TRUE(max_length == 0 ? !cleaned.starts_with(' ') && !cleaned.ends_with(' ')
                                : cleaned.size() <= static_cast<size_t>(max_length))
        << cleaned;
    EXPECT_EQ(VerwijderAccenten(text).find_first_of(std::string("\0\t\r\n\x01\x1F", 6)),
              std::string::npos);
    std::string postcode = text, other_postcode = text, digits = text;
    const Separators separators;
    OpmaakPostcode(postcode, separators);
    IsNederlandsePostcode(other_postcode, separators);
    IsNumeriekeTekst(text, false, separators);
    IsSepaLandIban(text);
    EXPECT_GE(RestNaDeling(digits, 97), 0);
  }
}

}  // namespace
}  // namespace typrosync

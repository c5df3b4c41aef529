#include "message/sepa_text.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "common/locale_settings.h"
#include "message/accent_folding.h"
#include "message/vb_error_number.h"

namespace typrosync {
namespace {

// Dutch number separators, as LeesLandinstellingen gives them on a Dutch system.
class SepaTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = {gsSpatie, gsDecimaalTekenGetal, gsDuizendTekenGetal};
    gsSpatie = " ";
    gsDecimaalTekenGetal = ",";
    gsDuizendTekenGetal = ".";
  }
  void TearDown() override {
    gsSpatie = saved_[0];
    gsDecimaalTekenGetal = saved_[1];
    gsDuizendTekenGetal = saved_[2];
  }
  static std::string Clean(std::string text, int16_t max_length = 0) {
    return MaakSepaTekst(text, max_length);
  }

 private:
  std::array<std::string, 3> saved_;
};

struct CleanCase {
  const char* input;
  int16_t max_length;
  const char* expected;
};

TEST_F(SepaTextTest, CleansCustomerAndSupplierTexts) {
  const CleanCase cases[] = {
      {"Jansen & Zn", 0, "Jansen   Zn"},
      {"Jansen&Zn", 0, "Jansen Zn"},
      {"Loon; en grondverzet", 0, "Loon, en grondverzet"},
      {"Firma \"De Hoeve\"", 0, "Firma .De Hoeve."},
      {"Maat > 5", 0, "Maat  5"},
      {"<b>Vet</b>", 0, ".bVet./b"},
      {"`t Veld", 0, ".t Veld"},
      {"   Hoeve  ", 0, "Hoeve"},
      {"Café", 0, "Cafe"},
      {"Zoë", 0, "Zoe"},
      {"Ærø", 0, "AEr"},
      {"Ñandú Çedille", 0, "Nandu Cedille"},
      {"¡Olé! ¿Qué?", 0, "iOle Que?"},
      {"Straße 12", 0, "Strae 12"},
      {"Maïs\u00a0BV", 0, "MaisBV"},
      {"€ 12,50 per kg", 0, "12,50 per kg"},
      {"½ liter, ¼ kg", 0, "liter,  kg"},
      {"Kerkstraat\t12\r\nVeghel", 0, "Kerkstraat12Veghel"},
      {"Boer 🚜 Jan", 0, "Boer  Jan"},
      {"Ökoland Müller GmbH", 0, "Okoland Muller GmbH"},
      {"Sint-Oedenrode (NB) 5491/A 'De Es' +31:?", 0, "Sint-Oedenrode (NB) 5491/A 'De Es' +31:?"},
      {"Ré\u0301union", 0, "Reunion"},  // combining accent: not in the table, dropped
      {"Ĳsselmonde Ørsted Ã", 0, "sselmonde rsted"},
      {"€¢£¥₧ƒ ║╬█ αßΣ ±≥√²■", 0, ""},
      {"ab cd", 4, "ab c"},
      {"ab cd", 3, "ab "},
      {"  ab", 1, "a"},
      {"ab", 10, "ab"},
  };
  for (const CleanCase& c : cases) {
    EXPECT_EQ(Clean(c.input, c.max_length), c.expected) << c.input;
  }
}

TEST_F(SepaTextTest, LeavesTheReplacedAndFoldedFormInTheCallersText) {
  std::string text = "Boer & Zn; \"Ærø\"\t";
  EXPECT_EQ(MaakSepaTekst(text, 0), "Boer   Zn, .AEr.");
  EXPECT_EQ(text, "Boer   Zn, .AErø.");
}

TEST_F(SepaTextTest, RefusesANegativeMaximumLength) {
  std::string text = "ab";
  EXPECT_EQ(VbErrorNumber([&] { MaakSepaTekst(text, -1); }), 5);
}

TEST_F(SepaTextTest, FoldingRemovesControlCharactersAndTheUpperHalfOfTheTable) {
  std::string controls;
  for (int code = 0; code < 32; ++code) controls += static_cast<char>(code);
  EXPECT_EQ(VerwijderAccenten(controls + "x"), "x");
  // 156-159, 166-172 and 174-255 are removed; 155 (cent) passes unchanged.
  for (int position = 156; position <= 255; ++position) {
    const char32_t code = Cp437Character(static_cast<unsigned char>(position));
    const auto folded = FoldedForm(code);
    ASSERT_TRUE(folded.has_value()) << position;
    const bool letter = (position >= 160 && position <= 165) || position == 173;
    EXPECT_EQ(folded->empty(), !letter) << position;
  }
  EXPECT_FALSE(FoldedForm(Cp437Character(155)).has_value());
  EXPECT_EQ(VerwijderAccenten("¢ > Ê Ã Õ ø €"), "¢ > Ê Ã Õ ø €");
}

TEST_F(SepaTextTest, FoldingJoinsBytesAroundARemovedControlCharacter) {
  // The table sees the text after the control characters are gone.
  EXPECT_EQ(VerwijderAccenten("\xC3\t\xA9t\xC3"), "et\xC3");
  EXPECT_EQ(VerwijderAccenten("\xFF\xC3"), "\xFF\xC3");
}

TEST_F(SepaTextTest, ReplacesRepeatedlyWithoutOverlap) {
  EXPECT_EQ(VervangAlles("aaaa", "aa", "a"), "a");
  EXPECT_EQ(VervangAlles("aaa", "aa", "b"), "ba");
  EXPECT_EQ(VervangAlles("abc", "", "x"), "abc");
  EXPECT_EQ(VervangAlles("abc", "d", "x"), "abc");
  // A replacement holding the search text keeps going for 401 rounds only.
  EXPECT_EQ(VervangAlles("ab", "ab", "aab"), std::string(402, 'a') + "b");
  // One that multiplies the text stops before it outgrows the string space.
  const std::string thousand(1000, 'a');
  EXPECT_EQ(VbErrorNumber([&] { VervangAlles(thousand, "a", thousand); }), 14);
}

struct PostcodeCase {
  const char* input;
  const char* formatted;
  const char* variable_after;
};

TEST_F(SepaTextTest, FormatsDutchPostcodes) {
  const PostcodeCase cases[] = {
      {"1234AB", "1234 AB", "1234AB"},
      {"1234 ab", "1234 ab", "1234ab"},
      {"12 34 AB", "1234 AB", "1234AB"},
      {"5491éé", "5491 éé", "5491éé"},
      {"12.4AB", "12.4 AB", "12.4AB"},  // the thousands separator counts as numeric
      {"1234 AB Veghel", "1234ABVeghel", "1234ABVeghel"},
      {"B-1000", "B-1000", "B-1000"},
      {"D 47533", "D 47533", "D 47533"},
      {"123456", "123456", "123456"},
      {"AB1234", "AB1234", "AB1234"},
      {"", "", ""},
  };
  for (const PostcodeCase& c : cases) {
    std::string postcode = c.input;
    EXPECT_EQ(OpmaakPostcode(postcode), c.formatted) << c.input;
    EXPECT_EQ(postcode, c.variable_after) << c.input;
  }
}

TEST_F(SepaTextTest, RecognisesDutchPostcodes) {
  std::string postcode = "1234 AB";
  EXPECT_TRUE(IsNederlandsePostcode(postcode));
  EXPECT_EQ(postcode, "1234AB");
  for (std::string other : {"", "1234A", "1234ABC", "123A4B", "12345B", "-1234AB"}) {
    EXPECT_FALSE(IsNederlandsePostcode(other)) << other;
  }
}

TEST_F(SepaTextTest, RecognisesNumericTexts) {
  struct Case {
    const char* text;
    bool any_number;
    bool digits_only;
  };
  const Case cases[] = {
      {"0123", true, true},  {"1.234,50", true, false}, {"-5", false, false},    {"", false, false},
      {"12a", false, false}, {"١٢", false, false},      {"1 234", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsNumeriekeTekst(c.text, false), c.any_number) << c.text;
    EXPECT_EQ(IsNumeriekeTekst(c.text, true), c.digits_only) << c.text;
  }
  gsDuizendTekenGetal = "\u00a0";  // a locale grouping with a no-break space
  EXPECT_TRUE(IsNumeriekeTekst("1\u00a0234", false));
}

}  // namespace
}  // namespace typrosync

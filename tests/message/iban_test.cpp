#include "message/iban.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "message/vb_error_number.h"

namespace typrosync {
namespace {

constexpr char kIsoExample[] = "GB82 WEST 1234 5698 7654 32";

TEST(IbanTest, AcceptsTheIsoExampleInItsWrittenForms) {
  for (const char* iban :
       {kIsoExample, "GB82WEST12345698765432", "gb82 west 1234 5698 7654 32",
        "GB82-WEST-1234-5698-7654-32", "GB82/WEST/1234/5698/7654/32",
        "GB82:WEST\\1234+5698*7654 32", "GB82.WEST.1234.5698.7654.32", "NL91ABNA0417164300",
        "CH9300762011623852957", "AD1200012030200359100100"}) {
    EXPECT_TRUE(IsGeldigeIban(iban)) << iban;
  }
}

TEST(IbanTest, RejectsEveryOneDigitCorruptionOfTheIsoExample) {
  const std::string iban = kIsoExample;
  for (size_t pos = 0; pos < iban.size(); ++pos) {
    if (iban[pos] < '0' || iban[pos] > '9') continue;
    for (char digit = '0'; digit <= '9'; ++digit) {
      if (digit == iban[pos]) continue;
      std::string corrupt = iban;
      corrupt[pos] = digit;
      EXPECT_FALSE(IsGeldigeIban(corrupt)) << corrupt;
    }
  }
}

TEST(IbanTest, RejectsShortAndMalformedTexts) {
  for (const char* text : {"", "NL", "NL91 ABNA", "GB82WEST12345698765433", "1234567890"}) {
    EXPECT_FALSE(IsGeldigeIban(text)) << text;
  }
}

TEST(IbanTest, ChecksTheSepaCountryOfValidIbansOnly) {
  struct Case {
    const char* text;
    bool sepa;
  };
  const Case cases[] = {
      {"NL", true},
      {"US", true},
      {"", true},
      {"NL91ABNA0417164300", true},
      {"nl91abna0417164300", true},
      {"CH9300762011623852957", true},
      {kIsoExample, true},
      {"US02WEST12345698765432", false},
      {"AD1200012030200359100100", false},
      {" NL91ABNA0417164300", false},    // looked up as " N"
      {"US02WEST12345698765433", true},  // not a valid IBAN, so not refused
  };
  for (const Case& c : cases) EXPECT_EQ(IsSepaLandIban(c.text), c.sepa) << c.text;
}

TEST(IbanTest, RemainderOfShortAndEmptyTexts) {
  std::string empty;
  EXPECT_EQ(RestNaDeling(empty, 97), 0);
  EXPECT_EQ(empty, "0");
  struct Case {
    const char* digits;
    int16_t divisor;
    int16_t remainder;
  };
  const Case cases[] = {
      {"0", 97, 0},      {"98", 97, 1},
      {"99999", 97, 89}, {"3214282912345698765432161182", 97, 1},  // the ISO example, rearranged
      {"1000000", 7, 1}, {"12a456", 97, 92},                       // reads "12a4" as 12, then 1256
      {"abc", 97, 0},    {"0000001", 97, 1},
  };
  for (const Case& c : cases) {
    std::string digits = c.digits;
    EXPECT_EQ(RestNaDeling(digits, c.divisor), c.remainder) << c.digits;
  }
}

TEST(IbanTest, RemainderOfLongNumbersMatchesLongDivision) {
  std::mt19937 random(13616);
  std::uniform_int_distribution<int> digit(0, 9);
  std::uniform_int_distribution<int> length(1, 400);
  std::uniform_int_distribution<int> divisor(1, 999);
  for (int round = 0; round < 500; ++round) {
    std::string digits;
    for (int i = length(random); i > 0; --i) digits += static_cast<char>('0' + digit(random));
    const auto d = static_cast<int16_t>(divisor(random));
    int expected = 0;
    for (char c : digits) expected = (expected * 10 + (c - '0')) % d;
    std::string copy = digits;
    ASSERT_EQ(RestNaDeling(copy, d), expected) << digits << " mod " << d;
  }
}

TEST(IbanTest, RemainderRefusesDivisorsItCannotReduceBy) {
  std::string digits = "123456";
  EXPECT_EQ(VbErrorNumber([&] { RestNaDeling(digits, 0); }), 11);
  // 1234 stays 1234 under a divisor above it: the text would never shorten.
  EXPECT_EQ(VbErrorNumber([&] { RestNaDeling(digits, 10007); }), 28);
}

}  // namespace
}  // namespace typrosync

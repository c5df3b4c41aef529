// The value forms of the delivery message and the line quantity.

#include "message/message_values.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/locale_settings.h"
#include "message/line_quantity.h"
#include "message/vb_error_number.h"

namespace typrosync {
namespace {

class ScriptedClock : public Clock {
 public:
  explicit ScriptedClock(std::vector<LocalDateTime> moments) : moments_(std::move(moments)) {}
  LocalDateTime Now() override { return moments_.at(next_++); }

 private:
  std::vector<LocalDateTime> moments_;
  size_t next_ = 0;
};

TEST(MessageValuesTest, DatesKeysAndLineNumbers) {
  const std::pair<const char*, const char*> datums[] = {{"20240304", "2024-03-04T12:00:00Z"},
                                                        {"", "--T12:00:00Z"},
                                                        {"2024", "2024--T12:00:00Z"},
                                                        {"202403041530", "2024-03-04T12:00:00Z"}};
  for (const auto& [stored, expected] : datums) EXPECT_EQ(expected, BerichtDatum(stored));
  EXPECT_EQ("000000000004711000000000000815", VoucherSleutel("4711", "815"));
  EXPECT_EQ("234567890123456000000000000001", VoucherSleutel("1234567890123456", "1"));
  EXPECT_EQ(
      "0000000000000\xC3\xA9"
      "1000000000000002",
      VoucherSleutel("\xC3\xA9"
                     "1",
                     "2"));
  // The last four characters of the tag, by the leading-number rule, half to even.
  const std::pair<const char*, const char*> tags[] = {{"1002024030400030003", "3"},
                                                      {"10234ABCD", "0"},
                                                      {"0120", "120"},
                                                      {"x12.5", "12"},
                                                      {"x13.5", "14"},
                                                      {"", "0"},
                                                      {"77-003", "-3"}};
  for (const auto& [tag, expected] : tags) EXPECT_EQ(expected, RegelNummer(tag)) << tag;
}

// Date from one reading of the clock, time from the next.
TEST(MessageValuesTest, MessageNumberAndSendingTime) {
  ScriptedClock clock({{2024, 3, 4, 9, 5, 7}, {2024, 3, 4, 9, 5, 8}});
  const std::string nummer = BerichtNummer(clock);
  EXPECT_EQ("2024030409050801", nummer);
  EXPECT_EQ("2024-03-04T09:05:08Z", VerzendDatum(nummer));
}

TEST(MessageValuesTest, OnlyTheThreeAcknowledgementsCountInAnyCase) {
  for (const char* ok : {"<ok/>", "<OK/>", "<ok />", "<Ok />", "<ok>", "<OK>"}) {
    EXPECT_TRUE(IsOkAntwoord(ok)) << ok;
  }
  for (const char* refused :
       {"", " <ok/>", "<ok/>\r\n", "<ok/> ", "ok", "<?xml version=\"1.0\"?><ok/>", "<error/>"}) {
    EXPECT_FALSE(IsOkAntwoord(refused)) << refused;
  }
}

TEST(MessageValuesTest, TrimOnlySpacesAndUpperCaseLatinLetters) {
  EXPECT_EQ("1234 ab", TrimSpaties("  1234 ab "));
  EXPECT_EQ("\t1234\t", TrimSpaties("\t1234\t"));
  // é and ö to É and Ö; the division sign is no letter.
  EXPECT_EQ(
      "\xC3\x89"
      "COLE \xC3\x96 1234AB \xC3\xB7",
      HoofdLetters("\xC3\xA9"
                   "cole \xC3\xB6 1234ab \xC3\xB7"));
}

// The run pins the monetary separators to "," and "." before any message.
TEST(LineQuantityTest, DividesAndScalesByWeightCategory) {
  gsDecimaalTeken = ",";
  gsDuizendTeken = ".";
  const Variant null = Variant::Null();
  struct Case {
    Variant aantal, standaard, gewicht, categorie;
    const char* expected;
  } cases[] = {
      // GewichtCategorie: 1 x1000, 2 and 5 /1000, 3 /1,000,000, others as is.
      {10, 1, 5, 0, "50.000"},
      {0.5, 1, 1, 1, "500.000"},
      {1500, 1, 1, 2, "1.500"},
      {2500000, 1, 1, 3, "2.500"},
      {3, 1, 2, 4, "6.000"},
      {1500, 1, 1, 5, "1.500"},
      {3, 1, 2, 6, "6.000"},
      {3, 1, 2, -1, "6.000"},
      {3, 1, 2, null, "6.000"},
      {3, 1, 2, "", "6.000"},
      {0.5, 1, 1, "1", "500.000"},  // a category stored as text
      // Aantal / StandaardAantal, each cut to four decimals first.
      {10, 4, 1, 0, "2.500"},
      {10, 3, 1, 0, "3.333"},
      {1.23456, 1, 1, 0, "1.234"},
      {10, 2.5, 2, 0, "8.000"},
      {-10, 1, 1, 0, "-10.000"},
      {null, 1, 1, 0, "0.000"},
      {10, 1, null, 0, "0.000"},
      // A standard quantity that reads as 0 divides by 1, not by 0.
      {7, 0, 2, 0, "14.000"},
      {7, 0.5, 1, 0, "7.000"},
      {7, null, 1, 0, "7.000"},
      {7, "", 1, 0, "7.000"},
      {7, 0.00001, 1, 0, "7.000"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, HoeveelheidTekst({c.aantal, c.standaard, c.gewicht, c.categorie}))
        << c.aantal.Text() << " / " << c.standaard.Text() << " x " << c.gewicht.Text() << " k "
        << c.categorie.Text();
  }
  // Every step lands on four decimals: 1/3 x 3 is 0,9999; 0,00004 is 0.
  EXPECT_EQ(Currency::FromRaw(9999), HoeveelheidInLiters({1, 3, 3, 0}));
  EXPECT_EQ(Currency(), HoeveelheidInLiters({0.04, 1, 1, 2}));
  EXPECT_EQ(6, VbErrorNumber([] { HoeveelheidTekst({1000000000.0, 1, 1000000.0, 0}); }));
}

}  // namespace
}  // namespace typrosync

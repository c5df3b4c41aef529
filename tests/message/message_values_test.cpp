#include "message/message_values.h"

#include <gtest/gtest.h>

#include <vector>

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

TEST(MessageValuesTest, DateFormTakesCharactersByPosition) {
  struct Case {
    const char* stored;
    const char* expected;
  } cases[] = {
      {"20240304", "2024-03-04T12:00:00Z"},
      {"", "--T12:00:00Z"},
      {"2024", "2024--T12:00:00Z"},
      {"202403041530", "2024-03-04T12:00:00Z"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, BerichtDatum(c.stored)) << c.stored;
}

TEST(MessageValuesTest, VoucherKeyPadsAndKeepsLastFifteen) {
  EXPECT_EQ("000000000004711000000000000815", VoucherSleutel("4711", "815"));
  EXPECT_EQ("234567890123456000000000000001", VoucherSleutel("1234567890123456", "1"));
  EXPECT_EQ("000000000000000000000000000000", VoucherSleutel("", ""));
  // A multi-byte letter counts as one character.
  EXPECT_EQ(
      "0000000000000\xC3\xA9"
      "1"
      "000000000000002",
      VoucherSleutel("\xC3\xA9"
                     "1",
                     "2"));
}

TEST(MessageValuesTest, LineNumberFromLastFourCharactersOfTag) {
  struct Case {
    const char* tag;
    const char* expected;
  } cases[] = {
      {"1002024030400030003", "3"},
      {"10234ABCD", "0"},
      {"0120", "120"},
      {"x12.5", "12"},
      {"x13.5", "14"},
      {"", "0"},
      {"77-003", "-3"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, RegelNummer(c.tag)) << c.tag;
}

TEST(MessageValuesTest, MessageNumberReadsDateAndTimeFromTwoReadings) {
  ScriptedClock clock({{2024, 3, 4, 9, 5, 7}, {2024, 3, 4, 9, 5, 8}});
  std::string nummer = BerichtNummer(clock);
  EXPECT_EQ("2024030409050801", nummer);
  EXPECT_EQ("2024-03-04T09:05:08Z", VerzendDatum(nummer));
  ScriptedClock late({{2024, 12, 31, 23, 59, 59}, {2024, 12, 31, 23, 59, 59}});
  EXPECT_EQ("2024-12-31T23:59:59Z", VerzendDatum(BerichtNummer(late)));
}

TEST(MessageValuesTest, OnlyTheThreeAcknowledgementsCountInAnyCase) {
  for (const char* ok : {"<ok/>", "<OK/>", "<ok />", "<Ok />", "<ok>", "<OK>"}) {
    EXPECT_TRUE(IsOkAntwoord(ok)) << ok;
  }
  for (const char* refused : {"", " <ok/>", "<ok/>\r\n", "<ok/> ", "ok",
                              "<?xml version=\"1.0\"?><ok/>", "<error>Onbekende klant</error>"}) {
    EXPECT_FALSE(IsOkAntwoord(refused)) << refused;
  }
}

TEST(MessageValuesTest, CleanValueLeavesNoMarkupAndKeepsCallerText) {
  std::string naam = " Jansen&Zn; \"De Hoeve\" <b> ";
  EXPECT_EQ("Jansen Zn, .De Hoeve. .b", Schoon(naam));
  EXPECT_EQ(" Jansen&Zn; \"De Hoeve\" <b> ", naam);
  EXPECT_EQ("Cafe Zoe", Schoon("Caf\xC3\xA9 Zo\xC3\xAB"));
}

TEST(MessageValuesTest, TrimOnlySpacesAndUpperCaseLatinLetters) {
  EXPECT_EQ("1234 ab", TrimSpaties("  1234 ab "));
  EXPECT_EQ("\t1234\t", TrimSpaties("\t1234\t"));
  EXPECT_EQ("", TrimSpaties("   "));
  // é and ö to É and Ö; the division sign is no letter.
  EXPECT_EQ(
      "\xC3\x89"
      "COLE \xC3\x96 1234AB \xC3\xB7",
      HoofdLetters("\xC3\xA9"
                   "cole \xC3\xB6 1234ab \xC3\xB7"));
}

}  // namespace
}  // namespace typrosync

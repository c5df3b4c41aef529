// The value forms of the delivery message and the line quantity.

#include "message/message_values.h"

#include <gtest/gtest.h>

#include "common/locale_settings.h"
#include "message/line_quantity.h"
#include "common/test_support.h"

namespace typrosync {
namespace {

using Pair = std::pair<const char*, const char*>;

// The common forms appear in the builders' expected message; these are the edges.
TEST(MessageValuesTest, DatesKeysAndLineNumbers) {
  EXPECT_EQ("2024--T12:00:00Z", MessageDate("2024"));
  EXPECT_EQ("2024-03-04T12:00:00Z", MessageDate("202403041530"));
  EXPECT_EQ("234567890123456000000000000001", VoucherKey("1234567890123456", "1"));
  EXPECT_EQ("0000000000000é1000000000000002", VoucherKey("é1", "2"));  // é counts as one
  // The last four characters of the tag, by the leading-number rule, half to even.
  const Pair tags[] = {{"1002024030400030003", "3"}, {"10234ABCD", "0"}, {"0120", "120"},
                       {"x12.5", "12"}, {"x13.5", "14"}, {"", "0"}, {"77-003", "-3"}};
  for (const auto& [tag, expected] : tags) EXPECT_EQ(expected, LineNumber(tag)) << tag;
}

TEST(MessageValuesTest, OnlyTheThreeAcknowledgementsCountInAnyCase) {
  for (const char* ok : {"<ok/>", "<OK/>", "<ok />", "<Ok />", "<ok>", "<OK>"})
    EXPECT_TRUE(IsAcceptedReply(ok)) << ok;
  for (const char* refused :
       {"", " <ok/>", "<ok/>\r\n", "<ok/> ", "ok", "<?xml version=\"1.0\"?><ok/>", "<error/>"})
    EXPECT_FALSE(IsAcceptedReply(refused)) << refused;
}

// The run pins the monetary separators to "," and "." before any message.
TEST(LineQuantityTest, DividesAndScalesByWeightCategory) {
  Separators separators;
  const Variant null = Variant::Null();
  struct Case {
    Variant quantity, standard, weight, category;
    const char* expected;
  } cases[] = {
      // GewichtCategorie: 1 x1000, 2 and 5 /1000, 3 /1,000,000, others as is; also as text.
      {10, 1, 5, 0, "50.000"}, {0.5, 1, 1, 1, "500.000"}, {1500, 1, 1, 2, "1.500"},
      {2500000, 1, 1, 3, "2.500"}, {3, 1, 2, 4, "6.000"}, {1500, 1, 1, 5, "1.500"},
      {3, 1, 2, -1, "6.000"}, {3, 1, 2, null, "6.000"}, {3, 1, 2, "", "6.000"},
      {0.5, 1, 1, "1", "500.000"},
      // Aantal / StandaardAantal, each cut to four decimals first; a standard
      // quantity that reads as 0 divides by 1, not by 0.
      {10, 3, 1, 0, "3.333"}, {1.23456, 1, 1, 0, "1.234"}, {10, 2.5, 2, 0, "8.000"},
      {null, 1, 1, 0, "0.000"}, {7, 0, 2, 0, "14.000"}, {7, 0.5, 1, 0, "7.000"},
      {7, null, 1, 0, "7.000"}, {7, 0.00001, 1, 0, "7.000"}};
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, QuantityText({c.quantity, c.standard, c.weight, c.category}, separators))
        << c.quantity.Text() << " / " << c.standard.Text() << " x " << c.weight.Text() << " k "
        << c.category.Text();
  }
  // Every step lands on four decimals: 1/3 x 3 is 0,9999; 0,00004 is 0.
  EXPECT_EQ(Currency::FromRaw(9999), QuantityInLitres({1, 3, 3, 0}, separators));
  EXPECT_EQ(Currency(), QuantityInLitres({0.04, 1, 1, 2}, separators));
  EXPECT_EQ(6, test_support::ErrorNumber(
                   [&] { QuantityText({1000000000.0, 1, 1000000.0, 0}, separators); }));
}

}  // namespace
}  // namespace typrosync

// The loosely typed value and the fixed-point money type.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>

#include "common/currency.h"
#include "common/variant.h"
#include "common/vb_error.h"

namespace typrosync {
namespace {

long ErrorNumber(const std::function<void()>& call) {
  try {
    call();
  } catch (const VbError& error) {
    return error.number();
  }
  return 0;
}

TEST(CurrencyTest, ProductsRoundHalfToEven) {
  const Currency half = Currency::FromRaw(5000);             // 0,5
  EXPECT_EQ((Currency::FromRaw(10001) * half).raw(), 5000);  // 0,50005 -> 0,5000
  EXPECT_EQ((Currency::FromRaw(10003) * half).raw(), 5002);  // 0,50015 -> 0,5002
  EXPECT_EQ((Currency::FromRaw(-10003) * half).raw(), -5002);
  EXPECT_EQ(Currency::FromDouble(1.23456).raw(), 12346);
  EXPECT_EQ(Currency::FromText("1.234,5").raw(), 12345000);
}

TEST(CurrencyTest, TextsAreReadExactly) {
  const struct {
    const char* text;
    int64_t raw;
  } cases[] = {
      {"0,00015", 2},
      {"0,00025", 2},
      {"0,000251", 3},
      {"-0,00015", -2},
      {"1E-5", 0},
      {"12,34565", 123456},
      {"922337203685477,5807", std::numeric_limits<int64_t>::max()},
      {"-922337203685477,5808", std::numeric_limits<int64_t>::min()},
  };
  for (const auto& c : cases) EXPECT_EQ(Currency::FromText(c.text).raw(), c.raw) << c.text;
  EXPECT_EQ(ErrorNumber([] { Currency::FromText("922337203685477,5808"); }), 6);
  EXPECT_EQ(ErrorNumber([] { Currency::FromText("1E30"); }), 6);
  EXPECT_EQ(ErrorNumber([] { Currency::FromText("12a"); }), 13);
}

TEST(CurrencyTest, TextsAndErrors) {
  EXPECT_EQ(Currency::FromRaw(125000).ToText(), "12,5");
  EXPECT_EQ(Currency::FromRaw(-5).ToText(), "-0,0005");
  EXPECT_EQ(Currency::FromRaw(0).ToText(), "0");
  EXPECT_EQ(Currency::FromRaw(std::numeric_limits<int64_t>::min()).ToText(),
            "-922337203685477,5808");
  const Currency max = Currency::FromRaw(std::numeric_limits<int64_t>::max());
  EXPECT_EQ(ErrorNumber([&] { (void)(max + Currency::FromRaw(1)); }), 6);
  EXPECT_EQ(ErrorNumber([&] { (void)(max * max); }), 6);
  EXPECT_EQ(ErrorNumber([&] { (void)(max / Currency()); }), 11);
  EXPECT_EQ(ErrorNumber([] { Currency::FromDouble(1e300); }), 6);
  EXPECT_EQ(ErrorNumber([] { Currency::FromText("abc"); }), 13);
}

TEST(VariantTest, TextOfEachKind) {
  EXPECT_EQ(Variant().Text(), "");
  EXPECT_EQ(Variant::Null().Text(), "");
  EXPECT_EQ(Variant(true).Text(), "Waar");
  EXPECT_EQ(Variant(false).Text(), "Onwaar");
  EXPECT_EQ(Variant(int64_t{-42}).Text(), "-42");
  EXPECT_EQ(Variant(12.5).Text(), "12,5");
  EXPECT_EQ(Variant(Currency::FromRaw(10)).Text(), "0,001");
  EXPECT_EQ(Variant("x y").Text(), "x y");
}

TEST(VariantTest, ConversionsToNumbers) {
  EXPECT_EQ(Variant().ToDouble(), 0);
  EXPECT_EQ(Variant(true).ToDouble(), -1);
  EXPECT_EQ(Variant("1.234,5").ToDouble(), 1234.5);
  EXPECT_EQ(ErrorNumber([] { (void)Variant("abc").ToDouble(); }), 13);
  EXPECT_EQ(ErrorNumber([] { (void)Variant::Null().ToDouble(); }), 94);
  EXPECT_EQ(Variant::Null().ToDoubleOrZero(), 0);
  EXPECT_EQ(Variant("abc").ToDoubleOrZero(), 0);
  EXPECT_EQ(Variant(int64_t{5}).ToCurrency().raw(), 50000);
  EXPECT_EQ(ErrorNumber([] { (void)Variant(std::numeric_limits<int64_t>::max()).ToCurrency(); }),
            6);
}

TEST(VariantTest, EmptinessAndZero) {
  EXPECT_TRUE(Variant().IsEmptyValue());
  EXPECT_TRUE(Variant::Null().IsEmptyValue());
  EXPECT_TRUE(Variant("").IsEmptyValue());
  EXPECT_FALSE(Variant(" ").IsEmptyValue());
  EXPECT_TRUE(Variant().EqualsZero());
  EXPECT_TRUE(Variant("0,00").EqualsZero());
  EXPECT_TRUE(Variant(false).EqualsZero());
  EXPECT_FALSE(Variant::Null().EqualsZero());
  EXPECT_FALSE(Variant("").EqualsZero());
  EXPECT_FALSE(Variant("abc").EqualsZero());
  EXPECT_FALSE(Variant(0.0001).EqualsZero());
}

}  // namespace
}  // namespace typrosync

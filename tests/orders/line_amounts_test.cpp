// Which order lines the run may leave unmade: AmountsCannotFail must never
// call a line plain whose amounts throw, or an error that ends the run would
// go unnoticed for customers no platform takes.

#include "orders/line_amounts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "common/vb_error.h"

namespace typrosync {
namespace {

// Plain values of the kinds the administration stores (whole, double or
// Currency), of either sign and from the smallest to the largest allowed,
// with the edges of both ranges mixed in.
class PlainValues {
 public:
  Variant Any() {
    double value = std::pow(10.0, Uniform(-4, 7));
    if (Pick(8) == 0) value = kEdges[Pick(std::size(kEdges))];
    if (Pick(2) == 0) value = -value;
    switch (Pick(3)) {
      case 0:
        return Variant(static_cast<int64_t>(std::trunc(value)));
      case 1:
        return Variant(value);
      default:
        return Variant(Currency::FromDouble(value));
    }
  }
  // 0, or at least 1: never the fraction that makes the divisor tiny.
  Variant PricePer() {
    if (Pick(6) == 0) return Variant(0.0);
    if (Pick(2) == 0) return Variant(static_cast<int64_t>(std::pow(10.0, Pick(8))));
    const double scale = std::pow(10.0, Pick(4));  // at most three decimals
    return Variant(std::round(std::pow(10.0, Uniform(0, 7)) * scale) / scale);
  }
  // A percentage with cents, 0 to 100.
  Variant Discount() {
    return Pick(4) == 0 ? Variant(0) : Variant(std::round(Uniform(0, 1e4)) / 100);
  }

 private:
  static constexpr double kEdges[] = {0,       1,           1e7,    0.5,    0.99995,
                                      1.00005, 9999999.995, 0.0001, 0.00015};
  double Uniform(double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random_);
  }
  size_t Pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random_); }
  std::mt19937_64 random_{20261206};
};

TEST(LineAmountsTest, PlainLinesNeverFail) {
  PlainValues values;
  for (int i = 0; i < 20000; ++i) {
    const LineAmountInput input{values.Any(), values.PricePer(), values.Any(),
                                i % 3 == 0 ? Variant::Null() : values.Any(), values.Discount()};
    const std::string shown =
        "Aantal " + input.aantal.Text() + ", PrijsPer " + input.prijs_per.Text() +
        ", VerkoopPrijs " + input.verkoop_prijs.Text() + ", FactuurGewicht " +
        input.factuur_gewicht.Text() + ", Korting " + input.korting_percentage.Text();
    ASSERT_TRUE(AmountsCannotFail(input)) << shown;
    try {
      Separators separators;
      ComputeLineAmounts(input, separators);
    } catch (const VbError& error) {
      FAIL() << "error " << error.number() << " for " << shown;
    }
  }
}

// Just past each bound the amounts do fail, so the bounds are not loose.
TEST(LineAmountsTest, LinesThatFailAreNotPlain) {
  const Variant null = Variant::Null();
  struct Case {
    const char* name;
    LineAmountInput input;
    long error;  // 0: need not fail, but is not plain either
  } const cases[] = {
      {"discount text n/a", {Variant(1), Variant(1), Variant(10.0), null, Variant(5000)}, 13},
      {"price per just below 1",
       {Variant(1e7), Variant(0.9999), Variant(1e7), null, Variant(0)},
       6},
      {"quantity Null", {null, Variant(1), Variant(10.0), null, Variant(0)}, 0},
      {"discount Null", {Variant(1), Variant(1), Variant(10.0), null, null}, 0},
      {"quantity as text", {Variant("12"), Variant(1), Variant(10.0), null, Variant(0)}, 0},
      {"price per with many decimals",
       {Variant(-7836.66510297316), Variant(10.9394504973647), Variant(9999999.995), Variant(-1e7),
        Variant(2.08)},
       6},
      {"price beyond the bound", {Variant(1), Variant(1), Variant(1e8), null, Variant(0)}, 0},
      {"tiny negative price", {Variant(1), Variant(1), Variant(-5e-5), null, Variant(0)}, 13},
      {"negative discount", {Variant(1), Variant(1), Variant(10.0), null, Variant(-1)}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(AmountsCannotFail(c.input));
    if (c.error == 0) continue;
    Separators separators;
    try {
      ComputeLineAmounts(c.input, separators);
      ADD_FAILURE() << "no error";
    } catch (const VbError& error) {
      EXPECT_EQ(error.number(), c.error);
    }
  }
}

}  // namespace
}  // namespace typrosync

#include "orders/line_amounts.h"

#include <gtest/gtest.h>

#include "common/locale_settings.h"
#include "common/vb_error.h"

namespace typrosync {
namespace {

class LineAmountsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gsDecimaalTeken = ",";
    gsDuizendTeken = ".";
  }
};

struct Case {
  const char* name;
  LineAmountInput input;
  const char* aantal;
  const char* berekende_prijs;
  double u;
  double b;
  double n;
};

TEST_F(LineAmountsTest, QuantitiesAndPrices) {
  const Variant none = Variant::Null();
  const Case cases[] = {
      {"unit price", {10, 1, 2.5, none, 0}, "10", "2,50", 10, 25, 25},
      {"price per hundred", {250, 100, 40, none, 0}, "250", "40,00", 2.5, 100, 100},
      {"ten percent discount", {250, 100, 40, 0, 10}, "250", "36,00", 2.5, 100, 90},
      // The invoice weight is the basis; column 9 still shows Aantal.
      {"invoice weight, two decimals", {3, "1,00", 4, 12.5, 0}, "3,00", "4,00", 12.5, 50, 50},
      // Without decimals in PrijsPer the weight is cut to 12.
      {"invoice weight, no decimals", {3, 1, 4, 12.5, 0}, "3", "4,00", 12, 48, 48},
      {"invoice weight 0 uses Aantal", {3, 1, 4, 0, 0}, "3", "4,00", 3, 12, 12},
      // PrijsPer 0 divides by -1; the net unit price comes out positive again.
      {"price per 0", {10, 0, 2.5, none, 0}, "10", "2,50", -10, -25, -25},
      {"price per one half", {10, 0.5, 2, none, 0}, "10,0", "2,00", -20, -40, -40},
      // B is rounded to cents before the discount, N again after it.
      {"rounding of B and N", {3, 1, 3.335, none, 12.5}, "3", "2,92", 3, 10.02, 8.77},
      {"discount text with percent", {1, 1, 100, none, "25%"}, "1", "75,00", 1, 100, 75},
      {"grouped sales price text", {2, 1, "1.234,50", none, 0}, "2", "1.234,50", 2, 2469, 2469},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const LineAmounts amounts = BerekenBedragen(c.input);
    EXPECT_EQ(amounts.aantal, c.aantal);
    EXPECT_EQ(amounts.berekende_prijs, c.berekende_prijs);
    EXPECT_EQ(amounts.eenheden, Currency::FromDouble(c.u));
    EXPECT_EQ(amounts.bedrag, Currency::FromDouble(c.b));
    EXPECT_EQ(amounts.netto, Currency::FromDouble(c.n));
  }
}

TEST_F(LineAmountsTest, SalesPriceColumnIsTheTwoDecimalAmount) {
  const LineAmounts amounts = BerekenBedragen({1, 1, 1234.5, Variant::Null(), 0});
  EXPECT_EQ(amounts.verkoopprijs, "1.234,50");
  EXPECT_EQ(amounts.prijs, Currency::FromDouble(1234.5));
}

TEST_F(LineAmountsTest, ZeroQuantityBasisShowsTheZeroAmount) {
  const LineAmounts amounts = BerekenBedragen({0, 1, 2.5, Variant::Null(), 0});
  EXPECT_EQ(amounts.berekende_prijs, "0,00");
  EXPECT_EQ(amounts.aantal, "0");
}

TEST_F(LineAmountsTest, DiscountAboveThousandIsATypeMismatch) {
  try {
    BerekenBedragen({1, 1, 2, Variant::Null(), 5000});
    FAIL() << "expected error 13";
  } catch (const VbError& e) {
    EXPECT_EQ(e.number(), 13);
  }
}

}  // namespace
}  // namespace typrosync

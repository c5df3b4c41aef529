#include "message/line_quantity.h"

#include <gtest/gtest.h>

#include "common/locale_settings.h"
#include "common/vb_error.h"

namespace typrosync {
namespace {

class LineQuantityTest : public ::testing::Test {
 protected:
  // The run pins the monetary separators to "," and "." before any message.
  void SetUp() override {
    gsDecimaalTeken = ",";
    gsDuizendTeken = ".";
  }
};

struct QuantityCase {
  Variant aantal, standaard, gewicht, categorie;
  const char* expected;
};

TEST_F(LineQuantityTest, ScalesByWeightCategory) {
  const QuantityCase cases[] = {
      {10, 1, 5, 0, "50.000"},  {2500000, 1, 1, 3, "2.500"}, {0.5, 1, 1, 1, "500.000"},
      {1500, 1, 1, 2, "1.500"}, {1500, 1, 1, 5, "1.500"},    {3, 1, 2, 4, "6.000"},
      {3, 1, 2, -1, "6.000"},   {3, 1, 2, 6, "6.000"},       {3, 1, 2, Variant::Null(), "6.000"},
      {3, 1, 2, "", "6.000"},   {0.5, 1, 1, "1", "500.000"},  // a category stored as text
  };
  for (const QuantityCase& c : cases) {
    EXPECT_EQ(c.expected, HoeveelheidTekst({c.aantal, c.standaard, c.gewicht, c.categorie}))
        << c.aantal.Text() << " / " << c.standaard.Text() << " x " << c.gewicht.Text() << " k "
        << c.categorie.Text();
  }
}

TEST_F(LineQuantityTest, DividesByStandardQuantityCutToFourDecimals) {
  const QuantityCase cases[] = {
      {10, 4, 1, 0, "2.500"},
      {10, 3, 1, 0, "3.333"},       // q = 3,3333, then cut to three decimals
      {1.23456, 1, 1, 0, "1.234"},  // Aantal cut to 1,2345 first
      {10, 2.5, 2, 0, "8.000"},
      {-10, 1, 1, 0, "-10.000"},
      {Variant::Null(), 1, 1, 0, "0.000"},
      {10, 1, Variant::Null(), 0, "0.000"},
  };
  for (const QuantityCase& c : cases) {
    EXPECT_EQ(c.expected, HoeveelheidTekst({c.aantal, c.standaard, c.gewicht, c.categorie}))
        << c.aantal.Text() << " / " << c.standaard.Text();
  }
}

// A standard quantity that reads as 0 must not negate the quantity: the line
// is reported in the article's own units.
TEST_F(LineQuantityTest, ZeroStandardQuantityDividesByOne) {
  const QuantityCase cases[] = {
      {7, 0, 2, 0, "14.000"},
      {7, 0.5, 1, 0, "7.000"},  // 0,5 reads as 0 by the leading-number rule
      {7, Variant::Null(), 1, 0, "7.000"},
      {7, "", 1, 0, "7.000"},
      {7, 0.00001, 1, 0, "7.000"},  // non-zero, yet 0 once cut to four decimals
  };
  for (const QuantityCase& c : cases) {
    EXPECT_EQ(c.expected, HoeveelheidTekst({c.aantal, c.standaard, c.gewicht, c.categorie}))
        << c.standaard.Text();
  }
}

TEST_F(LineQuantityTest, RoundsEachStepToFourDecimals) {
  // 1/3 = 0,3333 as currency; x 3 gives 0,9999, not 1.
  EXPECT_EQ(Currency::FromRaw(9999), HoeveelheidInLiters({1, 3, 3, 0}));
  // 0,00004: the /1000 step lands on 0,0000.
  EXPECT_EQ(Currency(), HoeveelheidInLiters({0.04, 1, 1, 2}));
}

TEST_F(LineQuantityTest, OverflowEndsTheRun) {
  EXPECT_THROW(HoeveelheidTekst({1000000000.0, 1, 1000000.0, 0}), VbError);
}

}  // namespace
}  // namespace typrosync

// Separator settings read from the process locale.

#include "common/locale_settings.h"

#include <gtest/gtest.h>

#include <clocale>

#include "common/dutch_locale.h"
#include "common/separators.h"

namespace typrosync {
namespace {

using LocaleSettingsTest = testing::DutchSeparatorsTest;

TEST_F(LocaleSettingsTest, DutchLocale) {
  testing::CLocaleAfterTest restore;
  if (!testing::UseDutchLocale()) GTEST_SKIP() << "no Dutch locale available";
  gsDecimaalTeken = gsDuizendTeken = gsDecimaalTekenGetal = gsDuizendTekenGetal = "?";
  LeesLandinstellingen();
  EXPECT_EQ(gsDecimaalTeken, ",");
  EXPECT_EQ(gsDuizendTeken, ".");
  EXPECT_EQ(gsDecimaalTekenGetal, ",");
  EXPECT_EQ(gsDuizendTekenGetal, ".");
  EXPECT_EQ(gsSpatie, " ");
  EXPECT_EQ(gsApplicatieTitel, "Beheer - TallyraPro");
}

TEST_F(LocaleSettingsTest, CLocaleFallsBackToDutchSeparators) {
  testing::CLocaleAfterTest restore;
  std::setlocale(LC_ALL, "C");
  gsDecimaalTeken = gsDuizendTeken = gsDecimaalTekenGetal = gsDuizendTekenGetal = "?";
  LeesLandinstellingen();
  EXPECT_EQ(GetLandinstelling(GetUserDefaultLCID(), kLocaleMonDecimalSep), "");
  EXPECT_EQ(gsDecimaalTeken, ",");
  EXPECT_EQ(gsDuizendTeken, ".");
  EXPECT_EQ(gsDecimaalTekenGetal, ",");
  EXPECT_EQ(gsDuizendTekenGetal, ".");
}

TEST(GetLandinstellingTest, UnknownItemsAreEmpty) {
  const long locale = GetUserDefaultLCID();
  EXPECT_EQ(GetLandinstelling(locale, kLocaleDecimalSep), ".");
  for (long item : {0L, 0x0DL, 0x18L, -1L}) EXPECT_EQ(GetLandinstelling(locale, item), "") << item;
}

}  // namespace
}  // namespace typrosync

#include "orders/routing.h"

#include <gtest/gtest.h>

namespace typrosync {
namespace {

TEST(RoutingTest, KeywordsIgnoreCase) {
  struct Case {
    const char* groups;
    bool cropr;
    bool agrovision;
  } const cases[] = {
      {"", false, false},
      {"Akkerbouw, Veehouderij", false, false},
      {"Klanten CROPR", true, false},
      {"Crop-R", true, false},
      {"Dacom gebruikers", true, false},
      {"AGRO Vision", false, true},
      {"agro-vision", false, true},
      {"AgroVision", false, true},
      {"Crop-R, Agrovision", true, true},
      {"crop r, agro_vision", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.groups);
    Bestemming bestemming;
    BepaalBestemming(c.groups, bestemming);
    EXPECT_EQ(bestemming.bCropR, c.cropr);
    EXPECT_EQ(bestemming.bAgroVision, c.agrovision);
  }
}

TEST(RoutingTest, SwitchesAreNeverSetBack) {
  Bestemming bestemming;
  BepaalBestemming("dacom", bestemming);
  BepaalBestemming("agrovision", bestemming);
  BepaalBestemming("", bestemming);
  EXPECT_TRUE(bestemming.bCropR);
  EXPECT_TRUE(bestemming.bAgroVision);
}

}  // namespace
}  // namespace typrosync

#pragma once
// Puts the separator settings back to the Dutch defaults around each test,
// since the number functions change them as a side effect.

#include <gtest/gtest.h>

#include "common/locale_settings.h"

namespace typrosync::testing {

inline void ResetSeparators() {
  gsDecimaalTeken = ",";
  gsDuizendTeken = ".";
  gsDecimaalTekenGetal = ",";
  gsDuizendTekenGetal = ".";
  gsSpatie = " ";
}

class DutchSeparatorsTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetSeparators(); }
  void TearDown() override { ResetSeparators(); }
};

}  // namespace typrosync::testing

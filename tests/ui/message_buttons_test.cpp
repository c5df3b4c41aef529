#include "ui/message_buttons.h"

#include <gtest/gtest.h>

namespace typrosync {
namespace {

TEST(MessageButtonsTest, IconAndDefaultButtonComeFromTheirFlagBits) {
  EXPECT_EQ(IconFor(4 + 32 + 256), 32);
  EXPECT_EQ(IconFor(16), 16);
  EXPECT_EQ(IconFor(48), 48);
  EXPECT_EQ(IconFor(64 + 3), 64);
  EXPECT_EQ(IconFor(80), 0);  // 16 + 64 is no icon
  EXPECT_EQ(IconFor(112), 0);
  EXPECT_EQ(DefaultButtonFor(0), 0);
  EXPECT_EQ(DefaultButtonFor(256 + 16), 1);
  EXPECT_EQ(DefaultButtonFor(512), 2);
  EXPECT_EQ(DefaultButtonFor(768 + 16384), 3);
}

TEST(MessageButtonsTest, IndexWithoutResultGivesZero) {
  const ButtonSet set = ButtonSetFor(4 + 16384);
  ASSERT_EQ(set.captions.size(), 3u);
  EXPECT_EQ(ResultFor(set, 1), kResultNo);
  EXPECT_EQ(ResultFor(set, 2), kResultNone);  // "Help"
  EXPECT_EQ(ResultFor(set, -1), kResultNone);
  EXPECT_EQ(ResultFor(set, 9), kResultNone);
}

}  // namespace
}  // namespace typrosync

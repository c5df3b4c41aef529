#include "ui/message_layout.h"

#include <gtest/gtest.h>

namespace typrosync {
namespace {

MessageLayoutInput Input(bool icon, double text_width, int buttons, long label_height = 195) {
  MessageLayoutInput input;
  input.has_icon = icon;
  input.prompt_text_width = text_width;
  input.border = 60;
  input.window_height = kDesignClientHeight;
  input.buttons_top = kDesignClientHeight - kButtonsPanelHeight;
  input.button_count = buttons;
  input.label_height = [label_height](long) { return label_height; };
  return input;
}

TEST(MessageLayoutTest, WidthIsClampedBetweenMinimumAndMaximum) {
  EXPECT_EQ(ClampWindowWidth(100), 5145);
  EXPECT_EQ(ClampWindowWidth(5144), 5145);
  EXPECT_EQ(ClampWindowWidth(5145), 5145);
  EXPECT_EQ(ClampWindowWidth(7000), 7000);
  EXPECT_EQ(ClampWindowWidth(8715), 8715);
  EXPECT_EQ(ClampWindowWidth(8716), 8715);
}

TEST(MessageLayoutTest, WantedWidthCountsIconOrBorder) {
  // With an icon: 180 + 555 + text + 360; without: text + 240 + border.
  EXPECT_EQ(LayOutMessage(Input(true, 6000, 1)).window_width, 7095);
  EXPECT_EQ(LayOutMessage(Input(false, 6000, 1)).window_width, 6300);
  EXPECT_EQ(LayOutMessage(Input(false, 6000.5, 1)).window_width, 6300);  // half to even
  EXPECT_EQ(LayOutMessage(Input(false, 6001.5, 1)).window_width, 6302);
  EXPECT_EQ(LayOutMessage(Input(false, 300, 1)).window_width, 5145);
  EXPECT_EQ(LayOutMessage(Input(true, 20000, 1)).window_width, 8715);
}

TEST(MessageLayoutTest, LabelSitsBesideTheIconOrAtTheLeft) {
  const MessageLayout with_icon = LayOutMessage(Input(true, 6000, 1));
  EXPECT_EQ(with_icon.label_left, 915);
  EXPECT_EQ(with_icon.label_width, 7095 - 360 - 735);
  const MessageLayout without = LayOutMessage(Input(false, 6000, 1));
  EXPECT_EQ(without.label_left, 120);
  EXPECT_EQ(without.label_width, 6300 - 240);
}

TEST(MessageLayoutTest, LabelHeightIsAskedForTheFinalLabelWidth) {
  MessageLayoutInput input = Input(false, 100, 1);
  long asked = -1;
  input.label_height = [&asked](long width) {
    asked = width;
    return 400;
  };
  EXPECT_EQ(LayOutMessage(input).label_height, 400);
  EXPECT_EQ(asked, 5145 - 240);
}

TEST(MessageLayoutTest, WindowGrowsWhenTheLabelComesCloseToTheButtons) {
  struct Case {
    long label_height;
    long expected_height;
  };
  // Buttons at 1185, label top 240: gap = 945 - height; below 135 the window grows.
  for (const Case& c : {Case{195, 1995}, Case{810, 1995}, Case{811, 1996}, Case{2000, 3185}}) {
    EXPECT_EQ(LayOutMessage(Input(false, 100, 1, c.label_height)).window_height, c.expected_height)
        << "label height " << c.label_height;
  }
}

TEST(MessageLayoutTest, ButtonsAreCentredInOneRow) {
  struct Case {
    int count;
    std::array<std::optional<long>, kMaxButtons> lefts;
  };
  // Window 5145 wide, border 60, buttons 1155 wide and 105 apart.
  const Case cases[] = {
      {0, {}},
      {1, {1965, {}, {}, {}}},
      {2, {1335, 2595, {}, {}}},
      {3, {705, 1965, 3225, {}}},
      {4, {75, 1335, 2595, 3855}},
      {5, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LayOutMessage(Input(false, 100, c.count)).button_lefts, c.lefts)
        << c.count << " buttons";
  }
}

TEST(MessageLayoutTest, HalfDropsTheRemainderOfAnOddWidth) {
  MessageLayoutInput input = Input(false, 5000, 1);  // wanted 5000 + 240 + 61 = 5301
  input.border = 61;
  // (5301 - 1155 - 61) / 2 = 2042 with the half dropped.
  EXPECT_EQ(LayOutMessage(input).button_lefts[0], 2042);
}

}  // namespace
}  // namespace typrosync

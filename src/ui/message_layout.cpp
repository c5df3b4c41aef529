#include "ui/message_layout.h"

#include <cmath>

namespace typrosync {

namespace {

// Half to even, as the assignment of a fraction to a whole-number measure does.
long RoundWhole(double value) { return static_cast<long>(std::nearbyint(value)); }

// x rounded to a whole number, then halved with the remainder dropped.
long Half(long x) { return x / 2; }

long WantedWidth(const MessageLayoutInput& input) {
  if (input.has_icon) {
    // With an icon the margins sit beside it; without, they frame the text and
    // the window's border counts too.
    return RoundWhole(kIconLeft + kIconWidth + input.prompt_text_width + 360);
  }
  return RoundWhole(input.prompt_text_width + 240 + input.border);
}

void PlaceLabel(const MessageLayoutInput& input, MessageLayout& layout) {
  if (input.has_icon) {
    layout.label_left = kIconLeft + kIconWidth + 180;
    layout.label_width = layout.window_width - 360 - (kIconLeft + kIconWidth);
  } else {
    layout.label_left = 120;
    layout.label_width = layout.window_width - 240;
  }
  layout.label_height =
      input.label_height ? input.label_height(layout.label_width) : kLabelDesignHeight;
}

void GrowHeight(const MessageLayoutInput& input, MessageLayout& layout) {
  layout.window_height = input.window_height;
  const long gap = input.buttons_top - (kLabelTop + layout.label_height);
  // Only taller, never shorter: a long text pushes the buttons down, a short
  // one leaves the designed height.
  if (gap < kMinLabelGap) layout.window_height += kMinLabelGap - gap;
}

// Buttons sit in one row, kButtonGap apart, centred on the window.
void PlaceButtons(const MessageLayoutInput& input, MessageLayout& layout) {
  const auto& w = input.button_widths;
  const long width = layout.window_width;
  const long border = input.border;
  auto& left = layout.button_lefts;
  switch (input.button_count) {
    case 1:
      left[0] = Half(width - w[0] - border);
      break;
    case 2:
      left[0] = Half(width - kButtonGap - border) - w[0];
      left[1] = *left[0] + w[0] + kButtonGap;
      break;
    // Three buttons centre the middle one; even counts centre the gap between.
    case 3:
      left[1] = Half(width - w[0] - border);
      left[0] = *left[1] - w[0] - kButtonGap;
      left[2] = *left[1] + w[1] + kButtonGap;
      break;
    case 4:
      left[0] = Half(width - kButtonGap - border) - w[0] - w[1] - kButtonGap;
      left[1] = *left[0] + w[0] + kButtonGap;
      left[2] = *left[1] + w[1] + kButtonGap;
      left[3] = *left[2] + w[2] + kButtonGap;
      break;
    default:
      break;
  }
}

}  // namespace

long ClampWindowWidth(long wanted) {
  if (wanted < kMinWindowWidth) return kMinWindowWidth;
  if (wanted > kMaxWindowWidth) return kMaxWindowWidth;
  return wanted;
}

MessageLayout LayOutMessage(const MessageLayoutInput& input) {
  MessageLayout layout;
  layout.window_width = ClampWindowWidth(WantedWidth(input));
  PlaceLabel(input, layout);
  GrowHeight(input, layout);
  PlaceButtons(input, layout);
  return layout;
}

}  // namespace typrosync

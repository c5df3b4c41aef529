#pragma once
// The layout rules of the message window, in twips, apart from Qt so that every
// width and position can be checked by itself. The window grows with its prompt
// between a fixed minimum and maximum width and keeps its buttons centred in one row.

#include <array>
#include <functional>
#include <optional>

namespace typrosync {

// Design measures of the message window (twips).
inline constexpr long kDesignClientWidth = 5175;
inline constexpr long kDesignClientHeight = 1995;
inline constexpr long kIconLeft = 180;
inline constexpr long kIconTop = 240;
inline constexpr long kIconWidth = 555;
inline constexpr long kIconHeight = 495;
inline constexpr long kLabelDesignLeft = 900;
inline constexpr long kLabelTop = 240;
inline constexpr long kLabelDesignWidth = 4035;
inline constexpr long kLabelDesignHeight = 195;
inline constexpr long kButtonsPanelHeight = 810;
inline constexpr long kButtonTop = 180;
inline constexpr long kButtonWidth = 1155;
inline constexpr long kButtonHeight = 435;
inline constexpr long kButtonGap = 105;
inline constexpr long kMinWindowWidth = 5145;
inline constexpr long kMaxWindowWidth = 8715;
inline constexpr long kMinLabelGap = 135;
inline constexpr int kMaxButtons = 4;

struct MessageLayoutInput {
  bool has_icon = false;
  double prompt_text_width = 0;  // widest line of the prompt in the window font
  long border = 0;               // thin border + dialog frame
  long window_height = 0;        // before the layout
  long buttons_top = 0;          // top of the button panel before the layout
  int button_count = 0;          // captions given (upper bound + 1)
  std::array<long, kMaxButtons> button_widths{kButtonWidth, kButtonWidth, kButtonWidth,
                                              kButtonWidth};
  // Height the label takes for its prompt at a given width.
  std::function<long(long label_width)> label_height;
};

struct MessageLayout {
  long window_width = 0;
  long window_height = 0;
  long label_left = 0;
  long label_width = 0;
  long label_height = 0;
  // Left of each placed button; empty for buttons the layout does not place.
  std::array<std::optional<long>, kMaxButtons> button_lefts;
};

// Wanted width clamped to the minimum and maximum window width.
long ClampWindowWidth(long wanted);

// Lays the window out for its prompt: width, label, height growth and button row.
MessageLayout LayOutMessage(const MessageLayoutInput& input);

}  // namespace typrosync

#include "ui/cmd_button_xp.h"

namespace typrosync {

namespace {

std::array<const QPixmap*, kLookCount> LooksOf(const LookPictures& looks) {
  return {&looks[0], &looks[1], &looks[2], &looks[3]};
}

}  // namespace

cmdButtonXP::cmdButtonXP(QWidget* parent) : ImageButton(parent) {
  Start(LooksOf(StylePictures(1)));
}

void cmdButtonXP::LoadStyle(int16_t style) {
  if (IsButtonStyle(style)) TakePictures(LooksOf(StylePictures(style)));
  FitToPicture();
}

}  // namespace typrosync

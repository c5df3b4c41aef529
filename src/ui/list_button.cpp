#include "ui/list_button.h"

namespace typrosync {

namespace {

std::array<const QPixmap*, kLookCount> ListLooks(ImageList list, int16_t style) {
  const int first = (style - 1) * kLookCount + 1;
  return {&list(first), &list(first + 1), &list(first + 2), &list(first + 3)};
}

}  // namespace

ListButton::ListButton(QWidget* parent, ImageList list) : ImageButton(parent), list_(list) {
  Start(ListLooks(list_, 1));
}

void ListButton::LoadStyle(int16_t style) {
  if (style == 1 || style == 2) TakePictures(ListLooks(list_, style));
  pictNormal()->resize(pictButtonXP(kLookNormal).size());
  FitToPicture();
}

void ListButton::PressByCode() {
  state_.m_bHover = true;
  state_.m_bMouseDown = true;
  UpdatePicture();
  state_.m_bHover = false;
  state_.m_bMouseDown = false;
  state_.m_bDown = true;
}

}  // namespace typrosync

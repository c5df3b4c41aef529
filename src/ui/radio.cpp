#include "ui/radio.h"

namespace typrosync {

Radio::Radio(QWidget* parent) : ListButton(parent, &imgListRadio) {}

void Radio::State(int16_t NewState) {
  if (NewState == kLookPressed) {
    PressByCode();
  } else if (NewState == kLookNormal) {
    // Forcing the pressed state first makes the look update repaint the normal look.
    state_.m_iState = kLookPressed;
    state_.m_bDown = false;
    state_.m_bHover = false;
    state_.m_bMouseDown = false;
    UpdatePicture();
  }
}

}  // namespace typrosync

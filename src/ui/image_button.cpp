#include "ui/image_button.h"

#include <QColor>
#include <QCursor>

namespace typrosync {

ImageButton::ImageButton(QWidget* parent) : QWidget(parent) {
  pict_normal_ = new PictureBox(this);
  // No leave event tells a picture box that the mouse has gone, so a timer
  // polls the cursor while the button shows its hover look.
  timer_.setInterval(kHoverIntervalMs);
  connect(&timer_, &QTimer::timeout, this, &ImageButton::OnTimer);
  connect(pict_normal_, &PictureBox::MouseDown, this, &ImageButton::OnMouseDown);
  connect(pict_normal_, &PictureBox::MouseUp, this, &ImageButton::OnMouseUp);
  connect(pict_normal_, &PictureBox::MouseMove, this, &ImageButton::OnMouseMove);
  connect(pict_normal_, &PictureBox::Click, this, [this] { OnClick(false); });
  connect(pict_normal_, &PictureBox::DblClick, this, [this] { OnClick(true); });
}

ImageButton::~ImageButton() = default;

void ImageButton::Start(const std::array<const QPixmap*, kLookCount>& design_pictures) {
  TakePictures(design_pictures);
  FitToPicture();
  state_.m_bEnabled = true;
  pict_normal_->SetPicture(pict_button_xp_[kLookNormal]);
  state_.m_iState = kLookNormal;
}

void ImageButton::TakePictures(const std::array<const QPixmap*, kLookCount>& pictures) {
  for (size_t i = 0; i < pictures.size(); ++i) pict_button_xp_[i] = *pictures[i];
  pict_normal_->resize(pict_button_xp_[kLookNormal].size());
}

void ImageButton::FitToPicture() { resize(pict_normal_->size()); }

const QPixmap& ImageButton::pictButtonXP(int index) const {
  static const QPixmap kNone;
  if (index < 0 || index >= kLookCount) return kNone;
  return pict_button_xp_[static_cast<size_t>(index)];
}

void ImageButton::ReleaseButton() {
  state_.m_bDown = true;
  state_.m_bBusy = true;
  ToggleSticky();
  DisableTimer();
}

void ImageButton::StickButton() {
  state_.m_bDown = true;
  UpdatePicture();
}

void ImageButton::BackColor(long lColor) {
  // Colours come as the numbers the forms store: red in the low byte.
  const auto channel = [lColor](int shift) { return static_cast<int>((lColor >> shift) & 0xff); };
  pict_normal_->SetBackColor(QColor(channel(0), channel(8), channel(16)));
}

void ImageButton::StickyStyle(int16_t iStyle) { state_.m_iStickyStyle = iStyle; }

void ImageButton::ToolTip(const QString& strToolTipText) {
  pict_normal_->setToolTip(strToolTipText);
}

void ImageButton::StickyButton(bool blnSticky) { state_.m_bSticky = blnSticky; }

void ImageButton::ButtonStyle(int16_t Style) {
  state_.m_iStyle = Style;
  LoadStyle(Style);
  ShowStatePicture();
}

void ImageButton::Enabled(bool blnEnabled) {
  // The picture changes before the flag, so a disabled button shows its
  // disabled look even while UpdatePicture would refuse to touch it.
  state_.m_iState = blnEnabled ? kLookNormal : kLookDisabled;
  ShowStatePicture();
  state_.m_bEnabled = blnEnabled;
}

void ImageButton::DisableTimer() {
  timer_.stop();
  state_.m_bBusy = false;
  pict_normal_->setEnabled(true);
}

void ImageButton::ShowStatePicture() { pict_normal_->SetPicture(pictButtonXP(state_.m_iState)); }

void ImageButton::ShowLook(int16_t look) {
  if (state_.m_iState != look) pict_normal_->SetPicture(pictButtonXP(look));
  state_.m_iState = look;
}

void ImageButton::UpdatePicture() {
  // While the click handler runs (busy) the look is left alone, so a handler
  // that changes the button's state is not overdrawn by the hover.
  if (state_.m_bBusy || !state_.m_bEnabled) return;
  const bool stuck = state_.m_bSticky && state_.m_bDown;
  if (state_.m_bHover) {
    ShowLook(state_.m_bMouseDown || stuck ? kLookPressed : kLookHover);
  } else if (stuck) {
    ShowLook(state_.m_iStickyStyle);
  } else {
    // Held down but dragged off: the hover look says the click will not happen.
    ShowLook(state_.m_bMouseDown ? kLookHover : kLookNormal);
  }
}

void ImageButton::ToggleSticky() {
  // The surface stays off until DisableTimer, so a second click cannot start meanwhile.
  pict_normal_->setEnabled(false);
  state_.m_bHover = false;
  state_.m_bMouseDown = false;
  if (state_.m_bSticky && !state_.m_bDown) {
    state_.m_bDown = true;
    state_.m_iState = state_.m_iStickyStyle;
  } else {
    state_.m_bDown = false;
    state_.m_iState = kLookNormal;
  }
  ShowStatePicture();
}

void ImageButton::OnMouseMove() {
  if (state_.m_bBusy || !state_.m_bEnabled) return;
  state_.m_bHover = true;
  if (!timer_.isActive()) timer_.start();
}

void ImageButton::OnClick(bool double_click) {
  if (!state_.m_bEnabled) return;
  state_.m_bBusy = true;
  ToggleSticky();
  if (double_click) {
    emit DblClick();
  } else {
    emit Click();
  }
  DisableTimer();
}

bool ImageButton::CursorOverControl() const {
  // In screen coordinates: the cursor may be over another window meanwhile.
  const QRect screen_rect(mapToGlobal(QPoint(0, 0)), size());
  return screen_rect.contains(QCursor::pos());
}

void ImageButton::OnTimer() {
  if (state_.m_bBusy || !state_.m_bEnabled) return;
  state_.m_bHover = CursorOverControl();
  UpdatePicture();
  if (!state_.m_bHover && !state_.m_bMouseDown) {
    timer_.stop();
    state_.m_bHover = false;
  }
}

}  // namespace typrosync

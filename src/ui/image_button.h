#pragma once
// ImageButton: the one design and code path behind cmdButtonXP, YesNo and Radio.
// A button drawn entirely from four pictures (disabled, normal, hover, pressed). A
// 5 ms timer polls the cursor against the control's screen rectangle while the
// mouse is over it, so no leave message is needed. A sticky button stays pressed
// after one click until the next click or ReleaseButton.

#include <QPixmap>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>

#include "ui/button_pictures.h"
#include "ui/picture_box.h"

namespace typrosync {

// The state fields, in their order.
struct ImageButtonState {
  int16_t m_iStickyStyle = 0;  // look while stuck and the mouse is off the button
  int16_t m_iState = 0;        // look shown now (0-3)
  bool m_bHover = false;       // the mouse is over the control
  bool m_bMouseDown = false;   // a mouse button is down on the control
  bool m_bSticky = false;      // StickyButton
  bool m_bDown = false;        // a sticky button is stuck down
  int16_t m_iStyle = 0;        // ButtonStyle
  bool m_bBusy = false;        // a click is being handled
  bool m_bEnabled = false;     // Enabled
};

inline constexpr int kHoverIntervalMs = 5;

class ImageButton : public QWidget {
  Q_OBJECT

 public:
  ~ImageButton() override;

  // Releases a stuck button: normal look, not down.
  void ReleaseButton();
  // Sticks the button down and updates the look.
  void StickButton();
  // Background colour of the picture surface, as a 0x00BBGGRR colour value.
  void BackColor(long lColor);
  void StickyStyle(int16_t iStyle);
  void ToolTip(const QString& strToolTipText);
  void StickyButton(bool blnSticky);
  // Stores the style, loads its pictures, then shows the look of the current state.
  void ButtonStyle(int16_t Style);
  int16_t ButtonStyle() const { return state_.m_iStyle; }
  // True: normal look and clickable; False: disabled look, clicks ignored.
  void Enabled(bool blnEnabled);
  bool Enabled() const { return state_.m_bEnabled; }
  // Stops the hover timer, ends the busy spell and enables the surface again.
  void DisableTimer();

  const ImageButtonState& Fields() const { return state_; }
  PictureBox* pictNormal() const { return pict_normal_; }
  const QPixmap& pictButtonXP(int index) const;
  const QTimer& Timer() const { return timer_; }

 signals:
  void Click();
  void DblClick();

 protected:
  explicit ImageButton(QWidget* parent);
  // Loads the pictures of `style` into pictButtonXP; the subclass knows its pictures.
  virtual void LoadStyle(int16_t style) = 0;
  // Shows the four pictures given and takes the size of the normal one.
  void TakePictures(const std::array<const QPixmap*, kLookCount>& pictures);
  // Sizes the control to its picture surface.
  void FitToPicture();
  // Start: design pictures, enabled, normal look.
  void Start(const std::array<const QPixmap*, kLookCount>& design_pictures);

  // Chooses the look from hover, mouse-down and stuck state.
  void UpdatePicture();
  void ShowStatePicture();
  void ToggleSticky();

  ImageButtonState state_;

 private:
  void ShowLook(int16_t look);
  void OnMouseDown() { state_.m_bMouseDown = true; }
  void OnMouseUp() { state_.m_bMouseDown = false; }
  void OnMouseMove();
  void OnClick(bool double_click);
  void OnTimer();
  bool CursorOverControl() const;

  PictureBox* pict_normal_ = nullptr;  // owned by Qt's parent chain
  std::array<QPixmap, kLookCount> pict_button_xp_;
  QTimer timer_;
};

}  // namespace typrosync

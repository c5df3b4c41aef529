#pragma once
// ListButton: the part YesNo and Radio share. Their pictures come from an image list
// of the main window (style 1: images 1-4, style 2: images 5-8), and they report
// whether they are down and which look they show.

#include "ui/image_button.h"

namespace typrosync {

// An image list of the main window, counted from 1.
using ImageList = const QPixmap& (*)(int index);

class ListButton : public ImageButton {
  Q_OBJECT

 public:
  int16_t ButtonDown() const { return state_.m_bDown ? -1 : 0; }
  int16_t State() const { return state_.m_iState; }

 protected:
  ListButton(QWidget* parent, ImageList list);
  // Style 1 or 2 loads four images of the list; then the surface and the control
  // take the size of the normal picture, whatever the style.
  void LoadStyle(int16_t style) override;
  // State 3: show the pressed look through the look update and stay down.
  void PressByCode();

 private:
  ImageList list_;
};

}  // namespace typrosync

#pragma once
// cmdButtonXP: the image push button with thirteen built-in picture styles
// (1-5, 10-16 and 30). It starts with the pictures of style 1 as its design look.

#include "ui/image_button.h"

namespace typrosync {

class cmdButtonXP : public ImageButton {
  Q_OBJECT

 public:
  explicit cmdButtonXP(QWidget* parent = nullptr);

 protected:
  // One of the thirteen styles loads its four looks; any other value loads nothing.
  // Either way the control takes the size of its picture surface.
  void LoadStyle(int16_t style) override;
};

}  // namespace typrosync

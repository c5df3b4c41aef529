#pragma once
// YesNo: the image toggle; its pictures come from the main window's imgResourceSmall.

#include "ui/list_button.h"

namespace typrosync {

class YesNo : public ListButton {
  Q_OBJECT

 public:
  explicit YesNo(QWidget* parent = nullptr);

  using ListButton::State;
  // 3 shows the pressed look and leaves the toggle down; other values do nothing.
  void State(int16_t NewState);
};

}  // namespace typrosync

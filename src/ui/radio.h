#pragma once
// Radio: the image radio choice; its pictures come from the main window's imgListRadio.

#include "ui/list_button.h"

namespace typrosync {

class Radio : public ListButton {
  Q_OBJECT

 public:
  explicit Radio(QWidget* parent = nullptr);

  using ListButton::State;
  // 3 chooses it (pressed look, down); 1 clears it (normal look, not down);
  // other values do nothing.
  void State(int16_t NewState);
};

}  // namespace typrosync

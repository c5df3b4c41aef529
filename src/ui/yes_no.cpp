#include "ui/yes_no.h"

namespace typrosync {

YesNo::YesNo(QWidget* parent) : ListButton(parent, &imgResourceSmall) {}

void YesNo::State(int16_t NewState) {
  if (NewState == kLookPressed) PressByCode();
}

}  // namespace typrosync

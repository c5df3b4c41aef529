#include "ui/message_icons.h"

#include <QApplication>
#include <QStyle>

#include "ui/message_buttons.h"

namespace typrosync {

long IconResourceFor(long icon_value) {
  switch (icon_value) {
    case kIconCritical:
      return 101;
    case kIconQuestion:
      return 102;
    case kIconExclamation:
      return 103;
    case kIconInformation:
      return 104;
    default:
      return 0;
  }
}

QPixmap LoadIconResource(long resource) {
  QStyle::StandardPixmap which;
  switch (resource) {
    case 101:
      which = QStyle::SP_MessageBoxCritical;
      break;
    case 102:
      which = QStyle::SP_MessageBoxQuestion;
      break;
    case 103:
      which = QStyle::SP_MessageBoxWarning;
      break;
    case 104:
      which = QStyle::SP_MessageBoxInformation;
      break;
    default:
      return {};
  }
  return QApplication::style()->standardIcon(which).pixmap(kIconPixels, kIconPixels);
}

}  // namespace typrosync

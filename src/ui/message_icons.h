#pragma once
// The four message-box icons. Resources 101 to 104 stand for critical, question,
// exclamation and information; Qt's standard message-box icons draw them.

#include <QPixmap>

namespace typrosync {

inline constexpr int kIconPixels = 32;

// Icon resource (101-104) for an icon value (16, 32, 48, 64); 0 for any other value.
long IconResourceFor(long icon_value);

// The 32 x 32 picture of a resource; a null pixmap for an unknown number.
QPixmap LoadIconResource(long resource);

}  // namespace typrosync

#pragma once
// Window measures are kept in twips, as the message window's layout is designed in
// them. 1440 twips make an inch, so at 96 DPI a pixel is 15 twips; other screens scale.

#include <QtGlobal>

class QWidget;

namespace typrosync {

// Twips per pixel of the screen `widget` is on (the primary screen for nullptr).
double TwipsPerPixel(const QWidget* widget = nullptr);

// Pixels to twips and back, rounded to the nearest whole unit (halves to even).
long PixelsToTwips(double pixels, const QWidget* widget = nullptr);
int TwipsToPixels(double twips, const QWidget* widget = nullptr);
// The same at `dpi` dots per inch (15 twips a pixel at 96).
int TwipsToPixelsAt(double twips, double dpi);

}  // namespace typrosync

#include "ui/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace typrosync {

namespace {
constexpr double kTwipsPerInch = 1440.0;
constexpr double kDefaultDpi = 96.0;
}  // namespace

double TwipsPerPixel(const QWidget* widget) {
  const QScreen* screen = widget != nullptr ? widget->screen() : QGuiApplication::primaryScreen();
  // Logical dpi, as the layout's font sizes follow it; without a screen
  // (offscreen tests) the classic 96 dpi.
  const double dpi = screen != nullptr ? screen->logicalDotsPerInchX() : kDefaultDpi;
  return kTwipsPerInch / (dpi > 0 ? dpi : kDefaultDpi);
}

long PixelsToTwips(double pixels, const QWidget* widget) {
  return static_cast<long>(std::nearbyint(pixels * TwipsPerPixel(widget)));
}

int TwipsToPixels(double twips, const QWidget* widget) {
  return static_cast<int>(std::nearbyint(twips / TwipsPerPixel(widget)));
}

int TwipsToPixelsAt(double twips, double dpi) {
  // Halves go to even, as the platform's own conversions round.
  return static_cast<int>(std::nearbyint(twips / (kTwipsPerInch / (dpi > 0 ? dpi : kDefaultDpi))));
}

}  // namespace typrosync

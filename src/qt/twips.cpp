// Twips (1440 to the inch), the unit of the window models, converted to pixels.
#include "qt/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace orvex {

double logicalDpi() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
  return dpi > 0 ? dpi : 96.0;
}

int twipsToPixels(int twips) {
  return int(std::lround(twips * logicalDpi() / 1440.0));
}

int pixelsToTwips(int pixels) {
  return int(std::lround(pixels * 1440.0 / logicalDpi()));
}

QRect twipsRect(int left, int top, int width, int height) {
  return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
               twipsToPixels(height));
}

}  // namespace orvex

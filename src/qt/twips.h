// Twips (1440 to the inch), the unit of the window models, converted to pixels.
#pragma once

#include <QRect>

class QWidget;

namespace orvex {

// Logical dots per inch of the primary screen (96 when there is none).
double logicalDpi();
int twipsToPixels(int twips);
int pixelsToTwips(int pixels);
QRect twipsRect(int left, int top, int width, int height);

// A new child widget at a place given in twips within its parent.
template <class W>
W* placed(QWidget* parent, int left, int top, int width, int height) {
  auto* w = new W(parent);
  w->setGeometry(twipsRect(left, top, width, height));
  return w;
}

}  // namespace orvex

// Small generated files for the sample add-ons: pictures, sounds and stand-ins for the
// simulators' binary formats.
#pragma once

#include <QColor>
#include <QString>
#include <string>

namespace orvex::demo {

// An instrument panel: a dark board with round gauges, the title written on it (BMP).
std::string panelBitmap(const QString& title, int width, int height);
// A tiling texture of two colours (BMP).
std::string textureBitmap(QColor first, QColor second, int size);
// A preview picture of an aircraft in the sky with its title (JPEG).
std::string previewJpeg(const QString& title);
// A raw 8-bit texture of the simulators' R8 format: size x size palette indices.
std::string rawTexture8(int size, int seed);
// A mono 8-bit PCM wave: a tone of the given pitch with a few overtones, ms long, fading out.
std::string waveSound(double hertz, int ms);
// A stand-in for a binary file (model, gauge, flight dynamics, scenery): it says what it stands
// for, so that nobody takes it for the real thing.
std::string standIn(const std::string& kind, const std::string& name);

}  // namespace orvex::demo

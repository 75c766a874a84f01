// Pictures drawn with QPainter, sounds assembled as RIFF WAVE, stand-ins written as text.
#include "media.h"

#include <QBuffer>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace orvex::demo {
namespace {

std::string encoded(const QImage& image, const char* format, int quality = -1) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, format, quality))
    throw std::runtime_error(std::string("cannot encode a picture as ") + format);
  return bytes.toStdString();
}

void drawGauge(QPainter& p, QPointF centre, double radius, double needleTurn) {
  p.setPen(QPen(QColor(200, 200, 200), 2));
  p.setBrush(QColor(20, 20, 24));
  p.drawEllipse(centre, radius, radius);
  p.setPen(QPen(Qt::white, 1.5));
  for (int tick = 0; tick < 12; ++tick) {
    const double a = tick * std::numbers::pi / 6;
    const QPointF dir(std::sin(a), -std::cos(a));
    p.drawLine(centre + dir * radius * 0.78, centre + dir * radius * 0.92);
  }
  const double a = needleTurn * 2 * std::numbers::pi;
  p.setPen(QPen(QColor(255, 190, 40), 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(centre, centre + QPointF(std::sin(a), -std::cos(a)) * radius * 0.7);
}

// Little-endian helpers for the RIFF container, which Qt does not write.
void putU16(std::string& out, unsigned v) {
  out += char(v & 0xff);
  out += char((v >> 8) & 0xff);
}

void putU32(std::string& out, unsigned long v) {
  for (int shift = 0; shift < 32; shift += 8) out += char((v >> shift) & 0xff);
}

}  // namespace

std::string panelBitmap(const QString& title, int width, int height) {
  QImage image(width, height, QImage::Format_RGB888);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient board(0, 0, 0, height);
  board.setColorAt(0, QColor(70, 74, 82));
  board.setColorAt(1, QColor(38, 40, 46));
  p.fillRect(image.rect(), board);
  const int gauges = 4;
  const double radius = std::min(height * 0.32, width / (gauges * 2.6));
  for (int g = 0; g < gauges; ++g) {
    const QPointF centre(width * (g + 0.5) / gauges, height * 0.45);
    drawGauge(p, centre, radius, 0.15 + 0.2 * g);
  }
  QFont font = p.font();
  font.setPixelSize(std::max(9, height / 10));
  font.setBold(true);
  p.setFont(font);
  p.setPen(QColor(230, 230, 230));
  p.drawText(QRectF(0, height * 0.82, width, height * 0.16), Qt::AlignCenter, title);
  p.end();
  return encoded(image, "BMP");
}

std::string textureBitmap(QColor first, QColor second, int size) {
  QImage image(size, size, QImage::Format_RGB888);
  QPainter p(&image);
  p.fillRect(image.rect(), first);
  const int cell = std::max(2, size / 8);
  for (int y = 0; y < size; y += cell)
    for (int x = 0; x < size; x += cell)
      if (((x + y) / cell) % 2) p.fillRect(x, y, cell, cell, second);
  p.end();
  return encoded(image, "BMP");
}

std::string previewJpeg(const QString& title) {
  QImage image(320, 200, QImage::Format_RGB32);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, 200);
  sky.setColorAt(0, QColor(40, 110, 200));
  sky.setColorAt(1, QColor(190, 220, 250));
  p.fillRect(image.rect(), sky);
  p.fillRect(QRect(0, 160, 320, 40), QColor(70, 130, 60));

  // A high-wing trainer seen from the side.
  p.setPen(QPen(QColor(30, 30, 30), 1.5));
  p.setBrush(QColor(240, 200, 40));
  QPainterPath body;
  body.moveTo(70, 100);
  body.cubicTo(90, 86, 200, 86, 250, 96);
  body.lineTo(255, 78);
  body.lineTo(268, 78);
  body.lineTo(266, 104);
  body.cubicTo(200, 112, 100, 114, 70, 108);
  body.closeSubpath();
  p.drawPath(body);
  p.drawRoundedRect(QRectF(100, 80, 110, 8), 3, 3);  // wing
  p.setBrush(QColor(120, 180, 230));
  p.drawRect(QRectF(112, 88, 30, 10));  // window
  p.setBrush(QColor(40, 40, 40));
  p.drawEllipse(QPointF(120, 122), 7, 7);
  p.drawEllipse(QPointF(150, 122), 7, 7);
  p.drawLine(QPointF(120, 110), QPointF(120, 116));
  p.drawLine(QPointF(150, 110), QPointF(150, 116));
  p.drawLine(QPointF(66, 90), QPointF(66, 118));  // propeller

  QFont font = p.font();
  font.setPixelSize(18);
  font.setBold(true);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(QRect(0, 166, 320, 30), Qt::AlignCenter, title);
  p.end();
  return encoded(image, "JPG", 85);
}

std::string rawTexture8(int size, int seed) {
  std::string data;
  data.reserve(size_t(size) * size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      data += char(((x / 8 + y / 8 + seed) % 4) * 16 + ((x * 7 + y * 3 + seed) % 5));
  return data;
}

std::string waveSound(double hertz, int ms) {
  constexpr int kRate = 11025;
  const int count = kRate * ms / 1000;
  std::string samples;
  samples.reserve(count);
  for (int i = 0; i < count; ++i) {
    const double t = double(i) / kRate;
    const double w = 2 * std::numbers::pi * hertz * t;
    const double tone = 0.6 * std::sin(w) + 0.25 * std::sin(2 * w) + 0.15 * std::sin(3 * w);
    const double fade = std::min(1.0, double(count - i) / (kRate / 20.0));
    samples += char(128 + std::lround(tone * fade * 90));  // 8-bit PCM is unsigned
  }
  std::string fmt;
  putU16(fmt, 1);  // PCM
  putU16(fmt, 1);  // mono
  putU32(fmt, kRate);
  putU32(fmt, kRate);                            // bytes per second
  putU16(fmt, 1);                                // block align
  putU16(fmt, 8);                                // bits per sample
  if (samples.size() % 2) samples += char(128);  // chunks start on even offsets
  std::string body = "WAVE";
  body += "fmt ";
  putU32(body, fmt.size());
  body += fmt;
  body += "data";
  putU32(body, samples.size());
  body += samples;
  std::string wave = "RIFF";
  putU32(wave, body.size());
  return wave + body;
}

std::string standIn(const std::string& kind, const std::string& name) {
  return "Orvex demonstration " + kind + " \"" + name +
         "\": a stand-in made by Orvex to show where such files go. It is not a " + kind +
         " any simulator can use.\r\n";
}

}  // namespace orvex::demo

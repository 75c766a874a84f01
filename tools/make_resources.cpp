// Draws the program's own pictures, copy animation and click sound into a folder (the help page,
// resources/Orvex.html, is written by hand).
#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSaveFile>
#include <QString>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

namespace {

// Qt reads and writes neither AVI nor WAVE, so the RIFF containers are assembled here.
void putU16(QByteArray& out, quint16 v) {
  out.append(char(v & 0xff));
  out.append(char(v >> 8));
}

void putU32(QByteArray& out, quint32 v) {
  for (int shift = 0; shift < 32; shift += 8) out.append(char((v >> shift) & 0xff));
}

void putFourCc(QByteArray& out, const char (&id)[5]) {
  out.append(id, 4);
}

QByteArray chunk(const char (&id)[5], const QByteArray& body) {
  QByteArray out;
  putFourCc(out, id);
  putU32(out, quint32(body.size()));
  out += body;
  if (body.size() & 1) out.append('\0');  // RIFF chunks start on even offsets
  return out;
}

QByteArray riffList(const char (&outer)[5], const char (&type)[5], const QByteArray& body) {
  QByteArray inner;
  putFourCc(inner, type);
  inner += body;
  return chunk(outer, inner);
}

QByteArray list(const char (&type)[5], const QByteArray& body) {
  return riffList("LIST", type, body);
}

bool writeFile(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
  }
  std::printf("%-40s %8lld bytes\n", qPrintable(path), static_cast<long long>(bytes.size()));
  return true;
}

bool writeImage(const QString& path, const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) {
    std::fprintf(stderr, "cannot encode %s\n", qPrintable(path));
    return false;
  }
  return writeFile(path, bytes);
}

QImage transparentImage(int width, int height) {
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

QFont boldFont(int pixelSize) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(pixelSize);
  font.setBold(true);
  return font;
}

// ---------------------------------------------------------------- shapes shared by the pictures

const QColor kOutline(0x8a, 0x63, 0x12);
const QColor kFolderBack(0xe0, 0xa8, 0x38);
const QColor kFolderFront(0xf7, 0xcf, 0x66);

// Back panel of a manila folder, tab on the left; the front is drawn separately so that a
// sheet can sit between the two.
void drawFolderBack(QPainter& p, const QRectF& r) {
  const qreal tabHeight = r.height() * 0.14;
  QPainterPath back;
  back.addRoundedRect(QRectF(r.left(), r.top() + tabHeight, r.width(), r.height() - tabHeight), 2.5,
                      2.5);
  QPainterPath tab;
  tab.addRoundedRect(QRectF(r.left(), r.top(), r.width() * 0.4, tabHeight * 2), 2.5, 2.5);
  back = back.united(tab);
  QLinearGradient fill(r.topLeft(), r.bottomLeft());
  fill.setColorAt(0, kFolderBack.lighter(110));
  fill.setColorAt(1, kFolderBack.darker(110));
  p.setPen(QPen(kOutline, 1.2));
  p.setBrush(fill);
  p.drawPath(back);
}

// Front panel of an open folder: lower than the back and leaning out a little.
void drawFolderFront(QPainter& p, const QRectF& r) {
  const qreal top = r.top() + r.height() * 0.38;
  const qreal lean = r.width() * 0.07;
  QPainterPath front;
  front.moveTo(r.left() + lean, top);
  front.lineTo(r.right() + lean * 0.6, top);
  front.lineTo(r.right(), r.bottom());
  front.lineTo(r.left(), r.bottom());
  front.closeSubpath();
  QLinearGradient fill(QPointF(0, top), QPointF(0, r.bottom()));
  fill.setColorAt(0, kFolderFront.lighter(108));
  fill.setColorAt(1, kFolderFront.darker(106));
  p.setPen(QPen(kOutline, 1.2));
  p.setBrush(fill);
  p.drawPath(front);
}

void drawFolder(QPainter& p, const QRectF& r) {
  drawFolderBack(p, r);
  drawFolderFront(p, r);
}

// A sheet of paper with a folded corner and a few lines of text, centred on the origin.
void drawSheet(QPainter& p, qreal width, qreal height, qreal opacity) {
  const qreal fold = width * 0.28;
  const QRectF r(-width / 2, -height / 2, width, height);
  p.save();
  p.setOpacity(opacity);
  QPainterPath sheet;
  sheet.moveTo(r.topLeft());
  sheet.lineTo(r.right() - fold, r.top());
  sheet.lineTo(r.right(), r.top() + fold);
  sheet.lineTo(r.bottomRight());
  sheet.lineTo(r.bottomLeft());
  sheet.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 40));
  p.drawPath(sheet.translated(1.2, 1.4));
  p.setPen(QPen(QColor(0x55, 0x63, 0x78), 1.0));
  p.setBrush(Qt::white);
  p.drawPath(sheet);
  QPainterPath corner;
  corner.moveTo(r.right() - fold, r.top());
  corner.lineTo(r.right() - fold, r.top() + fold);
  corner.lineTo(r.right(), r.top() + fold);
  corner.closeSubpath();
  p.setBrush(QColor(0xd8, 0xde, 0xe8));
  p.drawPath(corner);
  p.setPen(QPen(QColor(0x8c, 0x9a, 0xb0), 1.2));
  const qreal margin = width * 0.18;
  for (int line = 0; line < 5; ++line) {
    const qreal y = r.top() + fold + 2.5 + line * (height - fold - 5) / 5;
    const qreal right = (line == 4) ? r.center().x() : r.right() - margin;
    p.drawLine(QPointF(r.left() + margin, y), QPointF(right, y));
  }
  p.restore();
}

// Top view of a light aircraft, nose towards +x, about 144 units long and 132 wide.
QPainterPath aircraftPath() {
  const std::vector<QPointF> half = {{74, 0},    {70, -4},   {60, -7},  {20, -8},
                                     {12, -66},  {-2, -66},  {-10, -8}, {-48, -5.5},
                                     {-56, -26}, {-66, -26}, {-64, -4}, {-70, 0}};
  QPainterPath path;
  path.moveTo(half.front());
  for (std::size_t i = 1; i < half.size(); ++i) path.lineTo(half[i]);
  for (std::size_t i = half.size() - 2; i > 0; --i) path.lineTo(half[i].x(), -half[i].y());
  path.closeSubpath();
  return path;
}

// ---------------------------------------------------------------- copy animation

constexpr int kAnimWidth = 272;
constexpr int kAnimHeight = 60;
constexpr int kAnimFrames = 20;
constexpr int kAnimFps = 12;

QImage drawCopyFrame(int index) {
  QImage frame(kAnimWidth, kAnimHeight, QImage::Format_RGB32);
  frame.fill(QColor(0xf0, 0xf0, 0xf0));
  QPainter p(&frame);
  p.setRenderHint(QPainter::Antialiasing);

  const QRectF source(16, 14, 52, 40);
  const QRectF target(204, 14, 52, 40);
  const qreal tuckedY = 38;  // centre of a sheet resting in a folder
  const qreal arc = 24;
  const qreal sheetWidth = 18;
  const qreal sheetHeight = 23;

  // Eased flight from the source folder to the target folder along a parabola.
  auto place = [&](qreal t, QPointF& centre, qreal& angle) {
    t = std::clamp(t, 0.0, 1.0);
    const qreal s = t * t * (3 - 2 * t);
    centre = QPointF(source.center().x() + (target.center().x() - source.center().x()) * s,
                     tuckedY - arc * 4 * s * (1 - s));
    angle = 24 * (s - 0.5) * std::sin(std::numbers::pi * s);
  };

  drawFolderBack(p, source);
  drawFolderBack(p, target);

  const qreal t = qreal(index) / (kAnimFrames - 1);
  QPointF centre;
  qreal angle;
  // A faint trace behind the sheet, only in the open air between the folders.
  place(t - 0.1, centre, angle);
  if (t > 0.1 && centre.x() > source.right() + sheetWidth &&
      centre.x() < target.left() - sheetWidth) {
    p.save();
    p.translate(centre);
    p.rotate(angle);
    drawSheet(p, sheetWidth, sheetHeight, 0.2);
    p.restore();
  }
  place(t, centre, angle);
  p.save();
  p.translate(centre);
  p.rotate(angle);
  drawSheet(p, sheetWidth, sheetHeight, 1.0);
  p.restore();

  drawFolderFront(p, source);
  drawFolderFront(p, target);
  return frame;
}

QByteArray makeCopyAnimation() {
  std::vector<QByteArray> frames;
  quint32 largest = 0;
  for (int i = 0; i < kAnimFrames; ++i) {
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    if (!drawCopyFrame(i).save(&buffer, "JPEG", 85)) return {};
    largest = std::max(largest, quint32(jpeg.size()));
    frames.push_back(jpeg);
  }

  const quint32 microSecPerFrame = 1000000 / kAnimFps;
  QByteArray avih;
  putU32(avih, microSecPerFrame);
  putU32(avih, largest * kAnimFps);  // max bytes per second
  putU32(avih, 0);                   // padding granularity
  putU32(avih, 0x10);                // AVIF_HASINDEX
  putU32(avih, kAnimFrames);
  putU32(avih, 0);  // initial frames
  putU32(avih, 1);  // streams
  putU32(avih, largest);
  putU32(avih, kAnimWidth);
  putU32(avih, kAnimHeight);
  for (int i = 0; i < 4; ++i) putU32(avih, 0);

  QByteArray strh;
  putFourCc(strh, "vids");
  putFourCc(strh, "MJPG");
  putU32(strh, 0);  // flags
  putU16(strh, 0);  // priority
  putU16(strh, 0);  // language
  putU32(strh, 0);  // initial frames
  putU32(strh, 1);  // scale
  putU32(strh, kAnimFps);
  putU32(strh, 0);  // start
  putU32(strh, kAnimFrames);
  putU32(strh, largest);
  putU32(strh, 0xffffffff);  // default quality
  putU32(strh, 0);           // sample size: varies per frame
  putU16(strh, 0);
  putU16(strh, 0);
  putU16(strh, kAnimWidth);
  putU16(strh, kAnimHeight);

  QByteArray strf;  // BITMAPINFOHEADER
  putU32(strf, 40);
  putU32(strf, kAnimWidth);
  putU32(strf, kAnimHeight);
  putU16(strf, 1);   // planes
  putU16(strf, 24);  // bits per pixel once decoded
  putFourCc(strf, "MJPG");
  putU32(strf, kAnimWidth * kAnimHeight * 3);
  for (int i = 0; i < 4; ++i) putU32(strf, 0);

  const QByteArray hdrl =
      list("hdrl", chunk("avih", avih) + list("strl", chunk("strh", strh) + chunk("strf", strf)));

  // Index offsets count from the 'movi' list type, as players expect.
  QByteArray movi;
  QByteArray idx1;
  for (const QByteArray& jpeg : frames) {
    putFourCc(idx1, "00dc");
    putU32(idx1, 0x10);  // AVIIF_KEYFRAME
    putU32(idx1, quint32(4 + movi.size()));
    putU32(idx1, quint32(jpeg.size()));
    movi += chunk("00dc", jpeg);
  }
  return riffList("RIFF", "AVI ", hdrl + list("movi", movi) + chunk("idx1", idx1));
}

// ---------------------------------------------------------------- click sound

QByteArray makeClick() {
  constexpr int kRate = 22050;
  constexpr int kSamples = kRate * 45 / 1000;
  std::vector<double> wave(kSamples);
  quint32 seed = 0x2545f491;  // fixed, so every run writes the same file
  double smoothed = 0;
  double peak = 0;
  for (int i = 0; i < kSamples; ++i) {
    seed ^= seed << 13;
    seed ^= seed >> 17;
    seed ^= seed << 5;
    const double noise = double(seed) / 2147483648.0 - 1.0;
    smoothed = 0.55 * smoothed + 0.45 * noise;
    const double t = double(i) / kRate;
    const double envelope = (1 - std::exp(-t / 0.0004)) * std::exp(-t / 0.0055);
    const double tone = 0.6 * std::sin(2 * std::numbers::pi * 2300 * t) +
                        0.4 * std::sin(2 * std::numbers::pi * 950 * t);
    wave[i] = envelope * (0.55 * smoothed + 0.45 * tone);
    peak = std::max(peak, std::abs(wave[i]));
  }
  const int fade = kRate * 5 / 1000;  // ends on silence, no pop
  QByteArray samples;
  for (int i = 0; i < kSamples; ++i) {
    double v = wave[i] / peak * 0.8;
    if (i >= kSamples - fade) v *= double(kSamples - 1 - i) / fade;
    putU16(samples, quint16(qint16(std::lround(v * 32767))));
  }

  QByteArray fmt;
  putU16(fmt, 1);  // PCM
  putU16(fmt, 1);  // mono
  putU32(fmt, kRate);
  putU32(fmt, kRate * 2);
  putU16(fmt, 2);  // block align
  putU16(fmt, 16);
  return riffList("RIFF", "WAVE", chunk("fmt ", fmt) + chunk("data", samples));
}

// ---------------------------------------------------------------- pictures

QImage drawStartPicture() {
  QImage image(360, 240, QImage::Format_RGB32);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);

  QLinearGradient sky(0, 0, 0, 190);
  sky.setColorAt(0, QColor(0x17, 0x46, 0x92));
  sky.setColorAt(0.55, QColor(0x4f, 0x92, 0xdb));
  sky.setColorAt(1, QColor(0xd4, 0xe8, 0xf8));
  p.fillRect(image.rect(), sky);

  QRadialGradient sun(QPointF(300, 58), 70);
  sun.setColorAt(0, QColor(255, 250, 225, 230));
  sun.setColorAt(0.15, QColor(255, 244, 200, 160));
  sun.setColorAt(1, QColor(255, 244, 200, 0));
  p.fillRect(image.rect(), sun);

  p.setPen(Qt::NoPen);
  const struct {
    qreal x, y, scale;
  } clouds[] = {{70, 150, 1.0}, {250, 128, 0.8}, {175, 170, 0.6}, {320, 168, 0.7}};
  for (const auto& c : clouds) {
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawEllipse(QPointF(c.x, c.y), 34 * c.scale, 9 * c.scale);
    p.drawEllipse(QPointF(c.x - 12 * c.scale, c.y - 6 * c.scale), 16 * c.scale, 10 * c.scale);
    p.drawEllipse(QPointF(c.x + 10 * c.scale, c.y - 8 * c.scale), 18 * c.scale, 12 * c.scale);
  }

  QPainterPath hills;
  hills.moveTo(0, 200);
  hills.cubicTo(60, 180, 110, 196, 170, 190);
  hills.cubicTo(230, 184, 290, 176, 360, 194);
  hills.lineTo(360, 240);
  hills.lineTo(0, 240);
  hills.closeSubpath();
  QLinearGradient land(0, 180, 0, 240);
  land.setColorAt(0, QColor(0x5f, 0x82, 0x6c));
  land.setColorAt(1, QColor(0x2f, 0x4a, 0x3a));
  p.setBrush(land);
  p.drawPath(hills);

  p.save();
  p.translate(222, 124);
  p.rotate(-16);
  p.scale(1.1, 1.1);
  for (int side : {-1, 1}) {  // short contrails from the wing tips
    QLinearGradient trail(QPointF(0, 0), QPointF(-80, 0));
    trail.setColorAt(0, QColor(255, 255, 255, 170));
    trail.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(trail);
    p.drawRect(QRectF(-80, side * 64 - 1.2, 82, 2.4));
  }
  p.setBrush(QColor(0, 0, 0, 45));
  p.drawPath(aircraftPath().translated(3, 5));
  QLinearGradient body(QPointF(0, -66), QPointF(0, 66));
  body.setColorAt(0, QColor(0x2a, 0x3b, 0x5c));
  body.setColorAt(0.5, QColor(0x18, 0x24, 0x3c));
  body.setColorAt(1, QColor(0x2a, 0x3b, 0x5c));
  p.setBrush(body);
  p.drawPath(aircraftPath());
  p.restore();

  p.setFont(boldFont(44));
  p.setPen(QColor(0, 0, 0, 90));
  p.drawText(QPointF(20, 56), QStringLiteral("Orvex"));
  p.setPen(Qt::white);
  p.drawText(QPointF(18, 54), QStringLiteral("Orvex"));
  QFont small = boldFont(12);
  small.setBold(false);
  p.setFont(small);
  p.setPen(QColor(255, 255, 255, 220));
  p.drawText(QPointF(21, 74), QStringLiteral("Add-on installer for flight simulators"));
  return image;
}

QImage drawArrow(bool pointsRight) {
  QImage image = transparentImage(32, 32);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QRadialGradient ball(QPointF(12, 10), 20);
  ball.setColorAt(0, QColor(0x7d, 0xb3, 0xf0));
  ball.setColorAt(1, QColor(0x1f, 0x55, 0xa6));
  p.setPen(QPen(QColor(0x15, 0x3d, 0x7a), 1.2));
  p.setBrush(ball);
  p.drawEllipse(QPointF(16, 16), 14.2, 14.2);
  if (!pointsRight) {
    p.translate(32, 0);
    p.scale(-1, 1);
  }
  const QPointF arrow[] = {{8.5, 13},  {16, 13}, {16, 7.5}, {24.5, 16},
                           {16, 24.5}, {16, 19}, {8.5, 19}};
  p.setPen(QPen(QColor(0x10, 0x30, 0x60, 120), 1.0));
  p.setBrush(Qt::white);
  p.drawPolygon(arrow, std::size(arrow));
  return image;
}

QImage drawZipButton() {
  QImage image = transparentImage(32, 32);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF folder(2, 5, 28, 24);
  drawFolderBack(p, folder);
  drawFolderFront(p, folder);
  // Zipper down the middle of the front panel, with its pull at the top.
  const qreal x = 16.5;
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x4a, 0x4a, 0x52));
  p.drawRect(QRectF(x - 1.8, 15, 3.6, 13.5));
  p.setBrush(QColor(0xd8, 0xd8, 0xe0));
  for (int tooth = 0; tooth < 6; ++tooth) {
    const qreal y = 15.5 + tooth * 2.2;
    p.drawRect(QRectF((tooth % 2) ? x : x - 1.6, y, 1.6, 1.2));
  }
  p.setPen(QPen(QColor(0x50, 0x50, 0x58), 0.8));
  p.setBrush(QColor(0xc0, 0xc4, 0xcc));
  p.drawRoundedRect(QRectF(x - 2.6, 11, 5.2, 6), 1.2, 1.2);
  return image;
}

QImage drawFolderWarning() {
  QImage image = transparentImage(96, 96);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  // A folder tree three levels deep: what extracting with folder names produces.
  p.setPen(QPen(QColor(0x80, 0x80, 0x88), 1.5, Qt::DotLine));
  p.drawPolyline(QPolygonF({QPointF(14, 33), QPointF(14, 49), QPointF(28, 49)}));
  p.drawPolyline(QPolygonF({QPointF(36, 62), QPointF(36, 77), QPointF(50, 77)}));
  drawFolder(p, QRectF(4, 6, 34, 27));
  drawFolder(p, QRectF(28, 36, 34, 27));
  drawFolder(p, QRectF(50, 64, 34, 27));
  for (const QPen& pen : {QPen(QColor(255, 255, 255, 230), 12, Qt::SolidLine, Qt::RoundCap),
                          QPen(QColor(0xd2, 0x1f, 0x26), 8, Qt::SolidLine, Qt::RoundCap)}) {
    p.setPen(pen);
    p.drawLine(QPointF(22, 22), QPointF(74, 74));
    p.drawLine(QPointF(74, 22), QPointF(22, 74));
  }
  return image;
}

QImage drawProgramIcon() {
  QImage image = transparentImage(256, 256);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF tile(8, 8, 240, 240);
  QLinearGradient sky(tile.topLeft(), tile.bottomLeft());
  sky.setColorAt(0, QColor(0x45, 0x9a, 0xea));
  sky.setColorAt(1, QColor(0x0c, 0x3a, 0x80));
  p.setPen(QPen(QColor(0x08, 0x2c, 0x63), 2));
  p.setBrush(sky);
  p.drawRoundedRect(tile, 46, 46);

  QLinearGradient gloss(tile.topLeft(), QPointF(tile.left(), tile.center().y()));
  gloss.setColorAt(0, QColor(255, 255, 255, 70));
  gloss.setColorAt(1, QColor(255, 255, 255, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(gloss);
  p.drawRoundedRect(tile.adjusted(6, 6, -6, -tile.height() / 2), 40, 40);

  // An orbit behind the aircraft.
  p.setPen(QPen(QColor(255, 255, 255, 110), 7, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(34, 62, 188, 132), 200 * 16, 250 * 16);

  p.translate(128, 128);
  p.rotate(-38);
  p.scale(1.3, 1.3);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 70));
  p.drawPath(aircraftPath().translated(4, 6));
  p.setBrush(Qt::white);
  p.drawPath(aircraftPath());
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  const QDir out(QDir::cleanPath(QString::fromLocal8Bit(argv[1])));
  if (!QDir().mkpath(out.path())) {
    std::fprintf(stderr, "cannot create %s\n", argv[1]);
    return 1;
  }

  const QByteArray animation = makeCopyAnimation();
  bool ok = !animation.isEmpty() && writeFile(out.filePath("FileCopy.avi"), animation);
  ok = writeFile(out.filePath("click.wav"), makeClick()) && ok;
  ok = writeImage(out.filePath("start.png"), drawStartPicture()) && ok;
  ok = writeImage(out.filePath("arrow_left.png"), drawArrow(false)) && ok;
  ok = writeImage(out.filePath("arrow_right.png"), drawArrow(true)) && ok;
  ok = writeImage(out.filePath("winzip.png"), drawZipButton()) && ok;
  ok = writeImage(out.filePath("warning.png"), drawFolderWarning()) && ok;
  ok = writeImage(out.filePath("orvex.png"), drawProgramIcon()) && ok;
  return ok ? 0 : 1;
}

// Reads the RIFF structure of an MJPG AVI file by hand (Qt has no AVI reader) and plays it.
#include "qt/avi_player.h"

#include <QBuffer>
#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QHideEvent>
#include <QImage>
#include <QImageReader>
#include <QShowEvent>
#include <algorithm>
#include <cmath>

namespace orvex {
namespace {

// Limits that keep a hostile or damaged file from eating the memory.
constexpr qint64 kMaxFileBytes = 50LL * 1024 * 1024;
constexpr int kMaxFrames = 500;
constexpr int kMaxFrameSide = 4096;
constexpr qint64 kMaxDecodedBytes = 256LL * 1024 * 1024;
constexpr int kMaxListDepth = 8;
constexpr int kDefaultIntervalMs = 100;

bool isMjpg(QByteArrayView fourCc) {
  return fourCc.compare("MJPG", Qt::CaseInsensitive) == 0;
}

// Finds the frame chunks of the first MJPG video stream. Lists ('RIFF', 'LIST') cut short
// by the end of the file are read as far as they go; any other chunk that claims more bytes
// than are left ends the walk, keeping what was found before it.
class AviReader {
 public:
  explicit AviReader(QByteArrayView data) : data_(data) {}

  // False when the data is not an AVI with an MJPG video stream.
  bool read() {
    if (data_.size() < 12 || fourCc(0) != "RIFF" || fourCc(8) != "AVI ") return false;
    const qint64 riffEnd = std::min<qint64>(data_.size(), 8 + qint64(u32(4)));
    walk(12, riffEnd, "RIFF", 0);
    return videoStream_ >= 0;
  }

  quint32 microSecPerFrame() const { return microSecPerFrame_; }
  // An empty entry stands for a frame that repeats the one before it.
  const QList<QByteArrayView>& frames() const { return frames_; }

 private:
  QByteArrayView fourCc(qsizetype pos) const { return data_.sliced(pos, 4); }

  quint32 u32(qsizetype pos) const {
    const auto* b = reinterpret_cast<const uchar*>(data_.data() + pos);
    return quint32(b[0]) | quint32(b[1]) << 8 | quint32(b[2]) << 16 | quint32(b[3]) << 24;
  }

  void walk(qsizetype pos, qsizetype end, QByteArrayView parent, int depth) {
    while (!stopped_ && end - pos >= 8) {
      const QByteArrayView id = fourCc(pos);
      const quint32 size = u32(pos + 4);
      const qsizetype body = pos + 8;
      const bool isList = id == "LIST";
      if (qint64(size) > end - body && !isList) {
        stopped_ = true;
        return;
      }
      const qsizetype bodyEnd = std::min<qint64>(end, body + qint64(size));
      if (isList) {
        if (bodyEnd - body >= 4 && depth < kMaxListDepth) enterList(body + 4, bodyEnd, depth);
      } else {
        takeChunk(id, body, bodyEnd - body, parent);
      }
      pos = bodyEnd + (size & 1);  // chunks are padded to an even size
    }
  }

  void enterList(qsizetype pos, qsizetype end, int depth) {
    const QByteArrayView type = fourCc(pos - 4);
    if (type == "strl") {
      streamIsVideo_ = false;
      streamIsMjpg_ = false;
      walk(pos, end, type, depth + 1);
      if (streamIsVideo_ && streamIsMjpg_ && videoStream_ < 0) videoStream_ = streams_;
      ++streams_;
    } else if (type == "movi") {
      if (videoStream_ < 0) {
        stopped_ = true;  // frames before a usable stream header cannot be told apart
        return;
      }
      walk(pos, end, type, depth + 1);
    } else if (type == "hdrl" || type == "rec ") {
      walk(pos, end, type, depth + 1);
    }
  }

  void takeChunk(QByteArrayView id, qsizetype body, qsizetype size, QByteArrayView parent) {
    if (id == "avih" && parent == "hdrl" && size >= 4) {
      microSecPerFrame_ = u32(body);
    } else if (id == "strh" && parent == "strl" && size >= 8) {
      streamIsVideo_ = fourCc(body) == "vids";
      streamIsMjpg_ = streamIsMjpg_ || isMjpg(fourCc(body + 4));
    } else if (id == "strf" && parent == "strl" && size >= 20) {
      streamIsMjpg_ = streamIsMjpg_ || isMjpg(fourCc(body + 16));  // biCompression
    } else if ((parent == "movi" || parent == "rec ") && isFrameOfVideoStream(id)) {
      frames_.append(data_.sliced(body, size));
      if (frames_.size() >= kMaxFrames) stopped_ = true;
    }
  }

  bool isFrameOfVideoStream(QByteArrayView id) const {
    const char tens = id[0];
    const char ones = id[1];
    if (tens < '0' || tens > '9' || ones < '0' || ones > '9') return false;
    if ((tens - '0') * 10 + (ones - '0') != videoStream_) return false;
    return id.sliced(2) == "dc" || id.sliced(2) == "db";
  }

  QByteArrayView data_;
  quint32 microSecPerFrame_ = 0;
  QList<QByteArrayView> frames_;
  int streams_ = 0;
  int videoStream_ = -1;
  bool streamIsVideo_ = false;
  bool streamIsMjpg_ = false;
  bool stopped_ = false;
};

// Decodes one JPEG frame; a null image when it is damaged, oversized or over the budget.
QImage decodeFrame(QByteArrayView jpeg, qint64& budget) {
  QByteArray bytes = QByteArray::fromRawData(jpeg.data(), jpeg.size());
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "jpeg");
  const QSize size = reader.size();  // from the header, before any pixel is allocated
  if (!size.isValid() || size.width() > kMaxFrameSide || size.height() > kMaxFrameSide) return {};
  const qint64 cost = qint64(size.width()) * size.height() * 4;
  if (cost > budget) return {};
  QImage image = reader.read();
  if (!image.isNull()) budget -= cost;
  return image;
}

int intervalFor(quint32 microSecPerFrame) {
  if (microSecPerFrame == 0) return kDefaultIntervalMs;
  return int(std::clamp<quint32>((microSecPerFrame + 500) / 1000, 10, 1000));
}

}  // namespace

AviPlayer::AviPlayer(QWidget* parent) : QLabel(parent) {
  setAlignment(Qt::AlignCenter);
  timer_.setInterval(kDefaultIntervalMs);
  connect(&timer_, &QTimer::timeout, this,
          [this] { showFrame((current_ + 1) % std::max(1, frameCount())); });
}

bool AviPlayer::open(const QString& hostPath) {
  close();
  QFile file(hostPath);
  if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes) return false;
  const QByteArray data = file.read(kMaxFileBytes + 1);  // the size of a special file lies
  if (data.size() > kMaxFileBytes) return false;

  AviReader reader(data);
  if (!reader.read()) return false;

  qint64 budget = kMaxDecodedBytes;
  for (QByteArrayView chunk : reader.frames()) {
    if (chunk.isEmpty()) {
      if (!frames_.isEmpty()) {
        const QPixmap previous = frames_.back();  // not a reference into the growing list
        frames_.append(previous);
      }
      continue;
    }
    const QImage image = decodeFrame(chunk, budget);
    // A frame of another size than the first is damage; the label would jump around.
    if (image.isNull() || (!frames_.isEmpty() && image.size() != frames_.front().size())) {
      continue;
    }
    frames_.append(QPixmap::fromImage(image));
  }
  if (frames_.isEmpty()) return false;

  timer_.setInterval(intervalFor(reader.microSecPerFrame()));
  showFrame(0);
  if (isVisible()) play();
  return true;
}

void AviPlayer::close() {
  stop();
  frames_.clear();
  current_ = 0;
  clear();
}

void AviPlayer::play() {
  if (frames_.size() > 1) timer_.start();
}

void AviPlayer::stop() {
  timer_.stop();
}

void AviPlayer::showEvent(QShowEvent* event) {
  QLabel::showEvent(event);
  play();
}

void AviPlayer::hideEvent(QHideEvent* event) {
  stop();
  QLabel::hideEvent(event);
}

void AviPlayer::showFrame(int index) {
  if (index < 0 || index >= frameCount()) return;
  current_ = index;
  setPixmap(frames_[index]);
}

}  // namespace orvex

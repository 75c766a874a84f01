// Tests of the copy animation player: our FileCopy.avi plays, damaged files do no harm.
#include "qt/avi_player.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <functional>
#include <random>
#include <vector>

namespace orvex {
namespace {

const QString kAnimationPath = QStringLiteral(ORVEX_RESOURCES_DIR "/FileCopy.avi");

QByteArray readAll(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

quint32 u32At(const QByteArray& data, qsizetype pos) {
  const auto* b = reinterpret_cast<const uchar*>(data.constData() + pos);
  return quint32(b[0]) | quint32(b[1]) << 8 | quint32(b[2]) << 16 | quint32(b[3]) << 24;
}

void setU32At(QByteArray& data, qsizetype pos, quint32 value) {
  for (int i = 0; i < 4; ++i) data[pos + i] = char((value >> (8 * i)) & 0xff);
}

bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

// Where each frame chunk of our animation lies, taken from its index.
struct FrameChunk {
  qsizetype start;    // of the chunk header
  qsizetype dataEnd;  // after the JPEG data
  qsizetype end;      // after the padding that follows odd-sized data
};

class AviPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    animation_ = readAll(kAnimationPath);
    ASSERT_GT(animation_.size(), 100) << "missing " << kAnimationPath.toStdString();
    ASSERT_EQ(animation_.mid(24, 4), "avih");  // the generator writes avih first
  }

  quint32 headerTotalFrames() const { return u32At(animation_, 48); }
  QSize headerFrameSize() const {
    return QSize(int(u32At(animation_, 64)), int(u32At(animation_, 68)));
  }

  std::vector<FrameChunk> frameChunks() const {
    std::vector<FrameChunk> chunks;
    const qsizetype movi = animation_.indexOf("movi");
    const qsizetype idx1 = animation_.lastIndexOf("idx1");
    if (movi < 0 || idx1 < 0) return chunks;
    const qsizetype entries = u32At(animation_, idx1 + 4) / 16;
    for (qsizetype i = 0; i < entries; ++i) {
      const qsizetype entry = idx1 + 8 + i * 16;
      const qsizetype start = movi + u32At(animation_, entry + 8);
      const qsizetype size = u32At(animation_, entry + 12);
      chunks.push_back({start, start + 8 + size, start + 8 + size + (size & 1)});
    }
    return chunks;
  }

  QString write(const QString& name, const QByteArray& bytes) {
    const QString path = dir_.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
  }

  void expectNothingLoaded(const char* what) {
    SCOPED_TRACE(what);
    EXPECT_EQ(player_.frameCount(), 0);
    EXPECT_FALSE(player_.frameSize().isValid());
    EXPECT_FALSE(player_.isPlaying());
    EXPECT_TRUE(player_.pixmap().isNull());
  }

  // A damaged file may open with fewer whole frames, never with more or with odd ones.
  void expectSaneResult(bool opened, const char* what) {
    SCOPED_TRACE(what);
    if (!opened) {
      EXPECT_EQ(player_.frameCount(), 0);
      return;
    }
    EXPECT_GE(player_.frameCount(), 1);
    EXPECT_LE(player_.frameCount(), int(headerTotalFrames()));
    EXPECT_EQ(player_.frameSize(), headerFrameSize());
  }

  QTemporaryDir dir_;
  QByteArray animation_;
  AviPlayer player_;
};

TEST_F(AviPlayerTest, OpensOurCopyAnimationWithEveryFrameAndItsRate) {
  ASSERT_TRUE(player_.open(kAnimationPath));
  EXPECT_GE(headerTotalFrames(), 16u);
  EXPECT_LE(headerTotalFrames(), 24u);
  EXPECT_EQ(player_.frameCount(), int(headerTotalFrames()));
  EXPECT_EQ(frameChunks().size(), headerTotalFrames());
  EXPECT_EQ(player_.frameSize(), QSize(272, 60));
  EXPECT_EQ(player_.frameSize(), headerFrameSize());
  const int expectedMs = int((u32At(animation_, 32) + 500) / 1000);
  EXPECT_EQ(player_.frameInterval(), expectedMs);
  EXPECT_NEAR(player_.frameInterval(), 83, 10);  // about 12 frames a second
  EXPECT_EQ(player_.currentFrame(), 0);
  EXPECT_EQ(player_.pixmap().size(), QSize(272, 60));
  EXPECT_FALSE(player_.isPlaying()) << "a hidden player has nothing to play for";
}

TEST_F(AviPlayerTest, LoopsOnlyWhileShownAndTheFramesMove) {
  ASSERT_TRUE(player_.open(kAnimationPath));
  const QImage first = player_.pixmap().toImage();

  player_.show();
  EXPECT_TRUE(player_.isPlaying());
  QImage middle;
  int highest = 0;
  const bool wrapped = waitUntil(
      [&] {
        const int frame = player_.currentFrame();
        if (frame == player_.frameCount() / 2 && middle.isNull()) {
          middle = player_.pixmap().toImage();
        }
        if (frame < highest) return true;
        highest = frame;
        return false;
      },
      5000);
  EXPECT_TRUE(wrapped) << "the animation did not start again from the first frame";
  EXPECT_EQ(highest, player_.frameCount() - 1);
  ASSERT_FALSE(middle.isNull());
  EXPECT_NE(first, middle) << "the sheet should have moved between the folders";

  player_.hide();
  EXPECT_FALSE(player_.isPlaying());
  const int stoppedAt = player_.currentFrame();
  waitUntil([] { return false; }, 300);
  EXPECT_EQ(player_.currentFrame(), stoppedAt);

  player_.play();
  EXPECT_TRUE(player_.isPlaying());
  player_.stop();
  EXPECT_FALSE(player_.isPlaying());
}

TEST_F(AviPlayerTest, RefusesWhatIsNotAnMjpgAvi) {
  EXPECT_FALSE(player_.open(dir_.filePath("absent.avi")));
  expectNothingLoaded("missing file");

  EXPECT_FALSE(player_.open(dir_.path()));
  expectNothingLoaded("a folder");

  EXPECT_FALSE(player_.open(write("empty.avi", {})));
  expectNothingLoaded("empty file");

  std::mt19937 random(7);
  QByteArray garbage;
  for (int i = 0; i < 8192; ++i) garbage.append(char(random()));
  EXPECT_FALSE(player_.open(write("garbage.avi", garbage)));
  expectNothingLoaded("garbage");

  EXPECT_FALSE(player_.open(QStringLiteral(ORVEX_RESOURCES_DIR "/click.wav")));
  expectNothingLoaded("a RIFF WAVE file");

  EXPECT_FALSE(player_.open(write("header.avi", animation_.left(12))));
  expectNothingLoaded("RIFF header alone");

  QByteArray otherCodec = animation_;
  const qsizetype movi = otherCodec.indexOf("movi");
  for (qsizetype at = otherCodec.indexOf("MJPG"); at >= 0 && at < movi;
       at = otherCodec.indexOf("MJPG", at + 4)) {
    otherCodec.replace(at, 4, "RLE ");
  }
  EXPECT_FALSE(player_.open(write("rle.avi", otherCodec)));
  expectNothingLoaded("a video stream of another codec");

  QByteArray audioOnly = animation_;
  audioOnly.replace(audioOnly.indexOf("vids"), 4, "auds");
  EXPECT_FALSE(player_.open(write("audio.avi", audioOnly)));
  expectNothingLoaded("no video stream");
}

TEST_F(AviPlayerTest, AFailedOpenForgetsTheAnimationBefore) {
  ASSERT_TRUE(player_.open(kAnimationPath));
  player_.show();
  ASSERT_TRUE(player_.isPlaying());
  EXPECT_FALSE(player_.open(write("garbage.avi", QByteArray(4096, 'x'))));
  expectNothingLoaded("after a good file");
  player_.play();
  EXPECT_FALSE(player_.isPlaying()) << "nothing to play";

  ASSERT_TRUE(player_.open(kAnimationPath));
  EXPECT_TRUE(player_.isPlaying()) << "opened while shown, so it plays at once";
}

TEST_F(AviPlayerTest, TruncatedCopiesKeepOnlyTheWholeFrames) {
  const std::vector<FrameChunk> chunks = frameChunks();
  ASSERT_EQ(chunks.size(), headerTotalFrames());

  // Cut right after a frame, or one byte short of its data.
  for (std::size_t k = 0; k < chunks.size(); k += 3) {
    SCOPED_TRACE(k);
    ASSERT_TRUE(player_.open(write("whole.avi", animation_.left(chunks[k].end))));
    EXPECT_EQ(player_.frameCount(), int(k) + 1);
    EXPECT_EQ(player_.frameSize(), headerFrameSize());
    const bool opened = player_.open(write("short.avi", animation_.left(chunks[k].dataEnd - 1)));
    EXPECT_EQ(opened, k > 0);
    EXPECT_EQ(player_.frameCount(), int(k));
  }

  // Cut anywhere in the headers: nothing to show, nothing read past the end.
  for (qsizetype length = 0; length <= chunks.front().start + 8; ++length) {
    EXPECT_FALSE(player_.open(write("head.avi", animation_.left(length)))) << length;
  }
  for (qsizetype length = 1; length < animation_.size(); length += 611) {
    const bool opened = player_.open(write("cut.avi", animation_.left(length)));
    expectSaneResult(opened, "cut");
  }
}

TEST_F(AviPlayerTest, DamagedSizesAndDataDoNoHarm) {
  const std::vector<FrameChunk> chunks = frameChunks();
  ASSERT_FALSE(chunks.empty());

  std::vector<qsizetype> sizeFields = {4, 16, 28};  // RIFF, hdrl list, avih
  sizeFields.push_back(animation_.indexOf("strl") - 4);
  sizeFields.push_back(animation_.indexOf("strh") + 4);
  sizeFields.push_back(animation_.indexOf("strf") + 4);
  sizeFields.push_back(animation_.indexOf("movi") - 4);
  for (const FrameChunk& chunk : chunks) sizeFields.push_back(chunk.start + 4);
  for (quint32 size : {0xffffffffu, 0x7fffffffu, 0u, 3u}) {
    for (qsizetype field : sizeFields) {
      QByteArray damaged = animation_;
      setU32At(damaged, field, size);
      const bool opened = player_.open(write("size.avi", damaged));
      expectSaneResult(opened, "chunk size");
    }
  }

  // A frame whose size field runs past the end of the file ends the frames there.
  QByteArray runaway = animation_;
  setU32At(runaway, chunks[5].start + 4, 0xfffffff0u);
  ASSERT_TRUE(player_.open(write("runaway.avi", runaway)));
  EXPECT_EQ(player_.frameCount(), 5);

  std::mt19937 random(20240611);
  for (int round = 0; round < 60; ++round) {
    QByteArray damaged = animation_;
    for (int flip = 0; flip < 12; ++flip) {
      damaged[qsizetype(random() % damaged.size())] = char(random());
    }
    const bool opened = player_.open(write("noise.avi", damaged));
    expectSaneResult(opened, "random bytes");
  }
}

TEST_F(AviPlayerTest, OversizedFramesAreSkippedBeforeDecoding) {
  // The first frame claims 5000 x 3000 pixels in its JPEG header.
  const std::vector<FrameChunk> chunks = frameChunks();
  ASSERT_FALSE(chunks.empty());
  QByteArray damaged = animation_;
  const qsizetype sof = damaged.indexOf("\xff\xc0", chunks.front().start + 8);
  ASSERT_GT(sof, 0);
  ASSERT_LT(sof, chunks.front().end);
  damaged[sof + 5] = char(3000 >> 8);
  damaged[sof + 6] = char(3000 & 0xff);
  damaged[sof + 7] = char(5000 >> 8);
  damaged[sof + 8] = char(5000 & 0xff);
  ASSERT_TRUE(player_.open(write("huge.avi", damaged)));
  EXPECT_EQ(player_.frameCount(), int(headerTotalFrames()) - 1);
  EXPECT_EQ(player_.frameSize(), headerFrameSize());
}

}  // namespace
}  // namespace orvex

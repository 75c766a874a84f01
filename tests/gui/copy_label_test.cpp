// The copy window's file name during a fast install: painted and told to a screen reader at
// most once a frame, however many files go by, and always the newest name once the event loop
// runs again.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>

#include "gui_run.h"

namespace orvex::test {
namespace {

// Counts the paints of a label and notes the text each showed.
class PaintSpy : public QObject {
 public:
  explicit PaintSpy(QLabel* label) : label_(label) { label->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      ++paints;
      painted = label_->text();
    }
    return false;
  }
  int paints = 0;
  QString painted;

 private:
  QLabel* label_;
};

TEST(GuiCopyLabel, PaintsAtMostOnceAFrameAndEndsOnTheNewestName) {
  GuiRun run;
  run.orvex->Form_Load();
  frmAnimation& anim = run.orvex->anim;
  anim.show();
  ASSERT_TRUE(processUntil([&] { return run.copyWindow->isVisible(); }));
  auto* label = run.copyWindow->findChild<QLabel*>(QStringLiteral("labAnimation"));
  ASSERT_NE(label, nullptr);
  QCoreApplication::processEvents();
  PaintSpy spy(label);

  // Names as fast as a copy pass of small files gives them, with no event loop in between.
  QElapsedTimer clock;
  clock.start();
  int names = 0, spoken = 0;
  QString lastSpoken = label->accessibleName();
  while (clock.elapsed() < 200) {
    anim.labAnimation.setCaption("Copying f" + std::to_string(names++) + ".bmp");
    anim.labAnimation.refresh();
    if (label->accessibleName() != lastSpoken) {
      lastSpoken = label->accessibleName();
      ++spoken;
    }
  }
  const qint64 elapsed = clock.elapsed();
  EXPECT_GT(names, 200);
  EXPECT_GE(spoken, 1);  // the first name shows at once
  EXPECT_LE(spy.paints, elapsed / 16 + 2);
  // A screen reader is told a name at most once a frame too.
  EXPECT_LE(spoken, elapsed / 16 + 2);
  EXPECT_EQ(spy.painted, label->text());  // what was painted was the newest name then

  // A pause, a message box or the end of the install lets the event loop show the newest name,
  // painted and told.
  const QString newest = QString::fromStdString("Copying f" + std::to_string(names - 1) + ".bmp");
  EXPECT_TRUE(processUntil(
      [&] { return spy.painted == newest && label->accessibleName() == newest; }, 2000));
}

}  // namespace
}  // namespace orvex::test

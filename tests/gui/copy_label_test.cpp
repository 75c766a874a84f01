// The copy window's file name during a fast install: painted at once at most once a frame,
// however many files go by, and always the newest name once the event loop runs again.
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
  int names = 0;
  while (clock.elapsed() < 200) {
    anim.labAnimation.setCaption("Copying f" + std::to_string(names++) + ".bmp");
    anim.labAnimation.refresh();
  }
  const qint64 elapsed = clock.elapsed();
  EXPECT_GT(names, 200);
  EXPECT_GE(spy.paints, 1);  // the first name shows at once
  EXPECT_LE(spy.paints, elapsed / 16 + 2);
  EXPECT_EQ(label->text(),
            QString::fromStdString("Copying f" + std::to_string(names - 1) + ".bmp"));

  // A pause, a message box or the end of the install lets the event loop paint the newest name.
  EXPECT_TRUE(processUntil([&] { return spy.painted == label->text(); }, 2000));
}

}  // namespace
}  // namespace orvex::test

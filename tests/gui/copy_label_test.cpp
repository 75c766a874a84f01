// The copy window's file name during a pass through the real window: painted and told to a
// screen reader a few times a second however many files go by, always a file of the pass,
// and the pass's last file at its end.
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
      painted.insert(label_->text());
    }
    return false;
  }
  int paints = 0;
  QSet<QString> painted;

 private:
  QLabel* label_;
};

TEST(GuiCopyLabel, NamesAFileOfThePassAFewTimesASecondAndEndsOnTheLast) {
  GuiRun run;
  ASSERT_TRUE(run.layOutFs98({"Target"}));
  run.orvex->Form_Load();
  QSet<QString> names;
  for (int k = 0; k < 150; ++k) {
    const QString name = QStringLiteral("f%1.bmp").arg(1000 + k);
    run.writeFile(QStringLiteral("Assembly/") + name, "x");
    names.insert(QStringLiteral("Copying ") + name);
  }
  frmAnimation& anim = run.orvex->anim;
  anim.show();
  ASSERT_TRUE(processUntil([&] { return run.copyWindow->isVisible(); }));
  auto* label = run.copyWindow->findChild<QLabel*>(QStringLiteral("labAnimation"));
  ASSERT_NE(label, nullptr);
  QCoreApplication::processEvents();
  PaintSpy spy(label);
  // The names a screen reader is told: each change of the label's accessible name.
  int spoken = 0;
  QString lastSpoken = label->accessibleName();
  anim.labAnimation.onUpdate = [&, bound = anim.labAnimation.onUpdate] {
    bound();
    if (label->accessibleName() != lastSpoken) {
      lastSpoken = label->accessibleName();
      ++spoken;
    }
  };

  QElapsedTimer clock;
  clock.start();
  run.orvex->copying.beginInstall();
  ASSERT_TRUE(
      run.orvex->copying.runCopyPass({"*.bmp", "C:\\FS98\\Target\\", "", "", false},
                                     [](const FileError&, PassStep) { return Resume::next(); }));
  const double elapsed = double(clock.elapsed()) / 1000;
  EXPECT_TRUE(QDir(run.host(QStringLiteral("Assembly"))).isEmpty());

  // The end of the pass names its last file, in the text a screen reader is told too.
  EXPECT_EQ(label->text(), QStringLiteral("Copying f1149.bmp"));
  EXPECT_EQ(label->accessibleName(), label->text());
  // Every name painted or told is one of the pass's files, a few times a second at most.
  const int most = int(elapsed / CopyPasses::kNameSeconds) + 2;
  EXPECT_GE(spy.paints, 1);
  EXPECT_LE(spy.paints, most) << elapsed;
  EXPECT_GE(spoken, 1);
  EXPECT_LE(spoken, most) << elapsed;
  for (const QString& text : spy.painted) EXPECT_TRUE(names.contains(text)) << text.toStdString();
}

}  // namespace
}  // namespace orvex::test

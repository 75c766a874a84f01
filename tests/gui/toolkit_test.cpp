// The Qt toolkit: message boxes, event pump, clock, screen and quitting.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

#include "gui_run.h"
#include "qt/help_window.h"
#include "qt/twips.h"

namespace orvex::test {
namespace {

TEST(GuiToolkit, ScriptedAnswersAreTakenInOrderAndRecorded) {
  GuiRun run;
  QtToolkit& tk = *run.toolkit;
  tk.answerNext(MsgAnswer::Yes);
  tk.answerNext(MsgAnswer::No);
  EXPECT_EQ(tk.msgBox("Overwrite?", "Files Exist", MsgIcon::Warning, MsgButtons::YesNo),
            MsgAnswer::Yes);
  EXPECT_EQ(tk.msgBox("Again?", "Files Exist", MsgIcon::Warning, MsgButtons::YesNo), MsgAnswer::No);
  // Unattended and with the script used up: a Yes/No box gets No, an OK box OK.
  EXPECT_EQ(tk.msgBox("Third", "Files Exist", MsgIcon::Warning, MsgButtons::YesNo), MsgAnswer::No);
  EXPECT_EQ(tk.msgBox("Done", "Success!", MsgIcon::Information, MsgButtons::OK), MsgAnswer::OK);

  ASSERT_EQ(tk.shownBoxes().size(), 4u);
  EXPECT_EQ(tk.shownBoxes()[0].text, "Overwrite?");
  EXPECT_EQ(tk.shownBoxes()[1].answer, MsgAnswer::No);
  EXPECT_EQ(tk.shownBoxes()[3].caption, "Success!");
  EXPECT_EQ(tk.shownBoxes()[3].icon, MsgIcon::Information);
}

TEST(GuiToolkit, ARealBoxShowsItsLinesAndReturnsTheButtonPressed) {
  GuiRun run;
  run.toolkit->setUnattended(false);
  QString seenText, seenTitle;
  QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
  QTimer answerer;
  QObject::connect(&answerer, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    seenText = box->text();
    seenTitle = box->windowTitle();
    seenIcon = box->icon();
    box->button(QMessageBox::Yes)->click();
  });
  answerer.start(10);
  QTimer guard;  // never hang
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [] { QApplication::closeAllWindows(); });
  guard.start(5000);

  const MsgAnswer answer = run.toolkit->msgBox("Replace C:\\FS98\\a.cfg?\r\rIt exists.",
                                               "Files Exist", MsgIcon::Warning, MsgButtons::YesNo);
  EXPECT_EQ(answer, MsgAnswer::Yes);
  EXPECT_EQ(seenText, QStringLiteral("Replace C:\\FS98\\a.cfg?\n\nIt exists."));
  EXPECT_EQ(seenTitle, QStringLiteral("Files Exist"));
  EXPECT_EQ(seenIcon, QMessageBox::Warning);
  ASSERT_EQ(run.toolkit->shownBoxes().size(), 1u);
  EXPECT_FALSE(run.toolkit->shownBoxes()[0].scripted);
}

TEST(GuiToolkit, DoEventsRunsPendingWorkAndWaitsOnlyBriefly) {
  GuiRun run;
  bool ran = false;
  QTimer::singleShot(0, [&] { ran = true; });
  run.toolkit->doEvents();
  EXPECT_TRUE(ran);

  QElapsedTimer clock;
  clock.start();
  for (int i = 0; i < 20; ++i) run.toolkit->doEvents();
  // Each call without events waits about 10 ms: no busy spinning, no long stall.
  EXPECT_GE(clock.elapsed(), 100);
  EXPECT_LT(clock.elapsed(), 2000);
}

TEST(GuiToolkit, ClockCountsSecondsForwardOnly) {
  GuiRun run;
  const double start = run.toolkit->clock();
  double last = start;
  for (int i = 0; i < 10; ++i) {
    run.toolkit->doEvents();
    const double now = run.toolkit->clock();
    EXPECT_GE(now, last);
    last = now;
  }
  EXPECT_GT(last - start, 0.05);
  EXPECT_LT(last - start, 2.0);
}

TEST(GuiToolkit, ScreenSizeIsInTwips) {
  GuiRun run;
  const QScreen* screen = QGuiApplication::primaryScreen();
  ASSERT_NE(screen, nullptr);
  const double dpi = screen->logicalDotsPerInch();
  EXPECT_NEAR(run.toolkit->screenWidth(), screen->size().width() * 1440.0 / dpi, 1.0);
  EXPECT_NEAR(run.toolkit->screenHeight(), screen->size().height() * 1440.0 / dpi, 1.0);
  EXPECT_EQ(twipsToPixels(1440), qRound(dpi));
}

TEST(GuiToolkit, CentringPlacesTheMainWindowInTheUpperScreen) {
  GuiRun run;
  run.orvex->Form_Load();
  const QSize screen = QGuiApplication::primaryScreen()->size();
  const QPoint at = run.window->pos();
  EXPECT_NEAR(at.x(), (screen.width() - run.window->width()) / 2, 2);
  EXPECT_NEAR(at.y(), int(screen.height() * 0.85) / 2 - run.window->height() / 2, 2);
  EXPECT_EQ(run.window->size(), QSize(twipsToPixels(10200), twipsToPixels(7800)));
}

TEST(GuiToolkit, QuitClosesEveryWindow) {
  GuiRun run;
  run.orvex->Form_Load();
  run.toolkit->openHelp("C:\\Orvex\\Orvex.html");
  ASSERT_TRUE(run.toolkit->helpWindow()->isVisible());
  run.toolkit->quit();
  EXPECT_TRUE(run.toolkit->quitting());
  EXPECT_FALSE(run.window->isVisible());
  EXPECT_FALSE(run.toolkit->helpWindow()->isVisible());
  // Closing from quit is not a second shutdown.
  EXPECT_FALSE(QFile::exists(run.host("Orvex.cfg")));
}

}  // namespace
}  // namespace orvex::test

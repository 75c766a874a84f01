// The copy window and the one-time warning window, bound to their models.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>

#include "gui_run.h"
#include "qt/avi_player.h"
#include "qt/help_window.h"

namespace orvex::test {
namespace {

// Runs action on the warning window once it is up and modal; closes everything after 5 s.
void whenWarningIsUp(GuiRun& run, std::function<void(QDialog*)> action) {
  auto* timer = new QTimer(run.window.get());
  QObject::connect(timer, &QTimer::timeout, [&run, timer, action] {
    QDialog* dialog = run.warningWindow.get();
    if (!dialog->isVisible() || QApplication::activeModalWidget() != dialog) return;
    timer->stop();
    action(dialog);
  });
  timer->start(10);
  QTimer::singleShot(5000, run.window.get(), [] { QApplication::closeAllWindows(); });
}

TEST(GuiWindows, WarningIsModalUntilOKAndKeepsTheCheckBox) {
  GuiRun run;
  run.orvex->Form_Load();
  QString text;
  bool italic = false;
  int pointSize = 0;
  QColor colour;
  whenWarningIsUp(run, [&](QDialog* dialog) {
    auto* label = dialog->findChild<QLabel*>(QStringLiteral("labZipWarning"));
    text = label->text();
    italic = label->font().italic();
    pointSize = label->font().pointSize();
    colour = label->palette().color(QPalette::WindowText);
    dialog->grab().save(QStringLiteral(ORVEX_BUILD_DIR "/warning_window.png"));
    dialog->findChild<QCheckBox*>(QStringLiteral("chkNotAgain"))->click();
    dialog->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
  });

  run.orvex->ui.showWinZipWarning();

  EXPECT_EQ(run.warningWindow->windowTitle(), QStringLiteral("WinZip Warning!"));
  EXPECT_EQ(text, QStringLiteral("Remember! Don't use folder names..."));
  EXPECT_TRUE(italic);
  EXPECT_EQ(pointSize, 18);
  EXPECT_EQ(colour, QColor(255, 0, 0));
  EXPECT_EQ(run.orvex->state.ZipWarning, 1);
  EXPECT_FALSE(run.warningWindow->isVisible());
  EXPECT_FALSE(run.orvex->warn.visible());

  // Escape puts it away too; the check box keeps its state between showings.
  bool stillChecked = false;
  whenWarningIsUp(run, [&](QDialog* dialog) {
    stillChecked = dialog->findChild<QCheckBox*>(QStringLiteral("chkNotAgain"))->isChecked();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(dialog, &escape);
  });
  run.orvex->ui.showWinZipWarning();
  EXPECT_TRUE(stillChecked);
  EXPECT_FALSE(run.warningWindow->isVisible());
  EXPECT_FALSE(run.orvex->warn.visible());
}

TEST(GuiWindows, CopyWindowPlaysTheAnimationAndNamesTheFile) {
  GuiRun run;
  run.orvex->Form_Load();
  ASSERT_TRUE(
      QFile::copy(QStringLiteral(ORVEX_RESOURCES_DIR "/FileCopy.avi"), run.host("FileCopy.avi")));
  run.writeFile(QStringLiteral("Assembly/aircraft.cfg"), "[fltsim.0]\n");
  run.writeFile(QStringLiteral("Assembly/model.mdl"), "x");
  ASSERT_EQ(run.orvex->lists.listFiles("C:\\Orvex\\Assembly", "*.*"), 2);

  frmAnimation& anim = run.orvex->anim;
  anim.Animation1.setFile("C:\\Orvex\\\\FileCopy.avi");
  run.orvex->ui.frmAnimation_Load();
  anim.show();
  run.orvex->state.i = 1;
  run.orvex->copying.DisplayFileCopy();

  AviPlayer* player = run.copyWindow->player();
  EXPECT_TRUE(run.copyWindow->isVisible());
  EXPECT_GT(player->frameCount(), 0);
  EXPECT_TRUE(player->isPlaying());
  auto* label = run.copyWindow->findChild<QLabel*>(QStringLiteral("labAnimation"));
  EXPECT_EQ(label->text(), QStringLiteral("Copying model.mdl"));
  EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0, 0, 255));
  EXPECT_TRUE(run.copyWindow->grab().save(QStringLiteral(ORVEX_BUILD_DIR "/copy_window.png")));

  anim.hide();
  EXPECT_FALSE(run.copyWindow->isVisible());
  EXPECT_FALSE(player->isPlaying());
}

TEST(GuiWindows, CopyWindowWithoutItsAnimationStillShowsTheFile) {
  GuiRun run;
  run.orvex->Form_Load();
  run.orvex->anim.Animation1.setFile("C:\\Orvex\\\\FileCopy.avi");  // not there
  run.orvex->anim.show();
  run.orvex->anim.labAnimation.setCaption("Copying a.bmp");
  EXPECT_TRUE(run.copyWindow->isVisible());
  EXPECT_EQ(run.copyWindow->player()->frameCount(), 0);
  EXPECT_EQ(run.copyWindow->findChild<QLabel*>(QStringLiteral("labAnimation"))->text(),
            QStringLiteral("Copying a.bmp"));
}

TEST(GuiWindows, HelpShowsTheHelpFileOrSaysItIsMissing) {
  GuiRun run;
  run.orvex->Form_Load();
  run.orvex->labHelp_Click();
  HelpWindow* help = run.toolkit->helpWindow();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->toPlainText().contains(QStringLiteral("C:\\Orvex\\Orvex.html")));

  ASSERT_TRUE(
      QFile::copy(QStringLiteral(ORVEX_RESOURCES_DIR "/Orvex.html"), run.host("Orvex.html")));
  run.orvex->labHelp_Click();
  EXPECT_EQ(run.toolkit->helpWindow(), help);  // one help window, shown again
  EXPECT_TRUE(help->isVisible());
  EXPECT_FALSE(help->toPlainText().contains(QStringLiteral("could not be opened")));
  EXPECT_FALSE(help->toPlainText().trimmed().isEmpty());
}

}  // namespace
}  // namespace orvex::test

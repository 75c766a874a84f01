// The real main window on a first run (no Orvex.cfg yet), and the two ways out of it.
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "gui_run.h"

namespace orvex::test {
namespace {

TEST(GuiFirstRun, ShowsTheFS98PlaceholderAfterOneLoadError) {
  GuiRun run;
  run.toolkit->answerNext(MsgAnswer::OK);
  run.orvex->Form_Load();
  ASSERT_FALSE(run.orvex->ended());

  EXPECT_TRUE(run.window->isVisible());
  EXPECT_EQ(run.window->windowTitle(), QStringLiteral("Orvex - Version 4.0.0"));

  ASSERT_EQ(run.toolkit->shownBoxes().size(), 1u);
  EXPECT_EQ(run.lastBox().caption, "Orvex Load Error");
  EXPECT_TRUE(run.lastBox().scripted);

  auto* location = run.widget<QLabel>("labLocation");
  ASSERT_NE(location, nullptr);
  EXPECT_EQ(location->text(), QStringLiteral("Select FS98 Directory"));
  EXPECT_TRUE(location->autoFillBackground());
  EXPECT_EQ(location->palette().color(QPalette::Window), QColor(255, 0, 0));
  EXPECT_EQ(location->palette().color(QPalette::WindowText), QColor(255, 255, 255));

  auto* fs98 = run.widget<QRadioButton>("optFS98");
  ASSERT_NE(fs98, nullptr);
  EXPECT_TRUE(fs98->isChecked());
  for (const char* other : {"optFS2000", "optCFS", "optCFS2"})
    EXPECT_FALSE(run.widget<QRadioButton>(other)->isChecked()) << other;

  auto* setDirectories = run.widget<QPushButton>("cmdSetDirectories");
  ASSERT_NE(setDirectories, nullptr);
  EXPECT_EQ(setDirectories->text(), QStringLiteral("Select FS98 Directory"));
  // Selecting a simulator without a directory beeps once.
  EXPECT_EQ(run.toolkit->beeps(), 1);

  const QString shot = QStringLiteral(ORVEX_BUILD_DIR "/first_run.png");
  EXPECT_TRUE(run.window->grab().save(shot));
}

TEST(GuiFirstRun, QuitButtonSavesTheSettingsAndEndsTheProgram) {
  GuiRun run;
  run.orvex->Form_Load();
  ASSERT_FALSE(QFile::exists(run.host("Orvex.cfg")));

  run.widget<QPushButton>("cmdQuit")->click();

  EXPECT_TRUE(run.orvex->ended());
  EXPECT_TRUE(run.toolkit->quitting());
  EXPECT_FALSE(run.window->isVisible());
  const QByteArray settings = readHost(run.host("Orvex.cfg"));
  EXPECT_TRUE(settings.contains("Select FS98 Directory")) << settings.constData();
  EXPECT_TRUE(settings.contains("FS98"));
  // Shutdown leaves a copy of the settings in the assembly area.
  EXPECT_EQ(readHost(run.host("Assembly/Orvex.cfg")), settings);
}

TEST(GuiFirstRun, ClosingTheWindowShutsDownOnce) {
  GuiRun run;
  run.orvex->Form_Load();

  EXPECT_TRUE(run.window->close());

  EXPECT_TRUE(run.orvex->ended());
  EXPECT_FALSE(run.window->isVisible());
  EXPECT_TRUE(QFile::exists(run.host("Orvex.cfg")));
  // The second close, from quitting, must not run the shutdown again: a removed settings
  // file stays removed.
  QFile::remove(run.host("Orvex.cfg"));
  run.window->show();
  EXPECT_TRUE(run.window->close());
  EXPECT_FALSE(QFile::exists(run.host("Orvex.cfg")));
}

TEST(GuiFirstRun, ClosingIsRefusedWhileAnInstallRuns) {
  GuiRun run;
  run.orvex->Form_Load();
  const int beeps = run.toolkit->beeps();
  {
    BusyScope busy(run.orvex->context());
    EXPECT_FALSE(run.window->close());
    EXPECT_TRUE(run.window->isVisible());
    EXPECT_FALSE(run.orvex->ended());
    EXPECT_EQ(run.toolkit->beeps(), beeps + 1);
  }
  EXPECT_TRUE(run.window->close());
  EXPECT_TRUE(run.orvex->ended());
}

TEST(GuiFirstRun, OutsideAnOrvexFolderTheLoadAbortsWithoutWriting) {
  GuiRun run;
  DriveMap map;
  map.add('c', run.tmp.path().toStdString());
  QDir(run.tmp.path()).mkpath(QStringLiteral("Tools"));
  HostFileSystem elsewhere(map, (run.tmp.path() + QStringLiteral("/Tools")).toStdString());
  QtToolkit toolkit(elsewhere);
  toolkit.setUnattended(true);
  QtShell shell;
  Orvex program(elsewhere, toolkit, shell);
  MainWindow window(program, toolkit);

  program.Form_Load();

  EXPECT_TRUE(program.ended());
  EXPECT_FALSE(window.isVisible());
  ASSERT_EQ(toolkit.shownBoxes().size(), 1u);
  EXPECT_EQ(toolkit.shownBoxes()[0].caption, "Load Error");
  EXPECT_EQ(toolkit.shownBoxes()[0].icon, MsgIcon::Critical);
  EXPECT_FALSE(QFile::exists(run.tmp.path() + QStringLiteral("/Tools/Orvex.cfg")));
}

}  // namespace
}  // namespace orvex::test

// Real input reaches the models and model changes reach the main window's widgets.
#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "gui_run.h"
#include "qt/help_window.h"
#include "qt/picture_view.h"
#include "qt/twips.h"

namespace orvex::test {
namespace {

void typeText(QWidget* w, const QString& text) {
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QCoreApplication::sendEvent(w, &press);
  }
}

void pressKey(QWidget* w, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &press);
}

void mouse(QWidget* w, QEvent::Type type, QPoint at) {
  QMouseEvent event(type, at, w->mapToGlobal(at), Qt::LeftButton,
                    type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(w, &event);
}

void leftClick(QWidget* w) {
  const QPoint centre = w->rect().center();
  mouse(w, QEvent::MouseButtonPress, centre);
  mouse(w, QEvent::MouseButtonRelease, centre);
}

void doubleClick(QWidget* w, QPoint at) {
  mouse(w, QEvent::MouseButtonPress, at);
  mouse(w, QEvent::MouseButtonRelease, at);
  mouse(w, QEvent::MouseButtonDblClick, at);
  mouse(w, QEvent::MouseButtonRelease, at);
}

QStringList rows(const QListWidget* list) {
  QStringList out;
  for (int i = 0; i < list->count(); ++i) out << list->item(i)->text().trimmed();
  return out;
}

class GuiBinding : public ::testing::Test {
 protected:
  void SetUp() override { run.orvex->Form_Load(); }
  frmOrvex2& f() { return run.orvex->frm; }
  GuiRun run;
};

TEST_F(GuiBinding, ClickingAnOptionSelectsItsSimulatorInTheModelAndTheWindow) {
  auto* cfs = run.widget<QRadioButton>("optCFS");
  cfs->click();

  EXPECT_TRUE(f().optCFS.value());
  EXPECT_FALSE(f().optFS98.value());
  EXPECT_TRUE(cfs->isChecked());
  EXPECT_FALSE(run.widget<QRadioButton>("optFS98")->isChecked());
  EXPECT_EQ(run.orvex->state.FlightSim, "CFS");
  EXPECT_EQ(run.widget<QLabel>("labLocation")->text(), QStringLiteral("Select CFS Directory"));
  EXPECT_EQ(run.widget<QPushButton>("cmdSetDirectories")->text(),
            QStringLiteral("Select CFS Directory"));
}

TEST_F(GuiBinding, AnOptionClearedByTheProgramIsClearedOnScreen) {
  auto* letMe = run.widget<QRadioButton>("optPanelLetMe");
  f().optPanelLetMe.setValue(true);
  EXPECT_TRUE(letMe->isChecked());
  // Clearing leaves the group with nothing chosen, which Qt's own groups refuse.
  f().optPanelLetMe.setValue(false);
  EXPECT_FALSE(letMe->isChecked());
  EXPECT_EQ(letMe->group()->checkedButton(), nullptr);
}

TEST_F(GuiBinding, CaptionsAndTooltipsKeepTheirBlanks) {
  EXPECT_EQ(run.widget<QPushButton>("cmdQuit")->toolTip(), QStringLiteral(" All Done "));
  EXPECT_EQ(run.widget<QLabel>("labLocation")->toolTip(),
            QStringLiteral(" Location of the currently selected  Simulation. (DoubleClick to "
                           "reset path) "));
  EXPECT_EQ(run.widget<QRadioButton>("optSceneryOptional")->text(),
            QStringLiteral("Let me Decide "));
  // An ampersand in a caption is shown, not taken for a keyboard mnemonic.
  f().cmdInstall.setCaption("Install Smith & Sons Mk II to FS98");
  EXPECT_EQ(run.widget<QPushButton>("cmdInstall")->text(),
            QStringLiteral("Install Smith && Sons Mk II to FS98"));
}

TEST_F(GuiBinding, DoubleClickOnTheLocationForgetsTheDirectory) {
  run.orvex->state.FS98Path = "C:\\FS98";
  f().labLocation.setCaption("C:\\FS98");
  f().labLocation.setColours(colours::LightGrey, colours::Black);
  auto* location = run.widget<QLabel>("labLocation");
  EXPECT_FALSE(location->autoFillBackground());

  doubleClick(location, location->rect().center());

  EXPECT_EQ(run.orvex->state.FS98Path, "Select FS98 Directory");
  EXPECT_EQ(location->text(), QStringLiteral("Select FS98 Directory"));
  EXPECT_EQ(location->palette().color(QPalette::Window), QColor(255, 0, 0));
}

TEST_F(GuiBinding, ListsFollowTheTopEdgesOfTheirModels) {
  auto* drive = run.widget<QComboBox>("Drive2");
  auto* dir = run.widget<QListWidget>("Dir2");
  f().Drive2.setTop(1380);
  f().Dir2.setTop(1740);
  EXPECT_EQ(drive->y(), twipsToPixels(1380));
  EXPECT_EQ(dir->y(), twipsToPixels(1740));
  f().Drive2.setTop(1020);
  EXPECT_EQ(drive->y(), twipsToPixels(1020));
  f().Drive3.setTop(1080);
  EXPECT_EQ(run.widget<QComboBox>("Drive3")->y(), twipsToPixels(1080));
}

TEST_F(GuiBinding, PreviewShowsAPictureAndSurvivesADamagedOne) {
  auto* preview = run.widget<PictureView>("Image4");
  EXPECT_TRUE(preview->image().isNull());  // nothing loaded: draws nothing

  QImage picture(200, 150, QImage::Format_RGB32);
  picture.fill(Qt::darkGreen);
  ASSERT_TRUE(picture.save(run.host("Assembly/cessna.jpg"), "JPG"));
  f().Image4.setPicture("C:\\Orvex\\Assembly\\cessna.jpg");
  EXPECT_EQ(preview->image().size(), QSize(200, 150));
  EXPECT_TRUE(preview->note().isEmpty());

  QByteArray damaged = "\xFF\xD8\xFF\xE0 not really a picture";
  damaged.append(QByteArray(64, '\x7f'));
  run.writeFile(QStringLiteral("Assembly/broken.jpg"), damaged);
  f().Image4.setPicture("C:\\Orvex\\Assembly\\broken.jpg");
  EXPECT_FALSE(preview->image().isNull());  // the start picture in its place
  EXPECT_FALSE(preview->note().isEmpty());
  EXPECT_FALSE(preview->grab().isNull());

  f().Image4.setPicture("C:\\Orvex\\Assembly\\missing.gif");
  EXPECT_FALSE(preview->note().isEmpty());
  f().Image4.setPicture("");
  EXPECT_TRUE(preview->image().isNull());
}

TEST_F(GuiBinding, ArrowPicturesRunTheirClickProcedures) {
  int next = 0;
  f().Image3.onClick = [&] { ++next; };
  f().Image3.setVisible(true);
  leftClick(run.widget<PictureView>("Image3"));
  EXPECT_EQ(next, 1);
}

TEST_F(GuiBinding, DirectoryListBrowsesUpAndDown) {
  QDir(run.tmp.path()).mkpath(QStringLiteral("FS98/Aircraft"));
  QDir(run.tmp.path()).mkpath(QStringLiteral("FS98/Scenery"));
  run.widget<QPushButton>("cmdSetDirectories")->click();
  auto* dir = run.widget<QListWidget>("Dir1");
  EXPECT_FALSE(dir->isHidden());
  ASSERT_TRUE(run.orvex->lists.pointDirList(f().Dir1, "C:\\FS98"));
  EXPECT_EQ(rows(dir), (QStringList{"C:\\", "FS98", "Aircraft", "Scenery"}));
  EXPECT_EQ(dir->currentRow(), 1);

  dir->setCurrentRow(2);
  pressKey(dir, Qt::Key_Return);  // opens the sub-directory, as a double click does
  ASSERT_TRUE(processUntil([&] { return f().Dir1.path() == "C:\\FS98\\Aircraft"; }));
  EXPECT_EQ(rows(dir), (QStringList{"C:\\", "FS98", "Aircraft"}));

  dir->setCurrentRow(0);
  pressKey(dir, Qt::Key_Return);
  ASSERT_TRUE(processUntil([&] { return f().Dir1.path() == "C:\\"; }));
  EXPECT_TRUE(rows(dir).contains(QStringLiteral("Orvex")));
}

TEST_F(GuiBinding, AVanishedDirectoryIsReportedAndTheListStays) {
  QDir(run.tmp.path()).mkpath(QStringLiteral("FS98/Aircraft"));
  ASSERT_TRUE(run.orvex->lists.pointDirList(f().Dir1, "C:\\FS98"));
  auto* dir = run.widget<QListWidget>("Dir1");
  QDir(run.tmp.path() + QStringLiteral("/FS98/Aircraft")).removeRecursively();
  const size_t boxes = run.toolkit->shownBoxes().size();

  dir->setCurrentRow(2);
  pressKey(dir, Qt::Key_Return);
  ASSERT_TRUE(processUntil([&] { return run.toolkit->shownBoxes().size() > boxes; }));

  EXPECT_EQ(run.lastBox().icon, MsgIcon::Warning);
  EXPECT_EQ(f().Dir1.path(), "C:\\FS98");
  EXPECT_EQ(dir->item(dir->currentRow())->text().trimmed(), QStringLiteral("FS98"));
}

TEST_F(GuiBinding, ChoosingADriveMovesTheDirectoryList) {
  // A second drive for the choice.
  QTemporaryDir other;
  QDir(other.path()).mkpath(QStringLiteral("Games"));
  DriveMap map;
  map.add('c', run.tmp.path().toStdString());
  map.add('d', other.path().toStdString());
  HostFileSystem fs(map, run.root.toStdString());
  QtToolkit toolkit(fs);
  toolkit.setUnattended(true);
  QtShell shell;
  Orvex program(fs, toolkit, shell);
  MainWindow window(program, toolkit);
  program.Form_Load();
  window.control<QPushButton>("cmdSetDirectories")->click();

  auto* drive = window.control<QComboBox>("Drive1");
  ASSERT_EQ(drive->count(), 2);
  EXPECT_EQ(drive->itemText(1), QStringLiteral("d:"));
  drive->setCurrentIndex(0);
  pressKey(drive, Qt::Key_Down);

  EXPECT_EQ(program.frm.Drive1.drive(), "d:");
  EXPECT_EQ(program.frm.Dir1.path().substr(0, 2), "D:");
  EXPECT_TRUE(rows(window.control<QListWidget>("Dir1")).contains(QStringLiteral("Games")));
}

TEST_F(GuiBinding, TypingReachesTheModelAndTheProgramMovesTheCaret) {
  f().frmScenery.setVisible(true);
  f().SSTab1.setTab(2);
  auto* name = run.widget<QLineEdit>("txtSceneryName");
  int changes = 0;
  f().txtSceneryName.onChange = [&] { ++changes; };

  typeText(name, QStringLiteral("Alps"));
  EXPECT_EQ(f().txtSceneryName.text(), "Alps");
  EXPECT_EQ(changes, 4);  // one change procedure per key
  EXPECT_EQ(f().txtSceneryName.selStart(), 4);
  EXPECT_EQ(name->cursorPosition(), 4);

  // The caret the user moves stays where the user put it while typing.
  name->setCursorPosition(0);
  typeText(name, QStringLiteral("X"));
  EXPECT_EQ(name->text(), QStringLiteral("XAlps"));
  EXPECT_EQ(name->cursorPosition(), 1);

  f().txtSceneryName.setText("C:\\FS98\\Scenery");
  EXPECT_EQ(name->text(), QStringLiteral("C:\\FS98\\Scenery"));
  f().txtSceneryName.setSelStart(3);
  f().txtSceneryName.setSelLength(4);
  EXPECT_EQ(name->selectedText(), QStringLiteral("FS98"));
}

TEST_F(GuiBinding, TheWindowTimerRunsWhileTheModelTimerRuns) {
  auto* timer = run.window->findChild<QTimer*>(QStringLiteral("Timer1"));
  ASSERT_NE(timer, nullptr);
  EXPECT_FALSE(timer->isActive());  // start-up stops it
  int ticks = 0;
  f().Timer1.onTimer = [&] { ++ticks; };
  f().Timer1.setInterval(20);
  EXPECT_TRUE(timer->isActive());
  EXPECT_EQ(timer->interval(), 20);
  EXPECT_TRUE(processUntil([&] { return ticks >= 2; }));
  f().Timer1.setTimerEnabled(false);
  EXPECT_FALSE(timer->isActive());
}

TEST_F(GuiBinding, HourglassFocusAndVisibilityFollowTheModel) {
  f().setMousePointer(MousePointer::Hourglass);
  EXPECT_EQ(run.window->cursor().shape(), Qt::WaitCursor);
  f().setMousePointer(MousePointer::Default);
  EXPECT_EQ(run.window->cursor().shape(), Qt::ArrowCursor);

  f().cmdQuit.setFocus();
  EXPECT_EQ(run.window->focusWidget(), run.widget<QWidget>("cmdQuit"));

  auto* install = run.widget<QPushButton>("cmdInstall");
  EXPECT_TRUE(install->isHidden());
  f().cmdInstall.setVisible(true);
  f().cmdInstall.setEnabled(false);
  EXPECT_FALSE(install->isHidden());
  EXPECT_FALSE(install->isEnabled());
}

TEST_F(GuiBinding, F1OpensTheHelp) {
  run.writeFile(QStringLiteral("Orvex.html"),
                "<html><body><h1>Orvex help</h1><p>Unzip into Assembly.</p></body></html>");
  QKeyEvent f1(QEvent::ShortcutOverride, Qt::Key_F1, Qt::NoModifier);
  QWidget* target = run.widget<QWidget>("cmdQuit");
  target->setFocus();
  QApplication::setActiveWindow(run.window.get());
  QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &f1);
  QCoreApplication::sendEvent(target, &press);
  QWidget* help = run.toolkit->helpWindow();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
}

}  // namespace
}  // namespace orvex::test

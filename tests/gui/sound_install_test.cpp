// A sound set installed through the real window, and the four kinds of add-on installed one
// after another in one sitting without any install's state reaching the next.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "gui_run.h"
#include "qt/copy_window.h"
#include "support/fixtures.h"

namespace orvex::test {
namespace {

void typeText(QWidget* w, const QString& text) {
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QCoreApplication::sendEvent(w, &press);
  }
}

QStringList entries(const QString& hostDir) {
  return QDir(hostDir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
}

class GuiSound : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(run.layOutFs98({"Aircraft/Cessna/model", "Aircraft/Cessna/sound",
                                "Aircraft/FSFSCONV", "Gauges", "Sound", "Scenery"}));
    run.orvex->Form_Load();
    ASSERT_FALSE(run.orvex->ended());
  }

  QString fs98(const QString& relative) const { return run.fs98(relative); }

  void unzip(const char* name, const QByteArray& data) {
    run.writeFile(QStringLiteral("Assembly/") + QString::fromLatin1(name), data);
  }

  void unzipSoundSet() {
    QFile real(QString::fromStdString(fixturePath("sound/sound_lf.cfg")));
    ASSERT_TRUE(real.open(QIODevice::ReadOnly));
    unzip("sound.cfg", real.readAll());
    unzip("starter.wav", "starter");
    unzip("rpm1.wav", "rpm");
    unzip("readme.txt", "read me");
  }

  void press(const char* button) {
    auto* w = run.widget<QPushButton>(button);
    ASSERT_NE(w, nullptr) << button;
    ASSERT_FALSE(w->isHidden()) << button;
    w->click();
  }

  // Presses an install button and waits until the install has ended with its one box.
  void install(const char* button, const std::string& success) {
    const size_t boxes = run.toolkit->shownBoxes().size();
    press(button);
    ASSERT_TRUE(processUntil([&] { return !run.orvex->busy(); }));
    ASSERT_EQ(run.toolkit->shownBoxes().size(), boxes + 1) << run.lastBox().text;
    EXPECT_EQ(run.lastBox().caption, "Success!");
    EXPECT_EQ(run.lastBox().text, success);
  }

  // Opens a sub-folder in a directory list as the user does: select it, press Enter.
  void openFolder(const char* list, const QString& name, const std::string& expected) {
    auto* dir = run.widget<QListWidget>(list);
    const auto found = dir->findItems(name, Qt::MatchEndsWith);
    ASSERT_EQ(found.size(), 1) << name.toStdString();
    dir->setCurrentItem(found.front());
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(dir, &enter);
    ASSERT_TRUE(processUntil([&] {
      return run.orvex->frm.Dir3.path() == expected || run.orvex->frm.Dir2.path() == expected;
    }));
  }

  // Between two installs: nothing of the last one is left in the window or the program.
  void expectClean() {
    const ProgramState& s = run.orvex->state;
    EXPECT_EQ(s.AircraftData + s.PanelData + s.SceneryData + s.SoundData, 0);
    EXPECT_FALSE(run.orvex->busy());
    EXPECT_TRUE(entries(run.host(QStringLiteral("Assembly"))).isEmpty())
        << entries(run.host(QStringLiteral("Assembly"))).join(QLatin1Char(' ')).toStdString();
    for (const char* frame : {"frmPanelInstall", "frmScenery", "frmSound"})
      EXPECT_TRUE(run.widget<QWidget>(frame)->isHidden()) << frame;
    for (const char* w : {"cmdInstall", "Dir3", "Drive3", "txtIDecide"})
      EXPECT_TRUE(run.widget<QWidget>(w)->isHidden()) << w;
    EXPECT_FALSE(run.copyWindow->isVisible());
    EXPECT_EQ(run.window->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(run.orvex->frm.SSTab1.tab(), 0);
  }

  // After a Refresh that found a sound set: the frame comes up with nothing chosen.
  void expectFreshSoundFrame() {
    ASSERT_EQ(run.orvex->state.SoundData, 1);
    EXPECT_EQ(run.orvex->frm.SSTab1.tab(), 3);
    EXPECT_FALSE(run.widget<QWidget>("frmSound")->isHidden());
    for (const char* o : {"optSound", "optSoundDir", "optSoundCustom"})
      EXPECT_FALSE(run.widget<QRadioButton>(o)->isChecked()) << o;
    for (const char* w : {"Dir3", "Drive3", "txtIDecide", "labEnterName"})
      EXPECT_TRUE(run.widget<QWidget>(w)->isHidden()) << w;
  }

  GuiRun run;
};

TEST_F(GuiSound, InstallsASetIntoAnAircraftSoundFolderThroughTheWidgets) {
  unzipSoundSet();
  press("cmdRefresh");
  expectFreshSoundFrame();

  run.widget<QRadioButton>("optSoundDir")->click();
  auto* dir = run.widget<QListWidget>("Dir3");
  EXPECT_FALSE(dir->isHidden());
  EXPECT_FALSE(run.widget<QComboBox>("Drive3")->isHidden());
  EXPECT_TRUE(run.widget<QLineEdit>("txtIDecide")->isHidden());
  openFolder("Dir3", QStringLiteral("Cessna"), "C:\\FS98\\Aircraft\\Cessna");
  EXPECT_EQ(run.widget<QLineEdit>("txtIDecide")->text(),
            QStringLiteral("C:\\FS98\\Aircraft\\Cessna"));

  install("cmdInstallSound", "Sound Files Installed Successfully!");
  EXPECT_EQ(entries(fs98(QStringLiteral("Aircraft/Cessna/sound"))),
            (QStringList{"Documentation", "rpm1.wav", "sound.cfg", "starter.wav"}));
  EXPECT_EQ(readHost(fs98(QStringLiteral("Aircraft/Cessna/sound/rpm1.wav"))), "rpm");
  EXPECT_EQ(entries(fs98(QStringLiteral("Aircraft/Cessna"))), (QStringList{"model", "sound"}));
  expectClean();
  EXPECT_TRUE(run.widget<QRadioButton>("optSoundDir")->isChecked());
}

TEST_F(GuiSound, FourKindsOfAddOnInOneSitting) {
  // A sound set first, into the main sound folder.
  unzipSoundSet();
  press("cmdRefresh");
  expectFreshSoundFrame();
  run.widget<QRadioButton>("optSound")->click();
  install("cmdInstallSound", "Sound Files Installed Successfully!");
  EXPECT_EQ(entries(fs98(QStringLiteral("Sound"))),
            (QStringList{"Documentation", "rpm1.wav", "sound.cfg", "starter.wav"}));
  expectClean();

  // An aircraft: the sound frame and its choice must not come back with it.
  unzip("Aircraft.cfg",
        "[fltsim.0]\r\ntitle=Cessna 182\r\nmodel=\r\npanel=\r\nsound=\r\ntexture=Blue\r\n");
  unzip("Model.cfg", "model");
  unzip("panel.cfg", "[Window00]\r\nfile=panel.bmp\r\n");
  unzip("panel.bmp", "aircraft panel");
  {
    QFile sound(QString::fromStdString(fixturePath("sound/aircraft_sound_crlf.cfg")));
    ASSERT_TRUE(sound.open(QIODevice::ReadOnly));
    unzip("sound.cfg", sound.readAll());
  }
  unzip("c182.mdl", "mdl");
  unzip("engine.wav", "aircraft engine");
  unzip("skin.bmp", "skin");
  press("cmdRefresh");
  ASSERT_EQ(run.orvex->state.AircraftData, 1);
  EXPECT_TRUE(run.widget<QWidget>("frmSound")->isHidden());
  EXPECT_EQ(run.widget<QPushButton>("cmdInstall")->text(),
            QStringLiteral("Install Cessna 182 to FS98"));
  install("cmdInstall", "Aircraft Files Installed Successfully!");
  EXPECT_EQ(entries(fs98(QStringLiteral("Aircraft/Cessna 182/Sound"))),
            (QStringList{"engine.wav", "sound.cfg"}));
  // The earlier sound target does not draw the aircraft's sounds into the main folder.
  EXPECT_FALSE(QFile::exists(fs98(QStringLiteral("Sound/engine.wav"))));
  EXPECT_NE(readHost(fs98(QStringLiteral("Sound/sound.cfg"))),
            readHost(fs98(QStringLiteral("Aircraft/Cessna 182/Sound/sound.cfg"))));
  expectClean();

  // A panel into a new FSFSCONV folder.
  unzip("panel.cfg", "[Window00]\r\nfile=panel.bmp\r\ngauge00=Main!ASI\r\n");
  unzip("panel.bmp", "panel");
  unzip("Main.gau", "gauge");
  press("cmdRefresh");
  ASSERT_EQ(run.orvex->state.PanelData, 1);
  EXPECT_TRUE(run.widget<QWidget>("frmSound")->isHidden());
  EXPECT_FALSE(run.widget<QWidget>("frmPanelInstall")->isHidden());
  run.widget<QRadioButton>("optFSCONV")->click();
  auto* panelName = run.widget<QLineEdit>("txtPanelName");
  ASSERT_FALSE(panelName->isHidden());
  panelName->setFocus();
  typeText(panelName, QStringLiteral("Mine"));
  install("cmdPanelInstall", "Panel Files Installed Successfully!");
  EXPECT_EQ(entries(fs98(QStringLiteral("Aircraft/FSFSCONV/Panel.Mine"))),
            (QStringList{"panel.bmp", "panel.cfg"}));
  EXPECT_TRUE(QFile::exists(fs98(QStringLiteral("Gauges/Main.gau"))));
  expectClean();

  // A scenery into the main scenery folder, registered in the list.
  QFile real(QString::fromStdString(fixturePath("scenery/scenery_crlf.cfg")));
  ASSERT_TRUE(real.open(QIODevice::ReadOnly));
  const QByteArray list = real.readAll();
  {
    QFile cfg(fs98(QStringLiteral("Scenery.cfg")));
    ASSERT_TRUE(cfg.open(QIODevice::WriteOnly));
    cfg.write(list);
  }
  unzip("alps.bgl", "bgl");
  unzip("snow.bmp", "snow");
  press("cmdRefresh");
  ASSERT_EQ(run.orvex->state.SceneryData, 1);
  EXPECT_TRUE(run.widget<QWidget>("frmPanelInstall")->isHidden());
  auto* sceneryName = run.widget<QLineEdit>("txtSceneryName");
  sceneryName->setFocus();
  typeText(sceneryName, QStringLiteral("Alps"));
  run.widget<QRadioButton>("optSceneryDefault")->click();
  install("Command1", "Scenery Files Created Successfully!");
  EXPECT_TRUE(QFile::exists(fs98(QStringLiteral("Scenery/Alps/Scenery/alps.bgl"))));
  const QByteArray updated = readHost(fs98(QStringLiteral("Scenery.cfg")));
  EXPECT_TRUE(updated.startsWith(list));
  EXPECT_TRUE(updated.contains("Title=Alps"));
  expectClean();

  // A second sound set: the frame starts afresh, and "Let me Decide" makes its own folder.
  unzipSoundSet();
  press("cmdRefresh");
  expectFreshSoundFrame();
  EXPECT_TRUE(run.widget<QWidget>("frmScenery")->isHidden());
  run.widget<QRadioButton>("optSoundCustom")->click();
  auto* box = run.widget<QLineEdit>("txtIDecide");
  ASSERT_FALSE(box->isHidden());
  EXPECT_EQ(box->text(), QStringLiteral("C:\\FS98"));
  box->setFocus();
  typeText(box, QStringLiteral("\\Sound\\Jodel"));
  install("cmdInstallSound", "Sound Files Installed Successfully!");
  EXPECT_EQ(entries(fs98(QStringLiteral("Sound/Jodel"))),
            (QStringList{"Documentation", "rpm1.wav", "sound.cfg", "starter.wav"}));
  expectClean();
  EXPECT_EQ(run.orvex->state.SoundDir, "C:\\FS98\\Sound\\Jodel");
}

}  // namespace
}  // namespace orvex::test

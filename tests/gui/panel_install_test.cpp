// A panel installed through the real window: Refresh, the target options, the name typed into
// the box, the overwrite question and the success box answered as a user would.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "gui_run.h"
#include "qt/copy_window.h"
#include "qt/twips.h"
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

class GuiPanel : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(run.layOutFs98({"Aircraft/Cessna/model", "Aircraft/Cessna/panel",
                                "Aircraft/FSFSCONV", "Gauges", "Sound"}));
    run.orvex->Form_Load();
    ASSERT_FALSE(run.orvex->ended());
  }

  QString fs98(const QString& relative) const { return run.fs98(relative); }

  // A panel.cfg as panel editors write it (blanks after its bitmap names), one of its
  // bitmaps, a gauge, a sound, a text.
  void unzipPanel() {
    QFile real(QString::fromStdString(fixturePath("panel/editor_written_lf.cfg")));
    ASSERT_TRUE(real.open(QIODevice::ReadOnly));
    run.writeFile(QStringLiteral("Assembly/panel.cfg"), real.readAll());
    run.writeFile(QStringLiteral("Assembly/Main Panel.bmp"), "main");
    run.writeFile(QStringLiteral("Assembly/c172.gau"), "gauge");
    run.writeFile(QStringLiteral("Assembly/flaps.wav"), "flaps");
    run.writeFile(QStringLiteral("Assembly/read me.txt"), "read me");
  }

  void press(const char* button) {
    auto* w = run.widget<QPushButton>(button);
    ASSERT_NE(w, nullptr) << button;
    ASSERT_FALSE(w->isHidden()) << button;
    w->click();
  }

  void refreshToPanelTab() {
    press("cmdRefresh");
    ASSERT_EQ(run.orvex->state.PanelData, 1);
    EXPECT_EQ(run.orvex->frm.SSTab1.tab(), 1);
    EXPECT_FALSE(run.widget<QWidget>("frmPanelInstall")->isHidden());
  }

  // Presses Install and waits for the install to end; the success box is answered with OK.
  void install() {
    const size_t boxes = run.toolkit->shownBoxes().size();
    run.toolkit->answerNext(MsgAnswer::OK);
    press("cmdPanelInstall");
    ASSERT_TRUE(processUntil([&] { return !run.orvex->busy(); }));
    ASSERT_EQ(run.toolkit->shownBoxes().size(), boxes + 1) << run.lastBox().text;
    EXPECT_EQ(run.lastBox().caption, "Success!");
    EXPECT_EQ(run.lastBox().text, "Panel Files Installed Successfully!");
    EXPECT_TRUE(run.lastBox().scripted);
    EXPECT_TRUE(entries(run.host(QStringLiteral("Assembly"))).isEmpty());
    EXPECT_TRUE(run.widget<QWidget>("frmPanelInstall")->isHidden());
    EXPECT_FALSE(run.copyWindow->isVisible());
    EXPECT_EQ(run.orvex->frm.SSTab1.tab(), 0);
    EXPECT_EQ(run.window->cursor().shape(), Qt::ArrowCursor);
  }

  GuiRun run;
};

TEST_F(GuiPanel, FsconvFolderNamedInTheBoxThenTheSameNameRefusedByNo) {
  unzipPanel();
  refreshToPanelTab();
  run.widget<QRadioButton>("optFSCONV")->click();
  auto* name = run.widget<QLineEdit>("txtPanelName");
  ASSERT_FALSE(name->isHidden());
  EXPECT_TRUE(run.widget<QWidget>("Dir2")->isHidden());
  name->setFocus();
  typeText(name, QStringLiteral("Skyhawk"));
  auto* line = run.widget<QLabel>("labDisplayPath");
  EXPECT_FALSE(line->isHidden());
  EXPECT_EQ(line->text(),
            QStringLiteral("Install to: C:\\FS98\\ Aircraft \\ FSFSCONV\\ Panel.Skyhawk"));

  install();
  // The blank after the bitmap's name is no part of it: the bitmap goes with the panel.
  EXPECT_EQ(entries(fs98(QStringLiteral("Aircraft/FSFSCONV/Panel.Skyhawk"))),
            (QStringList{"Main Panel.bmp", "PanelDocs", "panel.cfg"}));
  EXPECT_EQ(entries(fs98(QStringLiteral("Aircraft/FSFSCONV/Panel.Skyhawk/PanelDocs"))),
            (QStringList{"read me.txt"}));
  EXPECT_EQ(entries(fs98(QStringLiteral("Gauges"))), QStringList{"c172.gau"});
  EXPECT_EQ(entries(fs98(QStringLiteral("Sound"))), QStringList{"flaps.wav"});
  EXPECT_TRUE(name->text().isEmpty());

  // The same name for the next panel: No to the question keeps everything where it is.
  unzipPanel();
  refreshToPanelTab();
  run.widget<QRadioButton>("optFSCONV")->click();
  name->setFocus();
  typeText(name, QStringLiteral("Skyhawk"));
  run.toolkit->answerNext(MsgAnswer::No);
  press("cmdPanelInstall");
  ASSERT_TRUE(processUntil([&] { return !run.orvex->busy(); }));
  EXPECT_EQ(run.lastBox().caption, "Panel Error");
  EXPECT_EQ(run.lastBox().text, "C:\\FS98\\Aircraft\\FSFSCONV\\Panel.Skyhawk Exists!  Overwrite?");
  EXPECT_EQ(run.lastBox().answer, MsgAnswer::No);
  EXPECT_EQ(entries(run.host(QStringLiteral("Assembly"))).size(), 5);
  EXPECT_FALSE(run.widget<QWidget>("frmPanelInstall")->isHidden());
  EXPECT_FALSE(run.copyWindow->isVisible());
  EXPECT_FALSE(run.orvex->ended());
}

TEST_F(GuiPanel, ExistingAircraftFolderBrowsedInTheList) {
  unzipPanel();
  refreshToPanelTab();
  run.widget<QRadioButton>("optMyChoice")->click();
  auto* dir = run.widget<QListWidget>("Dir2");
  auto* drive = run.widget<QComboBox>("Drive2");
  ASSERT_FALSE(dir->isHidden());
  ASSERT_FALSE(drive->isHidden());
  EXPECT_TRUE(run.widget<QWidget>("txtPanelName")->isHidden());
  EXPECT_EQ(drive->currentText(), QStringLiteral("c:"));
  EXPECT_EQ(dir->y(), twipsToPixels(1380));

  // "Let me Decide" moves the lists one row down; back to the existing folder choice.
  run.widget<QRadioButton>("optPanelLetMe")->click();
  EXPECT_EQ(dir->y(), twipsToPixels(1740));
  EXPECT_EQ(run.widget<QLineEdit>("txtPanelName")->text(), QStringLiteral("C:\\FS98"));
  run.widget<QRadioButton>("optMyChoice")->click();
  EXPECT_EQ(dir->y(), twipsToPixels(1380));

  const auto found = dir->findItems(QStringLiteral("Cessna"), Qt::MatchEndsWith);
  ASSERT_EQ(found.size(), 1);
  dir->setCurrentItem(found.front());
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QCoreApplication::sendEvent(dir, &enter);
  ASSERT_TRUE(
      processUntil([&] { return run.orvex->frm.Dir2.path() == "C:\\FS98\\Aircraft\\Cessna"; }));

  install();
  EXPECT_EQ(entries(fs98(QStringLiteral("Aircraft/Cessna/panel"))),
            (QStringList{"Main Panel.bmp", "PanelDocs", "panel.cfg"}));
  EXPECT_EQ(run.orvex->state.AircraftName, "C:\\FS98\\Aircraft\\Cessna\\Panel");
}

}  // namespace
}  // namespace orvex::test

// The main window's layout: named widgets, inside their containers, whole captions.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>
#include <QTimer>

#include "gui_run.h"

namespace orvex::test {
namespace {

const char* const kControls[] = {"cmdQuit",
                                 "cmdInstall",
                                 "cmdPreview",
                                 "cmdPanelPreview",
                                 "cmdSceneryPreview",
                                 "cmdSoundPreview",
                                 "lvwInstalled",
                                 "lvwChanges",
                                 "cmdUninstall",
                                 "cmdForget",
                                 "cmdCancelLoad",
                                 "frmFSDirectories",
                                 "frmAutoStart",
                                 "frmWinZip",
                                 "frmSimulation",
                                 "SSTab1",
                                 "labHelp",
                                 "cmdSetDirectories",
                                 "labLocation",
                                 "cmdRefresh",
                                 "cmdLoadWinZip",
                                 "optCFS2",
                                 "optFS98",
                                 "optFS2000",
                                 "optCFS",
                                 "Image1",
                                 "Image4",
                                 "Image2",
                                 "Image3",
                                 "frmDirectories",
                                 "File1",
                                 "Drive1",
                                 "Dir1",
                                 "cmdSelect",
                                 "cmdCancel",
                                 "frmPanelInstall",
                                 "labPanelNoData",
                                 "optPanelLetMe",
                                 "Dir2",
                                 "Drive2",
                                 "cmdPanelCancel",
                                 "cmdPanelInstall",
                                 "txtPanelName",
                                 "optMyChoice",
                                 "optFSCONV",
                                 "labDisplayPath",
                                 "labPanelName",
                                 "frmScenery",
                                 "labSceneryNoData",
                                 "dirScenery",
                                 "drvScenery",
                                 "optSceneryOptional",
                                 "optSceneryDefault",
                                 "Command2",
                                 "Command1",
                                 "txtSceneryName",
                                 "labSceneryDir",
                                 "labSceneryName",
                                 "labSoundNoData",
                                 "frmSound",
                                 "txtIDecide",
                                 "txtSoundName",
                                 "optSoundCustom",
                                 "Dir3",
                                 "Drive3",
                                 "optSound",
                                 "optSoundDir",
                                 "cmdInstallSound",
                                 "Command3",
                                 "labDisplaySoundPath",
                                 "labEnterName",
                                 "labSoundPath",
                                 "Label1",
                                 "lvwLibrary",
                                 "cmdLibraryEnable",
                                 "cmdLibraryDisable",
                                 "cmdLibraryUp",
                                 "cmdLibraryDown",
                                 "cmdLibraryRemove",
                                 "cmdLibraryAddFolder",
                                 "labLibraryNote",
                                 "frmLibraryFolder",
                                 "drvLibrary",
                                 "dirLibrary",
                                 "cmdLibraryFolderAdd",
                                 "cmdLibraryFolderCancel"};

// Shows every frame and control of the tabs, as the installs would one at a time.
void showEverything(GuiRun& run) {
  frmOrvex2& f = run.orvex->frm;
  for (Control* c : std::initializer_list<Control*>{
           &f.frmDirectories, &f.frmPanelInstall, &f.frmScenery,   &f.frmSound,
           &f.cmdInstall,     &f.cmdCancelLoad,   &f.cmdPreview,   &f.Image2,
           &f.Image3,         &f.labPanelName,    &f.txtPanelName, &f.Drive2,
           &f.Dir2,           &f.drvScenery,      &f.dirScenery,   &f.labEnterName,
           &f.txtIDecide,     &f.Drive3,          &f.Dir3,         &f.frmLibraryFolder})
    c->setVisible(true);
  f.cmdInstall.setCaption("Install Piper Cherokee Warrior II to FS2K");
}

TEST(GuiLayout, EveryControlHasANamedAccessibleWidget) {
  GuiRun run;
  for (const char* name : kControls) {
    auto* w = run.widget<QWidget>(name);
    ASSERT_NE(w, nullptr) << name;
    EXPECT_FALSE(w->accessibleName().isEmpty()) << name;
  }
  auto* timer = run.window->findChild<QTimer*>(QStringLiteral("Timer1"));
  EXPECT_NE(timer, nullptr);
  EXPECT_EQ(run.window->objectName(), QStringLiteral("frmOrvex2"));
  EXPECT_EQ(run.copyWindow->objectName(), QStringLiteral("frmAnimation"));
  EXPECT_EQ(run.warningWindow->objectName(), QStringLiteral("frmWinZipWarning"));
}

TEST(GuiLayout, ControlsLieInsideTheirContainersAndShowTheirCaptions) {
  GuiRun run;
  run.orvex->Form_Load();
  showEverything(run);
  auto* tabs = run.widget<QTabWidget>("SSTab1");
  for (const char* name : kControls) {
    auto* w = run.widget<QWidget>(name);
    ASSERT_NE(w, nullptr) << name;
    // A tab's page gets its size when it comes to the front.
    for (int i = 0; i < tabs->count(); ++i)
      if (tabs->widget(i)->isAncestorOf(w)) tabs->setCurrentIndex(i);
    QWidget* parent = w->parentWidget();
    EXPECT_TRUE(parent->rect().contains(w->geometry())) << name;
    if (auto* box = qobject_cast<QGroupBox*>(w)) {
      const int title = box->fontMetrics().horizontalAdvance(box->title());
      EXPECT_LE(title + 8, box->width()) << name;
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
      EXPECT_LE(button->sizeHint().width(), button->width()) << name;
    } else if (auto* label = qobject_cast<QLabel*>(w); label && !label->wordWrap()) {
      EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width()) << name;
    }
  }
  EXPECT_LE(run.window->childrenRect().bottom(), run.window->height());
}

TEST(GuiLayout, NoDataNotesAreRedBoldAndLieUnderTheirFrames) {
  GuiRun run;
  run.orvex->Form_Load();
  frmOrvex2& f = run.orvex->frm;
  const std::pair<const char*, Frame*> notes[] = {{"labPanelNoData", &f.frmPanelInstall},
                                                  {"labSceneryNoData", &f.frmScenery},
                                                  {"labSoundNoData", &f.frmSound}};
  for (const auto& [name, frame] : notes) {
    auto* note = run.widget<QLabel>(name);
    auto* box = run.widget<QGroupBox>(frame->name().c_str());
    ASSERT_TRUE(note && box) << name;
    EXPECT_EQ(note->palette().color(QPalette::WindowText), QColor(255, 0, 0)) << name;
    EXPECT_TRUE(note->font().bold());
    EXPECT_EQ(note->font().pointSize(), 12);
    EXPECT_TRUE(note->alignment() & Qt::AlignHCenter);
    EXPECT_FALSE(note->isHidden()) << name;
    EXPECT_TRUE(box->isHidden()) << name;
    // Shown, the frame covers the note: it lies over it and paints its own background.
    frame->setVisible(true);
    EXPECT_FALSE(box->isHidden());
    EXPECT_TRUE(box->geometry().contains(note->geometry()));
    EXPECT_TRUE(box->autoFillBackground());
    const QObjectList& siblings = box->parentWidget()->children();
    EXPECT_GT(siblings.indexOf(box), siblings.indexOf(note)) << "frame must be above " << name;
  }
}

TEST(GuiLayout, SavesAPictureOfEveryTab) {
  GuiRun run;
  run.orvex->Form_Load();
  showEverything(run);
  auto* tabs = run.widget<QTabWidget>("SSTab1");
  ASSERT_EQ(tabs->count(), int(run.orvex->frm.SSTab1.tabCaptions.size()));
  for (int i = 0; i < tabs->count(); ++i) {
    run.orvex->frm.SSTab1.setTab(i);
    EXPECT_EQ(tabs->currentIndex(), i);
    const QString shot = QStringLiteral(ORVEX_BUILD_DIR "/main_tab%1.png").arg(i);
    EXPECT_TRUE(run.window->grab().save(shot)) << shot.toStdString();
  }
}

}  // namespace
}  // namespace orvex::test

// The tabs of the main window and the controls on each.
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include "qt/binder.h"
#include "qt/clickable_label.h"
#include "qt/main_window.h"
#include "qt/picture_view.h"
#include "qt/resources.h"
#include "qt/twips.h"
#include "ui/window_program.h"

namespace orvex {
namespace {

// The red note a tab shows while it has nothing to install; its frame covers it.
ClickableLabel* noDataNote(QWidget* page) {
  auto* note = placed<ClickableLabel>(page, 120, 2040, 9660, 600);
  note->setAlignment(Qt::AlignCenter);
  QFont font = note->font();
  font.setPointSize(12);
  font.setBold(true);
  note->setFont(font);
  return note;
}

ClickableLabel* wrappedLabel(QWidget* parent, int left, int top, int width, int height) {
  auto* label = placed<ClickableLabel>(parent, left, top, width, height);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return label;
}

}  // namespace

void MainWindow::buildAircraftTab(QWidget* page) {
  frmOrvex2& f = orvex_.mainWindow();
  Binder& b = *binder_;
  const QImage start = builtInImage("start.png");

  b.picture(f.Image1, placed<PictureView>(page, 240, 120, 5760, 4080), start, orvex_.files(), start,
            tr("Start picture"));
  b.picture(f.Image4, placed<PictureView>(page, 240, 120, 5760, 4080), QImage(), orvex_.files(),
            start, tr("Aircraft preview"));
  b.listView(f.lvwAircraft, placed<QTreeWidget>(page, 240, 120, 5760, 4080),
             tr("Aircraft of the pack"));
  b.label(f.labLiveryTarget, placed<ClickableLabel>(page, 240, 120, 5760, 300));
  b.listView(f.lvwLiveryTarget, placed<QTreeWidget>(page, 240, 420, 5760, 3780),
             tr("Aircraft to add the livery to"));
  auto* previous = placed<PictureView>(page, 2280, 4260, 720, 540);
  auto* next = placed<PictureView>(page, 3240, 4260, 720, 540);
  previous->setCursor(Qt::PointingHandCursor);
  next->setCursor(Qt::PointingHandCursor);
  b.picture(f.Image2, previous, builtInImage("arrow_left.png"), orvex_.files(), QImage(),
            tr("Previous picture"));
  b.picture(f.Image3, next, builtInImage("arrow_right.png"), orvex_.files(), QImage(),
            tr("Next picture"));

  auto* browse = placed<QGroupBox>(page, 6240, 120, 3480, 4080);
  b.frame(f.frmDirectories, browse);
  b.driveList(f.Drive1, placed<QComboBox>(browse, 120, 300, 3240, 330), tr("Drive"));
  b.dirList(
      f.Dir1, placed<QListWidget>(browse, 120, 720, 3240, 2640),
      [this](DirList& list, const std::string& path) {
        orvex_.handle([&] { orvex_.pointDirList(list, path); });
      },
      tr("Directories"));
  b.fileList(f.File1, placed<QListWidget>(browse, 120, 720, 3240, 2640), tr("Files"));
  b.button(f.cmdSelect, placed<QPushButton>(browse, 120, 3480, 1560, 420));
  b.button(f.cmdCancel, placed<QPushButton>(browse, 1800, 3480, 1560, 420));
}

void MainWindow::buildPanelTab(QWidget* page) {
  frmOrvex2& f = orvex_.mainWindow();
  Binder& b = *binder_;
  b.label(f.labPanelNoData, noDataNote(page));

  auto* frame = placed<QGroupBox>(page, 120, 120, 9660, 4740);
  b.frame(f.frmPanelInstall, frame);
  b.option(f.optFSCONV, placed<QRadioButton>(frame, 240, 360, 4200, 330), f.panelGroup);
  b.option(f.optMyChoice, placed<QRadioButton>(frame, 240, 780, 4200, 330), f.panelGroup);
  b.option(f.optPanelLetMe, placed<QRadioButton>(frame, 240, 1200, 4200, 330), f.panelGroup);
  b.label(f.labPanelName, placed<ClickableLabel>(frame, 4800, 660, 4620, 300));
  b.textBox(f.txtPanelName, placed<QLineEdit>(frame, 4800, 960, 4620, 330), tr("Panel name"));
  b.label(f.labDisplayPath, wrappedLabel(frame, 4800, 1380, 4620, 1200), tr("Panel target"));
  b.driveList(f.Drive2, placed<QComboBox>(frame, 4800, 1020, 4620, 330), tr("Panel drive"));
  b.followTop(f.Drive2);
  b.dirList(
      f.Dir2, placed<QListWidget>(frame, 4800, 1380, 4620, 2280),
      [this](DirList& list, const std::string& path) {
        orvex_.handle([&] { orvex_.pointDirList(list, path); });
      },
      tr("Panel folders"));
  b.followTop(f.Dir2);
  b.button(f.cmdPanelInstall, placed<QPushButton>(frame, 6540, 4140, 1320, 420));
  b.button(f.cmdPanelPreview, placed<QPushButton>(frame, 5040, 4140, 1320, 420));
  b.button(f.cmdPanelCancel, placed<QPushButton>(frame, 8040, 4140, 1320, 420));
}

void MainWindow::buildSceneryTab(QWidget* page) {
  frmOrvex2& f = orvex_.mainWindow();
  Binder& b = *binder_;
  b.label(f.labSceneryNoData, noDataNote(page));

  auto* frame = placed<QGroupBox>(page, 120, 120, 9660, 4740);
  b.frame(f.frmScenery, frame);
  b.option(f.optSceneryDefault, placed<QRadioButton>(frame, 240, 360, 4200, 330), f.sceneryGroup);
  b.option(f.optSceneryOptional, placed<QRadioButton>(frame, 240, 780, 4200, 330), f.sceneryGroup);
  b.label(f.labSceneryName, placed<ClickableLabel>(frame, 4800, 300, 4620, 300));
  b.textBox(f.txtSceneryName, placed<QLineEdit>(frame, 4800, 660, 4620, 330), tr("Scenery name"));
  b.label(f.labSceneryDir, wrappedLabel(frame, 4800, 1140, 4620, 1200), tr("Scenery target"));
  b.driveList(f.drvScenery, placed<QComboBox>(frame, 4800, 1140, 4620, 330), tr("Scenery drive"));
  b.dirList(
      f.dirScenery, placed<QListWidget>(frame, 4800, 1500, 4620, 2400),
      [this](DirList& list, const std::string& path) {
        orvex_.handle([&] { orvex_.pointDirList(list, path); });
      },
      tr("Scenery folders"));
  b.button(f.Command1, placed<QPushButton>(frame, 6540, 4140, 1320, 420));
  b.button(f.cmdSceneryPreview, placed<QPushButton>(frame, 5040, 4140, 1320, 420));
  b.button(f.Command2, placed<QPushButton>(frame, 8040, 4140, 1320, 420));
}

void MainWindow::buildSoundTab(QWidget* page) {
  frmOrvex2& f = orvex_.mainWindow();
  Binder& b = *binder_;
  b.label(f.labSoundNoData, noDataNote(page));

  auto* frame = placed<QGroupBox>(page, 120, 120, 9660, 4740);
  b.frame(f.frmSound, frame);
  b.option(f.optSound, placed<QRadioButton>(frame, 240, 360, 4200, 330), f.soundGroup);
  b.option(f.optSoundDir, placed<QRadioButton>(frame, 240, 780, 4200, 330), f.soundGroup);
  b.option(f.optSoundCustom, placed<QRadioButton>(frame, 240, 1200, 4200, 330), f.soundGroup);
  b.label(f.Label1, wrappedLabel(frame, 240, 1680, 4200, 900), tr("Sound notes"));
  b.label(f.labSoundPath, wrappedLabel(frame, 4800, 360, 4620, 600), tr("Sound target"));
  b.label(f.labEnterName, placed<ClickableLabel>(frame, 4800, 660, 4620, 300));
  b.textBox(f.txtIDecide, placed<QLineEdit>(frame, 4800, 960, 4620, 330), tr("Sound folder"));
  b.textBox(f.txtSoundName, placed<QLineEdit>(frame, 4800, 960, 4620, 330), tr("Sound name"));
  b.label(f.labDisplaySoundPath, wrappedLabel(frame, 4800, 1380, 4620, 1200),
          tr("Sound install path"));
  b.driveList(f.Drive3, placed<QComboBox>(frame, 4800, 1080, 4620, 330), tr("Sound drive"));
  b.followTop(f.Drive3);
  b.dirList(
      f.Dir3, placed<QListWidget>(frame, 4800, 1440, 4620, 2280),
      [this](DirList& list, const std::string& path) {
        orvex_.handle([&] { orvex_.pointDirList(list, path); });
      },
      tr("Sound folders"));
  b.followTop(f.Dir3);
  b.button(f.cmdInstallSound, placed<QPushButton>(frame, 6540, 4140, 1320, 420));
  b.button(f.cmdSoundPreview, placed<QPushButton>(frame, 5040, 4140, 1320, 420));
  b.button(f.Command3, placed<QPushButton>(frame, 8040, 4140, 1320, 420));
}

}  // namespace orvex

namespace orvex {

void MainWindow::buildInstalledTab(QWidget* page) {
  frmOrvex2& f = orvex_.mainWindow();
  Binder& b = *binder_;
  b.listView(f.lvwInstalled, placed<QTreeWidget>(page, 120, 120, 8040, 2520), tr("Installs"));
  b.button(f.cmdUninstall, placed<QPushButton>(page, 8280, 120, 1440, 420));
  b.button(f.cmdForget, placed<QPushButton>(page, 8280, 660, 1440, 420));
  b.listView(f.lvwChanges, placed<QTreeWidget>(page, 120, 2760, 9600, 1740),
             tr("Changes of the install"));
  b.label(f.labInstalledNote, wrappedLabel(page, 120, 4560, 9600, 300), tr("Installs note"));
  b.progressBar(f.prgUndo, placed<QProgressBar>(page, 120, 4860, 9600, 180),
                tr("Uninstall progress"));
}

void MainWindow::buildHangarTab(QWidget* page) {
  frmOrvex2& f = orvex_.mainWindow();
  Binder& b = *binder_;
  b.listView(f.lvwHangar, placed<QTreeWidget>(page, 120, 120, 9600, 2400), tr("Aircraft"));
  b.listView(f.lvwLiveries, placed<QTreeWidget>(page, 120, 2640, 8040, 1260),
             tr("Liveries of the aircraft"));
  b.button(f.cmdRemoveLivery, placed<QPushButton>(page, 8280, 2640, 1440, 420));
  b.label(f.labHangarNote, wrappedLabel(page, 120, 4020, 9600, 1020), tr("Hangar note"));
}

void MainWindow::buildSceneryLibraryTab(QWidget* page) {
  frmOrvex2& f = orvex_.mainWindow();
  Binder& b = *binder_;
  b.listView(f.lvwLibrary, placed<QTreeWidget>(page, 120, 120, 8040, 3600), tr("Scenery areas"));
  int top = 120;
  for (Button* button : {&f.cmdLibraryEnable, &f.cmdLibraryDisable, &f.cmdLibraryUp,
                         &f.cmdLibraryDown, &f.cmdLibraryRemove, &f.cmdLibraryAddFolder}) {
    b.button(*button, placed<QPushButton>(page, 8280, top, 1440, 420));
    top += 540;
  }
  b.label(f.labLibraryNote, wrappedLabel(page, 120, 3840, 9600, 1200), tr("Scenery library note"));
  // Over the list while a folder is chosen, as the other tabs' frames lie over their notes.
  auto* frame = placed<QGroupBox>(page, 120, 120, 8040, 3600);
  b.frame(f.frmLibraryFolder, frame);
  b.driveList(f.drvLibrary, placed<QComboBox>(frame, 240, 360, 5760, 330), tr("Scenery drive"));
  b.dirList(
      f.dirLibrary, placed<QListWidget>(frame, 240, 780, 5760, 2640),
      [this](DirList& list, const std::string& path) {
        orvex_.handle([&] { orvex_.pointDirList(list, path); });
      },
      tr("Scenery folders"));
  b.button(f.cmdLibraryFolderAdd, placed<QPushButton>(frame, 6360, 2460, 1440, 420));
  b.button(f.cmdLibraryFolderCancel, placed<QPushButton>(frame, 6360, 3000, 1440, 420));
}

}  // namespace orvex

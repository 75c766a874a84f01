// The main window: frames above the tabs, buttons below them, the F1 key, closing.
#include "qt/main_window.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStyle>
#include <QTabWidget>

#include "qt/binder.h"
#include "qt/clickable_label.h"
#include "qt/qt_toolkit.h"
#include "qt/resources.h"
#include "qt/twips.h"
#include "ui/window_program.h"

namespace orvex {

MainWindow::MainWindow(WindowProgram& orvex, QtToolkit& toolkit, QWidget* parent)
    : QWidget(parent), orvex_(orvex), toolkit_(toolkit) {
  initResources();
  setWindowIcon(programIcon());
  binder_ = std::make_unique<Binder>(orvex_.mainWindow(), this);
  setAcceptDrops(true);
  frmOrvex2& f = orvex_.mainWindow();

  buildTopFrames();

  auto* tabs = placed<QTabWidget>(this, 120, 1440, 9960, 5640);
  for (size_t i = 0; i < f.SSTab1.tabCaptions.size(); ++i) tabs->addTab(new QWidget, QString());
  if (tabs->count() == 7) {
    buildAircraftTab(tabs->widget(0));
    buildPanelTab(tabs->widget(1));
    buildSceneryTab(tabs->widget(2));
    buildSoundTab(tabs->widget(3));
    buildInstalledTab(tabs->widget(4));
    buildHangarTab(tabs->widget(5));
    buildSceneryLibraryTab(tabs->widget(6));
  }
  binder_->tabs(f.SSTab1, tabs);

  buildButtons();
  binder_->timer(f.Timer1);
  binder_->timer(f.tmrDigest);

  auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
  help->setContext(Qt::WindowShortcut);
  connect(help, &QShortcut::activated, this,
          [this] { orvex_.handle([this] { orvex_.labHelp_Click(); }); });
}

MainWindow::~MainWindow() = default;

void MainWindow::buildTopFrames() {
  frmOrvex2& f = orvex_.mainWindow();
  Binder& b = *binder_;

  auto* simulation = placed<QGroupBox>(this, 120, 120, 2340, 1200);
  b.frame(f.frmSimulation, simulation);
  b.option(f.optFS98, placed<QRadioButton>(simulation, 120, 300, 1080, 330), f.simulationGroup);
  b.option(f.optFS2000, placed<QRadioButton>(simulation, 1200, 300, 1080, 330), f.simulationGroup);
  b.option(f.optCFS, placed<QRadioButton>(simulation, 120, 720, 1080, 330), f.simulationGroup);
  b.option(f.optCFS2, placed<QRadioButton>(simulation, 1200, 720, 1080, 330), f.simulationGroup);

  auto* directories = placed<QGroupBox>(this, 2540, 120, 3300, 1200);
  b.frame(f.frmFSDirectories, directories);
  b.button(f.cmdSetDirectories, placed<QPushButton>(directories, 120, 300, 3060, 390));
  auto* location = placed<ClickableLabel>(directories, 120, 750, 3060, 330);
  location->setFrameShape(QFrame::Box);
  location->setIndent(4);
  b.label(f.labLocation, location, tr("Simulator location"));

  auto* refresh = placed<QGroupBox>(this, 5920, 120, 2760, 1200);
  b.frame(f.frmAutoStart, refresh);
  b.button(f.cmdRefresh, placed<QPushButton>(refresh, 480, 420, 1800, 450));

  auto* zip = placed<QGroupBox>(this, 8760, 120, 1320, 1200);
  b.frame(f.frmWinZip, zip);
  // The zip program's button shares the frame with the one that opens an archive directly,
  // and the progress of unpacking shows under both.
  auto* loadZip = placed<QPushButton>(zip, 90, 270, 540, 540);
  loadZip->setIcon(QIcon(QPixmap::fromImage(builtInImage("winzip.png"))));
  loadZip->setIconSize(QSize(24, 24));
  b.button(f.cmdLoadWinZip, loadZip, tr("Load WinZip"));
  auto* openArchive = placed<QPushButton>(zip, 690, 270, 540, 540);
  openArchive->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
  openArchive->setIconSize(QSize(24, 24));
  b.button(f.cmdOpenArchive, openArchive, tr("Open Archive"));
  b.progressBar(f.prgExtract, placed<QProgressBar>(zip, 90, 900, 1140, 210),
                tr("Unpacking progress"));
}

void MainWindow::buildButtons() {
  frmOrvex2& f = orvex_.mainWindow();
  Binder& b = *binder_;

  auto* help = placed<ClickableLabel>(this, 120, 7260, 1080, 330);
  help->setCursor(Qt::PointingHandCursor);
  QFont underlined = help->font();
  underlined.setUnderline(true);
  help->setFont(underlined);
  b.label(f.labHelp, help);

  b.button(f.cmdCancelLoad, placed<QPushButton>(this, 2520, 7200, 1320, 450));
  b.button(f.cmdInstall, placed<QPushButton>(this, 3960, 7200, 4440, 450), tr("Install"));
  b.button(f.cmdInstallLivery, placed<QPushButton>(this, 3960, 7200, 4440, 450));
  b.button(f.cmdPreview, placed<QPushButton>(this, 1260, 7200, 1200, 450));
  b.button(f.cmdQuit, placed<QPushButton>(this, 8520, 7200, 1560, 450));
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (terminating_ || toolkit_.quitting() || orvex_.ended()) {
    event->accept();
    return;
  }
  // Shutting down would empty the assembly area under a running install.
  if (orvex_.busy()) {
    toolkit_.beep();
    event->ignore();
    return;
  }
  terminating_ = true;
  orvex_.handle([this] { orvex_.Form_Terminate(); });
  terminating_ = false;
  // A shutdown refused while an install runs leaves the window open.
  if (orvex_.ended() || toolkit_.quitting())
    event->accept();
  else
    event->ignore();
}

}  // namespace orvex

// The window models: the main window frmOrvex2 with every named control, the copy window
// frmAnimation and the one-time warning frmWinZipWarning. Captions, tooltips and start
// visibility are those of the design state.
#pragma once

#include "ui/controls.h"

namespace orvex {

class FileSystem;

class frmAnimation : public Form {
 public:
  frmAnimation();
  Animation Animation1{*this, "Animation1"};
  Label labAnimation{*this, "labAnimation"};
};

class frmWinZipWarning : public Form {
 public:
  frmWinZipWarning();
  Label labZipWarning{*this, "labZipWarning"};
  PictureBox Picture1{*this, "Picture1"};
  Button cmdOK{*this, "cmdOK"};
  CheckBox chkNotAgain{*this, "chkNotAgain"};
  // Set by Form_Load, which runs once, the first time the window is shown.
  bool loaded = false;
};

// The preview of an install: where every file of the assembly area would go.
class frmPreview : public Form {
 public:
  frmPreview();
  Label labPreviewSummary{*this, "labPreviewSummary"};
  ListView lvwPreview{*this, "lvwPreview"};
  Button cmdPreviewInstall{*this, "cmdPreviewInstall"};
  Button cmdPreviewClose{*this, "cmdPreviewClose"};
};

class frmOrvex2 : public Form {
 public:
  explicit frmOrvex2(FileSystem& fs);

  // Option groups, one per container.
  OptionGroup simulationGroup, panelGroup, sceneryGroup, soundGroup;

  // Directly on the window.
  Timer Timer1{*this, "Timer1"};
  Button cmdQuit{*this, "cmdQuit"};
  Button cmdInstall{*this, "cmdInstall"};
  Button cmdInstallLivery{*this, "cmdInstallLivery"};
  Button cmdPreview{*this, "cmdPreview"};
  Button cmdCancelLoad{*this, "cmdCancelLoad"};
  Frame frmFSDirectories{*this, "frmFSDirectories"};
  Frame frmAutoStart{*this, "frmAutoStart"};
  Frame frmWinZip{*this, "frmWinZip"};
  Frame frmSimulation{*this, "frmSimulation"};
  TabStrip SSTab1{*this, "SSTab1"};
  Label labHelp{*this, "labHelp"};

  // frmFSDirectories
  Button cmdSetDirectories{*this, "cmdSetDirectories"};
  Label labLocation{*this, "labLocation"};
  // frmAutoStart
  Button cmdRefresh{*this, "cmdRefresh"};
  // frmWinZip
  Button cmdLoadWinZip{*this, "cmdLoadWinZip"};
  Button cmdOpenArchive{*this, "cmdOpenArchive"};
  ProgressBar prgExtract{*this, "prgExtract"};
  // An archive dropped onto the window, by its host path.
  std::function<void(const std::string&)> onArchiveDrop;
  // frmSimulation
  OptionButton optCFS2{*this, "optCFS2", simulationGroup};
  OptionButton optFS98{*this, "optFS98", simulationGroup};
  OptionButton optFS2000{*this, "optFS2000", simulationGroup};
  OptionButton optCFS{*this, "optCFS", simulationGroup};

  // Tab 0 "Aircraft"
  PictureBox Image1{*this, "Image1"};
  ListView lvwAircraft{*this, "lvwAircraft"};  // the aircraft of a pack, over the pictures
  // A repaint: the simulator's aircraft it may be added to, over the pictures too.
  Label labLiveryTarget{*this, "labLiveryTarget"};
  ListView lvwLiveryTarget{*this, "lvwLiveryTarget"};
  PictureBox Image4{*this, "Image4"};
  PictureBox Image2{*this, "Image2"};
  PictureBox Image3{*this, "Image3"};
  Frame frmDirectories{*this, "frmDirectories"};
  FileList File1;
  DriveList Drive1;
  DirList Dir1;
  Button cmdSelect{*this, "cmdSelect"};
  Button cmdCancel{*this, "cmdCancel"};

  // Tab 1 "Panels"
  Frame frmPanelInstall{*this, "frmPanelInstall"};
  Label labPanelNoData{*this, "labPanelNoData"};
  OptionButton optPanelLetMe{*this, "optPanelLetMe", panelGroup};
  DirList Dir2;
  DriveList Drive2;
  Button cmdPanelCancel{*this, "cmdPanelCancel"};
  Button cmdPanelInstall{*this, "cmdPanelInstall"};
  Button cmdPanelPreview{*this, "cmdPanelPreview"};
  TextBox txtPanelName{*this, "txtPanelName"};
  OptionButton optMyChoice{*this, "optMyChoice", panelGroup};
  OptionButton optFSCONV{*this, "optFSCONV", panelGroup};
  Label labDisplayPath{*this, "labDisplayPath"};
  Label labPanelName{*this, "labPanelName"};

  // Tab 2 "Scenery"
  Frame frmScenery{*this, "frmScenery"};
  Label labSceneryNoData{*this, "labSceneryNoData"};
  DirList dirScenery;
  DriveList drvScenery;
  OptionButton optSceneryOptional{*this, "optSceneryOptional", sceneryGroup};
  OptionButton optSceneryDefault{*this, "optSceneryDefault", sceneryGroup};
  Button Command2{*this, "Command2"};
  Button Command1{*this, "Command1"};
  Button cmdSceneryPreview{*this, "cmdSceneryPreview"};
  TextBox txtSceneryName{*this, "txtSceneryName"};
  Label labSceneryDir{*this, "labSceneryDir"};
  Label labSceneryName{*this, "labSceneryName"};

  // Tab 3 "Sounds"
  Label labSoundNoData{*this, "labSoundNoData"};
  Frame frmSound{*this, "frmSound"};
  TextBox txtIDecide{*this, "txtIDecide"};
  TextBox txtSoundName{*this, "txtSoundName"};
  OptionButton optSoundCustom{*this, "optSoundCustom", soundGroup};
  DirList Dir3;
  DriveList Drive3;
  OptionButton optSound{*this, "optSound", soundGroup};
  OptionButton optSoundDir{*this, "optSoundDir", soundGroup};
  Button cmdInstallSound{*this, "cmdInstallSound"};
  Button cmdSoundPreview{*this, "cmdSoundPreview"};
  Button Command3{*this, "Command3"};
  Label labDisplaySoundPath{*this, "labDisplaySoundPath"};
  Label labEnterName{*this, "labEnterName"};
  Label labSoundPath{*this, "labSoundPath"};
  Label Label1{*this, "Label1"};

  // Tab 4 "Installed": the installs recorded for the selected simulator, the changes of the
  // one selected, and the ways to undo it.
  ListView lvwInstalled{*this, "lvwInstalled"};
  ListView lvwChanges{*this, "lvwChanges"};
  Button cmdUninstall{*this, "cmdUninstall"};
  Button cmdForget{*this, "cmdForget"};
  ProgressBar prgUndo{*this, "prgUndo"};
  Label labInstalledNote{*this, "labInstalledNote"};
  // Works through the digests of files just installed while the program is idle.
  Timer tmrDigest{*this, "tmrDigest"};

  // Tab 5 "Hangar": every aircraft folder of the selected simulator, and the liveries and
  // problems of the one selected.
  ListView lvwHangar{*this, "lvwHangar"};
  ListView lvwLiveries{*this, "lvwLiveries"};
  Button cmdRemoveLivery{*this, "cmdRemoveLivery"};
  Label labHangarNote{*this, "labHangarNote"};

  // Tab 6 "Scenery Library": every area of the selected simulator's scenery list in layer
  // order, the buttons that change one, and the frame in which a folder is chosen to be added.
  ListView lvwLibrary{*this, "lvwLibrary"};
  Button cmdLibraryEnable{*this, "cmdLibraryEnable"};
  Button cmdLibraryDisable{*this, "cmdLibraryDisable"};
  Button cmdLibraryUp{*this, "cmdLibraryUp"};
  Button cmdLibraryDown{*this, "cmdLibraryDown"};
  Button cmdLibraryRemove{*this, "cmdLibraryRemove"};
  Button cmdLibraryAddFolder{*this, "cmdLibraryAddFolder"};
  Label labLibraryNote{*this, "labLibraryNote"};
  Frame frmLibraryFolder{*this, "frmLibraryFolder"};
  DriveList drvLibrary{*this, "drvLibrary", Drive1.fileSystem()};
  DirList dirLibrary{*this, "dirLibrary", Drive1.fileSystem()};
  Button cmdLibraryFolderAdd{*this, "cmdLibraryFolderAdd"};
  Button cmdLibraryFolderCancel{*this, "cmdLibraryFolderCancel"};
};

}  // namespace orvex

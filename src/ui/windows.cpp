// The design state of the windows: captions, tooltips, colours, what starts hidden.
#include "ui/windows.h"

namespace orvex {
namespace {

void set(Control& c, const std::string& caption, const std::string& tip = {}, bool visible = true) {
  c.setCaption(caption);
  c.setToolTip(tip);
  c.setVisible(visible);
}

void blue(Label& l) {
  l.setColours(colours::LightGrey, colours::Blue);
}

constexpr const char* kPreviewTip = " See where every file will go before installing ";

}  // namespace

frmAnimation::frmAnimation() : Form("frmAnimation") {
  setSize(4800, 1800);
  blue(labAnimation);
}

frmWinZipWarning::frmWinZipWarning() : Form("frmWinZipWarning") {
  setCaption("WinZip Warning!");
  setSize(6000, 3000);
  labZipWarning.setColours(colours::LightGrey, colours::Red);
  cmdOK.setCaption("OK");
  chkNotAgain.setCaption("Don't show this form again");
}

frmPreview::frmPreview() : Form("frmPreview") {
  setCaption("Preview: every question answered Yes");
  setSize(13680, 7200);
  lvwPreview.setColumns({"File", "Size", "Goes to", "What it means"});
  lvwPreview.sortable = true;
  set(lvwPreview, "", " Every file of the assembly area and where the install puts it ");
  set(cmdPreviewInstall, "Install", " Install with the choices made, as previewed here ");
  set(cmdPreviewClose, "Close", " Close the preview; nothing is installed ");
}

frmOrvex2::frmOrvex2(FileSystem& fs)
    : Form("frmOrvex2"),
      File1(*this, "File1", fs),
      Drive1(*this, "Drive1", fs),
      Dir1(*this, "Dir1", fs),
      Dir2(*this, "Dir2", fs),
      Drive2(*this, "Drive2", fs),
      dirScenery(*this, "dirScenery", fs),
      drvScenery(*this, "drvScenery", fs),
      Dir3(*this, "Dir3", fs),
      Drive3(*this, "Drive3", fs) {
  setCaption("Orvex - Version 2");
  setSize(10200, 7800);

  set(cmdQuit, "Quit/Exit", " All Done ");
  set(cmdInstall, "", " Click to install the Aircraft displayed here ", false);
  set(cmdCancelLoad, "Cancel", " oops! ", false);
  set(frmFSDirectories, "Select FlightSim Directories:");
  set(frmAutoStart, "Refresh Assembly Directory:");
  set(frmWinZip, "Load WinZip:");
  set(frmSimulation, "Select Simulation:");
  SSTab1.tabCaptions = {"Aircraft", "Panels", "Scenery", "Sounds", "Installed", "Hangar"};
  set(labHelp, "F1 Help");
  blue(labHelp);

  set(cmdSetDirectories, "Set FlightSim Directories", " Click here to set the FlightSim location ");
  set(labLocation, "",
      " Location of the currently selected  Simulation. (DoubleClick to reset path) ");
  set(cmdRefresh, "Refresh",
      " Always click Refresh after \"unzipping\" any Aircraft, Panel, Scenery or Sound files ");
  set(cmdLoadWinZip, "", " Click here to load WinZip ");
  set(cmdOpenArchive, "", " Open a downloaded archive ");
  prgExtract.setVisible(false);

  set(optCFS2, "CFS2", " Select Combat Flight Simulator ");
  set(optFS98, "FS 98", " Select Flight Simulator 98 ");
  set(optFS2000, "FS2000", " Select Flight Simulator 2000 ");
  set(optCFS, "CFS", " Select Combat Flight Simulator ");
  optFS98.setValue(true);  // no procedure is wired yet, so nothing runs

  lvwAircraft.setColumns({"Aircraft", "Folder"});
  lvwAircraft.checkable = true;
  set(lvwAircraft, "", " The aircraft of this pack; those checked are installed ", false);
  set(labLiveryTarget, "Add Livery to:", "", false);
  lvwLiveryTarget.setColumns({"Aircraft", "Folder", "Textures alike"});
  set(lvwLiveryTarget, "",
      " The aircraft of the selected simulator; those whose textures match the repaint's come "
      "first ",
      false);
  set(cmdInstallLivery, "Install Livery", " Add the repaint's livery to the aircraft chosen ",
      false);
  set(Image2, "", " Click for the next image ", false);
  set(Image3, "", " Click for the next image ", false);
  set(frmDirectories, "Browse:", "", false);
  File1.setVisible(false);
  set(cmdSelect, "Select");
  set(cmdCancel, "Cancel");

  set(frmPanelInstall, "Panel Installation:", "", false);
  set(labPanelNoData, "No Panel Data Available!");
  labPanelNoData.setColours(colours::LightGrey, colours::Red);
  set(optPanelLetMe, "Let me Decide");
  set(Dir2, "", "Select the Panel folder (path) ", false);
  set(Drive2, "", " Select the Drive ", false);
  Drive2.setTop(1020);
  Dir2.setTop(1380);
  set(cmdPanelCancel, "Cancel", " I've changed my mind! ");
  set(cmdPanelInstall, "Install", " Install the Panel ");
  set(cmdPanelPreview, "Preview", kPreviewTip);
  set(txtPanelName, "", " Enter a name for this new Panel ", false);
  set(optMyChoice, "Install to an existing Panel Folder",
      " This option will install a Panel to an existing Aircraft Panel folder ");
  set(optFSCONV, "Install Panel to FSFSCONV Folder",
      " This option will install a Panel to the FlightSim\\Aircraft\\FSFSConv folder ");
  blue(labDisplayPath);
  set(labPanelName, "Enter a Name for this Panel", "", false);
  blue(labPanelName);

  set(frmScenery, "Scenery Name:", "", false);
  set(labSceneryNoData, "No Scenery Data Available!");
  labSceneryNoData.setColours(colours::LightGrey, colours::Red);
  dirScenery.setVisible(false);
  drvScenery.setVisible(false);
  set(optSceneryOptional, "Let me Decide ");
  set(optSceneryDefault, "Install to Main Scenery Directory");
  set(Command2, "Cancel", " I've changed my mind! ");
  set(Command1, "Install", " Install the Scenery ");
  set(cmdSceneryPreview, "Preview", kPreviewTip);
  set(txtSceneryName, "", " Enter a name for these new Scenery files ");
  set(labSceneryDir, "", "", false);
  blue(labSceneryDir);
  set(labSceneryName, "Enter a Name for this Scenery:");

  set(cmdPreview, "Preview", kPreviewTip, false);

  lvwInstalled.setColumns({"Installed", "Kind", "Name", "Files", "Backups", "State"});
  set(lvwInstalled, "", " The installs made into the selected simulator, newest first ");
  lvwHangar.setColumns({"Aircraft", "Liveries", "Folder", "Installed", "Problems"});
  lvwHangar.sortable = true;
  set(lvwHangar, "", " Every aircraft of the selected simulator, and what is broken in it ");
  lvwLiveries.setColumns({"Livery", "Texture folder", "Section", "Installed"});
  set(lvwLiveries, "", " The liveries of the aircraft chosen above ");
  set(cmdRemoveLivery, "Remove Livery",
      " Take the chosen livery out of its aircraft; the Installed tab can put it back ");
  cmdRemoveLivery.setEnabled(false);
  blue(labHangarNote);
  lvwChanges.setColumns({"Change", "File or folder", "Original kept as"});
  set(lvwChanges, "", " What the selected install changed ");
  set(cmdUninstall, "Uninstall", " Remove this install and put back every file it replaced ");
  set(cmdForget, "Forget",
      " Drop this record and the backups no other install needs; the files stay ");
  cmdUninstall.setEnabled(false);
  cmdForget.setEnabled(false);
  prgUndo.setVisible(false);
  blue(labInstalledNote);
  tmrDigest.setInterval(0);
  blue(labSceneryName);

  set(labSoundNoData, "No Sound Data Available!");
  labSoundNoData.setColours(colours::LightGrey, colours::Red);
  set(frmSound, "Sound Installation:", "", false);
  txtIDecide.setVisible(false);
  set(txtSoundName, "", " Enter a name for these Sound files ", false);
  set(optSoundCustom, "Let me Decide",
      " Install Sounds to the \\Aircraft\\Sounds directory.  (Use an alias in Sound.cfg  i.e. "
      "alias=Sounds\\Sound.Name) ");
  Dir3.setVisible(false);
  Drive3.setVisible(false);
  Drive3.setTop(1080);
  Dir3.setTop(1440);
  set(optSound, "Install to Main Sound Directory",
      " This option will install these sounds to the main FlightSim\\Sound directory ");
  set(optSoundDir, "Install to an Aircraft Sound Folder",
      " This option will install these sounds to an existing Aircraft\\Sound folder");
  set(cmdInstallSound, "Install", " Click to install the sounds ");
  set(cmdSoundPreview, "Preview", kPreviewTip);
  set(Command3, "Cancel", " I've  changed my mind! ");
  blue(labDisplaySoundPath);
  set(labEnterName, "Enter a Name for this Sound:", "", false);
  blue(labEnterName);
  set(labSoundPath, "", "", false);
  blue(labSoundPath);
  blue(Label1);

  // Tab 6 "Scenery Library"
  SSTab1.tabCaptions.push_back("Scenery Library");
  lvwLibrary.setColumns({"Title", "Folder", "Layer", "Active", "Added by", "Problems"});
  lvwLibrary.describeRows = true;
  set(lvwLibrary, "", " Every area of the selected simulator's Scenery.cfg, top layer first ");
  set(cmdLibraryEnable, "Enable", " Turn the chosen area on (Active=TRUE) ");
  set(cmdLibraryDisable, "Disable",
      " Turn the chosen area off (Active=FALSE) without removing it ");
  set(cmdLibraryUp, "Move Up", " Trade layers with the area above: this one is drawn over it ");
  set(cmdLibraryDown, "Move Down", " Trade layers with the area below: that one is drawn over it ");
  set(cmdLibraryRemove, "Remove Entry", " Take the chosen area out of the list; its folder stays ");
  set(cmdLibraryAddFolder, "Add Folder...", " Add a scenery folder as a new area at the top ");
  for (Button* b : {&cmdLibraryEnable, &cmdLibraryDisable, &cmdLibraryUp, &cmdLibraryDown,
                    &cmdLibraryRemove, &cmdLibraryAddFolder})
    b->setEnabled(false);
  blue(labLibraryNote);
  set(frmLibraryFolder, "Add a Scenery Folder:", "", false);
  set(drvLibrary, "", " Select the Drive ");
  set(dirLibrary, "", " Select the scenery's folder ");
  set(cmdLibraryFolderAdd, "Add", " Add the folder shown as a new area at the top of the list ");
  set(cmdLibraryFolderCancel, "Cancel", " I've changed my mind! ");
}

}  // namespace orvex

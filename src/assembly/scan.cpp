// The Refresh button: what kind of add-on the assembly area holds, and the tab and
// installation frame that go with it.
#include "archive/archive_plan.h"
#include "assembly/assembly_area.h"
#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/file_tree.h"
#include "platform/toolkit.h"

namespace orvex {

void AssemblyArea::GetDataType() {
  ProgramState& s = state;
  s.AircraftData = 0;
  s.SceneryData = 0;
  s.PanelData = 0;
  s.SoundData = 0;
  addOns_.scan(fs, s.OrvexAssemblyDir);
  s.AircraftData = addOns_.has(AddOnKind::Aircraft) ? 1 : 0;
  s.PanelData = addOns_.has(AddOnKind::Panel) ? 1 : 0;
  s.SoundData = addOns_.has(AddOnKind::Sound) ? 1 : 0;
  s.SceneryData = addOns_.has(AddOnKind::Scenery) ? 1 : 0;
  if (s.SceneryData == 1) frm.SSTab1.setTab(2);
}

std::string AssemblyArea::addOnFolder(AddOnKind kind) const {
  const std::string folder = addOns_.folderOf(kind);
  return folder.empty() ? state.OrvexAssemblyDir : folder;
}

void AssemblyArea::openArchivesFound() {
  const std::string& area = state.OrvexAssemblyDir;
  std::vector<std::string> archives, links;
  try {
    for (const std::string& file : filesBelow(fs, area, links, kArchivePatterns))
      if (isArchiveName(file)) archives.push_back(file);
  } catch (const FileError&) {
    return;  // the scan says what it cannot read
  }
  for (const std::string& archive : archives) {
    if (tk.msgBox("The assembly area holds the archive " + archive + ". Open it?", "Open Archive",
                  MsgIcon::None, MsgButtons::YesNo) == MsgAnswer::Yes)
      archives_.openInPlace(area + "\\" + archive);
    if (ended()) return;
  }
}

void AssemblyArea::sayNothingFound() {
  ProgramState& s = state;
  std::string found;
  try {
    found = AddOnList::contents(fs, s.OrvexAssemblyDir);
  } catch (const FileError&) {
    // Nothing to name: the area is missing or cannot be listed.
  }
  tk.beep();
  tk.msgBox(std::string("No Data Found in the Assembly Area!") + "\r\r" +
                (found.empty() ? std::string("The assembly area is empty.")
                               : "It holds " + found +
                                     ", but no aircraft (Aircraft.cfg), panel "
                                     "(panel.cfg), sound set (sound.cfg or .wav files), scenery "
                                     "(.bgl files) or repaint (texture.* folders).") +
                "\r\r" + "The assembly area is emptied now.",
            "Data Error", MsgIcon::Information, MsgButtons::OK);
}

void AssemblyArea::AutoLoad() {
  ProgramState& s = state;
  if (isPlaceholder(s.FSim)) {
    tk.beep();
    return;
  }
  try {
    GetDataType();
  } catch (const FileError& e) {
    // A missing assembly area simply holds nothing, and is reported as such below. Any other
    // failure leaves the area alone: emptying what could not even be read would be a guess.
    if (e.number() != err::PathNotFound) {
      frm.setMousePointer(MousePointer::Default);
      tk.msgBox("The Assembly Area " + s.OrvexAssemblyDir + " cannot be read." + "\r\r" +
                    errorMessage("Error", e),
                "Data Error", MsgIcon::Warning, MsgButtons::OK);
      return;
    }
  }

  frm.lvwAircraft.setVisible(false);
  if (s.AircraftData == 1) {
    frm.SSTab1.setTab(0);
    const std::vector<const AddOn*> aircraft = addOns_.of(AddOnKind::Aircraft);
    if (aircraft.size() > 1) {
      showPack();
    } else {
      FindAircraftImage();
      GetAircraftName();
      if (!s.AircraftName.empty()) warnOfLiveries(*aircraft.front());
    }
  } else if (s.PanelData == 1) {
    frm.SSTab1.setTab(1);
  } else if (s.SceneryData == 1) {
    frm.SSTab1.setTab(2);
  } else if (s.SoundData == 1) {
    frm.SSTab1.setTab(3);
  } else if (addOns_.has(AddOnKind::Livery)) {
    frm.SSTab1.setTab(0);  // a repaint is offered for the simulator's aircraft there
  } else {
    sayNothingFound();
    RemoveDirectories();
    DeleteAssembly();
  }
}

void AssemblyArea::cmdRefresh_Click() {
  ProgramState& s = state;
  frm.Timer1.setInterval(0);
  frm.Timer1.setTimerEnabled(false);
  frm.cmdRefresh.setVisible(true);

  // The settings copy that the last shutdown left here must not count as a configuration file.
  try {
    fs.kill(s.OrvexAssemblyDir + "\\Orvex.cfg");
  } catch (const FileError&) {
  }

  for (OptionButton* o :
       {&frm.optFSCONV, &frm.optMyChoice, &frm.optPanelLetMe, &frm.optSceneryDefault,
        &frm.optSceneryOptional, &frm.optSound, &frm.optSoundCustom, &frm.optSoundDir})
    o->setValue(false);
  setVisible({&frm.labPanelName, &frm.txtPanelName, &frm.Drive2, &frm.Dir2}, false);

  if (!isPlaceholder(s.FSim)) openArchivesFound();
  if (ended()) return;
  AutoLoad();
  if (ended()) return;

  if (isPlaceholder(s.FSim)) {
    tk.beep();
    fs.closeAll();
    setVisible({&frm.File1, &frm.frmDirectories}, false);
    frm.Image1.setVisible(true);
    setVisible({&frm.Image2, &frm.Image3, &frm.Image4}, false);
    frm.SSTab1.setTab(0);
    frm.cmdInstall.setVisible(false);
    return;
  }
  // Each kind found is offered on its tab; the first of them is shown.
  if (s.SceneryData == 1) {
    frm.frmScenery.setVisible(true);
    if (s.AircraftData != 1 && s.PanelData != 1) {
      frm.SSTab1.setTab(2);
      frm.txtSceneryName.setFocus();
    }
  }
  if (s.PanelData == 1) {
    frm.frmPanelInstall.setVisible(true);
    if (frm.optCFS2.value()) {
      frm.optFSCONV.setEnabled(false);
      setVisible({&frm.labPanelName, &frm.txtPanelName}, false);
    } else {
      frm.optFSCONV.setEnabled(true);
    }
    frm.labDisplayPath.setVisible(false);
    lists_.pointDirList(frm.Dir2, s.FSim + "\\Aircraft");
  }
  if (s.SoundData == 1) {
    for (OptionButton* o : {&frm.optSound, &frm.optSoundDir, &frm.optSoundCustom})
      o->setValue(false);
    frm.labEnterName.setVisible(false);
    frm.frmSound.setVisible(true);
    lists_.pointDirList(frm.Dir3, s.FSim + "\\Aircraft");
  }
  if (s.AircraftData == 1 || (s.SceneryData != 1 && s.PanelData != 1 && s.SoundData != 1)) {
    frm.SSTab1.setTab(0);
    frm.cmdQuit.setFocus();
  } else if (s.PanelData == 1) {
    frm.cmdQuit.setFocus();
    frm.SSTab1.setTab(1);
  } else if (s.SceneryData != 1) {
    frm.cmdQuit.setFocus();
    frm.SSTab1.setTab(3);
  }
  if (s.SoundData != 1 && s.PanelData != 1 && s.SceneryData != 1)
    setVisible({&frm.Dir3, &frm.Drive3}, false);
}

}  // namespace orvex

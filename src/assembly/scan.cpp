// The Refresh button: what kind of add-on the assembly area holds, and the tab and
// installation frame that go with it.
#include "assembly/assembly_area.h"
#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/toolkit.h"

namespace orvex {

void AssemblyArea::GetDataType() {
  ProgramState& s = state;
  s.AircraftData = 0;
  s.SceneryData = 0;
  s.PanelData = 0;
  s.SoundData = 0;

  if (lists_.listFiles(s.OrvexAssemblyDir, "*.bgl") > 0) {
    s.SceneryData = 1;
    frm.SSTab1.setTab(2);
    return;
  }
  const int configs = lists_.listFiles(s.OrvexAssemblyDir, "*.cfg");
  if (configs > 1) {
    s.AircraftData = 1;
    return;
  }
  if (configs == 1) {
    const std::string name = dos::lower(frm.File1.list(0));
    if (name == "panel.cfg") {
      s.PanelData = 1;
      s.SoundData = 0;
      return;
    }
    if (name == "sound.cfg") {
      s.SoundData = 1;
      s.PanelData = 0;
      return;
    }
  }
  s.SoundData = lists_.listFiles(s.OrvexAssemblyDir, "*.wav") > 0 ? 1 : 0;
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

  if (s.AircraftData == 1) {
    frm.SSTab1.setTab(0);
    FindAircraftImage();
    GetAircraftName();
  } else if (s.PanelData == 1) {
    frm.SSTab1.setTab(1);
  } else if (s.SceneryData == 1) {
    frm.SSTab1.setTab(2);
  } else if (s.SoundData == 1) {
    frm.SSTab1.setTab(3);
  } else {
    tk.beep();
    tk.msgBox(std::string("No Data Found in the Assembly Area!") + "\r\r" + "Try Un-Zipping Again.",
              "Data Error", MsgIcon::Information, MsgButtons::OK);
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
  if (s.SceneryData == 1) {
    frm.SSTab1.setTab(2);
    frm.frmScenery.setVisible(true);
    frm.txtSceneryName.setFocus();
    return;
  }
  frm.SSTab1.setTab(0);
  frm.cmdQuit.setFocus();
  if (s.PanelData == 1) {
    frm.SSTab1.setTab(1);
    frm.frmPanelInstall.setVisible(true);
    if (frm.optCFS2.value()) {
      frm.optFSCONV.setEnabled(false);
      setVisible({&frm.labPanelName, &frm.txtPanelName}, false);
    } else {
      frm.optFSCONV.setEnabled(true);
    }
    frm.labDisplayPath.setVisible(false);
    lists_.pointDirList(frm.Dir2, s.FSim + "\\Aircraft");
    return;
  }
  frm.SSTab1.setTab(0);
  frm.cmdQuit.setFocus();
  if (s.SoundData == 1) {
    for (OptionButton* o : {&frm.optSound, &frm.optSoundDir, &frm.optSoundCustom})
      o->setValue(false);
    frm.labEnterName.setVisible(false);
    frm.SSTab1.setTab(3);
    frm.frmSound.setVisible(true);
    lists_.pointDirList(frm.Dir3, s.FSim + "\\Aircraft");
    return;
  }
  frm.SSTab1.setTab(0);
  frm.cmdQuit.setFocus();
  setVisible({&frm.Dir3, &frm.Drive3}, false);
}

}  // namespace orvex

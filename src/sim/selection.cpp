// Choosing a simulator: the selection procedure shared by the four profiles, and forgetting
// the selected simulator's directory with a double click on the location label.
#include "program/profiles.h"
#include "sim/simulators.h"

namespace orvex {

void Simulators::selectProfile(const SimProfile& profile) {
  ProgramState& s = state;
  const std::string& path = s.*profile.path;
  s.FlightSim = profile.tag;
  s.FSim = path;
  ui_.SetLabelColour(path, frm.labLocation);
  frm.labLocation.setCaption(path);
  installed_.refreshInstalled();
  hangar_.refreshHangar();
  livery_.showRepaint();  // a repaint is offered for this simulator's aircraft
  library_.refreshLibrary();
  if (isPlaceholder(path)) {
    ClearAll();
    frm.cmdSetDirectories.setCaption(profile.placeholder);
    return;
  }
  frm.cmdSetDirectories.setCaption(profile.directoryCaption);
  scenery_.DisplaySceneryName();

  if (s.PanelData == 1) {
    frm.frmPanelInstall.setVisible(true);
    lists_.pointDirList(frm.Dir2, s.FSim + "\\Aircraft");
    frm.optFSCONV.setEnabled(profile.fsconvPanels);
    if (!profile.fsconvPanels) frm.optFSCONV.setValue(false);
    if (frm.optPanelLetMe.value() || frm.optMyChoice.value() || frm.optFSCONV.value()) {
      frm.txtPanelName.setVisible(true);
      frm.txtPanelName.setSelLength(int(frm.txtPanelName.text().size()));
      frm.txtPanelName.setFocus();
      frm.labSceneryDir.setVisible(true);
      if (profile.panelStepHidesSoundPath) frm.labDisplaySoundPath.setVisible(false);
    } else {
      frm.labPanelName.setVisible(false);
      frm.txtPanelName.setVisible(false);
      frm.labSceneryDir.setVisible(false);
    }
    frm.labDisplayPath.setVisible(frm.optFSCONV.value());
  } else if (s.SoundData == 1) {
    frm.frmSound.setVisible(true);
    lists_.pointDirList(frm.Dir3, s.FSim + "\\Aircraft");
    frm.labSoundPath.setCaption(s.FSim + "\\Sound");
    if (frm.optSound.value() || frm.optSoundDir.value() || frm.optSoundCustom.value()) {
      if (frm.optSoundDir.value()) {
        setVisible({&frm.txtIDecide, &frm.labEnterName, &frm.txtSoundName, &frm.labDisplaySoundPath,
                    &frm.labSoundPath},
                   false);
      } else if (frm.optSoundCustom.value()) {
        frm.txtIDecide.setVisible(true);
        frm.txtIDecide.setFocus();
        frm.txtIDecide.setSelStart(int(frm.txtIDecide.text().size()));
        frm.labEnterName.setVisible(true);
      }
    } else {
      setVisible({&frm.txtIDecide, &frm.labEnterName, &frm.txtSoundName, &frm.labDisplaySoundPath,
                  &frm.labSoundPath, &frm.Dir3, &frm.Drive3},
                 false);
    }
    return;
  }

  if (s.AircraftData == 1 && frm.lvwAircraft.visible()) {
    assembly_.lvwAircraft_Check();  // a pack: the count and the simulator's tag
  } else if (s.AircraftData == 1) {
    if (!isPlaceholder(frm.labLocation.caption()) && !s.AircraftName.empty()) {
      frm.cmdInstall.setCaption("Install " + s.AircraftName + " to " + s.FlightSim);
      frm.cmdInstall.setEnabled(true);
      frm.cmdInstall.setVisible(true);
      frm.cmdCancelLoad.setVisible(true);
    } else {
      frm.cmdInstall.setCaption("");
      frm.cmdInstall.setEnabled(false);
      frm.cmdInstall.setVisible(false);
      frm.cmdCancelLoad.setVisible(false);
    }
  }
}

void Simulators::optFS98_Click() {
  selectProfile(simProfiles()[0]);
}
void Simulators::optFS2000_Click() {
  selectProfile(simProfiles()[1]);
}
void Simulators::optCFS_Click() {
  selectProfile(simProfiles()[2]);
}
void Simulators::optCFS2_Click() {
  selectProfile(simProfiles()[3]);
}

void Simulators::labLocation_DblClick() {
  const SimProfile* p = selectedProfile(frm);
  if (!p) return;
  state.*p->path = p->placeholder;
  ui_.SetLabelColour(state.*p->path, frm.labLocation);
  frm.labLocation.setCaption(state.*p->path);
  frm.cmdSetDirectories.setCaption(p->placeholder);
}

}  // namespace orvex

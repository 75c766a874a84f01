// The sound frame's target choice: the three option buttons, the drive and directory lists in
// which an aircraft's folder or a folder of the user's own is browsed, and Cancel.
#include "install/sound/sound_install.h"

namespace orvex {

void SoundInstall::optSound_Click() {
  setVisible({&frm.Drive3, &frm.Dir3}, false);
  lists_.pointDirList(frm.Dir3, state.FSim);
  frm.labSoundPath.setCaption(state.FSim + "\\Sound");
  frm.labSoundPath.setVisible(true);
  setVisible({&frm.txtIDecide, &frm.labEnterName, &frm.txtSoundName, &frm.labDisplaySoundPath},
             false);
  frm.cmdInstallSound.setFocus();
}

void SoundInstall::optSoundDir_Click() {
  frm.Drive3.setTop(1080);
  frm.Drive3.setVisible(true);
  frm.Dir3.setTop(1440);
  frm.Dir3.setVisible(true);
  lists_.pointDirList(frm.Dir3, state.FSim + "\\Aircraft");
  setVisible({&frm.labSoundPath, &frm.labEnterName, &frm.txtSoundName, &frm.labDisplaySoundPath,
              &frm.txtIDecide},
             false);
  frm.cmdInstallSound.setFocus();
}

void SoundInstall::optSoundCustom_Click() {
  // The lists sit lower than for an aircraft folder, leaving room for the path box above them.
  frm.Drive3.setTop(1380);
  frm.Drive3.setVisible(true);
  frm.Dir3.setTop(1740);
  frm.Dir3.setVisible(true);
  lists_.pointDirList(frm.Dir3, state.FSim);
  frm.labSoundPath.setVisible(false);
  frm.labEnterName.setVisible(true);
  frm.txtSoundName.setVisible(false);
  frm.txtIDecide.setVisible(true);
  frm.txtIDecide.setFocus();
  frm.txtIDecide.setSelStart(int(frm.txtIDecide.text().size()));
  frm.labDisplaySoundPath.setVisible(false);
}

void SoundInstall::Drive3_Change() {
  lists_.followDrive(frm.Drive3, frm.Dir3);
}

void SoundInstall::Dir3_Change() {
  // The drive list shows the drive of the browsed folder, so that choosing another drive is
  // always a change it can follow.
  frm.Drive3.showDrive(frm.Dir3.path());
  frm.txtIDecide.setText(frm.Dir3.path());
  frm.txtIDecide.setSelStart(int(frm.txtIDecide.text().size()));
  if (frm.txtIDecide.visible()) frm.txtIDecide.setFocus();
}

void SoundInstall::Command3_Click() {
  frm.setMousePointer(MousePointer::Hourglass);
  frm.txtIDecide.setVisible(false);
  frm.SSTab1.setTab(0);
  assembly_.RemoveDirectories();
  assembly_.DeleteAssembly();
  frm.frmSound.setVisible(false);
  frm.setMousePointer(MousePointer::Default);
}

}  // namespace orvex

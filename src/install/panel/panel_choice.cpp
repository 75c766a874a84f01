// The panel frame's target choice: the three options, the name box with its "Install to: "
// line, the drive and directory lists, and giving up the panel.
#include "install/panel/panel_install.h"
#include "program/profiles.h"
#include "program/window_helpers.h"

namespace orvex {

namespace {

// Top edges in twips: with "Let me Decide" the lists sit one row lower, below the name box.
constexpr int kDriveTopExisting = 1020;
constexpr int kDirTopExisting = 1380;
constexpr int kDriveTopLetMe = 1380;
constexpr int kDirTopLetMe = 1740;

void caretToEnd(TextBox& box) {
  box.setSelStart(int(box.text().size()));
}

}  // namespace

void PanelInstall::optFSCONV_Click() {
  if (!frm.optFSCONV.value()) return;
  frm.labPanelName.setVisible(true);
  frm.txtPanelName.setText("");
  frm.txtPanelName.setVisible(true);
  frm.txtPanelName.setFocus();
  frm.labDisplayPath.setVisible(true);
  setVisible({&frm.Drive2, &frm.Dir2}, false);
}

void PanelInstall::optMyChoice_Click() {
  if (!frm.optMyChoice.value()) return;
  frm.Drive2.setTop(kDriveTopExisting);
  frm.Drive2.setVisible(true);
  frm.Dir2.setTop(kDirTopExisting);
  frm.Dir2.setVisible(true);
  // Aircraft keep their panel folders under the simulator's aircraft folder.
  lists_.pointDirList(frm.Dir2, state.FSim + "\\Aircraft");
  setVisible({&frm.labPanelName, &frm.txtPanelName, &frm.labDisplayPath}, false);
}

void PanelInstall::optPanelLetMe_Click() {
  if (!frm.optPanelLetMe.value()) return;
  frm.Drive2.setTop(kDriveTopLetMe);
  frm.Drive2.setVisible(true);
  frm.Dir2.setTop(kDirTopLetMe);
  frm.Dir2.setVisible(true);
  // Dir2_Change copies the new path into the name box.
  lists_.pointDirList(frm.Dir2, state.FSim);
  frm.txtPanelName.setVisible(true);
  frm.txtPanelName.setFocus();
  caretToEnd(frm.txtPanelName);
  frm.labPanelName.setVisible(true);
  frm.labDisplayPath.setVisible(false);
}

void PanelInstall::txtPanelName_Change() {
  refreshFSimFromOptions(state, frm);
  frm.labDisplayPath.setCaption("Install to: " + wrappedPath(state.FSim) +
                                "\\ Aircraft \\ FSFSCONV\\ Panel." + frm.txtPanelName.text());
}

void PanelInstall::Drive2_Change() {
  lists_.followDrive(frm.Drive2, frm.Dir2);
}

void PanelInstall::Dir2_Change() {
  // The drive list shows the drive the directory list is on, so that choosing another drive
  // is always a change.
  frm.Drive2.showDrive(frm.Dir2.path());
  if (frm.optPanelLetMe.value()) frm.txtPanelName.setText(frm.Dir2.path());
  if (frm.txtPanelName.visible()) {
    caretToEnd(frm.txtPanelName);
    frm.txtPanelName.setFocus();
  }
}

void PanelInstall::cmdPanelCancel_Click() {
  frm.setMousePointer(MousePointer::Hourglass);
  frm.SSTab1.setTab(0);
  assembly_.RemoveDirectories();
  assembly_.DeleteAssembly();
  frm.frmPanelInstall.setVisible(false);
  frm.txtPanelName.setText("");
  frm.setMousePointer(MousePointer::Default);
}

}  // namespace orvex

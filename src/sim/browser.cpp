// The directory browser: pointing a simulator at its root directory, proven by its check file.
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/toolkit.h"
#include "program/profiles.h"
#include "sim/simulators.h"

namespace orvex {

void Simulators::cmdSetDirectories_Click() {
  frm.Image1.setVisible(false);
  frm.frmDirectories.setVisible(true);
  frm.File1.setVisible(false);
  lists_.pointDirList(frm.Dir1, "\\");
  frm.SSTab1.setTab(0);
}

void Simulators::Drive1_Change() {
  lists_.followDrive(frm.Drive1, frm.Dir1);
}

void Simulators::Dir1_Change() {
  frm.File1.setPath(frm.Dir1.path());
  frm.Drive1.showDrive(frm.Dir1.path());
}

void Simulators::cmdSelect_Click() {
  const SimProfile* p = selectedProfile(frm);
  const std::string dir = frm.Dir1.path();
  if (p && dir.find('"') != std::string::npos) {
    // The settings file keeps each directory between double quotes, with no way to hold one.
    tk.msgBox("The folder " + dir + " cannot be kept in the settings:" + "\r" +
                  "its path holds a double quote (\").",
              "FS Directory Errors", MsgIcon::Warning, MsgButtons::OK);
    return;
  }
  if (p) {
    // The check file is looked for before anything is taken over, so a refused directory
    // never reaches the settings.
    try {
      fs.checkReadable(dir + p->checkFile);
    } catch (const FileError&) {
      tk.msgBox(std::string("Cannot find the ") + (p->checkFile + 1) + " file" + "\r\r" +
                    "Please try again...",
                "FS Directory Errors", MsgIcon::Warning, MsgButtons::OK);
      fs.closeAll();
      frm.File1.setPattern("*.*");
      assembly_.RemoveDirectories();
      assembly_.DeleteAssembly();
      frm.setMousePointer(MousePointer::Default);
      return;
    }
    state.*p->path = dir;
    state.FSim = dir;
    ui_.SetLabelColour(dir, frm.labLocation);
    frm.labLocation.setCaption(dir);
    frm.cmdSetDirectories.setCaption(p->directoryCaption);
    installed_.refreshInstalled();
    hangar_.refreshHangar();
    livery_.showRepaint();
    library_.refreshLibrary();
  }
  frm.frmDirectories.setVisible(false);
  frm.Image1.setVisible(true);
  frm.File1.setPattern("*.*");
  settings_.SaveFSInfo();
}

void Simulators::cmdCancel_Click() {
  fs.closeAll();
  frm.File1.setVisible(false);
  frm.frmDirectories.setVisible(false);
  frm.Image1.setVisible(true);
}

}  // namespace orvex

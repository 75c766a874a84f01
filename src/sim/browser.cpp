// The directory browser: pointing a simulator at its root directory, proven by its check
// file; its lists also serve every listing of the assembly area.
#include "app/orvex.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/toolkit.h"
#include "sim/profiles.h"

namespace orvex {

bool Orvex::pointDirList(DirList& list, const std::string& path) {
  try {
    list.setPath(path);
    return true;
  } catch (const FileError& e) {
    tk.msgBox("The folder " + path + " cannot be shown." + "\r\r" + errorText("Error", e),
              "Folder Not Found", MsgIcon::Warning, MsgButtons::OK);
    return false;
  }
}

void Orvex::followDrive(DriveList& drive, DirList& dir) {
  if (!pointDirList(dir, drive.drive())) {
    // Back to the drive the list still shows; its change procedure has nothing left to do.
    drive.showDrive(dir.path().substr(0, 2));
  }
}

int Orvex::listFiles(const std::string& dir, const std::string& pattern) {
  // Through the file list alone: the directory list is the browser the user may have open,
  // and it stays where the user put it.
  frm.File1.setPattern(pattern);
  frm.File1.setPath(fs.fullPath(dir));
  frm.File1.refresh();
  return frm.File1.listCount();
}

void Orvex::cmdSetDirectories_Click() {
  frm.Image1.setVisible(false);
  frm.frmDirectories.setVisible(true);
  frm.File1.setVisible(false);
  pointDirList(frm.Dir1, "\\");
  frm.SSTab1.setTab(0);
}

void Orvex::Drive1_Change() {
  followDrive(frm.Drive1, frm.Dir1);
}

void Orvex::Dir1_Change() {
  frm.File1.setPath(frm.Dir1.path());
  frm.Drive1.showDrive(frm.Dir1.path());
}

void Orvex::cmdSelect_Click() {
  const SimProfile* p = selectedProfile();
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
      RemoveDirectories();
      DeleteAssembly();
      frm.setMousePointer(MousePointer::Default);
      return;
    }
    state.*p->path = dir;
    state.FSim = dir;
    SetLabelColour(dir, frm.labLocation);
    frm.labLocation.setCaption(dir);
    frm.cmdSetDirectories.setCaption(p->directoryCaption);
    refreshInstalled();
  }
  frm.frmDirectories.setVisible(false);
  frm.Image1.setVisible(true);
  frm.File1.setPattern("*.*");
  SaveFSInfo();
}

void Orvex::cmdCancel_Click() {
  fs.closeAll();
  frm.File1.setVisible(false);
  frm.frmDirectories.setVisible(false);
  frm.Image1.setVisible(true);
}

}  // namespace orvex

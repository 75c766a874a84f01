// The directory browser's lists as the program's listing tool: every listing of the assembly
// area, and every directory list the user steps through.
#include "program/file_lists.h"

#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/toolkit.h"

namespace orvex {

bool FileLists::pointDirList(DirList& list, const std::string& path) {
  try {
    list.setPath(path);
    return true;
  } catch (const FileError& e) {
    tk.msgBox("The folder " + path + " cannot be shown." + "\r\r" + errorText("Error", e),
              "Folder Not Found", MsgIcon::Warning, MsgButtons::OK);
    return false;
  }
}

void FileLists::followDrive(DriveList& drive, DirList& dir) {
  if (!pointDirList(dir, drive.drive())) {
    // Back to the drive the list still shows; its change procedure has nothing left to do.
    drive.showDrive(dir.path().substr(0, 2));
  }
}

int FileLists::listFiles(const std::string& dir, const std::string& pattern) {
  // Through the file list alone: the directory list is the browser the user may have open,
  // and it stays where the user put it.
  frm.File1.setPattern(pattern);
  frm.File1.setPath(fs.fullPath(dir));
  frm.File1.refresh();
  return frm.File1.listCount();
}

}  // namespace orvex

// The zip program bridge: starting the program associated with zip files, and watching the
// assembly area until Refresh.
#include "archive/archives.h"
#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/shell.h"
#include "platform/toolkit.h"

namespace orvex {

void Archives::cmdLoadWinZip_Click() {
  if (isPlaceholderNoCase(state.FSim)) {
    tk.beep();
    return;
  }
  if (state.ZipWarning == 0) ui_.showWinZipWarning();
  FindWinZip();
  frm.Timer1.setInterval(1000);
  frm.Timer1.setTimerEnabled(true);
  frm.cmdQuit.setFocus();
}

void Archives::FindWinZip() {
  const std::string sample = state.OrvexDir + "DummyZip.zip";
  // The sample only tells the shell which program opens zip files; when it cannot be
  // prepared the shell is asked all the same.
  try {
    fs.setAttrNormal(sample);
  } catch (const FileError&) {
  }
  try {
    fs.appendFile(sample, "");
  } catch (const FileError&) {
  }
  std::string program(255, ' ');
  std::string document;
  try {
    document = fs.hostPath(sample);
  } catch (const FileError&) {
    // A root directory on a drive the drive map no longer holds: nothing to ask the shell with.
  }
  const int found = document.empty() ? 0 : shell.findExecutable(document, program);
  program = dos::trim(program, " ");
  if (found <= 32) {
    tk.msgBox("Could not find WinZip", "Browser Not Found", MsgIcon::Warning, MsgButtons::OK);
    return;
  }
  if (shell.execute(program) <= 32)
    tk.msgBox("ZIP File not found", "Process Failed", MsgIcon::Warning, MsgButtons::OK);
}

void Archives::Timer1_Timer() {
  // An install moves files out of the area; the blinking waits until it is done.
  if (busy()) return;
  size_t n = 0;
  size_t folders = 0;
  try {
    // Counted on its own: the lists the user sees, and those a copy pass reads, stay as they are.
    n = fs.listFiles(state.OrvexAssemblyDir, "*.*").size();
    // An archive unpacked with its folders may leave no file at the top.
    folders = fs.listDirs(state.OrvexAssemblyDir).size();
  } catch (const FileError& e) {
    if (e.number() == err::PathNotFound) return;  // no assembly area yet: nothing has arrived
    // Reported once: the watch ends here rather than failing again every half second.
    frm.Timer1.setInterval(0);
    frm.Timer1.setTimerEnabled(false);
    frm.cmdRefresh.setVisible(true);
    tk.msgBox("The Assembly Area " + state.OrvexAssemblyDir + " cannot be watched." + "\r\r" +
                  errorMessage("Error", e) + "\r\r" + "Press Refresh once the archive is unpacked.",
              "Data Error", MsgIcon::Warning, MsgButtons::OK);
    return;
  }
  if (n <= 1 && folders == 0) return;  // the settings copy left by the last shutdown is one
  if (frm.cmdRefresh.visible()) {
    frm.cmdRefresh.setVisible(false);
    frm.Timer1.setInterval(500);
  } else {
    frm.cmdRefresh.setVisible(true);
    frm.Timer1.setInterval(1000);
  }
}

}  // namespace orvex

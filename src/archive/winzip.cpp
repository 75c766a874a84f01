// The zip program bridge: starting the program associated with zip files, watching the
// assembly area until Refresh, and throwing a loaded archive away.
#include "app/orvex.h"
#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/shell.h"
#include "platform/toolkit.h"

namespace orvex {

void Orvex::cmdLoadWinZip_Click() {
  if (isPlaceholderNoCase(state.FSim)) {
    tk.beep();
    return;
  }
  if (state.ZipWarning == 0) showWinZipWarning();
  FindWinZip();
  frm.Timer1.setInterval(1000);
  frm.Timer1.setTimerEnabled(true);
  frm.cmdQuit.setFocus();
}

void Orvex::FindWinZip() {
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
  const int found = shell.findExecutable(fs.hostPath(sample), program);
  program = dos::trim(program, " ");
  if (found <= 32) {
    tk.msgBox("Could not find WinZip", "Browser Not Found", MsgIcon::Warning, MsgButtons::OK);
    return;
  }
  if (shell.execute(program) <= 32)
    tk.msgBox("ZIP File not found", "Process Failed", MsgIcon::Warning, MsgButtons::OK);
}

void Orvex::Timer1_Timer() {
  int n = 0;
  try {
    n = listFiles(state.OrvexAssemblyDir, "*.*");
  } catch (const FileError&) {
    return;  // no assembly area yet: nothing has arrived
  }
  if (n <= 1) return;  // the settings copy left by the last shutdown accounts for one
  if (frm.cmdRefresh.visible()) {
    frm.cmdRefresh.setVisible(false);
    frm.Timer1.setInterval(500);
  } else {
    frm.cmdRefresh.setVisible(true);
    frm.Timer1.setInterval(1000);
  }
}

void Orvex::cmdCancelLoad_Click() {
  fs.closeAll();
  setVisible({&frm.File1, &frm.frmDirectories}, false);
  frm.Image1.setVisible(true);
  setVisible({&frm.Image2, &frm.Image3, &frm.Image4}, false);
  frm.cmdInstall.setVisible(false);
  frm.setMousePointer(MousePointer::Hourglass);
  RemoveDirectories();
  DeleteAssembly();
  frm.setMousePointer(MousePointer::Default);
}

}  // namespace orvex

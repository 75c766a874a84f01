// Start-up (Form_Load) and the two ways out (Quit and closing the window).
#include "app/orvex.h"
#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/toolkit.h"
#include "program/profiles.h"
#include "program/steps.h"

#ifndef ORVEX_VERSION_MAJOR
#define ORVEX_VERSION_MAJOR 4
#define ORVEX_VERSION_MINOR 0
#define ORVEX_VERSION_REVISION 0
#endif

namespace orvex {

std::string Orvex::rootDirectoryFor(const std::string& currentDir) {
  if (currentDir.size() >= 8 && currentDir.substr(3, 5) == "devel") return "D:\\devel\\Orvex2\\";
  if (dos::lower(currentDir).find("\\orvex") == std::string::npos) return {};
  return currentDir + "\\";
}

void Orvex::Form_Load() {
  ProgramState& s = state;
  const std::string current = fs.curDir();
  s.OrvexDir = rootDirectoryFor(current);
  if (s.OrvexDir.empty()) {
    tk.msgBox("Cannot find the Orvex Root Directory...\rCurrent Directory is: " + current +
                  "\r\rAborting Load Procedure!",
              "Load Error", MsgIcon::Critical, MsgButtons::OK);
    endProgram();
    return;
  }
  // Before anything reads or writes in the root: a second copy would take the install the first
  // one is running for one a crash broke off, and write its settings over the first one's.
  if (!takeRootDirectory()) {
    std::string root = s.OrvexDir;
    while (root.size() > 1 && root.back() == '\\') root.pop_back();
    tk.msgBox("Orvex is already running in " + root + ".", "Orvex", MsgIcon::Information,
              MsgButtons::OK);
    endProgram();
    return;
  }

  const std::vector<Step> steps = {
      {"", [&] { frm.Timer1.setInterval(0); }},
      {"",
       [&] {
         s.Title = "Orvex - Version " + std::to_string(ORVEX_VERSION_MAJOR) + "." +
                   std::to_string(ORVEX_VERSION_MINOR) + "." +
                   std::to_string(ORVEX_VERSION_REVISION);
         frm.setCaption(s.Title);
       }},
      {"", [&] { frm.SSTab1.setTab(0); }},
      {"", [&] { ui.CenterForm(frm); }},
      {"", [&] { s.OrvexAssemblyDir = s.OrvexDir + "Assembly"; }},
      {"", [&] { settings.GetFSInfo(); }},
      {"", [&] { installed.openRecords(); }},
      {"",
       [&] {
         for (const SimProfile& p : simProfiles())
           if ((s.*p.path).empty()) s.*p.path = p.placeholder;
       }},
      {"",
       [&] {
         if (s.FlightSim.empty()) s.FlightSim = "FS98";
       }},
      {"",
       [&] {
         for (const SimProfile& p : simProfiles()) {
           if (s.FlightSim != p.tag) continue;
           (frm.*p.option).setValue(true);
           ui.SetLabelColour(s.*p.path, frm.labLocation);
           frm.labLocation.setCaption(s.*p.path);
           s.FSim = s.*p.path;
           break;
         }
       }},
      {"", [&] { frm.show(); }},
      {"",
       [&] {
         installed.recoverInterrupted();
         installed.refreshInstalled();
       }},
  };
  runSteps(steps, [&](const FileError& e, const Step&) {
    if (e.number() != err::PathFileAccess) {
      tk.msgBox(
          errorMessage("Error", e) + "\r" + " Zip Path cannot be found!  Please select it again.",
          "Orvex Load Error", MsgIcon::Warning, MsgButtons::OK);
      s.ZipPath = kZipPlaceholder;
    }
    return Resume::next();
  });
}

bool Orvex::takeRootDirectory() {
  if (!lockRootDirectory) return true;
  std::string lockFile;
  try {
    lockFile = fs.hostPath(state.OrvexDir + "Orvex.lock");
  } catch (const FileError&) {
    return true;  // a root that cannot be reached holds nothing to keep apart
  }
  return lockRootDirectory(lockFile);
}

void Orvex::cmdQuit_Click() {
  shutdown(false);
}

void Orvex::Form_Terminate() {
  shutdown(true);
}

void Orvex::shutdown(bool hideWindow) {
  if (shutDown_ || ended()) return;
  shutDown_ = true;
  // Every step is tried even when one before it failed; each reports its own failure.
  fs.closeAll();
  settings.SaveFSInfo();
  assembly.RemoveDirectories();
  assembly.DeleteAssembly();
  try {
    fs.copyFile(state.OrvexDir + "Orvex.cfg", state.OrvexAssemblyDir + "\\Orvex.cfg");
  } catch (const FileError&) {
    // Only a courtesy copy; a missing assembly area or settings file is not worth a message.
  }
  if (hideWindow) frm.hide();
  endProgram();
}

void Orvex::endProgram() {
  run_.ended = true;
  fs.closeAll();
  anim.hide();
  warn.hide();
  tk.quit();
}

}  // namespace orvex

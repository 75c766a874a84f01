// The panel install: working out the target panel folder from the chosen option, and moving
// the panel's files into it and into the simulator's Gauges and Sound folders.
#include "install/panel/panel_install.h"

#include "platform/config_entries.h"
#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/text_reading.h"
#include "platform/toolkit.h"
#include "program/steps.h"

namespace orvex {

namespace {

// The patterns of the first pass: the bitmaps that panel.cfg names, line by line, then the
// configuration file itself.
std::string panelPatternList(const std::string& panelCfg) {
  std::string list;
  LineReader lines(panelCfg);
  while (!lines.eof())
    if (const std::string name = bitmapName(lines.next()); !name.empty()) list += name + ";";
  return list + "Panel.cfg";
}

// A new folder's name under FSFSCONV: one level, nothing that climbs out or that the
// simulator's file system could not hold.
bool usablePanelName(const std::string& name) {
  return !dos::isBlank(name) && name.find_first_of("\\/:*?\"<>|") == std::string::npos &&
         name.find("..") == std::string::npos;
}

// A full folder path typed by the user: a colon only after the drive letter.
bool usableFolderPath(const std::string& path) {
  if (path.find_first_of("*?\"<>|") != std::string::npos) return false;
  const size_t colon = path.find(':');
  return colon == std::string::npos || (colon == 1 && path.find(':', 2) == std::string::npos);
}

}  // namespace

struct PanelInstall::Failure {
  PanelInstall& o;

  // The question about an existing folder or file; true for Yes.
  bool overwrite() const {
    o.tk.beep();
    if (o.tk.msgBox(o.state.FName + " Exists!  Overwrite?", "Panel Error", MsgIcon::None,
                    MsgButtons::YesNo) == MsgAnswer::Yes)
      return true;
    o.copies_.hideCopyWindow();
    return false;
  }

  // Any other failure ends the install; what is still in the assembly area stays there for
  // another try.
  void report(const FileError& e) const {
    o.tk.msgBox(errorMessage("Error ", e), "Install Panel Error", MsgIcon::Critical,
                MsgButtons::OK);
    o.fs.closeAll();
    o.copies_.hideCopyWindow();
  }
};

Resume PanelInstall::onMakeFolderFailure(const FileError& e, bool makingFolder) {
  PanelInstall& o = *this;
  o.frm.setMousePointer(MousePointer::Default);
  const Failure failure{o};
  if (makingFolder && e.number() == err::PathFileAccess)
    return failure.overwrite() ? Resume::next() : Resume::stop();
  failure.report(e);
  return Resume::stop();
}

bool PanelInstall::refuseAssemblyArea(const std::string& folder) {
  PanelInstall& o = *this;
  if (!o.assembly_.insideAssemblyArea(folder)) return false;
  o.tk.msgBox("Panel Files cannot be installed into the Assembly folder!\r" + folder, "Panel Error",
              MsgIcon::Warning, MsgButtons::OK);
  return true;
}

void PanelInstall::installToFsconv() {
  PanelInstall& o = *this;
  TextBox& name = o.frm.txtPanelName;
  if (name.text().empty()) {
    o.tk.beep();
    name.setFocus();
    return;
  }
  if (!usablePanelName(name.text())) {
    o.tk.msgBox("\"" + name.text() + "\" cannot be the name of a panel folder." + "\r\r" +
                    "Please use a name that is not only blanks and holds none of" + "\r" +
                    "\\ / : * ? \" < > | or ..",
                "Panel Name", MsgIcon::Warning, MsgButtons::OK);
    name.setFocus();
    return;
  }
  const std::string folder = o.state.FSim + "\\Aircraft\\FSFSCONV\\Panel." + name.text();
  if (refuseAssemblyArea(folder)) return;
  o.state.PanelDir = folder;
  o.state.FName = o.state.PanelDir;
  o.InstallPanel();
}

// T is the browsed folder when its path names a panel folder, or its "Panel" sub-folder when
// one of its sub-folders does.
void PanelInstall::installToExisting() {
  PanelInstall& o = *this;
  ProgramState& s = o.state;
  s.AircraftName = o.frm.Dir2.path();
  bool found = false;
  if (!s.AircraftName.empty()) {
    found = dos::containsNoCase(s.AircraftName, "panel");
    if (!found) {
      // Listed on its own: the directory browser the user may have open stays where it is.
      try {
        const std::vector<std::string> folders = o.fs.listDirs(s.AircraftName);
        for (size_t k = 0; k < folders.size() && !found; ++k) {
          s.i = int16_t(k);
          found = dos::containsNoCase(folders[k], "panel");
        }
      } catch (const FileError& e) {
        o.tk.msgBox(errorMessage("Error ", e), "Install Panel Error", MsgIcon::Critical,
                    MsgButtons::OK);
        return;
      }
      if (found) s.AircraftName += "\\Panel";
    }
  }
  if (!found) {
    o.tk.msgBox("We're not in a Panel Directory!", "Panel Error", MsgIcon::Warning, MsgButtons::OK);
    return;
  }
  if (refuseAssemblyArea(s.AircraftName)) return;
  o.InstallPanel();
}

void PanelInstall::installToChosenPath() {
  PanelInstall& o = *this;
  ProgramState& s = o.state;
  TextBox& path = o.frm.txtPanelName;
  if (dos::isBlank(path.text())) {
    o.tk.msgBox("Please Enter a Name for this Panel Files", "Panel Name", MsgIcon::Warning,
                MsgButtons::OK);
    o.frm.setMousePointer(MousePointer::Default);
    path.setFocus();
    return;
  }
  if (!usableFolderPath(path.text())) {
    o.tk.msgBox("\"" + path.text() + "\" cannot be the path of a panel folder." + "\r\r" +
                    "Please use a path that holds none of * ? \" < > |" + "\r" +
                    "and a colon only after the drive letter.",
                "Panel Name", MsgIcon::Warning, MsgButtons::OK);
    path.setFocus();
    return;
  }
  s.PanelDir = path.text();
  s.AircraftName = path.text();
  s.FName = s.PanelDir;
  if (refuseAssemblyArea(s.AircraftName)) return;
  o.installed_.nameRecord(s.PanelDir);
  const bool goOn =
      runSteps({{"make", [&] { o.fs.mkDir(s.PanelDir); }}},
               [&](const FileError& e, const Step&) { return onMakeFolderFailure(e, true); });
  if (goOn) o.InstallPanel();
}

void PanelInstall::cmdPanelInstall_Click() {
  BusyScope busy(ctx);
  if (isPlaceholderNoCase(state.FSim)) return;
  RecordScope record(installed_, copies_, "panel", "");
  frm.optFSCONV.setEnabled(!frm.optCFS2.value());
  if (frm.optFSCONV.value())
    installToFsconv();
  else if (frm.optMyChoice.value())
    installToExisting();
  else if (frm.optPanelLetMe.value())
    installToChosenPath();
  else
    tk.beep();  // no target chosen yet
}

void PanelInstall::InstallPanel() {
  // The panel's folder in the assembly area: the area itself when it was extracted flat.
  const std::string source = assembly_.addOnFolder(AddOnKind::Panel);
  installed_.nameRecord(frm.optFSCONV.value() ? state.FName : state.AircraftName);
  const bool ready = runSteps(
      {
          {"make",
           [&] {
             if (frm.optFSCONV.value()) fs.mkDir(state.FName);
           }},
          {"",
           [&] {
             if (frm.optFSCONV.value()) state.AircraftName = state.FName;
           }},
          {"", [&] { frm.setMousePointer(MousePointer::Hourglass); }},
          {"", [&] { copies_.showCopyWindow(); }},
          {"", [&] { state.PatternList = panelPatternList(fs.readFile(source + "\\panel.cfg")); }},
      },
      [&](const FileError& e, const Step& failed) {
        return onMakeFolderFailure(e, failed.label == "make");
      });
  if (!ready) return;

  const std::string target = state.AircraftName;
  const Failure failure{*this};
  const CopyPassHandler onPassFailure = [&](const FileError& e, PassStep step) {
    frm.setMousePointer(MousePointer::Default);
    if (e.number() == err::PathFileAccess && step == PassStep::MakeFolder)
      return Resume::next();  // PanelDocs is there already, from an earlier document or panel
    // Yes replaces the file: passing over the copy would delete the new file from the
    // assembly area without it ever arriving.
    if (e.number() == err::PathFileAccess && step == PassStep::Copy)
      return failure.overwrite() ? Resume::replace() : Resume::stop();
    failure.report(e);
    return Resume::stop();
  };
  const CopyPass passes[] = {
      {state.PatternList, target + "\\", "", "", false, source},
      {"*.gau", state.FSim + "\\Gauges\\", "", "", false, source},
      {"*.wav", state.FSim + "\\Sound\\", "", "", false, source},
      {"*.*", target + "\\PanelDocs\\", "", target + "\\PanelDocs\\", false, source},
  };
  for (const CopyPass& pass : passes)
    if (!copies_.runCopyPass(pass, onPassFailure)) return;

  installed_.endRecord(false);  // success is said once the record is complete
  copies_.hideCopyWindow();
  tk.msgBox("Panel Files Installed Successfully!", "Success!", MsgIcon::Information,
            MsgButtons::OK);
  assembly_.cleanUpAfter(AddOnKind::Panel, false);
  frm.frmPanelInstall.setVisible(false);
  frm.optFSCONV.setEnabled(true);
  frm.txtPanelName.setText("");
  frm.SSTab1.setTab(0);
  state.PanelData = 0;
  state.PatternList.clear();
  frm.setMousePointer(MousePointer::Default);
}

}  // namespace orvex

// Emptying the assembly area: its whole tree of folders, then its files, and the Cancel that
// throws a loaded archive away. Guards keep every deletion inside the assembly area, and a
// symbolic link there, at any depth, is removed as a link: what it points at is never the
// assembly area's.
#include <algorithm>

#include "assembly/assembly_area.h"
#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/toolkit.h"
#include "program/steps.h"

namespace orvex {
namespace {

// Only an assembly area of Orvex's own is emptied, while the program runs in its root.
bool ownAssemblyArea(FileSystem& fs, const std::string& area) {
  return dos::lower(fs.curDir()).find("\\orvex") != std::string::npos &&
         dos::lower(area).find("\\assembly") != std::string::npos;
}

// The files lying directly in a folder, read-only ones too, and its links, removed as links.
// False when the handler stopped.
bool removeFiles(FileSystem& fs, const std::string& folder, const StepHandler& onFailure) {
  std::vector<std::string> files, links;
  if (!runSteps({{"", [&] { files = fs.listFilesWithoutLinks(folder, "*.*", links); }}}, onFailure))
    return false;
  std::vector<Step> steps;
  for (const std::string& link : links)
    steps.push_back({"", [&fs, path = folder + "\\" + link] { fs.removeLink(path); }});
  for (const std::string& file : files)
    steps.push_back({"", [&fs, path = folder + "\\" + file] {
                       fs.setAttrNormal(path);
                       fs.kill(path);
                     }});
  return runSteps(steps, onFailure);
}

// A folder with everything below it; a link at its place or anywhere below goes as a link,
// and nothing is listed or deleted through it. False when the handler stopped.
bool removeFolder(FileSystem& fs, const std::string& folder, const StepHandler& onFailure) {
  if (fs.isLink(folder)) return runSteps({{"", [&] { fs.removeLink(folder); }}}, onFailure);
  if (!removeFiles(fs, folder, onFailure)) return false;
  // Listed once the links are gone: what is left are folders of the area's own.
  std::vector<std::string> folders;
  if (!runSteps({{"", [&] { folders = fs.listDirs(folder); }}}, onFailure)) return false;
  for (const std::string& below : folders)
    if (!removeFolder(fs, below, onFailure)) return false;
  return runSteps({{"", [&] { fs.rmDir(folder); }}}, onFailure);
}

}  // namespace

bool AssemblyArea::insideAssemblyArea(const std::string& folder) {
  const std::string assembly = dos::lower(fs.fullPath(state.OrvexAssemblyDir));
  const std::string target = dos::lower(fs.fullPath(folder));
  return target == assembly || dos::startsWith(target, assembly + "\\");
}

StepHandler AssemblyArea::cleanUpFailure() {
  return [this](const FileError& e, const Step&) {
    const int n = e.number();
    if (n == err::FileNotFound || n == err::PathFileAccess || n == err::PathNotFound)
      return Resume::next();
    tk.msgBox(errorMessage("Error", e), "Cancel Errors", MsgIcon::Information, MsgButtons::OK);
    fs.closeAll();
    return Resume::stop();
  };
}

void AssemblyArea::RemoveDirectories() {
  const StepHandler onFailure = cleanUpFailure();
  const bool own = ownAssemblyArea(fs, state.OrvexAssemblyDir);
  // Out of the area first: DOS removes no folder that is the current directory.
  std::vector<std::string> folders;
  if (!runSteps({{"", [&] { fs.chDir(state.OrvexDir); }},
                 {"",
                  [&] {
                    if (own) folders = fs.listDirs(state.OrvexAssemblyDir);
                  }}},
                onFailure))
    return;
  for (const std::string& folder : folders)
    if (!removeFolder(fs, folder, onFailure)) return;
}

void AssemblyArea::cleanUpAfter(AddOnKind kind, bool folders) {
  const std::string folder = addOnFolder(kind);
  if (addOns_.alone() || !insideAssemblyArea(folder)) {
    if (folders) RemoveDirectories();
    DeleteAssembly();
    addOns_.clear();
    return;
  }
  // Another add-on in this one's folder or below it stays whole: then only the files this one
  // left at the top of its folder go.
  const std::string below = dos::lower(folder) + "\\";
  const bool holdsAnother =
      std::any_of(addOns_.all().begin(), addOns_.all().end(), [&](const AddOn& a) {
        return !(a.kind == kind && dos::equalsNoCase(a.folder, folder)) &&
               (dos::equalsNoCase(a.folder, folder) ||
                dos::startsWith(dos::lower(a.folder), below));
      });
  const StepHandler onFailure = cleanUpFailure();
  if (holdsAnother)
    removeFiles(fs, folder, onFailure);
  else
    removeFolder(fs, folder, onFailure);
  addOns_.drop(kind, folder);
}

void AssemblyArea::removeScannedLeftovers() {
  if (!ownAssemblyArea(fs, state.OrvexAssemblyDir)) return;
  const StepHandler onFailure = cleanUpFailure();
  for (const std::string& name : addOns_.scannedTop()) {
    const std::string path = state.OrvexAssemblyDir + "\\" + name;
    bool go = true;
    if (fs.isLink(path) || fs.isDirectory(path))
      go = removeFolder(fs, path, onFailure);
    else if (fs.isFile(path))
      go = runSteps({{"",
                      [&] {
                        fs.setAttrNormal(path);
                        fs.kill(path);
                      }}},
                    onFailure);
    if (!go) break;
  }
  addOns_.clear();
}

void AssemblyArea::DeleteAssembly() {
  if (!ownAssemblyArea(fs, state.OrvexAssemblyDir)) return;
  frm.setMousePointer(MousePointer::Hourglass);
  try {
    // The list is taken once and kept: nothing that runs meanwhile may change what is deleted.
    std::vector<std::string> names, links;
    try {
      names = fs.listFilesWithoutLinks(state.OrvexAssemblyDir, "*.*", links);
    } catch (const FileError& e) {
      // A missing assembly area holds nothing to delete.
      if (e.number() != err::PathNotFound) throw;
    }
    // Links are removed as links; clearing a link's attributes would change what it points at.
    for (const std::string& link : links) fs.removeLink(state.OrvexAssemblyDir + "\\" + link);
    for (const std::string& name : names) {
      const std::string file = state.OrvexAssemblyDir + "\\" + name;
      fs.setAttrNormal(file);
      fs.kill(file);
    }
    frm.cmdInstall.setCaption("");
    frm.cmdInstall.setVisible(false);
    frm.cmdCancelLoad.setVisible(false);
  } catch (const FileError& e) {
    frm.setMousePointer(MousePointer::Default);
    tk.msgBox(errorMessage("Error ", e), "System Error", MsgIcon::Warning, MsgButtons::OK);
    fs.closeAll();
    return;
  }
  frm.setMousePointer(MousePointer::Default);
}

void AssemblyArea::cmdCancelLoad_Click() {
  fs.closeAll();
  setVisible({&frm.File1, &frm.frmDirectories}, false);
  frm.Image1.setVisible(true);
  setVisible({&frm.Image2, &frm.Image3, &frm.Image4, &frm.lvwAircraft, &frm.labLiveryTarget,
              &frm.lvwLiveryTarget, &frm.cmdInstallLivery},
             false);
  frm.cmdInstall.setVisible(false);
  frm.setMousePointer(MousePointer::Hourglass);
  RemoveDirectories();
  DeleteAssembly();
  addOns_.clear();
  frm.setMousePointer(MousePointer::Default);
}

}  // namespace orvex

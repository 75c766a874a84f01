// Emptying the assembly area: its seven sub-folders, then its files, and the Cancel that throws
// a loaded archive away. Guards keep every
// deletion inside the assembly area, and a symbolic link there is removed as a link: what it
// points at is never the assembly area's.
#include "assembly/assembly_area.h"
#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/toolkit.h"
#include "program/steps.h"

namespace orvex {

bool AssemblyArea::insideAssemblyArea(const std::string& folder) {
  const std::string assembly = dos::lower(fs.fullPath(state.OrvexAssemblyDir));
  const std::string target = dos::lower(fs.fullPath(folder));
  return target == assembly || dos::startsWith(target, assembly + "\\");
}

void AssemblyArea::RemoveDirectories() {
  for (const char* name :
       {"\\Model", "\\Panel", "\\Sound", "\\Texture", "\\Documentation", "\\Unknown", "\\Image"}) {
    const std::string folder = state.OrvexAssemblyDir + name;
    // A link of the folder's name goes as a link, and nothing is deleted through it.
    const bool link = fs.isLink(folder);
    const bool carriedOn = runSteps(
        {
            {"", [&] { link ? fs.removeLink(folder) : fs.chDir(folder); }},
            // Only when the change really landed in the sub-folder: a missing folder leaves
            // the current directory elsewhere, and nothing is deleted there.
            {"",
             [&] {
               if (!link && fs.curDir() == folder) fs.removeLinks(folder);
             }},
            {"",
             [&] {
               if (!link && fs.curDir() == folder) fs.kill(folder + "\\*.*");
             }},
            {"", [&] { fs.chDir(state.OrvexDir); }},
            {"",
             [&] {
               if (!link) fs.rmDir(folder);
             }},
        },
        [&](const FileError& e, const Step&) {
          const int n = e.number();
          if (n == err::FileNotFound || n == err::PathFileAccess || n == err::PathNotFound)
            return Resume::next();
          tk.msgBox(errorMessage("Error", e), "Cancel Errors", MsgIcon::Information,
                    MsgButtons::OK);
          fs.closeAll();
          return Resume::stop();
        });
    if (!carriedOn) return;
  }
}

void AssemblyArea::DeleteAssembly() {
  if (dos::lower(fs.curDir()).find("\\orvex") == std::string::npos) return;
  if (dos::lower(state.OrvexAssemblyDir).find("\\assembly") == std::string::npos) return;
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
  setVisible({&frm.Image2, &frm.Image3, &frm.Image4}, false);
  frm.cmdInstall.setVisible(false);
  frm.setMousePointer(MousePointer::Hourglass);
  RemoveDirectories();
  DeleteAssembly();
  frm.setMousePointer(MousePointer::Default);
}

}  // namespace orvex

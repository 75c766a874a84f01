// The panel install: the target panel folder chosen in the panel frame (a new panel folder of
// FSFSCONV, an aircraft's existing panel folder, or a folder of the user's), and the panel's
// files moved into it and into the simulator's Gauges and Sound folders.
#pragma once

#include <string>

#include "assembly/assembly_area.h"
#include "install/copy_pass.h"
#include "installed/installed_tab.h"
#include "program/context.h"
#include "program/file_lists.h"

namespace orvex {

class PanelInstall : Component {
 public:
  PanelInstall(Context& c, CopyPasses& copies, AssemblyArea& assembly, InstalledTab& installed,
               FileLists& lists)
      : Component(c), copies_(copies), assembly_(assembly), installed_(installed), lists_(lists) {}

  // The target choice.
  void optFSCONV_Click();
  void optMyChoice_Click();
  void optPanelLetMe_Click();
  void txtPanelName_Change();
  void Drive2_Change();
  void Dir2_Change();
  void cmdPanelCancel_Click();

  // The install.
  void cmdPanelInstall_Click();
  void InstallPanel();

 private:
  // The two answers to a failure of the install, shared by the click and InstallPanel.
  struct Failure;
  // Failures before the copy passes: a folder to make that exists already is the overwrite
  // question; anything else ends the install.
  Resume onMakeFolderFailure(const FileError& e, bool makingFolder);
  // A panel installed into the assembly area, or any folder below it, would go with its next
  // clean-up without a word.
  bool refuseAssemblyArea(const std::string& folder);
  // The three targets.
  void installToFsconv();
  void installToExisting();
  void installToChosenPath();

  CopyPasses& copies_;
  AssemblyArea& assembly_;
  InstalledTab& installed_;
  FileLists& lists_;
};

}  // namespace orvex

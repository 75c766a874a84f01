// The sound install: the target sound folder chosen in the sound frame (the simulator's Sound
// folder, an aircraft's sound folder, or a folder of the user's), and the sound set's files
// moved there, its documents into a Documentation folder beside them.
#pragma once

#include "assembly/assembly_area.h"
#include "install/copy_pass.h"
#include "installed/installed_tab.h"
#include "program/context.h"
#include "program/file_lists.h"

namespace orvex {

class SoundInstall : Component {
 public:
  SoundInstall(Context& c, CopyPasses& copies, AssemblyArea& assembly, InstalledTab& installed,
               FileLists& lists)
      : Component(c), copies_(copies), assembly_(assembly), installed_(installed), lists_(lists) {}

  // The target choice.
  void optSound_Click();
  void optSoundDir_Click();
  void optSoundCustom_Click();
  void Drive3_Change();
  void Dir3_Change();
  void Command3_Click();

  // The install.
  void cmdInstallSound_Click();

 private:
  CopyPasses& copies_;
  AssemblyArea& assembly_;
  InstalledTab& installed_;
  FileLists& lists_;
};

}  // namespace orvex

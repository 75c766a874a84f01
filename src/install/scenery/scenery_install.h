// The scenery install: the target chosen in the scenery frame (the simulator's Scenery folder
// or one of the user's), the files sorted into a new scenery folder, and the area entry added
// to the simulator's scenery list, in the list's own encoding.
#pragma once

#include <string>

#include "assembly/assembly_area.h"
#include "install/copy_pass.h"
#include "installed/installed_tab.h"
#include "program/context.h"
#include "program/file_lists.h"

namespace orvex {

class SceneryInstall : Component {
 public:
  SceneryInstall(Context& c, CopyPasses& copies, AssemblyArea& assembly, InstalledTab& installed,
                 FileLists& lists)
      : Component(c), copies_(copies), assembly_(assembly), installed_(installed), lists_(lists) {}

  // The target choice and the target label.
  void optSceneryDefault_Click();
  void optSceneryOptional_Click();
  void drvScenery_Change();
  void dirScenery_Change();
  void txtSceneryName_Change();
  void DisplaySceneryName();
  void Command2_Click();

  // The install, and the area it adds to the scenery list.
  void Command1_Click();
  void UpdateSceneryConfig();
  // The folder a scenery goes to with the target chosen now, and its area's Local= text.
  std::string sceneryFolder() const;
  std::string sceneryLocal();

 private:
  std::string sceneryTargetCaption();
  // Whether the scenery list can be read as text (or is not there yet); false, with a
  // message, for one that cannot.
  bool sceneryListReadable();

  CopyPasses& copies_;
  AssemblyArea& assembly_;
  InstalledTab& installed_;
  FileLists& lists_;
};

}  // namespace orvex

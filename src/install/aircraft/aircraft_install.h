// The aircraft install: its folders named from its Aircraft.cfg, and its files sorted out of
// the assembly area into them, gauges into the simulator's Gauges folder.
#pragma once

#include <string>

#include "assembly/assembly_area.h"
#include "install/copy_pass.h"
#include "installed/installed_tab.h"
#include "program/context.h"

namespace orvex {

class AircraftInstall : Component {
 public:
  AircraftInstall(Context& c, CopyPasses& copies, AssemblyArea& assembly, InstalledTab& installed)
      : Component(c), copies_(copies), assembly_(assembly), installed_(installed) {}

  void cmdInstall_Click();
  // The four folder names from Aircraft.cfg; false, with the reason shown, when it cannot be
  // read or names no single folder.
  bool CheckAirConfig();
  // False when a folder could not be made for another reason than that it exists.
  bool MakeAircraftDirectories(const std::string& SimName);

 private:
  CopyPasses& copies_;
  AssemblyArea& assembly_;
  InstalledTab& installed_;
};

}  // namespace orvex

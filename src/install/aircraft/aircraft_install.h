// The aircraft install: its folders named from its Aircraft.cfg, and its files sorted out of
// the assembly area into them, gauges into the simulator's Gauges folder.
#pragma once

#include <string>
#include <vector>

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
  // The four folder names from the Aircraft.cfg of the aircraft's folder in the assembly
  // area; false, with the reason shown, when it cannot be read or names no single folder.
  bool CheckAirConfig(const std::string& folder);
  // The aircraft's folders in the simulator: its own, the four that Aircraft.cfg names, the
  // three of the sorting table and those of its tree (names relative to the aircraft's
  // folder). False when one could not be made for another reason than that it exists.
  bool MakeAircraftDirectories(const std::string& SimName,
                               const std::vector<std::string>& treeFolders = {});

 private:
  enum class Outcome { Installed, Passed, Stopped };
  // One aircraft, from its folder in the assembly area, as one install of its own.
  Outcome installAircraft(const std::string& folder);

  bool pack_ = false;  // a pack is being installed: one aircraft's trouble leaves the others
  CopyPasses& copies_;
  AssemblyArea& assembly_;
  InstalledTab& installed_;
};

}  // namespace orvex

// The repaint install: a texture folder that came without an aircraft becomes a livery of one of
// the simulator's aircraft, chosen from the Hangar's list: the folder copied into the aircraft's
// folder under its own name (or one the user gives when that is taken), and a [fltsim.N] section
// added to its Aircraft.cfg, from the block the repaint brings or from the aircraft's first one.
// Each livery is an install of its own, undone by Uninstall like any other; so is a livery taken
// out from the Hangar.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "assembly/assembly_area.h"
#include "hangar/hangar_tab.h"
#include "install/copy_pass.h"
#include "installed/installed_tab.h"
#include "program/context.h"

namespace orvex {

class LiveryInstall : Component {
 public:
  LiveryInstall(Context& c, CopyPasses& copies, AssemblyArea& assembly, InstalledTab& installed,
                HangarTab& hangar)
      : Component(c),
        copies_(copies),
        assembly_(assembly),
        installed_(installed),
        hangar_(hangar) {}

  // After Refresh, or when another simulator is chosen: a repaint in the assembly area is
  // offered for the simulator's aircraft, those whose texture files match its own first.
  void showRepaint();
  void lvwLiveryTarget_Change();
  void cmdInstallLivery_Click();
  // The Hangar's Remove Livery: the livery chosen there taken out of its aircraft (its section
  // of Aircraft.cfg, and its texture folder unless another livery uses it), recorded so that
  // the Installed tab can put it back.
  void cmdRemoveLivery_Click();

 private:
  enum class Outcome { Installed, Cancelled, Stopped };
  Outcome installLivery(const AddOn& livery, const HangarAircraft& aircraft);
  // The name of the livery's folder in the aircraft: its own, or, when that is taken, one the
  // user gives (offered a free one); empty when the user cancels.
  std::string folderNameIn(const HangarAircraft& aircraft, const std::string& own);
  // The [fltsim.N] block the repaint brings in a readme or configuration file: the one that names
  // the texture suffix, else the first. A file that cannot be read throws.
  std::optional<std::vector<std::string>> blockOf(const std::string& texture);
  void hideRepaint();
  // Takes the livery out, within its record; false, having said why, when it could not be.
  bool takeOut(const HangarAircraft& aircraft, const HangarLivery& livery);

  CopyPasses& copies_;
  AssemblyArea& assembly_;
  InstalledTab& installed_;
  HangarTab& hangar_;
  std::vector<HangarAircraft> targets_;  // by row of the list
};

}  // namespace orvex

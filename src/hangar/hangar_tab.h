// The Hangar tab: every aircraft of the selected simulator, installed by Orvex or by hand, with
// its liveries, the install that brought it and what is broken in it; a livery taken out again,
// recorded like an install; and which aircraft use a gauge of the simulator's Gauges folder.
// Read when the tab is shown, never at start-up.
#pragma once

#include <string>
#include <vector>

#include "hangar/hangar_reading.h"
#include "install/copy_pass.h"
#include "installed/installed_tab.h"
#include "program/context.h"

namespace orvex {

class HangarTab : Component {
 public:
  static constexpr int kHangarTab = 5;

  HangarTab(Context& c, InstalledTab& installed, CopyPasses& copies)
      : Component(c), installed_(installed), copies_(copies) {}

  // The tab shown, or the simulator changed while it is shown: the list is read anew.
  void SSTab1_Click();
  void refreshHangar();
  // The chosen aircraft's liveries, and its problems in the note under the lists.
  void lvwHangar_Change();
  void lvwLiveries_Change();
  // Takes the chosen livery out of its aircraft: its section of Aircraft.cfg, and its texture
  // folder unless another livery uses it. Recorded, so that the Installed tab can put it back.
  void cmdRemoveLivery_Click();

  // The aircraft of a simulator: only those that changed since the last reading are read again.
  std::vector<HangarAircraft> aircraftOf(const std::string& simulator);
  // For each gauge of the simulator's Gauges folder among paths that aircraft's panels use, but
  // those of the aircraft folders own: "g1.gau is used by 3 aircraft: A, B, C.".
  std::vector<std::string> gaugeUsage(const std::string& simulator,
                                      const std::vector<std::string>& paths,
                                      const std::vector<std::string>& own);

 private:
  // Takes the livery out, within its record; false, having said why, when it could not be.
  bool takeOut(const HangarAircraft& aircraft, const HangarLivery& livery);

  InstalledTab& installed_;
  CopyPasses& copies_;
  std::vector<HangarAircraft> shown_;  // by row
};

}  // namespace orvex

// The Hangar tab: every aircraft of the selected simulator, installed by Orvex or by hand, with
// its liveries, the install that brought it and what is broken in it; and which aircraft use a
// gauge of the simulator's Gauges folder. Read when the tab is shown, never at start-up.
#pragma once

#include <string>
#include <vector>

#include "hangar/hangar_reading.h"
#include "installed/installed_tab.h"
#include "program/context.h"

namespace orvex {

class HangarTab : Component {
 public:
  static constexpr int kHangarTab = 5;

  HangarTab(Context& c, InstalledTab& installed) : Component(c), installed_(installed) {}

  // The tab shown, or the simulator changed while it is shown: the list is read anew.
  void SSTab1_Click();
  void refreshHangar();
  // The chosen aircraft's liveries, and its problems in the note under the lists.
  void lvwHangar_Change();
  void lvwLiveries_Change();
  // The aircraft and the livery chosen on the tab; null when none is.
  const HangarAircraft* chosenAircraft() const;
  const HangarLivery* chosenLivery() const;

  // The aircraft of a simulator: only those that changed since the last reading are read again.
  std::vector<HangarAircraft> aircraftOf(const std::string& simulator);
  // For each gauge of the simulator's Gauges folder among paths that aircraft's panels use, but
  // those of the aircraft folders own: "g1.gau is used by 3 aircraft: A, B, C.".
  std::vector<std::string> gaugeUsage(const std::string& simulator,
                                      const std::vector<std::string>& paths,
                                      const std::vector<std::string>& own);

 private:
  InstalledTab& installed_;
  std::vector<HangarAircraft> shown_;  // by row
};

}  // namespace orvex

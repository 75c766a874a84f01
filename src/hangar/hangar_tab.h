// The Hangar tab: every aircraft of the selected simulator, installed by Orvex or by hand, with
// its liveries, the install that brought it and what is broken in it. Read when the tab is
// shown, never at start-up.
#pragma once

#include <string>
#include <vector>

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
  // The chosen aircraft's liveries and problems, in the note under the list.
  void lvwHangar_Change();

 private:
  InstalledTab& installed_;
  std::vector<std::string> notes_;  // by row: the liveries and problems in full
};

}  // namespace orvex

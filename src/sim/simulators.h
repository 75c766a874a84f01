// The simulators: choosing one of the four (the option buttons, forgetting a directory with a
// double click on the location label) and the directory browser in which the user points a
// simulator at its root directory.
#pragma once

#include "assembly/assembly_area.h"
#include "hangar/hangar_tab.h"
#include "install/livery/livery_install.h"
#include "install/scenery/scenery_install.h"
#include "installed/installed_tab.h"
#include "program/context.h"
#include "program/file_lists.h"
#include "program/profiles.h"
#include "program/settings.h"
#include "program/window_helpers.h"
#include "scenery_library/scenery_library.h"

namespace orvex {

class Simulators : Component {
 public:
  Simulators(Context& c, WindowHelpers& ui, FileLists& lists, Settings& settings,
             AssemblyArea& assembly, InstalledTab& installed, SceneryInstall& scenery,
             HangarTab& hangar, LiveryInstall& livery, SceneryLibrary& library)
      : Component(c),
        ui_(ui),
        lists_(lists),
        settings_(settings),
        assembly_(assembly),
        installed_(installed),
        scenery_(scenery),
        hangar_(hangar),
        livery_(livery),
        library_(library) {}

  // The selection procedure of the four profiles.
  void optFS98_Click();
  void optFS2000_Click();
  void optCFS_Click();
  void optCFS2_Click();
  void labLocation_DblClick();
  // Resets the panel and sound installation frames, when a simulator without a directory is
  // chosen.
  void ClearAll();

  // The directory browser.
  void cmdSetDirectories_Click();
  void Drive1_Change();
  void Dir1_Change();
  void cmdSelect_Click();
  void cmdCancel_Click();

 private:
  void selectProfile(const SimProfile& profile);

  WindowHelpers& ui_;
  FileLists& lists_;
  Settings& settings_;
  AssemblyArea& assembly_;
  InstalledTab& installed_;
  SceneryInstall& scenery_;
  HangarTab& hangar_;
  LiveryInstall& livery_;
  SceneryLibrary& library_;
};

}  // namespace orvex

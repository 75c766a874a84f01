// The Scenery Library tab: every area of the selected simulator's scenery list in layer order,
// with its folder, its state, the install that added it and what is wrong with it; areas turned
// on and off, moved up and down, taken out and added. Each change is one record of the Installed
// tab, written whole beside the old list and moved into place after the list's backup.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "install/copy_pass.h"
#include "installed/installed_tab.h"
#include "program/context.h"
#include "program/file_lists.h"

namespace orvex {

class SceneryList;
struct ListChange;
struct SectionKey;

class SceneryLibrary : Component {
 public:
  static constexpr int kSceneryLibraryTab = 6;

  SceneryLibrary(Context& c, InstalledTab& installed, CopyPasses& copies, FileLists& lists);
  ~SceneryLibrary();

  // The tab shown, or the simulator changed while it is shown: the list is read anew.
  void SSTab1_Click();
  void refreshLibrary();
  void lvwLibrary_Change();

  void cmdLibraryEnable_Click();
  void cmdLibraryDisable_Click();
  void cmdLibraryUp_Click();
  void cmdLibraryDown_Click();
  void cmdLibraryRemove_Click();

  // A folder chosen with the directory lists becomes a new area at the top.
  void cmdLibraryAddFolder_Click();
  void drvLibrary_Change();
  void dirLibrary_Change();
  void cmdLibraryFolderAdd_Click();
  void cmdLibraryFolderCancel_Click();

 private:
  struct Reading;

  // The list of the simulator as read now, shown in the tab.
  void readLibrary();
  // Shows the list read, the area of this key selected when given.
  void show(const SectionKey* select);
  void updateButtons();
  // The area of the selected row; a beep and false when none is.
  bool chosenArea(size_t& area);
  // Enable and Disable.
  void setActive(bool active);
  // Move Up (-1) and Down (+1): the area trades layers with its neighbour in that direction.
  void move(int direction);
  // Writes one change of the list as one record named recordName, and says done in the note:
  // refused when the list on disk is no longer the one read. The area changed stays selected.
  bool change(const std::string& recordName,
              const std::function<ListChange(const SceneryList&)>& make, const std::string& done);

  InstalledTab& installed_;
  CopyPasses& copies_;
  FileLists& lists_;
  std::unique_ptr<Reading> reading_;
};

}  // namespace orvex

// The assembly area: what kind of add-on it holds (Refresh), the aircraft's title and preview
// pictures, and emptying it (the clean-up, and the Cancel that throws a loaded archive away).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive/archives.h"
#include "assembly/addon_list.h"
#include "program/context.h"
#include "program/file_lists.h"
#include "program/steps.h"

namespace orvex {

class AssemblyArea : Component {
 public:
  AssemblyArea(Context& c, FileLists& lists, Archives& archives)
      : Component(c), lists_(lists), archives_(archives) {}

  // Refresh: the scan and the tab and frame that go with what it found.
  void cmdRefresh_Click();
  void AutoLoad();
  void GetDataType();

  // What the last Refresh found, wherever it lies in the area.
  const AddOnList& addOns() const { return addOns_; }
  AddOnList& addOns() { return addOns_; }
  // The folder of the add-on of a kind that is being installed: the assembly area itself for
  // an add-on extracted flat.
  std::string addOnFolder(AddOnKind kind) const;
  // Empties the area after an install of a kind: the whole area when that add-on was all it
  // held, else only the add-on's own folder, so that the other add-ons stay to be installed.
  // folders: the area's sub-folders go too (a panel's install leaves them, as it always has).
  void cleanUpAfter(AddOnKind kind, bool folders = true);

  // A pack of aircraft: each listed by its title with a check box; the install button counts
  // the checked ones.
  void showPack();
  void lvwAircraft_Check();
  // The aircraft to install: the checked ones of a pack, or the one aircraft.
  std::vector<const AddOn*> chosenAircraft() const;
  // After some aircraft of a pack were installed: the rest offered again, as Refresh would.
  void showPackLeft();
  // What the area held beside the add-ons when it was scanned (a pack's own readme) goes, once
  // they are installed; whatever arrived since stays for the next Refresh.
  void removeScannedLeftovers();
  // An add-on's folder below the area, emptied by its install, goes with its empty folders;
  // any file or link left in it keeps it.
  void removeEmptiedFolder(const std::string& folder);

  // The aircraft's title, cleaned into its folder's name, and its preview pictures.
  void GetAircraftName();
  void CleanUpAircraftName();
  void FindAircraftImage();
  int16_t DisplayImage(int16_t Direction);
  void Image2_Click();
  void Image3_Click();

  // Emptying the area: every folder of its tree, then its files; Cancel does both.
  void RemoveDirectories();
  void DeleteAssembly();
  void cmdCancelLoad_Click();
  // Whether a folder is the assembly area or lies below it (where the next clean-up would
  // take whatever is installed there).
  bool insideAssemblyArea(const std::string& folder);

 private:
  // What the clean-up does when a step fails: a file or folder already gone is passed over,
  // anything else is told of and ends it.
  StepHandler cleanUpFailure();
  // Says when an Aircraft.cfg names several liveries whose folders are not here.
  void warnOfLiveries(const AddOn& aircraft);
  // Says what the area holds when it is no add-on.
  void sayNothingFound();
  // An archive lying in the area (extracted by hand from a download that held it) is opened
  // where it lies when the user says so.
  void openArchivesFound();

  FileLists& lists_;
  Archives& archives_;
  AddOnList addOns_;
};

}  // namespace orvex

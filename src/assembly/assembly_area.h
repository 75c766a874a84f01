// The assembly area: what kind of add-on it holds (Refresh), the aircraft's title and preview
// pictures, and emptying it (the clean-up, and the Cancel that throws a loaded archive away).
#pragma once

#include <cstdint>
#include <string>

#include "program/context.h"
#include "program/file_lists.h"

namespace orvex {

class AssemblyArea : Component {
 public:
  AssemblyArea(Context& c, FileLists& lists) : Component(c), lists_(lists) {}

  // Refresh: the scan and the tab and frame that go with what it found.
  void cmdRefresh_Click();
  void AutoLoad();
  void GetDataType();

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
  FileLists& lists_;
};

}  // namespace orvex

// The aircraft a simulator holds, installed by Orvex or by hand, read from its Aircraft folder:
// each folder's liveries, and what is broken in it, in a plain sentence each.
#pragma once

#include <string>
#include <vector>

namespace orvex {

class FileSystem;

struct HangarAircraft {
  std::string folder;                 // the folder's name in the simulator's Aircraft folder
  std::string title;                  // the first livery's title, else the folder's name
  std::vector<std::string> liveries;  // the title= of each [fltsim.N] section, in file order
  std::vector<std::string> problems;
};

// Every folder of <simulator>\Aircraft, sorted by title without regard to case. A file that
// cannot be read is a problem of its aircraft, never a failure; a missing Aircraft folder
// reads as none.
std::vector<HangarAircraft> readHangar(FileSystem& fs, const std::string& simulator);

}  // namespace orvex

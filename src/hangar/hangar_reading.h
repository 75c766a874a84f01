// The aircraft a simulator holds, installed by Orvex or by hand, read from its Aircraft folder:
// each folder's liveries, and what is broken in it, in a plain sentence each. What was read is
// kept between readings, with the times of the folders and files it came from, so that only
// aircraft that changed since are read again.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvex {

class FileSystem;

struct HangarLivery {
  std::string section;  // "fltsim.1", lower case
  std::string title;    // its title=
  std::string texture;  // its texture= ("" for the plain texture folder)
  // The folder its texture= names: "texture", "texture.red".
  std::string textureFolder() const { return texture.empty() ? "texture" : "texture." + texture; }
};

struct HangarAircraft {
  std::string folder;  // the folder's name in the simulator's Aircraft folder
  std::string title;   // the first livery's title, else the folder's name
  std::vector<HangarLivery> liveries;
  std::vector<std::string> problems;
  std::vector<std::string> textureFiles;  // the names in its texture folders, lower case
  std::vector<std::string> gauges;        // the gauges its panels name, once each

  // What the reading keeps beside: the gauges not found in the panel folder, which the
  // simulator's Gauges folder must hold, and where their problems go among the others.
  std::vector<std::string> gaugesElsewhere;
  size_t gaugeProblemsAt = 0;
  // What the reading looked at (relative to the Aircraft folder) and when each last changed.
  std::vector<std::pair<std::string, long long>> looked;
  // A folder or file could not be read: what was read is not kept, and read again next time.
  bool readFailed = false;
};

struct HangarReading {
  std::vector<HangarAircraft> aircraft;  // sorted by title without regard to case
  // What to keep for the next reading; empty when the kept one still holds.
  std::string toKeep;
};

// Every folder of <simulator>\Aircraft. A file that cannot be read is a problem of its aircraft,
// never a failure; a missing Aircraft folder reads as none. kept: what an earlier reading of
// the same simulator gave to keep (empty for none).
HangarReading readHangar(FileSystem& fs, const std::string& simulator, std::string_view kept = {});

}  // namespace orvex

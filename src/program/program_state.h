// The program state: the one record of form-level fields that every procedure reads and writes.
#pragma once

#include <cstdint>
#include <string>

namespace orvex {

struct ProgramState {
  int16_t i = 0;                 // shared loop index; DisplayFileCopy shows entry i of File1
  std::string OrvexDir;          // root directory, ends with "\"
  std::string OrvexAssemblyDir;  // OrvexDir + "Assembly"
  std::string FSim;              // root directory of the selected simulator (or its placeholder)
  std::string FS98Path;
  std::string FS2000Path;
  std::string CFSPath;
  std::string CFS2Path;
  std::string ZipPath;
  std::string FlightSim;  // "FS98", "FS2K", "CFS" or "CFS2"
  std::string AircraftName;
  std::string PatternList;
  std::string ModelDir;
  std::string PanelDir;
  std::string SoundDir;
  std::string TextureDir;
  int16_t ImageCount = 0;
  std::string Title;
  int16_t ZipWarning = 0;
  int16_t AircraftData = 0;
  int16_t PanelData = 0;
  int16_t SoundData = 0;
  int16_t SceneryData = 0;
  std::string FName;
  int16_t CancelAircraftInstall = 0;

  bool operator==(const ProgramState&) const = default;
};

inline const char* const kFS98Placeholder = "Select FS98 Directory";
inline const char* const kFS2000Placeholder = "Select FS2000 Directory";
inline const char* const kCFSPlaceholder = "Select CFS Directory";
inline const char* const kCFS2Placeholder = "Select CFS2 Directory";
inline const char* const kZipPlaceholder = "Select ZIP Download Directory";

// A directory value counts as not set when its first six characters are "Select".
bool isPlaceholder(const std::string& value);        // compares with "Select"
bool isPlaceholderNoCase(const std::string& value);  // compares lower-cased with "select"

}  // namespace orvex

// The profile table of the four simulators.
#include "sim/profiles.h"

namespace orvex {

const std::array<SimProfile, 4>& simProfiles() {
  static const std::array<SimProfile, 4> table = {{
      {"FS98", &frmOrvex2::optFS98, &ProgramState::FS98Path, kFS98Placeholder, "FS98 Directory",
       "\\Fltsim98.cfg", true, true},
      {"FS2K", &frmOrvex2::optFS2000, &ProgramState::FS2000Path, kFS2000Placeholder,
       "FS2000 Directory", "\\FS2000.exe", true, false},
      {"CFS", &frmOrvex2::optCFS, &ProgramState::CFSPath, kCFSPlaceholder, "CFS Directory",
       "\\Combatfs.exe", true, true},
      {"CFS2", &frmOrvex2::optCFS2, &ProgramState::CFS2Path, kCFS2Placeholder, "CFS2 Directory",
       "\\cfs2.exe", false, true},
  }};
  return table;
}

}  // namespace orvex

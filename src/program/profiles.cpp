// The profile table of the four simulators.
#include "program/profiles.h"

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

const SimProfile* selectedProfile(const frmOrvex2& frm) {
  for (const SimProfile& p : simProfiles())
    if ((frm.*p.option).value()) return &p;
  return nullptr;
}

void refreshFSimFromOptions(ProgramState& state, const frmOrvex2& frm) {
  // Tested in this order: CFS, CFS2, FS2000, FS98.
  for (int k : {2, 3, 1, 0}) {
    const SimProfile& p = simProfiles()[size_t(k)];
    if ((frm.*p.option).value()) {
      state.FSim = state.*p.path;
      return;
    }
  }
}

}  // namespace orvex

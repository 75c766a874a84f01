// The four simulator profiles as one table.
#pragma once

#include <array>
#include <string>

#include "program/program_state.h"
#include "ui/windows.h"

namespace orvex {

struct SimProfile {
  const char* tag;                  // FlightSim
  OptionButton frmOrvex2::*option;  // its option button
  std::string ProgramState::*path;  // its path field
  const char* placeholder;       // the path field's placeholder and the button caption while unset
  const char* directoryCaption;  // cmdSetDirectories caption while set
  const char* checkFile;         // proves a directory to be this simulator's root
  bool fsconvPanels;             // the FSFSCONV panel target is offered
  bool panelStepHidesSoundPath;  // the panel step hides labDisplaySoundPath
};

// In the order in which the options are tested: FS98, FS2000, CFS, CFS2.
const std::array<SimProfile, 4>& simProfiles();

// The profile whose option is selected; null when none is.
const SimProfile* selectedProfile(const frmOrvex2& frm);
// FSim from the selected option, tested in the order CFS, CFS2, FS2000, FS98.
void refreshFSimFromOptions(ProgramState& state, const frmOrvex2& frm);

}  // namespace orvex

// The kinds of add-on and the steps a user takes in the window to install one, shared by
// the install tests and the driver that runs the real program to be killed.
#pragma once

#include <optional>
#include <string>

#include "app/orvex.h"

namespace orvex::test {

// A livery is a repaint added to the world's other aircraft.
enum class Kind { Aircraft, Panel, Sound, Scenery, Livery };
inline constexpr Kind kKinds[] = {Kind::Aircraft, Kind::Panel, Kind::Sound, Kind::Scenery,
                                  Kind::Livery};
const char* kindName(Kind kind);
std::optional<Kind> kindNamed(const std::string& name);

inline const std::string kSceneryName = "Test Scenery";

// What the user does for an install: Refresh, then the target and Install where the window
// offers them.
void installAsTheUserWould(Orvex& app, Kind kind);

// The Scenery Library tab shown, as the user shows it, the area of this title chosen there and
// a button pressed; false, with nothing pressed, when the tab does not list that title.
bool pressInLibrary(Orvex& app, const std::string& title, Button& button);

// The Installed tab shown, as the user shows it before looking at the installs, and its list.
inline ListView& installedList(Orvex& app) {
  app.frm.SSTab1.setTab(InstalledTab::kInstalledTab);
  return app.frm.lvwInstalled;
}

}  // namespace orvex::test

// The scenery frame's target label: "Install to: ", the wrapped simulator path and the name.
#include "app/orvex.h"

namespace orvex {

// Every "\" from the fourth character on gets a blank after it, so that the label can wrap a
// long path between folder names; the "\" of a drive root stays as it is.
std::string wrappedPath(const std::string& path) {
  std::string out;
  for (size_t k = 0; k < path.size(); ++k) {
    out += path[k];
    if (path[k] == '\\' && k >= 3) out += ' ';
  }
  return out;
}

std::string Orvex::sceneryTargetCaption() {
  refreshFSimFromOptions();
  return "Install to: \r" + wrappedPath(state.FSim) + " \\Scenery \\" + frm.txtSceneryName.text();
}

void Orvex::txtSceneryName_Change() {
  frm.labSceneryDir.setCaption(sceneryTargetCaption());
}

void Orvex::DisplaySceneryName() {
  if (isPlaceholder(state.FSim) || frm.txtSceneryName.text().empty()) return;
  frm.labSceneryDir.setCaption(sceneryTargetCaption());
}

}  // namespace orvex

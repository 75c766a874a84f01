// The scenery frame's target label: "Install to: ", the wrapped simulator path and the name.
#include "app/orvex.h"
#include "platform/dos_path.h"
#include "platform/file_system.h"

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

std::string Orvex::sceneryFolder() const {
  const std::string& name = frm.txtSceneryName.text();
  return frm.optSceneryOptional.value() ? frm.dirScenery.path() + "\\" + name
                                        : state.FSim + "\\Scenery\\" + name;
}

std::string Orvex::sceneryLocal() {
  if (!frm.optSceneryOptional.value()) return "SCENERY\\" + frm.txtSceneryName.text() + "\\Scenery";
  // The folder the files really go to: the simulator finds it relative to its own folder
  // when it lies inside, and by its full path anywhere else.
  const std::string folder = fs.fullPath(sceneryFolder() + "\\Scenery");
  std::string root = fs.fullPath(state.FSim);
  if (root.empty() || root.back() != '\\') root += "\\";
  if (dos::startsWith(dos::lower(folder), dos::lower(root))) return folder.substr(root.size());
  return folder;
}

void Orvex::txtSceneryName_Change() {
  frm.labSceneryDir.setCaption(sceneryTargetCaption());
}

void Orvex::DisplaySceneryName() {
  if (isPlaceholder(state.FSim) || frm.txtSceneryName.text().empty()) return;
  frm.labSceneryDir.setCaption(sceneryTargetCaption());
}

}  // namespace orvex

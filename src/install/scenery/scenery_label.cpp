// The scenery frame's target label: "Install to: ", the wrapped simulator path and the name.
#include "install/scenery/scenery_area.h"
#include "install/scenery/scenery_install.h"
#include "platform/dos_path.h"
#include "platform/file_system.h"
#include "program/profiles.h"
#include "program/window_helpers.h"

namespace orvex {

std::string SceneryInstall::sceneryTargetCaption() {
  refreshFSimFromOptions(state, frm);
  return "Install to: \r" + wrappedPath(state.FSim) + " \\Scenery \\" + frm.txtSceneryName.text();
}

std::string SceneryInstall::sceneryFolder() const {
  const std::string& name = frm.txtSceneryName.text();
  return frm.optSceneryOptional.value() ? frm.dirScenery.path() + "\\" + name
                                        : state.FSim + "\\Scenery\\" + name;
}

std::string SceneryInstall::sceneryLocal() {
  if (!frm.optSceneryOptional.value()) return "SCENERY\\" + frm.txtSceneryName.text() + "\\Scenery";
  // The folder the files really go to: the simulator finds it relative to its own folder
  // when it lies inside, and by its full path anywhere else.
  return areaLocal(fs, state.FSim, sceneryFolder() + "\\Scenery");
}

void SceneryInstall::txtSceneryName_Change() {
  frm.labSceneryDir.setCaption(sceneryTargetCaption());
}

void SceneryInstall::DisplaySceneryName() {
  if (isPlaceholder(state.FSim) || frm.txtSceneryName.text().empty()) return;
  frm.labSceneryDir.setCaption(sceneryTargetCaption());
}

}  // namespace orvex

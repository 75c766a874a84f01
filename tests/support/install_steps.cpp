// The user's steps to install each kind of add-on.
#include "support/install_steps.h"

namespace orvex::test {

const char* kindName(Kind kind) {
  switch (kind) {
    case Kind::Aircraft: return "aircraft";
    case Kind::Panel: return "panel";
    case Kind::Sound: return "sound";
    case Kind::Scenery: return "scenery";
    case Kind::Livery: return "livery";
  }
  return "";
}

std::optional<Kind> kindNamed(const std::string& name) {
  for (Kind kind : kKinds)
    if (name == kindName(kind)) return kind;
  return std::nullopt;
}

void installAsTheUserWould(Orvex& app, Kind kind) {
  app.frm.cmdRefresh.click();
  if (app.ended()) return;
  switch (kind) {
    case Kind::Aircraft:
      if (app.frm.cmdInstall.visible()) app.frm.cmdInstall.click();
      break;
    case Kind::Panel:
      if (!app.frm.frmPanelInstall.visible()) return;
      app.frm.optFSCONV.setValue(true);
      app.frm.txtPanelName.setText("Test");
      app.frm.cmdPanelInstall.click();
      break;
    case Kind::Sound:
      if (!app.frm.frmSound.visible()) return;
      app.frm.optSound.setValue(true);
      app.frm.cmdInstallSound.click();
      break;
    case Kind::Scenery:
      if (!app.frm.frmScenery.visible()) return;
      app.frm.txtSceneryName.setText(kSceneryName);
      app.frm.optSceneryDefault.setValue(true);
      app.frm.Command1.click();
      break;
    case Kind::Livery:
      // The aircraft it was painted for comes first, chosen.
      if (app.frm.cmdInstallLivery.visible()) app.frm.cmdInstallLivery.click();
      break;
  }
}

bool pressInLibrary(Orvex& app, const std::string& title, Button& button) {
  app.frm.SSTab1.setTab(SceneryLibrary::kSceneryLibraryTab);
  const auto& rows = app.frm.lvwLibrary.rows();
  for (size_t r = 0; r < rows.size(); ++r) {
    if (rows[r][0] != title) continue;
    app.frm.lvwLibrary.setListIndex(int(r));
    button.click();
    return true;
  }
  return false;
}

}  // namespace orvex::test

// The Preview buttons: the install run by a second program that is never shown, over an overlay
// of the disk, and what it did shown file by file before anything is installed.
#pragma once

#include <functional>

#include "installed/installed_tab.h"
#include "program/context.h"
#include "program/window_helpers.h"

namespace orvex {

class InstallPreview : Component {
 public:
  // Runs the install of a button in a second program with this one's state and windows, on the
  // given file system, toolkit and shell.
  using SecondProgram = std::function<void(FileSystem& overlay, Toolkit& toolkit, Shell& shell,
                                           Button frmOrvex2::*install)>;

  InstallPreview(Context& c, WindowHelpers& ui, InstalledTab& installed, SecondProgram second)
      : Component(c), ui_(ui), installed_(installed), second_(std::move(second)) {}

  // Which aircraft use the gauges an install replaces.
  InstalledTab::GaugeUsage gaugeUsage;

  void cmdPreview_Click();
  void cmdPanelPreview_Click();
  void cmdSoundPreview_Click();
  void cmdSceneryPreview_Click();
  void cmdPreviewInstall_Click();
  void cmdPreviewClose_Click();

 private:
  // The preview of the install a button starts; the button is pressed again when the preview
  // says so.
  void showPreview(Button frmOrvex2::*install);

  WindowHelpers& ui_;
  InstalledTab& installed_;
  SecondProgram second_;
  bool installAfterPreview_ = false;
};

}  // namespace orvex

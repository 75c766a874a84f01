// Helpers every part of the window uses: centring a window, the pause that keeps the window
// responsive, the location label's colours, help, and the one-time zip warning window.
#pragma once

#include <string>

#include "program/context.h"

namespace orvex {

class WindowHelpers : Component {
 public:
  explicit WindowHelpers(Context& c) : Component(c) {}

  void CenterForm(Form& form);
  // Waits NumSecs while the window goes on handling events; not past the program's end.
  void Pause(int NumSecs);
  void SetLabelColour(const std::string& SimName, Label& LabelName);
  void labHelp_Click();
  void frmAnimation_Load();
  void frmWinZipWarning_Load();
  void chkNotAgain_Click();
  void cmdOK_Click();
  void showWinZipWarning();
};

// A path with a blank after every "\" from the fourth character on, so a label can wrap it.
std::string wrappedPath(const std::string& path);

}  // namespace orvex

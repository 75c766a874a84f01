// Helpers shared by many procedures: centring, the responsive pause, the location label's
// colours, help, and the one-time zip warning window.
#include "program/window_helpers.h"

#include <cmath>

#include "platform/toolkit.h"

namespace orvex {

void WindowHelpers::CenterForm(Form& form) {
  frm.setMousePointer(MousePointer::Hourglass);
  const int screenH = int(std::lround(tk.screenHeight() * 0.85));
  const int top = screenH / 2 - form.height() / 2;
  const int left = tk.screenWidth() / 2 - form.width() / 2;
  form.move(left, top);
  frm.setMousePointer(MousePointer::Default);
}

void WindowHelpers::Pause(int NumSecs) {
  const double start = tk.clock();
  while (tk.clock() - start < NumSecs && !ended()) tk.doEvents();
}

void WindowHelpers::SetLabelColour(const std::string& SimName, Label& LabelName) {
  if (isPlaceholder(SimName))
    LabelName.setColours(colours::Red, colours::White);
  else
    LabelName.setColours(colours::LightGrey, colours::Black);
}

void WindowHelpers::labHelp_Click() {
  tk.openHelp(state.OrvexDir + "Orvex.html");
}

void WindowHelpers::frmAnimation_Load() {
  // The copy window centres itself with its own pointer.
  anim.setMousePointer(MousePointer::Hourglass);
  const int top = int(std::lround(tk.screenHeight() * 0.85)) / 2 - anim.height() / 2;
  anim.move(tk.screenWidth() / 2 - anim.width() / 2, top);
  anim.setMousePointer(MousePointer::Default);
}

void WindowHelpers::frmWinZipWarning_Load() {
  CenterForm(warn);
  warn.labZipWarning.setCaption("Remember! Don't use folder names...");
  warn.loaded = true;
}

void WindowHelpers::chkNotAgain_Click() {
  state.ZipWarning = warn.chkNotAgain.value() != 0 ? 1 : 0;
}

void WindowHelpers::cmdOK_Click() {
  warn.hide();
}

void WindowHelpers::showWinZipWarning() {
  if (!warn.loaded) frmWinZipWarning_Load();
  warn.show();
  tk.runModal(warn);
}

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

}  // namespace orvex

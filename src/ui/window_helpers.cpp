// Helpers shared by many procedures: centring, the responsive pause, the location label's
// colours, the copy window's file name, help, and the one-time zip warning window.
#include <cmath>

#include "app/orvex.h"
#include "platform/toolkit.h"

namespace orvex {

void Orvex::CenterForm(Form& form) {
  frm.setMousePointer(MousePointer::Hourglass);
  const int screenH = int(std::lround(tk.screenHeight() * 0.85));
  const int top = screenH / 2 - form.height() / 2;
  const int left = tk.screenWidth() / 2 - form.width() / 2;
  form.move(left, top);
  frm.setMousePointer(MousePointer::Default);
}

void Orvex::Pause(int NumSecs) {
  const double start = tk.clock();
  while (tk.clock() - start < NumSecs && !ended_) tk.doEvents();
}

void Orvex::SetLabelColour(const std::string& SimName, Label& LabelName) {
  if (isPlaceholder(SimName))
    LabelName.setColours(colours::Red, colours::White);
  else
    LabelName.setColours(colours::LightGrey, colours::Black);
}

void Orvex::DisplayFileCopy() {
  // The running copy pass names its own files; File1 serves only outside one.
  const std::string& name = passNames_ && state.i >= 0 && size_t(state.i) < passNames_->size()
                                ? (*passNames_)[size_t(state.i)]
                                : frm.File1.list(state.i);
  anim.labAnimation.setCaption("Copying " + name);
  anim.labAnimation.refresh();
}

void Orvex::labHelp_Click() {
  tk.openHelp(state.OrvexDir + "Orvex.html");
}

void Orvex::frmAnimation_Load() {
  // The copy window centres itself with its own pointer.
  anim.setMousePointer(MousePointer::Hourglass);
  const int top = int(std::lround(tk.screenHeight() * 0.85)) / 2 - anim.height() / 2;
  anim.move(tk.screenWidth() / 2 - anim.width() / 2, top);
  anim.setMousePointer(MousePointer::Default);
}

void Orvex::frmWinZipWarning_Load() {
  CenterForm(warn);
  warn.labZipWarning.setCaption("Remember! Don't use folder names...");
  warn.loaded = true;
}

void Orvex::chkNotAgain_Click() {
  state.ZipWarning = warn.chkNotAgain.value() != 0 ? 1 : 0;
}

void Orvex::cmdOK_Click() {
  warn.hide();
}

void Orvex::showWinZipWarning() {
  if (!warn.loaded) frmWinZipWarning_Load();
  warn.show();
  tk.runModal(warn);
}

}  // namespace orvex

// The aircraft's preview pictures on the Aircraft tab, stepped through with two arrows.
#include <algorithm>
#include <exception>

#include "assembly/assembly_area.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/shell.h"
#include "platform/toolkit.h"

namespace orvex {
namespace {

constexpr const char* kPicturePattern = "*.jpg;*.gif";

// Selects entry k of the picture list and shows it in place of the start picture.
void showPicture(Context& o, int k) {
  frmOrvex2& f = o.frm;
  f.File1.setListIndex(k);
  f.Image4.setPicture(f.File1.path() + "\\" + f.File1.list(k));
  f.Image4.setVisible(true);
  f.Image1.setVisible(false);
}

void playClick(Context& o) {
  try {
    o.shell.playSound(o.fs.hostPath(o.state.OrvexDir + "click.wav"));
  } catch (const std::exception&) {
    // The click is a courtesy; stepping works without it.
  }
}

}  // namespace

void AssemblyArea::FindAircraftImage() {
  int count = 0;
  try {
    count = lists_.listFiles(addOnFolder(AddOnKind::Aircraft), kPicturePattern);
  } catch (const FileError&) {
    count = 0;  // pictures are only a preview: none to show
  }
  state.ImageCount = int16_t(std::min(count, 32767));
  if (state.ImageCount == 0) {
    frm.Image4.setVisible(false);
    frm.Image1.setVisible(true);
    return;
  }
  if (state.ImageCount > 1) setVisible({&frm.Image2, &frm.Image3}, true);
  showPicture(ctx, 0);
}

int16_t AssemblyArea::DisplayImage(int16_t Direction) {
  frm.setMousePointer(MousePointer::Hourglass);
  const int k = frm.File1.listIndex();
  if (k < state.ImageCount - 1 && Direction == 3) {
    setVisible({&frm.Image3, &frm.Image2}, true);
    showPicture(ctx, k + 1);
  } else if (Direction == 2 && k > 0) {
    setVisible({&frm.Image2, &frm.Image3}, true);
    showPicture(ctx, k - 1);
  } else {
    if (Direction == 3) frm.Image3.setVisible(false);
    if (Direction == 2) frm.Image2.setVisible(false);
    tk.beep();
  }
  frm.setMousePointer(MousePointer::Default);
  return int16_t(frm.File1.listIndex());
}

void AssemblyArea::Image2_Click() {
  playClick(ctx);
  DisplayImage(2);
}

void AssemblyArea::Image3_Click() {
  playClick(ctx);
  DisplayImage(3);
}

}  // namespace orvex

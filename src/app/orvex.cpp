// The program object: its components are built around the shared objects, and the events of
// its windows wired at once.
#include "app/orvex.h"

namespace orvex {

Orvex::Orvex(FileSystem& fs_, Toolkit& toolkit, Shell& shell_)
    : guardedToolkit_(toolkit, events_),
      recording_(fs_),
      fs(recording_),
      tk(guardedToolkit_),
      shell(shell_),
      frm(recording_),
      context_{state, frm, anim, warn, preview, fs, recording_, tk, shell, run_},
      ui(context_),
      lists(context_),
      settings(context_),
      archive(context_, ui, archives),
      assembly(context_, lists, archive),
      installed(context_, openRecordStore),
      copying(context_, ui, installed),
      aircraft(context_, copying, assembly, installed),
      panel(context_, copying, assembly, installed, lists),
      sound(context_, copying, assembly, installed, lists),
      scenery(context_, copying, assembly, installed, lists),
      hangar(context_, installed),
      livery(context_, copying, assembly, installed, hangar),
      previews(context_, ui, installed,
               [this](FileSystem& overlay, Toolkit& toolkit, Shell& shell,
                      Button frmOrvex2::*install) { runSecond(overlay, toolkit, shell, install); }),
      library(context_, installed, copying, lists),
      sims(context_, ui, lists, settings, assembly, installed, scenery, hangar, livery, library) {
  wireEvents();
}

void Orvex::runSecond(FileSystem& overlay, Toolkit& toolkit, Shell& shell,
                      Button frmOrvex2::*install) {
  Orvex second(overlay, toolkit, shell);
  second.state = state;
  second.assembly.addOns() = assembly.addOns();
  second.frm.copyFrom(frm);
  second.anim.copyFrom(anim);
  second.warn.copyFrom(warn);
  second.handle([&] { (second.frm.*install).click(); });
}

}  // namespace orvex

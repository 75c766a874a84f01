// The program object: its windows are made with it and their events wired at once.
#include "app/orvex.h"

namespace orvex {

Orvex::Orvex(FileSystem& fs_, Toolkit& toolkit, Shell& shell_)
    : guardedToolkit_(toolkit, events_),
      recording_(fs_),
      fs(recording_),
      tk(guardedToolkit_),
      shell(shell_),
      frm(recording_) {
  wireEvents();
}

}  // namespace orvex

// The program object: its windows are made with it and their events wired at once.
#include "app/orvex.h"

namespace orvex {

Orvex::Orvex(FileSystem& fs_, Toolkit& toolkit, Shell& shell_)
    : guardedToolkit_(toolkit, events_), fs(fs_), tk(guardedToolkit_), shell(shell_), frm(fs_) {
  wireEvents();
}

}  // namespace orvex

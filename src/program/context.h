// What every component of the program sees of it: the program state, the windows' models, the
// services, the recording layer the installs write through, and whether the program is busy
// or has ended. The components are handed it instead of the program object itself.
#pragma once

#include "program/program_state.h"
#include "ui/windows.h"

namespace orvex {

class FileSystem;
class RecordingFileSystem;
class Shell;
class Toolkit;

// How the run stands: installs in progress (events that would change what they rely on are
// refused meanwhile), and the end of the program, after which nothing more may run.
struct RunState {
  int busy = 0;
  bool ended = false;
};

struct Context {
  ProgramState& state;
  frmOrvex2& frm;
  frmAnimation& anim;
  frmWinZipWarning& warn;
  frmPreview& preview;
  FileSystem& fs;  // the simulator's tree and the assembly area, through the recording layer
  RecordingFileSystem& recording;
  Toolkit& tk;  // through the last guard of every event
  Shell& shell;
  RunState& run;

  bool busy() const { return run.busy > 0; }
  bool ended() const { return run.ended; }
};

// The base of every component: the context under the names its procedures use.
class Component {
 protected:
  explicit Component(Context& c)
      : ctx(c),
        state(c.state),
        frm(c.frm),
        anim(c.anim),
        warn(c.warn),
        preview(c.preview),
        fs(c.fs),
        tk(c.tk),
        shell(c.shell) {}
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;
  ~Component() = default;

  bool busy() const { return ctx.busy(); }
  bool ended() const { return ctx.ended(); }

  Context& ctx;
  ProgramState& state;
  frmOrvex2& frm;
  frmAnimation& anim;
  frmWinZipWarning& warn;
  frmPreview& preview;
  FileSystem& fs;
  Toolkit& tk;
  Shell& shell;
};

// Marks the program busy for its lifetime (an install in progress).
class BusyScope {
 public:
  explicit BusyScope(Context& c) : run_(c.run) { ++run_.busy; }
  ~BusyScope() { --run_.busy; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  RunState& run_;
};

}  // namespace orvex

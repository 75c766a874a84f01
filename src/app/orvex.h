// The program: its components composed around the shared objects (the program state, the
// windows' models, the file system as installs see it, the guarded toolkit), with start-up,
// shutdown and the wiring of every event (events.cpp).
#pragma once

#include <functional>
#include <string>

#include "app/event_guard.h"
#include "archive/archives.h"
#include "assembly/assembly_area.h"
#include "hangar/hangar_tab.h"
#include "install/aircraft/aircraft_install.h"
#include "install/copy_pass.h"
#include "install/livery/livery_install.h"
#include "install/panel/panel_install.h"
#include "install/scenery/scenery_install.h"
#include "install/sound/sound_install.h"
#include "installed/install_preview.h"
#include "installed/installed_tab.h"
#include "program/context.h"
#include "program/file_lists.h"
#include "program/program_state.h"
#include "program/settings.h"
#include "program/window_helpers.h"
#include "record/recording_file_system.h"
#include "scenery_library/scenery_library.h"
#include "sim/simulators.h"
#include "ui/window_program.h"
#include "ui/windows.h"

namespace orvex {

class ArchiveReader;
class FileSystem;
class Shell;
class Toolkit;

class Orvex : public WindowProgram {
  // Declared first: the toolkit the procedures use goes through the guard, and the file system
  // they use records what installs change.
  EventGuard events_;
  GuardedToolkit guardedToolkit_;
  RecordingFileSystem recording_;

 public:
  Orvex(FileSystem& fs, Toolkit& toolkit, Shell& shell);
  Orvex(const Orvex&) = delete;
  Orvex& operator=(const Orvex&) = delete;

  FileSystem& fs;
  Toolkit& tk;
  Shell& shell;

  // What the program is built with. Archives opened directly are read with archives; without
  // it they are refused with a message. openRecordStore opens the install records (the
  // database file's host path); without it nothing is recorded. lockRootDirectory takes the
  // lock of the root directory (the lock file's host path), false when another running Orvex
  // holds it; without it the root is not locked.
  ArchiveReader* archives = nullptr;
  InstalledTab::StoreOpener openRecordStore;
  std::function<bool(const std::string& hostPath)> lockRootDirectory;

  ProgramState state;
  frmOrvex2 frm;
  frmAnimation anim;
  frmWinZipWarning warn;
  frmPreview preview;

 private:
  RunState run_;
  Context context_;

 public:
  // The components, each seeing those built before it.
  WindowHelpers ui;
  FileLists lists;
  Settings settings;
  Archives archive;
  AssemblyArea assembly;
  InstalledTab installed;
  CopyPasses copying;
  AircraftInstall aircraft;
  PanelInstall panel;
  SoundInstall sound;
  SceneryInstall scenery;
  HangarTab hangar;
  LiveryInstall livery;
  InstallPreview previews;
  SceneryLibrary library;
  Simulators sims;

  // Runs one event that enters the program from outside (a click, a tick, a drop, a key): a
  // failure that no procedure expected is shown as a "System Error", an install it broke off
  // ends as after a failed step, and the program goes on.
  void handle(const std::function<void()>& procedure) override;
  // True once the program has ended; nothing more may run.
  bool ended() const override { return run_.ended; }
  // True while an install runs; events that would change what it relies on are refused.
  bool busy() const override { return run_.busy > 0; }
  RecordStore* records() const { return installed.records(); }
  // What the components see of the program (a test marks it busy through it, say).
  Context& context() { return context_; }

  // Start-up and shutdown.
  void Form_Load();
  void cmdQuit_Click();
  void Form_Terminate() override;

  // The window toolkit's layer reaches the program through these.
  frmOrvex2& mainWindow() override { return frm; }
  FileSystem& files() override { return fs; }
  void labHelp_Click() override { ui.labHelp_Click(); }
  void pointDirList(DirList& list, const std::string& path) override {
    lists.pointDirList(list, path);
  }
  static std::string rootDirectoryFor(const std::string& currentDir);  // empty: not found

 private:
  void wireEvents();
  void endProgram();
  void shutdown(bool hideWindow);
  // Takes the root directory for this program; false when another running Orvex holds it.
  bool takeRootDirectory();
  // Runs the install of a button in a second program, never shown, with this one's state and
  // windows: the preview of that install.
  void runSecond(FileSystem& overlay, Toolkit& toolkit, Shell& shell, Button frmOrvex2::*install);
  // A procedure of a component, run as an event: refused with a beep while an install runs,
  // or always run.
  template <class C>
  std::function<void()> guarded(C& component, void (C::*procedure)());
  template <class C>
  std::function<void()> plain(C& component, void (C::*procedure)());

  bool shutDown_ = false;
};

}  // namespace orvex

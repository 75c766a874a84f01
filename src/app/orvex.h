// The program: the main window's state, its three windows and every procedure of the main
// window. The procedures are defined in one file per family (start-up, selection, browser,
// clean-up, scan ...); events.cpp wires the controls to them in one place.
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/event_guard.h"
#include "app/program_state.h"
#include "install/copy_pass.h"
#include "platform/record_store.h"
#include "record/recording_file_system.h"
#include "ui/windows.h"

namespace orvex {

class ArchiveReader;
class FileSystem;
class Toolkit;
class Shell;
struct SimProfile;

class Orvex {
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

  // Runs one event that enters the program from outside (a click, a tick, a drop, a key): a
  // failure that no procedure expected is shown as a "System Error", an install it broke off
  // ends as after a failed step, and the program goes on.
  void handle(const std::function<void()>& procedure);

  // Reads archives opened directly; without it they are refused with a message.
  ArchiveReader* archives = nullptr;
  // Opens the install records (the database file's host path); without it nothing is recorded.
  std::function<std::unique_ptr<RecordStore>(const std::string& hostPath)> openRecordStore;
  // Locks the root directory for this process (given the lock file's host path) until it ends;
  // false when another process holds it. Without it the program runs unlocked.
  std::function<bool(const std::string& hostPath)> lockRootDirectory;

  ProgramState state;
  frmOrvex2 frm;
  frmAnimation anim;
  frmWinZipWarning warn;
  frmPreview preview;

  // True once the program has ended; nothing more may run.
  bool ended() const { return ended_; }
  // True while an install runs; events that would change what it relies on are refused.
  bool busy() const { return busy_ > 0; }

  // Start-up and shutdown.
  void Form_Load();
  void cmdQuit_Click();
  void Form_Terminate();
  static std::string rootDirectoryFor(const std::string& currentDir);  // empty: not found
  // False when another copy of the program holds the root directory.
  bool takeRootDirectory();

  // Settings file.
  void GetFSInfo();
  void SaveFSInfo();

  // Shared window helpers.
  void CenterForm(Form& form);
  void Pause(int NumSecs);
  void SetLabelColour(const std::string& SimName, Label& LabelName);
  void DisplayFileCopy();
  void labHelp_Click();
  void frmAnimation_Load();
  void frmWinZipWarning_Load();
  void chkNotAgain_Click();
  void cmdOK_Click();
  void showWinZipWarning();

  // Simulator profiles and selection.
  void selectProfile(const SimProfile& profile);
  void optFS98_Click();
  void optFS2000_Click();
  void optCFS_Click();
  void optCFS2_Click();
  void labLocation_DblClick();
  const SimProfile* selectedProfile() const;
  // FSim from the selected option, tested in the order CFS, CFS2, FS2000, FS98.
  void refreshFSimFromOptions();

  // Directory browser.
  void cmdSetDirectories_Click();
  void Drive1_Change();
  void Dir1_Change();
  void cmdSelect_Click();
  void cmdCancel_Click();
  // Points a directory list at a path; on failure warns, keeps the list where it was and
  // returns false.
  bool pointDirList(DirList& list, const std::string& path);
  // Points a directory list at the drive chosen in its drive list; on failure the drive list
  // goes back to the drive of the directory list.
  void followDrive(DriveList& drive, DirList& dir);
  // The file list of a directory through Dir1 and File1; returns the count.
  int listFiles(const std::string& dir, const std::string& pattern);

  // Whether a folder is the assembly area or lies below it (where the next clean-up would
  // take whatever is installed there).
  bool insideAssemblyArea(const std::string& folder);

  // Assembly clean-up.
  void RemoveDirectories();
  void DeleteAssembly();

  // Zip program bridge.
  void cmdLoadWinZip_Click();
  void FindWinZip();
  void Timer1_Timer();
  void cmdCancelLoad_Click();

  // Opening a downloaded archive directly (chosen in a dialog, or dropped onto the window):
  // its files unpacked flat into the assembly area, then the Refresh button blinks.
  void cmdOpenArchive_Click();
  void openArchive(const std::string& hostPath);

  // Reset of the installation frames, and the scenery target label.
  void ClearAll();
  void DisplaySceneryName();
  void txtSceneryName_Change();

  // Assembly scan, aircraft title and preview pictures.
  void cmdRefresh_Click();
  void AutoLoad();
  void GetDataType();
  void GetAircraftName();
  void CleanUpAircraftName();
  void FindAircraftImage();
  int16_t DisplayImage(int16_t Direction);
  void Image2_Click();
  void Image3_Click();

  // The copy window around an install: opens the animation (53 when it is missing), shows
  // the window and pauses a second; and hides it again.
  void showCopyWindow();
  void hideCopyWindow();
  // One group of files moved out of the assembly area; false when the handler stopped. A
  // target that cannot be written for want of room (or for another reason no handler knows)
  // stops the whole install there, with the files not installed left in the assembly area.
  bool runCopyPass(const CopyPass& pass, const CopyPassHandler& handler);

  // Aircraft install.
  void cmdInstall_Click();
  bool CheckAirConfig();
  // False when a folder could not be made for another reason than that it exists.
  bool MakeAircraftDirectories(const std::string& SimName);

  // Scenery install.
  void optSceneryDefault_Click();
  void optSceneryOptional_Click();
  void drvScenery_Change();
  void dirScenery_Change();
  void Command1_Click();
  void Command2_Click();
  void UpdateSceneryConfig();
  // Whether the simulator's scenery list can be read (a missing one can); when not, the user
  // is told why and nothing is to be installed.
  bool sceneryListReadable();
  // The folder a scenery goes to with the target chosen now, and its area's Local= text.
  std::string sceneryFolder() const;
  std::string sceneryLocal();

  // Panel target choice and install.
  void optFSCONV_Click();
  void optMyChoice_Click();
  void optPanelLetMe_Click();
  void txtPanelName_Change();
  void Drive2_Change();
  void Dir2_Change();
  void cmdPanelCancel_Click();
  void cmdPanelInstall_Click();
  void InstallPanel();

  // The install records: an install is recorded from its first change to its end.
  void beginRecord(const char* kind, const std::string& name);
  void nameRecord(const std::string& name);
  // unwinding: a failure is ending the install, and nothing more may be thrown from here.
  // The first call ends the record; later ones do nothing.
  void endRecord(bool unwinding);
  RecordStore* records() const { return records_.get(); }
  // The preview of each install: where every file would go, nothing changed.
  void cmdPreview_Click();
  void cmdPanelPreview_Click();
  void cmdSoundPreview_Click();
  void cmdSceneryPreview_Click();
  void cmdPreviewInstall_Click();
  void cmdPreviewClose_Click();

  // The Installed tab. Its list is worked out while the tab is shown, and otherwise when it
  // is next shown: looking at every file of every install after each install would cost as
  // much as the install's own bookkeeping.
  static constexpr int kInstalledTab = 4;
  void refreshInstalled();
  void SSTab1_Click();
  void lvwInstalled_Change();
  void cmdUninstall_Click();
  void cmdForget_Click();
  void tmrDigest_Timer();
  // At start-up: the records, and the installs and uninstalls a crash broke off.
  void openRecords();
  void recoverInterrupted();

  // Sound target choice and install.
  void optSound_Click();
  void optSoundDir_Click();
  void optSoundCustom_Click();
  void Drive3_Change();
  void Dir3_Change();
  void Command3_Click();
  void cmdInstallSound_Click();

 private:
  friend class BusyScope;
  void wireEvents();
  void endProgram();
  void shutdown(bool hideWindow);
  std::string sceneryTargetCaption();

  bool ended_ = false;
  bool shutDown_ = false;
  // The names of the copy pass that is running, for the copy window's label.
  const std::vector<std::string>* passNames_ = nullptr;
  // The install's files placed so far (name in the assembly area, target), and the links in
  // the assembly area it has told the user it passes over.
  std::vector<std::pair<std::string, std::string>> placed_;
  std::vector<std::string> linksTold_;
  bool recordOpen_ = false;  // between beginRecord and endRecord
  // Tells once per install which links of the assembly area it leaves where they are.
  void passOverLinks(const std::vector<std::string>& links);
  // Stops the install at a target that could not be written (file `failed` of the pass's
  // names; placedBefore: the files placed by the passes before it): says how much room is
  // wanted, and undoes what was placed when the user says so.
  [[noreturn]] void stopAtFailedWrite(const FileError& e, const std::vector<std::string>& names,
                                      size_t failed, size_t placedBefore);
  std::unique_ptr<RecordStore> records_;
  // The install a preview shows: its Install button, pressed again when the preview says so.
  void showPreview(Button& install, const std::function<void(Orvex&)>& run);
  bool installAfterPreview_ = false;
  // The install chosen on the Installed tab; a beep and false when none is.
  bool chosenInstall(long& id, std::string& name);
  // Why installs are not recorded (shown on the Installed tab, and asked about at an install).
  std::string recordsProblem_;
  // Asks whether to install without a record, the records failing for why; true for Yes.
  bool installUnrecorded(const std::string& why);
  // The installs on the Installed tab, by row; those whose files still await their digests.
  std::vector<long> shownInstalls_;
  bool installedStale_ = false;  // the list waits to be worked out until the tab is shown
  std::vector<long> digestQueue_;
  size_t digestNext_ = 0;
  // Orvex.cfg was there at start-up but could not be read: it is not written over, so that a
  // read that failed once does not cost the user every setting.
  bool settingsUnread_ = false;
  int busy_ = 0;
};

// A path with a blank after every "\" from the fourth character on, so a label can wrap it.
std::string wrappedPath(const std::string& path);

// Records one install for its lifetime: from its first change on, whatever way it ends.
class RecordScope {
 public:
  RecordScope(Orvex& o, const char* kind, const std::string& name)
      : o_(o), failures_(std::uncaught_exceptions()) {
    o_.beginRecord(kind, name);
  }
  // Ending the record may fail; that failure is passed on unless another is ending the
  // install already.
  ~RecordScope() noexcept(false) { o_.endRecord(std::uncaught_exceptions() > failures_); }
  RecordScope(const RecordScope&) = delete;
  RecordScope& operator=(const RecordScope&) = delete;
  // Ends the record now: an install says it succeeded only once its record is complete.
  void end() { o_.endRecord(false); }

 private:
  Orvex& o_;
  int failures_;
};

// Marks the program busy for its lifetime (an install in progress).
class BusyScope {
 public:
  explicit BusyScope(Orvex& o) : o_(o) { ++o_.busy_; }
  ~BusyScope() { --o_.busy_; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  Orvex& o_;
};

}  // namespace orvex

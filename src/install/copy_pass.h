// The copy pass every install moves its files with: list the assembly area once for a
// pattern list, copy each listed file to its target (its name shown first), then remove
// every listed file; the copy window around it; and the record that each install keeps.
#pragma once

#include <exception>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "installed/installed_tab.h"
#include "program/context.h"
#include "program/steps.h"
#include "program/window_helpers.h"

namespace orvex {

struct CopyPass {
  std::string patterns;        // the pattern list of the group
  std::string targetFolder;    // the target of a file is this folder followed by its name
  std::string makeFirst;       // a folder made before the first copy; its failure is ignored
  std::string makeEachTime;    // a folder made before each copy; its failure goes to the handler
  bool skipWhenEmpty = false;  // with no file listed, nothing of the pass runs
  // Where the files come from: the assembly area when empty, else a folder in it.
  std::string sourceFolder{};
  // With listed, exactly these files (names relative to the source folder, "texture.1\a.bmp")
  // instead of those the patterns find; their folders are kept below the target folder unless
  // flatTargets puts each straight into it under its own name.
  bool listed = false;
  std::vector<std::string> names{};
  std::vector<std::string> links{};  // the links found beside them, told of and passed over
  bool flatTargets = false;
};

// The step of a pass that failed.
enum class PassStep { List, MakeFolder, Copy, Replace, ClearAttributes, Delete };

// Says where to go on after a failed step: Resume::next() passes over the failing step,
// Resume::stop() ends the pass (and the install), Resume::replace() after a failed copy
// clears the target's attributes and copies again (a failure of that is step Replace, after
// which the file is passed over unless the handler stops).
using CopyPassHandler = std::function<Resume(const FileError& error, PassStep step)>;

class CopyPasses : Component {
 public:
  CopyPasses(Context& c, WindowHelpers& ui, InstalledTab& installed)
      : Component(c), ui_(ui), installed_(installed) {}

  // An install begins: nothing of it is placed yet, and no link of the area was told of.
  void beginInstall();
  // The copy window around an install: opens the animation (53 when it is missing), shows
  // the window and pauses a second; and hides it again.
  void showCopyWindow();
  void hideCopyWindow();
  // The copy window's label: "Copying " and the file in hand (entry i of the running pass, or
  // of File1 outside one).
  void DisplayFileCopy();
  // How often at most, in seconds of the toolkit's clock, a pass names the file in hand.
  static constexpr double kNameSeconds = 0.075;
  // One group of files moved out of the assembly area; false when the handler stopped. A
  // target that cannot be written for want of room (or for another reason no handler knows)
  // stops the whole install there, with the files not installed left in the assembly area.
  bool runCopyPass(const CopyPass& pass, const CopyPassHandler& handler);

 private:
  using Move = std::pair<std::string, std::string>;  // a file's source and target

  // Names file i of the running pass in the copy window, and lets the window handle its
  // events, when it last did so kNameSeconds ago; else the name is held back.
  void showFileInHand();
  // Names the file in hand now if its name was held back.
  void showHeldName();
  // Lets the window handle its events when it last did so kNameSeconds ago.
  void keepWindowAlive();
  // Tells once per install which links of the assembly area it leaves where they are.
  void passOverLinks(const std::vector<std::string>& links);
  // Stops the install at a target that could not be written (file `failed` of the pass's
  // names, moves their sources and targets; placedBefore: the files placed by the passes before
  // it): says how much room is wanted, and undoes what was placed when the user says so.
  [[noreturn]] void stopAtFailedWrite(const FileError& e, const std::vector<std::string>& names,
                                      const std::vector<Move>& moves, size_t failed,
                                      size_t placedBefore);

  WindowHelpers& ui_;
  InstalledTab& installed_;
  // The names of the copy pass that is running, for the copy window's label.
  const std::vector<std::string>* passNames_ = nullptr;
  // When the window last handled its events during a pass, and whether the file in hand went
  // unnamed.
  double pumpedAt_ = -1e9;
  bool nameHeld_ = false;
  // The install's files placed so far (where it lay in the assembly area, target), and the links in
  // the assembly area it has told the user it passes over.
  std::vector<Move> placed_;
  std::vector<std::string> linksTold_;
};

// Records one install for its lifetime: from its first change on, whatever way it ends.
class RecordScope {
 public:
  RecordScope(InstalledTab& installed, CopyPasses& copies, const char* kind,
              const std::string& name)
      : installed_(installed), failures_(std::uncaught_exceptions()) {
    installed_.beginRecord(kind, name);
    copies.beginInstall();
  }
  // Ending the record may fail; that failure is passed on unless another is ending the
  // install already.
  ~RecordScope() noexcept(false) { installed_.endRecord(std::uncaught_exceptions() > failures_); }
  RecordScope(const RecordScope&) = delete;
  RecordScope& operator=(const RecordScope&) = delete;
  // Ends the record now: an install says it succeeded only once its record is complete.
  void end() { installed_.endRecord(false); }

 private:
  InstalledTab& installed_;
  int failures_;
};

}  // namespace orvex

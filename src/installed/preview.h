// The preview of an install: the very same install procedure, run by a second program that is
// never shown, on an overlay that keeps every write from the disk, with every question answered
// Yes; what it did, read back from the overlay, is where every file of the assembly area goes.
#pragma once

#include <string>
#include <vector>

#include "platform/record_store.h"
#include "platform/shell.h"
#include "platform/toolkit.h"
#include "record/overlay_file_system.h"

namespace orvex {

// The toolkit of the second program: no window, no wait, every question answered Yes and kept.
class PreviewToolkit : public Toolkit {
 public:
  struct Box {
    std::string caption, text;
    MsgButtons buttons;
  };
  std::vector<Box> boxes;
  int beeps = 0;

  MsgAnswer msgBox(const std::string& text, const std::string& caption, MsgIcon icon,
                   MsgButtons buttons) override;
  void beep() override { ++beeps; }
  // Every look at the clock finds a second gone, so that no pause waits.
  double clock() override { return now_ += 1.0; }
  void doEvents() override {}
  int screenWidth() override { return 15360; }
  int screenHeight() override { return 11520; }
  void runModal(Form& form) override;
  std::string chooseFile(const std::string&, const std::string&) override { return {}; }
  // The name offered is taken, as every other question is answered Yes.
  std::optional<std::string> inputBox(const std::string&, const std::string&,
                                      const std::string& answer) override {
    return answer;
  }
  void openHelp(const std::string&) override {}
  void quit() override {}

 private:
  double now_ = 0;
};

// The shell of the second program: it starts nothing and plays nothing.
class PreviewShell : public Shell {
 public:
  int findExecutable(const std::string&, std::string&) override { return 0; }
  int execute(const std::string&) override { return 0; }
  void playSound(const std::string&) override {}
};

// One row of the preview's table: a file of the assembly area.
struct PreviewRow {
  std::string name;
  long long size = 0;
  std::string target;   // the full path it goes to; empty when it is not installed
  std::string meaning;  // "new", "replaces ...", "left behind", "stays in the assembly area"
  bool replaces = false;
};

struct Preview {
  bool installs = false;  // false: the install would refuse or stop; `refusal` says why
  std::string refusal;
  std::vector<PreviewRow> rows;
  std::vector<std::string> folders;    // folders the install makes
  std::vector<std::string> questions;  // "caption: text" of each question it asks
  std::vector<std::string> messages;   // other messages it shows on the way
  std::string area;                    // the scenery list's new area, its lines
  std::string list;                    // the list it is added to
  int files = 0;
  long long bytes = 0;
  int replaced = 0;
};

// What the install did, read from the overlay's writes and the second program's messages.
// below: the disk as it is; simulator: the simulator's folder; records: the install records,
// to name the earlier install a replaced file comes from (may be null).
Preview readPreview(const OverlayFileSystem& overlay, const PreviewToolkit& toolkit,
                    FileSystem& below, const std::string& assembly,
                    const std::vector<std::string>& assemblyFiles, const std::string& simulator,
                    RecordStore* records);

// A size as the user reads it: "300 bytes", "12.5 KB", "3.2 MB".
std::string sizeText(long long bytes);

// The lines above the table: folders, the scenery area, the questions, the counts.
std::string previewSummary(const Preview& preview);

}  // namespace orvex

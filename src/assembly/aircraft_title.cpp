// The aircraft's title from its Aircraft.cfg, cleaned into a folder name, and the install
// button captioned with it.
#include <optional>

#include "assembly/assembly_area.h"
#include "platform/config_entries.h"
#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/toolkit.h"

namespace orvex {

void AssemblyArea::GetAircraftName() {
  ProgramState& s = state;
  // Every aircraft starts without a name: an earlier aircraft's must never be offered for
  // this one, nor be installed into.
  s.AircraftName.clear();
  // Of the aircraft's configuration files only Aircraft.cfg is needed: an aircraft of these
  // simulators often has no Model.cfg, and may borrow another aircraft's panel or sounds.
  const std::string trying = "Aircraft.cfg";
  std::optional<std::string> title;
  try {
    const AircraftItems cfg =
        aircraftItems(fs.readFile(addOnFolder(AddOnKind::Aircraft) + "\\Aircraft.cfg"));
    for (const std::string& item : cfg.items) {
      const std::optional<Entry> entry = entryOf(item);
      if (entry && entry->key == "title") {
        title = entry->value;
        break;
      }
    }
  } catch (const FileError&) {
    frm.setMousePointer(MousePointer::Default);
    if (isPlaceholder(s.FS98Path) && isPlaceholder(s.FS2000Path) && isPlaceholder(s.CFSPath))
      return;
    tk.msgBox("No " + trying + " file found in the Assembly area." + "\r\r" + "Nothing to load...",
              "Aircraft.cfg Error", MsgIcon::Warning, MsgButtons::OK);
    RemoveDirectories();
    DeleteAssembly();
    cmdCancelLoad_Click();
    return;
  }

  if (title) {
    s.AircraftName = *title;
    CleanUpAircraftName();
  }
  // The archive is not offered for install without a name for its folder: an empty one would
  // pour the files into the simulator's own Aircraft folder. Cancel stays to throw it away.
  auto refuse = [&](const std::string& text, const std::string& caption) {
    s.AircraftName.clear();
    frm.cmdInstall.setCaption("");
    frm.cmdInstall.setVisible(false);
    frm.cmdCancelLoad.setVisible(true);
    tk.msgBox(text, caption, MsgIcon::Warning, MsgButtons::OK);
  };
  if (dos::isBlank(s.AircraftName, " ")) {
    refuse("No title found in Aircraft.cfg!", "Aircraft Title Error");
    return;
  }
  if (s.AircraftName.size() > kLongestFolderName) {
    // No file system holds a longer folder name; the install would fail on it, and the whole
    // title would not fit on a button or in a message.
    refuse("The title in Aircraft.cfg is too long for the name of the aircraft folder (" +
               std::to_string(s.AircraftName.size()) + " characters, at most " +
               std::to_string(kLongestFolderName) + ")." + "\r\r" + "Nothing to load...",
           "Aircraft.cfg Error");
    return;
  }
  frm.cmdInstall.setVisible(true);
  if (!isPlaceholder(frm.labLocation.caption())) {
    frm.cmdInstall.setEnabled(true);
    frm.cmdInstall.setCaption("Install " + s.AircraftName + " to " + s.FlightSim);
    frm.cmdCancelLoad.setVisible(true);
  } else {
    setVisible({&frm.cmdInstall, &frm.cmdCancelLoad}, false);
  }
}

void AssemblyArea::CleanUpAircraftName() {
  state.AircraftName = cleanedTitle(state.AircraftName);
}

}  // namespace orvex

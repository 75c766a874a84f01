// The aircraft's title from its Aircraft.cfg, cleaned into a folder name, and the install
// button captioned with it.
#include <algorithm>

#include "app/orvex.h"
#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/text_reading.h"
#include "platform/toolkit.h"

namespace orvex {
namespace {

// The files an aircraft must bring, as they are opened and as a message names them.
struct RequiredFile {
  const char* file;
  const char* shown;
};
constexpr RequiredFile kRequiredFiles[] = {
    {"\\Model.cfg", "Model.cfg"},
    {"\\Panel.cfg", "Panel.cfg"},
    {"\\sound.cfg", "Sound.cfg"},
    {"\\Aircraft.cfg", "Aircraft.cfg"},
};

// The longest name of one folder that the host's and Windows' file systems hold.
constexpr size_t kLongestFolderName = 255;

}  // namespace

void Orvex::GetAircraftName() {
  ProgramState& s = state;
  std::string trying;
  try {
    for (const RequiredFile& f : kRequiredFiles) {
      trying = f.shown;
      fs.checkReadable(s.OrvexAssemblyDir + f.file);
    }
    const std::string text = fs.readFile(s.OrvexAssemblyDir + "\\Aircraft.cfg");
    ItemReader items(text);
    while (!items.eof()) {
      const std::string item = items.next();
      if (dos::lower(item.substr(0, 6)) != "title=") continue;
      s.AircraftName = item.substr(6);
      CleanUpAircraftName();
      if (dos::isBlank(s.AircraftName, " ")) {
        // Installing under an empty name would pour the files into the simulator's own
        // Aircraft folder, so this archive is not offered for install.
        frm.cmdInstall.setCaption("");
        frm.cmdInstall.setVisible(false);
        frm.cmdCancelLoad.setVisible(true);
        tk.msgBox(std::string("The title in Aircraft.cfg leaves no name for the aircraft folder.") +
                      "\r\r" + "Nothing to load...",
                  "Aircraft.cfg Error", MsgIcon::Warning, MsgButtons::OK);
        return;
      }
      if (s.AircraftName.size() > kLongestFolderName) {
        // No file system holds a longer folder name; the install would fail on it, and the
        // whole title would not fit on a button or in a message.
        const size_t length = s.AircraftName.size();
        s.AircraftName.clear();
        frm.cmdInstall.setCaption("");
        frm.cmdInstall.setVisible(false);
        frm.cmdCancelLoad.setVisible(true);
        tk.msgBox("The title in Aircraft.cfg is too long for the name of the aircraft folder (" +
                      std::to_string(length) + " characters, at most " +
                      std::to_string(kLongestFolderName) + ")." + "\r\r" + "Nothing to load...",
                  "Aircraft.cfg Error", MsgIcon::Warning, MsgButtons::OK);
        return;
      }
      frm.cmdInstall.setVisible(true);
      if (!isPlaceholder(frm.labLocation.caption())) {
        frm.cmdInstall.setEnabled(true);
        frm.cmdInstall.setVisible(true);
        frm.cmdInstall.setCaption("Install " + s.AircraftName + " to " + s.FlightSim);
        frm.cmdCancelLoad.setVisible(true);
      } else {
        setVisible({&frm.cmdInstall, &frm.cmdCancelLoad}, false);
      }
      return;
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
  }
}

void Orvex::CleanUpAircraftName() {
  std::string& name = state.AircraftName;
  for (char c : {'/', '\\', '"', '.'})
    name.erase(std::remove(name.begin(), name.end(), c), name.end());
}

}  // namespace orvex

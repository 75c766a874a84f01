// Registering an installed scenery: the backup of the simulator's "Scenery.cfg" and the new
// area entry appended to it.
#include <optional>

#include "install/scenery/scenery_area.h"
#include "install/scenery/scenery_install.h"
#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/text_encoding.h"
#include "platform/toolkit.h"

namespace orvex {
namespace {

std::string unreadableList(const std::string& list, const std::string& why) {
  return list + " cannot be read as a scenery list: " + why + "." + "\r" +
         "The list was left as it is.";
}

}  // namespace

bool SceneryInstall::sceneryListReadable() {
  const std::string list = state.FSim + "\\Scenery.cfg";
  std::string bytes;
  try {
    if (!fs.isFile(list)) return true;
    bytes = fs.readFile(list);
  } catch (const FileError&) {
    return true;  // the update of the list says what keeps the scenery out of it
  }
  std::string why;
  if (decodeText(bytes, why)) return true;
  tk.msgBox("The Scenery " + frm.txtSceneryName.text() + " was not installed:" + "\r" +
                unreadableList(list, why),
            "Scenery List", MsgIcon::Warning, MsgButtons::OK);
  return false;
}

void SceneryInstall::UpdateSceneryConfig() {
  const std::string list = state.FSim + "\\Scenery.cfg";
  const std::string backup = state.FSim + "\\SceneryCfg.bku";
  const std::string name = frm.txtSceneryName.text();
  std::string before;
  bool appending = false;
  try {
    before = fs.readFile(list);
    // Read and added to in its own encoding and line end, or not at all.
    std::string why;
    const std::optional<DecodedText> text = decodeText(before, why);
    if (!text) {
      tk.msgBox("The Scenery " + name + " could not be added to the Scenery list:" + "\r" +
                    unreadableList(list, why),
                "Scenery List", MsgIcon::Warning, MsgButtons::OK);
      return;
    }
    // The backup always holds the list as it was just before this update. The copy replaces
    // an older backup in one step, so a failed copy leaves that one whole rather than none.
    fs.copyFile(list, backup);
    const long number = newAreaNumber(text->text);
    appending = true;
    fs.appendFile(list, text->encode(areaEntry(number, text->fromProgram(name),
                                               text->fromProgram(sceneryLocal()), *text),
                                     false));
  } catch (const FileError& e) {
    fs.closeAll();
    if (e.number() == err::FileNotFound && !appending) {
      tk.msgBox("The Scenery " + name + " could not be added to the Scenery list:" + "\r" + list +
                    " was not found.",
                "Scenery List", MsgIcon::Warning, MsgButtons::OK);
      return;
    }
    tk.msgBox(errorMessage("Error", e), "Update Scenery Config Errors", MsgIcon::Information,
              MsgButtons::OK);
    // A cut entry would leave the simulator with a broken list: put the old bytes back.
    std::string outcome = "Scenery.cfg is unchanged.";
    if (appending) {
      try {
        bool unchanged = false;
        try {
          unchanged = fs.readFile(list) == before;
        } catch (const FileError&) {
          // Unreadable now: write the old bytes back all the same.
        }
        if (!unchanged) fs.replaceFile(list, before);
      } catch (const FileError&) {
        outcome = "Scenery.cfg could not be restored; " + backup + " holds it as it was.";
      }
    }
    tk.msgBox("The Scenery " + name + " was not added to the Scenery list." + "\r" + outcome,
              "Scenery List", MsgIcon::Warning, MsgButtons::OK);
  }
}

}  // namespace orvex

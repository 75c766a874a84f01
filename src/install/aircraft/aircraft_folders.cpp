// The aircraft's folder names from its Aircraft.cfg, and the aircraft folder with its
// sub-folders in the simulator, asked about once when they exist already.
#include "app/orvex.h"
#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/text_reading.h"
#include "platform/toolkit.h"

namespace orvex {
namespace {

// "\Model\" for a value shorter than three characters, else "\Model." + value + "\".
std::string folderName(const std::string& base, const std::string& item, size_t keyLength) {
  if (item.size() <= keyLength + 2) return base + "\\";
  return base + "." + item.substr(keyLength) + "\\";
}

// A value that would lead out of the aircraft folder instead of naming one folder in it.
bool leavesTheFolder(const std::string& item, size_t keyLength) {
  return item.find_first_of("\\/", keyLength) != std::string::npos;
}

}  // namespace

bool Orvex::CheckAirConfig() {
  ProgramState& s = state;
  s.ModelDir.clear();
  s.PanelDir.clear();
  s.SoundDir.clear();
  s.TextureDir.clear();
  std::string unsafe;
  try {
    const std::string data = fs.readFile(s.OrvexAssemblyDir + "\\Aircraft.cfg");
    ItemReader in(data);
    while (!in.eof()) {
      const std::string item = in.next();
      const std::string key = dos::lower(item.substr(0, 6));
      std::string* target = key == "model="   ? &s.ModelDir
                            : key == "panel=" ? &s.PanelDir
                            : key == "sound=" ? &s.SoundDir
                                              : nullptr;
      const bool texture = !target && dos::lower(item.substr(0, 8)) == "texture=";
      if (!target && !texture) continue;
      const size_t keyLength = texture ? 8 : 6;
      if (leavesTheFolder(item, keyLength)) {
        unsafe = item;
        break;
      }
      if (texture) {
        s.TextureDir = folderName("\\Texture", item, 8);
        break;
      }
      *target = folderName(key == "model="   ? "\\Model"
                           : key == "panel=" ? "\\Panel"
                                             : "\\Sound",
                           item, 6);
    }
  } catch (const FileError&) {
    frm.setMousePointer(MousePointer::Default);
    tk.msgBox("No Aircraft files found in the Assembly area.\r\rNothing to load...",
              "Aircraft.cfg Error", MsgIcon::Warning, MsgButtons::OK);
    DeleteAssembly();
    cmdCancelLoad_Click();
    return false;
  }
  if (!unsafe.empty()) {
    // A folder name with a path separator would put files outside the aircraft's folder;
    // the archive stays in the assembly area.
    frm.setMousePointer(MousePointer::Default);
    tk.msgBox("The entry " + unsafe + " in Aircraft.cfg does not name a single folder." +
                  "\r\rNothing has been installed.",
              "Aircraft.cfg Error", MsgIcon::Warning, MsgButtons::OK);
    return false;
  }
  return true;
}

bool Orvex::MakeAircraftDirectories(const std::string& SimName) {
  const ProgramState& s = state;
  const std::string aircraft = SimName + "\\Aircraft\\" + s.AircraftName;
  const std::string folders[] = {aircraft,
                                 aircraft + s.ModelDir,
                                 aircraft + s.PanelDir,
                                 aircraft + s.SoundDir,
                                 aircraft + s.TextureDir,
                                 aircraft + "\\Documentation\\",
                                 aircraft + "\\Unknown\\",
                                 aircraft + "\\Image\\"};
  bool agreed = false;
  for (const std::string& folder : folders) {
    try {
      fs.mkDir(folder);
    } catch (const FileError& e) {
      if (e.number() != err::PathFileAccess) {
        frm.setMousePointer(MousePointer::Default);
        hideCopyWindow();
        tk.msgBox(errorText("Error", e) + "\r" + folder, "Aircraft Directory Error",
                  MsgIcon::Critical, MsgButtons::OK);
        return false;
      }
      if (agreed) continue;
      const MsgAnswer answer =
          tk.msgBox("The " + folder + " Directory already exists!\rDo you want to overwrite?",
                    "Aircraft Directory Error", MsgIcon::Warning, MsgButtons::YesNo);
      if (answer != MsgAnswer::Yes) {
        state.CancelAircraftInstall = 1;
        hideCopyWindow();
        return true;
      }
      agreed = true;
    }
  }
  return true;
}

}  // namespace orvex

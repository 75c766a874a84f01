// The aircraft's folder names from its Aircraft.cfg, and the aircraft folder with its
// sub-folders in the simulator, asked about once when they exist already.
#include <algorithm>
#include <optional>

#include "install/aircraft/aircraft_install.h"
#include "platform/config_entries.h"
#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/toolkit.h"

namespace orvex {
namespace {

// The folder a value names, as the simulator reads it: "\Model\" for none, else
// "\Model." + value + "\".
std::string folderName(const std::string& base, const std::string& value) {
  return value.empty() ? base + "\\" : base + "." + value + "\\";
}

// A value that would lead out of the aircraft folder instead of naming one folder in it.
bool leavesTheFolder(const std::string& value) {
  return value.find_first_of("\\/") != std::string::npos;
}

struct FolderKey {
  const char* key;
  const char* base;
  std::string ProgramState::*dir;
};
constexpr FolderKey kFolderKeys[] = {
    {"model", "\\Model", &ProgramState::ModelDir},
    {"panel", "\\Panel", &ProgramState::PanelDir},
    {"sound", "\\Sound", &ProgramState::SoundDir},
    {"texture", "\\Texture", &ProgramState::TextureDir},
};

}  // namespace

bool AircraftInstall::CheckAirConfig(const std::string& folder) {
  ProgramState& s = state;
  AircraftItems cfg;
  try {
    cfg = aircraftItems(fs.readFile(folder + "\\Aircraft.cfg"));
  } catch (const FileError&) {
    frm.setMousePointer(MousePointer::Default);
    tk.msgBox("No Aircraft files found in the Assembly area.\r\rNothing to load...",
              "Aircraft.cfg Error", MsgIcon::Warning, MsgButtons::OK);
    // The other aircraft of a pack stay.
    if (!pack_) {
      assembly_.DeleteAssembly();
      assembly_.cmdCancelLoad_Click();
    }
    return false;
  }

  // The value of each key. In the aircraft's section the first entry of a key counts, in
  // whatever order the keys come; a file without sections is read from the top, the last
  // model, panel or sound entry counting, up to its first texture entry.
  std::optional<std::string> values[std::size(kFolderKeys)];
  for (const std::string& item : cfg.items) {
    const std::optional<Entry> entry = entryOf(item);
    if (!entry) continue;
    for (size_t k = 0; k < std::size(kFolderKeys); ++k)
      if (entry->key == kFolderKeys[k].key && !(cfg.sectioned && values[k]))
        values[k] = withoutComment(entry->value);
    if (!cfg.sectioned && entry->key == "texture") break;
  }

  for (size_t k = 0; k < std::size(kFolderKeys); ++k) {
    const std::string value = values[k].value_or("");
    if (leavesTheFolder(value)) {
      // A folder name with a path separator would put files outside the aircraft's folder;
      // the archive stays in the assembly area.
      frm.setMousePointer(MousePointer::Default);
      tk.msgBox("The entry " + std::string(kFolderKeys[k].key) + "=" + value +
                    " in Aircraft.cfg does not name a single folder." +
                    "\r\rNothing has been installed.",
                "Aircraft.cfg Error", MsgIcon::Warning, MsgButtons::OK);
      return false;
    }
    // A key the aircraft does not give names the plain folder, as the simulator reads it.
    s.*kFolderKeys[k].dir = folderName(kFolderKeys[k].base, value);
  }
  return true;
}

bool AircraftInstall::MakeAircraftDirectories(const std::string& SimName,
                                              const std::vector<std::string>& treeFolders) {
  const ProgramState& s = state;
  const std::string aircraft = SimName + "\\Aircraft\\" + s.AircraftName;
  std::vector<std::string> folders = {aircraft,
                                      aircraft + s.ModelDir,
                                      aircraft + s.PanelDir,
                                      aircraft + s.SoundDir,
                                      aircraft + s.TextureDir,
                                      aircraft + "\\Documentation\\",
                                      aircraft + "\\Unknown\\",
                                      aircraft + "\\Image\\"};
  // The tree's folders, each once, under their own names: "model" of the tree is the "Model"
  // that Aircraft.cfg names.
  auto key = [](std::string folder) {
    while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return dos::lower(folder);
  };
  for (const std::string& sub : treeFolders) {
    const std::string folder = aircraft + "\\" + sub + "\\";
    auto same = std::find_if(folders.begin(), folders.end(),
                             [&](const std::string& f) { return key(f) == key(folder); });
    if (same == folders.end())
      folders.push_back(folder);
    else
      *same = folder;
  }
  fs.aboutToMake(folders);
  bool agreed = false;
  for (const std::string& folder : folders) {
    try {
      fs.mkDir(folder);
    } catch (const FileError& e) {
      if (e.number() != err::PathFileAccess) {
        frm.setMousePointer(MousePointer::Default);
        copies_.hideCopyWindow();
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
        copies_.hideCopyWindow();
        return true;
      }
      agreed = true;
    }
  }
  return true;
}

}  // namespace orvex

// Several add-ons in one assembly area: a pack of aircraft listed with check boxes, the
// liveries an Aircraft.cfg names without their folders, and the folder an install emptied.
#include <algorithm>

#include "assembly/assembly_area.h"
#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/toolkit.h"

namespace orvex {
namespace {

// A pack's row: the title, or the folder when the Aircraft.cfg gives none.
std::string rowTitle(const AddOn& a) {
  const std::string title = cleanedTitle(a.title);
  return dos::isBlank(title, " ") ? "(no title in its Aircraft.cfg)" : title;
}

}  // namespace

void AssemblyArea::showPack() {
  ProgramState& s = state;
  const std::vector<const AddOn*> aircraft = addOns_.of(AddOnKind::Aircraft);
  std::vector<std::vector<std::string>> rows;
  for (const AddOn* a : aircraft) {
    const std::string folder = a->folder == s.OrvexAssemblyDir
                                   ? std::string("\\")
                                   : a->folder.substr(s.OrvexAssemblyDir.size() + 1) + "\\";
    rows.push_back({rowTitle(*a), folder});
  }
  frm.lvwAircraft.setRows(std::move(rows));
  for (size_t k = 0; k < aircraft.size(); ++k)
    if (!dos::isBlank(cleanedTitle(aircraft[k]->title), " "))
      frm.lvwAircraft.setChecked(int(k), true);
  // The list takes the pictures' place: they would show one aircraft of many.
  setVisible({&frm.Image1, &frm.Image2, &frm.Image3, &frm.Image4}, false);
  frm.lvwAircraft.setVisible(true);
  s.AircraftName.clear();
  lvwAircraft_Check();
}

void AssemblyArea::lvwAircraft_Check() {
  if (!frm.lvwAircraft.visible()) return;
  const int n = frm.lvwAircraft.checkedCount();
  if (isPlaceholder(frm.labLocation.caption())) {
    setVisible({&frm.cmdInstall, &frm.cmdCancelLoad}, false);
    return;
  }
  frm.cmdInstall.setVisible(true);
  frm.cmdCancelLoad.setVisible(true);
  frm.cmdInstall.setEnabled(n > 0);
  frm.cmdInstall.setCaption("Install " + std::to_string(n) + " Aircraft to " + state.FlightSim);
}

std::vector<const AddOn*> AssemblyArea::chosenAircraft() const {
  const std::vector<const AddOn*> aircraft = addOns_.of(AddOnKind::Aircraft);
  if (aircraft.size() <= 1 || !frm.lvwAircraft.visible()) return aircraft;
  std::vector<const AddOn*> chosen;
  for (size_t k = 0; k < aircraft.size(); ++k)
    if (frm.lvwAircraft.checked(int(k))) chosen.push_back(aircraft[k]);
  return chosen;
}

void AssemblyArea::showPackLeft() {
  const size_t left = addOns_.of(AddOnKind::Aircraft).size();
  if (left > 1) {
    showPack();
    return;
  }
  frm.lvwAircraft.setVisible(false);
  if (left == 1) {
    FindAircraftImage();
    GetAircraftName();
  }
}

void AssemblyArea::removeEmptiedFolder(const std::string& folder) {
  if (!insideAssemblyArea(folder)) return;
  try {
    std::vector<std::string> folders = foldersBelow(fs, folder);
    std::reverse(folders.begin(), folders.end());
    for (const std::string& sub : folders) {
      try {
        fs.rmDir(folder + "\\" + sub);
      } catch (const FileError&) {
        // Not empty: what is left stays for the clean-up.
      }
    }
    // The area itself stays.
    if (!dos::equalsNoCase(folder, state.OrvexAssemblyDir)) fs.rmDir(folder);
  } catch (const FileError&) {
    // Not empty, or gone already.
  }
}

void AssemblyArea::warnOfLiveries(const AddOn& aircraft) {
  std::vector<std::string> textures;
  try {
    textures = textureValues(fs.readFile(aircraft.folder + "\\Aircraft.cfg"));
  } catch (const FileError&) {
    return;  // the install says what is wrong with the file
  }
  if (textures.size() < 2) return;
  // The liveries are here when their folders are; with one set of bitmaps lying flat, which
  // livery they belong to cannot be told.
  int present = 0;
  for (const std::string& t : textures)
    if (fs.isDirectory(aircraft.folder + (t.empty() ? "\\Texture" : "\\Texture." + t))) ++present;
  if (present >= 2) return;
  tk.msgBox("This aircraft has " + std::to_string(textures.size()) +
                " liveries, but the files of only one are here. Open the archive with Orvex, or "
                "extract it with its folder names, to install all of them.",
            "Liveries", MsgIcon::Warning, MsgButtons::OK);
}

}  // namespace orvex

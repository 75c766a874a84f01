// The aircraft install: the aircraft's files sorted out of the assembly area into its
// folders by the groups of the sorting table, gauges into the simulator's Gauges folder.
#include "install/aircraft/aircraft_install.h"

#include "assembly/addon_list.h"
#include "platform/config_entries.h"
#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/text_reading.h"
#include "platform/toolkit.h"
#include "program/profiles.h"
#include "program/steps.h"

namespace orvex {
namespace {

enum class Target { Aircraft, Model, Panel, Sound, Texture, Documentation, Gauges, Image, Unknown };

// A group of the sorting table; a null pattern list is worked out at run time.
struct SortGroup {
  const char* groupFile;  // named in the failure question; null keeps the previous one
  const char* patterns;
  Target target;
};

constexpr const char* kFlightPatterns = "Aircraft.cfg;*.air;*_check.txt;*_Notes.txt;_Ref.txt";
constexpr const char* kCombatPatterns =
    "Aircraft.cfg;*.air;*.cdp;*.dp;*_check.cfg;*_Notes.txt;_Ref.txt";

// In the order the groups run; a file goes with the first group whose patterns it matches.
constexpr SortGroup kSortingTable[] = {
    {"Aircraft.cfg", nullptr, Target::Aircraft},
    {"Model.cfg", "Model.cfg;*.mdl;*.mpi;*.nmp", Target::Model},
    {"Panel.cfg", nullptr, Target::Panel},
    {"Sound.cfg", "Sound.cfg;*.wav", Target::Sound},
    {nullptr, "*.bmp;*.?af;*.r8;*.r8?;*.pal", Target::Texture},
    {nullptr, "*.doc;*.txt;*.diz", Target::Documentation},
    {nullptr, "*.gau", Target::Gauges},
    {nullptr, "*.jpg;*.gif", Target::Image},
    {nullptr, "*.*", Target::Unknown},
};

// A file of the aircraft's tree that goes to the simulator's Gauges folder: a gauge, or any
// file of a "gauges" folder.
bool goesToGauges(const std::string& relative) {
  const std::string top = relative.substr(0, relative.find('\\'));
  return dos::endsWithNoCase(relative, ".gau") ||
         (top.size() < relative.size() && dos::equalsNoCase(top, "gauges"));
}

}  // namespace

void AircraftInstall::cmdInstall_Click() {
  BusyScope busy(ctx);
  ProgramState& s = state;
  const bool pack = assembly_.addOns().of(AddOnKind::Aircraft).size() > 1;
  std::vector<std::pair<std::string, std::string>> chosen;  // folder, title
  for (const AddOn* a : assembly_.chosenAircraft()) chosen.emplace_back(a->folder, a->title);
  // Without the aircraft's own name its files would land in the simulator's Aircraft folder.
  if (pack ? chosen.empty() : s.AircraftName.empty()) {
    tk.beep();
    return;
  }
  frm.setMousePointer(MousePointer::Hourglass);
  // Tested in this order: CFS, CFS2, FS2000, FS98.
  refreshFSimFromOptions(state, frm);

  if (!pack) {
    const std::string folder = chosen.empty() ? s.OrvexAssemblyDir : chosen.front().first;
    if (installAircraft(folder) != Outcome::Installed) return;
    assembly_.addOns().drop(AddOnKind::Aircraft, folder);
  } else {
    pack_ = true;
    struct EndPack {
      bool& pack;
      ~EndPack() { pack = false; }
    } endPack{pack_};
    // Each aircraft is an install of its own, so that each can be uninstalled alone; one that
    // is not installed stays in the assembly area with its files.
    std::vector<std::string> left;
    try {
      for (const auto& [folder, title] : chosen) {
        s.AircraftName = cleanedTitle(title);
        if (dos::isBlank(s.AircraftName, " ") || s.AircraftName.size() > kLongestFolderName) {
          left.push_back(dos::fileName(folder) +
                         "\\ (its Aircraft.cfg gives no title to name its "
                         "folder)");
          continue;
        }
        if (installAircraft(folder) == Outcome::Installed)
          assembly_.addOns().drop(AddOnKind::Aircraft, folder);
        else
          left.push_back(s.AircraftName);
      }
    } catch (...) {
      s.AircraftName.clear();
      assembly_.showPackLeft();
      throw;
    }
    s.AircraftName.clear();
    if (!left.empty()) {
      std::string text = std::to_string(chosen.size() - left.size()) + " of " +
                         std::to_string(chosen.size()) +
                         " aircraft were installed. These are still in the assembly area:";
      for (const std::string& name : left) text += "\r   " + name;
      frm.setMousePointer(MousePointer::Default);
      tk.msgBox(text, "Install Aircraft", MsgIcon::Warning, MsgButtons::OK);
      assembly_.showPackLeft();
      return;
    }
  }

  tk.msgBox("Aircraft Files Installed Successfully!", "Success!", MsgIcon::Information,
            MsgButtons::OK);
  if (assembly_.addOns().has(AddOnKind::Aircraft)) {
    frm.setMousePointer(MousePointer::Default);
    assembly_.showPackLeft();
    return;
  }
  // What a pack held beside its aircraft (its own readme) is no add-on: it goes, as the
  // clean-up after the other installs takes what they leave.
  if (assembly_.addOns().all().empty() && pack) assembly_.removeScannedLeftovers();
  frm.lvwAircraft.setVisible(false);
  frm.Image1.setVisible(true);
  setVisible({&frm.Image2, &frm.Image3, &frm.Image4}, false);
  frm.cmdInstall.setCaption("");
  frm.cmdInstall.setVisible(false);
  frm.cmdCancelLoad.setVisible(false);
  frm.setMousePointer(MousePointer::Default);
  s.AircraftData = 0;
}

AircraftInstall::Outcome AircraftInstall::installAircraft(const std::string& folder) {
  ProgramState& s = state;
  s.PatternList.clear();
  s.CancelAircraftInstall = 0;
  RecordScope record(installed_, copies_, "aircraft", s.AircraftName);

  if (!CheckAirConfig(folder)) return Outcome::Stopped;
  // The aircraft's own tree: its sub-folders keep their names and files; gauges go to Gauges.
  // The files at its top are the sorting groups' (and the links there theirs to tell of).
  std::vector<std::string> links, treeFiles, gaugeFiles, treeFolders;
  try {
    for (const std::string& sub : fs.listDirs(folder)) {
      if (fs.isLink(sub)) continue;
      const std::string name = dos::fileName(sub);
      std::vector<std::string> below;
      for (const std::string& file : filesBelow(fs, sub, below)) {
        std::string relative = name + "\\" + file;
        (goesToGauges(relative) ? gaugeFiles : treeFiles).push_back(std::move(relative));
      }
      for (const std::string& link : below) links.push_back(name + "\\" + link);
    }
    for (std::string& sub : foldersBelow(fs, folder))
      if (!goesToGauges(sub + "\\")) treeFolders.push_back(std::move(sub));
  } catch (const FileError& e) {
    frm.setMousePointer(MousePointer::Default);
    tk.msgBox(errorMessage("Error", e) + "\r\rNothing has been installed.", "Aircraft Install",
              MsgIcon::Warning, MsgButtons::OK);
    return Outcome::Stopped;
  }
  if (!MakeAircraftDirectories(s.FSim, treeFolders)) return Outcome::Stopped;
  if (s.CancelAircraftInstall == 1) {
    if (!pack_) assembly_.cmdCancelLoad_Click();
    frm.setMousePointer(MousePointer::Default);
    return Outcome::Passed;
  }

  const std::string aircraft = s.FSim + "\\Aircraft\\" + s.AircraftName;
  auto targetFolder = [&](Target t) -> std::string {
    switch (t) {
      case Target::Aircraft: return aircraft + "\\";
      case Target::Model: return aircraft + s.ModelDir;
      case Target::Panel: return aircraft + s.PanelDir;
      case Target::Sound: return aircraft + s.SoundDir;
      case Target::Texture: return aircraft + s.TextureDir;
      case Target::Documentation: return aircraft + "\\Documentation\\";
      case Target::Gauges: return s.FSim + "\\Gauges\\";
      case Target::Image: return aircraft + "\\Image\\";
      case Target::Unknown: return aircraft + "\\Unknown\\";
    }
    return aircraft + "\\";
  };

  std::string groupFile;
  // One handler for every step of the install, the copy passes included.
  // passPatterns: the pattern list of the copy pass that failed, empty outside one.
  auto onError = [&](const FileError& e, const std::string& passPatterns) {
    // A gauge that cannot be replaced keeps its old file in the simulator.
    if (e.number() == err::PathFileAccess && passPatterns == "*.gau") return Resume::next();
    frm.setMousePointer(MousePointer::Default);
    const MsgAnswer answer = tk.msgBox(errorMessage("Error", e) + "\rCannot find the " + groupFile +
                                           " file.\r\rContinue with Install?",
                                       "Install Panel Errors:", MsgIcon::None, MsgButtons::YesNo);
    if (answer == MsgAnswer::Yes) {
      frm.setMousePointer(MousePointer::Hourglass);
      return Resume::next();
    }
    fs.closeAll();
    copies_.hideCopyWindow();
    // In a pack the other aircraft stay in the assembly area.
    if (!pack_) assembly_.cmdCancelLoad_Click();
    frm.setMousePointer(MousePointer::Default);
    return Resume::stop();
  };
  auto runPass = [&](CopyPass pass, const std::string& handlerPatterns) {
    pass.sourceFolder = folder;
    if (copies_.runCopyPass(
            pass, [&](const FileError& e, PassStep) { return onError(e, handlerPatterns); }))
      return;
    // The user said No, and the load is cancelled.
    record.end();
    throw StopFailure("");
  };
  auto copyGroup = [&](const std::string& patterns, Target target) {
    runPass({patterns, targetFolder(target), "", "", false}, patterns);
  };

  std::vector<Step> steps = {{"", [&] { copies_.showCopyWindow(); }}};
  for (const SortGroup& group : kSortingTable) {
    if (group.target == Target::Panel) {
      steps.push_back({"", [&] {
                         groupFile = group.groupFile;
                         // An aircraft may borrow another one's panel and bring none.
                         if (!fs.isFile(folder + "\\panel.cfg")) return;
                         const std::string data = fs.readFile(folder + "\\panel.cfg");
                         ItemReader in(data);
                         while (!in.eof())
                           if (const std::string name = bitmapName(in.next()); !name.empty())
                             s.PatternList += name + ";";
                       }});
      steps.push_back({"", [&] {
                         s.PatternList += "Panel.cfg";
                         copyGroup(s.PatternList, Target::Panel);
                       }});
      continue;
    }
    steps.push_back({"", [&] {
                       if (group.groupFile) groupFile = group.groupFile;
                       std::string patterns = group.patterns ? group.patterns : "";
                       if (group.target == Target::Aircraft)
                         patterns = (s.FlightSim == "CFS" || s.FlightSim == "CFS2")
                                        ? kCombatPatterns
                                        : kFlightPatterns;
                       copyGroup(patterns, group.target);
                     }});
  }
  if (!gaugeFiles.empty())
    steps.push_back({"", [&] {
                       CopyPass pass{"", targetFolder(Target::Gauges), "", "", false};
                       pass.listed = true;
                       pass.names = gaugeFiles;
                       pass.flatTargets = true;
                       runPass(std::move(pass), "*.gau");
                     }});
  if (!treeFiles.empty() || !links.empty())
    steps.push_back({"", [&] {
                       CopyPass pass{"", aircraft + "\\", "", "", false};
                       pass.listed = true;
                       pass.names = treeFiles;
                       pass.links = links;
                       runPass(std::move(pass), "");
                     }});

  if (!runSteps(steps, [&](const FileError& e, const Step&) { return onError(e, ""); }))
    return Outcome::Stopped;

  record.end();
  copies_.hideCopyWindow();
  assembly_.removeEmptiedFolder(folder);
  return Outcome::Installed;
}

}  // namespace orvex

// The aircraft install: the aircraft's files sorted out of the assembly area into its
// folders by the groups of the sorting table, gauges into the simulator's Gauges folder.
#include "install/aircraft/aircraft_install.h"

#include "platform/config_entries.h"
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

}  // namespace

void AircraftInstall::cmdInstall_Click() {
  BusyScope busy(ctx);
  ProgramState& s = state;
  // Without the aircraft's own name its files would land in the simulator's Aircraft folder.
  if (s.AircraftName.empty()) {
    tk.beep();
    return;
  }
  frm.setMousePointer(MousePointer::Hourglass);
  s.PatternList.clear();
  s.CancelAircraftInstall = 0;
  // Tested in this order: CFS, CFS2, FS2000, FS98.
  refreshFSimFromOptions(state, frm);
  RecordScope record(installed_, copies_, "aircraft", s.AircraftName);

  if (!CheckAirConfig()) return;
  if (!MakeAircraftDirectories(s.FSim)) return;
  if (s.CancelAircraftInstall == 1) {
    assembly_.cmdCancelLoad_Click();
    frm.setMousePointer(MousePointer::Default);
    return;
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
    assembly_.cmdCancelLoad_Click();
    frm.setMousePointer(MousePointer::Default);
    return Resume::stop();
  };
  auto copyGroup = [&](const std::string& patterns, Target target) {
    if (copies_.runCopyPass({patterns, targetFolder(target), "", "", false},
                            [&](const FileError& e, PassStep) { return onError(e, patterns); }))
      return;
    // The user said No, and the load is cancelled.
    record.end();
    throw StopFailure("");
  };

  std::vector<Step> steps = {{"", [&] { copies_.showCopyWindow(); }}};
  for (const SortGroup& group : kSortingTable) {
    if (group.target == Target::Panel) {
      steps.push_back({"", [&] {
                         groupFile = group.groupFile;
                         const std::string data = fs.readFile(s.OrvexAssemblyDir + "\\panel.cfg");
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

  if (!runSteps(steps, [&](const FileError& e, const Step&) { return onError(e, ""); })) return;

  record.end();
  copies_.hideCopyWindow();
  tk.msgBox("Aircraft Files Installed Successfully!", "Success!", MsgIcon::Information,
            MsgButtons::OK);
  frm.Image1.setVisible(true);
  setVisible({&frm.Image2, &frm.Image3, &frm.Image4}, false);
  frm.cmdInstall.setCaption("");
  frm.cmdInstall.setVisible(false);
  frm.cmdCancelLoad.setVisible(false);
  frm.setMousePointer(MousePointer::Default);
  s.AircraftData = 0;
}

}  // namespace orvex

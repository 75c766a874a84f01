// The scenery install: the target choice, moving the files into a new scenery folder sorted
// by pattern, registering the area, and the cancel that throws the archive away.
#include "install/scenery/scenery_install.h"

#include <array>
#include <optional>

#include "assembly/addon_list.h"
#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/text_encoding.h"
#include "platform/text_reading.h"
#include "platform/toolkit.h"
#include "program/steps.h"

namespace orvex {
namespace {

struct SceneryGroup {
  const char* folder;
  const char* patterns;
  bool onlyWhenListed;  // the catch-all group runs only when files are left
};

// Sorted in this order: a file goes with the first group whose patterns it matches.
constexpr std::array<SceneryGroup, 3> kSceneryGroups = {{
    {"\\Scenery", "*.bgl", false},
    {"\\Texture", "*.r8;*.bmp;*.?af;*.fs2;*.lgo;*.?av;*.pal;*.pat;*.r8?;*.0;*.1;*.api;*.tex",
     false},
    {"\\Unknown", "*.*", true},
}};

// Why a name cannot be a folder name and an entry of the scenery list; empty when it can.
// The list entry is written as "Local=SCENERY\<name>\Scenery", so separators, list syntax
// and line breaks in the name would point the simulator elsewhere or break the file.
std::string sceneryNameProblem(const std::string& name) {
  if (dos::isBlank(name)) return "Please Enter a Name for this Scenery";
  static const std::string forbidden = "\\/:*?\"<>|,[]";
  bool onlyDots = true;
  for (char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (forbidden.find(c) != std::string::npos || u < 0x20 || u == 0x7f)
      return "The Scenery name \"" + name + "\" cannot be used." + "\r" +
             "A name must not contain \\ / : * ? \" < > | , [ ] or line breaks.";
    if (c != '.' && c != ' ') onlyDots = false;
  }
  if (onlyDots)
    return "The Scenery name \"" + name + "\" cannot be used." + "\r" +
           "A name made only of dots would point outside the Scenery directory.";
  return {};
}

// Whether the scenery list has the area of this scenery already. A scenery folder can exist
// without one: an install that stopped half-way made the folder but never registered it.
// A list that cannot be read counts as listed: a second entry would be worse than none.
bool listedInSceneryConfig(FileSystem& fs, const std::string& list, const std::string& local) {
  std::optional<DecodedText> text;
  try {
    std::string why;
    text = decodeText(fs.readFile(list), why);
  } catch (const FileError&) {
  }
  if (!text) return true;
  const std::string wanted = dos::lower(text->fromProgram(local));
  LineReader lines(text->text);
  while (!lines.eof()) {
    const std::string line = lines.next();
    const size_t eq = line.find('=');
    if (eq != std::string::npos && dos::lower(dos::trim(line.substr(0, eq))) == "local" &&
        dos::lower(dos::trim(line.substr(eq + 1))) == wanted)
      return true;
  }
  return false;
}

}  // namespace

void SceneryInstall::optSceneryDefault_Click() {
  setVisible({&frm.drvScenery, &frm.dirScenery}, false);
  frm.labSceneryDir.setVisible(true);
}

void SceneryInstall::optSceneryOptional_Click() {
  if (lists_.pointDirList(frm.dirScenery, state.FSim))
    frm.drvScenery.showDrive(frm.dirScenery.path());
  setVisible({&frm.drvScenery, &frm.dirScenery}, true);
  frm.labSceneryDir.setVisible(false);
}

void SceneryInstall::drvScenery_Change() {
  lists_.followDrive(frm.drvScenery, frm.dirScenery);
}

void SceneryInstall::dirScenery_Change() {
  // The chosen folder is read from the list when Install is pressed.
}

void SceneryInstall::Command1_Click() {
  if (frm.labSceneryDir.caption().empty() ||
      (!frm.optSceneryDefault.value() && !frm.optSceneryOptional.value())) {
    tk.beep();
    return;
  }
  if (state.SceneryData == 0) {
    tk.beep();
    tk.msgBox("No Scenery Files Found!", "No Scenery", MsgIcon::Warning, MsgButtons::OK);
    frm.SSTab1.setTab(0);
    return;
  }

  const std::string name = frm.txtSceneryName.text();
  auto selectName = [&] {
    frm.txtSceneryName.setFocus();
    frm.txtSceneryName.setSelStart(0);
    frm.txtSceneryName.setSelLength(int(name.size()));
  };
  // Refused before anything is made: the name becomes a folder and an entry of the list.
  if (const std::string problem = sceneryNameProblem(name); !problem.empty()) {
    tk.msgBox(problem, "Scenery Name", MsgIcon::Warning, MsgButtons::OK);
    selectName();
    return;
  }
  const bool intoChosenFolder = !frm.optSceneryDefault.value();
  if (intoChosenFolder && frm.dirScenery.path().empty()) {
    // Without a folder the path would fall back to the root of the current drive.
    tk.msgBox("Please choose a folder for this Scenery", "Scenery Folder", MsgIcon::Warning,
              MsgButtons::OK);
    return;
  }

  // A list that cannot be read as text could not take the scenery's area: refused before any
  // folder is made or file moved, so that the simulator's tree stays as it was.
  if (!sceneryListReadable()) return;

  BusyScope busy(ctx);
  RecordScope record(installed_, copies_, "scenery", name);
  frm.setMousePointer(MousePointer::Hourglass);
  const std::string D = sceneryFolder();
  bool registerArea = true;

  // One handler for the whole install. In the folder steps a 75 means the scenery folder
  // exists: Yes refreshes it through the copy section without a second list entry. Within
  // the copy section a 75 concerns one file (a protected target, say): Yes replaces that
  // file, since going back to the copy section would only meet the same file again.
  auto onError = [&](const FileError& e, bool inCopySection, PassStep step = PassStep::List) {
    frm.setMousePointer(MousePointer::Default);
    if (e.number() != err::PathFileAccess || step == PassStep::Replace) {
      tk.msgBox(errorMessage("Error ", e), "Orvex Load Error", MsgIcon::Information,
                MsgButtons::OK);
      return Resume::stop();
    }
    const MsgAnswer answer =
        tk.msgBox("The " + name + " Scenery Directory Exists!" + "\r" + "Overwrite?",
                  "Directory Exists", MsgIcon::None, MsgButtons::YesNo);
    if (answer != MsgAnswer::Yes) {
      registerArea = true;
      selectName();
      return Resume::stop();
    }
    frm.setMousePointer(MousePointer::Hourglass);
    if (inCopySection) return step == PassStep::Copy ? Resume::replace() : Resume::next();
    registerArea = false;
    return Resume::at("copy");
  };

  fs.aboutToMake({D, D + "\\Scenery", D + "\\Texture", D + "\\Unknown"});
  bool carriedOn = runSteps(
      {
          {"", [&] { fs.mkDir(D); }},
          {"", [&] { fs.mkDir(D + "\\Scenery"); }},
          {"", [&] { fs.mkDir(D + "\\Texture"); }},
          {"", [&] { fs.mkDir(D + "\\Unknown"); }},
          {"copy", [&] { copies_.showCopyWindow(); }},
      },
      [&](const FileError& e, const Step& failed) { return onError(e, failed.label == "copy"); });
  // The scenery's folder in the assembly area: the area itself when it was extracted flat.
  // Its files lying flat are sorted by their kinds; those of its "scenery" and "texture"
  // folders go to the scenery's Scenery and Texture folders whatever their kinds, and any
  // other folder of it is kept with its files.
  const std::string source = assembly_.addOnFolder(AddOnKind::Scenery);
  std::vector<std::string> links, inScenery, inTexture, kept, keptFolders;
  if (carriedOn) {
    try {
      for (std::string& file : filesBelow(fs, source, links)) {
        const size_t cut = file.find('\\');
        if (cut == std::string::npos) continue;
        if (assembly_.addOns().ofAnother(source, file)) continue;
        const std::string top = file.substr(0, cut);
        (dos::equalsNoCase(top, "scenery")   ? inScenery
         : dos::equalsNoCase(top, "texture") ? inTexture
                                             : kept)
            .push_back(std::move(file));
      }
      for (std::string& sub : foldersBelow(fs, source)) {
        const std::string top = sub.substr(0, sub.find('\\'));
        if (assembly_.addOns().ofAnother(source, sub)) continue;
        if (!dos::equalsNoCase(top, "scenery") && !dos::equalsNoCase(top, "texture"))
          keptFolders.push_back(D + "\\" + sub);
      }
    } catch (const FileError& e) {
      carriedOn = onError(e, true).kind != Resume::Kind::Stop;
    }
  }
  for (size_t g = 0; carriedOn && g < kSceneryGroups.size(); ++g) {
    const SceneryGroup& group = kSceneryGroups[g];
    const std::string folder = D + group.folder;
    // Making the folder first brings back a sub-folder missing from a scenery folder that
    // existed already; where it is there, the failure is ignored.
    carriedOn = copies_.runCopyPass(
        {group.patterns, folder + "\\", folder, "", group.onlyWhenListed, source},
        [&](const FileError& e, PassStep step) { return onError(e, true, step); });
  }
  if (carriedOn && !keptFolders.empty()) {
    fs.aboutToMake(keptFolders);
    for (const std::string& folder : keptFolders) {
      try {
        fs.mkDir(folder);
      } catch (const FileError& e) {
        if (e.number() != err::PathFileAccess) {
          carriedOn = onError(e, true).kind != Resume::Kind::Stop;
          if (!carriedOn) break;
        }
      }
    }
  }
  const struct {
    std::vector<std::string>* files;
    std::string target;
    bool flat;
  } treePasses[] = {{&inScenery, D + "\\Scenery\\", true},
                    {&inTexture, D + "\\Texture\\", true},
                    {&kept, D + "\\", false}};
  for (const auto& tree : treePasses) {
    if (!carriedOn || (tree.files->empty() && links.empty())) continue;
    CopyPass pass{"", tree.target, "", "", false, source};
    pass.listed = true;
    pass.names = *tree.files;
    pass.links = links;
    pass.flatTargets = tree.flat;
    carriedOn = copies_.runCopyPass(
        pass, [&](const FileError& e, PassStep step) { return onError(e, true, step); });
  }
  if (!carriedOn) {
    // The install stopped: the copy window must not stay over the main window.
    copies_.hideCopyWindow();
    frm.setMousePointer(MousePointer::Default);
    return;
  }

  if (registerArea || !listedInSceneryConfig(fs, state.FSim + "\\Scenery.cfg", sceneryLocal()))
    UpdateSceneryConfig();
  record.end();
  copies_.hideCopyWindow();
  tk.msgBox("Scenery Files Created Successfully!", "Success!", MsgIcon::Information,
            MsgButtons::OK);

  assembly_.removeEmptiedFolder(source);
  assembly_.addOns().drop(AddOnKind::Scenery, source);
  frm.txtSceneryName.setText("");
  frm.labSceneryDir.setCaption("");
  setVisible({&frm.frmScenery, &frm.drvScenery, &frm.dirScenery}, false);
  state.SceneryData = 0;
  frm.SSTab1.setTab(0);
  state.PatternList.clear();
  frm.setMousePointer(MousePointer::Default);
}

void SceneryInstall::Command2_Click() {
  frm.setMousePointer(MousePointer::Hourglass);
  frm.SSTab1.setTab(0);
  assembly_.RemoveDirectories();
  assembly_.DeleteAssembly();
  frm.txtSceneryName.setText("");
  frm.labSceneryDir.setCaption("");
  setVisible({&frm.drvScenery, &frm.dirScenery, &frm.frmScenery}, false);
  frm.setMousePointer(MousePointer::Default);
}

}  // namespace orvex

// The repaint install: the aircraft to add it to, the livery's folder and section, the copy.
#include "install/livery/livery_install.h"

#include <algorithm>
#include <unordered_set>

#include "hangar/livery_sections.h"
#include "platform/config_entries.h"
#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/file_tree.h"
#include "platform/text_encoding.h"
#include "platform/toolkit.h"
#include "program/steps.h"

namespace orvex {
namespace {

constexpr const char* kCaption = "Install Livery";
constexpr const char* kPrefix = "texture.";
// A readme bigger than this holds no [fltsim.N] block worth reading.
constexpr long long kLargestReadme = 1 << 20;

// "texture.red" -> "red".
std::string suffixOf(const std::string& folder) {
  return folder.substr(std::string_view(kPrefix).size());
}

// A folder name a livery may have: "texture." and a name of its own, one folder deep.
bool validLiveryFolder(const std::string& name) {
  return name.size() > std::string_view(kPrefix).size() && name.size() <= 255 &&
         dos::startsWith(dos::lower(name), kPrefix) &&
         name.find_first_of("\\/:*?\"<>|") == std::string::npos && name.back() != '.' &&
         name.back() != ' ' && name.find("..") == std::string::npos;
}

bool mayHoldBlock(const std::string& name) {
  return dos::endsWithNoCase(name, ".txt") || dos::endsWithNoCase(name, ".cfg") ||
         dos::endsWithNoCase(name, ".ini") || dos::containsNoCase(name, "readme");
}

}  // namespace

void LiveryInstall::hideRepaint() {
  setVisible({&frm.labLiveryTarget, &frm.lvwLiveryTarget, &frm.cmdInstallLivery}, false);
  targets_.clear();
}

void LiveryInstall::showRepaint() {
  const std::vector<const AddOn*> liveries = assembly_.addOns().of(AddOnKind::Livery);
  if (liveries.empty() || state.AircraftData == 1 || isPlaceholder(state.FSim)) {
    hideRepaint();
    return;
  }
  setVisible(
      {&frm.Image1, &frm.Image2, &frm.Image3, &frm.Image4, &frm.lvwAircraft, &frm.cmdInstall},
      false);
  // The repaint's own texture files, to find the aircraft it was painted for.
  std::unordered_set<std::string> painted;
  try {
    for (const AddOn* l : liveries) {
      std::vector<std::string> links;
      for (const std::string& f : filesBelow(fs, l->folder, links))
        painted.insert(dos::lower(dos::fileName(f)));
    }
  } catch (const FileError&) {
    // Listed without the matches.
  }
  frm.setMousePointer(MousePointer::Hourglass);
  targets_ = hangar_.aircraftOf(state.FSim);
  frm.setMousePointer(MousePointer::Default);
  // A folder without a livery section (no Aircraft.cfg) can take no livery.
  std::erase_if(targets_, [](const HangarAircraft& a) { return a.liveries.empty(); });
  std::vector<size_t> alike(targets_.size());
  for (size_t k = 0; k < targets_.size(); ++k)
    for (const std::string& f : targets_[k].textureFiles) alike[k] += painted.count(f);
  std::vector<size_t> order(targets_.size());
  for (size_t k = 0; k < order.size(); ++k) order[k] = k;
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return alike[a] > alike[b]; });
  std::vector<HangarAircraft> sorted;
  std::vector<std::vector<std::string>> rows;
  for (size_t k : order) {
    rows.push_back({targets_[k].title, targets_[k].folder,
                    alike[k] ? std::to_string(alike[k]) + " of " + std::to_string(painted.size())
                             : std::string()});
    sorted.push_back(std::move(targets_[k]));
  }
  targets_ = std::move(sorted);
  const bool matched = !order.empty() && alike[order.front()] > 0;
  frm.lvwLiveryTarget.setRows(std::move(rows));
  setVisible(
      {&frm.labLiveryTarget, &frm.lvwLiveryTarget, &frm.cmdInstallLivery, &frm.cmdCancelLoad},
      true);
  // The best match is chosen; without one the user chooses.
  if (matched) frm.lvwLiveryTarget.setListIndex(0);
  lvwLiveryTarget_Change();
}

void LiveryInstall::lvwLiveryTarget_Change() {
  const int row = frm.lvwLiveryTarget.listIndex();
  frm.cmdInstallLivery.setEnabled(row >= 0 && size_t(row) < targets_.size());
}

void LiveryInstall::cmdInstallLivery_Click() {
  const int row = frm.lvwLiveryTarget.listIndex();
  if (row < 0 || size_t(row) >= targets_.size() || !frm.lvwLiveryTarget.visible()) {
    tk.beep();
    return;
  }
  BusyScope busy(ctx);
  const HangarAircraft aircraft = targets_[size_t(row)];
  std::vector<AddOn> liveries;
  for (const AddOn* l : assembly_.addOns().of(AddOnKind::Livery)) liveries.push_back(*l);
  frm.setMousePointer(MousePointer::Hourglass);
  int installed = 0;
  for (const AddOn& livery : liveries) {
    const Outcome outcome = installLivery(livery, aircraft);
    if (outcome != Outcome::Installed) break;
    ++installed;
    assembly_.addOns().drop(AddOnKind::Livery, livery.folder);
    assembly_.removeEmptiedFolder(livery.folder);
  }
  frm.setMousePointer(MousePointer::Default);
  if (!installed) return;
  if (assembly_.addOns().all().empty()) {
    // What the repaint held beside its liveries (its readme) goes with them.
    assembly_.removeScannedLeftovers();
    hideRepaint();
    frm.Image1.setVisible(true);
    frm.cmdCancelLoad.setVisible(false);
  }
  tk.msgBox(installed == 1 ? std::string("Livery Installed Successfully!")
                           : std::to_string(installed) + " Liveries Installed Successfully!",
            "Success!", MsgIcon::Information, MsgButtons::OK);
  if (frm.lvwLiveryTarget.visible()) showRepaint();
}

std::string LiveryInstall::folderNameIn(const HangarAircraft& aircraft, const std::string& own) {
  const std::string folder = state.FSim + "\\Aircraft\\" + aircraft.folder + "\\";
  const auto taken = [&](const std::string& name) {
    return fs.isDirectory(folder + name) || fs.isFile(folder + name);
  };
  std::string name = own;
  std::string why;
  while (!validLiveryFolder(name) || taken(name)) {
    if (why.empty()) why = name + " is taken in " + aircraft.title + ".";
    std::string offer;
    for (int n = 2; offer.empty() || taken(offer); ++n) offer = own + "_" + std::to_string(n);
    frm.setMousePointer(MousePointer::Default);
    const std::optional<std::string> answer =
        tk.inputBox(why + "\r" + "Name of the livery's folder:", "Livery Folder", offer);
    frm.setMousePointer(MousePointer::Hourglass);
    if (!answer) return {};
    name = dos::trim(*answer);
    if (!validLiveryFolder(name))
      why =
          "A livery's folder is named texture. and a name of its own, without \\ / : * ? \" "
          "< > |.";
    else
      why = name + " is taken in " + aircraft.title + ".";
  }
  return name;
}

std::optional<std::vector<std::string>> LiveryInstall::blockOf(const std::string& texture) {
  std::optional<std::vector<std::string>> first;
  std::vector<std::string> links;
  for (const std::string& name : filesBelow(fs, state.OrvexAssemblyDir, links)) {
    if (!mayHoldBlock(name)) continue;
    const std::string path = state.OrvexAssemblyDir + "\\" + name;
    const std::optional<FileStamp> s = fs.stamp(path);
    if (!s || s->size > kLargestReadme) continue;
    // A readme that cannot be read stops the install: its block might be the one meant.
    std::string why;
    const std::optional<DecodedText> text = decodeText(fs.readFile(path), why);
    if (!text) continue;
    std::optional<std::vector<std::string>> block = liveryBlockIn(text->text, texture);
    if (!block) continue;
    for (const std::string& line : *block) {
      const std::optional<Entry> e = entryOf(line);
      if (e && e->key == "texture" && dos::equalsNoCase(withoutComment(e->value), texture))
        return block;
    }
    if (!first) first = std::move(block);
  }
  return first;
}

LiveryInstall::Outcome LiveryInstall::installLivery(const AddOn& livery,
                                                    const HangarAircraft& aircraft) {
  const std::string aircraftFolder = state.FSim + "\\Aircraft\\" + aircraft.folder;
  const std::string cfgPath = aircraftFolder + "\\Aircraft.cfg";
  const auto refuse = [&](const std::string& why) {
    frm.setMousePointer(MousePointer::Default);
    tk.msgBox("The livery " + livery.title + " was not installed: " + why, kCaption,
              MsgIcon::Warning, MsgButtons::OK);
    return Outcome::Stopped;
  };
  std::optional<DecodedText> text;
  try {
    std::string why;
    text = decodeText(fs.readFile(cfgPath), why);
    if (!text) return refuse(cfgPath + " cannot be read: " + why + ".");
    if (fs.isReadOnly(cfgPath))
      return refuse(cfgPath + " is read-only, so the livery's section cannot be added to it.");
  } catch (const FileError& e) {
    return refuse(errorMessage("Error", e));
  }

  // The repaint's own block names the folder it was packed in; its texture= becomes the
  // folder as installed.
  std::optional<std::vector<std::string>> block;
  try {
    block = blockOf(suffixOf(dos::fileName(livery.folder)));
  } catch (const FileError& e) {
    return refuse(errorMessage("Error", e));
  }
  const std::string name = folderNameIn(aircraft, dos::fileName(livery.folder));
  if (name.empty()) return Outcome::Cancelled;
  ConfigLines cfg(text->text);
  std::optional<std::string> title;
  if (!block) {
    std::string made = suffixOf(name);
    std::replace(made.begin(), made.end(), '_', ' ');
    title =
        (aircraft.liveries.empty() ? aircraft.title : aircraft.liveries.front().title) + " " + made;
  }
  std::string titleGiven;
  const ConfigEdit edit =
      addLivery(cfg, block ? *block : firstLivery(cfg), title, suffixOf(name), titleGiven);

  std::vector<std::string> links, files, folders;
  try {
    files = filesBelow(fs, livery.folder, links);
    folders = foldersBelow(fs, livery.folder);
  } catch (const FileError& e) {
    return refuse(errorMessage("Error", e));
  }
  const std::string target = aircraftFolder + "\\" + name;
  RecordScope record(installed_, copies_, "livery", titleGiven);
  bool stopped = false;
  const auto onFailure = [&](const FileError& e) {
    frm.setMousePointer(MousePointer::Default);
    tk.msgBox(errorMessage("Error", e) + "\r\r" + "The livery " + titleGiven +
                  " was not installed completely; what was done is recorded, and Uninstall in "
                  "the Installed tab takes it back. The files not installed are still in the "
                  "assembly area.",
              kCaption, MsgIcon::Warning, MsgButtons::OK);
    stopped = true;
    return Resume::stop();
  };
  std::vector<std::string> made{target};
  for (const std::string& sub : folders) made.push_back(target + "\\" + sub);
  const std::vector<Step> steps = {
      {"", [&] { fs.aboutToMake(made); }},
      {"",
       [&] {
         for (const std::string& folder : made) fs.mkDir(folder);
       }},
      {"", [&] { copies_.showCopyWindow(); }},
      {"",
       [&] {
         CopyPass pass{"", target + "\\", "", "", false};
         pass.sourceFolder = livery.folder;
         pass.listed = true;
         pass.names = files;
         pass.links = links;
         if (!copies_.runCopyPass(pass, [&](const FileError& e, PassStep) { return onFailure(e); }))
           stopped = true;
       }},
      // The section last: the simulator never meets a livery whose files are not all there.
      {"",
       [&] {
         if (!stopped) fs.editFile(cfgPath, text->encode(cfg.text(), true), describeEdits({edit}));
       }},
  };
  const bool done =
      runSteps(steps, [&](const FileError& e, const Step&) { return onFailure(e); }) && !stopped;
  record.end();
  copies_.hideCopyWindow();
  return done ? Outcome::Installed : Outcome::Stopped;
}

}  // namespace orvex

// The Hangar tab's lists, the livery taken out from it, and the gauges the aircraft share.
#include "hangar/hangar_tab.h"

#include <algorithm>

#include "hangar/livery_sections.h"
#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/file_tree.h"
#include "platform/record_store.h"
#include "platform/text_encoding.h"
#include "platform/toolkit.h"
#include "record/recording_file_system.h"

namespace orvex {
namespace {

constexpr const char* kRemoveCaption = "Remove Livery";

std::string textureFolder(const HangarLivery& livery) {
  return livery.texture.empty() ? "texture" : "texture." + livery.texture;
}

// The install of this kind and name into the simulator, when Orvex made one: "..., installed
// 2026-12-08".
std::string installedBy(const std::vector<InstallRecord>& installs, const std::string& simulator,
                        const char* kind, const std::string& name) {
  std::string by;
  for (const InstallRecord& r : installs)
    if (r.kind == kind && r.state == InstallState::Done &&
        dos::equalsNoCase(r.simulator, simulator) && dos::equalsNoCase(r.name, name))
      by = r.name + ", installed " + r.when.substr(0, 10);
  return by;
}

}  // namespace

void HangarTab::SSTab1_Click() {
  if (frm.SSTab1.tab() == kHangarTab && !busy()) refreshHangar();
}

std::vector<HangarAircraft> HangarTab::aircraftOf(const std::string& simulator) {
  RecordStore* records = installed_.records();
  const std::string key = "hangar " + dos::lower(fs.fullPath(simulator));
  std::string kept;
  if (records) try {
      kept = records->keptValue(key).value_or("");
    } catch (const RecordError&) {
      // Read in full: what was kept cannot be had.
    }
  HangarReading reading = readHangar(ctx.recording.inner(), simulator, kept);
  if (records && !reading.toKeep.empty()) try {
      records->keepValue(key, reading.toKeep);
    } catch (const RecordError&) {
      // Read in full again next time.
    }
  return std::move(reading.aircraft);
}

void HangarTab::refreshHangar() {
  if (frm.SSTab1.tab() != kHangarTab) return;
  frm.labHangarNote.setCaption("");
  frm.lvwLiveries.setRows({});
  frm.cmdRemoveLivery.setEnabled(false);
  shown_.clear();
  if (isPlaceholder(state.FSim)) {
    frm.lvwHangar.setRows({});
    frm.labHangarNote.setCaption("Choose the simulator's directory to see its aircraft.");
    return;
  }
  std::vector<InstallRecord> installs;
  if (RecordStore* records = installed_.records()) {
    try {
      installs = records->installs();
    } catch (const RecordError&) {
      // The list is shown without the installs that brought the aircraft.
    }
  }
  frm.setMousePointer(MousePointer::Hourglass);
  shown_ = aircraftOf(state.FSim);
  frm.setMousePointer(MousePointer::Default);
  std::vector<std::vector<std::string>> rows;
  int broken = 0;
  for (const HangarAircraft& a : shown_) {
    const std::string by = installedBy(installs, state.FSim, "aircraft", a.folder);
    std::string problems;
    for (const std::string& p : a.problems) problems += (problems.empty() ? "" : " ") + p;
    if (!a.problems.empty()) ++broken;
    rows.push_back({a.title, std::to_string(a.liveries.size()), a.folder,
                    by.empty() ? "by hand" : by, problems.empty() ? "none" : problems});
  }
  frm.lvwHangar.setRows(std::move(rows));
  frm.labHangarNote.setCaption(std::to_string(shown_.size()) + " aircraft in " + state.FSim +
                               "\\Aircraft, " + std::to_string(broken) + " with problems.");
}

void HangarTab::lvwHangar_Change() {
  const int row = frm.lvwHangar.listIndex();
  frm.cmdRemoveLivery.setEnabled(false);
  if (row < 0 || size_t(row) >= shown_.size()) {
    frm.lvwLiveries.setRows({});
    return;
  }
  const HangarAircraft& a = shown_[size_t(row)];
  std::vector<InstallRecord> installs;
  if (RecordStore* records = installed_.records()) try {
      installs = records->installs();
    } catch (const RecordError&) {
    }
  std::vector<std::vector<std::string>> rows;
  std::string note = a.title + ":";
  for (const HangarLivery& l : a.liveries) {
    const std::string by = installedBy(installs, state.FSim, "livery", l.title);
    rows.push_back({l.title, textureFolder(l), "[" + l.section + "]", by.empty() ? "" : by});
    note += "\r   " + l.title;
  }
  for (const std::string& p : a.problems) note += "\r   " + p;
  frm.lvwLiveries.setRows(std::move(rows));
  frm.labHangarNote.setCaption(note);
}

void HangarTab::lvwLiveries_Change() {
  const int aircraft = frm.lvwHangar.listIndex(), livery = frm.lvwLiveries.listIndex();
  frm.cmdRemoveLivery.setEnabled(aircraft >= 0 && size_t(aircraft) < shown_.size() && livery >= 0 &&
                                 size_t(livery) < shown_[size_t(aircraft)].liveries.size());
}

void HangarTab::cmdRemoveLivery_Click() {
  const int row = frm.lvwHangar.listIndex(), chosen = frm.lvwLiveries.listIndex();
  if (row < 0 || size_t(row) >= shown_.size() || chosen < 0 ||
      size_t(chosen) >= shown_[size_t(row)].liveries.size()) {
    tk.beep();
    return;
  }
  const HangarAircraft a = shown_[size_t(row)];
  const HangarLivery livery = a.liveries[size_t(chosen)];
  if (a.liveries.size() < 2) {
    tk.msgBox(livery.title + " is the only livery of " + a.title +
                  ": an aircraft needs one at least, so it stays.",
              kRemoveCaption, MsgIcon::Information, MsgButtons::OK);
    return;
  }
  const bool shared =
      std::count_if(a.liveries.begin(), a.liveries.end(), [&](const HangarLivery& l) {
        return dos::equalsNoCase(l.texture, livery.texture);
      }) > 1;
  const std::string folder = textureFolder(livery);
  if (tk.msgBox("Remove the livery " + livery.title + " from " + a.title + "?" + "\r\r" +
                    "Its section goes from Aircraft.cfg" +
                    (shared ? "; its folder " + folder + " stays, as another livery uses it."
                            : ", and its folder " + folder + " with it.") +
                    "\r" + "The Installed tab can put it back.",
                kRemoveCaption, MsgIcon::None, MsgButtons::YesNo) != MsgAnswer::Yes)
    return;
  BusyScope busy(ctx);
  if (takeOut(a, livery))
    tk.msgBox(livery.title + " has been removed from " + a.title + ".", kRemoveCaption,
              MsgIcon::Information, MsgButtons::OK);
  refreshHangar();
}

bool HangarTab::takeOut(const HangarAircraft& a, const HangarLivery& livery) {
  const std::string aircraft = state.FSim + "\\Aircraft\\" + a.folder;
  const std::string cfgPath = aircraft + "\\Aircraft.cfg";
  const auto refuse = [&](const std::string& why) {
    tk.msgBox("The livery " + livery.title + " was not removed: " + why, kRemoveCaption,
              MsgIcon::Warning, MsgButtons::OK);
    return false;
  };
  std::optional<DecodedText> text;
  try {
    std::string why;
    text = decodeText(fs.readFile(cfgPath), why);
    if (!text) return refuse(cfgPath + " cannot be read: " + why + ".");
  } catch (const FileError& e) {
    return refuse(errorMessage("Error", e));
  }
  ConfigLines cfg(text->text);
  // The file may have changed since the Hangar read it: the section must still be this livery's.
  bool same = false;
  for (const ConfigLines::Section& s : cfg.sections())
    same = same || (s.name == livery.section &&
                    dos::equalsNoCase(cfg.value(s, "title").value_or(""), livery.title));
  if (!same) return refuse(cfgPath + " changed since the Hangar read it. Look at the list again.");
  const std::optional<ConfigEdit> edit = removeLivery(cfg, livery.section);
  bool shared = false;
  for (const ConfigLines::Section& s : cfg.sections())
    shared = shared || (dos::startsWith(s.name, "fltsim.") &&
                        dos::equalsNoCase(cfg.value(s, "texture").value_or(""), livery.texture));
  const std::string folder = aircraft + "\\" + textureFolder(livery);
  std::vector<std::string> files, links, folders;
  try {
    if (!shared && fs.isDirectory(folder)) {
      files = filesBelow(fs, folder, links);
      folders = foldersBelow(fs, folder);
    }
  } catch (const FileError& e) {
    return refuse(errorMessage("Error", e));
  }

  RecordScope record(installed_, copies_, "livery", "Removed " + livery.title);
  try {
    // The section goes first: the simulator never meets a livery whose folder is gone.
    fs.editFile(cfgPath, text->encode(cfg.text(), true), describeEdits({*edit}));
    std::vector<std::string> paths;
    for (const std::string& f : files) paths.push_back(folder + "\\" + f);
    for (const std::string& path : paths) fs.deleteFile(path);
    for (auto it = folders.rbegin(); it != folders.rend(); ++it) fs.rmDir(folder + "\\" + *it);
    if (!shared && fs.isDirectory(folder) && links.empty()) fs.rmDir(folder);
  } catch (const FileError& e) {
    record.end();
    tk.msgBox("The livery " + livery.title +
                  " could not be removed completely: " + errorMessage("Error", e) + "\r\r" +
                  "What was done is recorded: the Installed tab can put it back.",
              kRemoveCaption, MsgIcon::Warning, MsgButtons::OK);
    return false;
  }
  record.end();
  return true;
}

std::vector<std::string> HangarTab::gaugeUsage(const std::string& simulator,
                                               const std::vector<std::string>& paths,
                                               const std::vector<std::string>& own) {
  const std::string gauges = dos::lower(simulator) + "\\gauges\\";
  std::vector<std::string> named;
  for (const std::string& path : paths) {
    const std::string lower = dos::lower(path);
    if (dos::startsWith(lower, gauges) && lower.find('\\', gauges.size()) == std::string::npos &&
        (dos::endsWithNoCase(lower, ".gau") || dos::endsWithNoCase(lower, ".dll")))
      named.push_back(dos::fileName(path));
  }
  std::vector<std::string> sentences;
  if (named.empty()) return sentences;
  const std::vector<HangarAircraft> hangar = aircraftOf(simulator);
  for (const std::string& file : named) {
    const std::string gauge = file.substr(0, file.size() - 4);
    std::vector<std::string> users;
    for (const HangarAircraft& a : hangar) {
      if (std::any_of(own.begin(), own.end(),
                      [&](const std::string& o) { return dos::equalsNoCase(o, a.folder); }))
        continue;
      if (std::any_of(a.gauges.begin(), a.gauges.end(),
                      [&](const std::string& g) { return dos::equalsNoCase(g, gauge); }))
        users.push_back(a.title);
    }
    if (users.empty()) continue;
    std::string sentence = file + " is used by " + std::to_string(users.size()) + " aircraft: ";
    for (size_t k = 0; k < users.size(); ++k) sentence += (k ? ", " : "") + users[k];
    sentences.push_back(sentence + ".");
  }
  return sentences;
}

}  // namespace orvex

// The Hangar tab's lists, and the gauges the aircraft share.
#include "hangar/hangar_tab.h"

#include <algorithm>

#include "platform/dos_path.h"
#include "platform/record_store.h"
#include "platform/toolkit.h"
#include "record/recording_file_system.h"

namespace orvex {
namespace {

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
    rows.push_back({l.title, l.textureFolder(), "[" + l.section + "]", by.empty() ? "" : by});
    note += "\r   " + l.title;
  }
  for (const std::string& p : a.problems) note += "\r   " + p;
  frm.lvwLiveries.setRows(std::move(rows));
  frm.labHangarNote.setCaption(note);
}

void HangarTab::lvwLiveries_Change() {
  frm.cmdRemoveLivery.setEnabled(chosenLivery() != nullptr);
}

const HangarAircraft* HangarTab::chosenAircraft() const {
  const int row = frm.lvwHangar.listIndex();
  return row >= 0 && size_t(row) < shown_.size() ? &shown_[size_t(row)] : nullptr;
}

const HangarLivery* HangarTab::chosenLivery() const {
  const HangarAircraft* a = chosenAircraft();
  const int row = frm.lvwLiveries.listIndex();
  return a && row >= 0 && size_t(row) < a->liveries.size() ? &a->liveries[size_t(row)] : nullptr;
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

// The Hangar tab's list.
#include "hangar/hangar_tab.h"

#include "hangar/hangar_reading.h"
#include "platform/dos_path.h"
#include "platform/record_store.h"
#include "record/recording_file_system.h"

namespace orvex {

void HangarTab::SSTab1_Click() {
  if (frm.SSTab1.tab() == kHangarTab && !busy()) refreshHangar();
}

void HangarTab::refreshHangar() {
  if (frm.SSTab1.tab() != kHangarTab) return;
  frm.labHangarNote.setCaption("");
  notes_.clear();
  if (isPlaceholder(state.FSim)) {
    frm.lvwHangar.setRows({});
    frm.labHangarNote.setCaption("Choose the simulator's directory to see its aircraft.");
    return;
  }
  // The aircraft installs of this simulator that are still there, by folder name.
  std::vector<InstallRecord> installs;
  if (RecordStore* records = installed_.records()) {
    try {
      installs = records->installs();
    } catch (const RecordError&) {
      // The list is shown without the installs that brought the aircraft.
    }
  }
  const std::vector<HangarAircraft> hangar = readHangar(ctx.recording.inner(), state.FSim);
  std::vector<std::vector<std::string>> rows;
  int broken = 0;
  for (const HangarAircraft& a : hangar) {
    std::string by;
    for (const InstallRecord& r : installs)
      if (r.kind == "aircraft" && dos::equalsNoCase(r.simulator, state.FSim) &&
          dos::equalsNoCase(r.name, a.folder))
        by = r.name + ", installed " + r.when.substr(0, 10);
    std::string problems;
    for (const std::string& p : a.problems) problems += (problems.empty() ? "" : " ") + p;
    if (!a.problems.empty()) ++broken;
    rows.push_back({a.title, std::to_string(a.liveries.size()), a.folder,
                    by.empty() ? "by hand" : by, problems.empty() ? "none" : problems});
    std::string note = a.title + ":";
    for (const std::string& livery : a.liveries) note += "\r   " + livery;
    for (const std::string& p : a.problems) note += "\r   " + p;
    notes_.push_back(note);
  }
  frm.lvwHangar.setRows(std::move(rows));
  frm.labHangarNote.setCaption(std::to_string(hangar.size()) + " aircraft in " + state.FSim +
                               "\\Aircraft, " + std::to_string(broken) + " with problems.");
}

void HangarTab::lvwHangar_Change() {
  const int row = frm.lvwHangar.listIndex();
  if (row >= 0 && size_t(row) < notes_.size()) frm.labHangarNote.setCaption(notes_[size_t(row)]);
}

}  // namespace orvex

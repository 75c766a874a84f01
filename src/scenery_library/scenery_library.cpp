// The Scenery Library tab: the list read and shown, and each change written and recorded.
#include "scenery_library/scenery_library.h"

#include <map>
#include <optional>
#include <utility>

#include "install/scenery/scenery_area.h"
#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/record_store.h"
#include "platform/text_encoding.h"
#include "platform/toolkit.h"
#include "record/recording_file_system.h"
#include "scenery_library/scenery_list.h"

namespace orvex {
namespace {

constexpr const char* kCaption = "Scenery Library";

std::string titleOf(const SceneryArea& a) {
  return a.title.empty() ? a.header : a.title;
}

std::string activeText(const SceneryArea& a) {
  std::string text;
  switch (a.active) {
    case SceneryArea::Active::On: text = "TRUE"; break;
    case SceneryArea::Active::Off: text = "FALSE"; break;
    case SceneryArea::Active::NotSet: text = "not set"; break;
    case SceneryArea::Active::Unclear: text = a.activeText; break;
  }
  return a.required ? text + ", required" : text;
}

std::string folderText(const SceneryArea& a) {
  std::string text = !a.hasLocal ? "no Local= line" : a.local.empty() ? "no folder" : a.folder;
  if (a.hasRemote) text += "; Remote= " + (a.remote.empty() ? "no folder" : a.remoteFolder);
  return text;
}

// The title and Local= of an area as its key holds them, to be compared without regard to case.
using AreaName = std::pair<std::string, std::string>;

AreaName nameOf(const SectionKey& key) {
  AreaName name;
  for (const auto& [k, v] : key.keys)
    (k == "title" ? name.first : name.second) = dos::lower(dos::trim(v));
  return name;
}

bool sameArea(const SectionKey& a, const SectionKey& b) {
  return dos::equalsNoCase(a.prefix, b.prefix) && nameOf(a) == nameOf(b);
}

}  // namespace

// What the tab read: the list, its areas, and how the rows show them.
struct SceneryLibrary::Reading {
  std::string list, backup;  // DOS paths
  // How the list is written (its text is the parsed list's lines): the list as read is that,
  // encoded, to tell a list changed on disk since.
  DecodedText text;
  std::optional<SceneryList> parsed;
  FolderCache folders;
  std::vector<size_t> order;       // the area of each row
  std::vector<long> addedBy;       // by area: the install that added it, 0 for none
  std::vector<std::string> adder;  // by area: that install's name
  std::string summary;
  bool choosingFolder = false;
};

SceneryLibrary::SceneryLibrary(Context& c, InstalledTab& installed, CopyPasses& copies,
                               FileLists& lists)
    : Component(c),
      installed_(installed),
      copies_(copies),
      lists_(lists),
      reading_(std::make_unique<Reading>()) {}

SceneryLibrary::~SceneryLibrary() = default;

void SceneryLibrary::SSTab1_Click() {
  if (frm.SSTab1.tab() == kSceneryLibraryTab && !busy()) readLibrary();
}

void SceneryLibrary::refreshLibrary() {
  if (frm.SSTab1.tab() == kSceneryLibraryTab) {
    readLibrary();
    return;
  }
  // Read again when next shown; nothing of another simulator's list stays meanwhile.
  *reading_ = Reading{};
  frm.lvwLibrary.setRows({});
  frm.frmLibraryFolder.setVisible(false);
  updateButtons();
}

void SceneryLibrary::readLibrary() {
  Reading& r = *reading_;
  r = Reading{};
  frm.frmLibraryFolder.setVisible(false);
  frm.lvwLibrary.setRows({});
  frm.labLibraryNote.setCaption("");
  const auto nothing = [&](const std::string& note) {
    r.parsed.reset();
    frm.labLibraryNote.setCaption(note);
    updateButtons();
  };
  if (isPlaceholder(state.FSim))
    return nothing("Choose the simulator's directory to see its scenery list.");
  r.list = state.FSim + "\\Scenery.cfg";
  r.backup = state.FSim + "\\SceneryCfg.bku";
  std::optional<DecodedText> text;
  std::string why;
  try {
    if (!fs.isFile(r.list)) return nothing("There is no Scenery.cfg in " + state.FSim + ".");
    text = decodeText(fs.readFile(r.list), why);
  } catch (const FileError& e) {
    return nothing(r.list + " cannot be read: " + errorText("Error", e));
  }
  if (!text)
    return nothing(r.list + " cannot be read as a scenery list: " + why + ". " +
                   "Nothing in it is shown or changed.");
  // Kept once, as its lines: a list of thousands of areas is megabytes.
  r.parsed.emplace(text->text);
  r.text = std::move(*text);
  r.text.text = {};
  flagAreas(*r.parsed, fs, state.FSim, r.folders);
  show(nullptr);
}

void SceneryLibrary::show(const SectionKey* select) {
  Reading& r = *reading_;
  const SceneryList& list = *r.parsed;
  // The installs that added areas to this list: a scenery's install, or an area added here.
  r.addedBy.assign(list.areas.size(), 0);
  r.adder.assign(list.areas.size(), "");
  if (RecordStore* records = installed_.records()) {
    try {
      std::map<long, InstallRecord> installs;
      for (const InstallRecord& i : records->installs())
        if (i.state == InstallState::Done && dos::equalsNoCase(i.simulator, state.FSim))
          installs[i.id] = i;
      std::map<AreaName, long> byName;
      for (const Change& c : records->changesAt(fs.fullPath(r.list))) {
        if (!installs.count(c.install)) continue;
        if (c.kind == ChangeKind::Area) {
          const ConfigLines added(decodeAdded(c.text));
          for (const ConfigLines::Section& s : added.sections())
            byName[nameOf(keyOf(added, s, "area.", {"title", "local"}))] = c.install;
        } else if (c.kind == ChangeKind::Edit) {
          for (const ConfigEdit& e : editsDescribed(c.text).value_or(std::vector<ConfigEdit>{}))
            if (e.op == ConfigEdit::Op::Added) byName[nameOf(e.section)] = c.install;
        }
      }
      for (size_t i = 0; i < list.areas.size(); ++i) {
        const auto found = byName.find(nameOf(areaKey(list.areas[i])));
        if (found == byName.end()) continue;
        const InstallRecord& by = installs[found->second];
        r.addedBy[i] = by.id;
        r.adder[i] = by.name + " (" + by.kind + ", " + by.when.substr(0, 10) + ")";
      }
    } catch (const RecordError&) {
      // Shown without the installs that added the areas.
    }
  }

  r.order = list.layerOrder();
  std::vector<std::vector<std::string>> rows;
  rows.reserve(r.order.size());
  int flagged = 0, selected = -1;
  for (size_t row = 0; row < r.order.size(); ++row) {
    const size_t i = r.order[row];
    const SceneryArea& a = list.areas[i];
    std::string problems;
    for (const std::string& p : a.problems) problems += (problems.empty() ? "" : " ") + p;
    flagged += !a.problems.empty();
    rows.push_back({titleOf(a), folderText(a), a.hasLayer ? a.layerText : "none", activeText(a),
                    r.adder[i].empty() ? "not by Orvex" : r.adder[i],
                    problems.empty() ? "none" : problems});
    if (select && selected < 0 && sameArea(areaKey(a), *select)) selected = int(row);
  }
  frm.lvwLibrary.setRows(std::move(rows));
  r.summary = std::to_string(list.areas.size()) +
              (list.areas.size() == 1 ? " area in " : " areas in ") + r.list + ", " +
              std::to_string(flagged) + " with problems.";
  frm.labLibraryNote.setCaption(r.summary);
  updateButtons();
  if (selected >= 0) frm.lvwLibrary.setListIndex(selected);
}

void SceneryLibrary::lvwLibrary_Change() {
  const Reading& r = *reading_;
  const int row = frm.lvwLibrary.listIndex();
  if (r.parsed && row >= 0 && size_t(row) < r.order.size()) {
    // The chosen area in full.
    const SceneryArea& a = r.parsed->areas[r.order[size_t(row)]];
    std::string note = titleOf(a) + " " + a.header + ":\r   " + folderText(a);
    for (const std::string& p : a.problems) note += "\r   " + p;
    frm.labLibraryNote.setCaption(note);
  } else {
    frm.labLibraryNote.setCaption(r.summary);
  }
  updateButtons();
}

void SceneryLibrary::updateButtons() {
  const Reading& r = *reading_;
  const int row = frm.lvwLibrary.listIndex();
  const bool open = r.parsed && !r.choosingFolder;
  const bool chosen = open && row >= 0 && size_t(row) < r.order.size();
  const SceneryArea* a = chosen ? &r.parsed->areas[r.order[size_t(row)]] : nullptr;
  // A neighbour in the layer order the area can trade layers with.
  const auto movable = [&](int other) {
    return a && a->layer && other >= 0 && size_t(other) < r.order.size() &&
           r.parsed->areas[r.order[size_t(other)]].layer;
  };
  frm.cmdLibraryEnable.setEnabled(a && a->active != SceneryArea::Active::On);
  // A required area's Disable stays enabled: pressing it says why it is refused.
  frm.cmdLibraryDisable.setEnabled(a && a->active != SceneryArea::Active::Off);
  frm.cmdLibraryUp.setEnabled(movable(row - 1));
  frm.cmdLibraryDown.setEnabled(movable(row + 1));
  frm.cmdLibraryRemove.setEnabled(a != nullptr);
  frm.cmdLibraryAddFolder.setEnabled(open);
}

bool SceneryLibrary::chosenArea(size_t& area) {
  const Reading& r = *reading_;
  const int row = frm.lvwLibrary.listIndex();
  if (!r.parsed || r.choosingFolder || row < 0 || size_t(row) >= r.order.size()) {
    tk.beep();
    return false;
  }
  area = r.order[size_t(row)];
  return true;
}

bool SceneryLibrary::change(const std::string& recordName,
                            const std::function<ListChange(const SceneryList&)>& make,
                            const std::string& done) {
  Reading& r = *reading_;
  BusyScope busy(ctx);
  frm.setMousePointer(MousePointer::Hourglass);
  const auto refuse = [&](const std::string& text, bool readAgain) {
    frm.setMousePointer(MousePointer::Default);
    tk.msgBox(text, kCaption, MsgIcon::Warning, MsgButtons::OK);
    if (readAgain) readLibrary();
    return false;
  };
  // Only the list the tab shows is changed: another program's or the user's own edit since
  // is never overwritten.
  bool listProtected = false, backupProtected = false;
  try {
    if (fs.readFile(r.list) != r.text.encode(r.parsed->lines.text(), true))
      return refuse(r.list + " has changed on disk since the list was read: another program " +
                        "or an editor changed it. Nothing was changed." + "\r\r" +
                        "The list has been read again; make the change again if it is still " +
                        "wanted.",
                    true);
    listProtected = fs.isReadOnly(r.list);
    backupProtected = fs.isFile(r.backup) && fs.isReadOnly(r.backup);
  } catch (const FileError& e) {
    return refuse(
        r.list + " cannot be read now, so it was not changed." + "\r\r" + errorMessage("Error", e),
        true);
  }
  if (listProtected) return refuse(r.list + " is read-only, so it was not changed.", false);
  if (backupProtected)
    return refuse(r.backup + " is read-only: the list's backup cannot be kept there, so " + r.list +
                      " was not changed.",
                  false);

  ListChange c = make(*r.parsed);
  const std::string bytes = r.text.encode(c.text, true);
  long id = 0;
  bool failed = false;
  std::string failure;
  try {
    // As a scenery's install does: the backup holds the list as it was just before.
    RecordScope record(installed_, copies_, "scenery list", recordName);
    fs.copyFile(r.list, r.backup);
    id = ctx.recording.installId();
    fs.editFile(r.list, bytes, describeEdits(c.edits));
    id = ctx.recording.installId();
    record.end();
  } catch (const FileError& e) {
    failed = true;
    failure = errorMessage("Error", e);
  } catch (const StopFailure& e) {
    failed = true;
    // The records or the backup store failed: what they say before their advice, which the
    // roll-back below makes moot. Nothing to say when the user chose not to go on without them.
    failure = e.what();
    failure = failure.substr(0, failure.find("\r\r"));
    if (failure.empty() && !id) {
      frm.setMousePointer(MousePointer::Default);
      return false;
    }
    if (failure.empty()) failure = "the change was stopped.";
  }
  if (failed) {
    // The list is replaced whole or not at all; the backup written before it goes back too, so
    // that a change that failed leaves neither a trace nor a record.
    const bool undone = installed_.rollBack(id);
    bool changedAllTheSame = false;
    try {
      changedAllTheSame = !undone && fs.readFile(r.list) == bytes;
    } catch (const FileError&) {
      // Not known to be changed.
    }
    if (changedAllTheSame)
      return refuse(recordName + " is in " + r.list + ", but " + failure + "\r\r" +
                        "The Installed tab keeps what is recorded of it.",
                    true);
    return refuse(r.list + " was not changed: " + failure +
                      (undone ? std::string()
                              : "\r\r" + r.backup + " could not be put back as it was; the " +
                                    "Installed tab keeps the record of " + recordName + "."),
                  true);
  }

  r.parsed.emplace(c.text);
  // The folders are as they were a moment ago: what was found in them is kept.
  flagAreas(*r.parsed, fs, state.FSim, r.folders);
  const bool removed = c.edits.front().op == ConfigEdit::Op::Removed;
  show(removed ? nullptr : &c.edits.front().section);
  frm.setMousePointer(MousePointer::Default);
  // Without the records (the user chose to go on without them) nothing can take it back.
  frm.labLibraryNote.setCaption(done + (id ? " The Installed tab can take it back."
                                           : " It is not recorded, so it cannot be undone."));
  return true;
}

void SceneryLibrary::setActive(bool active) {
  size_t i = 0;
  if (!chosenArea(i)) return;
  const SceneryArea& a = reading_->parsed->areas[i];
  const std::string title = titleOf(a);
  if (!active && a.required) {
    tk.msgBox(title + " cannot be disabled: its Required=TRUE says that the simulator needs " +
                  "this area to start.",
              kCaption, MsgIcon::Information, MsgButtons::OK);
    return;
  }
  const std::string name = (active ? "Enabled " : "Disabled ") + title;
  change(
      name, [i, active](const SceneryList& l) { return orvex::setActive(l, i, active); },
      name + ".");
}

void SceneryLibrary::cmdLibraryEnable_Click() {
  setActive(true);
}

void SceneryLibrary::cmdLibraryDisable_Click() {
  setActive(false);
}

void SceneryLibrary::move(int direction) {
  size_t i = 0;
  if (!chosenArea(i)) return;
  const Reading& r = *reading_;
  const int other = frm.lvwLibrary.listIndex() + direction;
  if (other < 0 || size_t(other) >= r.order.size()) {
    tk.beep();
    return;
  }
  const size_t j = r.order[size_t(other)];
  const SceneryArea &a = r.parsed->areas[i], &b = r.parsed->areas[j];
  if (!a.layer || !b.layer) {
    tk.msgBox(titleOf(a.layer ? b : a) + " has no layer the simulator reads, so the two cannot " +
                  "trade places. Give it a whole number in its Layer= line first.",
              kCaption, MsgIcon::Information, MsgButtons::OK);
    return;
  }
  if (*a.layer == *b.layer) {
    tk.msgBox(titleOf(a) + " and " + titleOf(b) + " have the same layer, " +
                  std::to_string(*a.layer) + ": trading their layers would change nothing. " +
                  "Give one of them a layer of its own first.",
              kCaption, MsgIcon::Information, MsgButtons::OK);
    return;
  }
  const std::string name = (direction < 0 ? "Moved Up " : "Moved Down ") + titleOf(a);
  change(
      name, [i, j](const SceneryList& l) { return exchangeLayers(l, i, j); },
      name + ": its layer is " + b.layerText + " now, and " + titleOf(b) + "'s " + a.layerText +
          ".");
}

void SceneryLibrary::cmdLibraryUp_Click() {
  move(-1);
}

void SceneryLibrary::cmdLibraryDown_Click() {
  move(+1);
}

void SceneryLibrary::cmdLibraryRemove_Click() {
  size_t i = 0;
  if (!chosenArea(i)) return;
  const Reading& r = *reading_;
  const SceneryArea& a = r.parsed->areas[i];
  const std::string title = titleOf(a);
  if (const long install = r.addedBy[i]) {
    // The area is part of an install: taking the install off takes its files too.
    const std::string adder = r.adder[i];
    const MsgAnswer answer = tk.msgBox(
        title + " was added by the install of " + adder + "." + "\r\r" +
            "Yes: uninstall that install. Its files go, its area leaves the list, and what it " +
            "replaced comes back." + "\r" +
            "No: remove only this entry. Its folder and the install's record stay." + "\r" +
            "Cancel: change nothing.",
        "Remove Entry", MsgIcon::Warning, MsgButtons::YesNoCancel);
    if (answer == MsgAnswer::Cancel) return;
    if (answer == MsgAnswer::Yes) {
      std::string name;
      if (RecordStore* records = installed_.records())
        for (const InstallRecord& rec : records->installs())
          if (rec.id == install) name = rec.name;
      installed_.uninstall(install, name, false);
      readLibrary();
      return;
    }
  } else if (tk.msgBox("Remove " + title + " from the scenery list?" + "\r\r" +
                           "Its entry goes; its folder " +
                           (a.folder.empty() ? std::string() : a.folder + " ") +
                           "stays where it is, and the Installed tab can bring the entry back." +
                           (a.required ? std::string("\r\r") + "Its Required=TRUE says that the " +
                                             "simulator needs this area to start."
                                       : std::string()),
                       "Remove Entry", MsgIcon::Warning, MsgButtons::YesNo) != MsgAnswer::Yes) {
    return;
  }
  change(
      "Removed " + title, [i](const SceneryList& l) { return removeArea(l, i); },
      "Removed " + title + ".");
}

void SceneryLibrary::cmdLibraryAddFolder_Click() {
  Reading& r = *reading_;
  if (!r.parsed || r.choosingFolder) {
    tk.beep();
    return;
  }
  const std::string scenery = state.FSim + "\\Scenery";
  if (lists_.pointDirList(frm.dirLibrary, fs.isDirectory(scenery) ? scenery : state.FSim))
    frm.drvLibrary.showDrive(frm.dirLibrary.path());
  r.choosingFolder = true;
  frm.frmLibraryFolder.setVisible(true);
  updateButtons();
  frm.dirLibrary.setFocus();
  dirLibrary_Change();
}

void SceneryLibrary::drvLibrary_Change() {
  lists_.followDrive(frm.drvLibrary, frm.dirLibrary);
}

void SceneryLibrary::dirLibrary_Change() {
  if (!reading_->choosingFolder) return;
  const std::string& folder = frm.dirLibrary.path();
  frm.labLibraryNote.setCaption(
      folder.empty() ? "Choose the folder of the scenery: the one that holds its .bgl files, or "
                       "their scenery sub-folder."
                     : "Add makes " + folder + " a new area at the top of the list, Local=" +
                           areaLocal(fs, state.FSim, folder) + ".");
}

void SceneryLibrary::cmdLibraryFolderCancel_Click() {
  Reading& r = *reading_;
  r.choosingFolder = false;
  frm.frmLibraryFolder.setVisible(false);
  frm.labLibraryNote.setCaption(r.summary);
  updateButtons();
  frm.lvwLibrary.setFocus();
}

void SceneryLibrary::cmdLibraryFolderAdd_Click() {
  Reading& r = *reading_;
  if (!r.parsed || !r.choosingFolder) {
    tk.beep();
    return;
  }
  const auto refuse = [&](const std::string& text) {
    tk.msgBox(text, kCaption, MsgIcon::Warning, MsgButtons::OK);
  };
  const std::string folder = fs.fullPath(frm.dirLibrary.path());
  const std::string title = dos::fileName(folder);
  if (frm.dirLibrary.path().empty() || !fs.isDirectory(folder))
    return refuse("The folder " + folder + " does not exist.");
  if (title.empty() || title.find(':') != std::string::npos)
    return refuse("A drive's root cannot be a scenery area: choose the scenery's own folder.");
  for (const char ch : title)
    if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7f)
      return refuse(
          "The folder's name holds a line break or another control character, which "
          "the scenery list cannot carry.");
  for (const SceneryArea& a : r.parsed->areas)
    if (!a.folder.empty() && dos::equalsNoCase(a.folder, folder))
      return refuse(folder + " is in the list already, as " + titleOf(a) + ".");
  DecodedText list = r.text;
  list.text = r.parsed->lines.text();
  long number = 0;
  try {
    number = newAreaNumber(list.text);
  } catch (const FileError& e) {
    return refuse("No number is left for a new area: " + errorText("Error", e));
  }
  const std::string joined = areaJoinedLineEnd(list);
  const std::string entry = areaEntry(number, list.fromProgram(title),
                                      list.fromProgram(areaLocal(fs, state.FSim, folder)), list)
                                .substr(joined.size());
  r.choosingFolder = false;
  frm.frmLibraryFolder.setVisible(false);
  updateButtons();
  frm.lvwLibrary.setFocus();
  change(
      "Added " + title,
      [&entry, &joined](const SceneryList& l) { return addArea(l, entry, joined); },
      "Added " + title + " at the top of the list.");
}

}  // namespace orvex

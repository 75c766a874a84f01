// The install records in the program: each install recorded from its first change to its
// end, the Installed tab with its uninstall and forget, the digests worked out while the
// program is idle, and the recovery at start-up of what a crash broke off.
#include "installed/installed_tab.h"

#include <algorithm>
#include <cstdio>

#include "installed/preview.h"
#include "platform/config_edit.h"
#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/text_encoding.h"
#include "platform/toolkit.h"
#include "record/recording_file_system.h"
#include "record/undo.h"

namespace orvex {
namespace {

constexpr const char* kRecordsCaption = "Install Records";

std::string plural(int n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

const char* statusText(Undo::Status status) {
  switch (status) {
    case Undo::Status::AsInstalled: return "as installed";
    case Undo::Status::ChangedSince: return "changed since";
    case Undo::Status::PartlyRemoved: return "partly removed";
  }
  return "";
}

// What an edit did, in a few words: "added Spitfire Red", "Active=FALSE in Harbor Island".
std::string editSummary(const std::string& described) {
  const std::optional<std::vector<ConfigEdit>> edits = editsDescribed(described);
  if (!edits) return {};
  std::string text;
  for (const ConfigEdit& e : *edits) {
    const std::string title = e.section.keys.empty() ? e.section.prefix : e.section.keys[0].second;
    if (!text.empty()) text += "; ";
    switch (e.op) {
      case ConfigEdit::Op::Added: text += "added " + title; break;
      case ConfigEdit::Op::Removed: text += "removed " + title; break;
      case ConfigEdit::Op::Set:
        text += (e.now.empty() ? "no " + e.key : dos::trim(e.now, " \t\r\n")) + " in " + title;
        break;
    }
  }
  return text;
}

std::vector<std::string> changeRow(const Change& c) {
  switch (c.kind) {
    case ChangeKind::Folder: return {"made folder", c.path, ""};
    case ChangeKind::Created: return {"new file", c.path, ""};
    case ChangeKind::Replaced: return {"replaced file", c.path, c.backup};
    case ChangeKind::ListBackup: return {"list backup", c.path, c.backup};
    case ChangeKind::Edit: return {"edited file", c.path, editSummary(c.text)};
    case ChangeKind::Area: {
      std::string area = decodeAdded(c.text);
      for (char& ch : area)
        if (ch == '\r' || ch == '\n') ch = ' ';
      return {"added scenery area", c.path, dos::trim(area)};
    }
  }
  return {};
}

}  // namespace

void InstalledTab::openRecords() {
  if (!openStore_) return;
  try {
    records_ = openStore_(fs.hostPath(state.OrvexDir + "Installs.db"));
    ctx.recording.setStore(records_.get(), state.OrvexDir + "Backups");
  } catch (const std::exception& e) {
    records_.reset();
    recordsProblem_ = e.what();
  }
  ctx.recording.onStoreFailure = [this](const std::string& why) { return installUnrecorded(why); };
  for (const InstallRecord& r : records_ ? records_->installs() : std::vector<InstallRecord>{})
    digestQueue_.push_back(r.id);
  if (!digestQueue_.empty()) frm.tmrDigest.setInterval(50);
}

void InstalledTab::recoverInterrupted() {
  if (!records_) return;
  std::vector<InstallRecord> broken;
  try {
    for (const InstallRecord& r : records_->installs())
      if (r.state != InstallState::Done) broken.push_back(r);
    for (const InstallRecord& r : broken) {
      Undo undo(*records_, ctx.recording.inner());
      const bool installing = r.state == InstallState::Running;
      const std::string question =
          installing ? "The install of " + r.name + " into " + r.simulator +
                           " was interrupted. Undo what it did?" + "\r\r" +
                           "(The files that had already left the assembly area are gone from "
                           "there too: unpack the archive again to install it.)"
                     : "The uninstall of " + r.name + " from " + r.simulator +
                           " was interrupted. Finish removing it?";
      if (tk.msgBox(question, "Interrupted Install", MsgIcon::Warning, MsgButtons::YesNo) ==
          MsgAnswer::Yes)
        undo.rollBack(r.id);
      else
        undo.keepAsItStands(r.id);
    }
    Undo(*records_, ctx.recording.inner()).dropStrayBackups(ctx.recording.backups());
  } catch (const RecordError& e) {
    tk.msgBox(std::string("The install records cannot be read: ") + e.what(), kRecordsCaption,
              MsgIcon::Warning, MsgButtons::OK);
  } catch (const FileError& e) {
    tk.msgBox("The interrupted install could not be undone completely." + std::string("\r\r") +
                  errorMessage("Error", e),
              kRecordsCaption, MsgIcon::Warning, MsgButtons::OK);
  }
}

bool InstalledTab::installUnrecorded(const std::string& why) {
  frm.setMousePointer(MousePointer::Default);
  const bool yes =
      tk.msgBox(why + "\r\r" +
                    "Nothing has been changed. Install all the same, without a record? " +
                    "The files the install replaces could then not be put back, and it could " +
                    "not be uninstalled.",
                kRecordsCaption, MsgIcon::Warning, MsgButtons::YesNo) == MsgAnswer::Yes;
  if (yes) frm.setMousePointer(MousePointer::Hourglass);
  return yes;
}

void InstalledTab::beginRecord(const char* kind, const std::string& name) {
  // Records that were to be kept and cannot be: the user decides before anything changes.
  if (!records_ && openStore_ &&
      !installUnrecorded(recordsProblem_.empty() ? "The install records cannot be kept."
                                                 : recordsProblem_))
    throw StopFailure("");
  recordOpen_ = true;
  ctx.recording.beginInstall(state.FSim, kind, state.OrvexAssemblyDir);
  ctx.recording.setName(name);
}

void InstalledTab::nameRecord(const std::string& name) {
  ctx.recording.setName(name);
}

void InstalledTab::endRecord(bool unwinding) {
  if (!recordOpen_) return;
  recordOpen_ = false;
  std::exception_ptr failure;
  try {
    ctx.recording.endInstall();
  } catch (...) {
    failure = std::current_exception();
  }
  try {
    if (records_) {
      const std::vector<InstallRecord> all = records_->installs();
      if (!all.empty()) digestQueue_.push_back(all.back().id);
      frm.tmrDigest.setInterval(50);
    }
    refreshInstalled();
  } catch (...) {
    if (!failure) failure = std::current_exception();
  }
  if (failure && !unwinding) std::rethrow_exception(failure);
}

void InstalledTab::SSTab1_Click() {
  // During an install the list is worked out when it ends.
  if (frm.SSTab1.tab() == kInstalledTab && installedStale_ && !busy()) refreshInstalled();
}

void InstalledTab::refreshInstalled() {
  if (frm.SSTab1.tab() != kInstalledTab) {
    installedStale_ = true;
    return;
  }
  installedStale_ = false;
  frm.labInstalledNote.setCaption("");
  const long selected =
      frm.lvwInstalled.listIndex() >= 0 ? shownInstalls_[size_t(frm.lvwInstalled.listIndex())] : 0;
  shownInstalls_.clear();
  std::vector<std::vector<std::string>> rows;
  if (!records_) {
    frm.labInstalledNote.setCaption(recordsProblem_.empty()
                                        ? "Installs are not recorded here."
                                        : "The install records cannot be kept: " + recordsProblem_);
  } else if (isPlaceholder(state.FSim)) {
    frm.labInstalledNote.setCaption("Choose the simulator's directory to see its installs.");
  } else {
    try {
      Undo undo(*records_, ctx.recording.inner());
      std::vector<InstallRecord> installs = records_->installs();
      std::reverse(installs.begin(), installs.end());  // newest first
      for (const InstallRecord& r : installs) {
        if (!dos::equalsNoCase(r.simulator, state.FSim) || r.state != InstallState::Done) continue;
        const std::vector<Change> changes = records_->changes(r.id);
        shownInstalls_.push_back(r.id);
        rows.push_back({r.when, r.kind, r.name, std::to_string(Undo::fileCount(changes)),
                        sizeText(undo.backupBytes(changes)), statusText(undo.status(changes))});
      }
      if (rows.empty()) frm.labInstalledNote.setCaption("No installs recorded for this simulator.");
    } catch (const RecordError& e) {
      frm.labInstalledNote.setCaption(std::string("The install records cannot be read: ") +
                                      e.what());
      shownInstalls_.clear();
      rows.clear();
    }
  }
  frm.lvwInstalled.setRows(std::move(rows));
  const auto again = std::find(shownInstalls_.begin(), shownInstalls_.end(), selected);
  if (again != shownInstalls_.end())
    frm.lvwInstalled.setListIndex(int(again - shownInstalls_.begin()));
  else
    lvwInstalled_Change();
}

void InstalledTab::lvwInstalled_Change() {
  const int row = frm.lvwInstalled.listIndex();
  const bool chosen = row >= 0 && size_t(row) < shownInstalls_.size() && records_;
  frm.cmdUninstall.setEnabled(chosen);
  frm.cmdForget.setEnabled(chosen);
  std::vector<std::vector<std::string>> rows;
  if (chosen)
    for (const Change& c : records_->changes(shownInstalls_[size_t(row)]))
      rows.push_back(changeRow(c));
  frm.lvwChanges.setRows(std::move(rows));
}

bool InstalledTab::chosenInstall(long& id, std::string& name) {
  const int row = frm.lvwInstalled.listIndex();
  if (installedStale_ || row < 0 || size_t(row) >= shownInstalls_.size() || !records_) {
    tk.beep();
    return false;
  }
  id = shownInstalls_[size_t(row)];
  name = frm.lvwInstalled.rows()[size_t(row)][2];
  return true;
}

void InstalledTab::cmdUninstall_Click() {
  long id = 0;
  std::string name;
  if (!chosenInstall(id, name)) return;
  uninstall(id, name, true);
}

bool InstalledTab::uninstall(long id, const std::string& name, bool confirm) {
  if (!records_) {
    tk.beep();
    return false;
  }
  Undo undo(*records_, ctx.recording.inner());
  const Undo::Counts counts = undo.count(id);
  std::string edited;
  for (const std::string& path : counts.edited)
    edited += (edited.empty() ? "" : ", ") + dos::fileName(path);
  // A gauge it takes away or puts back serves other aircraft too: which, its own aside.
  std::string usage;
  if (gaugeUsage) {
    std::vector<std::string> files, own;
    const std::string aircraft = dos::lower(state.FSim) + "\\aircraft\\";
    for (const Change& c : records_->changes(id)) {
      if (c.kind == ChangeKind::Created || c.kind == ChangeKind::Replaced) files.push_back(c.path);
      if (dos::startsWith(dos::lower(c.path), aircraft)) {
        const std::string rest = c.path.substr(aircraft.size());
        own.push_back(rest.substr(0, rest.find('\\')));
      }
    }
    for (const std::string& sentence : gaugeUsage(state.FSim, files, own)) usage += "\r" + sentence;
  }
  // A change of a configuration file alone (the scenery list's) has no files to count.
  const std::string what =
      counts.remove == 0 && counts.putBack == 0 && !edited.empty()
          ? "Its own lines in " + edited + " will be taken back."
          : plural(counts.remove, "file will be removed", "files will be removed") + " and " +
                plural(counts.putBack, "original put back", "originals put back") +
                (edited.empty() ? "" : ", and its own lines in " + edited + " taken back") + ".";
  if (confirm && tk.msgBox("Uninstall " + name + "?" + "\r\r" + what + usage, "Uninstall",
                           MsgIcon::None, MsgButtons::YesNo) != MsgAnswer::Yes)
    return false;

  BusyScope busy(ctx);
  frm.setMousePointer(MousePointer::Hourglass);
  frm.prgUndo.setMaximum(0);
  frm.prgUndo.setValue(0);
  frm.prgUndo.setVisible(true);
  double shown = tk.clock();
  undo.progress = [&](int done, int total) {
    frm.prgUndo.setMaximum(total);
    frm.prgUndo.setValue(done);
    // A long uninstall keeps the window alive, a few times a second.
    if (tk.clock() - shown >= 0.1) {
      tk.doEvents();
      shown = tk.clock();
    }
  };
  undo.askChanged = [&](const std::string& path) {
    frm.setMousePointer(MousePointer::Default);
    const MsgAnswer answer = tk.msgBox(path + " has changed since it was installed." + "\r" +
                                           "Remove or overwrite it all the same?",
                                       "Uninstall", MsgIcon::Warning, MsgButtons::YesNoAllCancel);
    frm.setMousePointer(MousePointer::Hourglass);
    switch (answer) {
      case MsgAnswer::Yes: return UndoAnswer::Yes;
      case MsgAnswer::YesToAll: return UndoAnswer::YesToAll;
      case MsgAnswer::Cancel: return UndoAnswer::Cancel;
      default: return UndoAnswer::No;
    }
  };
  undo.askBackups = [&](const std::vector<Undo::BackupProblem>& problems) {
    frm.setMousePointer(MousePointer::Default);
    std::string text = "These originals cannot be put back as they were:";
    for (const Undo::BackupProblem& p : problems)
      text += "\r   " + p.path + ": its backup " + p.backup +
              (p.missing ? " is missing" : " was changed since it was taken");
    text += std::string("\r\r") + "Go on with the uninstall and leave these files as they are? " +
            "No cancels it, and nothing is changed.";
    const bool goOn =
        tk.msgBox(text, "Uninstall", MsgIcon::Warning, MsgButtons::YesNo) == MsgAnswer::Yes;
    frm.setMousePointer(MousePointer::Hourglass);
    return goOn;
  };
  std::string problem;
  bool finished = false;
  try {
    finished = undo.uninstall(id);
  } catch (const FileError& e) {
    problem = errorMessage("Error", e);
  } catch (const RecordError& e) {
    problem = e.what();
  }
  if (!problem.empty() && !undo.began()) {
    // The records could not be written before the first change: nothing was changed.
    frm.prgUndo.setVisible(false);
    frm.setMousePointer(MousePointer::Default);
    tk.msgBox(
        "The uninstall of " + name + " did not start: " + problem + "\r\r" + "Nothing was changed.",
        "Uninstall Error", MsgIcon::Warning, MsgButtons::OK);
    return false;
  }
  if (!problem.empty()) {
    // What was undone is recorded as such; the rest stays for another try.
    try {
      undo.keepAsItStands(id);
    } catch (const std::exception&) {
    }
  }
  frm.prgUndo.setVisible(false);
  frm.setMousePointer(MousePointer::Default);
  frm.tmrDigest.setInterval(50);  // the records' housekeeping, when idle
  refreshInstalled();
  if (!problem.empty())
    tk.msgBox("The uninstall of " + name + " stopped: " + problem + "\r\r" +
                  "What it did so far is recorded; Uninstall can be tried again.",
              "Uninstall Error", MsgIcon::Warning, MsgButtons::OK);
  else if (finished && !undo.notPutBack().empty()) {
    std::string text = name + " was not uninstalled completely: the originals of these files " +
                       "could not be put back, so they were left as they are:";
    for (const std::string& path : undo.notPutBack()) text += "\r   " + path;
    text += std::string("\r\r") + "The Installed tab keeps what was not undone.";
    tk.msgBox(text, "Uninstall", MsgIcon::Warning, MsgButtons::OK);
  } else if (finished && !undo.notTakenBack().empty()) {
    std::string text = name + " was uninstalled, but not all of its lines were found in:";
    for (const std::string& path : undo.notTakenBack()) text += "\r   " + path;
    text += std::string("\r\r") + "They were changed or removed since; the rest of each file " +
            "was left as it is.";
    tk.msgBox(text, "Uninstall", MsgIcon::Warning, MsgButtons::OK);
  } else if (finished && !undo.takenBackByMeaning().empty()) {
    std::string text = name + " has been uninstalled.";
    for (const std::string& path : undo.takenBackByMeaning())
      text += "\r\r" + path + " was changed since, so only its own lines in it were taken back; " +
              "the other changes stay.";
    tk.msgBox(text, "Success!", MsgIcon::Information, MsgButtons::OK);
  } else if (finished) {
    tk.msgBox(name + " has been uninstalled.", "Success!", MsgIcon::Information, MsgButtons::OK);
  }
  return finished && problem.empty();
}

bool InstalledTab::rollBack(long id) {
  if (!records_ || !id) return true;
  try {
    Undo(*records_, ctx.recording.inner()).rollBack(id);
  } catch (const std::exception&) {
    refreshInstalled();
    return false;
  }
  refreshInstalled();
  return true;
}

void InstalledTab::cmdForget_Click() {
  long id = 0;
  std::string name;
  if (!chosenInstall(id, name)) return;
  if (tk.msgBox("Forget the install of " + name + "?" + "\r\r" +
                    "Its files stay where they are, and it can no longer be undone.",
                "Forget", MsgIcon::None, MsgButtons::YesNo) != MsgAnswer::Yes)
    return;
  try {
    Undo(*records_, ctx.recording.inner()).forget(id);
  } catch (const std::exception& e) {
    tk.msgBox(std::string("The record could not be dropped: ") + e.what(), kRecordsCaption,
              MsgIcon::Warning, MsgButtons::OK);
  }
  refreshInstalled();
}

void InstalledTab::tmrDigest_Timer() {
  // An install in progress comes first; what is left waits for the next idle moment.
  if (busy()) return;
  const double start = tk.clock();
  try {
    while (records_ && !digestQueue_.empty() && tk.clock() - start < 0.02) {
      std::vector<Change> changes = records_->changes(digestQueue_.front());
      std::vector<Change> digested;
      for (; digestNext_ < changes.size() && tk.clock() - start < 0.02; ++digestNext_) {
        Change& c = changes[digestNext_];
        if (!c.done || !c.digest.empty() || c.size < 0 ||
            (c.kind != ChangeKind::Created && c.kind != ChangeKind::Replaced &&
             c.kind != ChangeKind::Edit))
          continue;
        // Only a file that still holds what the install left there gets its digest.
        const FileStamp left{c.size, c.mtime};
        if (ctx.recording.inner().stamp(c.path) != left) continue;
        std::string digest = ctx.recording.inner().digest(c.path);
        if (ctx.recording.inner().stamp(c.path) != left) continue;
        c.digest = std::move(digest);
        digested.push_back(c);
      }
      if (!digested.empty()) records_->transaction([&] { records_->putChanges(digested); });
      if (digestNext_ >= changes.size()) {
        digestQueue_.erase(digestQueue_.begin());
        digestNext_ = 0;
      }
    }
  } catch (const std::exception&) {
    // A file or record that cannot be read now keeps no digest; size and time still tell.
    if (!digestQueue_.empty()) digestQueue_.erase(digestQueue_.begin());
    digestNext_ = 0;
  }
  if (records_ && digestQueue_.empty()) {
    try {
      records_->tidy();
    } catch (const RecordError&) {
      // Tried again after the next install or uninstall.
    }
  }
  if (!records_ || digestQueue_.empty()) frm.tmrDigest.setInterval(0);
}

}  // namespace orvex

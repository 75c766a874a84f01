// Recording what an install changes outside the assembly area, before it changes it.
#include "record/recording_file_system.h"

#include <ctime>
#include <exception>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "platform/config_edit.h"
#include "platform/dos_path.h"
#include "platform/errors.h"

namespace orvex {
namespace {

// How many files of one pass go into a folder before it is listed rather than each looked up.
constexpr int kListedFolder = 8;

std::string localTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
  return text;
}

}  // namespace

void RecordingFileSystem::setStore(RecordStore* store, const std::string& backups) {
  store_ = store;
  backups_ = backups;
}

void RecordingFileSystem::beginInstall(const std::string& simulator, const std::string& kind,
                                       const std::string& assembly) {
  installing_ = true;
  record_ = InstallRecord{};
  record_.simulator = simulator;
  record_.kind = kind;
  record_.when = localTimeNow();
  assembly_ = dos::lower(inner_.fullPath(assembly));
  pending_.clear();
  byPath_.clear();
  numbered_ = 0;
}

void RecordingFileSystem::setName(const std::string& name) {
  record_.name = name;
  if (record_.id && store_) storeDoes([&] { store_->updateInstall(record_); });
}

void RecordingFileSystem::endInstall() {
  if (!installing_) return;
  // A change whose stamp cannot be taken stays planned; the disk tells later what became of
  // it. The record ends all the same, and the failure is passed on afterwards.
  // Both in one transaction: one wait for the disk.
  std::exception_ptr failure;
  const auto finish = [&] {
    try {
      settle();
    } catch (const RecordError&) {
      throw;  // the store's own failure
    } catch (...) {
      failure = std::current_exception();
    }
    if (!record_.id || !store_) return;
    // An install that changed nothing leaves no record behind.
    if (pending_.empty()) {
      store_->removeInstall(record_.id);
      return;
    }
    record_.state = InstallState::Done;
    store_->updateInstall(record_);
  };
  ending_ = true;
  try {
    if (store_) storeDoes([&] { store_->transaction(finish); });
  } catch (...) {
    if (!failure) failure = std::current_exception();
  }
  ending_ = false;
  installing_ = false;
  if (setAside_) store_ = std::exchange(setAside_, nullptr);
  record_ = InstallRecord{};
  pending_.clear();
  byPath_.clear();
  if (failure) std::rethrow_exception(failure);
}

std::optional<RecordingFileSystem::Target> RecordingFileSystem::recordedTarget(
    const std::string& path) {
  if (!installing_ || !store_) return std::nullopt;
  // The assembly area's folder, or anything below it: told apart before any copy is made, as
  // the install also clears and deletes every file it takes from there.
  std::string full = inner_.fullPath(path);
  if (full.size() >= assembly_.size() &&
      (full.size() == assembly_.size() || full[assembly_.size()] == '\\') &&
      dos::equalsNoCase(std::string_view(full).substr(0, assembly_.size()), assembly_))
    return std::nullopt;
  Target t{std::move(full), {}};
  t.key = dos::lower(t.full);
  return t;
}

bool RecordingFileSystem::storeDoes(const std::function<void()>& call) {
  if (!store_) return false;
  // Inside another call the failure goes to that one.
  if (storing_) {
    call();
    return true;
  }
  storing_ = true;
  const long recorded = record_.id;
  try {
    call();
    storing_ = false;
    return true;
  } catch (const RecordError& e) {
    storing_ = false;
    // A transaction that failed wrote nothing, the install's own record included.
    record_.id = recorded;
    storeFailed(e.what());
    return false;
  } catch (...) {
    storing_ = false;
    throw;
  }
}

void RecordingFileSystem::storeFailed(const std::string& why) {
  if (ending_)
    throw StopFailure(why + "\r\r" +
                      "What the install did is in place, but its record could not be completed. "
                      "Orvex offers to undo the install when it starts next.");
  if (record_.id)
    throw StopFailure(why + "\r\r" +
                      "The install stopped before its next change. What it did so far is "
                      "recorded; Orvex offers to undo it when it starts next.");
  // Nothing recorded yet, so nothing changed yet: the user decides.
  if (!onStoreFailure || !onStoreFailure(why)) throw StopFailure("");
  setAside_ = store_;
  store_ = nullptr;
}

void RecordingFileSystem::planAll(std::vector<Target> targets, ChangeKind whenNew) {
  std::vector<Change> fresh;
  std::vector<Target*> planned;
  std::unordered_set<std::string_view> seen;
  fresh.reserve(targets.size());
  // Whether a target is there already, and then how its name is spelt on disk, so that an
  // original put back has its own name again: a folder that many targets go into is listed
  // once instead of each of them looked up. A name no listing shows (a hidden one), and a
  // folder that cannot be listed, are looked up one by one.
  std::unordered_map<std::string_view, int> perFolder;
  for (const Target& t : targets) ++perFolder[dos::folderPart(t.key)];
  std::unordered_map<std::string_view, std::optional<std::unordered_map<std::string, std::string>>>
      listed;
  // spelt is left empty for a name spelt as the target is.
  const auto there = [&](const Target& t, std::string& spelt) {
    const std::string_view name = dos::namePart(t.key), folderKey = dos::folderPart(t.key);
    if (name.empty() || name[0] == '.' || perFolder[folderKey] < kListedFolder)
      return inner_.isFile(t.full);
    const std::string folder(dos::folderPart(t.full));
    auto [entry, first] = listed.try_emplace(folderKey);
    if (first) try {
        std::unordered_map<std::string, std::string> names;
        for (const std::string& n : inner_.listFiles(folder, "*.*")) names[dos::lower(n)] = n;
        entry->second = std::move(names);
      } catch (const FileError&) {
        // Looked up one by one.
      }
    if (!entry->second) return inner_.isFile(t.full);
    const auto found = entry->second->find(std::string(name));
    if (found == entry->second->end()) return false;
    if (found->second != dos::namePart(t.full))
      spelt = (folder.back() == '\\' ? folder : folder + "\\") + found->second;
    return true;
  };
  for (Target& t : targets) {
    if (byPath_.count(t.key) || !seen.insert(t.key).second) continue;
    Change c;
    c.kind = whenNew;
    // A file that is there already is replaced: its original is kept first.
    std::string spelt;
    const bool exists = whenNew != ChangeKind::Folder && there(t, spelt);
    c.path = spelt.empty() ? std::move(t.full) : std::move(spelt);
    if (exists && whenNew == ChangeKind::Created) c.kind = ChangeKind::Replaced;
    if (exists) c.backup = "pending";
    fresh.push_back(std::move(c));
    planned.push_back(&t);
  }
  if (fresh.empty()) return;
  const bool written = storeDoes([&] {
    store_->transaction([&] {
      if (!record_.id) record_.id = store_->addInstall(record_);
      for (Change& c : fresh) {
        c.install = record_.id;
        // Named by the install and the change's place in it, so that a rollback finds the
        // original without asking the record.
        ++numbered_;
        if (!c.backup.empty())
          c.backup = backups_ + "\\" + std::to_string(record_.id) + "\\" +
                     std::to_string(numbered_) + "-" + dos::fileName(c.path);
      }
      store_->putChanges(fresh);
    });
  });
  if (!written) return;
  for (size_t n = 0; n < fresh.size(); ++n) {
    byPath_.emplace(std::move(planned[n]->key), pending_.size());
    Pending p;
    p.change = std::move(fresh[n]);
    pending_.push_back(std::move(p));
  }
}

RecordingFileSystem::Pending* RecordingFileSystem::planned(const Target& target,
                                                           ChangeKind whenNew) {
  auto it = byPath_.find(target.key);
  if (it == byPath_.end()) {
    planAll({target}, whenNew);
    it = byPath_.find(target.key);
  } else if (pending_[it->second].change.done) {
    // Written again by this install: what it left is read afresh at the end.
    pending_[it->second].stamped = false;
  }
  return it == byPath_.end() ? nullptr : &pending_[it->second];
}

void RecordingFileSystem::keepOriginal(Pending& p, bool mayShare) {
  if (p.backedUp || p.happened || p.change.done) return;
  if (p.change.backup.empty()) {
    // Not there when planned (or not seen then), there now: not this install's, so kept first.
    if (!inner_.isFile(p.change.path)) return;
    if (p.change.kind == ChangeKind::Created) p.change.kind = ChangeKind::Replaced;
    p.change.backup = backups_ + "\\" + std::to_string(record_.id) + "\\" +
                      std::to_string(++numbered_) + "-" + dos::fileName(p.change.path);
    std::vector<Change> one{p.change};
    if (!storeDoes([&] { store_->putChanges(one); })) return;
  }
  try {
    const std::string folder = dos::parentOf(p.change.backup);
    if (!inner_.isDirectory(backups_)) inner_.mkDir(backups_);
    if (!inner_.isDirectory(folder)) inner_.mkDir(folder);
    p.change.originalReadOnly = inner_.isReadOnly(p.change.path);
    // The copy does not keep the read-only mark: the record holds it, from before the copy is
    // made, so that an original put back after a crash comes back protected.
    if (p.change.originalReadOnly) {
      std::vector<Change> one{p.change};
      storeDoes([&] { store_->putChanges(one); });
    }
    // A protected original gets a copy of its own: shared data would share its protection,
    // which the install clears before it replaces the file.
    inner_.preserveFile(p.change.path, p.change.backup, mayShare && !p.change.originalReadOnly,
                        false);
    // Its size and digest go into the record with the change's stamp, once the pass settles.
    const std::optional<FileStamp> kept = inner_.stamp(p.change.backup);
    p.change.backupSize = kept ? kept->size : -1;
    p.change.backupDigest = inner_.digest(p.change.backup);
  } catch (const FileError& e) {
    const bool gone = (e.number() == err::FileNotFound || e.number() == err::PathNotFound) &&
                      !inner_.isFile(p.change.path);
    if (!gone)
      throw StopFailure("The file " + p.change.path + " could not be kept in the backup store (" +
                        errorText("Error", e) + "), so it was not replaced." + "\r\r" +
                        "The install stopped here. What it did so far is recorded and can be " +
                        "undone in the Installed tab.");
    // Gone since it was planned: nothing to keep.
    p.change.kind = ChangeKind::Created;
    p.change.backup.clear();
    p.change.originalReadOnly = false;
    std::vector<Change> one{p.change};
    storeDoes([&] { store_->putChanges(one); });
    return;
  }
  p.backedUp = true;
}

void RecordingFileSystem::aboutToTransfer(
    const std::vector<std::pair<std::string, std::string>>& moves) {
  inner_.aboutToTransfer(moves);
  if (!installing_ || !store_) return;
  std::vector<Target> targets;
  targets.reserve(moves.size());
  for (const auto& move : moves)
    if (std::optional<Target> t = recordedTarget(move.second)) targets.push_back(std::move(*t));
  // What the last pass did, and what this one is about to do, in one transaction.
  storeDoes([&] {
    store_->transaction([&] {
      settle();
      planAll(std::move(targets), ChangeKind::Created);
    });
  });
}

std::optional<RecordingFileSystem::Target> RecordingFileSystem::newFolder(const std::string& path) {
  std::optional<Target> t = recordedTarget(path);
  if (t && (inner_.isDirectory(path) || inner_.isFile(path))) t.reset();
  return t;
}

void RecordingFileSystem::aboutToMake(const std::vector<std::string>& folders) {
  inner_.aboutToMake(folders);
  // All planned in one transaction: one wait for the disk instead of one per folder.
  std::vector<Target> targets;
  for (const std::string& folder : folders)
    if (std::optional<Target> t = newFolder(folder)) targets.push_back(std::move(*t));
  if (!targets.empty()) storeDoes([&] { planAll(std::move(targets), ChangeKind::Folder); });
}

void RecordingFileSystem::mkDir(const std::string& path) {
  const std::optional<Target> t = newFolder(path);
  if (!t) {
    inner_.mkDir(path);
    return;
  }
  Pending* p = planned(*t, ChangeKind::Folder);
  inner_.mkDir(path);
  if (p) p->happened = true;
}

void RecordingFileSystem::write(const Target& target, ChangeKind whenNew, bool mayShare,
                                const std::function<void()>& change) {
  Pending* p = planned(target, whenNew);
  if (p) keepOriginal(*p, mayShare);
  change();
  if (!p) return;
  p->happened = true;
  p->left.reset();
}

void RecordingFileSystem::transferFile(const std::string& source, const std::string& target) {
  const std::optional<Target> t = recordedTarget(target);
  if (!t) return inner_.transferFile(source, target);
  Pending* p = planned(*t, ChangeKind::Created);
  // Not there when planned: it travels only if it is still not there, which costs no look of
  // its own. A file that appeared since is kept first, as any file replaced.
  const bool travelledNew = p && p->change.backup.empty() && !p->backedUp && !p->happened &&
                            !p->change.done && inner_.transferNewFile(source, target);
  if (!travelledNew) {
    if (p) keepOriginal(*p, true);
    inner_.transferFile(source, target);
  }
  if (!p) return;
  p->happened = true;
  p->left = inner_.transferredStamp();
}

void RecordingFileSystem::copyFile(const std::string& source, const std::string& target) {
  const std::optional<Target> t = recordedTarget(target);
  if (!t) return inner_.copyFile(source, target);
  // A copy of one of the simulator's own files is a backup the program keeps of it, such as
  // the scenery list's: undone as a file is, but without a question about it.
  write(*t, recordedTarget(source) ? ChangeKind::ListBackup : ChangeKind::Created, true,
        [&] { inner_.copyFile(source, target); });
}

void RecordingFileSystem::moveFile(const std::string& source, const std::string& target) {
  const std::optional<Target> t = recordedTarget(target);
  if (!t) return inner_.moveFile(source, target);
  write(*t, ChangeKind::Created, true, [&] { inner_.moveFile(source, target); });
}

void RecordingFileSystem::kill(const std::string& pathOrPattern) {
  const std::optional<Target> t = dos::hasWildcards(dos::fileName(pathOrPattern))
                                      ? std::nullopt
                                      : recordedTarget(pathOrPattern);
  if (!t || !inner_.isFile(pathOrPattern)) return inner_.kill(pathOrPattern);
  write(*t, ChangeKind::Created, true, [&] { inner_.kill(pathOrPattern); });
}

void RecordingFileSystem::deleteFile(const std::string& path) {
  const std::optional<Target> t = recordedTarget(path);
  if (!t || !inner_.isFile(path)) return inner_.deleteFile(path);
  write(*t, ChangeKind::Created, true, [&] { inner_.deleteFile(path); });
}

void RecordingFileSystem::setAttrNormal(const std::string& path) {
  setReadOnly(path, false);
}

void RecordingFileSystem::setReadOnly(const std::string& path, bool readOnly) {
  const std::optional<Target> t = recordedTarget(path);
  if (!t || !inner_.isFile(path)) return inner_.setReadOnly(path, readOnly);
  write(*t, ChangeKind::Created, true, [&] { inner_.setReadOnly(path, readOnly); });
}

void RecordingFileSystem::writeFile(const std::string& path, const std::string& data) {
  const std::optional<Target> t = recordedTarget(path);
  if (!t) return inner_.writeFile(path, data);
  // Written in place: the original needs a copy of its own.
  write(*t, ChangeKind::Created, false, [&] { inner_.writeFile(path, data); });
}

void RecordingFileSystem::replaceFile(const std::string& path, const std::string& data) {
  const std::optional<Target> t = recordedTarget(path);
  if (!t) return inner_.replaceFile(path, data);
  write(*t, ChangeKind::Created, true, [&] { inner_.replaceFile(path, data); });
}

RecordingFileSystem::Pending* RecordingFileSystem::plannedWithMeaning(
    const Target& target, ChangeKind kind, const std::function<void(Change&)>& describe,
    bool mayShare) {
  const bool known = byPath_.count(target.key) > 0;
  Pending* p = planned(target, kind);
  if (!p) return nullptr;
  // Written by this install otherwise already: the record keeps what it said.
  if (!known || p->change.kind == kind) {
    describe(p->change);
    std::vector<Change> one{p->change};
    storeDoes([&] { store_->putChanges(one); });
  }
  keepOriginal(*p, mayShare);
  return p;
}

void RecordingFileSystem::editFile(const std::string& path, const std::string& data,
                                   const std::string& meaning) {
  const std::optional<Target> t = recordedTarget(path);
  if (!t) return inner_.replaceFile(path, data);
  // The old bytes are kept as for any file replaced; what the edit means goes with them.
  Pending* p = plannedWithMeaning(
      *t, ChangeKind::Edit,
      [&](Change& c) {
        std::vector<ConfigEdit> edits = editsDescribed(c.text).value_or(std::vector<ConfigEdit>{});
        const std::optional<std::vector<ConfigEdit>> more = editsDescribed(meaning);
        if (more) edits.insert(edits.end(), more->begin(), more->end());
        c.kind = c.backup.empty() && !inner_.isFile(path) ? ChangeKind::Created : ChangeKind::Edit;
        c.text = describeEdits(edits);
      },
      true);
  inner_.replaceFile(path, data);
  if (!p) return;
  p->happened = true;
  p->left.reset();
}

void RecordingFileSystem::appendFile(const std::string& path, const std::string& data) {
  const std::optional<Target> t = recordedTarget(path);
  if (!t) return inner_.appendFile(path, data);
  // An area added to a scenery list is undone by its meaning (its lines), so that areas added
  // since stay; the copy of the old bytes serves a rollback after a crash.
  Pending* p = plannedWithMeaning(
      *t, ChangeKind::Area,
      [&](Change& c) {
        c.kind = ChangeKind::Area;
        c.text += data;
      },
      false);
  inner_.appendFile(path, data);
  if (p) p->happened = true;
}

void RecordingFileSystem::settle() {
  if (!store_) return;
  std::vector<Change> restamped;
  std::vector<long> dropped;
  bool done = false;
  for (Pending& p : pending_) {
    if (!p.happened) {
      if (p.change.done) continue;
      // Planned, never made: the file was left as it was, and so is its record.
      dropped.push_back(p.change.id);
      if (p.backedUp) {
        try {
          inner_.kill(p.change.backup);
        } catch (const FileError&) {
          // A copy that cannot go only takes room.
        }
        p.backedUp = false;
      }
      continue;
    }
    if (p.change.kind != ChangeKind::Folder && !p.stamped) {
      // What a transfer left is known from the transfer itself.
      std::optional<FileStamp> now = p.left;
      if (!now) try {
          now = inner_.stamp(p.change.path);
        } catch (const FileError&) {
          continue;  // stays planned: the disk tells later what became of it
        }
      p.left.reset();
      p.change.size = now ? now->size : -1;
      p.change.mtime = now ? now->mtime : 0;
      p.change.digest.clear();
      p.change.done = true;
      p.stamped = true;
      restamped.push_back(p.change);
    }
    p.change.done = true;
    p.happened = false;
    done = true;
  }
  if (!done && dropped.empty()) return;
  storeDoes([&] {
    store_->transaction([&] {
      store_->removeChanges(dropped);
      store_->putChanges(restamped);
      store_->markDone(record_.id);
    });
  });
  // Forgotten plans leave no place in the lists; the made ones stay known for this install.
  if (dropped.empty()) return;
  std::vector<Pending> kept;
  for (Pending& p : pending_)
    if (p.change.done) kept.push_back(std::move(p));
  pending_ = std::move(kept);
  byPath_.clear();
  // A change's path differs from its key in letter case alone.
  for (size_t n = 0; n < pending_.size(); ++n) byPath_[dos::lower(pending_[n].change.path)] = n;
}

}  // namespace orvex

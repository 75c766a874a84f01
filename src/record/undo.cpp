// Uninstalling, forgetting and recovering recorded installs.
#include "record/undo.h"

#include <algorithm>
#include <optional>
#include <unordered_set>

#include "platform/config_edit.h"
#include "platform/config_entries.h"
#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/text_encoding.h"
#include "platform/text_reading.h"

namespace orvex {
namespace {

bool isFile(const Change& c) {
  return c.kind == ChangeKind::Created || c.kind == ChangeKind::Replaced;
}

// Whether the change left bytes of its own at its path: a file of the add-on, or the scenery
// list's backup, which a later install may have written again.
bool leftBytes(const Change& c) {
  return isFile(c) || c.kind == ChangeKind::ListBackup;
}

// Whether the change keeps an original to put back.
bool keepsOriginal(const Change& c) {
  return c.kind != ChangeKind::Folder && c.kind != ChangeKind::Created && !c.backup.empty();
}

std::optional<InstallRecord> findInstall(RecordStore& store, long id) {
  for (const InstallRecord& r : store.installs())
    if (r.id == id) return r;
  return std::nullopt;
}

// The value of a key in an area's lines ("Title", "Local").
std::string areaValue(const std::string& lines, const std::string& key) {
  LineReader reader(lines);
  while (!reader.eof())
    if (const std::optional<Entry> e = entryOf(reader.next()); e && e->key == key) return e->value;
  return {};
}

// Whether the backup of a change still holds what was kept, as far as the record knows.
bool backupAsTaken(FileSystem& fs, const Change& c) {
  const std::optional<FileStamp> kept = fs.stamp(c.backup);
  if (!kept || (c.backupSize >= 0 && kept->size != c.backupSize)) return false;
  return c.backupDigest.empty() || fs.digest(c.backup) == c.backupDigest;
}

// A scenery list decoded; one that cannot be read as text stops the uninstall, the list as it is.
DecodedText readList(FileSystem& fs, const std::string& path) {
  std::string why;
  std::optional<DecodedText> list = decodeText(fs.readFile(path), why);
  if (!list) throw FileError(err::TypeMismatch, path + " cannot be read as a scenery list: " + why);
  return std::move(*list);
}

// The line end a text begins with; empty when it begins otherwise.
std::string_view leadingLineEnd(std::string_view text) {
  if (text.starts_with("\r\n")) return text.substr(0, 2);
  return text.starts_with('\r') || text.starts_with('\n') ? text.substr(0, 1) : "";
}

}  // namespace

std::string withoutArea(const std::string& list, const std::string& entryLines, bool& found,
                        bool* followed) {
  const std::string title = dos::lower(areaValue(entryLines, "title"));
  const std::string local = dos::lower(areaValue(entryLines, "local"));
  // The list's lines, each with its own line end, so that what stays keeps its bytes.
  const std::vector<std::string> lines = ConfigLines(list).lines;
  // The last area block with both values: from its header to the next section.
  size_t from = lines.size(), to = lines.size();
  for (size_t k = 0; k < lines.size(); ++k) {
    const std::optional<std::string> section = sectionOf(lines[k]);
    if (!section || section->rfind("area.", 0) != 0) continue;
    size_t end = k + 1;
    while (end < lines.size() && !sectionOf(lines[end])) ++end;
    std::string block;
    for (size_t j = k; j < end; ++j) block += lines[j];
    if (dos::lower(areaValue(block, "title")) == title &&
        dos::lower(areaValue(block, "local")) == local) {
      from = k;
      to = end;
    }
  }
  found = from < lines.size();
  if (!found) return list;
  // The blank line the area was added with goes with it; blank lines after it are the
  // separator of the area that follows, and stay.
  const auto blank = [&](size_t k) { return dos::isBlank(dos::trim(lines[k], " \t\r\n")); };
  while (to > from + 1 && blank(to - 1)) --to;
  if (followed) *followed = to < lines.size();
  if (from > 0 && blank(from - 1)) --from;
  std::string out;
  for (size_t k = 0; k < lines.size(); ++k)
    if (k < from || k >= to) out += lines[k];
  // Added to a list whose last line had no line end, the area began with one: it goes too
  // when nothing follows the area, and stays to end the line before anything that does.
  const std::string_view end = leadingLineEnd(entryLines);
  if (to == lines.size() && out.ends_with(end)) out.resize(out.size() - end.size());
  return out;
}

// One install's changes and the other installs' changes at the same paths, read once for the
// many look-ups of a count, uninstall or recovery, and known to successor while it lasts.
class Undo::OverlapScope {
 public:
  OverlapScope(Undo& undo, long install) : undo_(undo), read_(undo.read(install)) {
    undo.overlap_ = &read_.overlap;
  }
  ~OverlapScope() { undo_.overlap_ = nullptr; }
  OverlapScope(const OverlapScope&) = delete;
  OverlapScope& operator=(const OverlapScope&) = delete;

  std::vector<Change>& changes() { return read_.changes; }
  // Ends the scope's use of what it read, and keeps it for the uninstall that may follow.
  void keepForUninstall() {
    undo_.overlap_ = nullptr;
    undo_.counted_ = std::move(read_);
  }

 private:
  Undo& undo_;
  Read read_;
};

std::optional<Change> Undo::successor(const Change& change, bool area) {
  // Read once per uninstall, count or recovery; asked of the store outside one.
  std::vector<Change> asked;
  const std::vector<Change>* others = &asked;
  if (overlap_ && overlap_->install == change.install) {
    const auto found = overlap_->byPath.find(dos::lower(change.path));
    if (found != overlap_->byPath.end()) others = &found->second;
  } else {
    asked = store_.changesAt(change.path);
  }
  for (const Change& other : *others)
    if (other.install > change.install &&
        (area ? other.kind == ChangeKind::Area : leftBytes(other)))
      return other;
  return std::nullopt;
}

bool Undo::unchanged(const Change& c) {
  return unchanged(c, fs_.stamp(c.path));
}

bool Undo::unchanged(const Change& c, const std::optional<FileStamp>& now) {
  if (c.size < 0) return !now;
  if (!now || now->size != c.size) return false;
  if (now->mtime == c.mtime) return true;
  // Same size, another time: the bytes decide, where they are known.
  if (c.digest.empty()) return false;
  try {
    return fs_.digest(c.path) == c.digest;
  } catch (const FileError&) {
    return false;
  }
}

int Undo::fileCount(const std::vector<Change>& changes) {
  return int(std::count_if(changes.begin(), changes.end(), isFile));
}

Undo::Read Undo::read(long install) {
  if (counted_ && counted_->overlap.install == install && counted_->version == store_.version()) {
    Read kept = std::move(*counted_);
    counted_.reset();
    return kept;
  }
  counted_.reset();
  // The version first: a write while reading makes what is read count as older, never newer.
  Read fresh{store_.version(), {}, {install, {}}};
  for (Change& c : store_.changesOverlapping(install))
    fresh.overlap.byPath[dos::lower(c.path)].push_back(std::move(c));
  fresh.changes = store_.changes(install);
  return fresh;
}

Undo::Counts Undo::count(long install) {
  OverlapScope scope(*this, install);
  Counts counts;
  for (const Change& c : scope.changes()) {
    if (c.kind == ChangeKind::Edit) counts.edited.push_back(c.path);
    if (!isFile(c) || successor(c)) continue;
    if (keepsOriginal(c))
      ++counts.putBack;
    else if (c.size >= 0)
      ++counts.remove;
  }
  scope.keepForUninstall();
  return counts;
}

Undo::Status Undo::status(const std::vector<Change>& changes) {
  bool changed = false;
  for (const Change& c : changes) {
    if ((!isFile(c) && c.kind != ChangeKind::Edit) || c.size < 0) continue;
    try {
      const std::optional<FileStamp> now = fs_.stamp(c.path);
      if (!now) return Status::PartlyRemoved;
      changed = changed || !unchanged(c, now);
    } catch (const FileError&) {
      changed = true;  // a file that cannot be looked at now is not known to be as it was
    }
  }
  return changed ? Status::ChangedSince : Status::AsInstalled;
}

long long Undo::backupBytes(const std::vector<Change>& changes) {
  long long bytes = 0;
  for (const Change& c : changes) {
    if (c.backup.empty()) continue;
    try {
      if (const std::optional<FileStamp> s = fs_.stamp(c.backup)) bytes += s->size;
    } catch (const FileError&) {
      // Counted as nothing while it cannot be looked at.
    }
  }
  return bytes;
}

bool Undo::putBack(const Change& c) {
  if (!keepsOriginal(c)) {
    fs_.deleteFile(c.path);
    return true;
  }
  // Without its kept copy the original cannot come back; what is there now stays.
  if (!fs_.isFile(c.backup)) return false;
  // A configuration file is put back whole in one step: the simulator never finds it missing.
  if (c.kind == ChangeKind::Edit) {
    fs_.replaceFile(c.path, fs_.readFile(c.backup));
    return true;
  }
  fs_.deleteFile(c.path);
  // A file that went with its folder (a livery taken out) comes back into the folder made anew.
  std::vector<std::string> missing;
  for (std::string folder = dos::parentOf(c.path); !folder.empty() && !fs_.isDirectory(folder);
       folder = dos::parentOf(folder)) {
    if (dos::parentOf(folder) == folder) break;
    missing.push_back(folder);
  }
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) fs_.mkDir(*it);
  // A protected original gets a data of its own: its kept copy is unprotected to go. Its
  // name is made lasting with the others of its folder, before its kept copy may go.
  const std::string folder = dos::parentOf(c.path);
  if (std::find(unsynced_.begin(), unsynced_.end(), folder) == unsynced_.end())
    unsynced_.push_back(folder);
  fs_.preserveFile(c.backup, c.path, !c.originalReadOnly, true);
  if (c.originalReadOnly) fs_.setReadOnly(c.path, true);
  return true;
}

std::vector<Undo::BackupProblem> Undo::backupProblems(const std::vector<Change>& changes) {
  std::vector<BackupProblem> problems;
  for (const Change& c : changes) {
    if (!isFile(c) || !keepsOriginal(c) || successor(c)) continue;
    const std::optional<FileStamp> kept = fs_.stamp(c.backup);
    bool altered = false;
    if (kept && c.backupSize >= 0) altered = kept->size != c.backupSize;
    if (kept && !altered && !c.backupDigest.empty())
      altered = fs_.digest(c.backup) != c.backupDigest;
    if (!kept || altered) problems.push_back({c.path, c.backup, !kept});
  }
  return problems;
}

void Undo::removeArea(const Change& c) {
  if (!fs_.isFile(c.path)) return;
  const DecodedText list = readList(fs_, c.path);
  const std::string added = decodeAdded(c.text);
  bool found = false, followed = false;
  const std::string rest = withoutArea(list.text, added, found, &followed);
  if (!found) return;
  if (followed && !leadingLineEnd(added).empty())
    handLineEndOn(c, list.encode(leadingLineEnd(added), false));
  // Written back in its own encoding: what stays keeps its bytes.
  fs_.replaceFile(c.path, list.encode(rest, true));
}

void Undo::takeBackEdit(const Change& c) {
  if (!fs_.isFile(c.path)) {
    notTakenBack_.push_back(c.path);
    return;
  }
  if (unchanged(c) && !c.backup.empty() && backupAsTaken(fs_, c)) {
    putBack(c);
    return;
  }
  // Changed since (another edit, the user's own): only this edit's lines go.
  std::string why;
  std::optional<DecodedText> text = decodeText(fs_.readFile(c.path), why);
  const std::optional<std::vector<ConfigEdit>> edits = editsDescribed(c.text);
  if (!text || !edits) {
    notTakenBack_.push_back(c.path);
    return;
  }
  std::string rest = text->text;
  if (!takeBack(rest, *edits)) notTakenBack_.push_back(c.path);
  if (rest != text->text) fs_.replaceFile(c.path, text->encode(rest, true));
  byMeaning_.push_back(c.path);
}

void Undo::handLineEndOn(const Change& area, const std::string& lineEnd) {
  std::optional<Change> next = successor(area, true);
  // Handed on already when an uninstall broken off is finished.
  if (!next || !leadingLineEnd(decodeAdded(next->text)).empty()) return;
  next->text = lineEnd + next->text;
  std::vector<Change> one{*next};
  store_.putChanges(one);
  if (overlap_)
    for (Change& kept : overlap_->byPath[dos::lower(next->path)])
      if (kept.id == next->id) kept = *next;
}

void Undo::removeFolders(const std::vector<Change>& folders, long install,
                         std::vector<long>& undone) {
  for (const Change& f : folders) {
    undone.push_back(f.id);
    if (!fs_.isDirectory(f.path)) continue;
    try {
      fs_.rmDir(f.path);
    } catch (const FileError&) {
      // Still holding files: those of another install keep it, and it goes with the last of
      // them; the user's own keep it for good.
      handFolderOn(f, install);
    }
  }
}

void Undo::handFolderOn(const Change& folder, long install) {
  long heir = 0;
  for (const Change& other : store_.changesBelow(folder.path))
    if (other.install != install && isFile(other)) heir = std::max(heir, other.install);
  if (!heir) return;
  std::vector<Change> handed{folder};
  handed[0].id = 0;
  handed[0].install = heir;
  store_.putChanges(handed);
}

void Undo::finish(long install, const std::vector<Change>& changes,
                  const std::vector<long>& undone) {
  // The originals put back are lasting before their record, and with it their copies, go.
  for (const std::string& folder : unsynced_) {
    try {
      fs_.syncFolder(folder);
    } catch (const FileError&) {
      // A folder gone since holds no original to keep.
    }
  }
  unsynced_.clear();
  std::optional<InstallRecord> record = findInstall(store_, install);
  const std::unordered_set<long> gone(undone.begin(), undone.end());
  const bool all = std::all_of(changes.begin(), changes.end(),
                               [&](const Change& c) { return gone.count(c.id) > 0; });
  store_.transaction([&] {
    // The record goes with all its changes in one statement when every one is undone.
    if (!all) store_.removeChanges(undone);
    if (all || store_.changes(install).empty()) {
      store_.removeInstall(install);
    } else if (record) {
      record->state = InstallState::Done;
      store_.updateInstall(*record);
    }
  });
  std::vector<std::string> backups;
  for (const Change& c : changes)
    if (!c.backup.empty() && gone.count(c.id)) backups.push_back(c.backup);
  dropBackups(backups);
}

void Undo::dropBackups(const std::vector<std::string>& backups) {
  std::vector<std::string> folders;
  const std::vector<bool> inUse = store_.backupsInUse(backups);
  for (size_t k = 0; k < backups.size(); ++k) {
    const std::string& backup = backups[k];
    if (std::find(folders.begin(), folders.end(), dos::parentOf(backup)) == folders.end())
      folders.push_back(dos::parentOf(backup));
    if (inUse[k]) continue;
    try {
      fs_.deleteFile(backup);
    } catch (const FileError&) {
      // A backup that cannot go only takes room.
    }
  }
  for (const std::string& folder : folders) {
    try {
      fs_.rmDir(folder);
    } catch (const FileError&) {
      // Still holding backups that other installs need.
    }
  }
}

void Undo::handOver(const Change& c, std::vector<std::string>& orphans,
                    std::vector<Change>& handed) {
  std::optional<Change> next = successor(c);
  if (!next) return;
  // The later install now keeps the true original; the copy it kept of this install's
  // version is no longer needed by anyone.
  if (!next->backup.empty() && next->backup != c.backup) orphans.push_back(next->backup);
  // The list's backup stays one: it is put back without a question, as it is the program's.
  if (next->kind != ChangeKind::ListBackup)
    next->kind = keepsOriginal(c) ? ChangeKind::Replaced : ChangeKind::Created;
  next->backup = keepsOriginal(c) ? c.backup : std::string();
  next->backupSize = keepsOriginal(c) ? c.backupSize : -1;
  next->backupDigest = keepsOriginal(c) ? c.backupDigest : std::string();
  next->originalReadOnly = c.originalReadOnly;
  handed.push_back(*next);
  if (overlap_)
    for (Change& kept : overlap_->byPath[dos::lower(next->path)])
      if (kept.id == next->id) kept = *next;
}

bool Undo::ask(const Change& c, const std::function<std::optional<FileStamp>()>& now, bool& toAll,
               bool& cancelled) {
  if (toAll || !askChanged || unchanged(c, now())) return true;
  ++questions_;
  switch (askChanged(c.path)) {
    case UndoAnswer::Yes: return true;
    case UndoAnswer::YesToAll: toAll = true; return true;
    case UndoAnswer::Cancel: cancelled = true; return false;
    case UndoAnswer::No: break;
  }
  return false;
}

std::vector<Change> Undo::resolvePlanned(std::vector<Change> changes) {
  std::vector<Change> settled;
  std::vector<long> dropped;
  std::vector<Change> kept;
  for (Change& c : changes) {
    if (c.done) {
      kept.push_back(std::move(c));
      continue;
    }
    // A change is made only after it is planned, and a file only replaced after its original
    // is kept: what the disk holds tells how far it came.
    bool happened = false;
    if (c.kind == ChangeKind::Folder)
      happened = fs_.isDirectory(c.path);
    else if (!c.backup.empty())
      happened = fs_.isFile(c.backup);
    else
      happened = fs_.isFile(c.path);
    if (!happened) {
      dropped.push_back(c.id);
      continue;
    }
    c.done = true;
    if (c.kind != ChangeKind::Folder) {
      const std::optional<FileStamp> now = fs_.stamp(c.path);
      c.size = now ? now->size : -1;
      c.mtime = now ? now->mtime : 0;
    }
    settled.push_back(c);
    kept.push_back(std::move(c));
  }
  if (!settled.empty() || !dropped.empty())
    store_.transaction([&] {
      store_.putChanges(settled);
      store_.removeChanges(dropped);
    });
  return kept;
}

bool Undo::uninstall(long install) {
  notPutBack_.clear();
  byMeaning_.clear();
  notTakenBack_.clear();
  std::optional<InstallRecord> record = findInstall(store_, install);
  if (!record) return true;
  OverlapScope scope(*this, install);
  const std::vector<Change> changes = resolvePlanned(std::move(scope.changes()));
  // Originals that cannot come back as they were are known before anything changes.
  std::unordered_set<std::string> kept;
  if (const std::vector<BackupProblem> problems = backupProblems(changes); !problems.empty()) {
    if (askBackups && !askBackups(problems)) return false;
    for (const BackupProblem& p : problems) kept.insert(p.backup);
  }
  std::vector<std::string> orphans;

  // First, in one transaction: the record says an uninstall runs, and every later install
  // that wrote one of the same files takes over the original this one kept.
  store_.transaction([&] {
    record->state = InstallState::Uninstalling;
    store_.updateInstall(*record);
    std::vector<Change> handed;
    for (const Change& c : changes)
      if (leftBytes(c)) handOver(c, orphans, handed);
    if (!handed.empty()) store_.putChanges(handed);
  });
  began_ = true;
  dropBackups(orphans);

  const int total = int(changes.size());
  int done = 0;
  bool toAll = false, cancelled = false;
  std::vector<long> undone;
  std::vector<Change> folders;
  // The stamps of the files are read a batch at a time, folder by folder, just before they are
  // needed, and afresh after a question. A batch that fails is read file by file, so that a
  // failure stops the uninstall at its own file.
  constexpr size_t kStampBatch = 256;
  std::unordered_map<const Change*, std::optional<FileStamp>> stamped;
  int stampedAfter = questions_;
  const auto stampNow = [&](auto at) -> std::optional<FileStamp> {
    if (const auto found = stamped.find(&*at); found != stamped.end() && stampedAfter == questions_)
      return found->second;
    stamped.clear();
    stampedAfter = questions_;
    std::vector<const Change*> next;
    for (auto from = at; from != changes.rend() && next.size() < kStampBatch; ++from)
      if (isFile(*from)) next.push_back(&*from);
    std::vector<std::string> paths;
    for (const Change* n : next) paths.push_back(n->path);
    try {
      const std::vector<std::optional<FileStamp>> got = fs_.stamps(paths);
      for (size_t k = 0; k < next.size(); ++k) stamped[next[k]] = got[k];
      return got.front();
    } catch (const FileError&) {
      stamped.clear();
      return fs_.stamp(at->path);
    }
  };
  // The files it only removes go a few at a time, those of one folder together, and always
  // before anything else is changed.
  std::vector<std::string> removing;
  const auto removeNow = [&] {
    fs_.deleteFiles(removing);
    removing.clear();
  };
  for (auto it = changes.rbegin(); it != changes.rend() && !cancelled; ++it) {
    const Change& c = *it;
    switch (c.kind) {
      case ChangeKind::Folder: folders.push_back(c); break;
      case ChangeKind::ListBackup:
        // The backup that was there before the install comes back, or none, unless a later
        // install wrote it since: that one has the original now.
        if (!successor(c)) {
          removeNow();
          putBack(c);
        }
        undone.push_back(c.id);
        break;
      case ChangeKind::Area:
        removeNow();
        removeArea(c);
        undone.push_back(c.id);
        break;
      case ChangeKind::Edit:
        removeNow();
        takeBackEdit(c);
        undone.push_back(c.id);
        break;
      case ChangeKind::Created:
      case ChangeKind::Replaced:
        // Under a later install the file stays as that one left it.
        if (successor(c)) {
          undone.push_back(c.id);
          break;
        }
        if (kept.count(c.backup) && keepsOriginal(c)) {
          notPutBack_.push_back(c.path);
          break;
        }
        if (!ask(
                c, [&] { return stampNow(it); }, toAll, cancelled))
          break;
        if (keepsOriginal(c)) {
          removeNow();
          if (!putBack(c)) {
            notPutBack_.push_back(c.path);
            break;
          }
        } else {
          if (removing.size() == kStampBatch ||
              (!removing.empty() && dos::folderPart(removing.back()) != dos::folderPart(c.path)))
            removeNow();
          removing.push_back(c.path);
        }
        undone.push_back(c.id);
        break;
    }
    if (progress) progress(++done, total);
  }
  removeNow();
  if (!cancelled) removeFolders(folders, install, undone);
  finish(install, changes, undone);
  return !cancelled;
}

void Undo::forget(long install) {
  OverlapScope scope(*this, install);
  const std::vector<Change> changes = resolvePlanned(std::move(scope.changes()));
  std::vector<std::string> orphans;
  store_.transaction([&] {
    std::vector<Change> handed;
    for (const Change& c : changes) {
      if (leftBytes(c))
        handOver(c, orphans, handed);
      else if (c.kind == ChangeKind::Folder)
        handFolderOn(c, install);
    }
    if (!handed.empty()) store_.putChanges(handed);
  });
  dropBackups(orphans);
  std::vector<long> all;
  for (const Change& c : changes) all.push_back(c.id);
  finish(install, changes, all);
  if (findInstall(store_, install)) store_.removeInstall(install);
}

void Undo::rollBack(long install) {
  std::optional<InstallRecord> record = findInstall(store_, install);
  if (!record) return;
  if (record->state == InstallState::Uninstalling) {
    // An uninstall broken off is finished, without asking again.
    const auto asked = std::move(askChanged);
    askChanged = nullptr;
    uninstall(install);
    askChanged = asked;
    return;
  }
  // An install broken off is the last to have written its files: every byte it replaced
  // comes back from the copies kept, the scenery list included.
  OverlapScope scope(*this, install);
  const std::vector<Change> changes = resolvePlanned(std::move(scope.changes()));
  std::vector<long> undone;
  std::vector<Change> folders;
  for (auto it = changes.rbegin(); it != changes.rend(); ++it) {
    if (it->kind == ChangeKind::Folder) {
      folders.push_back(*it);
      continue;
    }
    if (!leftBytes(*it) || !successor(*it)) putBack(*it);
    undone.push_back(it->id);
  }
  removeFolders(folders, install, undone);
  finish(install, changes, undone);
}

void Undo::dropStrayBackups(const std::string& backups) {
  std::vector<std::string> recorded;
  for (const InstallRecord& r : store_.installs()) recorded.push_back(std::to_string(r.id));
  std::vector<std::string> stray;
  try {
    for (const std::string& folder :
         fs_.isDirectory(backups) ? fs_.listDirs(backups) : std::vector<std::string>{}) {
      // A recorded install's copies go with its record.
      if (std::find(recorded.begin(), recorded.end(), dos::fileName(folder)) != recorded.end())
        continue;
      try {
        const std::vector<std::string> names = fs_.listFiles(folder, "*.*");
        for (const std::string& name : names) stray.push_back(folder + "\\" + name);
        if (names.empty()) fs_.rmDir(folder);
      } catch (const FileError&) {
        // A folder that cannot be looked at or removed now is tried again at the next start.
      }
    }
  } catch (const FileError&) {
    return;
  }
  // Those handed on to a later install stay.
  dropBackups(stray);
}

void Undo::keepAsItStands(long install) {
  std::optional<InstallRecord> record = findInstall(store_, install);
  if (!record) return;
  OverlapScope scope(*this, install);
  std::vector<Change> changes = resolvePlanned(std::move(scope.changes()));
  std::vector<long> gone;
  if (record->state == InstallState::Uninstalling) {
    // What the uninstall undid already leaves the record.
    for (const Change& c : changes) {
      bool stays = true;
      if (c.kind == ChangeKind::Folder) {
        stays = fs_.isDirectory(c.path);
      } else if (leftBytes(c) && !successor(c)) {
        // An original put back has its kept copy's size, time and bytes, and its protection.
        // The bytes decide too: the add-on's file may have the original's size and, written
        // within the same tick of the clock, its time.
        const std::optional<FileStamp> now = fs_.stamp(c.path);
        stays = keepsOriginal(c) ? !(now && now == fs_.stamp(c.backup) &&
                                     fs_.isReadOnly(c.path) == c.originalReadOnly &&
                                     fs_.digest(c.path) == fs_.digest(c.backup))
                                 : now.has_value();
      } else if (c.kind == ChangeKind::Edit) {
        // Taken back when its lines are gone, whether by the old bytes or by their meaning.
        std::string why;
        const std::optional<DecodedText> text =
            fs_.isFile(c.path) ? decodeText(fs_.readFile(c.path), why) : std::nullopt;
        const std::optional<std::vector<ConfigEdit>> edits = editsDescribed(c.text);
        stays = !text || !edits || editsStand(text->text, *edits);
      } else if (c.kind == ChangeKind::Area && fs_.isFile(c.path)) {
        // In a list that cannot be read as text the area is not known to be gone.
        std::string why;
        const std::optional<DecodedText> list = decodeText(fs_.readFile(c.path), why);
        bool found = true;
        if (list) withoutArea(list->text, decodeAdded(c.text), found);
        stays = found;
      }
      if (!stays) gone.push_back(c.id);
    }
  }
  finish(install, changes, gone);
  if (std::optional<InstallRecord> left = findInstall(store_, install)) {
    left->state = InstallState::Done;
    store_.updateInstall(*left);
  }
}

}  // namespace orvex

// The install records in SQLite: the schema, its version, and one prepared statement per query.
#include "host/sqlite_record_store.h"

#include <algorithm>
#include <array>
#include <unordered_set>
#include <utility>

#include "platform/dos_path.h"

namespace orvex {
namespace {

using Statement = SqliteConnection::Statement;
using Run = Statement::Run;

// The version of the tables below, kept in the file's user_version. A newer program that
// changes them raises it, and this one then refuses the file rather than misread it.
constexpr long kSchemaVersion = 5;

// An install's id is never given twice (AUTOINCREMENT); a change's is one more than the
// largest held, which spares each of the many inserts of a copy pass the bookkeeping.
// Words in place of the enumerations' numbers keep the file readable with the sqlite3 tool.
// A change is done when its own mark says so, or when its id lies below its install's
// done_below: marking the thousands of changes of a copy pass done is one write.
constexpr const char* kSchema = R"(
CREATE TABLE installs (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  simulator TEXT NOT NULL,
  kind TEXT NOT NULL,
  name TEXT NOT NULL,
  made TEXT NOT NULL,
  state TEXT NOT NULL,
  done_below INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE changes (
  id INTEGER PRIMARY KEY,
  install INTEGER NOT NULL REFERENCES installs (id) ON DELETE CASCADE,
  kind TEXT NOT NULL,
  path TEXT NOT NULL,
  path_lower TEXT NOT NULL,
  backup TEXT NOT NULL,
  original_read_only INTEGER NOT NULL,
  done INTEGER NOT NULL,
  size INTEGER NOT NULL,
  mtime INTEGER NOT NULL,
  digest TEXT NOT NULL,
  text TEXT NOT NULL,
  backup_size INTEGER NOT NULL DEFAULT -1,
  backup_digest TEXT NOT NULL DEFAULT ''
);
CREATE INDEX changes_install ON changes (install);
CREATE INDEX changes_path ON changes (path_lower);
CREATE INDEX changes_backup ON changes (backup COLLATE NOCASE) WHERE backup <> '';
)";

// What the first version of the tables lacks.
constexpr const char* kFromVersion1 =
    "ALTER TABLE installs ADD COLUMN done_below INTEGER NOT NULL DEFAULT 0";

// What the first three versions lack: the size and digest of each backup as it was taken, so
// that an uninstall can tell a backup that went or changed since. Older changes know neither.
constexpr const char* kFromVersion3 =
    "ALTER TABLE changes ADD COLUMN backup_size INTEGER NOT NULL DEFAULT -1; "
    "ALTER TABLE changes ADD COLUMN backup_digest TEXT NOT NULL DEFAULT ''";

// A plan holds many new changes of one install in one row, their ids first_id onwards: the
// thousands a copy pass plans cost one insert instead of one each, with as many index entries.
// An install's own changes are read and changed inside its plans, and the other installs' at its
// paths, those below a folder and the backups in use are found in them too; a search for one
// path, or a change handed to another install, turns the plans into rows first. The first and the
// second version of the tables lack it.
constexpr const char* kPlans = R"(
CREATE TABLE plans (
  first_id INTEGER PRIMARY KEY,
  install INTEGER NOT NULL REFERENCES installs (id) ON DELETE CASCADE,
  count INTEGER NOT NULL,
  changes BLOB NOT NULL
);
)";

// What the fifth version adds: values the program keeps to spare itself work (the Hangar as
// last read), and the change kind "edit", which older programs do not know.
constexpr const char* kKept =
    "CREATE TABLE kept (key TEXT PRIMARY KEY, value BLOB NOT NULL) WITHOUT ROWID";

// The changes' columns, done as the mark and the install's done_below say: doneBelow is that
// of the change's install.
std::string selectChanges(const std::string& doneBelow, const std::string& from) {
  return "SELECT c.id, c.install, c.kind, c.path, c.backup, c.original_read_only, c.done OR "
         "c.id < " +
         doneBelow + ", c.size, c.mtime, c.digest, c.text, c.backup_size, c.backup_digest FROM " +
         from + " ";
}
const std::string kSelectChanges =
    selectChanges("i.done_below", "changes c JOIN installs i ON i.id = c.install");

template <class Enum, size_t N>
using Names = std::array<std::pair<Enum, const char*>, N>;

constexpr Names<ChangeKind, 6> kChangeKinds{{{ChangeKind::Folder, "folder"},
                                             {ChangeKind::Created, "created"},
                                             {ChangeKind::Replaced, "replaced"},
                                             {ChangeKind::Area, "area"},
                                             {ChangeKind::ListBackup, "list backup"},
                                             {ChangeKind::Edit, "edit"}}};
constexpr Names<InstallState, 3> kInstallStates{{{InstallState::Running, "running"},
                                                 {InstallState::Done, "done"},
                                                 {InstallState::Uninstalling, "uninstalling"}}};

// The word of a value, as the file holds it: a constant, which outlives any run it is bound to.
template <class Enum, size_t N>
const char* nameOf(const Names<Enum, N>& names, Enum value) {
  for (const auto& [v, name] : names)
    if (v == value) return name;
  return "";
}

template <class Enum, size_t N>
Enum valueOf(const Names<Enum, N>& names, const std::string& text, const SqliteConnection& db) {
  for (const auto& [v, name] : names)
    if (text == name) return v;
  db.fail("a record holds the unknown word \"" + text + "\"");
}

// Binds a change's fields to the parameters after base; lower is its path in lower case. The
// texts are bound without a copy: the change and lower must outlive the run.
Run& bindChange(Run& run, const Change& c, const std::string& lower, int base = 0) {
  return run.bind(base + 1, c.install)
      .bindKept(base + 2, nameOf(kChangeKinds, c.kind))
      .bindKept(base + 3, c.path)
      .bindKept(base + 4, lower)
      .bindKept(base + 5, c.backup)
      .bind(base + 6, c.originalReadOnly)
      .bind(base + 7, c.done)
      .bind(base + 8, c.size)
      .bind(base + 9, c.mtime)
      .bindKept(base + 10, c.digest)
      .bindKept(base + 11, c.text)
      .bind(base + 12, c.backupSize)
      .bindKept(base + 13, c.backupDigest);
}

// The parameters bindChange binds; the change's id follows them.
constexpr int kChangeParameters = 13;

// How many new changes one insert writes: a copy pass plans thousands at once, and one
// statement per change would cost twice the time.
constexpr size_t kInsertBatch = 64;

// The insert of count changes, each with its id last.
std::string insertChanges(size_t count) {
  std::string sql =
      "INSERT INTO changes (install, kind, path, path_lower, backup, original_read_only, done, "
      "size, mtime, digest, text, backup_size, backup_digest, id) VALUES ";
  for (size_t n = 0; n < count; ++n) {
    if (n) sql += ", ";
    sql += "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
  }
  return sql;
}

// From how many new changes on they are written as a plan.
constexpr size_t kPlanAtLeast = kInsertBatch;

// A plan's changes one after another, small: numbers in seven-bit groups, lowest first, the
// last group's top bit clear (signed ones folded: 0, -1, 1, -2 ...), each text as its length
// and bytes. The kind is its word's place in the list of words; a path is told by how much of
// the one before it it shares, then the rest, as a pass's files share their folder.
void putNumber(std::string& out, unsigned long long value) {
  for (; value >= 0x80; value >>= 7) out.push_back(char((value & 0x7f) | 0x80));
  out.push_back(char(value));
}
void putSigned(std::string& out, long long value) {
  putNumber(out, (static_cast<unsigned long long>(value) << 1) ^ (value < 0 ? ~0ULL : 0ULL));
}
void putText(std::string& out, std::string_view text) {
  putNumber(out, text.size());
  out += text;
}

// A plan written since the backups' sizes and digests are recorded begins with the marker, which
// no older plan can begin with: its first number, a kind, is a single small byte. Each change
// of it ends with its backup's size and digest.
constexpr char kPlanWithBackupStamps[] = {char(0xff), char(0x01)};

std::string planOf(const std::vector<const Change*>& changes) {
  std::string out(kPlanWithBackupStamps, sizeof kPlanWithBackupStamps);
  std::string_view before;
  for (const Change* c : changes) {
    size_t kind = 0;
    while (kChangeKinds[kind].first != c->kind) ++kind;
    putNumber(out, kind);
    const std::string_view path = c->path;
    size_t shared = 0;
    while (shared < before.size() && shared < path.size() && before[shared] == path[shared])
      ++shared;
    putNumber(out, shared);
    putText(out, path.substr(shared));
    before = path;
    for (const std::string* text : {&c->backup, &c->digest, &c->text}) putText(out, *text);
    putNumber(out, (c->originalReadOnly ? 1U : 0U) | (c->done ? 2U : 0U));
    putSigned(out, c->size);
    putSigned(out, c->mtime);
    putSigned(out, c->backupSize);
    putText(out, c->backupDigest);
  }
  return out;
}

std::vector<Change> changesOfPlan(const std::string& bytes, long install, long long count,
                                  const SqliteConnection& db) {
  size_t at = 0;
  const auto damaged = [&] { db.fail("a plan of changes is damaged"); };
  const auto number = [&] {
    unsigned long long value = 0;
    for (int shift = 0;; shift += 7) {
      if (at == bytes.size() || shift > 63) damaged();
      const auto group = static_cast<unsigned char>(bytes[at++]);
      value |= static_cast<unsigned long long>(group & 0x7f) << shift;
      if (!(group & 0x80)) return value;
    }
  };
  const auto signedNumber = [&] {
    const unsigned long long folded = number();
    return static_cast<long long>(folded >> 1) ^ -static_cast<long long>(folded & 1);
  };
  const auto text = [&] {
    const unsigned long long length = number();
    if (bytes.size() - at < length) damaged();
    std::string t = bytes.substr(at, size_t(length));
    at += size_t(length);
    return t;
  };
  const bool backupStamps = bytes.compare(0, sizeof kPlanWithBackupStamps, kPlanWithBackupStamps,
                                          sizeof kPlanWithBackupStamps) == 0;
  if (backupStamps) at = sizeof kPlanWithBackupStamps;
  std::vector<Change> changes;
  std::string before;
  for (long long n = 0; n < count; ++n) {
    Change& c = changes.emplace_back();
    c.install = install;
    const unsigned long long kind = number();
    if (kind >= kChangeKinds.size()) damaged();
    c.kind = kChangeKinds[kind].first;
    const unsigned long long shared = number();
    if (shared > before.size()) damaged();
    c.path = before.substr(0, size_t(shared)) + text();
    before = c.path;
    for (std::string* t : {&c.backup, &c.digest, &c.text}) *t = text();
    const unsigned long long flags = number();
    c.originalReadOnly = flags & 1;
    c.done = flags & 2;
    c.size = signedNumber();
    c.mtime = signedNumber();
    if (backupStamps) {
      c.backupSize = signedNumber();
      c.backupDigest = text();
    }
  }
  if (at != bytes.size()) damaged();
  return changes;
}

std::vector<const Change*> pointersTo(const std::vector<Change>& changes) {
  std::vector<const Change*> all;
  all.reserve(changes.size());
  for (const Change& c : changes) all.push_back(&c);
  return all;
}

// The largest change id held, in a row or a plan; 0 when there is none.
const std::string kLargestHeld =
    "max(coalesce((SELECT max(id) FROM changes), 0), "
    "coalesce((SELECT max(first_id + count - 1) FROM plans), 0))";

Run& bindInstall(Run& run, const InstallRecord& r) {
  return run.bind(1, r.simulator)
      .bind(2, r.kind)
      .bind(3, r.name)
      .bind(4, r.when)
      .bind(5, nameOf(kInstallStates, r.state));
}

}  // namespace

struct SqliteRecordStore::Statements {
  explicit Statements(SqliteConnection& db)
      : addInstall(db,
                   "INSERT INTO installs (simulator, kind, name, made, state) "
                   "VALUES (?1, ?2, ?3, ?4, ?5)"),
        updateInstall(db,
                      "UPDATE installs SET simulator = ?1, kind = ?2, name = ?3, made = ?4, "
                      "state = ?5 WHERE id = ?6"),
        // Its changes and plans stay behind, unseen, until tidy drops them.
        removeInstall(db, "DELETE FROM installs WHERE id = ?1"),
        installs(db, "SELECT id, simulator, kind, name, made, state FROM installs ORDER BY id"),
        addChange(db, insertChanges(1)),
        addChanges(db, insertChanges(kInsertBatch)),
        // Never below an install's done_below, whatever was removed since.
        largestChange(db, "SELECT max(" + kLargestHeld +
                              ", coalesce((SELECT max(done_below) FROM installs), 0) - 1)"),
        updateChange(db,
                     "UPDATE changes SET install = ?1, kind = ?2, path = ?3, path_lower = ?4, "
                     "backup = ?5, original_read_only = ?6, done = ?7, size = ?8, mtime = ?9, "
                     "digest = ?10, text = ?11, backup_size = ?12, backup_digest = ?13 "
                     "WHERE id = ?14"),
        removeChange(db, "DELETE FROM changes WHERE id = ?1"),
        markDone(db, "UPDATE installs SET done_below = " + kLargestHeld + " + 1 WHERE id = ?1"),
        addPlan(db,
                "INSERT INTO plans (first_id, install, count, changes) VALUES (?1, ?2, ?3, ?4)"),
        // Those of installs removed are never turned into rows: tidy drops them.
        anyPlan(db, "SELECT 1 FROM plans p JOIN installs i ON i.id = p.install LIMIT 1"),
        removePlans(db, "DELETE FROM plans"),
        removePlansOf(db, "DELETE FROM plans WHERE install = ?1"),
        planSpans(
            db,
            "SELECT p.first_id, p.install, p.count, i.done_below FROM plans p JOIN installs i "
            "ON i.id = p.install ORDER BY p.first_id"),
        plansOf(db,
                "SELECT p.first_id, p.install, p.count, i.done_below FROM plans p JOIN installs i "
                "ON i.id = p.install WHERE p.install = ?1 ORDER BY p.first_id"),
        othersHoldAny(db,
                      "SELECT 1 FROM changes c JOIN installs i ON i.id = c.install WHERE c.install "
                      "< ?1 OR c.install > ?1 UNION ALL SELECT 1 FROM plans p JOIN installs i ON "
                      "i.id = p.install WHERE p.install <> ?1 LIMIT 1"),
        planChanges(db, "SELECT changes FROM plans WHERE first_id = ?1"),
        updatePlan(db, "UPDATE plans SET changes = ?2 WHERE first_id = ?1"),
        // One install's: its done_below is read once, not joined to each of them.
        changesOf(db,
                  selectChanges("(SELECT done_below FROM installs WHERE id = ?1)", "changes c") +
                      "WHERE c.install = ?1 AND EXISTS (SELECT 1 FROM installs WHERE id = ?1) "
                      "ORDER BY c.id"),
        changesAt(db, kSelectChanges + "WHERE c.path_lower = ?1 ORDER BY c.install, c.id"),
        // The paths that begin with a prefix ending in a backslash sort between it and the same
        // text ending in "]", the character after the backslash: a range the path index answers.
        changesBelow(db, kSelectChanges +
                             "WHERE c.path_lower > ?1 AND c.path_lower < ?2 "
                             "ORDER BY c.install, c.id"),
        changesOverlapping(db, kSelectChanges +
                                   "WHERE c.path_lower IN (SELECT path_lower FROM changes WHERE "
                                   "install = ?1) AND c.install <> ?1 ORDER BY c.install, c.id"),
        countOthers(
            db,
            "SELECT count(*) FROM (SELECT 1 FROM changes WHERE install < ?1 OR install > ?1 "
            "LIMIT ?2)"),
        changesOfOthers(db, kSelectChanges +
                                "WHERE c.install < ?1 OR c.install > ?1 "
                                "ORDER BY c.install, c.id"),
        dataVersion(db, "PRAGMA data_version"),
        backupInUse(db,
                    "SELECT 1 FROM changes c JOIN installs i ON i.id = c.install WHERE c.backup "
                    "= ?1 COLLATE NOCASE AND c.backup <> '' LIMIT 1"),
        nextInstallHeld(db,
                        "SELECT install FROM changes WHERE install > ?1 ORDER BY install LIMIT 1"),
        isInstall(db, "SELECT 1 FROM installs WHERE id = ?1"),
        removeChangesOf(db, "DELETE FROM changes WHERE install = ?1"),
        removeStrayPlans(db, "DELETE FROM plans WHERE install NOT IN (SELECT id FROM installs)"),
        keptValue(db, "SELECT value FROM kept WHERE key = ?1"),
        keepValue(db, "INSERT OR REPLACE INTO kept (key, value) VALUES (?1, ?2)") {}

  Statement addInstall, updateInstall, removeInstall, installs;
  Statement addChange, addChanges, largestChange, updateChange, removeChange, markDone, addPlan,
      anyPlan, removePlans, removePlansOf, planSpans, plansOf, othersHoldAny, planChanges,
      updatePlan, changesOf, changesAt, changesBelow, changesOverlapping, countOthers,
      changesOfOthers, dataVersion, backupInUse, nextInstallHeld, isInstall, removeChangesOf,
      removeStrayPlans, keptValue, keepValue;
};

struct SqliteRecordStore::Plan {
  long first, install, count, doneBelow;
  std::vector<Change> changes;  // empty until read
};

SqliteRecordStore::SqliteRecordStore(const std::string& hostPathOfDatabaseFile, int busyTimeoutMs)
    : db_(hostPathOfDatabaseFile, busyTimeoutMs) {
  openSchema();
  statements_ = std::make_unique<Statements>(db_);
}

SqliteRecordStore::~SqliteRecordStore() = default;

void SqliteRecordStore::openSchema() {
  // The write-ahead log lets a crash drop only the transaction that was open; with FULL, each
  // commit is on the disk before it returns, so a power loss keeps it too.
  // The foreign keys stay off: a removed install's changes would go with it, thousands of rows
  // and index entries while the user waits; they go when the program is idle (tidy) instead.
  // An install's id is never given twice, so that they cannot come back to life.
  // The log is folded into the file when the program is idle (tidy); only a log grown far
  // beyond what an install writes is folded in by a commit.
  db_.exec(
      "PRAGMA journal_mode = WAL; PRAGMA synchronous = FULL; "
      "PRAGMA wal_autocheckpoint = 16384");
  auto version = [this] {
    Statement read(db_, "PRAGMA user_version");
    Run run(read);
    run.next();
    return run.integer(0);
  };
  if (version() < kSchemaVersion) {
    // Another copy of the program may be making or updating the tables at the same moment.
    transaction([&] {
      const long found = version();
      if (found >= kSchemaVersion) return;
      if (found == 0) db_.exec(kSchema);
      if (found == 1) db_.exec(kFromVersion1);
      if (found < 3) db_.exec(kPlans);
      if (found > 0 && found < 4) db_.exec(kFromVersion3);
      db_.exec(kKept);
      db_.exec(("PRAGMA user_version = " + std::to_string(kSchemaVersion)).c_str());
    });
  }
  if (long found = version(); found > kSchemaVersion)
    db_.fail("they were written by a newer version of the program (record format " +
             std::to_string(found) + "; this one reads format " + std::to_string(kSchemaVersion) +
             ")");
}

void SqliteRecordStore::transaction(const std::function<void()>& body) {
  if (transactionOpen_) {
    // SQLite ends a transaction on its own after a full disk or an I/O error; writing on would
    // commit each later write alone.
    if (!db_.inTransaction()) db_.fail("an earlier failure ended the transaction");
    return body();
  }
  db_.exec("BEGIN IMMEDIATE");
  transactionOpen_ = true;
  try {
    body();
    transactionOpen_ = false;
    if (!db_.inTransaction())
      db_.fail("an earlier failure ended the transaction, and none of its writes was kept");
    db_.exec("COMMIT");
  } catch (...) {
    transactionOpen_ = false;
    if (db_.inTransaction()) db_.rollBackQuietly();
    throw;
  }
}

long SqliteRecordStore::addInstall(const InstallRecord& record) {
  long id = 0;
  transaction([&] {
    Run run(statements_->addInstall);
    bindInstall(run, record).next();
    id = long(db_.lastInsertId());
  });
  return id;
}

void SqliteRecordStore::updateInstall(const InstallRecord& record) {
  transaction([&] {
    Run run(statements_->updateInstall);
    bindInstall(run, record).bind(6, record.id).next();
    if (db_.changedRows() == 0)
      db_.fail("there is no install record " + std::to_string(record.id) + " to update");
  });
}

void SqliteRecordStore::removeInstall(long id) {
  transaction([&] { Run(statements_->removeInstall).bind(1, id).next(); });
}

std::vector<InstallRecord> SqliteRecordStore::installs() {
  std::vector<InstallRecord> all;
  Run run(statements_->installs);
  while (run.next()) {
    InstallRecord& r = all.emplace_back();
    r.id = long(run.integer(0));
    r.simulator = run.text(1);
    r.kind = run.text(2);
    r.name = run.text(3);
    r.when = run.text(4);
    r.state = valueOf(kInstallStates, run.text(5), db_);
  }
  return all;
}

std::vector<Change> SqliteRecordStore::changes(long install) {
  std::vector<Change> all;
  {
    Run run(statements_->changesOf);
    all = readChanges(run.bind(1, install));
  }
  std::vector<Plan> held = plans(statements_->plansOf, install);
  if (held.empty()) return all;
  // The rows and the plans' changes, merged in the order of their ids.
  size_t total = all.size();
  for (Plan& p : held) {
    read(p);
    total += p.changes.size();
  }
  std::vector<Change> merged;
  merged.reserve(total);
  auto row = all.begin();
  for (Plan& p : held) {
    for (; row != all.end() && row->id < p.first; ++row) merged.push_back(std::move(*row));
    for (Change& c : p.changes) merged.push_back(std::move(c));
  }
  for (; row != all.end(); ++row) merged.push_back(std::move(*row));
  return merged;
}

std::vector<Change> SqliteRecordStore::changesAt(const std::string& path) {
  writePlansOut();
  Run run(statements_->changesAt);
  return readChanges(run.bind(1, dos::lower(path)));
}

std::vector<Change> SqliteRecordStore::changesBelow(const std::string& folder) {
  std::string prefix = dos::belowPrefix(folder);
  std::string end = prefix;
  end.back() = ']';
  std::vector<Change> found;
  {
    Run run(statements_->changesBelow);
    found = readChanges(run.bind(1, prefix).bind(2, end));
  }
  addPlanned(found, [&](const Change& c) {
    return c.path.size() > prefix.size() && dos::startsWith(dos::lower(c.path), prefix);
  });
  return found;
}

std::vector<Change> SqliteRecordStore::changesOverlapping(long install) {
  if (!Run(statements_->othersHoldAny).bind(1, install).next()) return {};
  // The install's own paths, from its rows and its plans.
  std::unordered_set<std::string> paths;
  for (const Change& c : changes(install)) paths.insert(dos::lower(c.path));
  if (paths.empty()) return {};
  const auto atItsPaths = [&](const Change& c) { return paths.count(dos::lower(c.path)) > 0; };
  std::vector<Change> found;
  // The other installs' rows. Each of the install's paths costs a search of the path index:
  // when they hold fewer changes than it has paths, reading all of theirs is quicker.
  const auto many = static_cast<long long>(paths.size());
  Run others(statements_->countOthers);
  others.bind(1, install).bind(2, many).next();
  if (others.integer(0) > 0 && others.integer(0) == many) {
    // The search takes the install's paths from its rows.
    writePlansOut(install);
    Run run(statements_->changesOverlapping);
    found = readChanges(run.bind(1, install));
  } else if (others.integer(0) > 0) {
    Run run(statements_->changesOfOthers);
    found = readChanges(run.bind(1, install));
    std::erase_if(found, [&](const Change& c) { return !atItsPaths(c); });
  }
  addPlanned(found, atItsPaths, install);
  return found;
}

bool SqliteRecordStore::eachPlanned(const std::function<void(Change&)>& each, long skip) {
  bool planned = false;
  for (Plan& p : plans(statements_->planSpans)) {
    if (p.install == skip) continue;
    read(p);
    for (Change& c : p.changes) each(c);
    planned = true;
  }
  return planned;
}

void SqliteRecordStore::addPlanned(std::vector<Change>& found,
                                   const std::function<bool(const Change&)>& keep, long skip) {
  const bool planned = eachPlanned(
      [&](Change& c) {
        if (keep(c)) found.push_back(std::move(c));
      },
      skip);
  if (planned)
    std::sort(found.begin(), found.end(), [](const Change& x, const Change& y) {
      return std::pair(x.install, x.id) < std::pair(y.install, y.id);
    });
}

std::vector<bool> SqliteRecordStore::backupsInUse(const std::vector<std::string>& backups) {
  std::vector<bool> inUse;
  for (const std::string& backup : backups)
    inUse.push_back(Run(statements_->backupInUse).bindKept(1, backup).next());
  // And those that plans hold, read whole.
  std::unordered_set<std::string> planned;
  if (!backups.empty())
    eachPlanned([&](Change& c) {
      if (!c.backup.empty()) planned.insert(dos::lower(c.backup));
    });
  for (size_t k = 0; k < backups.size() && !planned.empty(); ++k)
    inUse[k] = inUse[k] || planned.count(dos::lower(backups[k])) > 0;
  return inUse;
}

void SqliteRecordStore::putChanges(std::vector<Change>& changes) {
  if (changes.empty()) return;
  // The caller's changes get their ids only once every one is written.
  std::vector<long> ids(changes.size());
  transaction([&] {
    // Without foreign keys, the install each names is looked up here.
    std::vector<long> known;
    for (const Change& c : changes) {
      if (std::find(known.begin(), known.end(), c.install) != known.end()) continue;
      if (!Run(statements_->isInstall).bind(1, c.install).next())
        db_.fail("a change of " + c.path + " names the install record " +
                 std::to_string(c.install) + ", which there is not");
      known.push_back(c.install);
    }
    std::vector<const Change*> fresh;
    std::vector<size_t> freshAt;
    // Changes still in their install's plans are changed there.
    std::vector<char> inPlan(changes.size(), 0);
    if (updateInPlans(changes, inPlan)) writePlansOut();
    for (size_t i = 0; i < changes.size(); ++i) {
      const Change& c = changes[i];
      if (c.id == 0) {
        fresh.push_back(&c);
        freshAt.push_back(i);
        continue;
      }
      ids[i] = c.id;
      if (inPlan[i]) continue;
      const std::string lower = dos::lower(c.path);
      Run run(statements_->updateChange);
      bindChange(run, c, lower).bind(kChangeParameters + 1, c.id).next();
      if (db_.changedRows() == 0)
        db_.fail("there is no change record " + std::to_string(c.id) + " to update");
    }
    if (fresh.empty()) return;
    // A new change's id is one more than the largest held, given here so that many can be
    // written by one statement.
    long first = 0;
    {
      Run largest(statements_->largestChange);
      largest.next();
      first = long(largest.integer(0)) + 1;
    }
    for (size_t k = 0; k < fresh.size(); ++k) ids[freshAt[k]] = first + long(k);
    const bool oneInstall = std::all_of(fresh.begin(), fresh.end(), [&](const Change* c) {
      return c->install == fresh[0]->install;
    });
    if (fresh.size() < kPlanAtLeast || !oneInstall) return insertRows(fresh, first);
    const std::string plan = planOf(fresh);
    Run(statements_->addPlan)
        .bind(1, first)
        .bind(2, fresh[0]->install)
        .bind(3, static_cast<long long>(fresh.size()))
        .bindKeptBlob(4, plan)
        .next();
  });
  for (size_t i = 0; i < changes.size(); ++i) changes[i].id = ids[i];
}

void SqliteRecordStore::insertRows(const std::vector<const Change*>& changes, long first) {
  std::vector<std::string> lower(kInsertBatch);
  for (size_t done = 0; done < changes.size();) {
    const size_t count = changes.size() - done >= kInsertBatch ? kInsertBatch : 1;
    Run run(count == 1 ? statements_->addChange : statements_->addChanges);
    for (size_t k = 0; k < count; ++k) {
      const Change& c = *changes[done + k];
      lower[k] = dos::lower(c.path);
      const int base = int(k) * (kChangeParameters + 1);
      bindChange(run, c, lower[k], base).bind(base + kChangeParameters + 1, first + long(done + k));
    }
    run.next();
    done += count;
  }
}

std::vector<SqliteRecordStore::Plan> SqliteRecordStore::plans(Statement& which, long install) {
  std::vector<Plan> all;
  Run run(which);
  if (install) run.bind(1, install);
  while (run.next())
    all.push_back({long(run.integer(0)),
                   long(run.integer(1)),
                   long(run.integer(2)),
                   long(run.integer(3)),
                   {}});
  return all;
}

void SqliteRecordStore::read(Plan& plan) {
  Run run(statements_->planChanges);
  run.bind(1, plan.first).next();
  plan.changes = changesOfPlan(run.blob(0), plan.install, plan.count, db_);
  for (long k = 0; k < plan.count; ++k) {
    Change& c = plan.changes[size_t(k)];
    c.id = plan.first + k;
    c.done = c.done || c.id < plan.doneBelow;
  }
}

bool SqliteRecordStore::updateInPlans(const std::vector<Change>& changes, std::vector<char>& done) {
  std::vector<Plan> held = plans(statements_->planSpans);
  if (held.empty()) return false;
  bool left = false;
  for (size_t i = 0; i < changes.size(); ++i) {
    const Change& c = changes[i];
    if (c.id == 0) continue;
    auto plan = std::upper_bound(held.begin(), held.end(), c.id,
                                 [](long id, const Plan& p) { return id < p.first; });
    if (plan == held.begin() || c.id >= (--plan)->first + plan->count) continue;
    // One that goes to another install turns the plans into rows.
    if (c.install != plan->install) {
      left = true;
      continue;
    }
    if (plan->changes.empty()) read(*plan);
    plan->changes[size_t(c.id - plan->first)] = c;
    done[i] = 1;
  }
  for (const Plan& p : held) {
    if (p.changes.empty()) continue;
    const std::string bytes = planOf(pointersTo(p.changes));
    Run(statements_->updatePlan).bind(1, p.first).bindKeptBlob(2, bytes).next();
  }
  return left;
}

void SqliteRecordStore::writePlansOut(long install) {
  if (install ? plans(statements_->plansOf, install).empty() : !Run(statements_->anyPlan).next())
    return;
  transaction([&] {
    for (Plan& p : install ? plans(statements_->plansOf, install) : plans(statements_->planSpans)) {
      read(p);
      insertRows(pointersTo(p.changes), p.first);
    }
    if (install)
      Run(statements_->removePlansOf).bind(1, install).next();
    else
      Run(statements_->removePlans).next();
  });
}

void SqliteRecordStore::removeChanges(const std::vector<long>& ids) {
  if (ids.empty()) return;
  transaction([&] {
    writePlansOut();
    for (long id : ids) Run(statements_->removeChange).bind(1, id).next();
  });
}

void SqliteRecordStore::markDone(long install) {
  transaction([&] { Run(statements_->markDone).bind(1, install).next(); });
}

void SqliteRecordStore::tidy() {
  dropRemoved();
  db_.checkpoint();
}

std::optional<std::string> SqliteRecordStore::keptValue(const std::string& key) {
  Run run(statements_->keptValue);
  if (!run.bind(1, key).next()) return std::nullopt;
  return run.blob(0);
}

void SqliteRecordStore::keepValue(const std::string& key, const std::string& value) {
  transaction([&] { Run(statements_->keepValue).bind(1, key).bindKeptBlob(2, value).next(); });
}

void SqliteRecordStore::dropRemoved() {
  transaction([&] {
    Run(statements_->removeStrayPlans).next();
    // The installs that rows name, one look-up of the install index each.
    for (long long install = -1;;) {
      Run next(statements_->nextInstallHeld);
      if (!next.bind(1, install).next()) break;
      install = next.integer(0);
      if (!Run(statements_->isInstall).bind(1, install).next())
        Run(statements_->removeChangesOf).bind(1, install).next();
    }
  });
}

RecordVersion SqliteRecordStore::version() {
  // Another connection's commits move data_version; this one's own writes the count of rows
  // it changed.
  Run run(statements_->dataVersion);
  run.next();
  return {run.integer(0), db_.totalChanges()};
}

std::vector<Change> SqliteRecordStore::readChanges(Run& run) {
  std::vector<Change> found;
  while (run.next()) {
    Change& c = found.emplace_back();
    c.id = long(run.integer(0));
    c.install = long(run.integer(1));
    c.kind = valueOf(kChangeKinds, run.text(2), db_);
    c.path = run.text(3);
    c.backup = run.text(4);
    c.originalReadOnly = run.integer(5) != 0;
    c.done = run.integer(6) != 0;
    c.size = run.integer(7);
    c.mtime = run.integer(8);
    c.digest = run.text(9);
    c.text = run.text(10);
    c.backupSize = run.integer(11);
    c.backupDigest = run.text(12);
  }
  return found;
}

}  // namespace orvex

// The install record stores: one set of cases run against the memory store and the SQLite
// store alike, and the SQLite store's own: reopening, unusable files, an abandoned transaction
// and the time of a large copy pass.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "host/sqlite_record_store.h"
#include "record/memory_record_store.h"

namespace orvex {
namespace {

namespace stdfs = std::filesystem;

struct Boom {};  // a failure of the caller's own, which no store knows

class TempDir : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (stdfs::temp_directory_path() / "orvex-records-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    std::error_code ec;
    for (auto& e : stdfs::recursive_directory_iterator(dir_, ec))
      stdfs::permissions(e.path(), stdfs::perms::owner_all, stdfs::perm_options::add, ec);
    stdfs::remove_all(dir_, ec);
  }
  std::string dbPath() const { return dir_ + "/Orvex.db"; }

  std::string dir_;
};

InstallRecord installNamed(const std::string& name) {
  return {0, "C:\\FS98", "aircraft", name, "2026-12-08 14:03", InstallState::Running};
}

Change changeAt(long install, const std::string& path, const std::string& backup = "") {
  Change c;
  c.install = install;
  c.path = path;
  c.backup = backup;
  return c;
}

std::string describe(const InstallRecord& r) {
  return std::to_string(r.id) + "|" + r.simulator + "|" + r.kind + "|" + r.name + "|" + r.when +
         "|" + std::to_string(int(r.state));
}

std::string describe(const Change& c) {
  return std::to_string(c.id) + "|" + std::to_string(c.install) + "|" +
         std::to_string(int(c.kind)) + "|" + c.path + "|" + c.backup + "|" +
         std::to_string(c.originalReadOnly) + std::to_string(c.done) + "|" +
         std::to_string(c.size) + "|" + std::to_string(c.mtime) + "|" + c.digest + "|" + c.text +
         "|" + std::to_string(c.backupSize) + "|" + c.backupDigest;
}

template <class T>
std::vector<std::string> describe(const std::vector<T>& items) {
  std::vector<std::string> lines;
  for (const T& item : items) lines.push_back(describe(item));
  return lines;
}

// Everything a store holds: its installs and all their changes.
std::vector<std::string> contentsOf(RecordStore& store) {
  std::vector<std::string> lines = describe(store.installs());
  for (const InstallRecord& r : store.installs())
    for (const std::string& line : describe(store.changes(r.id))) lines.push_back(line);
  return lines;
}

struct StoreKind {
  const char* name;
  std::function<std::unique_ptr<RecordStore>(const std::string& dbPath)> make;
};

class RecordStoreTest : public TempDir, public ::testing::WithParamInterface<StoreKind> {
 protected:
  void SetUp() override {
    TempDir::SetUp();
    store_ = GetParam().make(dbPath());
  }
  long add(const std::string& name) { return store_->addInstall(installNamed(name)); }
  std::vector<Change> put(std::vector<Change> changes) {
    store_->putChanges(changes);
    return changes;
  }

  std::unique_ptr<RecordStore> store_;
};

TEST_P(RecordStoreTest, InstallsKeepEveryFieldOldestFirstAndGoWithTheirChanges) {
  long a = add("A"), b = add("B"), c = add("C");
  EXPECT_GT(a, 0);
  EXPECT_LT(a, b);
  EXPECT_LT(b, c);
  InstallRecord changed{b,
                        "D:\\Games\\CFS2",
                        "scenery",
                        "Über Island",
                        "2027-01-02 03:04",
                        InstallState::Uninstalling};
  store_->updateInstall(changed);
  put({changeAt(a, "C:\\FS98\\a.cfg"), changeAt(b, "C:\\FS98\\b.cfg")});
  store_->removeInstall(c);
  store_->removeInstall(a);
  long d = add("D");
  EXPECT_GT(d, c) << "an id is never given twice";

  InstallRecord added = installNamed("D");
  added.id = d;
  EXPECT_EQ(describe(store_->installs()), describe(std::vector{changed, added}));
  EXPECT_TRUE(store_->changes(a).empty());
  EXPECT_TRUE(store_->changesAt("C:\\FS98\\a.cfg").empty());
  EXPECT_EQ(store_->changes(b).size(), 1u);
  EXPECT_THROW(store_->updateInstall(installNamed("never added")), RecordError);
}

TEST_P(RecordStoreTest, ChangesKeepEveryFieldAndTheOrderTheyWereMadeIn) {
  long a = add("A");
  std::vector<Change> made;
  for (ChangeKind kind : {ChangeKind::Folder, ChangeKind::Created, ChangeKind::Replaced,
                          ChangeKind::Area, ChangeKind::ListBackup}) {
    Change c = changeAt(a, "C:\\FS98\\f" + std::to_string(made.size()), "C:\\Orvex\\Backup\\1");
    c.kind = kind;
    c.originalReadOnly = made.size() % 2;
    c.done = made.size() % 3;
    c.size = 1LL << 40;
    c.mtime = 1765200000123456789LL;
    c.digest = "9f86d081884c7d65";
    c.text = "[Area.001]\r\nTitle=Ü\r\n";
    c.backupSize = made.size() % 2 ? -1 : 5LL << 33;
    c.backupDigest = made.size() % 2 ? "" : "0123456789abcdef0123456789abcdef";
    made.push_back(c);
  }
  made = put(made);
  for (size_t i = 1; i < made.size(); ++i) EXPECT_GT(made[i].id, made[i - 1].id);
  EXPECT_EQ(describe(store_->changes(a)), describe(made));

  // One call both updates and adds, as many as a copy pass plans; the order stays the order
  // of making.
  made[1].done = true;
  made[1].digest = "00ff";
  std::vector<Change> batch{made[1]};
  for (int n = 0; n < 130; ++n) {
    Change late = made[size_t(n) % made.size()];
    late.id = 0;
    late.path = "C:\\FS98\\late" + std::to_string(n);
    if (n == 7) late.size = -1;
    batch.push_back(late);
  }
  std::vector<Change> again = put(batch);
  made[1] = again[0];
  made.insert(made.end(), again.begin() + 1, again.end());
  store_->removeChanges({made[0].id});
  made.erase(made.begin());
  EXPECT_EQ(describe(store_->changes(a)), describe(made));
}

TEST_P(RecordStoreTest, ManyChangesChangedAtOnceKeepTheirPlaceAndMayGoToAnotherInstall) {
  const long b = add("B");
  for (const bool handOn : {false, true}) {
    SCOPED_TRACE(handOn ? "one handed on" : "all stay");
    const long a = add("A");
    std::vector<Change> many;
    for (int n = 0; n < 100; ++n) many.push_back(changeAt(a, "C:\\FS98\\m" + std::to_string(n)));
    many = put(many);
    for (Change& c : many) {
      c.size = 7;
      c.done = true;
    }
    if (handOn) many[5].install = b;
    many = put(many);
    many[6].size = 9;
    put({many[6]});
    std::vector<Change> ofA = many;
    if (handOn) ofA.erase(ofA.begin() + 5);
    EXPECT_EQ(describe(store_->changes(a)), describe(ofA));
  }
}

TEST_P(RecordStoreTest, MarkDoneMarksTheInstallsPlannedChangesAndNoneMadeLater) {
  long a = add("A"), b = add("B");
  put({changeAt(a, "C:\\FS98\\a1"), changeAt(a, "C:\\FS98\\a2")});
  put({changeAt(b, "C:\\FS98\\b1")});
  store_->markDone(a);
  // The changes with the largest ids go: a change planned later is still only planned.
  store_->removeInstall(b);
  put({changeAt(a, "C:\\FS98\\a3")});
  std::vector<std::string> done;
  for (const Change& c : store_->changes(a)) done.push_back(c.path + (c.done ? " done" : ""));
  EXPECT_EQ(done,
            (std::vector<std::string>{"C:\\FS98\\a1 done", "C:\\FS98\\a2 done", "C:\\FS98\\a3"}));
  EXPECT_FALSE(store_->changesAt("C:\\FS98\\a3").at(0).done);
  EXPECT_TRUE(store_->changesBelow("C:\\FS98").at(0).done);
}

TEST_P(RecordStoreTest, TheVersionMovesWithEveryWriteAndOnlyThen) {
  long a = add("A");
  std::vector<Change> made = put({changeAt(a, "C:\\FS98\\a")});
  InstallRecord done = installNamed("A");
  done.id = a;
  const std::vector<std::function<void()>> writes = {
      [&] { add("B"); },
      [&] { store_->updateInstall(done); },
      [&] { put({changeAt(a, "C:\\FS98\\b")}); },
      [&] { store_->markDone(a); },
      [&] { store_->removeChanges({made[0].id}); },
      [&] { store_->removeInstall(a); },
  };
  for (size_t n = 0; n < writes.size(); ++n) {
    const RecordVersion before = store_->version();
    store_->installs();
    store_->changes(a);
    EXPECT_EQ(store_->version(), before) << "reading, before write " << n;
    writes[n]();
    EXPECT_NE(store_->version(), before) << "write " << n;
  }
}

TEST_P(RecordStoreTest, ChangesOfAnUnknownInstallOrIdAreRefusedAndWriteNothing) {
  long a = add("A");
  Change unknownId = changeAt(a, "C:\\FS98\\b");
  unknownId.id = 4711;
  for (const Change& bad : {changeAt(a + 1, "C:\\FS98\\b"), unknownId}) {
    std::vector<Change> changes{changeAt(a, "C:\\FS98\\a"), bad};
    EXPECT_THROW(store_->putChanges(changes), RecordError) << bad.path;
    EXPECT_EQ(changes[0].id, 0);
    EXPECT_TRUE(store_->changes(a).empty());
  }
}

TEST_P(RecordStoreTest, ChangesAtAndBelowComparePathsCaseBlindOldestInstallFirst) {
  long a = add("A"), b = add("B");
  // The later install's change is made first: the order is by install, then by change.
  put({changeAt(b, "C:\\FS98\\Aircraft\\Cessna\\Aircraft.cfg")});
  put({changeAt(a, "c:\\fs98\\aircraft\\cessna\\AIRCRAFT.CFG"),
       changeAt(a, "C:\\FS98\\Aircraft\\Cessna"), changeAt(a, "C:\\FS98\\Aircraft2\\x.cfg"),
       changeAt(a, "C:\\FS98\\Aircraft\\Cessna\\Panel\\panel.cfg"), changeAt(a, "C:\\FS98\\A_B\\x"),
       changeAt(a, "C:\\FS98\\AxB\\y")});
  auto at = [&](const std::string& p) { return store_->changesAt(p); };
  auto below = [&](const std::string& p) { return store_->changesBelow(p); };
  const std::string cfgA = std::to_string(a) + " c:\\fs98\\aircraft\\cessna\\AIRCRAFT.CFG";
  const std::string cfgB = std::to_string(b) + " C:\\FS98\\Aircraft\\Cessna\\Aircraft.cfg";
  const std::string panel = std::to_string(a) + " C:\\FS98\\Aircraft\\Cessna\\Panel\\panel.cfg";
  const std::string folder = std::to_string(a) + " C:\\FS98\\Aircraft\\Cessna";
  struct Case {
    std::function<std::vector<Change>(const std::string&)> query;
    std::string path;
    std::vector<std::string> expected;
  } cases[] = {
      {at, "C:\\FS98\\AIRCRAFT\\cessna\\aircraft.cfg", {cfgA, cfgB}},
      {at, "C:\\FS98\\Aircraft\\Cessna\\Aircraft", {}},
      {below, "c:\\fs98\\aircraft\\CESSNA", {cfgA, panel, cfgB}},
      {below, "C:\\FS98\\Aircraft\\Cessna\\", {cfgA, panel, cfgB}},
      {below, "C:\\FS98\\Aircraft", {cfgA, folder, panel, cfgB}},
      {below, "C:\\FS98\\A_B", {std::to_string(a) + " C:\\FS98\\A_B\\x"}},
      {below, "C:\\FS98\\Aircraft\\Cessna\\Panel\\panel.cfg", {}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> found;
    for (const Change& change : c.query(c.path))
      found.push_back(std::to_string(change.install) + " " + change.path);
    EXPECT_EQ(found, c.expected) << c.path;
  }
  // The other installs' changes at an install's paths, whichever holds more changes.
  const long none = add("C");
  put({changeAt(b, "C:\\FS98\\Sound\\b.wav")});
  const auto overlapping = [&](long install) {
    std::vector<std::string> found;
    for (const Change& change : store_->changesOverlapping(install))
      found.push_back(std::to_string(change.install) + " " + change.path);
    return found;
  };
  EXPECT_EQ(overlapping(a), std::vector<std::string>{cfgB});
  EXPECT_EQ(overlapping(b), std::vector<std::string>{cfgA});
  EXPECT_TRUE(overlapping(none).empty());
}

TEST_P(RecordStoreTest, BackupInUseWhileAChangeKeepsItsOriginalThere) {
  long a = add("A");
  std::vector<Change> made =
      put({changeAt(a, "C:\\FS98\\a.cfg", "C:\\Orvex\\Backup\\1\\a.cfg"), changeAt(a, "C:\\b")});
  for (auto [backup, inUse] : {std::pair{"C:\\Orvex\\Backup\\1\\a.cfg", true},
                               {"c:\\orvex\\backup\\1\\A.CFG", true},
                               {"C:\\Orvex\\Backup\\1\\b.cfg", false},
                               {"", false}})
    EXPECT_EQ(store_->backupInUse(backup), inUse) << backup;
  store_->removeChanges({made[0].id});
  EXPECT_FALSE(store_->backupInUse("C:\\Orvex\\Backup\\1\\a.cfg"));
  put({changeAt(a, "C:\\FS98\\c.cfg", "C:\\Orvex\\Backup\\1\\c.cfg")});
  store_->removeInstall(a);
  EXPECT_FALSE(store_->backupInUse("C:\\Orvex\\Backup\\1\\c.cfg"));
}

TEST_P(RecordStoreTest, ABodyThatFailsLeavesNothingOfItsWritesNestedOnesIncluded) {
  long a = add("A");
  std::vector<Change> made = put({changeAt(a, "C:\\FS98\\a.cfg")});
  const std::vector<std::string> before = contentsOf(*store_);
  EXPECT_THROW(store_->transaction([&] {
    long b = add("B");
    put({changeAt(b, "C:\\FS98\\b.cfg")});
    InstallRecord done = installNamed("A");
    done.id = a;
    done.state = InstallState::Done;
    store_->updateInstall(done);
    made[0].done = true;
    put(made);
    store_->transaction([&] {
      store_->removeChanges({made[0].id});
      store_->removeInstall(b);
      add("C");
    });
    throw Boom();
  }),
               Boom);
  EXPECT_EQ(contentsOf(*store_), before);
}

TEST_P(RecordStoreTest, ANestedTransactionJoinsTheOuterOneEvenWhenItFails) {
  long a = 0, b = 0;
  store_->transaction([&] {
    a = add("A");
    try {
      store_->transaction([&] {
        put({changeAt(a, "C:\\FS98\\planned.cfg")});
        throw Boom();
      });
    } catch (const Boom&) {
    }
    b = add("B");
  });
  EXPECT_EQ(store_->installs().size(), 2u);
  EXPECT_EQ(store_->changes(a).size(), 1u) << "the planned change stays recorded";
  EXPECT_LT(a, b);
}

INSTANTIATE_TEST_SUITE_P(Stores, RecordStoreTest,
                         ::testing::Values(StoreKind{"Memory",
                                                     [](const std::string&) {
                                                       return std::make_unique<MemoryRecordStore>();
                                                     }},
                                           StoreKind{"Sqlite",
                                                     [](const std::string& path) {
                                                       return std::make_unique<SqliteRecordStore>(
                                                           path);
                                                     }}),
                         [](const auto& info) { return std::string(info.param.name); });

// Runs work in a child process and hands back how it ended and what it returned.
struct ChildResult {
  int exitCode;
  std::string output;
};
ChildResult inChild(const std::function<std::string()>& work) {
  int fds[2];
  if (pipe(fds) != 0) return {-1, "no pipe"};
  pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    std::string out;
    try {
      out = work();
    } catch (const std::exception& e) {
      out = std::string("failed: ") + e.what();
    }
    ssize_t written = write(fds[1], out.data(), out.size());
    _exit(written == ssize_t(out.size()) ? 0 : 1);
  }
  close(fds[1]);
  std::string out;
  char buffer[4096];
  for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;) out.append(buffer, size_t(n));
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

using SqliteRecordStoreTest = TempDir;

// The message of the RecordError that opening, reading and writing the store gives; empty
// when there is none.
std::string failureOf(const std::string& path) {
  try {
    SqliteRecordStore store(path, 100);
    store.installs();
    store.addInstall(installNamed("A"));
  } catch (const RecordError& e) {
    return e.what();
  }
  return "";
}

std::shared_ptr<sqlite3> rawConnection(const std::string& path, const char* sql) {
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  std::shared_ptr<sqlite3> held(db, sqlite3_close);
  EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  return held;
}

long long rawCount(const std::string& path, const char* sql) {
  long long count = -1;
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  sqlite3_exec(
      db, sql,
      [](void* to, int, char** values, char**) {
        *static_cast<long long*>(to) = std::atoll(values[0]);
        return 0;
      },
      &count, nullptr);
  sqlite3_close(db);
  return count;
}

TEST_F(SqliteRecordStoreTest, AnUnusableDatabaseGivesARecordErrorThatSaysWhy) {
  std::shared_ptr<sqlite3> lock;
  auto made = [](const std::string& path) { SqliteRecordStore{path}; };
  auto write = [](const std::string& path, const std::string& bytes, std::streamoff at = 0) {
    std::fstream(path, std::ios::in | std::ios::out | std::ios::binary).seekp(at) << bytes;
  };
  struct Case {
    std::string path;
    std::function<void(const std::string& path)> layOut;
    const char* says;
    bool withoutRootsRights;  // root may write anywhere
  } cases[] = {
      {dir_ + "/random.db",
       [&](const std::string& path) {
         std::ofstream(path) << "";
         std::string bytes(8192, '\0');
         for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = char(i * 37 + 11);
         write(path, bytes);
       },
       "file is not a database", false},
      {dir_ + "/damaged.db",
       [&](const std::string& path) {
         made(path);
         write(path, std::string(3000, 'Z'), 100);
       },
       "malformed", false},
      {dir_ + "/locked.db",
       [&](const std::string& path) {
         made(path);
         lock = rawConnection(path,
                              "PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE;"
                              "DELETE FROM installs");
       },
       "database is locked", false},
      {dir_ + "/newer.db",
       [&](const std::string& path) {
         made(path);
         rawConnection(path, "PRAGMA user_version = 6");
       },
       "newer version", false},
      {dir_ + "/folder.db", [](const std::string& path) { stdfs::create_directory(path); },
       "unable to open database file (Is a directory)", false},
      {dir_ + "/file/Orvex.db", [&](const std::string&) { std::ofstream(dir_ + "/file") << "x"; },
       "unable to open database file", false},
      {dir_ + "/ro1/Orvex.db", [&](const std::string&) { stdfs::create_directory(dir_ + "/ro1"); },
       "unable to open database file", true},
      {dir_ + "/ro2/Orvex.db",
       [&](const std::string& path) {
         stdfs::create_directory(dir_ + "/ro2");
         made(path);
         chmod(path.c_str(), 0666);
       },
       "readonly database", true},
  };
  chmod(dir_.c_str(), 0755);
  for (const Case& c : cases) {
    c.layOut(c.path);
    if (c.withoutRootsRights) chmod(stdfs::path(c.path).parent_path().c_str(), 0555);
    auto unprivileged = [&] {
      if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
        return std::string("cannot give up root's rights");
      return failureOf(c.path);
    };
    std::string message = c.withoutRootsRights ? inChild(unprivileged).output : failureOf(c.path);
    EXPECT_NE(message.find(c.path), std::string::npos) << c.path << ": " << message;
    EXPECT_NE(message.find(c.says), std::string::npos) << c.path << ": " << message;
  }
}

TEST_F(SqliteRecordStoreTest, CommittedRecordsOutliveReopeningACrashAndAFullDisk) {
  std::vector<std::string> before;
  long a = 0;
  {
    SqliteRecordStore store(dbPath());
    a = store.addInstall(installNamed("A"));
    std::vector<Change> changes{changeAt(a, "C:\\FS98\\a.cfg", "C:\\Orvex\\Backup\\a.cfg")};
    store.putChanges(changes);
    store.removeInstall(store.addInstall(installNamed("removed")));
    before = contentsOf(store);
  }
  // A child writes more than SQLite's page cache holds, so that uncommitted pages reach the
  // log, and then dies inside its transaction, or meets a full disk, shows the failure and goes
  // on as a caller would.
  struct Case {
    rlim_t fileSizeLimit;
    std::function<void()> afterWriting;
    int exitCode;
    const char* says;
  } cases[] = {
      {RLIM_INFINITY, [] { _exit(7); }, 7, ""},
      {256 * 1024, [] {}, 0, "File too large"},
  };
  for (const Case& c : cases) {
    ChildResult child = inChild([&] {
      signal(SIGXFSZ, SIG_IGN);
      rlimit limit{c.fileSizeLimit, c.fileSizeLimit};
      setrlimit(RLIMIT_FSIZE, &limit);
      SqliteRecordStore store(dbPath());
      std::string seen;
      try {
        store.transaction([&] {
          store.removeInstall(a);
          long b = store.addInstall(installNamed("B"));
          std::vector<Change> changes(20000, changeAt(b, "C:\\FS98\\b.cfg"));
          for (Change& change : changes) change.text = std::string(300, 'x');
          try {
            store.putChanges(changes);
          } catch (const RecordError& e) {
            seen = e.what();
          }
          c.afterWriting();
          store.addInstall(installNamed("C"));
        });
      } catch (const RecordError& e) {
        return seen + "; then " + e.what();
      }
      return seen + "; and yet the transaction was committed";
    });
    EXPECT_EQ(child.exitCode, c.exitCode) << child.output;
    EXPECT_NE(child.output.find(c.says), std::string::npos) << child.output;
    EXPECT_EQ(child.output.find("committed"), std::string::npos) << child.output;
    SqliteRecordStore store(dbPath());
    EXPECT_EQ(contentsOf(store), before) << child.output;
  }
  SqliteRecordStore store(dbPath());
  EXPECT_GT(store.addInstall(installNamed("D")), a + 1) << "an id is never given twice";
}

TEST_F(SqliteRecordStoreTest, RecordsOfEarlierFormatsAreReadAndKeptUpToDate) {
  // The second format added the installs' done_below, the third the plans of changes (one
  // here, written as the third format wrote them: without the backups' sizes and digests).
  for (const int format : {1, 2, 3}) {
    SCOPED_TRACE(format);
    const std::string path = dir_ + "/format" + std::to_string(format) + ".db";
    const std::string doneBelow = format >= 2 ? ", done_below INTEGER NOT NULL DEFAULT 0" : "";
    const std::string plan =
        format == 3 ? "CREATE TABLE plans (first_id INTEGER PRIMARY KEY, install INTEGER NOT NULL, "
                      "count INTEGER NOT NULL, changes BLOB NOT NULL);"
                      "INSERT INTO plans VALUES (3, 7, 1, X'010009433A5C465339385C70000000020608');"
                    : "";
    rawConnection(path, (R"(
      CREATE TABLE installs (id INTEGER PRIMARY KEY AUTOINCREMENT, simulator TEXT NOT NULL,
        kind TEXT NOT NULL, name TEXT NOT NULL, made TEXT NOT NULL, state TEXT NOT NULL)" +
                         doneBelow + R"();
      CREATE TABLE changes (id INTEGER PRIMARY KEY,
        install INTEGER NOT NULL REFERENCES installs (id) ON DELETE CASCADE, kind TEXT NOT NULL,
        path TEXT NOT NULL, path_lower TEXT NOT NULL, backup TEXT NOT NULL,
        original_read_only INTEGER NOT NULL, done INTEGER NOT NULL, size INTEGER NOT NULL,
        mtime INTEGER NOT NULL, digest TEXT NOT NULL, text TEXT NOT NULL);
      CREATE INDEX changes_install ON changes (install);
      CREATE INDEX changes_path ON changes (path_lower);
      INSERT INTO installs (id, simulator, kind, name, made, state)
        VALUES (7, 'C:\FS98', 'aircraft', 'Old', '2026-11-01 10:00', 'running');
      INSERT INTO changes VALUES (1, 7, 'created', 'C:\FS98\a', 'c:\fs98\a', '', 0, 1, 3, 4, '', ''),
                                 (2, 7, 'folder', 'C:\FS98\b', 'c:\fs98\b', '', 0, 0, -1, 0, '', '');
      )" + plan + R"(
      PRAGMA user_version = )" +
                         std::to_string(format) + ";")
                            .c_str());
    {
      SqliteRecordStore store(path);
      ASSERT_EQ(store.installs().size(), 1u);
      EXPECT_EQ(store.installs()[0].name, "Old");
      std::vector<Change> changes = store.changes(7);
      ASSERT_EQ(changes.size(), format == 3 ? 3u : 2u);
      EXPECT_TRUE(changes[0].done);
      EXPECT_FALSE(changes[1].done);
      EXPECT_EQ(changes.back().backupSize, -1);
      if (format == 3) {
        EXPECT_EQ(describe(changes[2]), "3|7|1|C:\\FS98\\p||01|3|4|||-1|");
      }
      store.markDone(7);
      std::vector<Change> many(100, changeAt(7, "C:\\FS98\\c"));
      many[0].backupSize = 9;
      store.putChanges(many);
    }
    SqliteRecordStore again(path);
    EXPECT_TRUE(again.changes(7).at(1).done);
    EXPECT_EQ(again.changes(7).size(), format == 3 ? 103u : 102u);
    EXPECT_EQ(again.changes(7).at(format == 3 ? 3 : 2).backupSize, 9);
  }
}

TEST_F(SqliteRecordStoreTest, ManyNewChangesOutliveReopeningAndGoWithTheirInstall) {
  std::vector<Change> many;
  long a = 0;
  {
    SqliteRecordStore store(dbPath());
    a = store.addInstall(installNamed("A"));
    for (int n = 0; n < 100; ++n) many.push_back(changeAt(a, "C:\\FS98\\g" + std::to_string(n)));
    store.putChanges(many);
    store.markDone(a);
    std::vector<Change> later{changeAt(a, "C:\\FS98\\later")};
    store.putChanges(later);
    EXPECT_EQ(later[0].id, many.back().id + 1);
  }
  SqliteRecordStore again(dbPath());
  const std::vector<Change> read = again.changes(a);
  ASSERT_EQ(read.size(), 101u);
  EXPECT_EQ(read[99].id, many[99].id);
  EXPECT_EQ(read[99].path, many[99].path);
  EXPECT_TRUE(read[99].done);
  EXPECT_FALSE(read[100].done);
  // A change of its own install is made inside the plan; a search by path needs the rows.
  std::vector<Change> one{read[5]};
  one[0].digest = "d";
  again.putChanges(one);
  EXPECT_EQ(again.changes(a)[5].digest, "d");
  EXPECT_EQ(rawCount(dbPath(), "SELECT count(*) FROM plans"), 1);
  const long b = again.addInstall(installNamed("B"));
  std::vector<Change> other{changeAt(b, "C:\\FS98\\g1")};
  again.putChanges(other);
  EXPECT_EQ(again.changesOverlapping(b).size(), 1u);
  // A removed install's rows and plans stay until the program is idle; unseen till then.
  std::vector<Change> planned(100, changeAt(a, "C:\\FS98\\planned"));
  again.putChanges(planned);
  again.removeInstall(a);
  EXPECT_TRUE(again.changes(a).empty());
  EXPECT_EQ(again.changesBelow("C:\\FS98").size(), 1u);
  EXPECT_EQ(again.changesOverlapping(b).size(), 0u);
  again.tidy();
  EXPECT_EQ(rawCount(dbPath(), "SELECT count(*) FROM changes"), 1);
  EXPECT_EQ(rawCount(dbPath(), "SELECT count(*) FROM plans"), 0);
}

TEST_F(SqliteRecordStoreTest, OverlapsFoldersAndBackupsAreFoundInPlansAsInRows) {
  SqliteRecordStore store(dbPath());
  const long a = store.addInstall(installNamed("A")), b = store.addInstall(installNamed("B"));
  // a's changes are rows, written fewer at a time than a plan holds; b's are one plan.
  for (int from = 0; from < 100; from += 50) {
    std::vector<Change> rows;
    for (int n = from; n < from + 50; ++n)
      rows.push_back(changeAt(a, "C:\\FS98\\p" + std::to_string(n), n == 5 ? "C:\\B\\5" : ""));
    store.putChanges(rows);
  }
  std::vector<Change> plan;
  for (int n = 0; n < 70; ++n)
    plan.push_back(changeAt(b, "C:\\FS98\\P" + std::to_string(n), n == 9 ? "C:\\B\\b" : ""));
  store.putChanges(plan);
  const auto plans = [&] { return rawCount(dbPath(), "SELECT count(*) FROM plans"); };
  ASSERT_EQ(plans(), 1);
  // Found in b's plan, which stays one.
  const std::vector<Change> inPlan = store.changesOverlapping(a);
  ASSERT_EQ(inPlan.size(), 70u);
  EXPECT_EQ(inPlan[9].backup, "C:\\B\\b");
  EXPECT_EQ(store.backupsInUse({"c:\\b\\B", "C:\\B\\5", "C:\\B\\none"}),
            (std::vector<bool>{true, true, false}));
  const std::vector<Change> below = store.changesBelow("c:\\fs98");
  ASSERT_EQ(below.size(), 170u);
  EXPECT_EQ(below[100].path, "C:\\FS98\\P0");  // a's first, then b's
  EXPECT_EQ(plans(), 1);
  // a holds more rows than b has paths: those are searched by b's paths, now rows.
  const std::vector<Change> inRows = store.changesOverlapping(b);
  ASSERT_EQ(inRows.size(), 70u);
  EXPECT_EQ(inRows[69].path, "C:\\FS98\\p69");
  EXPECT_EQ(plans(), 0);
}

TEST_F(SqliteRecordStoreTest, ADamagedPlanOfChangesIsARecordError) {
  SqliteRecordStore store(dbPath());
  std::vector<Change> many(100, changeAt(store.addInstall(installNamed("A")), "C:\\FS98\\g"));
  store.putChanges(many);
  rawConnection(dbPath(), "UPDATE plans SET changes = x'0100'");
  try {
    store.changes(many[0].install);
    FAIL() << "a damaged plan was read";
  } catch (const RecordError& e) {
    EXPECT_NE(std::string(e.what()).find("damaged"), std::string::npos) << e.what();
  }
}

TEST_F(SqliteRecordStoreTest, TheVersionMovesWhenAnotherProgramWrites) {
  SqliteRecordStore mine(dbPath()), theirs(dbPath());
  mine.installs();
  const RecordVersion before = mine.version();
  theirs.addInstall(installNamed("theirs"));
  EXPECT_NE(mine.version(), before);
}

TEST_F(SqliteRecordStoreTest, TheLogIsFoldedIntoTheFileWhenIdleNotByACommit) {
  SqliteRecordStore store(dbPath());
  const long a = store.addInstall(installNamed("A"));
  std::vector<Change> changes;
  for (int i = 0; i < 2000; ++i) changes.push_back(changeAt(a, "C:\\FS98\\f" + std::to_string(i)));
  store.putChanges(changes);
  const auto written = stdfs::file_size(dbPath());
  store.tidy();
  EXPECT_GT(stdfs::file_size(dbPath()), written + 20'000);
  EXPECT_EQ(store.changes(a).size(), 2000u);
}

TEST_F(SqliteRecordStoreTest, FiveThousandChangesInOneTransaction) {
  SqliteRecordStore store(dbPath());
  long a = store.addInstall(installNamed("A"));
  std::vector<Change> changes;
  for (int i = 0; i < 5000; ++i) {
    Change c = changeAt(a, "C:\\FS98\\Scenery\\World\\Texture\\tile" + std::to_string(i) + ".bmp",
                        "C:\\Orvex\\Backup\\1\\tile" + std::to_string(i) + ".bmp");
    c.kind = ChangeKind::Replaced;
    c.size = 65536;
    changes.push_back(c);
  }
  auto start = std::chrono::steady_clock::now();
  store.transaction([&] { store.putChanges(changes); });
  std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
  std::printf("putChanges of 5,000 changes in one transaction, commit included: %.1f ms\n",
              took.count());
  EXPECT_EQ(changes.back().id - changes.front().id, 4999);
  EXPECT_EQ(store.changesBelow("c:\\fs98\\scenery").size(), 5000u);
}

}  // namespace
}  // namespace orvex

// The install records: which installs were made into which simulator, and every change each
// made to the simulator's tree, kept so that any install can be undone later, in any order,
// and an install broken off by a crash can be rolled back at the next start.
#pragma once

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace orvex {

enum class ChangeKind {
  Folder,      // a folder the install made
  Created,     // a file that was not there before
  Replaced,    // a file that was there: its original is kept in `backup`
  Area,        // an area added to a scenery list: `path` is the list, `text` the entry's lines
  ListBackup,  // the scenery list's backup file, rewritten by the install: its old bytes in
               // `backup` (empty when there was none), put back when the install is undone
  Edit,        // a configuration file edited in place: its old bytes in `backup`, and in `text`
               // what the edit means (describeEdits), to take it back by that when the file
               // changed since
};

struct Change {
  long id = 0;  // given by the store
  long install = 0;
  ChangeKind kind = ChangeKind::Created;
  std::string path;    // DOS path, as the install wrote it
  std::string backup;  // DOS path of the original's copy in the backup store; empty for none
  bool originalReadOnly = false;
  // False while the change is only planned: it may or may not have happened (an install that
  // was broken off); recovery compares it with the disk.
  bool done = false;
  long long size = -1;  // the file as the install left it: size, modification time in ns,
  long long mtime = 0;  // and the digest of its bytes once known (computed when the program
  std::string digest;   // is idle, so that it costs the install nothing)
  std::string text;     // an area's lines
  // The backup as it was taken, to tell one that went or changed since: its size and the
  // digest of its bytes; -1 and empty when not known (records of older versions).
  long long backupSize = -1;
  std::string backupDigest;
};

enum class InstallState { Running, Done, Uninstalling };

// Tells whether the records changed: two readings are equal only while nothing was written in
// between, by this program or another.
using RecordVersion = std::pair<long long, long long>;

struct InstallRecord {
  long id = 0;            // given by the store; a later install has a larger one
  std::string simulator;  // the simulator's directory, as the selected profile holds it
  std::string kind;       // "aircraft", "panel", "sound set", "scenery", "livery", "scenery list"
  std::string name;       // the aircraft's title, the panel or sound target, the scenery's name
  std::string when;       // local date and time, "2026-12-08 14:03"
  InstallState state = InstallState::Running;
};

// A damaged, locked or unwritable store.
class RecordError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Where the records are kept. Every call throws RecordError when the store fails.
class RecordStore {
 public:
  virtual ~RecordStore() = default;

  // Runs body as one transaction: all its writes reach the store, durably, or none does. A
  // transaction begun inside another joins it.
  virtual void transaction(const std::function<void()>& body) = 0;

  virtual long addInstall(const InstallRecord& record) = 0;
  virtual void updateInstall(const InstallRecord& record) = 0;
  // Removes an install with all its changes.
  virtual void removeInstall(long id) = 0;
  // Every install, oldest first.
  virtual std::vector<InstallRecord> installs() = 0;

  // The changes of one install, in the order they were made.
  virtual std::vector<Change> changes(long install) = 0;
  // The changes of every install at one path, or below a folder (paths compared without
  // regard to letter case), oldest install first.
  virtual std::vector<Change> changesAt(const std::string& path) = 0;
  virtual std::vector<Change> changesBelow(const std::string& folder) = 0;
  // The changes of the other installs at the paths one install changed, oldest install first.
  virtual std::vector<Change> changesOverlapping(long install) = 0;
  // Of each backup file, whether any change keeps its original there.
  virtual std::vector<bool> backupsInUse(const std::vector<std::string>& backups) = 0;
  bool backupInUse(const std::string& backup) { return backupsInUse({backup}).front(); }
  // Adds the changes with id 0 (their ids are set) and updates the others.
  virtual void putChanges(std::vector<Change>& changes) = 0;
  virtual void removeChanges(const std::vector<long>& ids) = 0;
  // Marks every planned change of the install done, in one go.
  virtual void markDone(long install) = 0;
  virtual RecordVersion version() = 0;
  // Housekeeping for an idle moment, so that no install or uninstall waits for it.
  virtual void tidy() {}

  // What the program keeps between runs to spare itself work (the Hangar as last read), by
  // key; never part of an install's record. Nothing when none is kept.
  virtual std::optional<std::string> keptValue(const std::string& key) = 0;
  virtual void keepValue(const std::string& key, const std::string& value) = 0;
};

}  // namespace orvex

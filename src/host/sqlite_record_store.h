// The install records in an SQLite database file in the program's root directory.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "host/sqlite_connection.h"
#include "platform/record_store.h"

namespace orvex {

// Opens the database, creating the file and its tables when they are missing; a damaged,
// locked or unreachable file, or one written by a newer version of the program, throws
// RecordError from the constructor or from the first call.
//
// Writes go to a write-ahead log and each commit reaches the disk before it returns, so that
// a crash or a power loss keeps every committed transaction and drops the one that was open.
// A transaction begun inside another joins it: a failure that the outer body catches keeps
// what the inner one wrote (a change planned before a file operation that broke off midway
// stays recorded), while a failure that leaves the outermost body undoes all of it. A write
// that names an unknown install or change is refused with RecordError.
class SqliteRecordStore : public RecordStore {
 public:
  explicit SqliteRecordStore(const std::string& hostPathOfDatabaseFile, int busyTimeoutMs = 5000);
  ~SqliteRecordStore() override;

  void transaction(const std::function<void()>& body) override;

  long addInstall(const InstallRecord& record) override;
  void updateInstall(const InstallRecord& record) override;
  void removeInstall(long id) override;
  std::vector<InstallRecord> installs() override;

  std::vector<Change> changes(long install) override;
  std::vector<Change> changesAt(const std::string& path) override;
  std::vector<Change> changesBelow(const std::string& folder) override;
  std::vector<Change> changesOverlapping(long install) override;
  std::vector<bool> backupsInUse(const std::vector<std::string>& backups) override;
  void putChanges(std::vector<Change>& changes) override;
  void removeChanges(const std::vector<long>& ids) override;
  void markDone(long install) override;
  RecordVersion version() override;
  // Folds the write-ahead log into the file.
  void tidy() override;
  std::optional<std::string> keptValue(const std::string& key) override;
  void keepValue(const std::string& key, const std::string& value) override;

 private:
  struct Statements;
  // A row of plans: its changes' first id, their install and their number.
  struct Plan;

  void openSchema();
  std::vector<Change> readChanges(SqliteConnection::Statement::Run& run);
  // Writes new changes as rows, their ids first onwards.
  void insertRows(const std::vector<const Change*>& changes, long first);
  // Makes the changes that plans of their own install hold in the plans, setting done[i] for
  // each; true when one is left to be made as a row.
  bool updateInPlans(const std::vector<Change>& changes, std::vector<char>& done);
  // The plans of installs still recorded, by first id: all (which is planSpans) or one
  // install's (plansOf).
  std::vector<Plan> plans(SqliteConnection::Statement& which, long install = 0);
  // Reads a plan's changes, their ids and done marks as rows would give them.
  void read(Plan& plan);
  // Gives each the changes of the plans (but for skip's) in turn; false when there are none.
  bool eachPlanned(const std::function<void(Change&)>& each, long skip = 0);
  // Adds to found the changes in plans (but for skip's) that keep picks, and orders found by
  // install and id again.
  void addPlanned(std::vector<Change>& found, const std::function<bool(const Change&)>& keep,
                  long skip = 0);
  // Turns every plan into rows, or those of one install.
  void writePlansOut(long install = 0);
  // Drops the changes and plans of installs removed.
  void dropRemoved();

  SqliteConnection db_;
  std::unique_ptr<Statements> statements_;
  bool transactionOpen_ = false;  // the outermost transaction call is running
};

}  // namespace orvex

// Install records kept in memory: for the tests, and for a preview that must never write to disk.
#pragma once

#include <map>

#include "platform/record_store.h"

namespace orvex {

// Behaves as the SQLite store does: a transaction begun inside another joins it, so a failure
// that the outer body catches keeps what the inner one wrote (a change planned before a file
// operation that broke off midway stays recorded); a failure that leaves the outermost body
// puts back everything written since it began. A write that names an unknown install or
// change is refused with RecordError and writes nothing.
class MemoryRecordStore : public RecordStore {
 public:
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
  RecordVersion version() override { return {0, writes_}; }
  std::optional<std::string> keptValue(const std::string& key) override;
  void keepValue(const std::string& key, const std::string& value) override { kept_[key] = value; }

 private:
  struct State {
    std::map<long, InstallRecord> installs;
    std::map<long, Change> changes;
    // An install's id is never given twice, while a change gets one more than the largest
    // held, as the SQLite store does; a rollback takes back what it gave.
    long nextInstall = 1;
  };

  // The changes that match, oldest install first, then in the order they were made.
  std::vector<Change> changesWhere(const std::function<bool(const Change&)>& match) const;

  State state_;
  bool inTransaction_ = false;
  long long writes_ = 0;  // every write counts, kept or rolled back
  std::map<std::string, std::string> kept_;
};

}  // namespace orvex

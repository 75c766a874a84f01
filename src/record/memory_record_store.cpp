// Install records kept in memory, with transactions that put back the state they began with.
#include "record/memory_record_store.h"

#include <algorithm>
#include <set>

#include "platform/dos_path.h"

namespace orvex {

void MemoryRecordStore::transaction(const std::function<void()>& body) {
  if (inTransaction_) return body();
  State saved = state_;
  inTransaction_ = true;
  try {
    body();
  } catch (...) {
    inTransaction_ = false;
    state_ = std::move(saved);
    throw;
  }
  inTransaction_ = false;
}

long MemoryRecordStore::addInstall(const InstallRecord& record) {
  ++writes_;
  InstallRecord added = record;
  added.id = state_.nextInstall++;
  state_.installs[added.id] = added;
  return added.id;
}

void MemoryRecordStore::updateInstall(const InstallRecord& record) {
  ++writes_;
  auto found = state_.installs.find(record.id);
  if (found == state_.installs.end())
    throw RecordError("There is no install record " + std::to_string(record.id) + " to update.");
  found->second = record;
}

void MemoryRecordStore::removeInstall(long id) {
  ++writes_;
  state_.installs.erase(id);
  std::erase_if(state_.changes, [id](const auto& entry) { return entry.second.install == id; });
}

std::vector<InstallRecord> MemoryRecordStore::installs() {
  std::vector<InstallRecord> all;
  for (const auto& [id, record] : state_.installs) all.push_back(record);
  return all;
}

std::vector<Change> MemoryRecordStore::changes(long install) {
  return changesWhere([install](const Change& c) { return c.install == install; });
}

std::vector<Change> MemoryRecordStore::changesAt(const std::string& path) {
  std::string wanted = dos::lower(path);
  return changesWhere([&](const Change& c) { return dos::lower(c.path) == wanted; });
}

std::vector<Change> MemoryRecordStore::changesOverlapping(long install) {
  std::set<std::string> paths;
  for (const auto& [id, c] : state_.changes)
    if (c.install == install) paths.insert(dos::lower(c.path));
  return changesWhere(
      [&](const Change& c) { return c.install != install && paths.count(dos::lower(c.path)); });
}

std::vector<Change> MemoryRecordStore::changesBelow(const std::string& folder) {
  std::string prefix = dos::belowPrefix(folder);
  return changesWhere([&](const Change& c) {
    return c.path.size() > prefix.size() && dos::startsWith(dos::lower(c.path), prefix);
  });
}

std::vector<bool> MemoryRecordStore::backupsInUse(const std::vector<std::string>& backups) {
  const auto kept = [&](const std::string& backup) {
    return std::any_of(state_.changes.begin(), state_.changes.end(), [&](const auto& entry) {
      return dos::equalsNoCase(entry.second.backup, backup);
    });
  };
  std::vector<bool> inUse;
  for (const std::string& backup : backups) inUse.push_back(!backup.empty() && kept(backup));
  return inUse;
}

void MemoryRecordStore::putChanges(std::vector<Change>& changes) {
  ++writes_;
  // Everything is checked before anything is written, so that a refused call writes nothing.
  for (const Change& c : changes) {
    if (!state_.installs.count(c.install))
      throw RecordError("A change of " + c.path + " names the install record " +
                        std::to_string(c.install) + ", which does not exist.");
    if (c.id != 0 && !state_.changes.count(c.id))
      throw RecordError("There is no change record " + std::to_string(c.id) + " to update.");
  }
  for (Change& c : changes) {
    if (c.id == 0) c.id = state_.changes.empty() ? 1 : state_.changes.rbegin()->first + 1;
    state_.changes[c.id] = c;
  }
}

void MemoryRecordStore::removeChanges(const std::vector<long>& ids) {
  ++writes_;
  for (long id : ids) state_.changes.erase(id);
}

void MemoryRecordStore::markDone(long install) {
  ++writes_;
  for (auto& [id, c] : state_.changes)
    if (c.install == install) c.done = true;
}

std::vector<Change> MemoryRecordStore::changesWhere(
    const std::function<bool(const Change&)>& match) const {
  std::vector<Change> found;
  for (const auto& [id, c] : state_.changes)
    if (match(c)) found.push_back(c);
  std::stable_sort(found.begin(), found.end(),
                   [](const Change& a, const Change& b) { return a.install < b.install; });
  return found;
}

std::optional<std::string> MemoryRecordStore::keptValue(const std::string& key) {
  const auto found = kept_.find(key);
  if (found == kept_.end()) return std::nullopt;
  return found->second;
}

}  // namespace orvex

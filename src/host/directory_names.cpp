// The remembered names of host directories for case-blind look-ups.
#include "host/directory_names.h"

#include <dirent.h>
#include <time.h>

#include <algorithm>

#include "platform/dos_path.h"

namespace orvex {
namespace {

// A bound on what is kept: the program works in a handful of folders at a time.
constexpr size_t kMaxDirectories = 64;

bool sameTime(const struct timespec& a, const struct timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool before(const struct timespec& a, const struct timespec& b) {
  return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

}  // namespace

bool DirectoryNames::stillCurrent(Names& names, const struct stat& st) {
  if (!S_ISDIR(st.st_mode) || names.dev != st.st_dev || names.ino != st.st_ino) return false;
  if (!names.ownChange) return sameTime(names.mtime, st.st_mtim);
  // A time between the one read before our change and the moment it was made is ours.
  if (before(st.st_mtim, names.mtime) || before(names.changedBy, st.st_mtim)) return false;
  names.mtime = st.st_mtim;
  names.ownChange = false;
  return true;
}

void DirectoryNames::changedNow(Names& names) {
  clock_gettime(CLOCK_REALTIME, &names.changedBy);
  names.ownChange = true;
}

DirectoryNames::Names* DirectoryNames::current(const std::string& dir, const struct stat* known) {
  struct stat st;
  if (known)
    st = *known;
  else if (stat(dir.c_str(), &st) != 0)
    st.st_mode = 0;
  if (!S_ISDIR(st.st_mode)) {
    dirs_.erase(dir);
    return nullptr;
  }
  auto it = dirs_.find(dir);
  if (it != dirs_.end() && stillCurrent(it->second, st)) return &it->second;

  DIR* handle = opendir(dir.c_str());
  if (!handle) {
    dirs_.erase(dir);
    return nullptr;
  }
  Names names;
  names.dev = st.st_dev;
  names.ino = st.st_ino;
  names.mtime = st.st_mtim;
  while (dirent* e = readdir(handle)) {
    const std::string entry = e->d_name;
    if (entry == "." || entry == "..") continue;
    names.byLower[dos::lower(entry)].push_back(entry);
  }
  closedir(handle);
  for (auto& [lower, entries] : names.byLower) std::sort(entries.begin(), entries.end());
  if (dirs_.size() >= kMaxDirectories && !dirs_.count(dir)) dirs_.clear();
  return &(dirs_[dir] = std::move(names));
}

void DirectoryNames::changing(const std::string& dir, const struct stat* known) {
  auto it = dirs_.find(dir);
  if (it == dirs_.end()) return;
  struct stat st;
  if (known)
    st = *known;
  else if (stat(dir.c_str(), &st) != 0)
    st.st_mode = 0;
  if (!stillCurrent(it->second, st)) dirs_.erase(it);
}

std::optional<std::string> DirectoryNames::find(const std::string& dir, const std::string& name,
                                                const struct stat* known, bool exactFirst) {
  Names* names = current(dir, known);
  if (!names) return std::nullopt;
  auto it = names->byLower.find(dos::lower(name));
  if (it == names->byLower.end() || it->second.empty()) return std::nullopt;
  if (exactFirst && std::binary_search(it->second.begin(), it->second.end(), name)) return name;
  return it->second.front();
}

void DirectoryNames::added(const std::string& dir, const std::string& name) {
  auto it = dirs_.find(dir);
  if (it == dirs_.end()) return;
  changedNow(it->second);
  std::vector<std::string>& entries = it->second.byLower[dos::lower(name)];
  if (std::find(entries.begin(), entries.end(), name) == entries.end()) {
    entries.push_back(name);
    std::sort(entries.begin(), entries.end());
  }
}

void DirectoryNames::removed(const std::string& dir, const std::string& name) {
  auto it = dirs_.find(dir);
  if (it == dirs_.end()) return;
  changedNow(it->second);
  auto entries = it->second.byLower.find(dos::lower(name));
  if (entries == it->second.byLower.end()) return;
  std::erase(entries->second, name);
  if (entries->second.empty()) it->second.byLower.erase(entries);
}

}  // namespace orvex

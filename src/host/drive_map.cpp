// The drive map: letters onto host directories, the Wine layout, host paths back to DOS.
#include "host/drive_map.h"

#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

namespace orvex {
namespace {

char lowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}
bool isLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::optional<std::string> realPath(const std::string& path) {
  std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr), &std::free);
  if (!resolved) return std::nullopt;
  return std::string(resolved.get());
}

// Host path components with "", "." and ".." resolved in the text.
std::vector<std::string> hostComponents(const std::string& path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    std::string part = path.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(std::move(part));
    }
    start = end + 1;
  }
  return parts;
}

std::string hostJoin(const std::vector<std::string>& parts, size_t count) {
  std::string path;
  for (size_t i = 0; i < count; ++i) path += "/" + parts[i];
  return path.empty() ? "/" : path;
}

// The canonical form of an absolute path whose tail may not exist yet: the longest
// existing head is resolved (symbolic links and all), the missing rest is appended.
std::string canonical(const std::string& path) {
  std::vector<std::string> parts = hostComponents(path);
  for (size_t count = parts.size() + 1; count-- > 0;) {
    if (std::optional<std::string> head = realPath(hostJoin(parts, count))) {
      std::string result = *head == "/" ? "" : *head;
      for (size_t i = count; i < parts.size(); ++i) result += "/" + parts[i];
      return result.empty() ? "/" : result;
    }
  }
  return hostJoin(parts, parts.size());
}

}  // namespace

void DriveMap::add(char letter, const std::string& hostDir) {
  roots_[lowerAscii(letter)] = canonical(hostDir);
}

std::optional<std::string> DriveMap::root(char letter) const {
  auto it = roots_.find(lowerAscii(letter));
  if (it == roots_.end()) return std::nullopt;
  return it->second;
}

std::vector<char> DriveMap::letters() const {
  std::vector<char> result;
  for (const auto& [letter, root] : roots_) result.push_back(letter);
  return result;
}

std::optional<std::string> DriveMap::toDos(const std::string& hostPath) const {
  std::string path = canonical(hostPath);
  const std::pair<const char, std::string>* best = nullptr;
  for (const auto& entry : roots_) {
    const std::string& root = entry.second;
    bool holds = root == "/" || path == root ||
                 (path.compare(0, root.size(), root) == 0 && path[root.size()] == '/');
    // Longest root wins; between equal roots the lowest letter.
    if (holds && (!best || root.size() > best->second.size())) best = &entry;
  }
  if (!best) return std::nullopt;
  std::string dos{char(best->first - 'a' + 'A'), ':', '\\'};
  std::string rest = best->second == "/" ? path.substr(1) : path.substr(best->second.size());
  if (!rest.empty() && rest[0] == '/') rest.erase(0, 1);
  for (char c : rest) dos += c == '/' ? '\\' : c;
  return dos;
}

DriveMap DriveMap::fromWinePrefix(const std::string& prefix) {
  DriveMap map;
  std::string devices = prefix + "/dosdevices";
  DIR* dir = opendir(devices.c_str());
  if (!dir) {
    // No prefix yet: Wine would make one whose Z: is the whole host file system. A prefix
    // that exists has exactly the drives its links name, so a user who took Z: away (to keep
    // Windows programs inside their own folders) keeps it away here too.
    if (errno == ENOENT || errno == ENOTDIR) map.roots_['z'] = "/";
    return map;
  }
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    // "c:" is a drive; "c::" names the raw device behind it and is no drive.
    if (name.size() != 2 || !isLetter(name[0]) || name[1] != ':') continue;
    std::optional<std::string> target = realPath(devices + "/" + name);
    struct stat st;
    // A link to something absent (an empty CD drive) gives no usable drive.
    if (target && stat(target->c_str(), &st) == 0 && S_ISDIR(st.st_mode))
      map.roots_[lowerAscii(name[0])] = *target;
  }
  closedir(dir);
  return map;
}

DriveMap DriveMap::defaultMap() {
  if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix)
    return fromWinePrefix(prefix);
  std::string home;
  if (const char* env = std::getenv("HOME"); env && *env) {
    home = env;
  } else if (const passwd* pw = getpwuid(getuid())) {
    home = pw->pw_dir;
  }
  return fromWinePrefix(home + "/.wine");
}

}  // namespace orvex

// The plan of an archive opened directly: safe places in its folders, the first of a place
// kept, limits.
#include "archive/archive_plan.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <map>
#include <optional>
#include <string_view>

#include "platform/dos_path.h"

namespace orvex {
namespace {

constexpr size_t kLongestName = 255;

bool isSeparator(char c) {
  return c == '/' || c == '\\';
}

bool absolutePath(const std::string& path) {
  if (!path.empty() && isSeparator(path[0])) return true;
  // "C:\x" and also "C:x", which names a place on a drive too.
  return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

bool climbsOut(const std::string& path) {
  size_t start = 0;
  for (;;) {
    size_t end = start;
    while (end < path.size() && !isSeparator(path[end])) ++end;
    if (path.compare(start, end - start, "..") == 0 && end - start == 2) return true;
    if (end >= path.size()) return false;
    start = end + 1;
  }
}

// Names the simulators' own DOS world opens as devices, with any extension.
bool deviceName(const std::string& name) {
  std::string base = dos::lower(name.substr(0, name.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  if (base == "con" || base == "prn" || base == "aux" || base == "nul") return true;
  return base.size() == 4 && (base.starts_with("com") || base.starts_with("lpt")) &&
         base[3] >= '1' && base[3] <= '9';
}

bool badName(const std::string& name) {
  if (name.size() > kLongestName || deviceName(name)) return true;
  // Windows drops a trailing dot or blank, so the file would not keep the name it was given.
  if (name.back() == '.' || name.back() == ' ') return true;
  return std::any_of(name.begin(), name.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7F || std::string_view("<>:\"|?*").find(c) != std::string_view::npos;
  });
}

// The components of a stored path; empty and "." ones between separators are dropped, as the
// zip programs do. A path that ends in a separator or "." keeps an empty last component: it
// names no file.
std::vector<std::string> partsOf(const std::string& path) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t end = start;
    while (end < path.size() && !isSeparator(path[end])) ++end;
    std::string part = path.substr(start, end - start);
    const bool last = end >= path.size();
    if (last) {
      parts.push_back(part == "." ? std::string() : std::move(part));
      return parts;
    }
    if (!part.empty() && part != ".") parts.push_back(std::move(part));
    start = end + 1;
  }
}

// Every component is checked, the folders' as the file's: a folder DOS cannot name, or a
// hidden one, would hide the files below it as well.
std::optional<SkipReason> problemOf(const ArchiveEntry& entry,
                                    const std::vector<std::string>& parts) {
  if (absolutePath(entry.path)) return SkipReason::AbsolutePath;
  if (climbsOut(entry.path)) return SkipReason::ParentFolder;
  if (entry.kind == ArchiveEntry::Kind::Link) return SkipReason::Link;
  if (entry.kind == ArchiveEntry::Kind::Special) return SkipReason::Special;
  if (parts.back().empty()) return SkipReason::NoName;
  for (const std::string& part : parts)
    if (part[0] == '.') return SkipReason::Hidden;
  for (const std::string& part : parts)
    if (badName(part)) return SkipReason::BadName;
  return std::nullopt;
}

uint64_t saturatingAdd(uint64_t a, uint64_t b) {
  return a > std::numeric_limits<uint64_t>::max() - b ? std::numeric_limits<uint64_t>::max()
                                                      : a + b;
}

}  // namespace

uint64_t unpackBudget(uint64_t archiveBytes) {
  const uint64_t byRatio = archiveBytes > kMaxUnpackedBytes / kMaxPackingRatio
                               ? kMaxUnpackedBytes
                               : archiveBytes * kMaxPackingRatio;
  return std::min(std::max(byRatio, kRatioExemptBytes), kMaxUnpackedBytes);
}

std::string describe(SkipReason reason) {
  switch (reason) {
    case SkipReason::AbsolutePath: return "absolute path";
    case SkipReason::ParentFolder: return "path leads out of its folder";
    case SkipReason::Link: return "link";
    case SkipReason::Special: return "device, pipe or socket";
    case SkipReason::NoName: return "no file name";
    case SkipReason::Hidden: return "hidden file";
    case SkipReason::BadName: return "a name a DOS file cannot have";
    case SkipReason::FolderInTheWay: return "a folder of that name is in the assembly area";
    case SkipReason::FileInTheWay: return "a file of its folder's name is in the assembly area";
  }
  return {};
}

bool isArchiveName(const std::string& name) {
  return dos::endsWithNoCase(name, ".zip") || dos::endsWithNoCase(name, ".7z") ||
         dos::endsWithNoCase(name, ".rar");
}

ArchivePlan planArchive(const std::vector<ArchiveEntry>& entries) {
  ArchivePlan plan;
  // Lower-case place -> the file kept there, or the first file below it when it is a folder.
  std::map<std::string, size_t> takenBy;
  std::map<std::string, bool> isFolder;   // of the places taken
  std::map<std::string, size_t> clashOf;  // lower-case place -> plan.clashes
  const auto clash = [&](const std::string& key, const std::string& path) {
    auto [at, fresh] = clashOf.try_emplace(key, plan.clashes.size());
    if (fresh) plan.clashes.push_back({plan.files[takenBy[key]].path, {}});
    plan.clashes[at->second].dropped.push_back(path);
  };
  for (const ArchiveEntry& entry : entries) {
    plan.encrypted = plan.encrypted || entry.encrypted;
    if (entry.kind == ArchiveEntry::Kind::Directory) continue;
    const std::vector<std::string> parts = partsOf(entry.path);
    if (std::optional<SkipReason> reason = problemOf(entry, parts)) {
      plan.skipped.push_back({entry.path, *reason});
      continue;
    }
    // The folders above the file, then the file itself, each as a lower-case place.
    std::vector<std::string> keys;
    std::string place;
    for (const std::string& part : parts) {
      place += (place.empty() ? "" : "\\") + part;
      keys.push_back(dos::lower(place));
    }
    std::optional<std::string> taken;
    for (size_t k = 0; k < keys.size() && !taken; ++k) {
      auto at = isFolder.find(keys[k]);
      // A folder of the file's own place, or a file at one of its folders' places.
      if (at != isFolder.end() && (k + 1 == keys.size() || !at->second)) taken = keys[k];
    }
    if (taken) {
      clash(*taken, entry.path);
      continue;
    }
    for (size_t k = 0; k < keys.size(); ++k) {
      isFolder.emplace(keys[k], k + 1 < keys.size());
      takenBy.emplace(keys[k], plan.files.size());
    }
    plan.files.push_back({entry.index, entry.path, place, entry.size.value_or(0)});
    plan.declaredBytes = saturatingAdd(plan.declaredBytes, entry.size.value_or(0));
  }
  return plan;
}

}  // namespace orvex

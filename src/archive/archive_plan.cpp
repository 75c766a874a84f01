// The plan of an archive opened directly: safe flat names, first of a name kept, limits.
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

std::optional<SkipReason> problemOf(const ArchiveEntry& entry) {
  if (absolutePath(entry.path)) return SkipReason::AbsolutePath;
  if (climbsOut(entry.path)) return SkipReason::ParentFolder;
  if (entry.kind == ArchiveEntry::Kind::Link) return SkipReason::Link;
  if (entry.kind == ArchiveEntry::Kind::Special) return SkipReason::Special;
  const std::string name = flatName(entry.path);
  if (name.empty()) return SkipReason::NoName;
  if (name[0] == '.') return SkipReason::Hidden;
  if (badName(name)) return SkipReason::BadName;
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
  }
  return {};
}

std::string flatName(const std::string& archivePath) {
  const size_t slash = archivePath.find_last_of("/\\");
  return slash == std::string::npos ? archivePath : archivePath.substr(slash + 1);
}

ArchivePlan planArchive(const std::vector<ArchiveEntry>& entries) {
  ArchivePlan plan;
  std::map<std::string, size_t> fileOf;   // lower-case flat name -> plan.files
  std::map<std::string, size_t> clashOf;  // lower-case flat name -> plan.clashes
  for (const ArchiveEntry& entry : entries) {
    plan.encrypted = plan.encrypted || entry.encrypted;
    if (entry.kind == ArchiveEntry::Kind::Directory) continue;
    if (std::optional<SkipReason> reason = problemOf(entry)) {
      plan.skipped.push_back({entry.path, *reason});
      continue;
    }
    const std::string name = flatName(entry.path);
    const std::string key = dos::lower(name);
    if (auto kept = fileOf.find(key); kept != fileOf.end()) {
      auto [clash, fresh] = clashOf.try_emplace(key, plan.clashes.size());
      if (fresh) plan.clashes.push_back({plan.files[kept->second].path, {}});
      plan.clashes[clash->second].dropped.push_back(entry.path);
      continue;
    }
    fileOf.emplace(key, plan.files.size());
    plan.files.push_back({entry.index, entry.path, name, entry.size.value_or(0)});
    plan.declaredBytes = saturatingAdd(plan.declaredBytes, entry.size.value_or(0));
  }
  return plan;
}

}  // namespace orvex

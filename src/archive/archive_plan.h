// Which entries of an archive opened directly go into the assembly area, at which places in
// its folders, and which are left out and why; and the limits that refuse an absurd archive.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/archive_reader.h"

namespace orvex {

// Limits against archives that would flood the disk. The ratio is taken over the whole
// archive: libarchive does not tell the packed size of one entry. Archives inside an archive
// count towards the limits of the one the user opened.
inline constexpr uint64_t kMaxUnpackedBytes = uint64_t(4) << 30;
inline constexpr uint64_t kMaxPackingRatio = 200;
inline constexpr uint64_t kRatioExemptBytes = uint64_t(1) << 20;  // small archives may pack well
inline constexpr size_t kMaxArchiveEntries = 100'000;

// The most an archive of archiveBytes may unpack to: its size times the ratio, at least the
// exempt size, at most the overall limit.
uint64_t unpackBudget(uint64_t archiveBytes);

enum class SkipReason {
  AbsolutePath,
  ParentFolder,
  Link,
  Special,
  NoName,
  Hidden,
  BadName,
  FolderInTheWay,
  FileInTheWay,
};

// How a reason reads in the list shown to the user.
std::string describe(SkipReason reason);

// The pattern list of the archives' names that isArchiveName tells.
inline constexpr const char* kArchivePatterns = "*.zip;*.7z;*.rar";
// Whether a file's name ends in ".zip", ".7z" or ".rar", in any letter case.
bool isArchiveName(const std::string& name);

struct PlannedFile {
  size_t index;       // of the entry in the archive
  std::string path;   // as stored
  std::string place;  // below the folder it is unpacked into: "Cessna\model\c.mdl"
  uint64_t size;      // declared size, 0 when unknown
};

struct SkippedEntry {
  std::string path;
  SkipReason reason;
};

// Entries whose places differ only in letter case or not at all, or of which one would be a
// folder of the other: the first is kept.
struct NameClash {
  std::string kept;                  // path of the entry kept
  std::vector<std::string> dropped;  // paths of the others, in archive order
};

struct ArchivePlan {
  std::vector<PlannedFile> files;
  std::vector<SkippedEntry> skipped;
  std::vector<NameClash> clashes;
  uint64_t declaredBytes = 0;  // of the planned files
  bool encrypted = false;      // some entry needs a password
};

// Folder entries are passed over: the folders come with their files, in the letter case of the
// first file that names them.
ArchivePlan planArchive(const std::vector<ArchiveEntry>& entries);

}  // namespace orvex

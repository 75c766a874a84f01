// Which entries of an archive opened directly go into the assembly area, under which flat
// names, and which are left out and why; and the limits that refuse an absurd archive.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/archive_reader.h"

namespace orvex {

// Limits against archives that would flood the disk. The ratio is taken over the whole
// archive: libarchive does not tell the packed size of one entry.
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
};

// How a reason reads in the list shown to the user.
std::string describe(SkipReason reason);

// The entry's own file name: the text after its last "/" or "\".
std::string flatName(const std::string& archivePath);

struct PlannedFile {
  size_t index;      // of the entry in the archive
  std::string path;  // as stored
  std::string name;  // flat name in the assembly area
  uint64_t size;     // declared size, 0 when unknown
};

struct SkippedEntry {
  std::string path;
  SkipReason reason;
};

// Entries whose flat names differ only in letter case or not at all: the first is kept.
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

// Folders are dropped silently: their files come out flat.
ArchivePlan planArchive(const std::vector<ArchiveEntry>& entries);

}  // namespace orvex

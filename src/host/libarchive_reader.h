// The ArchiveReader on libarchive: zip, 7z and rar archives, entries written with plain POSIX
// calls rather than libarchive's own disk writer, so that nothing but a new regular file at
// the given path can come of an entry.
#pragma once

#include "platform/archive_reader.h"

namespace orvex {

class LibArchiveReader : public ArchiveReader {
 public:
  ArchiveListing list(const std::string& hostPath,
                      const std::function<bool(size_t)>& keepGoing) override;
  void extract(const std::string& hostPath,
               const std::function<std::string(const ArchiveEntry&)>& target,
               const std::function<bool(uint64_t)>& progress) override;
};

}  // namespace orvex

// Reading downloaded archives (zip, 7z, rar): their entries from the headers, and the data of
// chosen entries written into new host files. What may be written where is the caller's rule.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace orvex {

struct ArchiveEntry {
  enum class Kind { File, Directory, Link, Special };

  size_t index = 0;  // position in the archive, from 0; the same in every read
  std::string path;  // as stored, with "/" or "\" between folders
  Kind kind = Kind::File;
  std::optional<uint64_t> size;  // unpacked size, when the header declares one
  bool encrypted = false;
};

struct ArchiveListing {
  uint64_t archiveBytes = 0;  // size of the archive file itself
  std::vector<ArchiveEntry> entries;
};

class ArchiveError : public std::runtime_error {
 public:
  enum class Reason {
    Unreadable,   // the file cannot be opened
    Unsupported,  // not an archive of a known format
    Damaged,      // cut short or corrupt
    Encrypted,    // needs a password
    Stopped,      // the caller's callback asked to stop
  };
  ArchiveError(Reason reason, const std::string& detail)
      : std::runtime_error(detail), reason_(reason) {}
  Reason reason() const { return reason_; }

 private:
  Reason reason_;
};

class ArchiveReader {
 public:
  virtual ~ArchiveReader() = default;

  // The entries, from the headers; entry data is passed over, not written anywhere.
  // keepGoing(entries read so far) runs after each entry; false stops with Reason::Stopped.
  virtual ArchiveListing list(const std::string& hostPath,
                              const std::function<bool(size_t)>& keepGoing) = 0;

  // Reads the archive again from the start. target() is asked for each file entry; where it
  // gives a host path, the data is written there as a new regular file (never replacing a
  // file, never through a link). Every other entry is passed over. progress(bytes written so far,
  // in all) runs after each block written; false stops with Reason::Stopped. A file that fails to
  // write throws FileError. Files already written are left for the caller to remove.
  virtual void extract(const std::string& hostPath,
                       const std::function<std::string(const ArchiveEntry&)>& target,
                       const std::function<bool(uint64_t)>& progress) = 0;
};

}  // namespace orvex

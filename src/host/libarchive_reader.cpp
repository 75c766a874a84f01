// Listing and unpacking archives with libarchive's reader.
#include "host/libarchive_reader.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "platform/dos_path.h"
#include "platform/errors.h"

namespace orvex {
namespace {

constexpr size_t kReadBlock = size_t(1) << 16;
// What libarchive sets for data of no format it knows (its ARCHIVE_ERRNO_FILE_FORMAT, which
// it does not publish).
constexpr int kUnknownFormat = EILSEQ;

struct ReadFree {
  void operator()(archive* a) const { archive_read_free(a); }
};
using ArchiveHandle = std::unique_ptr<archive, ReadFree>;

using Reason = ArchiveError::Reason;

// opened: whether a format was found; libarchive cannot be asked about entries before.
ArchiveError failure(archive* a, Reason fallback, bool opened = true) {
  const char* text = archive_error_string(a);
  std::string detail = text && *text ? text : "the archive could not be read to its end";
  // Readers say so in their own words; the flag is set only once an entry was seen.
  if ((opened && archive_read_has_encrypted_entries(a) > 0) ||
      dos::containsNoCase(detail, "passphrase") || dos::containsNoCase(detail, "encrypt"))
    return ArchiveError(Reason::Encrypted, detail);
  return ArchiveError(fallback, detail);
}

ArchiveHandle openArchive(const std::string& hostPath, uint64_t* bytes = nullptr) {
  struct stat st;
  if (stat(hostPath.c_str(), &st) != 0) throw ArchiveError(Reason::Unreadable, strerror(errno));
  // A pipe or device would never end.
  if (!S_ISREG(st.st_mode)) throw ArchiveError(Reason::Unreadable, "it is not a file");
  if (bytes) *bytes = uint64_t(st.st_size);
  ArchiveHandle a(archive_read_new());
  if (!a) throw ArchiveError(Reason::Unreadable, strerror(ENOMEM));
  archive_read_support_format_zip(a.get());
  archive_read_support_format_7zip(a.get());
  archive_read_support_format_rar(a.get());
  archive_read_support_format_rar5(a.get());
  if (archive_read_open_filename(a.get(), hostPath.c_str(), kReadBlock) != ARCHIVE_OK) {
    const int number = archive_errno(a.get());
    if (number == kUnknownFormat) throw failure(a.get(), Reason::Unsupported, false);
    if (number == ENOENT || number == EACCES || number == EPERM || number == EISDIR)
      throw failure(a.get(), Reason::Unreadable, false);
    throw failure(a.get(), Reason::Damaged, false);
  }
  return a;
}

ArchiveEntry describe(archive_entry* e, size_t index) {
  ArchiveEntry entry;
  entry.index = index;
  // The stored name as UTF-8 where the archive says what it is; the raw bytes otherwise.
  const char* name = archive_entry_pathname_utf8(e);
  if (!name) name = archive_entry_pathname(e);
  entry.path = name ? name : "";
  const mode_t type = archive_entry_filetype(e);
  if (archive_entry_hardlink(e) || type == AE_IFLNK)
    entry.kind = ArchiveEntry::Kind::Link;
  else if (type == AE_IFDIR)
    entry.kind = ArchiveEntry::Kind::Directory;
  else if (type == AE_IFREG || type == 0)  // some zip writers store no type for a file
    entry.kind = ArchiveEntry::Kind::File;
  else
    entry.kind = ArchiveEntry::Kind::Special;
  if (archive_entry_size_is_set(e) && archive_entry_size(e) >= 0)
    entry.size = uint64_t(archive_entry_size(e));
  entry.encrypted = archive_entry_is_encrypted(e) != 0;
  return entry;
}

// The next entry's header; false at the end of the archive.
bool nextEntry(archive* a, size_t index, ArchiveEntry& out) {
  archive_entry* e = nullptr;
  const int r = archive_read_next_header(a, &e);
  if (r == ARCHIVE_EOF) return false;
  if (r != ARCHIVE_OK && r != ARCHIVE_WARN) throw failure(a, Reason::Damaged);
  out = describe(e, index);
  return true;
}

[[noreturn]] void failWrite() {
  switch (errno) {
    case ENOENT:
    case ENOTDIR: throw FileError(err::PathNotFound);
    case ENOSPC:
    case EDQUOT: throw FileError(err::DiskFull);
    case ENAMETOOLONG:
    case EINVAL: throw FileError(err::BadFileName);
    case EEXIST:
    case ELOOP:
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: throw FileError(err::PathFileAccess);
    default: throw FileError(err::DeviceIo);
  }
}

class OutFile {
 public:
  explicit OutFile(const std::string& path)
      // A new file only: whatever lies at the path already, a link above all, stays untouched.
      : fd_(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666)) {
    if (fd_ < 0) failWrite();
  }
  ~OutFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  OutFile(const OutFile&) = delete;
  OutFile& operator=(const OutFile&) = delete;

  void writeAt(const char* data, size_t size, off_t offset) {
    while (size > 0) {
      const ssize_t n = pwrite(fd_, data, size, offset);
      if (n < 0) {
        if (errno == EINTR) continue;
        failWrite();
      }
      data += n;
      size -= size_t(n);
      offset += n;
    }
  }
  // Some file systems report a failed write only when the file is closed.
  void close() {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) failWrite();
  }

 private:
  int fd_;
};

void writeEntry(archive* a, const std::string& to, uint64_t& written,
                const std::function<bool(uint64_t)>& progress) {
  OutFile out(to);
  uint64_t end = 0;
  for (;;) {
    const void* block = nullptr;
    size_t size = 0;
    la_int64_t offset = 0;
    const int r = archive_read_data_block(a, &block, &size, &offset);
    if (r == ARCHIVE_EOF) break;
    // A warning here is a wrong checksum or size: the data is not what was packed.
    if (r != ARCHIVE_OK) throw failure(a, Reason::Damaged);
    if (offset < 0) throw ArchiveError(Reason::Damaged, "an entry's data lies before its start");
    out.writeAt(static_cast<const char*>(block), size, off_t(offset));
    // A block placed beyond the end leaves a gap that counts as written: the file is that
    // long on every later copy.
    const uint64_t blockEnd = uint64_t(offset) + size;
    if (blockEnd > end) {
      written += blockEnd - end;
      end = blockEnd;
    }
    if (!progress(written)) throw ArchiveError(Reason::Stopped, "stopped");
  }
  out.close();
}

}  // namespace

ArchiveListing LibArchiveReader::list(const std::string& hostPath,
                                      const std::function<bool(size_t)>& keepGoing) {
  ArchiveListing listing;
  ArchiveHandle a = openArchive(hostPath, &listing.archiveBytes);
  ArchiveEntry entry;
  for (size_t index = 0; nextEntry(a.get(), index, entry); ++index) {
    listing.entries.push_back(entry);
    if (!keepGoing(listing.entries.size())) throw ArchiveError(Reason::Stopped, "stopped");
  }
  return listing;
}

void LibArchiveReader::extract(const std::string& hostPath,
                               const std::function<std::string(const ArchiveEntry&)>& target,
                               const std::function<bool(uint64_t)>& progress) {
  ArchiveHandle a = openArchive(hostPath);
  uint64_t written = 0;
  ArchiveEntry entry;
  for (size_t index = 0; nextEntry(a.get(), index, entry); ++index) {
    const std::string to = entry.kind == ArchiveEntry::Kind::File ? target(entry) : std::string();
    if (to.empty()) {
      if (archive_read_data_skip(a.get()) != ARCHIVE_OK) throw failure(a.get(), Reason::Damaged);
      continue;
    }
    writeEntry(a.get(), to, written, progress);
  }
}

}  // namespace orvex

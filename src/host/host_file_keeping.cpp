// What the install records need of the host's files: lasting copies of originals (a link where
// the data may be shared), a file's size and time, and a digest of its bytes.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xxhash.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "host/host_file_system.h"
#include "platform/errors.h"

namespace orvex {
namespace {

int errorNumberOf(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR: return err::PathNotFound;
    case ENOSPC:
    case EDQUOT: return err::DiskFull;
    case EEXIST:
    case EACCES:
    case EPERM:
    case EROFS: return err::PathFileAccess;
    default: return err::DeviceIo;
  }
}

[[noreturn]] void failWith(int error) {
  throw FileError(errorNumberOf(error));
}

std::string parentOf(const std::string& hostPath) {
  const size_t slash = hostPath.rfind('/');
  return slash == 0 || slash == std::string::npos ? "/" : hostPath.substr(0, slash);
}

void syncFolder(const std::string& dir) {
  const int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// A new file at target holding source's bytes, synced, or no file at all.
void copyDurably(const std::string& source, const std::string& target) {
  const int in = open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) failWith(errno);
  const int out = open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (out < 0) {
    const int error = errno;
    close(in);
    failWith(error);
  }
  int error = 0;
  std::vector<char> buffer(size_t(1) << 17);
  for (;;) {
    const ssize_t n = read(in, buffer.data(), buffer.size());
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      error = errno;
      break;
    }
    for (ssize_t done = 0; done < n && !error;) {
      const ssize_t w = write(out, buffer.data() + done, size_t(n - done));
      if (w < 0 && errno != EINTR) error = errno;
      if (w > 0) done += w;
    }
    if (error) break;
  }
  if (!error && fsync(out) != 0) error = errno;
  if (close(out) != 0 && !error) error = errno;
  close(in);
  if (error) {
    unlink(target.c_str());
    failWith(error);
  }
}

}  // namespace

void HostFileSystem::preserveFile(const std::string& source, const std::string& target,
                                  bool mayShare) {
  const Resolved from = resolve(source);
  struct stat st;
  if (!statOf(from, st)) failMissing(from);
  if (!S_ISREG(st.st_mode)) throw FileError(err::PathFileAccess);
  const Resolved to = resolve(target);
  if (!to.parentExists) throw FileError(err::PathNotFound);
  // Sharing the data costs nothing and keeps the original's bytes as long as its old name is
  // only ever replaced whole; another file system, or one without links, gets a copy.
  if (!mayShare || link(from.host.c_str(), to.host.c_str()) != 0) {
    if (mayShare && errno == EEXIST) throw FileError(err::PathFileAccess);
    copyDurably(from.host, to.host);
  }
  syncFolder(parentOf(to.host));
  madeEntry(to.host);
}

std::optional<FileStamp> HostFileSystem::stamp(const std::string& path) {
  const Resolved r = resolve(path);
  struct stat st;
  if (!statOf(r, st) || !S_ISREG(st.st_mode)) return std::nullopt;
  return FileStamp{static_cast<long long>(st.st_size),
                   static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec};
}

std::string HostFileSystem::digest(const std::string& path) {
  const int fd = openForReading(path);
  XXH3_state_t* state = XXH3_createState();
  XXH3_128bits_reset(state);
  std::vector<char> buffer(size_t(1) << 17);
  int error = 0;
  for (;;) {
    const ssize_t n = read(fd, buffer.data(), buffer.size());
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      error = errno;
      break;
    }
    XXH3_128bits_update(state, buffer.data(), size_t(n));
  }
  close(fd);
  const XXH128_hash_t hash = XXH3_128bits_digest(state);
  XXH3_freeState(state);
  if (error) failWith(error);
  char text[33];
  std::snprintf(text, sizeof text, "%016llx%016llx", static_cast<unsigned long long>(hash.high64),
                static_cast<unsigned long long>(hash.low64));
  return text;
}

}  // namespace orvex

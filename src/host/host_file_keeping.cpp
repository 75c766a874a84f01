// What the install records need of the host's files: lasting copies of originals (a link where
// the data may be shared), a file's size and time, and a digest of its bytes.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <xxhash.h>

#include <cerrno>
#include <cstdio>
#include <functional>
#include <vector>

#include "host/host_file_system.h"
#include "host/host_io.h"
#include "platform/dos_path.h"
#include "platform/errors.h"

namespace orvex {

void HostFileSystem::preserveFile(const std::string& source, const std::string& target,
                                  bool mayShare, bool folderLater) try {
  const Resolved from = resolve(source);
  struct stat st;
  try {
    if (!statOf(from, st)) failMissing(from);
    if (!S_ISREG(st.st_mode)) throw FileError(err::PathFileAccess);
  } catch (const FileError& e) {
    throw e.naming(fullPath(source));
  }
  const Resolved to = resolve(target);
  if (!to.parentExists) throw FileError(err::PathNotFound);
  struct stat old;
  if (statOf(to, old)) throw FileError(err::PathFileAccess);
  // Sharing the data costs nothing and keeps the original's bytes as long as its old name is
  // only ever replaced whole; another file system, or one without links, gets a copy.
  linkOrCopy(from.host, to.host, false, mayShare ? ways_ : TransferWays{false, ways_.kernelCopy},
             std::nullopt, folderLater ? Durable::DataOnly : Durable::Whole);
  madeEntry(to.host);
} catch (const FileError& e) {
  throw e.naming(fullPath(target));
}

void HostFileSystem::syncFolder(const std::string& folder) try {
  const Resolved r = lookUp(folder);
  struct stat st;
  if (!statOf(r, st) || !S_ISDIR(st.st_mode)) throw FileError(err::PathNotFound);
  syncDirectory(r.host);
} catch (const FileError& e) {
  throw e.naming(fullPath(folder));
}

std::optional<long long> HostFileSystem::freeSpace(const std::string& path) {
  try {
    struct statvfs vfs;
    if (statvfs(resolve(path).host.c_str(), &vfs) != 0) return std::nullopt;
    return static_cast<long long>(vfs.f_bavail) * static_cast<long long>(vfs.f_frsize);
  } catch (const FileError&) {
    return std::nullopt;
  }
}

std::optional<FileStamp> HostFileSystem::stampOf(const struct stat& st) {
  if (!S_ISREG(st.st_mode)) return std::nullopt;
  return FileStamp{static_cast<long long>(st.st_size),
                   static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec};
}

std::optional<FileStamp> HostFileSystem::stamp(const std::string& path) try {
  const Resolved r = lookUp(path);
  struct stat st;
  if (!statOf(r, st)) return std::nullopt;
  return stampOf(st);
} catch (const FileError& e) {
  throw e.naming(fullPath(path));
}

void HostFileSystem::throughFolders(const std::vector<std::string>& paths,
                                    const std::function<bool(const Named&)>& each) {
  Named at;
  std::string folder;
  std::optional<FileDescriptor> dir;
  for (const std::string& path : paths) {
    const std::string full = fullPath(path);
    // The name is the end of full, so its text ends where full's does.
    const std::string_view parent = dos::folderPart(full), name = dos::namePart(full);
    if (!dir || parent != folder) {
      folder = parent;
      dir.reset();
      try {
        at.hostFolder = lookUp(folder).host;
        dir.emplace(open(at.hostFolder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
      } catch (const FileError&) {
        dir.emplace(-1);
      }
    }
    at.dir = dir->get();
    at.name = name;
    at.path = &path;
    const bool answered =
        at.dir >= 0 && !name.empty() && name.find('\0') == std::string_view::npos && each(at);
    if (!answered) {
      at.dir = -1;
      each(at);
    }
  }
}

std::vector<std::optional<FileStamp>> HostFileSystem::stamps(
    const std::vector<std::string>& paths) {
  std::vector<std::optional<FileStamp>> all;
  all.reserve(paths.size());
  throughFolders(paths, [&](const Named& at) {
    struct stat st;
    if (at.dir < 0)
      all.push_back(stamp(*at.path));
    else if (fstatat(at.dir, at.name.data(), &st, 0) == 0)
      all.push_back(stampOf(st));
    else
      return false;
    return true;
  });
  return all;
}

std::vector<std::optional<long long>> HostFileSystem::entryTimes(
    const std::vector<std::string>& paths) {
  const auto timeOf = [](const struct stat& st) {
    return static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
  };
  std::vector<std::optional<long long>> all;
  all.reserve(paths.size());
  throughFolders(paths, [&](const Named& at) {
    struct stat st;
    if (at.dir >= 0) {
      if (fstatat(at.dir, at.name.data(), &st, 0) != 0) return false;
      all.push_back(timeOf(st));
      return true;
    }
    // A name spelt otherwise on disk, or a folder that is not there: looked up by its path.
    try {
      const Resolved r = lookUp(*at.path);
      all.push_back(statOf(r, st) ? std::optional<long long>(timeOf(st)) : -1LL);
    } catch (const FileError&) {
      all.push_back(std::nullopt);
    }
    return true;
  });
  return all;
}

void HostFileSystem::deleteFiles(const std::vector<std::string>& paths) {
  std::string changing;  // the folder whose kept names were last checked
  throughFolders(paths, [&](const Named& at) {
    if (at.dir < 0) {
      deleteFile(*at.path);
      return true;
    }
    if (at.hostFolder != changing) {
      names_.changing(at.hostFolder);
      changing = at.hostFolder;
    }
    if (unlinkat(at.dir, at.name.data(), 0) != 0) return false;
    names_.removed(at.hostFolder, std::string(at.name));
    return true;
  });
}

std::string HostFileSystem::digest(const std::string& path) try {
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
  if (error) {
    errno = error;
    failErrno();
  }
  char text[33];
  std::snprintf(text, sizeof text, "%016llx%016llx", static_cast<unsigned long long>(hash.high64),
                static_cast<unsigned long long>(hash.low64));
  return text;
} catch (const FileError& e) {
  throw e.naming(fullPath(path));
}

}  // namespace orvex

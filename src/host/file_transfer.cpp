// Links, kernel copies and plain copies of host files, each new name appearing whole.
#include "host/file_transfer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <fstream>
#include <vector>

#include "host/host_io.h"
#include "platform/errors.h"

namespace orvex {
namespace {

std::string hostParent(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == 0 || slash == std::string::npos ? "/" : path.substr(0, slash);
}

// A hidden name beside target that no other run of the program picks at the same time.
std::string hiddenNameBeside(const std::string& target) {
  static std::atomic<unsigned> counter = 0;
  static const std::string pid = std::to_string(getpid());
  const std::string dir = hostParent(target);
  return (dir == "/" ? "" : dir) + "/.orvex-" + pid + "-" + std::to_string(counter++) + ".tmp";
}

// Where a link cannot be had: another file system, one without hard links (FAT, exFAT), the
// most links a file may have, or a permission refusal (protected hard links, a foreign owner).
bool linkRefused(int error) {
  return error == EXDEV || error == EPERM || error == EMLINK || error == ENOTSUP ||
         error == EOPNOTSUPP || error == EACCES || error == ENOSYS;
}

// Links `from` to a fresh hidden name beside target (flags as linkat's); the name, or empty
// with errno set when the link fails.
std::string linkUnderHiddenName(const std::string& from, const std::string& target, int flags) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = hiddenNameBeside(target);
    if (linkat(AT_FDCWD, from.c_str(), AT_FDCWD, name.c_str(), flags) == 0) return name;
    if (errno != EEXIST) return {};
  }
  return {};
}

// writeAtomically through a hidden file made with its name and renamed over target: the way
// of file systems without unnamed files.
void writeThroughHiddenName(const std::string& target, const std::function<void(int)>& fill,
                            Durable durable) {
  const bool sync = durable != Durable::No;
  std::string temp;
  int fd = -1;
  for (int attempt = 0; fd < 0; ++attempt) {
    temp = hiddenNameBeside(target);
    // Mode 0666 under the umask: a new file is an ordinary one, whatever its source was.
    fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && (errno != EEXIST || attempt >= 100)) failErrno();
  }
  FileDescriptor out(fd);
  try {
    fill(out.get());
    if (sync && fsync(out.get()) != 0) failErrno();
    out.close();
    if (rename(temp.c_str(), target.c_str()) != 0) failErrno();
  } catch (...) {
    unlink(temp.c_str());
    throw;
  }
  if (durable == Durable::Whole) syncDirectory(hostParent(target));
}

}  // namespace

void syncDirectory(const std::string& dir) {
  FileDescriptor fd(open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() >= 0) fsync(fd.get());  // Best effort: the data itself is already safe.
}

TransferWay copyContents(int in, int out, bool kernelCopy) {
  bool kernel = kernelCopy;
  while (kernel) {
    ssize_t n = copy_file_range(in, nullptr, out, nullptr, size_t(1) << 30, 0);
    if (n > 0) continue;
    if (n == 0) break;  // End of file, or a file system that copies nothing: the loop below sees.
    if (errno == EINTR) continue;
    // Recent kernels refuse it across file systems (EXDEV); some file systems or older
    // kernels do not have it at all.
    if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP &&
        errno != EBADF && errno != EPERM)
      failErrno();
    kernel = false;
  }
  // Both offsets have moved past what was copied, so this goes on from there.
  std::vector<char> buffer(size_t(1) << 17);
  bool readSome = false;
  for (;;) {
    ssize_t n = read(in, buffer.data(), buffer.size());
    if (n == 0) return kernel && !readSome ? TransferWay::KernelCopy : TransferWay::ReadWrite;
    if (n < 0) {
      if (errno == EINTR) continue;
      failErrno();
    }
    readSome = true;
    writeAll(out, buffer.data(), size_t(n));
  }
}

void writeAtomically(const std::string& target, const std::function<void(int)>& fill,
                     Durable durable) {
  const bool sync = durable != Durable::No;
  // An unnamed file in the target's folder, named once it is whole: a new target costs one
  // entry in the folder instead of a hidden one renamed, and a failure leaves nothing behind.
  // It is named through /proc, which needs no privilege.
  static const bool procThere = access("/proc/self/fd", X_OK) == 0;
  const std::string dir = hostParent(target);
  const int fd = procThere ? open(dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666) : -1;
  // Any refusal (a file system without unnamed files, or a real failure) takes the named way,
  // which reports a real failure itself.
  if (fd < 0) return writeThroughHiddenName(target, fill, durable);
  FileDescriptor out(fd);
  fill(out.get());
  if (sync && fsync(out.get()) != 0) failErrno();
  const std::string self = "/proc/self/fd/" + std::to_string(out.get());
  if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target.c_str(), AT_SYMLINK_FOLLOW) != 0) {
    if (errno != EEXIST) failErrno();
    // An existing target is replaced whole: the new file is named beside it, then renamed.
    const std::string temp = linkUnderHiddenName(self, target, AT_SYMLINK_FOLLOW);
    if (temp.empty()) failErrno();
    if (rename(temp.c_str(), target.c_str()) != 0) {
      const int error = errno;
      unlink(temp.c_str());
      errno = error;
      failErrno();
    }
  }
  out.close();
  if (durable == Durable::Whole) syncDirectory(dir);
}

bool linkInPlace(const std::string& source, const std::string& target, bool replacing,
                 std::optional<mode_t> mode) {
  const std::string name = replacing ? linkUnderHiddenName(source, target, 0) : target;
  if ((replacing && name.empty()) || (!replacing && link(source.c_str(), name.c_str()) != 0)) {
    if (linkRefused(errno)) return false;
    failErrno(err::FileNotFound);
  }
  try {
    if (mode && chmod(name.c_str(), *mode) != 0) {
      if (!linkRefused(errno)) failErrno(err::FileNotFound);
      unlink(name.c_str());
      return false;
    }
    if (replacing) {
      // As a replacing copy is: the new data is on the disk before the old file goes.
      FileDescriptor data(open(name.c_str(), O_RDONLY | O_CLOEXEC));
      if (data.get() < 0 || fsync(data.get()) != 0) failErrno(err::FileNotFound);
      data.close();
      if (rename(name.c_str(), target.c_str()) != 0) failErrno(err::FileNotFound);
      syncDirectory(hostParent(target));
    }
  } catch (...) {
    unlink(name.c_str());
    throw;
  }
  return true;
}

TransferWay linkOrCopy(const std::string& source, const std::string& target, bool replacing,
                       const TransferWays& ways, std::optional<mode_t> linkMode, Durable durable) {
  if (ways.link && linkInPlace(source, target, replacing, linkMode)) {
    // A replacing link has synced its folder already.
    if (durable == Durable::Whole && !replacing) syncDirectory(hostParent(target));
    return TransferWay::Link;
  }
  FileDescriptor in(open(source.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.get() < 0) failErrno(err::FileNotFound);
  struct stat from;
  if (fstat(in.get(), &from) != 0) failErrno(err::FileNotFound);
  TransferWay way = TransferWay::ReadWrite;
  // Otherwise only a replaced file is synced: its old contents are what a crash must not take.
  writeAtomically(
      target,
      [&](int out) {
        way = copyContents(in.get(), out, ways.kernelCopy);
        // A copy keeps its file's date, as a DOS copy does and as a link shares it.
        const struct timespec times[2] = {{0, UTIME_OMIT}, from.st_mtim};
        futimens(out, times);
      },
      replacing ? Durable::Whole : durable);
  return way;
}

mode_t newFileMode() {
  // Read from the kernel rather than set and set back, which would race with any other thread
  // making a file in between.
  static const mode_t mode = [] {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
      if (key == "Umask:") {
        std::string octal;
        status >> octal;
        return mode_t(0666 & ~std::stoul(octal, nullptr, 8));
      }
      status.ignore(4096, '\n');
    }
    const mode_t mask = umask(022);
    umask(mask);
    return mode_t(0666 & ~mask);
  }();
  return mode;
}

}  // namespace orvex

// The root directory's lock: flock on a file that stays.
#include "host/root_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace orvex {

RootLock::~RootLock() {
  if (fd_ >= 0) ::close(fd_);
}

bool RootLock::take(const std::string& hostPath) {
  if (fd_ >= 0) return true;
  // Close-on-exec: the zip program Orvex starts must not inherit the lock and keep the root
  // locked after Orvex has ended. No link is followed, and a pipe put there does not block.
  const int flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
  int fd = ::open(hostPath.c_str(), O_RDWR | O_CREAT | flags, 0666);
  if (fd < 0) fd = ::open(hostPath.c_str(), O_RDONLY | flags);  // a root the user cannot write
  if (fd < 0) return true;
  while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    const bool held = errno == EWOULDBLOCK;
    ::close(fd);
    return !held;
  }
  fd_ = fd;
  return true;
}

}  // namespace orvex

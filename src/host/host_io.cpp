// errno values as DOS error numbers, and the self-closing file descriptor.
#include "host/host_io.h"

#include <unistd.h>

#include <cerrno>

#include "platform/errors.h"

namespace orvex {

int errorNumber(int error, int missing) {
  switch (error) {
    case ENOENT:
    case ENOTDIR: return missing;
    case EACCES:
    case EPERM:
    case EROFS:
    case EBUSY:
    case EEXIST:
    case ENOTEMPTY:
    case EISDIR:
    case ETXTBSY: return err::PathFileAccess;
    case ENOSPC:
    case EDQUOT: return err::DiskFull;
    case ENAMETOOLONG:
    case EINVAL: return err::BadFileName;
    default: return err::DeviceIo;
  }
}

void failErrno(int missing) {
  throw FileError(errorNumber(errno, missing));
}

void writeAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t n = write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      failErrno();
    }
    data += n;
    size -= size_t(n);
  }
}

FileDescriptor::~FileDescriptor() {
  if (fd_ >= 0) ::close(fd_);
}

void FileDescriptor::close() {
  int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) failErrno();
}

}  // namespace orvex

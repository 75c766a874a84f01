// What the host adapters share on POSIX calls: errno values as DOS error numbers, and a file
// descriptor that closes itself.
#pragma once

#include <cstddef>

#include "platform/errors.h"

namespace orvex {

// The error number of an errno value; `missing` is what a path that is not there means here.
int errorNumber(int error, int missing);

// Throws FileError for the current errno.
[[noreturn]] void failErrno(int missing = err::PathNotFound);

// Writes all of data, or throws.
void writeAll(int fd, const char* data, size_t size);

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor();
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  // Closes now and reports a failure: some file systems report a write error only here.
  void close();

 private:
  int fd_;
};

}  // namespace orvex

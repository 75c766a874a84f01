// Keeps a second copy of the program out of a root directory: an advisory lock on a file there,
// which the kernel lets go when the process ends, however it ends.
#pragma once

#include <string>

namespace orvex {

class RootLock {
 public:
  RootLock() = default;
  ~RootLock();
  RootLock(const RootLock&) = delete;
  RootLock& operator=(const RootLock&) = delete;

  // Locks the file at hostPath, making it when it is missing; false when another process holds
  // it. A file that cannot be opened, or a file system without locks, locks nothing and lets the
  // program run (true). The file is never removed: removing a lock file races with the next
  // program that opens it.
  bool take(const std::string& hostPath);

 private:
  int fd_ = -1;
};

}  // namespace orvex

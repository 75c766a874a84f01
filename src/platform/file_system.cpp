// What every file system does the same way, through its own operations.
#include "platform/file_system.h"

#include "platform/errors.h"

namespace orvex {

void FileSystem::deleteFile(const std::string& path) {
  // Most files go at the first try; a protected one is unprotected first.
  try {
    kill(path);
    return;
  } catch (const FileError&) {
    if (!isFile(path)) return;
  }
  setAttrNormal(path);
  kill(path);
}

}  // namespace orvex

// What every file system does the same way, through its own operations.
#include "platform/file_system.h"

#include "platform/dos_path.h"
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

std::vector<std::optional<FileSystem::FolderListing>> FileSystem::listFolders(
    const std::vector<std::string>& dirs, const std::string& patterns) {
  std::vector<std::optional<FolderListing>> all;
  all.reserve(dirs.size());
  for (const std::string& dir : dirs) {
    try {
      FolderListing listing{listFiles(dir, patterns), {}};
      for (const std::string& sub : listDirs(dir)) listing.folders.push_back(dos::fileName(sub));
      all.push_back(std::move(listing));
    } catch (const FileError&) {
      all.push_back(std::nullopt);
    }
  }
  return all;
}

}  // namespace orvex

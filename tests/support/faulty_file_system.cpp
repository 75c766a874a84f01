// The file system that fails one chosen operation.
#include "support/faulty_file_system.h"

#include <stdexcept>

#include "platform/dos_path.h"
#include "platform/errors.h"

namespace orvex::test {

void FaultyFileSystem::failAt(long k, int number) {
  failName_.clear();
  count_ = 0;
  failAt_ = k;
  number_ = number;
  fired_ = false;
  failed_.clear();
}

void FaultyFileSystem::failFirst(const std::string& operation, int number) {
  failAt(0, number);
  failName_ = operation;
}

bool FaultyFileSystem::due(const char* operation, const std::string& path) {
  if (beforeOperation) beforeOperation(operation, path);
  ++count_;
  if (!failName_.empty() && failName_ == operation) {
    failName_.clear();
    failAt_ = count_;
  }
  if (failAt_ == 0 || count_ != failAt_) return false;
  fired_ = true;
  failed_ = std::string(operation) + " " + path;
  return true;
}

FaultyFileSystem::Counted::Counted(FaultyFileSystem& fs, const char* operation,
                                   const std::string& path)
    : failing(fs.due(operation, path)), fs_(fs) {}

FaultyFileSystem::Counted::~Counted() {
  if (fs_.afterOperation) fs_.afterOperation(fs_.count_);
}

void FaultyFileSystem::fail() {
  if (number_ == kUnexpected) throw std::runtime_error("injected failure of " + failed_);
  throw FileError(number_);
}

bool FaultyFileSystem::onTheFullDisk(const std::string& path) {
  return room_ >= 0 &&
         dos::lower(inner_.fullPath(path)).rfind(dos::lower(inner_.fullPath(disk_)), 0) == 0;
}

void FaultyFileSystem::take(long long bytes, const std::string& target) {
  if (!onTheFullDisk(target)) return;
  if (bytes > room_) throw FileError(err::DiskFull).naming(inner_.fullPath(target));
  room_ -= bytes;
}

void FaultyFileSystem::takeSizeOf(const std::string& source, const std::string& target) {
  if (!onTheFullDisk(target)) return;
  const std::optional<FileStamp> s = inner_.stamp(source);
  take(s ? s->size : 0, target);
}

void FaultyFileSystem::chDir(const std::string& path) {
  const Counted op(*this, "chDir", path);
  if (op.failing) fail();
  inner_.chDir(path);
}

void FaultyFileSystem::chDrive(const std::string& drive) {
  const Counted op(*this, "chDrive", drive);
  if (op.failing) fail();
  inner_.chDrive(drive);
}

bool FaultyFileSystem::isDirectory(const std::string& path) {
  const Counted op(*this, "isDirectory", path);
  if (op.failing) {
    if (number_ == kUnexpected) fail();
    return false;
  }
  return inner_.isDirectory(path);
}

bool FaultyFileSystem::isFile(const std::string& path) {
  const Counted op(*this, "isFile", path);
  if (op.failing) {
    if (number_ == kUnexpected) fail();
    return false;
  }
  return inner_.isFile(path);
}

void FaultyFileSystem::mkDir(const std::string& path) {
  const Counted op(*this, "mkDir", path);
  if (op.failing) fail();
  inner_.mkDir(path);
}

void FaultyFileSystem::rmDir(const std::string& path) {
  const Counted op(*this, "rmDir", path);
  if (op.failing) fail();
  inner_.rmDir(path);
}

void FaultyFileSystem::copyFile(const std::string& source, const std::string& target) {
  // The host copy fills a new file and renames it into place, so a failure leaves no cut file.
  const Counted op(*this, "copyFile", source + " -> " + target);
  if (op.failing) fail();
  takeSizeOf(source, target);
  inner_.copyFile(source, target);
}

void FaultyFileSystem::transferFile(const std::string& source, const std::string& target) {
  // The host's transfer, by a link or a copy, also gives the target whole or not at all.
  const Counted op(*this, "transferFile", source + " -> " + target);
  if (op.failing) fail();
  takeSizeOf(source, target);
  inner_.transferFile(source, target);
}

bool FaultyFileSystem::transferNewFile(const std::string& source, const std::string& target) {
  const Counted op(*this, "transferNewFile", source + " -> " + target);
  if (op.failing) fail();
  if (onTheFullDisk(target)) {
    if (inner_.isFile(target)) return false;
    takeSizeOf(source, target);
  }
  return inner_.transferNewFile(source, target);
}

void FaultyFileSystem::preserveFile(const std::string& source, const std::string& target,
                                    bool mayShare, bool folderLater) {
  const Counted op(*this, "preserveFile", source + " -> " + target);
  if (op.failing) fail();
  inner_.preserveFile(source, target, mayShare, folderLater);
}

void FaultyFileSystem::syncFolder(const std::string& folder) {
  const Counted op(*this, "syncFolder", folder);
  if (op.failing) fail();
  inner_.syncFolder(folder);
}

std::optional<FileStamp> FaultyFileSystem::stamp(const std::string& path) {
  const Counted op(*this, "stamp", path);
  if (op.failing) fail();
  return inner_.stamp(path);
}

void FaultyFileSystem::deleteFile(const std::string& path) {
  const Counted op(*this, "deleteFile", path);
  if (op.failing) fail();
  inner_.deleteFile(path);
}

void FaultyFileSystem::deleteFiles(const std::vector<std::string>& paths) {
  // Each counts as one deletion. One watched after each operation sees each file go.
  if (afterOperation) return FileSystem::deleteFiles(paths);
  for (size_t k = 0; k < paths.size(); ++k) {
    if (!due("deleteFile", paths[k])) continue;
    inner_.deleteFiles({paths.begin(), paths.begin() + long(k)});
    fail();
  }
  inner_.deleteFiles(paths);
}

std::vector<std::optional<FileStamp>> FaultyFileSystem::stamps(
    const std::vector<std::string>& paths) {
  // Each counts as one stamp, all before any is taken.
  for (const std::string& path : paths) {
    const Counted op(*this, "stamp", path);
    if (op.failing) fail();
  }
  return inner_.stamps(paths);
}

std::vector<std::optional<long long>> FaultyFileSystem::entryTimes(
    const std::vector<std::string>& paths) {
  const Counted op(*this, "entryTimes", paths.empty() ? std::string() : paths.front());
  if (op.failing) fail();
  return inner_.entryTimes(paths);
}

std::string FaultyFileSystem::digest(const std::string& path) {
  const Counted op(*this, "digest", path);
  if (op.failing) fail();
  return inner_.digest(path);
}

void FaultyFileSystem::moveFile(const std::string& source, const std::string& target) {
  const Counted op(*this, "moveFile", source + " -> " + target);
  if (op.failing) fail();
  inner_.moveFile(source, target);
}

void FaultyFileSystem::kill(const std::string& pathOrPattern) {
  const Counted op(*this, "kill", pathOrPattern);
  if (op.failing) fail();
  inner_.kill(pathOrPattern);
}

void FaultyFileSystem::setAttrNormal(const std::string& path) {
  const Counted op(*this, "setAttrNormal", path);
  if (op.failing) fail();
  inner_.setAttrNormal(path);
}

void FaultyFileSystem::setReadOnly(const std::string& path, bool readOnly) {
  const Counted op(*this, "setReadOnly", path);
  if (op.failing) fail();
  inner_.setReadOnly(path, readOnly);
}

bool FaultyFileSystem::isReadOnly(const std::string& path) {
  const Counted op(*this, "isReadOnly", path);
  if (op.failing) fail();
  return inner_.isReadOnly(path);
}

std::vector<std::string> FaultyFileSystem::listFiles(const std::string& dir,
                                                     const std::string& patterns) {
  const Counted op(*this, "listFiles", dir + " " + patterns);
  if (op.failing) fail();
  return inner_.listFiles(dir, patterns);
}

std::vector<std::string> FaultyFileSystem::listDirs(const std::string& dir) {
  const Counted op(*this, "listDirs", dir);
  if (op.failing) fail();
  return inner_.listDirs(dir);
}

std::vector<std::string> FaultyFileSystem::listFilesWithoutLinks(const std::string& dir,
                                                                 const std::string& patterns,
                                                                 std::vector<std::string>& links) {
  const Counted op(*this, "listFilesWithoutLinks", dir);
  if (op.failing) fail();
  return inner_.listFilesWithoutLinks(dir, patterns, links);
}

bool FaultyFileSystem::isLink(const std::string& path) {
  const Counted op(*this, "isLink", path);
  if (op.failing) {
    if (number_ == kUnexpected) fail();
    return false;
  }
  return inner_.isLink(path);
}

void FaultyFileSystem::removeLink(const std::string& path) {
  const Counted op(*this, "removeLink", path);
  if (op.failing) fail();
  inner_.removeLink(path);
}

void FaultyFileSystem::checkReadable(const std::string& path) {
  const Counted op(*this, "checkReadable", path);
  if (op.failing) fail();
  inner_.checkReadable(path);
}

std::string FaultyFileSystem::readFile(const std::string& path) {
  const Counted op(*this, "readFile", path);
  if (op.failing) fail();
  return inner_.readFile(path);
}

void FaultyFileSystem::writeFile(const std::string& path, const std::string& data) {
  const Counted op(*this, "writeFile", path);
  if (op.failing) {
    if (number_ == err::DiskFull) inner_.writeFile(path, data.substr(0, data.size() / 2));
    fail();
  }
  take((long long)data.size(), path);
  inner_.writeFile(path, data);
}

void FaultyFileSystem::appendFile(const std::string& path, const std::string& data) {
  const Counted op(*this, "appendFile", path);
  if (op.failing) {
    if (number_ == err::DiskFull) inner_.appendFile(path, data.substr(0, data.size() / 2));
    fail();
  }
  take((long long)data.size(), path);
  inner_.appendFile(path, data);
}

void FaultyFileSystem::replaceFile(const std::string& path, const std::string& data) {
  // Written beside the old file and renamed over it: a failure leaves the old file whole.
  const Counted op(*this, "replaceFile", path);
  if (op.failing) fail();
  take((long long)data.size(), path);
  inner_.replaceFile(path, data);
}

}  // namespace orvex::test

// The file system that fails one chosen operation.
#include "support/faulty_file_system.h"

#include <stdexcept>

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

void FaultyFileSystem::fail() {
  if (number_ == kUnexpected) throw std::runtime_error("injected failure of " + failed_);
  throw FileError(number_);
}

void FaultyFileSystem::chDir(const std::string& path) {
  if (due("chDir", path)) fail();
  inner_.chDir(path);
}

void FaultyFileSystem::chDrive(const std::string& drive) {
  if (due("chDrive", drive)) fail();
  inner_.chDrive(drive);
}

bool FaultyFileSystem::isDirectory(const std::string& path) {
  if (due("isDirectory", path)) {
    if (number_ == kUnexpected) fail();
    return false;
  }
  return inner_.isDirectory(path);
}

bool FaultyFileSystem::isFile(const std::string& path) {
  if (due("isFile", path)) {
    if (number_ == kUnexpected) fail();
    return false;
  }
  return inner_.isFile(path);
}

void FaultyFileSystem::mkDir(const std::string& path) {
  if (due("mkDir", path)) fail();
  inner_.mkDir(path);
}

void FaultyFileSystem::rmDir(const std::string& path) {
  if (due("rmDir", path)) fail();
  inner_.rmDir(path);
}

void FaultyFileSystem::copyFile(const std::string& source, const std::string& target) {
  // The host copy fills a new file and renames it into place, so a failure leaves no cut file.
  if (due("copyFile", source + " -> " + target)) fail();
  inner_.copyFile(source, target);
}

void FaultyFileSystem::transferFile(const std::string& source, const std::string& target) {
  // The host's transfer, by a link or a copy, also gives the target whole or not at all.
  if (due("transferFile", source + " -> " + target)) fail();
  inner_.transferFile(source, target);
}

void FaultyFileSystem::preserveFile(const std::string& source, const std::string& target,
                                    bool mayShare) {
  if (due("preserveFile", source + " -> " + target)) fail();
  inner_.preserveFile(source, target, mayShare);
}

std::optional<FileStamp> FaultyFileSystem::stamp(const std::string& path) {
  if (due("stamp", path)) fail();
  return inner_.stamp(path);
}

std::string FaultyFileSystem::digest(const std::string& path) {
  if (due("digest", path)) fail();
  return inner_.digest(path);
}

void FaultyFileSystem::moveFile(const std::string& source, const std::string& target) {
  if (due("moveFile", source + " -> " + target)) fail();
  inner_.moveFile(source, target);
}

void FaultyFileSystem::kill(const std::string& pathOrPattern) {
  if (due("kill", pathOrPattern)) fail();
  inner_.kill(pathOrPattern);
}

void FaultyFileSystem::setAttrNormal(const std::string& path) {
  if (due("setAttrNormal", path)) fail();
  inner_.setAttrNormal(path);
}

void FaultyFileSystem::setReadOnly(const std::string& path, bool readOnly) {
  if (due("setReadOnly", path)) fail();
  inner_.setReadOnly(path, readOnly);
}

bool FaultyFileSystem::isReadOnly(const std::string& path) {
  if (due("isReadOnly", path)) fail();
  return inner_.isReadOnly(path);
}

std::vector<std::string> FaultyFileSystem::listFiles(const std::string& dir,
                                                     const std::string& patterns) {
  if (due("listFiles", dir + " " + patterns)) fail();
  return inner_.listFiles(dir, patterns);
}

std::vector<std::string> FaultyFileSystem::listDirs(const std::string& dir) {
  if (due("listDirs", dir)) fail();
  return inner_.listDirs(dir);
}

void FaultyFileSystem::checkReadable(const std::string& path) {
  if (due("checkReadable", path)) fail();
  inner_.checkReadable(path);
}

std::string FaultyFileSystem::readFile(const std::string& path) {
  if (due("readFile", path)) fail();
  return inner_.readFile(path);
}

void FaultyFileSystem::writeFile(const std::string& path, const std::string& data) {
  if (due("writeFile", path)) {
    if (number_ == err::DiskFull) inner_.writeFile(path, data.substr(0, data.size() / 2));
    fail();
  }
  inner_.writeFile(path, data);
}

void FaultyFileSystem::appendFile(const std::string& path, const std::string& data) {
  if (due("appendFile", path)) {
    if (number_ == err::DiskFull) inner_.appendFile(path, data.substr(0, data.size() / 2));
    fail();
  }
  inner_.appendFile(path, data);
}

void FaultyFileSystem::replaceFile(const std::string& path, const std::string& data) {
  // Written beside the old file and renamed over it: a failure leaves the old file whole.
  if (due("replaceFile", path)) fail();
  inner_.replaceFile(path, data);
}

}  // namespace orvex::test

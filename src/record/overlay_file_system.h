// A file system that lets every read through to the one below and keeps every write to itself:
// later reads see the writes, a copied file is kept as a reference to its source (never as its
// bytes, so a preview of a 2 GB scenery costs no memory), and nothing on disk changes. A
// preview runs the real install on it and then reads what the install did from its writes.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace orvex {

class OverlayFileSystem : public FileSystem {
 public:
  explicit OverlayFileSystem(FileSystem& below);

  // One write the overlay took instead of the disk.
  struct Write {
    enum class Kind { MakeFolder, RemoveFolder, Transfer, Delete, Attributes, Append, Replace };
    Kind kind;
    std::string path;    // the full path written, as the procedure spelt it
    std::string source;  // Transfer: the file copied or moved; Append: the bytes appended
  };
  const std::vector<Write>& writes() const { return writes_; }

  std::string curDir() override;
  void chDir(const std::string& path) override;
  void chDrive(const std::string& drive) override;
  std::string fullPath(const std::string& path) override;
  std::vector<std::string> drives() override { return below_.drives(); }

  bool isDirectory(const std::string& path) override;
  bool isFile(const std::string& path) override;

  void mkDir(const std::string& path) override;
  void rmDir(const std::string& path) override;
  void copyFile(const std::string& source, const std::string& target) override;
  void transferFile(const std::string& source, const std::string& target) override;
  void preserveFile(const std::string& source, const std::string& target, bool mayShare,
                    bool folderLater) override;
  void syncFolder(const std::string&) override {}
  void moveFile(const std::string& source, const std::string& target) override;
  void kill(const std::string& pathOrPattern) override;
  void setAttrNormal(const std::string& path) override;
  void setReadOnly(const std::string& path, bool readOnly) override;
  bool isReadOnly(const std::string& path) override;

  std::vector<std::string> listFiles(const std::string& dir, const std::string& patterns) override;
  std::vector<std::string> listDirs(const std::string& dir) override;
  std::vector<std::string> listFilesWithoutLinks(const std::string& dir,
                                                 const std::string& patterns,
                                                 std::vector<std::string>& links) override;
  bool isLink(const std::string& path) override;
  void removeLink(const std::string& path) override;
  std::optional<FileStamp> stamp(const std::string& path) override;
  std::string digest(const std::string& path) override;
  std::optional<long long> freeSpace(const std::string& path) override {
    return below_.freeSpace(path);
  }

  void checkReadable(const std::string& path) override;
  std::string readFile(const std::string& path) override;
  void writeFile(const std::string& path, const std::string& data) override;
  void appendFile(const std::string& path, const std::string& data) override;
  void replaceFile(const std::string& path, const std::string& data) override;
  void closeAll() override {}

  std::string hostPath(const std::string& path) override { return below_.hostPath(path); }
  std::string dosPath(const std::string& hostPath) override { return below_.dosPath(hostPath); }

 private:
  enum class Kind { None, File, Folder };
  struct Node {
    Kind kind = Kind::None;           // None: deleted here
    std::string spelling;             // the full path as written
    std::string source;               // a file copied from below: its path there
    std::optional<std::string> data;  // a file written here: its bytes
    std::optional<bool> readOnly;     // changed here
  };

  std::string key(const std::string& path);
  // What lies at a path as the overlay shows it.
  Kind kindOf(const std::string& path);
  const Node* nodeOf(const std::string& path);
  // The error for a file that is not there: 53 when its folder is, 76 when not.
  [[noreturn]] void failMissing(const std::string& path);
  Node& fileNode(const std::string& path);
  // The checks of a write onto target: a folder to write in, and no folder or protected file
  // in the way.
  void checkTarget(const std::string& target);
  void put(const std::string& path, Node node);
  std::vector<std::string> namesIn(const std::string& dir, bool folders);

  FileSystem& below_;
  std::map<std::string, Node> nodes_;  // lower-case full path -> what was written there
  std::vector<Write> writes_;
  char curDrive_ = 'c';
  std::map<char, std::string> curDirs_;
};

}  // namespace orvex

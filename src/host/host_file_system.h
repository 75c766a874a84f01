// The FileSystem over the host's own files: DOS paths resolved through a drive map.
#pragma once

#include <sys/stat.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "host/directory_names.h"
#include "host/drive_map.h"
#include "host/file_transfer.h"
#include "platform/file_system.h"

namespace orvex {

// Paths resolve component by component, an exact name first and then a name equal but for
// letter case, so "C:\FS98\AIRCRAFT" finds "fs98/Aircraft". DOS rules are checked here
// rather than left to the host, which would let root replace or delete a read-only file.
// A drive missing from the map fails with 68 (Device unavailable), as a drive letter
// with no disk behind it does in DOS.
// Nothing is held open between calls, and the process's current directory is never changed.
class HostFileSystem : public FileSystem {
 public:
  // The current directory starts at hostCwd shown through the map; other drives at their root.
  explicit HostFileSystem(DriveMap map);
  HostFileSystem(DriveMap map, const std::string& hostCwd);

  std::string curDir() override;
  void chDir(const std::string& path) override;
  void chDrive(const std::string& drive) override;
  std::string fullPath(const std::string& path) override;
  std::vector<std::string> drives() override;

  bool isDirectory(const std::string& path) override;
  bool isFile(const std::string& path) override;

  void mkDir(const std::string& path) override;
  void rmDir(const std::string& path) override;
  void copyFile(const std::string& source, const std::string& target) override;
  // On one host file system the target becomes a hard link of the source; elsewhere, or where
  // a link would differ from a copy, the kernel's copy or a plain one.
  void transferFile(const std::string& source, const std::string& target) override;
  bool transferNewFile(const std::string& source, const std::string& target) override;
  void preserveFile(const std::string& source, const std::string& target, bool mayShare,
                    bool folderLater) override;
  void syncFolder(const std::string& folder) override;
  void moveFile(const std::string& source, const std::string& target) override;
  void kill(const std::string& pathOrPattern) override;
  void deleteFile(const std::string& path) override;
  void deleteFiles(const std::vector<std::string>& paths) override;
  void setAttrNormal(const std::string& path) override;
  void setReadOnly(const std::string& path, bool readOnly) override;
  bool isReadOnly(const std::string& path) override;

  std::vector<std::string> listFiles(const std::string& dir, const std::string& patterns) override;
  std::vector<std::string> listDirs(const std::string& dir) override;
  // Each folder opened through its parent's descriptor, itself opened through its own parent's
  // when that was met just before; a name spelt otherwise on disk takes the way of listFiles
  // and listDirs.
  std::vector<std::optional<FolderListing>> listFolders(const std::vector<std::string>& dirs,
                                                        const std::string& patterns) override;
  std::vector<std::string> listFilesWithoutLinks(const std::string& dir,
                                                 const std::string& patterns,
                                                 std::vector<std::string>& links) override;
  bool isLink(const std::string& path) override;
  void removeLink(const std::string& path) override;

  std::optional<FileStamp> stamp(const std::string& path) override;
  std::vector<std::optional<FileStamp>> stamps(const std::vector<std::string>& paths) override;
  std::vector<std::optional<long long>> entryTimes(const std::vector<std::string>& paths) override;
  std::string digest(const std::string& path) override;
  std::optional<long long> freeSpace(const std::string& path) override;

  void checkReadable(const std::string& path) override;
  std::string readFile(const std::string& path) override;
  void writeFile(const std::string& path, const std::string& data) override;
  void appendFile(const std::string& path, const std::string& data) override;
  void replaceFile(const std::string& path, const std::string& data) override;
  // Nothing stays open between calls, so there is nothing to close.
  void closeAll() override {}
  void forgetRememberedNames() override { names_.forgetAll(); }

  std::string hostPath(const std::string& path) override;
  std::string dosPath(const std::string& hostPath) override;

  // The ways files may travel (all of them unless a test forces a fall-back), and the way the
  // last copy or transfer took.
  void setTransferWays(const TransferWays& ways) { ways_ = ways; }
  TransferWay lastTransfer() const { return lastTransfer_; }
  std::optional<FileStamp> transferredStamp() override { return transferred_; }

 private:
  // A DOS path on the host: its host path, and whether the folder holding its last
  // component exists (which tells "file not found" from "path not found").
  // What resolving saw of the path itself, so that statOf need not look again: its stat, or
  // that it is not there.
  struct Seen {
    enum Kind { Unknown, Found, Missing } kind = Unknown;
    struct stat st {};
  };
  struct Resolved {
    std::string host;
    bool parentExists;
    Seen seen{};
    Seen folder{};  // the same of the folder holding it
    // Missing by the kept names of its folder alone, without a look on disk: another program's
    // file made in the same tick of the folder's clock as our last change there goes unseen.
    bool missingByNames = false;
  };
  // aboutToMake: the path is that of a file about to be made, most likely not there yet.
  Resolved resolve(const std::string& path, bool aboutToMake = false);
  Resolved lookUp(const std::string& path, bool aboutToMake = false);
  // The host path of a DOS path spelt exactly as given, its components and its drive's root.
  std::string asSpelt(const std::string& path, std::vector<std::string>& parts, std::string& root);
  // The size and time of a regular file; nothing for anything else.
  static std::optional<FileStamp> stampOf(const struct stat& st);
  // A file of many, as throughFolders gives it: its folder's descriptor (-1 when the folder
  // cannot answer for it) and host path, and its name there, which ends where path does.
  struct Named {
    int dir = -1;
    std::string hostFolder;
    std::string_view name;
    const std::string* path = nullptr;
  };
  // Goes through paths with the files of one folder looked at through the folder, found once:
  // each look-up is then of one name instead of the whole path. When each returns false for a
  // file (a name spelt otherwise on disk, say), or its folder cannot answer, each is given it
  // again with no folder, to take the way of a single file.
  void throughFolders(const std::vector<std::string>& paths,
                      const std::function<bool(const Named&)>& each);
  // stat of a resolved path, as resolving saw it; false when it does not exist.
  bool statOf(const Resolved& r, struct stat& st);
  // The error for a path that is not there: 53 for a missing file, 76 for a missing folder.
  [[noreturn]] void failMissing(const Resolved& r);
  // An open descriptor of a regular file: 53 or 76 when missing, 75 for anything else.
  int openForReading(const std::string& path);
  // copyFile and transferFile: the same checks and errors; only a transfer may link. With
  // onlyNew, a file at the target is left alone and false returned.
  bool transfer(const std::string& source, const std::string& target, bool mayLink,
                bool onlyNew = false);
  std::string curDirOf(char drive) const;
  // The entry of a host directory equal to name but for letter case.
  // known, when given, is dir's stat taken just now.
  std::optional<std::string> findNoCase(const std::string& dir, const std::string& name,
                                        const struct stat* known = nullptr);
  // Enters an entry the program made or removed in the names kept for look-ups.
  void madeEntry(const std::string& hostPath);
  void removedEntry(const std::string& hostPath);

  DriveMap map_;
  char curDrive_ = 'c';
  // Current directory of each drive that has been changed to, as the text given.
  std::map<char, std::string> curDirs_;
  DirectoryNames names_;
  TransferWays ways_;
  TransferWay lastTransfer_ = TransferWay::KernelCopy;
  std::optional<FileStamp> transferred_;
};

}  // namespace orvex

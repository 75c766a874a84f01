// The file system as installs see it: while one runs, every change it makes outside the
// assembly area is written to its record before it is made, and every file it replaces is
// first kept in the backup store, so that the install can be undone byte for byte, even after
// a crash. Outside an install, and inside the assembly area, it only passes calls on.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/file_system.h"
#include "platform/record_store.h"

namespace orvex {

class RecordingFileSystem : public FileSystem {
 public:
  explicit RecordingFileSystem(FileSystem& inner) : inner_(inner) {}

  FileSystem& inner() { return inner_; }
  // Where records go; null records nothing. backups: the folder of the backup store.
  void setStore(RecordStore* store, const std::string& backups);
  RecordStore* store() const { return store_; }
  const std::string& backups() const { return backups_; }
  // Asked when the store fails before anything of the install is recorded, and so before
  // anything is changed: true to go on with this install unrecorded. Without it, or with
  // false, the install stops there. A store that fails later stops the install before its
  // next change, with what it did recorded as far as the store took it.
  std::function<bool(const std::string& why)> onStoreFailure;

  // An install into a simulator begins; its record is made with its first change. The
  // assembly area is not recorded.
  void beginInstall(const std::string& simulator, const std::string& kind,
                    const std::string& assembly);
  // The name the record shows (the target, once the install has worked it out).
  void setName(const std::string& name);
  // The install has ended, whether done, stopped or failed: what it did is recorded as done.
  void endInstall();
  bool installing() const { return installing_; }
  // The record of the install in hand; 0 before its first change is recorded.
  long installId() const { return record_.id; }

  std::string curDir() override { return inner_.curDir(); }
  void chDir(const std::string& path) override { inner_.chDir(path); }
  void chDrive(const std::string& drive) override { inner_.chDrive(drive); }
  std::string fullPath(const std::string& path) override { return inner_.fullPath(path); }
  std::vector<std::string> drives() override { return inner_.drives(); }
  bool isDirectory(const std::string& path) override { return inner_.isDirectory(path); }
  bool isFile(const std::string& path) override { return inner_.isFile(path); }

  void mkDir(const std::string& path) override;
  void rmDir(const std::string& path) override { inner_.rmDir(path); }
  void copyFile(const std::string& source, const std::string& target) override;
  void transferFile(const std::string& source, const std::string& target) override;
  void aboutToTransfer(const std::vector<std::pair<std::string, std::string>>& moves) override;
  void aboutToMake(const std::vector<std::string>& folders) override;
  void preserveFile(const std::string& source, const std::string& target, bool mayShare,
                    bool folderLater) override {
    inner_.preserveFile(source, target, mayShare, folderLater);
  }
  void syncFolder(const std::string& folder) override { inner_.syncFolder(folder); }
  void moveFile(const std::string& source, const std::string& target) override;
  void kill(const std::string& pathOrPattern) override;
  void deleteFile(const std::string& path) override;
  void setAttrNormal(const std::string& path) override;
  void setReadOnly(const std::string& path, bool readOnly) override;
  bool isReadOnly(const std::string& path) override { return inner_.isReadOnly(path); }

  std::vector<std::string> listFiles(const std::string& dir, const std::string& patterns) override {
    return inner_.listFiles(dir, patterns);
  }
  std::vector<std::string> listDirs(const std::string& dir) override {
    return inner_.listDirs(dir);
  }
  std::vector<std::optional<FolderListing>> listFolders(const std::vector<std::string>& dirs,
                                                        const std::string& patterns) override {
    return inner_.listFolders(dirs, patterns);
  }
  std::vector<std::string> listFilesWithoutLinks(const std::string& dir,
                                                 const std::string& patterns,
                                                 std::vector<std::string>& links) override {
    return inner_.listFilesWithoutLinks(dir, patterns, links);
  }
  bool isLink(const std::string& path) override { return inner_.isLink(path); }
  // Links are removed only from the program's own folders, which are not recorded.
  void removeLink(const std::string& path) override { inner_.removeLink(path); }
  std::optional<FileStamp> stamp(const std::string& path) override { return inner_.stamp(path); }
  std::vector<std::optional<FileStamp>> stamps(const std::vector<std::string>& paths) override {
    return inner_.stamps(paths);
  }
  std::vector<std::optional<long long>> entryTimes(const std::vector<std::string>& paths) override {
    return inner_.entryTimes(paths);
  }
  std::string digest(const std::string& path) override { return inner_.digest(path); }
  std::optional<long long> freeSpace(const std::string& path) override {
    return inner_.freeSpace(path);
  }

  void checkReadable(const std::string& path) override { inner_.checkReadable(path); }
  std::string readFile(const std::string& path) override { return inner_.readFile(path); }
  void writeFile(const std::string& path, const std::string& data) override;
  void appendFile(const std::string& path, const std::string& data) override;
  void replaceFile(const std::string& path, const std::string& data) override;
  // Recorded as an edit: undone byte for byte while the file is as the edit left it, else by
  // what the edit means.
  void editFile(const std::string& path, const std::string& data,
                const std::string& meaning) override;
  void closeAll() override { inner_.closeAll(); }
  void forgetRememberedNames() override { inner_.forgetRememberedNames(); }

  std::string hostPath(const std::string& path) override { return inner_.hostPath(path); }
  std::string dosPath(const std::string& hostPath) override { return inner_.dosPath(hostPath); }

 private:
  // A change planned in the record, and whether it has happened since.
  struct Pending {
    Change change;
    bool happened = false;  // made since the last settling
    bool backedUp = false;
    bool stamped = false;           // the record holds its size and time as the install left them
    std::optional<FileStamp> left;  // what a transfer left, when the file system told
  };
  // A path about to be written: its full path, and that in lower case.
  struct Target {
    std::string full, key;
  };

  // The target a write to this path is, when the write is to be recorded; nothing otherwise.
  std::optional<Target> recordedTarget(const std::string& path);
  // A folder that mkDir would make and the record would hold: not there yet, in a recorded place.
  std::optional<Target> newFolder(const std::string& path);
  // The pending change of a target, planned now (in the record before anything is written)
  // when it is not yet.
  Pending* planned(const Target& target, ChangeKind whenNew);
  void planAll(std::vector<Target> targets, ChangeKind whenNew);
  // Keeps the original of a file about to be replaced or changed; a failure stops the install
  // with the file untouched.
  void keepOriginal(Pending& p, bool mayShare);
  // A write recorded by what it means: planned as kind and described by describe (unless this
  // install wrote the file otherwise already), its original kept.
  Pending* plannedWithMeaning(const Target& target, ChangeKind kind,
                              const std::function<void(Change&)>& describe, bool mayShare);
  // Runs one write of a recorded path: planned first, its original kept, then marked made.
  void write(const Target& target, ChangeKind whenNew, bool mayShare,
             const std::function<void()>& change);
  // Writes the changes that happened as done, with their stamps, and forgets the others.
  void settle();
  // Runs a store call; false when the store failed and the user chose to go on unrecorded,
  // else a failure stops the install (StopFailure).
  bool storeDoes(const std::function<void()>& call);
  void storeFailed(const std::string& why);

  FileSystem& inner_;
  RecordStore* store_ = nullptr;
  RecordStore* setAside_ = nullptr;  // the store, while one install goes on unrecorded
  std::string backups_;
  bool installing_ = false;
  bool ending_ = false;  // endInstall runs
  InstallRecord record_;
  std::string assembly_;  // lower case, full path
  std::vector<Pending> pending_;
  std::unordered_map<std::string, size_t> byPath_;  // lower-case full path -> index in pending_
  bool storing_ = false;  // a call of the store runs: others inside it join it
  int numbered_ = 0;      // changes planned so far, for the backups' names
};

}  // namespace orvex

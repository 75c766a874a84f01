// The file system as the procedures see it: DOS paths ("C:\FS98\Aircraft"), names compared
// without regard to case, failures thrown as FileError with the numbers 53, 75 and 76.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orvex {

struct FileStamp {
  long long size = 0;
  long long mtime = 0;  // ns since the epoch
  bool operator==(const FileStamp&) const = default;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The current directory of the current drive, as the text it was changed to.
  virtual std::string curDir() = 0;
  // Makes path the current directory of its drive and that drive the current one (76 when missing).
  virtual void chDir(const std::string& path) = 0;
  // Makes a drive ("c" or "c:") current; its own current directory comes back.
  virtual void chDrive(const std::string& drive) = 0;
  // The absolute form of a path: drive added, "\" and relative parts resolved against the
  // current directories, doubled separators collapsed, no trailing "\" except at a root.
  // Letter case is kept as given.
  virtual std::string fullPath(const std::string& path) = 0;
  // Drives of the drive map, lower-case letters followed by a colon ("c:"), sorted.
  virtual std::vector<std::string> drives() = 0;

  virtual bool isDirectory(const std::string& path) = 0;
  virtual bool isFile(const std::string& path) = 0;

  // Makes one directory level: 75 when it (or a file of that name) exists, 76 when the parent is
  // missing.
  virtual void mkDir(const std::string& path) = 0;
  // Removes an empty directory: 75 when not empty, 76 when missing.
  virtual void rmDir(const std::string& path) = 0;
  // Copies a file to a full target path, replacing a target of that name (75 when it is read-only).
  // Always a copy of the bytes: the source may be changed in place afterwards.
  virtual void copyFile(const std::string& source, const std::string& target) = 0;
  // The copy step of a move: the target gets the source's contents exactly as copyFile gives
  // them (the same errors; a target of that name replaced, at once and whole), and the source
  // stays until the caller deletes it. The host may give the target the source's data instead
  // of copying its bytes, so the source must not be changed in place before it is deleted.
  virtual void transferFile(const std::string& source, const std::string& target) = 0;
  // transferFile to a target no file holds; false, with nothing done, when a file is there.
  virtual bool transferNewFile(const std::string& source, const std::string& target) {
    if (isFile(target)) return false;
    transferFile(source, target);
    return true;
  }
  // A copy pass is about to transfer these files (source, target), in this order; a layer that
  // records what installs do notes them all at once.
  virtual void aboutToTransfer(const std::vector<std::pair<std::string, std::string>>& moves) {
    (void)moves;
  }
  // The size and time of what the last transferFile or transferNewFile that did its work left
  // at its target, when known without looking again.
  virtual std::optional<FileStamp> transferredStamp() { return std::nullopt; }
  // These folders are about to be made, in this order, each by its own mkDir.
  virtual void aboutToMake(const std::vector<std::string>& folders) { (void)folders; }
  // Makes target a lasting copy of source, safely on disk before it returns (a new file; 75
  // when target exists). With mayShare the host may let both names share one file's data, for
  // a source that is only ever replaced whole, never changed in place. With folderLater, only
  // the new name waits: a later syncFolder makes it lasting, so that many files put into one
  // folder wait for the disk once.
  virtual void preserveFile(const std::string& source, const std::string& target, bool mayShare,
                            bool folderLater) = 0;
  // Makes every name made in a folder lasting.
  virtual void syncFolder(const std::string& folder) = 0;
  // Moves a file to a full target path, replacing a target of that name (75 when it is
  // read-only or a folder); a move within one drive is a rename, so nothing is copied.
  virtual void moveFile(const std::string& source, const std::string& target) = 0;
  // Deletes one file, or every file of a directory matching the pattern of the last component.
  // 53 when nothing matches, 75 for a read-only file.
  virtual void kill(const std::string& pathOrPattern) = 0;
  // Deletes one file whatever its read-only attribute, as an uninstall removes what an install
  // put there; nothing when it is not there.
  virtual void deleteFile(const std::string& path);
  // deleteFile of each, in their order, quicker where many lie in one folder; stops at the first
  // that fails, those before it gone.
  virtual void deleteFiles(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) deleteFile(path);
  }
  // Clears read-only, hidden, system and archive.
  virtual void setAttrNormal(const std::string& path) = 0;
  virtual void setReadOnly(const std::string& path, bool readOnly) = 0;
  virtual bool isReadOnly(const std::string& path) = 0;

  // Names of the files lying directly in dir that match the ";"-separated pattern list,
  // sorted by name; no directories and no hidden files.
  virtual std::vector<std::string> listFiles(const std::string& dir,
                                             const std::string& patterns) = 0;
  // Full paths of the sub-directories of dir, sorted by name; no hidden ones.
  virtual std::vector<std::string> listDirs(const std::string& dir) = 0;
  // What lies directly in each of many folders: the names of its files that match the pattern
  // list and of its sub-directories, as listFiles and listDirs give them; nothing for a folder
  // that is not there or cannot be read. Quicker than those where many folders share a parent,
  // when the folders of one parent come one after another.
  struct FolderListing {
    std::vector<std::string> files, folders;
  };
  virtual std::vector<std::optional<FolderListing>> listFolders(
      const std::vector<std::string>& dirs, const std::string& patterns);

  // Symbolic links. The lists above, and every operation on a path, follow them, as the
  // simulator's tree needs; in its own folders (the assembly area, an archive's staging folder,
  // the backups) the program follows none, through the three calls below.
  // listFiles without the links among dir's entries; the names of every link lying directly in
  // dir go to links, sorted, whatever they point at (a folder, a file, nothing), hidden ones too.
  virtual std::vector<std::string> listFilesWithoutLinks(const std::string& dir,
                                                         const std::string& patterns,
                                                         std::vector<std::string>& links) = 0;
  std::vector<std::string> listLinks(const std::string& dir) {
    std::vector<std::string> links;
    listFilesWithoutLinks(dir, {}, links);
    return links;
  }
  // Whether the last component of path is a symbolic link; the folders above it are followed.
  virtual bool isLink(const std::string& path) = 0;
  // Removes a symbolic link itself, never what it points at: 53 when path is no link.
  virtual void removeLink(const std::string& path) = 0;
  // Removes every symbolic link lying directly in dir.
  void removeLinks(const std::string& dir) {
    const std::string folder = dir.empty() || dir.back() == '\\' ? dir : dir + "\\";
    for (const std::string& link : listLinks(dir)) removeLink(folder + link);
  }

  // The size and modification time (ns) of a file; nothing when it is not there.
  virtual std::optional<FileStamp> stamp(const std::string& path) = 0;
  // The stamps of many files, in their order: the same as stamp of each, quicker where many
  // lie in one folder.
  virtual std::vector<std::optional<FileStamp>> stamps(const std::vector<std::string>& paths) {
    std::vector<std::optional<FileStamp>> all;
    all.reserve(paths.size());
    for (const std::string& path : paths) all.push_back(stamp(path));
    return all;
  }
  // When each file or folder was last changed (ns), -1 for one that is not there; nothing where
  // it cannot be told. A folder's time moves when a name in it comes or goes, so that what was
  // read from a folder can be kept while its time stays.
  virtual std::vector<std::optional<long long>> entryTimes(const std::vector<std::string>& paths) {
    return std::vector<std::optional<long long>>(paths.size());
  }
  // A digest of a file's bytes (hex text), to tell whether it still holds what was written.
  virtual std::string digest(const std::string& path) = 0;
  // The bytes the program may still write on the disk that holds path; nothing when unknown.
  virtual std::optional<long long> freeSpace(const std::string& path) {
    (void)path;
    return std::nullopt;
  }

  // Opens a file for reading and closes it again: 53 when it cannot be opened.
  virtual void checkReadable(const std::string& path) = 0;
  // Whole files as 8-bit text.
  virtual std::string readFile(const std::string& path) = 0;
  // Creates or truncates, then writes.
  virtual void writeFile(const std::string& path, const std::string& data) = 0;
  // Creates when missing, then appends.
  virtual void appendFile(const std::string& path, const std::string& data) = 0;
  // Writes a new file beside the old one and then puts it in its place, so that a failed
  // write never leaves a cut file behind.
  virtual void replaceFile(const std::string& path, const std::string& data) = 0;
  // replaceFile of a configuration file with an edited version of itself; meaning describes the
  // edit (describeEdits) so that it can be taken back after the file changed again.
  virtual void editFile(const std::string& path, const std::string& data,
                        const std::string& meaning) {
    (void)meaning;
    replaceFile(path, data);
  }
  // Closes every file the program holds open.
  virtual void closeAll() = 0;
  // Drops whatever is remembered of folders' contents to speed up look-ups: another program
  // may have changed any folder since the program last looked.
  virtual void forgetRememberedNames() {}

  // The host path behind a DOS path (for showing pictures and playing sounds), and back.
  virtual std::string hostPath(const std::string& path) = 0;
  virtual std::string dosPath(const std::string& hostPath) = 0;
};

}  // namespace orvex

// The host FileSystem: DOS paths resolved without regard to case, DOS rules on POSIX calls.
#include "host/host_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <optional>

#include "host/file_transfer.h"
#include "host/host_io.h"
#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/pattern.h"

namespace orvex {
namespace {

[[noreturn]] void fail(int number) {
  throw FileError(number);
}

std::string child(const std::string& dir, const std::string& name) {
  return dir == "/" ? "/" + name : dir + "/" + name;
}

std::string hostParent(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == 0 || slash == std::string::npos ? "/" : path.substr(0, slash);
}

// DOS shows no hidden files in lists; a name with "\" in it cannot be named by a DOS path.
bool listable(const std::string& name) {
  return !name.empty() && name[0] != '.' && name.find('\\') == std::string::npos;
}

bool writable(const struct stat& st) {
  return (st.st_mode & S_IWUSR) != 0;
}

bool sortsBefore(const std::string& a, const std::string& b) {
  std::string la = dos::lower(a), lb = dos::lower(b);
  return la != lb ? la < lb : a < b;
}

struct CloseDir {
  void operator()(DIR* dir) const { closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, CloseDir>;

enum class Kind { File, Directory, Link, Other };

struct Entry {
  std::string name;
  Kind kind;
};

Kind kindOf(mode_t mode) {
  return S_ISREG(mode) ? Kind::File : S_ISDIR(mode) ? Kind::Directory : Kind::Other;
}

// The entries of an open host directory ("." and ".." left out), links followed for the kind,
// or, with followLinks false, of the kind Link.
std::vector<Entry> entriesIn(DirHandle handle, bool followLinks) {
  std::vector<Entry> entries;
  errno = 0;
  while (dirent* e = readdir(handle.get())) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    Kind kind = e->d_type == DT_REG   ? Kind::File
                : e->d_type == DT_DIR ? Kind::Directory
                : e->d_type == DT_LNK ? Kind::Link
                                      : Kind::Other;
    struct stat st;
    if (kind == Kind::Link && followLinks) {
      kind =
          fstatat(dirfd(handle.get()), e->d_name, &st, 0) == 0 ? kindOf(st.st_mode) : Kind::Other;
    } else if (e->d_type == DT_UNKNOWN &&
               fstatat(dirfd(handle.get()), e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
      kind = S_ISLNK(st.st_mode) ? Kind::Link : kindOf(st.st_mode);
      if (kind == Kind::Link && followLinks)
        kind =
            fstatat(dirfd(handle.get()), e->d_name, &st, 0) == 0 ? kindOf(st.st_mode) : Kind::Other;
    }
    entries.push_back({std::move(name), kind});
    errno = 0;
  }
  if (errno != 0) failErrno();
  return entries;
}

std::vector<Entry> entriesOf(const std::string& dir, bool followLinks = true) {
  DirHandle handle(opendir(dir.c_str()));
  if (!handle) failErrno();
  return entriesIn(std::move(handle), followLinks);
}

std::string processCwd() {
  std::unique_ptr<char, decltype(&std::free)> cwd(getcwd(nullptr, 0), &std::free);
  return cwd ? std::string(cwd.get()) : std::string("/");
}

}  // namespace

HostFileSystem::HostFileSystem(DriveMap map) : HostFileSystem(std::move(map), processCwd()) {}

HostFileSystem::HostFileSystem(DriveMap map, const std::string& hostCwd) : map_(std::move(map)) {
  std::vector<char> letters = map_.letters();
  if (!letters.empty() && !map_.root('c')) curDrive_ = letters.front();
  if (std::optional<std::string> dos = map_.toDos(hostCwd)) {
    curDrive_ = dos::driveOf(*dos);
    curDirs_[curDrive_] = *dos;
  }
}

std::string HostFileSystem::curDirOf(char drive) const {
  auto it = curDirs_.find(drive);
  return it != curDirs_.end() ? it->second : dos::join(drive, {});
}

std::string HostFileSystem::curDir() {
  return curDirOf(curDrive_);
}

void HostFileSystem::chDir(const std::string& path) try {
  std::string full = fullPath(path);
  Resolved r = resolve(full);
  struct stat st;
  if (!statOf(r, st) || !S_ISDIR(st.st_mode)) fail(err::PathNotFound);
  curDrive_ = dos::driveOf(full);
  curDirs_[curDrive_] = full;
} catch (const FileError& e) {
  throw e.naming(fullPath(path));
}

void HostFileSystem::chDrive(const std::string& drive) {
  if (drive.empty()) return;  // As DOS: an empty drive name changes nothing.
  char letter = dos::lower(drive.substr(0, 1))[0];
  std::optional<std::string> root = map_.root(letter);
  struct stat st;
  if (!root || stat(root->c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) fail(err::DeviceUnavailable);
  curDrive_ = letter;
}

std::string HostFileSystem::fullPath(const std::string& path) {
  return dos::absolute(path, curDrive_, [this](char drive) { return curDirOf(drive); });
}

std::vector<std::string> HostFileSystem::drives() {
  std::vector<std::string> result;
  for (char letter : map_.letters()) result.push_back(std::string{letter, ':'});
  return result;
}

HostFileSystem::Resolved HostFileSystem::resolve(const std::string& path, bool aboutToMake) {
  Resolved r = lookUp(path, aboutToMake);
  // What is kept of the folder is trusted across the change that may follow only while its
  // time is still the one remembered.
  names_.changing(hostParent(r.host), r.folder.kind == Seen::Found ? &r.folder.st : nullptr);
  return r;
}

std::string HostFileSystem::asSpelt(const std::string& path, std::vector<std::string>& parts,
                                    std::string& root) {
  const std::string full = fullPath(path);
  std::optional<std::string> mapped = map_.root(dos::driveOf(full));
  if (!mapped) fail(err::DeviceUnavailable);
  root = *mapped;
  parts = dos::components(full);
  std::string exact = root;
  for (const std::string& part : parts) {
    if (part.find('\0') != std::string::npos) fail(err::BadFileName);
    exact = child(exact, part);
  }
  return exact;
}

HostFileSystem::Resolved HostFileSystem::lookUp(const std::string& path, bool aboutToMake) {
  std::vector<std::string> parts;
  std::string root;
  const std::string exact = asSpelt(path, parts, root);
  Resolved r{root, true};
  // Most paths are spelt as they are on disk: one look-up then, instead of one per component.
  struct stat st;
  if (parts.empty()) return {exact, true};
  const std::string parent = hostParent(exact);
  // A file about to be made in a folder whose names are kept: the folder's time tells whether
  // they still hold, and a name they lack is not there, without a look-up of its own. The
  // install of thousands of files into one folder is spared one look-up each.
  if (aboutToMake && names_.holds(parent) && stat(parent.c_str(), &st) == 0 &&
      S_ISDIR(st.st_mode)) {
    const struct stat folder = st;
    const std::optional<std::string> match = names_.find(parent, parts.back(), &folder, true);
    if (names_.holds(parent)) {
      Resolved named{match ? child(parent, *match) : exact, true};
      named.folder = {Seen::Found, folder};
      if (!match) {
        named.seen.kind = Seen::Missing;
        named.missingByNames = true;
        return named;
      }
      if (lstat(named.host.c_str(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) named.seen = {Seen::Found, st};
        return named;
      }
    }
    // The folder could not be read, or the name went since: looked up as any other.
  }
  if (lstat(exact.c_str(), &st) == 0) {
    Resolved found{exact, true};
    // What the look-up saw is what statOf would see, unless the path is a symbolic link.
    if (!S_ISLNK(st.st_mode)) found.seen = {Seen::Found, st};
    return found;
  }
  const bool missingAsSpelt = errno == ENOENT;
  if (stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    // Only the last component is missing as spelt.
    std::optional<std::string> match = findNoCase(parent, parts.back(), &st);
    Resolved last{match ? child(parent, *match) : exact, true};
    last.folder = {Seen::Found, st};
    if (!match && missingAsSpelt) last.seen.kind = Seen::Missing;
    return last;
  }
  bool found = true;  // Every component so far is on disk.
  for (size_t i = 0; i < parts.size(); ++i) {
    const std::string& part = parts[i];
    if (i + 1 == parts.size()) {
      struct stat st;
      r.parentExists = found && stat(r.host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }
    std::string name = part;
    struct stat st;
    if (found && lstat(child(r.host, part).c_str(), &st) != 0) {
      std::optional<std::string> match = findNoCase(r.host, part);
      // Not there: keep the spelling given, so that a new file is made with it.
      if (match) name = *match;
      found = match.has_value();
    }
    r.host = child(r.host, name);
  }
  return r;
}

std::optional<std::string> HostFileSystem::findNoCase(const std::string& dir,
                                                      const std::string& name,
                                                      const struct stat* known) {
  return names_.find(dir, name, known);
}

void HostFileSystem::madeEntry(const std::string& hostPath) {
  names_.added(hostParent(hostPath), hostPath.substr(hostPath.rfind('/') + 1));
}

void HostFileSystem::removedEntry(const std::string& hostPath) {
  names_.removed(hostParent(hostPath), hostPath.substr(hostPath.rfind('/') + 1));
  names_.forget(hostPath);
}

bool HostFileSystem::statOf(const Resolved& r, struct stat& st) {
  if (r.seen.kind == Seen::Found) {
    st = r.seen.st;
    return true;
  }
  if (r.seen.kind == Seen::Missing) return false;
  if (stat(r.host.c_str(), &st) == 0) return true;
  if (errno == ENOENT || errno == ENOTDIR) return false;
  failErrno();
}

void HostFileSystem::failMissing(const Resolved& r) {
  fail(r.parentExists ? err::FileNotFound : err::PathNotFound);
}

// Looks that change nothing need not check what is kept of the folder for a change to come.
bool HostFileSystem::isDirectory(const std::string& path) {
  try {
    struct stat st;
    return statOf(lookUp(path), st) && S_ISDIR(st.st_mode);
  } catch (const FileError&) {
    return false;
  }
}

bool HostFileSystem::isFile(const std::string& path) {
  try {
    struct stat st;
    return statOf(lookUp(path), st) && S_ISREG(st.st_mode);
  } catch (const FileError&) {
    return false;
  }
}

void HostFileSystem::mkDir(const std::string& path) try {
  Resolved r = resolve(path);
  struct stat st;
  if (lstat(r.host.c_str(), &st) == 0) fail(err::PathFileAccess);
  if (!r.parentExists) fail(err::PathNotFound);
  if (mkdir(r.host.c_str(), 0777) != 0) failErrno();
  madeEntry(r.host);
} catch (const FileError& e) {
  throw e.naming(fullPath(path));
}

void HostFileSystem::rmDir(const std::string& path) try {
  std::string full = fullPath(path);
  Resolved r = resolve(full);
  struct stat st;
  if (!statOf(r, st)) fail(err::PathNotFound);
  if (!S_ISDIR(st.st_mode)) fail(err::PathFileAccess);
  // A drive root is never removed (that would delete the mapped folder itself), and neither
  // is the current directory, as in DOS; it would leave curDir() naming nothing.
  if (dos::components(full).empty()) fail(err::PathFileAccess);
  struct stat current;
  if (map_.root(curDrive_) && statOf(resolve(curDir()), current) && current.st_dev == st.st_dev &&
      current.st_ino == st.st_ino)
    fail(err::PathFileAccess);
  struct stat link;
  if (lstat(r.host.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) fail(err::PathFileAccess);
  if (rmdir(r.host.c_str()) != 0) failErrno();
  removedEntry(r.host);
} catch (const FileError& e) {
  throw e.naming(fullPath(path));
}

void HostFileSystem::copyFile(const std::string& source, const std::string& target) {
  transfer(source, target, false);
}

void HostFileSystem::transferFile(const std::string& source, const std::string& target) {
  transfer(source, target, true);
}

bool HostFileSystem::transferNewFile(const std::string& source, const std::string& target) {
  return transfer(source, target, true, true);
}

bool HostFileSystem::transfer(const std::string& source, const std::string& target, bool mayLink,
                              bool onlyNew) try {
  transferred_.reset();
  Resolved from = resolve(source);
  struct stat st;
  if (!statOf(from, st)) throw FileError(err::FileNotFound).naming(fullPath(source));
  if (!S_ISREG(st.st_mode)) throw FileError(err::PathFileAccess).naming(fullPath(source));
  Resolved to = resolve(target, true);
  if (!to.parentExists) fail(err::PathNotFound);
  struct stat old;
  bool replacing = statOf(to, old);
  // A copy is a new file with the mode every new file gets. A link whose data has another
  // mode gets that one: the assembly's name shows it too, which is harmless, since the
  // assembly file is deleted right after and its mode is read by nothing in between (its
  // read-only attribute, the one mode bit the program reads, is the same either way).
  const mode_t mode = newFileMode();
  const std::optional<mode_t> linkMode =
      (st.st_mode & 07777) != mode ? std::optional<mode_t>(mode) : std::nullopt;
  // A link shares the attributes as well as the data, so it is used only where the result is
  // the same as a copy's. A read-only source is copied: its read-only attribute must stay as
  // it is (a stopped pass leaves the assembly area as it was), and clearing it before the
  // delete step must not touch the installed file. A source with other names as well is
  // copied: the installed file must not go on sharing its data with them. A target that is
  // the source already (another name of the same file) is copied, as a rename onto itself
  // would leave the hidden name behind.
  const bool mayShare = ways_.link && mayLink && writable(st) && st.st_nlink == 1;
  if (to.missingByNames) {
    // Only the kept names say the target is not there. A plain link never replaces a file, so
    // it tells for sure; where it cannot be had, the target is looked for on disk first, as
    // spelt (the names kept stay: another spelling is looked for among them, as always).
    if (mayShare && !linkMode && link(from.host.c_str(), to.host.c_str()) == 0) {
      lastTransfer_ = TransferWay::Link;
      madeEntry(to.host);
      transferred_ = stampOf(st);
      return true;
    }
    to = resolve(target);
    replacing = statOf(to, old);
  }
  if (replacing && onlyNew && S_ISREG(old.st_mode)) return false;
  if (replacing && (!S_ISREG(old.st_mode) || !writable(old))) fail(err::PathFileAccess);

  TransferWays ways = ways_;
  const bool sameFile = replacing && old.st_dev == st.st_dev && old.st_ino == st.st_ino;
  ways.link = mayShare && !sameFile;
  lastTransfer_ = linkOrCopy(from.host, to.host, replacing, ways, linkMode);
  madeEntry(to.host);
  // A link or a copy keeps the source's size and time.
  transferred_ = stampOf(st);
  return true;
} catch (const FileError& e) {
  throw e.naming(fullPath(target));
}

void HostFileSystem::moveFile(const std::string& source, const std::string& target) try {
  Resolved from = resolve(source);
  struct stat st;
  try {
    if (!statOf(from, st)) failMissing(from);
    if (!S_ISREG(st.st_mode)) fail(err::PathFileAccess);
  } catch (const FileError& e) {
    throw e.naming(fullPath(source));
  }
  Resolved to = resolve(target);
  if (!to.parentExists) fail(err::PathNotFound);
  struct stat old;
  if (statOf(to, old)) {
    if (!S_ISREG(old.st_mode) || !writable(old)) fail(err::PathFileAccess);
    // Moving a file onto itself (the same file by another spelling) leaves it as it is.
    if (old.st_dev == st.st_dev && old.st_ino == st.st_ino) return;
  }
  if (rename(from.host.c_str(), to.host.c_str()) == 0) {
    removedEntry(from.host);
    madeEntry(to.host);
    return;
  }
  if (errno != EXDEV) failErrno(err::FileNotFound);
  // Another host file system behind the drive map: copy, then delete the source.
  linkOrCopy(from.host, to.host, true, {false, ways_.kernelCopy});
  madeEntry(to.host);
  if (unlink(from.host.c_str()) != 0) failErrno(err::FileNotFound);
  removedEntry(from.host);
} catch (const FileError& e) {
  throw e.naming(fullPath(target));
}

void HostFileSystem::kill(const std::string& pathOrPattern) try {
  std::string full = fullPath(pathOrPattern);
  std::string pattern = dos::fileName(full);
  struct stat st;
  if (!dos::hasWildcards(pattern)) {
    Resolved r = resolve(full);
    if (!statOf(r, st)) failMissing(r);
    if (S_ISDIR(st.st_mode) || !writable(st)) fail(err::PathFileAccess);
    if (unlink(r.host.c_str()) != 0) failErrno(err::FileNotFound);
    removedEntry(r.host);
    return;
  }
  Resolved dir = resolve(dos::parentOf(full));
  if (!statOf(dir, st) || !S_ISDIR(st.st_mode)) fail(err::PathNotFound);
  bool matched = false;
  int firstError = 0;
  // Read-only and failing files are passed over so the others still go; the first failure
  // is reported at the end.
  for (const Entry& e : entriesOf(dir.host)) {
    if (e.kind != Kind::File || !listable(e.name) || !matchesPatternList(e.name, pattern)) continue;
    matched = true;
    std::string host = child(dir.host, e.name);
    int error = 0;
    if (stat(host.c_str(), &st) == 0 && !writable(st))
      error = err::PathFileAccess;
    else if (unlink(host.c_str()) != 0)
      error = errorNumber(errno, err::FileNotFound);
    else
      removedEntry(host);
    if (!firstError) firstError = error;
  }
  if (!matched) fail(err::FileNotFound);
  if (firstError) fail(firstError);
} catch (const FileError& e) {
  throw e.naming(fullPath(pathOrPattern));
}

void HostFileSystem::setAttrNormal(const std::string& path) {
  setReadOnly(path, false);
}

void HostFileSystem::deleteFile(const std::string& path) try {
  std::vector<std::string> parts;
  std::string root;
  const std::string exact = asSpelt(path, parts, root);
  // Spelt as on disk, as the paths an install recorded are, the file goes at once, protected
  // or not. Anything else (another spelling, a folder, a failure) takes the way of every
  // file system, which says why.
  if (!parts.empty()) {
    names_.changing(hostParent(exact));
    if (unlink(exact.c_str()) == 0) {
      removedEntry(exact);
      return;
    }
  }
  FileSystem::deleteFile(path);
} catch (const FileError& e) {
  throw e.naming(fullPath(path));
}

void HostFileSystem::setReadOnly(const std::string& path, bool readOnly) try {
  Resolved r = resolve(path);
  struct stat st;
  if (!statOf(r, st)) failMissing(r);
  // Read-only as Wine shows it: no write bit for anyone. Clearing it gives the owner back
  // the write bit, which is the one the DOS rules here look at.
  mode_t mode = st.st_mode & 07777;
  mode = readOnly ? mode & ~mode_t(0222) : mode | S_IWUSR;
  // Unchanged attributes are not written again: clearing them is asked for every file moved.
  if (mode == (st.st_mode & 07777)) return;
  if (chmod(r.host.c_str(), mode) != 0) failErrno(err::FileNotFound);
} catch (const FileError& e) {
  throw e.naming(fullPath(path));
}

bool HostFileSystem::isReadOnly(const std::string& path) try {
  Resolved r = resolve(path);
  struct stat st;
  if (!statOf(r, st)) failMissing(r);
  return !writable(st);
} catch (const FileError& e) {
  throw e.naming(fullPath(path));
}

std::vector<std::string> HostFileSystem::listFiles(const std::string& dir,
                                                   const std::string& patterns) try {
  Resolved r = resolve(dir);
  struct stat st;
  if (!statOf(r, st) || !S_ISDIR(st.st_mode)) fail(err::PathNotFound);
  std::vector<std::string> names;
  for (Entry& e : entriesOf(r.host))
    if (e.kind == Kind::File && listable(e.name) && matchesPatternList(e.name, patterns))
      names.push_back(std::move(e.name));
  std::sort(names.begin(), names.end(), sortsBefore);
  return names;
} catch (const FileError& e) {
  throw e.naming(fullPath(dir));
}

std::vector<std::string> HostFileSystem::listFilesWithoutLinks(
    const std::string& dir, const std::string& patterns, std::vector<std::string>& links) try {
  Resolved r = resolve(dir);
  struct stat st;
  if (!statOf(r, st) || !S_ISDIR(st.st_mode)) fail(err::PathNotFound);
  std::vector<std::string> names;
  links.clear();
  for (Entry& e : entriesOf(r.host, false)) {
    // A link whose name holds a backslash cannot be named by a DOS path, nor followed through one.
    if (e.kind == Kind::Link && e.name.find('\\') == std::string::npos)
      links.push_back(std::move(e.name));
    else if (e.kind == Kind::File && listable(e.name) && matchesPatternList(e.name, patterns))
      names.push_back(std::move(e.name));
  }
  std::sort(names.begin(), names.end(), sortsBefore);
  std::sort(links.begin(), links.end(), sortsBefore);
  return names;
} catch (const FileError& e) {
  throw e.naming(fullPath(dir));
}

bool HostFileSystem::isLink(const std::string& path) {
  try {
    struct stat st;
    return lstat(lookUp(path).host.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
  } catch (const FileError&) {
    return false;
  }
}

void HostFileSystem::removeLink(const std::string& path) try {
  Resolved r = resolve(path);
  struct stat st;
  if (lstat(r.host.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) failMissing(r);
  if (unlink(r.host.c_str()) != 0) failErrno(err::FileNotFound);
  removedEntry(r.host);
} catch (const FileError& e) {
  throw e.naming(fullPath(path));
}

std::vector<std::string> HostFileSystem::listDirs(const std::string& dir) try {
  std::string full = fullPath(dir);
  Resolved r = resolve(full);
  struct stat st;
  if (!statOf(r, st) || !S_ISDIR(st.st_mode)) fail(err::PathNotFound);
  std::vector<std::string> names;
  for (Entry& e : entriesOf(r.host))
    if (e.kind == Kind::Directory && listable(e.name)) names.push_back(std::move(e.name));
  std::sort(names.begin(), names.end(), sortsBefore);
  std::string prefix = full.back() == '\\' ? full : full + "\\";
  for (std::string& name : names) name = prefix + name;
  return names;
} catch (const FileError& e) {
  throw e.naming(fullPath(dir));
}

namespace {

// The last folders opened on the way to others, by DOS path: a folder is opened through its
// parent when that one is among them, so that the folders of a tree, met one after another, cost
// one look-up of a name each rather than a walk of their whole path.
class OpenedFolders {
 public:
  OpenedFolders() = default;
  OpenedFolders(const OpenedFolders&) = delete;
  OpenedFolders& operator=(const OpenedFolders&) = delete;
  ~OpenedFolders() {
    for (const Opened& o : kept_)
      if (o.fd >= 0) close(o.fd);
  }
  // The descriptor of a folder (-1 when it cannot be opened), opened through its parent's when
  // that is kept, else with lookUp's host path.
  template <class LookUp>
  int folder(const std::string& path, const LookUp& lookUp) {
    for (const Opened& o : kept_)
      if (o.path == path) return o.fd;
    int fd = -1;
    const std::string_view up = dos::folderPart(path), name = dos::namePart(path);
    if (!name.empty() && up.size() < path.size() && name.find('\0') == std::string_view::npos) {
      const int parent = folder(std::string(up), lookUp);
      if (parent >= 0)
        fd = openat(parent, std::string(name).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    }
    // Another spelling on disk, or a drive's root: the way of any path.
    if (fd < 0) fd = lookUp(path);
    if (kept_.size() == kKept) {
      if (kept_.front().fd >= 0) close(kept_.front().fd);
      kept_.erase(kept_.begin());
    }
    kept_.push_back({path, fd});
    return fd;
  }

 private:
  static constexpr size_t kKept = 16;  // deeper than the trees of scenery folders
  struct Opened {
    std::string path;
    int fd;
  };
  std::vector<Opened> kept_;
};

}  // namespace

std::vector<std::optional<FileSystem::FolderListing>> HostFileSystem::listFolders(
    const std::vector<std::string>& dirs, const std::string& patterns) {
  std::vector<std::optional<FolderListing>> all;
  all.reserve(dirs.size());
  OpenedFolders opened;
  const auto lookUpFolder = [this](const std::string& path) {
    try {
      return open(lookUp(path).host.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    } catch (const FileError&) {
      return -1;
    }
  };
  for (const std::string& dir : dirs) {
    std::optional<FolderListing> listing;
    try {
      const std::string full = fullPath(dir);
      const std::string_view up = dos::folderPart(full), name = dos::namePart(full);
      const int parent = name.empty() || up.size() >= full.size()
                             ? -1
                             : opened.folder(std::string(up), lookUpFolder);
      const int fd =
          parent < 0 || name.find('\0') != std::string_view::npos
              ? -1
              : openat(parent, std::string(name).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      if (fd >= 0) {
        DirHandle handle(fdopendir(fd));
        if (!handle) close(fd);
        if (handle) {
          FolderListing found;
          for (Entry& e : entriesIn(std::move(handle), true)) {
            if (!listable(e.name)) continue;
            if (e.kind == Kind::Directory)
              found.folders.push_back(std::move(e.name));
            else if (e.kind == Kind::File && matchesPatternList(e.name, patterns))
              found.files.push_back(std::move(e.name));
          }
          std::sort(found.files.begin(), found.files.end(), sortsBefore);
          std::sort(found.folders.begin(), found.folders.end(), sortsBefore);
          listing = std::move(found);
        }
      }
    } catch (const FileError&) {
      listing.reset();
    }
    // Spelt otherwise on disk, not there, or not readable this way: the way of any folder says.
    if (!listing) listing = std::move(FileSystem::listFolders({dir}, patterns).front());
    all.push_back(std::move(listing));
  }
  return all;
}

int HostFileSystem::openForReading(const std::string& path) try {
  Resolved r = resolve(path);
  struct stat st;
  // Checked before opening: opening a pipe or device to read could wait for ever.
  if (!statOf(r, st)) failMissing(r);
  if (!S_ISREG(st.st_mode)) fail(err::PathFileAccess);
  int fd = open(r.host.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) failErrno(err::FileNotFound);
  return fd;
} catch (const FileError& e) {
  throw e.naming(fullPath(path));
}

void HostFileSystem::checkReadable(const std::string& path) {
  FileDescriptor(openForReading(path)).close();
}

std::string HostFileSystem::readFile(const std::string& path) try {
  FileDescriptor fd(openForReading(path));
  std::string data;
  char buffer[1 << 16];
  for (;;) {
    ssize_t n = read(fd.get(), buffer, sizeof buffer);
    if (n == 0) return data;
    if (n < 0) {
      if (errno == EINTR) continue;
      failErrno();
    }
    data.append(buffer, size_t(n));
  }
} catch (const FileError& e) {
  throw e.naming(fullPath(path));
}

namespace {

void writeOrAppend(const std::string& host, const std::string& data, int flags) {
  FileDescriptor fd(open(host.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | flags, 0666));
  if (fd.get() < 0) failErrno();
  writeAll(fd.get(), data.data(), data.size());
  fd.close();
}

}  // namespace

void HostFileSystem::writeFile(const std::string& path, const std::string& data) try {
  Resolved r = resolve(path);
  struct stat st;
  if (!r.parentExists) fail(err::PathNotFound);
  if (statOf(r, st) && (!S_ISREG(st.st_mode) || !writable(st))) fail(err::PathFileAccess);
  writeOrAppend(r.host, data, O_TRUNC);
  madeEntry(r.host);
} catch (const FileError& e) {
  throw e.naming(fullPath(path));
}

void HostFileSystem::appendFile(const std::string& path, const std::string& data) try {
  Resolved r = resolve(path);
  struct stat st;
  if (!r.parentExists) fail(err::PathNotFound);
  if (statOf(r, st) && (!S_ISREG(st.st_mode) || !writable(st))) fail(err::PathFileAccess);
  writeOrAppend(r.host, data, O_APPEND);
  madeEntry(r.host);
} catch (const FileError& e) {
  throw e.naming(fullPath(path));
}

void HostFileSystem::replaceFile(const std::string& path, const std::string& data) try {
  Resolved r = resolve(path);
  struct stat st;
  if (!r.parentExists) fail(err::PathNotFound);
  bool exists = statOf(r, st);
  if (exists && (!S_ISREG(st.st_mode) || !writable(st))) fail(err::PathFileAccess);
  writeAtomically(
      r.host,
      [&](int fd) {
        writeAll(fd, data.data(), data.size());
        // The settings file keeps the permissions it had.
        if (exists && fchmod(fd, st.st_mode & 07777) != 0) failErrno();
      },
      Durable::Whole);
  madeEntry(r.host);
} catch (const FileError& e) {
  throw e.naming(fullPath(path));
}

std::string HostFileSystem::hostPath(const std::string& path) {
  return resolve(path).host;
}

std::string HostFileSystem::dosPath(const std::string& hostPath) {
  std::string absolute =
      !hostPath.empty() && hostPath[0] == '/' ? hostPath : child(resolve(curDir()).host, hostPath);
  std::optional<std::string> dos = map_.toDos(absolute);
  if (!dos) fail(err::PathNotFound);
  return *dos;
}

}  // namespace orvex

// The overlay of a preview: reads through to the disk, writes kept here, the DOS rules kept.
#include "record/overlay_file_system.h"

#include <algorithm>

#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/pattern.h"

namespace orvex {
namespace {

[[noreturn]] void fail(int number) {
  throw FileError(number);
}

bool sortsBefore(const std::string& a, const std::string& b) {
  const std::string la = dos::lower(a), lb = dos::lower(b);
  return la != lb ? la < lb : a < b;
}

}  // namespace

OverlayFileSystem::OverlayFileSystem(FileSystem& below) : below_(below) {
  const std::string here = below_.curDir();
  curDrive_ = dos::driveOf(here) ? dos::driveOf(here) : 'c';
  curDirs_[curDrive_] = here;
}

std::string OverlayFileSystem::curDir() {
  auto it = curDirs_.find(curDrive_);
  return it != curDirs_.end() ? it->second : dos::join(curDrive_, {});
}

std::string OverlayFileSystem::fullPath(const std::string& path) {
  return dos::absolute(path, curDrive_, [this](char drive) {
    auto it = curDirs_.find(drive);
    return it != curDirs_.end() ? it->second : dos::join(drive, {});
  });
}

void OverlayFileSystem::chDir(const std::string& path) {
  const std::string full = fullPath(path);
  if (kindOf(full) != Kind::Folder) fail(err::PathNotFound);
  curDrive_ = dos::driveOf(full);
  curDirs_[curDrive_] = full;
}

void OverlayFileSystem::chDrive(const std::string& drive) {
  if (drive.empty()) return;
  const char letter = dos::lower(drive.substr(0, 1))[0];
  const std::vector<std::string> known = below_.drives();
  if (std::find(known.begin(), known.end(), std::string{letter, ':'}) == known.end())
    fail(err::DeviceUnavailable);
  curDrive_ = letter;
}

std::string OverlayFileSystem::key(const std::string& path) {
  return dos::lower(fullPath(path));
}

const OverlayFileSystem::Node* OverlayFileSystem::nodeOf(const std::string& path) {
  auto it = nodes_.find(key(path));
  return it == nodes_.end() ? nullptr : &it->second;
}

OverlayFileSystem::Kind OverlayFileSystem::kindOf(const std::string& path) {
  const std::string k = key(path);
  if (auto it = nodes_.find(k); it != nodes_.end()) return it->second.kind;
  // Inside a folder removed here nothing is left; inside one made here (the disk has none there,
  // or only what was removed here before it), only what the overlay holds.
  for (size_t slash = k.find('\\', 3); slash != std::string::npos; slash = k.find('\\', slash + 1))
    if (nodes_.count(k.substr(0, slash))) return Kind::None;
  if (below_.isFile(path)) return Kind::File;
  if (below_.isDirectory(path)) return Kind::Folder;
  return Kind::None;
}

bool OverlayFileSystem::isDirectory(const std::string& path) {
  try {
    return kindOf(path) == Kind::Folder;
  } catch (const FileError&) {
    return false;
  }
}

bool OverlayFileSystem::isFile(const std::string& path) {
  try {
    return kindOf(path) == Kind::File;
  } catch (const FileError&) {
    return false;
  }
}

void OverlayFileSystem::failMissing(const std::string& path) {
  fail(kindOf(dos::parentOf(fullPath(path))) == Kind::Folder ? err::FileNotFound
                                                             : err::PathNotFound);
}

void OverlayFileSystem::put(const std::string& path, Node node) {
  node.spelling = fullPath(path);
  nodes_[key(path)] = std::move(node);
}

OverlayFileSystem::Node& OverlayFileSystem::fileNode(const std::string& path) {
  auto it = nodes_.find(key(path));
  if (it != nodes_.end()) return it->second;
  // A file of the disk that the overlay is about to change: it stands for itself.
  Node node;
  node.kind = Kind::File;
  node.source = fullPath(path);
  put(path, node);
  return nodes_[key(path)];
}

void OverlayFileSystem::checkTarget(const std::string& target) {
  if (kindOf(dos::parentOf(fullPath(target))) != Kind::Folder) fail(err::PathNotFound);
  const Kind there = kindOf(target);
  if (there == Kind::Folder || (there == Kind::File && isReadOnly(target)))
    fail(err::PathFileAccess);
}

void OverlayFileSystem::mkDir(const std::string& path) {
  if (kindOf(path) != Kind::None) fail(err::PathFileAccess);
  if (kindOf(dos::parentOf(fullPath(path))) != Kind::Folder) fail(err::PathNotFound);
  Node node;
  node.kind = Kind::Folder;
  put(path, node);
  writes_.push_back({Write::Kind::MakeFolder, fullPath(path), {}});
}

void OverlayFileSystem::rmDir(const std::string& path) {
  if (kindOf(path) != Kind::Folder)
    fail(kindOf(path) == Kind::File ? err::PathFileAccess : err::PathNotFound);
  if (dos::components(fullPath(path)).empty()) fail(err::PathFileAccess);
  if (!namesIn(path, false).empty() || !namesIn(path, true).empty()) fail(err::PathFileAccess);
  put(path, Node{});
  writes_.push_back({Write::Kind::RemoveFolder, fullPath(path), {}});
}

void OverlayFileSystem::transferFile(const std::string& source, const std::string& target) {
  if (kindOf(source) != Kind::File) {
    if (kindOf(source) == Kind::Folder) fail(err::PathFileAccess);
    fail(err::FileNotFound);
  }
  checkTarget(target);
  // The new file refers to its source's bytes where they lie, never copies them.
  Node node;
  node.kind = Kind::File;
  if (const Node* from = nodeOf(source)) {
    node.source = from->source;
    node.data = from->data;
  } else {
    node.source = fullPath(source);
  }
  put(target, node);
  writes_.push_back({Write::Kind::Transfer, fullPath(target), fullPath(source)});
}

void OverlayFileSystem::copyFile(const std::string& source, const std::string& target) {
  transferFile(source, target);
}

void OverlayFileSystem::preserveFile(const std::string& source, const std::string& target, bool,
                                     bool) {
  if (kindOf(target) != Kind::None) fail(err::PathFileAccess);
  transferFile(source, target);
}

void OverlayFileSystem::moveFile(const std::string& source, const std::string& target) {
  transferFile(source, target);
  put(source, Node{});
  writes_.push_back({Write::Kind::Delete, fullPath(source), {}});
}

void OverlayFileSystem::kill(const std::string& pathOrPattern) {
  const std::string full = fullPath(pathOrPattern);
  const std::string pattern = dos::fileName(full);
  if (!dos::hasWildcards(pattern)) {
    const Kind there = kindOf(full);
    if (there == Kind::None) failMissing(full);
    if (there == Kind::Folder || isReadOnly(full)) fail(err::PathFileAccess);
    put(full, Node{});
    writes_.push_back({Write::Kind::Delete, full, {}});
    return;
  }
  const std::string dir = dos::parentOf(full);
  if (kindOf(dir) != Kind::Folder) fail(err::PathNotFound);
  const std::vector<std::string> names = listFiles(dir, pattern);
  if (names.empty()) fail(err::FileNotFound);
  int firstError = 0;
  for (const std::string& name : names) {
    const std::string file = dir + (dir.back() == '\\' ? "" : "\\") + name;
    if (isReadOnly(file)) {
      if (!firstError) firstError = err::PathFileAccess;
      continue;
    }
    put(file, Node{});
    writes_.push_back({Write::Kind::Delete, fullPath(file), {}});
  }
  if (firstError) fail(firstError);
}

void OverlayFileSystem::setAttrNormal(const std::string& path) {
  setReadOnly(path, false);
}

void OverlayFileSystem::setReadOnly(const std::string& path, bool readOnly) {
  if (kindOf(path) == Kind::None) failMissing(path);
  if (isReadOnly(path) == readOnly) return;
  fileNode(path).readOnly = readOnly;
  writes_.push_back({Write::Kind::Attributes, fullPath(path), {}});
}

bool OverlayFileSystem::isReadOnly(const std::string& path) {
  if (const Node* node = nodeOf(path)) {
    if (node->kind == Kind::None) failMissing(path);
    if (node->readOnly) return *node->readOnly;
    if (node->data || node->kind == Kind::Folder) return false;
    // A copy is a new file: writable, whatever its source is.
    return key(node->source) != key(path) ? false : below_.isReadOnly(node->source);
  }
  return below_.isReadOnly(path);
}

std::vector<std::string> OverlayFileSystem::namesIn(const std::string& dir, bool folders) {
  std::vector<std::string> names;
  const std::string dirKey = key(dir);
  const std::string prefix = dirKey.back() == '\\' ? dirKey : dirKey + "\\";
  // What the disk holds, less what was removed here ...
  const auto nodeAt = [&](const std::string& name) {
    return nodes_.find(prefix + dos::lower(name));
  };
  if (below_.isDirectory(dir)) {
    std::vector<std::string> onDisk;
    try {
      onDisk = folders ? below_.listDirs(dir) : below_.listFiles(dir, "*.*");
    } catch (const FileError&) {
    }
    for (std::string& name : onDisk) {
      if (folders) name = dos::fileName(name);
      auto it = nodeAt(name);
      if (it == nodes_.end() || it->second.kind == (folders ? Kind::Folder : Kind::File))
        names.push_back(name);
    }
  }
  // ... and what was made here.
  for (auto it = nodes_.lower_bound(prefix);
       it != nodes_.end() && dos::startsWith(it->first, prefix); ++it) {
    if (it->first.find('\\', prefix.size()) != std::string::npos) continue;
    if (it->second.kind != (folders ? Kind::Folder : Kind::File)) continue;
    const std::string name = dos::fileName(it->second.spelling);
    if (name.empty() || name[0] == '.') continue;
    const bool listed = std::any_of(names.begin(), names.end(), [&](const std::string& n) {
      return dos::equalsNoCase(n, name);
    });
    if (!listed) names.push_back(name);
  }
  return names;
}

std::vector<std::string> OverlayFileSystem::listFiles(const std::string& dir,
                                                      const std::string& patterns) {
  if (kindOf(dir) != Kind::Folder) fail(err::PathNotFound);
  std::vector<std::string> names;
  for (std::string& name : namesIn(dir, false))
    if (matchesPatternList(name, patterns)) names.push_back(std::move(name));
  std::sort(names.begin(), names.end(), sortsBefore);
  return names;
}

std::vector<std::string> OverlayFileSystem::listDirs(const std::string& dir) {
  if (kindOf(dir) != Kind::Folder) fail(err::PathNotFound);
  std::vector<std::string> names = namesIn(dir, true);
  std::sort(names.begin(), names.end(), sortsBefore);
  const std::string full = fullPath(dir);
  const std::string prefix = full.back() == '\\' ? full : full + "\\";
  for (std::string& name : names) name = prefix + name;
  return names;
}

std::vector<std::string> OverlayFileSystem::listFilesWithoutLinks(const std::string& dir,
                                                                  const std::string& patterns,
                                                                  std::vector<std::string>& links) {
  // The links of the disk that nothing was written over here; the overlay makes none.
  links.clear();
  if (kindOf(dir) != Kind::Folder) fail(err::PathNotFound);
  const std::string folder = fullPath(dir);
  const std::string prefix = folder.back() == '\\' ? folder : folder + "\\";
  if (below_.isDirectory(dir)) {
    try {
      for (std::string& name : below_.listLinks(dir))
        if (!nodeOf(prefix + name)) links.push_back(std::move(name));
    } catch (const FileError&) {
    }
  }
  std::vector<std::string> names;
  for (std::string& name : listFiles(dir, patterns))
    if (std::none_of(links.begin(), links.end(),
                     [&](const std::string& link) { return dos::equalsNoCase(link, name); }))
      names.push_back(std::move(name));
  return names;
}

bool OverlayFileSystem::isLink(const std::string& path) {
  return !nodeOf(path) && below_.isLink(path);
}

void OverlayFileSystem::removeLink(const std::string& path) {
  if (!isLink(path)) failMissing(path);
  put(path, Node{});
  writes_.push_back({Write::Kind::Delete, fullPath(path), {}});
}

std::optional<FileStamp> OverlayFileSystem::stamp(const std::string& path) {
  if (kindOf(path) != Kind::File) return std::nullopt;
  const Node* node = nodeOf(path);
  if (!node) return below_.stamp(path);
  if (node->data) return FileStamp{static_cast<long long>(node->data->size()), 0};
  return below_.stamp(node->source);
}

std::string OverlayFileSystem::digest(const std::string& path) {
  const Node* node = nodeOf(path);
  if (kindOf(path) != Kind::File) failMissing(path);
  return below_.digest(node && !node->data ? node->source : path);
}

void OverlayFileSystem::checkReadable(const std::string& path) {
  if (kindOf(path) == Kind::None) failMissing(path);
  if (kindOf(path) == Kind::Folder) fail(err::PathFileAccess);
  const Node* node = nodeOf(path);
  if (!node) below_.checkReadable(path);
}

std::string OverlayFileSystem::readFile(const std::string& path) {
  checkReadable(path);
  const Node* node = nodeOf(path);
  if (!node) return below_.readFile(path);
  return node->data ? *node->data : below_.readFile(node->source);
}

void OverlayFileSystem::writeFile(const std::string& path, const std::string& data) {
  replaceFile(path, data);
}

void OverlayFileSystem::replaceFile(const std::string& path, const std::string& data) {
  checkTarget(path);
  Node node;
  node.kind = Kind::File;
  node.data = data;
  put(path, node);
  writes_.push_back({Write::Kind::Replace, fullPath(path), {}});
}

void OverlayFileSystem::appendFile(const std::string& path, const std::string& data) {
  checkTarget(path);
  std::string before = kindOf(path) == Kind::File ? readFile(path) : std::string();
  Node node;
  node.kind = Kind::File;
  node.data = before + data;
  put(path, node);
  writes_.push_back({Write::Kind::Append, fullPath(path), data});
}

}  // namespace orvex

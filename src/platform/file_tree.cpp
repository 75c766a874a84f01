// Walking a folder's tree without following links.
#include "platform/file_tree.h"

#include "platform/dos_path.h"
#include "platform/file_system.h"

namespace orvex {
namespace {

void collectFiles(FileSystem& fs, const std::string& root, const std::string& relative,
                  const std::string& patterns, std::vector<std::string>& files,
                  std::vector<std::string>& links, int depth) {
  const std::string dir = relative.empty() ? root : root + "\\" + relative;
  const std::string prefix = relative.empty() ? "" : relative + "\\";
  std::vector<std::string> here;
  for (std::string& name : fs.listFilesWithoutLinks(dir, patterns, here))
    files.push_back(prefix + name);
  for (const std::string& link : here) links.push_back(prefix + link);
  if (depth >= kDeepestFolder) return;
  for (const std::string& sub : fs.listDirs(dir)) {
    if (fs.isLink(sub)) continue;  // named among the links already
    collectFiles(fs, root, prefix + dos::fileName(sub), patterns, files, links, depth + 1);
  }
}

void collectFolders(FileSystem& fs, const std::string& root, const std::string& relative,
                    std::vector<std::string>& folders, int depth) {
  if (depth >= kDeepestFolder) return;
  const std::string dir = relative.empty() ? root : root + "\\" + relative;
  for (const std::string& sub : fs.listDirs(dir)) {
    if (fs.isLink(sub)) continue;
    const std::string name = (relative.empty() ? "" : relative + "\\") + dos::fileName(sub);
    folders.push_back(name);
    collectFolders(fs, root, name, folders, depth + 1);
  }
}

}  // namespace

std::vector<std::string> filesBelow(FileSystem& fs, const std::string& folder,
                                    std::vector<std::string>& links, const std::string& patterns) {
  std::vector<std::string> files;
  collectFiles(fs, folder, "", patterns, files, links, 0);
  return files;
}

std::vector<std::string> foldersBelow(FileSystem& fs, const std::string& folder) {
  std::vector<std::string> folders;
  collectFolders(fs, folder, "", folders, 0);
  return folders;
}

}  // namespace orvex

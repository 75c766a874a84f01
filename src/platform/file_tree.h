// A folder's tree as the program reads its own folders: symbolic links are never followed,
// hidden folders are left out.
#pragma once

#include <string>
#include <vector>

namespace orvex {

class FileSystem;

// Deeper than any add-on's tree; a tree deeper still is not walked further.
inline constexpr int kDeepestFolder = 32;

// The files of a tree, as names relative to it ("texture.1\\a.bmp"), each folder's files before
// its sub-folders'; links are passed over and named in links. With patterns, only the files
// whose names match the pattern list.
std::vector<std::string> filesBelow(FileSystem& fs, const std::string& folder,
                                    std::vector<std::string>& links,
                                    const std::string& patterns = "*.*");
// The folders of a tree, relative to it, each before the folders below it.
std::vector<std::string> foldersBelow(FileSystem& fs, const std::string& folder);

}  // namespace orvex

// Text rules of DOS paths: drive letters, "\" separators, components, absolute forms.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orvex::dos {

// Lower-case of ASCII letters; other bytes unchanged.
std::string lower(std::string text);
bool equalsNoCase(std::string_view a, std::string_view b);
bool startsWith(const std::string& text, const std::string& prefix);
bool containsNoCase(const std::string& text, const std::string& part);
bool endsWithNoCase(std::string_view text, std::string_view end);

// The drive letter of "c:..." in lower case, or 0 when the path has none.
char driveOf(const std::string& path);

// Components of the part after the drive root, split at "\" and "/"; empty ones dropped.
std::vector<std::string> components(const std::string& path);

// Absolute form of path. currentDrive is a lower-case letter; curDirOf(letter) gives that
// drive's current directory in absolute form. "." and ".." are resolved in the text.
std::string absolute(const std::string& path, char currentDrive,
                     const std::function<std::string(char)>& curDirOf);

// "C:" + "\" + components joined by "\" ("C:\" for a root).
std::string join(char drive, const std::vector<std::string>& parts);

// The last component of a path, and everything before it.
std::string fileName(const std::string& path);
std::string parentOf(const std::string& path);
// The same, as views of path.
std::string_view namePart(std::string_view path);
std::string_view folderPart(std::string_view path);

bool hasWildcards(const std::string& name);

// The lower-case text that every path strictly below a folder begins with: "c:\fs98\" for
// "C:\FS98" and for "C:\FS98\".
std::string belowPrefix(const std::string& folder);

// The text without the given blanks at either end; whether it holds nothing else.
std::string trim(std::string_view text, std::string_view blanks = " \t");
bool isBlank(std::string_view text, std::string_view blanks = " \t");

}  // namespace orvex::dos

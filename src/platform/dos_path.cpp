// Text rules of DOS paths: drive letters, separators, components and absolute forms.
#include "platform/dos_path.h"

namespace orvex::dos {
namespace {

char lowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}
char upperAscii(char c) {
  return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}
bool isSeparator(char c) {
  return c == '\\' || c == '/';
}
bool isLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Length of the "c:" prefix, 0 when there is none.
size_t drivePrefix(std::string_view path) {
  return path.size() >= 2 && isLetter(path[0]) && path[1] == ':' ? 2 : 0;
}

size_t lastSeparator(std::string_view path) {
  size_t pos = path.find_last_of("\\/");
  return pos == std::string_view::npos || pos < drivePrefix(path) ? std::string_view::npos : pos;
}

// Whether a path is its own absolute form: a drive and its root, then names joined by single
// backslashes, none of them "." or "..". Most paths the program builds are, and they are
// spared the work of taking them apart.
bool isAbsoluteAlready(const std::string& path) {
  if (drivePrefix(path) == 0 || path.size() < 3 || path[2] != '\\') return false;
  for (size_t i = 2; i < path.size(); ++i) {
    if (path[i] == '/') return false;
    if (path[i] != '\\') continue;
    // A name follows each backslash but the root's.
    const size_t end = path.find_first_of("\\/", i + 1);
    const size_t length = (end == std::string::npos ? path.size() : end) - i - 1;
    if (length == 0) return i == 2 && path.size() == 3;
    if (path[i + 1] == '.' && (length == 1 || (length == 2 && path[i + 2] == '.'))) return false;
  }
  return true;
}

}  // namespace

std::string lower(std::string text) {
  for (char& c : text) c = lowerAscii(c);
  return text;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
  return true;
}

bool startsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

bool endsWithNoCase(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && equalsNoCase(text.substr(text.size() - end.size()), end);
}

bool containsNoCase(const std::string& text, const std::string& part) {
  return lower(text).find(lower(part)) != std::string::npos;
}

char driveOf(const std::string& path) {
  return drivePrefix(path) ? lowerAscii(path[0]) : 0;
}

std::vector<std::string> components(const std::string& path) {
  std::vector<std::string> parts;
  std::string current;
  for (size_t i = drivePrefix(path); i < path.size(); ++i) {
    if (isSeparator(path[i])) {
      if (!current.empty()) parts.push_back(std::move(current));
      current.clear();
    } else {
      current += path[i];
    }
  }
  if (!current.empty()) parts.push_back(std::move(current));
  return parts;
}

std::string absolute(const std::string& path, char currentDrive,
                     const std::function<std::string(char)>& curDirOf) {
  if (isAbsoluteAlready(path)) return path;
  size_t prefix = drivePrefix(path);
  char drive = prefix ? lowerAscii(path[0]) : currentDrive;
  std::string rest = path.substr(prefix);

  // The drive letter keeps the case it was typed with: from the path when it is absolute,
  // otherwise from the current directory's text that it continues.
  bool rooted = !rest.empty() && isSeparator(rest[0]);
  std::string base = curDirOf(drive);
  char letter = prefix && rooted ? path[0] : drivePrefix(base) ? base[0] : upperAscii(drive);

  std::vector<std::string> parts;
  if (!rooted) parts = components(base);
  for (std::string& part : components(rest)) {
    if (part == ".") continue;
    if (part == "..") {
      // Above the root stays at the root, as DOS does; never leaves the drive.
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    parts.push_back(std::move(part));
  }
  std::string result = join(letter, parts);
  result[0] = letter;
  return result;
}

std::string join(char drive, const std::vector<std::string>& parts) {
  std::string result{upperAscii(drive), ':', '\\'};
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) result += '\\';
    result += parts[i];
  }
  return result;
}

std::string_view namePart(std::string_view path) {
  size_t sep = lastSeparator(path);
  return path.substr(sep == std::string_view::npos ? drivePrefix(path) : sep + 1);
}

std::string_view folderPart(std::string_view path) {
  size_t sep = lastSeparator(path);
  if (sep == std::string_view::npos) return path.substr(0, drivePrefix(path));
  // The separator right after the drive (or at the start) is the root: keep it.
  if (sep == drivePrefix(path)) return path.substr(0, sep + 1);
  return path.substr(0, sep);
}

std::string fileName(const std::string& path) {
  return std::string(namePart(path));
}

std::string parentOf(const std::string& path) {
  return std::string(folderPart(path));
}

bool hasWildcards(const std::string& name) {
  return name.find_first_of("*?") != std::string::npos;
}

std::string belowPrefix(const std::string& folder) {
  std::string prefix = lower(folder);
  while (!prefix.empty() && prefix.back() == '\\') prefix.pop_back();
  return prefix + '\\';
}

std::string trim(std::string_view text, std::string_view blanks) {
  const size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(blanks) - first + 1));
}

bool isBlank(std::string_view text, std::string_view blanks) {
  return text.find_first_not_of(blanks) == std::string_view::npos;
}

}  // namespace orvex::dos

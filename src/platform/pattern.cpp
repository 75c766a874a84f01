// Whole-name matching of file names against "*" / "?" patterns, without regard to case.
#include "platform/pattern.h"

namespace orvex {
namespace {

char lowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

}  // namespace

bool matchesPattern(std::string_view name, std::string_view pattern) {
  if (pattern == "*.*") return true;
  // Iterative matching with one backtrack point for the last "*": linear in practice and
  // never recursive, whatever the pattern.
  size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() &&
               (pattern[p] == '?' || lowerAscii(pattern[p]) == lowerAscii(name[n]))) {
      ++p;
      ++n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool matchesPatternList(std::string_view name, std::string_view patternList) {
  size_t start = 0;
  while (start <= patternList.size()) {
    size_t end = patternList.find(';', start);
    if (end == std::string_view::npos) end = patternList.size();
    std::string_view one = patternList.substr(start, end - start);
    if (!one.empty() && matchesPattern(name, one)) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace orvex

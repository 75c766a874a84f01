// Fuzz target: the file-list pattern matcher. The input is a file name, a ";" and a pattern
// list; each pattern is checked against a plain dynamic-programming matcher.
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "platform/pattern.h"

namespace {

char lower(char c) {
  return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// "*" any run, "?" one character, letters without regard to case; "*.*" matches every name.
bool reference(std::string_view name, std::string_view pattern) {
  if (pattern == "*.*") return true;
  // at[j]: the first i characters of the name match the first j of the pattern.
  std::vector<char> at(pattern.size() + 1, 0), next(pattern.size() + 1, 0);
  at[0] = 1;
  for (size_t j = 1; j <= pattern.size(); ++j) at[j] = at[j - 1] && pattern[j - 1] == '*';
  for (size_t i = 1; i <= name.size(); ++i) {
    next[0] = 0;
    for (size_t j = 1; j <= pattern.size(); ++j) {
      const char p = pattern[j - 1];
      if (p == '*')
        next[j] = next[j - 1] || at[j];
      else
        next[j] = at[j - 1] && (p == '?' || lower(p) == lower(name[i - 1]));
    }
    at.swap(next);
  }
  return at[pattern.size()];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;  // the reference is quadratic
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find(';');
  if (split == std::string_view::npos) return 0;
  const std::string_view name = input.substr(0, split);
  const std::string_view list = input.substr(split + 1);

  bool any = false;
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(';', start);
    if (end == std::string_view::npos) end = list.size();
    const std::string_view one = list.substr(start, end - start);
    if (!one.empty()) {
      const bool matched = orvex::matchesPattern(name, one);
      if (matched != reference(name, one)) std::abort();
      any = any || matched;
    }
    start = end + 1;
  }
  if (orvex::matchesPatternList(name, list) != any) std::abort();
  // Every name matches itself taken as a pattern.
  if (!orvex::matchesPattern(name, name)) std::abort();
  return 0;
}

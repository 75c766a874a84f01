// Adding and taking out livery sections of an Aircraft.cfg, every other byte kept.
#include "hangar/livery_sections.h"

#include <charconv>

#include "platform/config_entries.h"
#include "platform/dos_path.h"

namespace orvex {
namespace {

std::string withoutLineEnd(const std::string& line) {
  return line.substr(0, line.find_last_not_of("\r\n") + 1);
}

bool isLivery(const ConfigLines::Section& s) {
  return dos::startsWith(s.name, "fltsim.");
}

std::optional<std::string> keyOfLine(const std::string& line) {
  if (sectionOf(line)) return std::nullopt;
  const std::optional<Entry> e = entryOf(dos::trim(line, " \t\r\n"));
  if (!e) return std::nullopt;
  return e->key;
}

// Sets the line of a key, or adds it at `where` when there is none (-1: at the end).
void setKey(std::vector<std::string>& lines, const std::string& key, const std::string& value,
            long where) {
  for (std::string& line : lines)
    if (keyOfLine(line) == key) {
      line = key + "=" + value;
      return;
    }
  const long at = where < 0 || where > long(lines.size()) ? long(lines.size()) : where;
  lines.insert(lines.begin() + at, key + "=" + value);
}

// How a neighbouring section is found again: a livery by its keys, any other by its name.
SectionKey neighbour(const ConfigLines& cfg, const ConfigLines::Section& s) {
  if (!isLivery(s)) return {s.name, {}};
  return liveryKey(cfg.value(s, "title").value_or(""), cfg.value(s, "texture").value_or(""));
}

}  // namespace

SectionKey liveryKey(const std::string& title, const std::string& texture) {
  return {"fltsim.", {{"title", title}, {"texture", texture}}};
}

std::optional<std::vector<std::string>> liveryBlockIn(const std::string& text,
                                                      const std::string& texture) {
  const ConfigLines in(text);
  std::optional<std::vector<std::string>> first;
  for (const ConfigLines::Section& s : in.sections()) {
    if (!isLivery(s)) continue;
    std::vector<std::string> block;
    bool named = false;
    for (size_t k = s.header + 1; k < s.end && !in.blank(k); ++k) {
      const std::optional<std::string> key = keyOfLine(in.lines[k]);
      if (!key) break;  // the readme's own words again
      block.push_back(dos::trim(withoutLineEnd(in.lines[k]), " \t"));
      if (*key == "texture" && dos::equalsNoCase(in.value(s, "texture").value_or(""), texture))
        named = true;
    }
    if (block.empty()) continue;
    if (named) return block;
    if (!first) first = std::move(block);
  }
  return first;
}

std::vector<std::string> firstLivery(const ConfigLines& cfg) {
  std::optional<ConfigLines::Section> chosen;
  for (const ConfigLines::Section& s : cfg.sections()) {
    if (!isLivery(s)) continue;
    if (!chosen || s.name == "fltsim.0") chosen = s;
    if (s.name == "fltsim.0") break;
  }
  std::vector<std::string> lines;
  if (chosen)
    for (size_t k = chosen->header + 1; k < cfg.contentEnd(*chosen); ++k)
      if (!cfg.blank(k)) lines.push_back(withoutLineEnd(cfg.lines[k]));
  return lines;
}

ConfigEdit addLivery(ConfigLines& cfg, std::vector<std::string> lines,
                     const std::optional<std::string>& title, const std::string& texture,
                     std::string& titleGiven) {
  const std::vector<ConfigLines::Section> sections = cfg.sections();
  long number = 0;
  std::optional<ConfigLines::Section> last;
  bool setApart = false;
  for (const ConfigLines::Section& s : sections) {
    if (s.header > 0 && cfg.blank(s.header - 1)) setApart = true;
    if (!isLivery(s)) continue;
    last = s;
    long n = -1;
    const std::string digits = s.name.substr(7);
    if (std::from_chars(digits.data(), digits.data() + digits.size(), n).ec == std::errc() &&
        n >= number)
      number = n + 1;
  }
  if (title) setKey(lines, "title", *title, 0);
  long titleAt = 0;
  for (size_t k = 0; k < lines.size(); ++k)
    if (keyOfLine(lines[k]) == "title") titleAt = long(k) + 1;
  setKey(lines, "texture", texture, titleAt);
  titleGiven.clear();
  for (const std::string& line : lines)
    if (keyOfLine(line) == "title") titleGiven = withoutComment(entryOf(line)->value);

  const std::string end = cfg.lineEnd();
  ConfigEdit edit;
  edit.op = ConfigEdit::Op::Added;
  edit.section = liveryKey(titleGiven, texture);
  std::string block = "[fltsim." + std::to_string(number) + "]" + end;
  for (const std::string& line : lines) block += line + end;
  size_t at = 0;
  if (last) {
    at = cfg.contentEnd(*last);
    if (setApart) block = end + block;
    if (at == cfg.lines.size() && !cfg.lines.empty() &&
        withoutLineEnd(cfg.lines.back()) == cfg.lines.back()) {
      cfg.lines.back() += end;
      edit.joinedLineEnd = end;
    }
  } else if (setApart) {
    // No livery yet: the section goes first, set apart from what follows it.
    block += end;
  }
  edit.lines = block;
  const ConfigLines added(block);
  cfg.lines.insert(cfg.lines.begin() + long(at), added.lines.begin(), added.lines.end());
  return edit;
}

std::optional<ConfigEdit> removeLivery(ConfigLines& cfg, const std::string& section) {
  const std::vector<ConfigLines::Section> sections = cfg.sections();
  for (size_t k = 0; k < sections.size(); ++k) {
    const ConfigLines::Section& s = sections[k];
    if (s.name != dos::lower(section)) continue;
    ConfigEdit edit;
    edit.op = ConfigEdit::Op::Removed;
    edit.section = neighbour(cfg, s);
    if (k > 0) edit.before = neighbour(cfg, sections[k - 1]);
    if (k + 1 < sections.size()) edit.after = neighbour(cfg, sections[k + 1]);
    const size_t from = s.header > 0 && cfg.blank(s.header - 1) ? s.header - 1 : s.header;
    const size_t to = cfg.contentEnd(s);
    for (size_t n = from; n < to; ++n) edit.lines += cfg.lines[n];
    cfg.lines.erase(cfg.lines.begin() + long(from), cfg.lines.begin() + long(to));
    return edit;
  }
  return std::nullopt;
}

}  // namespace orvex

// Configuration texts as lines and sections, and edits of them taken back by their meaning.
#include "platform/config_edit.h"

#include <algorithm>

#include "platform/config_entries.h"
#include "platform/dos_path.h"
#include "platform/fields.h"

namespace orvex {
namespace {

constexpr std::string_view kDescribed = "edits 1:";

std::string trimmedLine(std::string_view line) {
  return dos::trim(line, " \t\r\n");
}

// The last section the key finds; with a preferred test, the last one that also passes it.
template <class Prefer>
std::optional<ConfigLines::Section> find(const ConfigLines& text, const SectionKey& key,
                                         Prefer prefer) {
  std::optional<ConfigLines::Section> found, preferred;
  for (const ConfigLines::Section& s : text.sections()) {
    if (!key.matches(text, s)) continue;
    found = s;
    if (prefer(s)) preferred = s;
  }
  return preferred ? preferred : found;
}

std::optional<ConfigLines::Section> find(const ConfigLines& text, const SectionKey& key) {
  return find(text, key, [](const ConfigLines::Section&) { return false; });
}

void insertLines(ConfigLines& text, size_t at, std::string_view block) {
  const ConfigLines added(block);
  text.lines.insert(text.lines.begin() + long(at), added.lines.begin(), added.lines.end());
}

// Ends the last line with the text's line end when it has none, before lines go after it.
void endLastLine(ConfigLines& text) {
  if (text.lines.empty()) return;
  std::string& last = text.lines.back();
  if (!last.empty() && (last.back() == '\n' || last.back() == '\r')) return;
  last += text.lineEnd();
}

bool takeBackOne(ConfigLines& text, const ConfigEdit& e) {
  switch (e.op) {
    case ConfigEdit::Op::Added: {
      const std::optional<ConfigLines::Section> s = find(text, e.section);
      if (!s) return false;
      // A section is added as the blank lines that set it apart, before its header, then its
      // header and lines: those go, and blank lines after it set the next one apart.
      const size_t to = text.contentEnd(*s);
      const bool last = to == text.lines.size();
      const ConfigLines own(e.lines);
      size_t from = s->header;
      for (size_t k = 0; k < own.lines.size() && own.blank(k) && from > 0 && text.blank(from - 1);
           ++k)
        --from;
      text.lines.erase(text.lines.begin() + long(from), text.lines.begin() + long(to));
      // The line end the section brought to a last line that had none goes with it.
      if (last && !e.joinedLineEnd.empty() && !text.lines.empty() &&
          text.lines.back().ends_with(e.joinedLineEnd) &&
          text.lines.back().size() > e.joinedLineEnd.size())
        text.lines.back().resize(text.lines.back().size() - e.joinedLineEnd.size());
      return true;
    }
    case ConfigEdit::Op::Removed: {
      if (find(text, e.section)) return true;  // back already
      // Back where it was: after the lines of the section it followed, before the blank lines
      // that set the next one apart.
      size_t at = text.lines.size();
      if (std::optional<ConfigLines::Section> next;
          !e.after.empty() && (next = find(text, e.after))) {
        at = next->header;
        while (at > 0 && text.blank(at - 1)) --at;
      } else if (std::optional<ConfigLines::Section> prev;
                 !e.before.empty() && (prev = find(text, e.before))) {
        at = text.contentEnd(*prev);
      }
      if (at == text.lines.size()) endLastLine(text);
      insertLines(text, at, e.lines);
      return true;
    }
    case ConfigEdit::Op::Set: {
      const std::optional<ConfigLines::Section> s =
          find(text, e.section, [&](const ConfigLines::Section& s) {
            const std::optional<size_t> line = text.lineOf(s, e.key);
            return line ? trimmedLine(text.lines[*line]) == trimmedLine(e.now) : e.now.empty();
          });
      if (!s) return false;
      const std::optional<size_t> line = text.lineOf(*s, e.key);
      if (line && e.was.empty()) {
        const bool last = *line + 1 == text.lines.size();
        text.lines.erase(text.lines.begin() + long(*line));
        // Added after a last line without a line end: that line end goes with it.
        if (last && !e.joinedLineEnd.empty() && !text.lines.empty() &&
            text.lines.back().ends_with(e.joinedLineEnd))
          text.lines.back().resize(text.lines.back().size() - e.joinedLineEnd.size());
      } else if (line) {
        // The line keeps the line end it has now: the last line of a file may have none.
        std::string was = e.was;
        const std::string& current = text.lines[*line];
        const size_t ownEnd = current.find_last_not_of("\r\n") + 1;
        const size_t wasEnd = was.find_last_not_of("\r\n") + 1;
        text.lines[*line] = was.substr(0, wasEnd) + current.substr(ownEnd);
      } else if (!e.was.empty()) {
        const size_t at = text.contentEnd(*s);
        if (at == text.lines.size()) endLastLine(text);
        insertLines(text, at, e.was);
      }
      return true;
    }
  }
  return false;
}

void putKey(std::string& out, const SectionKey& key) {
  putField(out, key.prefix);
  putField(out, std::to_string(key.keys.size()));
  for (const auto& [k, v] : key.keys) {
    putField(out, k);
    putField(out, v);
  }
}

std::optional<SectionKey> keyFrom(FieldReader& in) {
  SectionKey k;
  const std::optional<std::string_view> prefix = in.next();
  const std::optional<long long> count = in.number();
  if (!prefix || !count || *count < 0 || *count > 64) return std::nullopt;
  k.prefix = *prefix;
  for (long long i = 0; i < *count; ++i) {
    const std::optional<std::string_view> name = in.next(), value = in.next();
    if (!name || !value) return std::nullopt;
    k.keys.emplace_back(*name, *value);
  }
  return k;
}

}  // namespace

ConfigLines::ConfigLines(std::string_view text) {
  // As many lines as line ends, or CRs in a text that ends its lines with them alone.
  size_t ends = size_t(std::count(text.begin(), text.end(), '\n'));
  if (ends == 0) ends = size_t(std::count(text.begin(), text.end(), '\r'));
  lines.reserve(ends + 1);
  for (size_t pos = 0; pos < text.size();) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) {
      end = text.size();
    } else {
      if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
      ++end;
    }
    lines.emplace_back(text.substr(pos, end - pos));
    pos = end;
  }
}

std::string ConfigLines::text() const {
  size_t size = 0;
  for (const std::string& l : lines) size += l.size();
  std::string out;
  out.reserve(size);
  for (const std::string& l : lines) out += l;
  return out;
}

std::vector<ConfigLines::Section> ConfigLines::sections() const {
  std::vector<Section> found;
  for (size_t k = 0; k < lines.size(); ++k) {
    std::optional<std::string> name = sectionOf(lines[k]);
    if (!name) continue;
    if (!found.empty()) found.back().end = k;
    found.push_back({std::move(*name), k, lines.size()});
  }
  return found;
}

std::optional<size_t> ConfigLines::lineOf(const Section& s, std::string_view key) const {
  for (size_t k = s.header + 1; k < s.end; ++k)
    if (const std::optional<Entry> e = entryOf(trimmedLine(lines[k])); e && e->key == key) return k;
  return std::nullopt;
}

std::optional<std::string> ConfigLines::value(const Section& s, std::string_view key) const {
  const std::optional<size_t> line = lineOf(s, key);
  if (!line) return std::nullopt;
  return withoutComment(entryOf(trimmedLine(lines[*line]))->value);
}

size_t ConfigLines::contentEnd(const Section& s) const {
  size_t end = s.end;
  while (end > s.header + 1 && blank(end - 1)) --end;
  return end;
}

bool ConfigLines::blank(size_t line) const {
  return trimmedLine(lines[line]).empty();
}

std::string ConfigLines::lineEnd() const {
  for (const std::string& l : lines) {
    if (l.ends_with("\r\n")) return "\r\n";
    if (l.ends_with('\n')) return "\n";
    if (l.ends_with('\r')) return "\r";
  }
  return "\r\n";
}

bool SectionKey::matches(const ConfigLines& text, const ConfigLines::Section& s) const {
  if (!dos::startsWith(s.name, prefix)) return false;
  for (const auto& [key, value] : keys) {
    const std::optional<std::string> v = text.value(s, key);
    if (!dos::equalsNoCase(v ? dos::trim(*v) : std::string(), dos::trim(value))) return false;
  }
  return true;
}

SectionKey keyOf(const ConfigLines& text, const ConfigLines::Section& s, const std::string& prefix,
                 const std::vector<std::string>& keys) {
  SectionKey key{prefix, {}};
  for (const std::string& k : keys) key.keys.emplace_back(k, text.value(s, k).value_or(""));
  return key;
}

std::string describeEdits(const std::vector<ConfigEdit>& edits) {
  std::string out(kDescribed);
  for (const ConfigEdit& e : edits) {
    putField(out, std::string(1, "ARS"[int(e.op)]));
    putKey(out, e.section);
    putField(out, e.lines);
    putKey(out, e.before);
    putKey(out, e.after);
    for (const std::string* f : {&e.key, &e.was, &e.now, &e.joinedLineEnd}) putField(out, *f);
  }
  return out;
}

std::optional<std::vector<ConfigEdit>> editsDescribed(std::string_view text) {
  if (!text.starts_with(kDescribed)) return std::nullopt;
  FieldReader in(text.substr(kDescribed.size()));
  std::vector<ConfigEdit> edits;
  while (!in.done()) {
    ConfigEdit e;
    const std::optional<std::string_view> op = in.next();
    if (!op || op->size() != 1 || std::string_view("ARS").find((*op)[0]) == std::string::npos)
      return std::nullopt;
    e.op = ConfigEdit::Op(std::string_view("ARS").find((*op)[0]));
    std::optional<SectionKey> section = keyFrom(in);
    const std::optional<std::string_view> lines = in.next();
    std::optional<SectionKey> before = keyFrom(in), after = keyFrom(in);
    if (!section || !lines || !before || !after) return std::nullopt;
    e.section = std::move(*section);
    e.lines = *lines;
    e.before = std::move(*before);
    e.after = std::move(*after);
    for (std::string* f : {&e.key, &e.was, &e.now, &e.joinedLineEnd}) {
      const std::optional<std::string_view> value = in.next();
      if (!value) return std::nullopt;
      *f = *value;
    }
    edits.push_back(std::move(e));
  }
  return edits;
}

bool takeBack(std::string& text, const std::vector<ConfigEdit>& edits) {
  ConfigLines lines(text);
  bool all = true;
  for (auto it = edits.rbegin(); it != edits.rend(); ++it) all = takeBackOne(lines, *it) && all;
  text = lines.text();
  return all;
}

bool editsStand(const std::string& text, const std::vector<ConfigEdit>& edits) {
  const ConfigLines lines(text);
  for (const ConfigEdit& e : edits) {
    const std::optional<ConfigLines::Section> s = find(lines, e.section);
    switch (e.op) {
      case ConfigEdit::Op::Added:
        if (s) return true;
        break;
      case ConfigEdit::Op::Removed:
        if (!s) return true;
        break;
      case ConfigEdit::Op::Set: {
        if (!s) break;
        const std::optional<size_t> line = lines.lineOf(*s, e.key);
        if (line ? trimmedLine(lines.lines[*line]) == trimmedLine(e.now) : e.now.empty())
          return true;
        break;
      }
    }
  }
  return false;
}

}  // namespace orvex

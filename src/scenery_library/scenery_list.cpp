// Reading a scenery list area by area, flagging what the simulator would stumble over, and the
// changes the Scenery Library makes to it.
#include "scenery_library/scenery_list.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "platform/config_entries.h"
#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/file_system.h"

namespace orvex {
namespace {

std::string trimmedLine(std::string_view line) {
  return dos::trim(line, " \t\r\n");
}

std::string quoted(const std::string& text) {
  return "\"" + text + "\"";
}

// A section the simulator would take for an area: "area" and no further letter ("[Area.012]",
// but also the misspelt "[Area 12]" or "[Area.1x]", which it does not read).
bool isAreaSection(const std::string& name) {
  return name.rfind("area", 0) == 0 && (name.size() == 4 || !std::isalpha((unsigned char)name[4]));
}

bool readableAreaName(const std::string& name) {
  return name.size() > 5 && name.compare(0, 5, "area.") == 0 &&
         name.find_first_not_of("0123456789", 5) == std::string::npos;
}

std::optional<long long> wholeNumber(const std::string& text) {
  long long n = 0;
  const char* begin = text.data() + (!text.empty() && text[0] == '+' ? 1 : 0);
  const char* end = text.data() + text.size();
  const auto [at, ec] = std::from_chars(begin, end, n);
  if (begin == end || ec != std::errc() || at != end) return std::nullopt;
  return n;
}

std::string_view trimmedView(std::string_view text, std::string_view blanks) {
  const size_t from = text.find_first_not_of(blanks);
  if (from == std::string_view::npos) return {};
  return text.substr(from, text.find_last_not_of(blanks) + 1 - from);
}

// The name of the section a line heads, as sectionOf gives it; nothing for any other line.
// Read without a copy of each line: a list of thousands of areas has tens of thousands.
std::optional<std::string> headerName(std::string_view line) {
  const size_t open = line.find_first_not_of(" \t");
  if (open == std::string_view::npos || line[open] != '[') return std::nullopt;
  const size_t close = line.find(']', open);
  if (close == std::string_view::npos) return std::nullopt;
  return dos::lower(std::string(trimmedView(line.substr(open + 1, close - open - 1), " \t")));
}

SectionKey keyOfArea(const ConfigLines& lines, const ConfigLines::Section& s, bool readable) {
  // A header the simulator cannot read is found by its own name; a readable one under any
  // number, as it may have been renumbered since.
  return keyOf(lines, s, readable ? "area." : s.name, {"title", "local"});
}

// An area's lines read as entryOf, ConfigLines::value and keyOf read them, in one pass.
SceneryArea readArea(const ConfigLines& lines, const ConfigLines::Section& s) {
  SceneryArea a;
  a.section = s;
  a.header = trimmedLine(lines.lines[s.header]);
  a.readableHeader = readableAreaName(s.name);
  if (!a.readableHeader)
    a.problems.push_back("The simulator does not read its header " + a.header + ".");
  bool hasTitle = false, hasActive = false, hasRequired = false;
  for (size_t k = s.header + 1; k < s.end; ++k) {
    const std::string_view line = trimmedView(lines.lines[k], " \t\r\n");
    if (line.empty() || line[0] == ';' || line.starts_with("//")) continue;
    if (line[0] == '[') {
      a.problems.push_back("The simulator does not read the broken header " +
                           quoted(std::string(line)) + ".");
      continue;
    }
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
      a.problems.push_back("The simulator does not read the line " + quoted(std::string(line)) +
                           ".");
      continue;
    }
    const std::string_view key = trimmedView(line.substr(0, eq), " \t");
    std::string_view value = trimmedView(line.substr(eq + 1), " \t");
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
      value = value.substr(1, value.size() - 2);
    // The first line of a key is the one read.
    const auto is = [&](std::string_view name, bool& seen) {
      if (seen || !dos::equalsNoCase(key, name)) return false;
      seen = true;
      return true;
    };
    if (is("title", hasTitle)) {
      a.title = value;
    } else if (is("local", a.hasLocal)) {
      a.local = value;
    } else if (is("remote", a.hasRemote)) {
      a.remote = value;
    } else if (is("layer", a.hasLayer)) {
      a.layerText = withoutComment(value);
      a.layer = wholeNumber(a.layerText);
    } else if (is("active", hasActive)) {
      a.activeText = withoutComment(value);
      a.active = dos::equalsNoCase(a.activeText, "TRUE")    ? SceneryArea::Active::On
                 : dos::equalsNoCase(a.activeText, "FALSE") ? SceneryArea::Active::Off
                                                            : SceneryArea::Active::Unclear;
    } else if (is("required", hasRequired)) {
      a.required = dos::equalsNoCase(withoutComment(value), "TRUE");
    }
  }
  if (!a.hasLocal)
    a.problems.push_back("It has no Local= line, so the simulator cannot find its folder.");
  else if (a.local.empty())
    a.problems.push_back("Its Local= line names no folder.");
  if (!a.hasLayer)
    a.problems.push_back("It has no Layer= line.");
  else if (!a.layer)
    a.problems.push_back("Its layer " + quoted(a.layerText) + " is not a whole number.");
  if (a.active == SceneryArea::Active::Unclear)
    a.problems.push_back("Its Active= value " + quoted(a.activeText) +
                         " is neither TRUE nor FALSE.");
  return a;
}

// The line with its value replaced: the key, the blanks around "=", a comment after the value
// and the line end stay as they are.
std::string withValue(const std::string& line, const std::string& value) {
  const size_t eq = line.find('=');
  const size_t end = line.find_last_not_of("\r\n") + 1;
  size_t from = line.find_first_not_of(" \t", eq + 1);
  if (from == std::string::npos || from > end) from = end;
  const std::string_view rest(line.data() + from, end - from);
  size_t to = std::min(rest.find(';'), rest.find("//"));
  if (to == std::string_view::npos) to = rest.size();
  while (to > 0 && (rest[to - 1] == ' ' || rest[to - 1] == '\t')) --to;
  return line.substr(0, from) + value + line.substr(from + to);
}

// "X", "X and Y", "X and 3 more": other areas named in a flag.
std::string othersNamed(const SceneryList& list, const std::vector<size_t>& group, size_t self) {
  std::string first;
  size_t others = 0;
  for (size_t i : group) {
    if (i == self) continue;
    if (others++ == 0)
      first = list.areas[i].title.empty() ? list.areas[i].header : list.areas[i].title;
  }
  if (others <= 1) return first;
  return first + " and " + std::to_string(others - 1) + " more";
}

// A full DOS path with nothing to resolve in it: no "." or ".." and no doubled separator.
bool plainPath(const std::string& path) {
  if (path.size() < 3 || path[1] != ':' || path[2] != '\\') return false;
  for (size_t from = 3; from <= path.size();) {
    size_t end = path.find('\\', from);
    if (end == std::string::npos) end = path.size();
    const std::string_view part(path.data() + from, end - from);
    if ((part.empty() && end != path.size()) || part == "." || part == "..") return false;
    from = end + 1;
  }
  return true;
}

std::string fullFolder(FileSystem& fs, const std::string& simulator, const std::string& value) {
  const std::string folder = areaFolder(simulator, value);
  if (plainPath(folder)) return folder;
  try {
    return fs.fullPath(folder);
  } catch (const FileError&) {
    return folder;
  }
}

bool hasSceneryFolder(const FileSystem::FolderListing& listing, std::string& name) {
  for (const std::string& f : listing.folders)
    if (dos::equalsNoCase(f, "scenery")) {
      name = f;
      return true;
    }
  return false;
}

// Looks into the folders not looked into yet: each once, those of one parent together, then
// the scenery sub-folders of those without a .bgl file of their own.
void lookInto(FileSystem& fs, std::vector<std::string> folders, FolderCache& cache) {
  // In order, those of one parent come one after another: the parent is found once for them.
  std::sort(folders.begin(), folders.end());
  folders.erase(std::unique(folders.begin(), folders.end()), folders.end());
  const std::vector<std::optional<FileSystem::FolderListing>> listed =
      fs.listFolders(folders, "*.bgl");
  std::vector<std::string> deeper, owners;
  for (size_t k = 0; k < folders.size(); ++k) {
    FolderState& state = cache[dos::lower(folders[k])];
    std::string sub;
    if (!listed[k]) {
      state = FolderState::Missing;
    } else if (!listed[k]->files.empty()) {
      state = FolderState::Fine;
    } else {
      // The classic layout: the area names the folder, its files lie in its scenery folder.
      state = FolderState::NoSceneryFiles;
      if (hasSceneryFolder(*listed[k], sub)) {
        deeper.push_back(folders[k] + "\\" + sub);
        owners.push_back(dos::lower(folders[k]));
      }
    }
  }
  const std::vector<std::optional<FileSystem::FolderListing>> below =
      fs.listFolders(deeper, "*.bgl");
  for (size_t k = 0; k < deeper.size(); ++k)
    if (below[k] && !below[k]->files.empty()) cache[owners[k]] = FolderState::Fine;
}

}  // namespace

SceneryList::SceneryList(std::string_view text) : lines(text) {
  // The sections as ConfigLines::sections finds them, without a copy of each line.
  std::vector<ConfigLines::Section> sections;
  sections.reserve(lines.lines.size() / 4);
  for (size_t k = 0; k < lines.lines.size(); ++k) {
    std::optional<std::string> name = headerName(lines.lines[k]);
    if (!name) continue;
    if (!sections.empty()) sections.back().end = k;
    sections.push_back({std::move(*name), k, lines.lines.size()});
  }
  std::unordered_map<std::string, size_t> headers;
  areas.reserve(sections.size());
  for (const ConfigLines::Section& s : sections) {
    if (!isAreaSection(s.name)) continue;
    areas.push_back(readArea(lines, s));
    // Of two areas under one header the simulator reads the first.
    if (const auto [first, fresh] = headers.emplace(s.name, areas.size() - 1);
        !fresh && areas.back().readableHeader)
      areas.back().problems.insert(
          areas.back().problems.begin(),
          "An earlier area has the same header " + areas.back().header + " (" +
              (areas[first->second].title.empty() ? std::string("no title")
                                                  : areas[first->second].title) +
              "): the simulator reads only that one.");
  }
}

SectionKey areaKey(const SceneryArea& area) {
  // A header the simulator cannot read is found by its own name; a readable one under any
  // number, as it may have been renumbered since.
  return {area.readableHeader ? "area." : area.section.name,
          {{"title", withoutComment(area.title)}, {"local", withoutComment(area.local)}}};
}

std::vector<size_t> SceneryList::layerOrder() const {
  std::vector<size_t> order(areas.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [this](size_t a, size_t b) {
    const std::optional<long long>&la = areas[a].layer, &lb = areas[b].layer;
    if (la && lb) return *la > *lb;
    return la.has_value() && !lb;
  });
  return order;
}

std::string areaFolder(const std::string& simulator, std::string value) {
  std::replace(value.begin(), value.end(), '/', '\\');
  while (value.size() > 1 && value.back() == '\\' && !(value.size() == 3 && value[1] == ':'))
    value.pop_back();
  if (value.size() >= 2 && value[1] == ':' && std::isalpha((unsigned char)value[0])) return value;
  if (!value.empty() && value[0] == '\\') return simulator.substr(0, 2) + value;
  return simulator + (simulator.ends_with('\\') ? "" : "\\") + value;
}

void flagAreas(SceneryList& list, FileSystem& fs, const std::string& simulator,
               FolderCache& folders) {
  // Each folder's key, its full path in lower case, worked out once.
  std::vector<std::string> unknown, keys(list.areas.size());
  for (size_t i = 0; i < list.areas.size(); ++i) {
    SceneryArea& a = list.areas[i];
    if (a.hasRemote && !a.remote.empty()) a.remoteFolder = fullFolder(fs, simulator, a.remote);
    if (!a.hasLocal || a.local.empty()) continue;
    a.folder = fullFolder(fs, simulator, a.local);
    keys[i] = dos::lower(a.folder);
    if (!folders.count(keys[i])) unknown.push_back(a.folder);
  }
  if (!unknown.empty()) lookInto(fs, std::move(unknown), folders);

  // Areas of one folder, or of one layer, lie next to each other once sorted.
  std::vector<size_t> byFolder, byLayer;
  for (size_t i = 0; i < list.areas.size(); ++i) {
    SceneryArea& a = list.areas[i];
    if (a.layer) byLayer.push_back(i);
    if (a.folder.empty()) continue;
    byFolder.push_back(i);
    const FolderState state = folders.at(keys[i]);
    if (state == FolderState::Missing)
      a.problems.push_back("The folder " + a.folder + " does not exist.");
    else if (state == FolderState::NoSceneryFiles)
      a.problems.push_back("The folder " + a.folder +
                           " holds no .bgl file, and neither does its scenery sub-folder.");
  }
  const auto groups = [&](std::vector<size_t>& order, const auto& less, const auto& flag) {
    std::stable_sort(order.begin(), order.end(), less);
    for (size_t from = 0; from < order.size();) {
      size_t to = from + 1;
      while (to < order.size() && !less(order[from], order[to])) ++to;
      if (to - from > 1) {
        const std::vector<size_t> group(order.begin() + long(from), order.begin() + long(to));
        for (size_t i : group) flag(list.areas[i], othersNamed(list, group, i));
      }
      from = to;
    }
  };
  groups(
      byFolder, [&](size_t x, size_t y) { return keys[x] < keys[y]; },
      [](SceneryArea& a, const std::string& others) {
        a.problems.push_back("It names the same folder as " + others + ".");
      });
  groups(
      byLayer, [&](size_t x, size_t y) { return *list.areas[x].layer < *list.areas[y].layer; },
      [](SceneryArea& a, const std::string& others) {
        a.problems.push_back("It has the same layer, " + std::to_string(*a.layer) + ", as " +
                             others + ".");
      });
}

ListChange setActive(const SceneryList& list, size_t area, bool active) {
  const SceneryArea& a = list.areas.at(area);
  ConfigLines lines = list.lines;
  ConfigEdit e;
  e.op = ConfigEdit::Op::Set;
  e.section = areaKey(a);
  e.key = "active";
  const std::string value = active ? "TRUE" : "FALSE";
  if (const std::optional<size_t> line = lines.lineOf(a.section, "active")) {
    e.was = lines.lines[*line];
    lines.lines[*line] = withValue(e.was, value);
    e.now = lines.lines[*line];
  } else {
    // After the area's last line; a last line of the file without a line end gets one, and
    // the new line goes without, as that one was.
    const size_t at = lines.contentEnd(a.section);
    std::string& before = lines.lines[at - 1];
    const bool ended = before.ends_with('\n') || before.ends_with('\r');
    e.now = "Active=" + value + (ended ? lines.lineEnd() : "");
    if (!ended) {
      before += lines.lineEnd();
      e.joinedLineEnd = lines.lineEnd();
    }
    lines.lines.insert(lines.lines.begin() + long(at), e.now);
  }
  return {lines.text(), {e}};
}

ListChange exchangeLayers(const SceneryList& list, size_t a, size_t b) {
  ConfigLines lines = list.lines;
  ListChange change;
  for (const auto& [self, other] : {std::pair{a, b}, std::pair{b, a}}) {
    const SceneryArea& area = list.areas.at(self);
    const std::optional<size_t> at = lines.lineOf(area.section, "layer");
    if (!at) throw FileError(err::TypeMismatch, area.title + " has no Layer= line.");
    ConfigEdit e;
    e.op = ConfigEdit::Op::Set;
    e.section = areaKey(area);
    e.key = "layer";
    e.was = lines.lines[*at];
    lines.lines[*at] = withValue(e.was, list.areas.at(other).layerText);
    e.now = lines.lines[*at];
    change.edits.push_back(std::move(e));
  }
  change.text = lines.text();
  return change;
}

ListChange removeArea(const SceneryList& list, size_t area) {
  const SceneryArea& a = list.areas.at(area);
  ConfigLines lines = list.lines;
  ConfigEdit e;
  e.op = ConfigEdit::Op::Removed;
  e.section = areaKey(a);
  // The sections around it, where it goes back when the removal is taken back.
  const std::vector<ConfigLines::Section> sections = list.lines.sections();
  for (size_t k = 0; k < sections.size(); ++k) {
    if (sections[k].header != a.section.header) continue;
    const auto keyFor = [&](const ConfigLines::Section& s) {
      return isAreaSection(s.name) ? keyOfArea(list.lines, s, readableAreaName(s.name))
                                   : keyOf(list.lines, s, s.name, {});
    };
    if (k > 0) e.before = keyFor(sections[k - 1]);
    if (k + 1 < sections.size()) e.after = keyFor(sections[k + 1]);
  }
  // The area goes with the blank line that sets it apart before its header; the blank lines
  // after it set the next one apart.
  const size_t from = a.section.header > 0 && lines.blank(a.section.header - 1)
                          ? a.section.header - 1
                          : a.section.header;
  const size_t to = lines.contentEnd(a.section);
  for (size_t k = from; k < to; ++k) e.lines += lines.lines[k];
  lines.lines.erase(lines.lines.begin() + long(from), lines.lines.begin() + long(to));
  return {lines.text(), {e}};
}

ListChange addArea(const SceneryList& list, const std::string& entry,
                   const std::string& joinedLineEnd) {
  const ConfigLines added(entry);
  const std::vector<ConfigLines::Section> sections = added.sections();
  ConfigEdit e;
  e.op = ConfigEdit::Op::Added;
  if (!sections.empty()) e.section = keyOfArea(added, sections.front(), true);
  e.lines = entry;
  e.joinedLineEnd = joinedLineEnd;
  return {list.lines.text() + joinedLineEnd + entry, {e}};
}

}  // namespace orvex

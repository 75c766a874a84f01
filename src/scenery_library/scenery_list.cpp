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

SectionKey keyOfArea(const ConfigLines& lines, const ConfigLines::Section& s, bool readable) {
  // A header the simulator cannot read is found by its own name; a readable one under any
  // number, as it may have been renumbered since.
  return keyOf(lines, s, readable ? "area." : s.name, {"title", "local"});
}

SceneryArea readArea(const ConfigLines& lines, const ConfigLines::Section& s) {
  SceneryArea a;
  a.section = s;
  a.header = trimmedLine(lines.lines[s.header]);
  a.readableHeader = readableAreaName(s.name);
  if (!a.readableHeader)
    a.problems.push_back("The simulator does not read its header " + a.header + ".");
  bool hasTitle = false, hasActive = false, hasRequired = false;
  for (size_t k = s.header + 1; k < s.end; ++k) {
    const std::string line = trimmedLine(lines.lines[k]);
    if (line.empty() || line[0] == ';' || line.rfind("//", 0) == 0) continue;
    if (line[0] == '[') {
      a.problems.push_back("The simulator does not read the broken header " + quoted(line) + ".");
      continue;
    }
    const std::optional<Entry> e = entryOf(line);
    if (!e) {
      a.problems.push_back("The simulator does not read the line " + quoted(line) + ".");
      continue;
    }
    // The first line of a key is the one read.
    if (e->key == "title" && !hasTitle) {
      hasTitle = true;
      a.title = e->value;
    } else if (e->key == "local" && !a.hasLocal) {
      a.hasLocal = true;
      a.local = e->value;
    } else if (e->key == "remote" && !a.hasRemote) {
      a.hasRemote = true;
      a.remote = e->value;
    } else if (e->key == "layer" && !a.hasLayer) {
      a.hasLayer = true;
      a.layerText = withoutComment(e->value);
      a.layer = wholeNumber(a.layerText);
    } else if (e->key == "active" && !hasActive) {
      hasActive = true;
      a.activeText = withoutComment(e->value);
      a.active = dos::equalsNoCase(a.activeText, "TRUE")    ? SceneryArea::Active::On
                 : dos::equalsNoCase(a.activeText, "FALSE") ? SceneryArea::Active::Off
                                                            : SceneryArea::Active::Unclear;
    } else if (e->key == "required" && !hasRequired) {
      hasRequired = true;
      a.required = dos::equalsNoCase(withoutComment(e->value), "TRUE");
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
  a.key = keyOfArea(lines, s, a.readableHeader);
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

FolderState lookInto(FileSystem& fs, const std::string& folder) {
  try {
    if (!fs.listFiles(folder, "*.bgl").empty()) return FolderState::Fine;
  } catch (const FileError&) {
    return FolderState::Missing;
  }
  // The classic layout: the area names the folder, its files lie in its scenery sub-folder.
  try {
    if (!fs.listFiles(folder + "\\scenery", "*.bgl").empty()) return FolderState::Fine;
  } catch (const FileError&) {
    // No such sub-folder: nothing there either.
  }
  return FolderState::NoSceneryFiles;
}

std::string fullFolder(FileSystem& fs, const std::string& simulator, const std::string& value) {
  const std::string folder = areaFolder(simulator, value);
  try {
    return fs.fullPath(folder);
  } catch (const FileError&) {
    return folder;
  }
}

}  // namespace

SceneryList::SceneryList(std::string_view text) : lines(text) {
  std::unordered_map<std::string, size_t> headers;
  for (const ConfigLines::Section& s : lines.sections()) {
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
  std::unordered_map<std::string, std::vector<size_t>> byFolder;
  std::unordered_map<long long, std::vector<size_t>> byLayer;
  for (size_t i = 0; i < list.areas.size(); ++i) {
    SceneryArea& a = list.areas[i];
    if (a.hasRemote && !a.remote.empty()) a.remoteFolder = fullFolder(fs, simulator, a.remote);
    if (a.layer) byLayer[*a.layer].push_back(i);
    if (!a.hasLocal || a.local.empty()) continue;
    a.folder = fullFolder(fs, simulator, a.local);
    const std::string key = dos::lower(a.folder);
    auto [known, fresh] = folders.try_emplace(key, FolderState::Fine);
    if (fresh) known->second = lookInto(fs, a.folder);
    if (known->second == FolderState::Missing)
      a.problems.push_back("The folder " + a.folder + " does not exist.");
    else if (known->second == FolderState::NoSceneryFiles)
      a.problems.push_back("The folder " + a.folder +
                           " holds no .bgl file, and neither does its scenery sub-folder.");
    byFolder[key].push_back(i);
  }
  for (const auto& [folder, group] : byFolder)
    if (group.size() > 1)
      for (size_t i : group)
        list.areas[i].problems.push_back("It names the same folder as " +
                                         othersNamed(list, group, i) + ".");
  for (const auto& [layer, group] : byLayer)
    if (group.size() > 1)
      for (size_t i : group)
        list.areas[i].problems.push_back("It has the same layer, " + std::to_string(layer) +
                                         ", as " + othersNamed(list, group, i) + ".");
}

ListChange setActive(const SceneryList& list, size_t area, bool active) {
  const SceneryArea& a = list.areas.at(area);
  ConfigLines lines = list.lines;
  ConfigEdit e;
  e.op = ConfigEdit::Op::Set;
  e.section = a.key;
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
    e.section = area.key;
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
  e.section = a.key;
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
  for (size_t k = a.section.header; k < a.section.end; ++k) e.lines += lines.lines[k];
  lines.lines.erase(lines.lines.begin() + long(a.section.header),
                    lines.lines.begin() + long(a.section.end));
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

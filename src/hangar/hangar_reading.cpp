// Reading the simulator's aircraft folders for the Hangar, and keeping what was read.
#include "hangar/hangar_reading.h"

#include <algorithm>
#include <optional>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "platform/config_edit.h"
#include "platform/config_entries.h"
#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/fields.h"
#include "platform/file_system.h"
#include "platform/text_encoding.h"

namespace orvex {
namespace {

constexpr std::string_view kKept = "hangar 1:";

using Names = std::unordered_set<std::string>;  // lower case

void noteOnce(std::vector<std::string>& names, const std::string& name) {
  for (const std::string& n : names)
    if (dos::equalsNoCase(n, name)) return;
  names.push_back(name);
}

bool hasGauge(const Names& names, const std::string& gauge) {
  const std::string lower = dos::lower(gauge);
  return names.count(lower + ".gau") || names.count(lower + ".dll");
}

class AircraftReading {
 public:
  AircraftReading(FileSystem& fs, const std::string& aircraftDir, const std::string& folder)
      : fs_(fs), aircraftDir_(aircraftDir), name_(dos::fileName(folder)), folder_(folder) {}

  HangarAircraft read() {
    HangarAircraft& a = a_;
    a.folder = name_;
    look(name_);
    Names subFolders, files;
    try {
      for (const std::string& sub : fs_.listDirs(folder_))
        subFolders.insert(dos::lower(dos::fileName(sub)));
      for (const std::string& f : fs_.listFiles(folder_, "*.*")) files.insert(dos::lower(f));
    } catch (const FileError& e) {
      a.readFailed = true;
      problem("This folder cannot be read: " + errorText("Error", e) + ".");
    }
    std::optional<std::string> cfg;
    if (files.count("aircraft.cfg")) {
      look(name_ + "\\Aircraft.cfg");
      cfg = text("Aircraft.cfg", folder_ + "\\Aircraft.cfg");
    } else {
      problem("No Aircraft.cfg in this folder.");
    }
    if (!cfg) {
      a.title = a.folder;
      a.gaugeProblemsAt = a.problems.size();
      return std::move(a);
    }
    const ConfigLines lines(*cfg);
    std::vector<std::string> panels, sounds, textures;
    for (const ConfigLines::Section& s : lines.sections()) {
      if (!dos::startsWith(s.name, "fltsim.")) continue;
      a.liveries.push_back(
          {s.name, lines.value(s, "title").value_or(""), lines.value(s, "texture").value_or("")});
      for (const char* key : {"model", "panel", "sound", "texture"}) {
        const std::optional<std::string> value = lines.value(s, key);
        const std::string base = key;
        const std::string name = value && !value->empty() ? base + "." + *value : base;
        if (!subFolders.count(dos::lower(name))) {
          problem("The " + base + " folder " + name + " that [" + s.name + "] names is missing.");
          continue;
        }
        if (base == "panel") noteOnce(panels, name);
        if (base == "sound") noteOnce(sounds, name);
        if (base == "texture") noteOnce(textures, name);
      }
    }
    for (const std::string& texture : textures) readTextures(texture);
    a.gaugeProblemsAt = a.problems.size();
    for (const std::string& panel : panels) checkPanel(panel);
    for (const std::string& sound : sounds) checkBorrowed("sound", sound, "sound.cfg");
    a.title = a.liveries.empty() || dos::isBlank(a.liveries.front().title)
                  ? a.folder
                  : a.liveries.front().title;
    return std::move(a);
  }

 private:
  void look(const std::string& relative) { a_.looked.emplace_back(relative, 0); }

  void problem(const std::string& text) {
    if (std::find(a_.problems.begin(), a_.problems.end(), text) == a_.problems.end())
      a_.problems.push_back(text);
  }

  // A configuration file decoded; nothing, with the problem noted, when it cannot be read.
  std::optional<std::string> text(const std::string& shown, const std::string& path) {
    try {
      std::string why;
      if (std::optional<DecodedText> decoded = decodeText(fs_.readFile(path), why))
        return std::move(decoded->text);
      problem(shown + " cannot be read: " + why + ".");
    } catch (const FileError& e) {
      a_.readFailed = true;
      problem(shown + " cannot be read: " + errorText("Error", e) + ".");
    }
    return std::nullopt;
  }

  // The files of a folder, lower case; none when it cannot be listed.
  Names filesOf(const std::string& relative) {
    look(name_ + "\\" + relative);
    Names names;
    try {
      for (const std::string& f : fs_.listFiles(folder_ + "\\" + relative, "*.*"))
        names.insert(dos::lower(f));
    } catch (const FileError&) {
      // Read as empty: what it should hold is then told of as missing.
      a_.readFailed = true;
    }
    return names;
  }

  void readTextures(const std::string& texture) {
    for (const std::string& f : filesOf(texture))
      if (std::find(a_.textureFiles.begin(), a_.textureFiles.end(), f) == a_.textureFiles.end())
        a_.textureFiles.push_back(f);
  }

  // A folder whose configuration borrows another aircraft's ([fltsim] alias=Other\panel);
  // its own configuration's text, with the names of the folder's files, when it has one.
  std::optional<ConfigLines> checkBorrowed(const std::string& kind, const std::string& name,
                                           const std::string& file, Names* files = nullptr) {
    Names own = filesOf(name);
    if (files) *files = own;
    if (!own.count(dos::lower(file))) return std::nullopt;  // the simulator's defaults serve
    look(name_ + "\\" + name + "\\" + file);
    const std::optional<std::string> cfg =
        text(name + "\\" + file, folder_ + "\\" + name + "\\" + file);
    if (!cfg) return std::nullopt;
    ConfigLines lines(*cfg);
    for (const ConfigLines::Section& s : lines.sections()) {
      if (s.name != "fltsim") continue;
      const std::optional<std::string> alias = lines.value(s, "alias");
      if (!alias) continue;
      std::string target = *alias;
      std::replace(target.begin(), target.end(), '/', '\\');
      a_.looked.emplace_back(dos::parentOf(target), 0);
      if (!fs_.isDirectory(aircraftDir_ + "\\" + target))
        problem("The " + kind + " folder " + name + " borrows " + *alias + ", which is missing.");
      return std::nullopt;
    }
    return lines;
  }

  void checkPanel(const std::string& panel) {
    Names files;
    const std::optional<ConfigLines> lines = checkBorrowed("panel", panel, "panel.cfg", &files);
    if (!lines) return;
    std::set<std::string> bitmaps;
    for (const std::string& line : lines->lines) {
      const std::optional<Entry> e = entryOf(dos::trim(line, " \t\r\n"));
      if (!e || sectionOf(line)) continue;
      if (dos::startsWith(e->key, "gauge")) {
        const std::string gauge = dos::trim(e->value.substr(0, e->value.find_first_of("!,")));
        if (gauge.empty()) continue;
        noteOnce(a_.gauges, gauge);
        if (!hasGauge(files, gauge)) noteOnce(a_.gaugesElsewhere, gauge);
      } else if (const std::string bmp = bitmapName(e->key + "=" + e->value); !bmp.empty()) {
        bitmaps.insert(bmp);
      }
    }
    // Told of after the gauges, which the Hangar adds where the reading left their place.
    for (const std::string& bmp : bitmaps) {
      const bool there = bmp.find('\\') == std::string::npos
                             ? files.count(dos::lower(bmp)) > 0
                             : fs_.isFile(folder_ + "\\" + panel + "\\" + bmp);
      if (!there) problem("panel.cfg names the bitmap " + bmp + ", which is missing.");
    }
  }

  FileSystem& fs_;
  const std::string& aircraftDir_;
  const std::string name_;
  const std::string folder_;
  HangarAircraft a_;
};

void putList(std::string& out, const std::vector<std::string>& list) {
  putField(out, std::to_string(list.size()));
  for (const std::string& s : list) putField(out, s);
}

std::string keep(const std::vector<HangarAircraft>& hangar) {
  std::string out(kKept);
  for (const HangarAircraft& a : hangar) {
    if (a.readFailed) continue;
    putField(out, a.folder);
    putField(out, a.title);
    putField(out, std::to_string(a.liveries.size()));
    for (const HangarLivery& l : a.liveries) {
      putField(out, l.section);
      putField(out, l.title);
      putField(out, l.texture);
    }
    putList(out, a.problems);
    putList(out, a.textureFiles);
    putList(out, a.gauges);
    putList(out, a.gaugesElsewhere);
    putField(out, std::to_string(a.gaugeProblemsAt));
    putField(out, std::to_string(a.looked.size()));
    for (const auto& [path, time] : a.looked) {
      putField(out, path);
      putField(out, std::to_string(time));
    }
  }
  return out;
}

bool takeList(FieldReader& in, std::vector<std::string>& list) {
  const std::optional<long long> n = in.number();
  if (!n || *n < 0) return false;
  for (long long k = 0; k < *n; ++k) {
    const std::optional<std::string_view> s = in.next();
    if (!s) return false;
    list.emplace_back(*s);
  }
  return true;
}

// What was kept, by folder in lower case; nothing of a text that is not what keep writes.
std::unordered_map<std::string, HangarAircraft> kept(std::string_view text) {
  std::unordered_map<std::string, HangarAircraft> all;
  if (!text.starts_with(kKept)) return all;
  FieldReader in(text.substr(kKept.size()));
  while (!in.done()) {
    HangarAircraft a;
    const std::optional<std::string_view> folder = in.next(), title = in.next();
    const std::optional<long long> liveries = in.number();
    if (!folder || !title || !liveries || *liveries < 0) return {};
    a.folder = *folder;
    a.title = *title;
    for (long long k = 0; k < *liveries; ++k) {
      const std::optional<std::string_view> s = in.next(), t = in.next(), x = in.next();
      if (!s || !t || !x) return {};
      a.liveries.push_back({std::string(*s), std::string(*t), std::string(*x)});
    }
    if (!takeList(in, a.problems) || !takeList(in, a.textureFiles) || !takeList(in, a.gauges) ||
        !takeList(in, a.gaugesElsewhere))
      return {};
    const std::optional<long long> at = in.number(), looked = in.number();
    if (!at || *at < 0 || size_t(*at) > a.problems.size() || !looked || *looked < 0) return {};
    a.gaugeProblemsAt = size_t(*at);
    for (long long k = 0; k < *looked; ++k) {
      const std::optional<std::string_view> path = in.next();
      const std::optional<long long> time = in.number();
      if (!path || !time) return {};
      a.looked.emplace_back(*path, *time);
    }
    std::string key = dos::lower(a.folder);
    all.emplace(std::move(key), std::move(a));
  }
  return all;
}

// The times of what was read; none known where they cannot be had, so that it is read again.
std::vector<std::optional<long long>> timesOf(FileSystem& fs,
                                              const std::vector<std::string>& paths) {
  try {
    return fs.entryTimes(paths);
  } catch (const FileError&) {
    return std::vector<std::optional<long long>>(paths.size());
  }
}

}  // namespace

HangarReading readHangar(FileSystem& fs, const std::string& simulator, std::string_view keptText) {
  HangarReading reading;
  const std::string aircraftDir = simulator + "\\Aircraft";
  std::vector<std::string> folders;
  try {
    folders = fs.listDirs(aircraftDir);
  } catch (const FileError&) {
    return reading;
  }
  Names gauges;
  try {
    for (const std::string& g : fs.listFiles(simulator + "\\Gauges", "*.*"))
      gauges.insert(dos::lower(g));
  } catch (const FileError&) {
    // No Gauges folder: every gauge a panel names is missing from it.
  }

  // What was kept holds for an aircraft while everything it was read from is as it was then.
  std::unordered_map<std::string, HangarAircraft> before = kept(keptText);
  std::vector<std::string> paths;
  for (const std::string& folder : folders) {
    const auto found = before.find(dos::lower(dos::fileName(folder)));
    if (found != before.end())
      for (const auto& looked : found->second.looked)
        paths.push_back(aircraftDir + "\\" + looked.first);
  }
  const std::vector<std::optional<long long>> times = timesOf(fs, paths);

  bool changed = folders.size() != before.size();
  std::vector<size_t> fresh;
  size_t k = 0;
  for (const std::string& folder : folders) {
    const auto found = before.find(dos::lower(dos::fileName(folder)));
    if (found != before.end()) {
      bool same = true;
      for (const auto& looked : found->second.looked) same = same && times[k++] == looked.second;
      if (same) {
        reading.aircraft.push_back(std::move(found->second));
        continue;
      }
    }
    changed = true;
    fresh.push_back(reading.aircraft.size());
    reading.aircraft.push_back(AircraftReading(fs, aircraftDir, folder).read());
  }
  if (changed) {
    // The times of what was read, taken together: one look per folder.
    std::vector<std::string> looked;
    for (size_t f : fresh)
      for (const auto& l : reading.aircraft[f].looked)
        looked.push_back(aircraftDir + "\\" + l.first);
    const std::vector<std::optional<long long>> now = timesOf(fs, looked);
    size_t n = 0;
    for (size_t f : fresh)
      for (auto& l : reading.aircraft[f].looked) l.second = now[n++].value_or(-2);
    reading.toKeep = keep(reading.aircraft);
  }

  // The gauges a panel needs from the simulator's Gauges folder, as it is now.
  for (HangarAircraft& a : reading.aircraft) {
    std::vector<std::string> missing;
    for (const std::string& g : a.gaugesElsewhere)
      if (!hasGauge(gauges, g))
        missing.push_back("panel.cfg names the gauge " + g +
                          ", which is in neither Gauges nor the panel folder.");
    a.problems.insert(a.problems.begin() + long(a.gaugeProblemsAt), missing.begin(), missing.end());
  }
  std::stable_sort(reading.aircraft.begin(), reading.aircraft.end(),
                   [](const HangarAircraft& a, const HangarAircraft& b) {
                     return dos::lower(a.title) < dos::lower(b.title);
                   });
  return reading;
}

}  // namespace orvex

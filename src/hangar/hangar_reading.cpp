// Reading the simulator's aircraft folders for the Hangar.
#include "hangar/hangar_reading.h"

#include <algorithm>
#include <optional>
#include <set>

#include "platform/config_entries.h"
#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/text_encoding.h"
#include "platform/text_reading.h"

namespace orvex {
namespace {

struct Section {
  std::string name;  // "fltsim.1", lower case
  std::vector<Entry> entries;
  const std::string* value(const std::string& key) const {
    for (const Entry& e : entries)
      if (e.key == key) return &e.value;
    return nullptr;
  }
};

// The sections of a configuration text; entries before the first header go to a section
// without a name.
std::vector<Section> sectionsOf(const std::string& text) {
  std::vector<Section> sections(1);
  LineReader lines(text);
  while (!lines.eof()) {
    const std::string line = lines.next();
    if (const std::optional<std::string> name = sectionOf(line)) {
      sections.push_back({*name, {}});
    } else if (std::optional<Entry> entry = entryOf(line)) {
      entry->value = withoutComment(entry->value);
      sections.back().entries.push_back(std::move(*entry));
    }
  }
  return sections;
}

class AircraftReading {
 public:
  AircraftReading(FileSystem& fs, const std::string& simulator, const std::string& folder)
      : fs_(fs), simulator_(simulator), folder_(folder) {}

  HangarAircraft read() {
    HangarAircraft a;
    a.folder = dos::fileName(folder_);
    const std::optional<std::string> cfg = text("Aircraft.cfg", folder_ + "\\Aircraft.cfg");
    if (!cfg) {
      a.title = a.folder;
      a.problems = problems_;
      return a;
    }
    std::vector<std::string> panels, sounds;
    for (const Section& s : sectionsOf(*cfg)) {
      if (!dos::startsWith(s.name, "fltsim.")) continue;
      if (const std::string* title = s.value("title")) a.liveries.push_back(*title);
      for (const char* key : {"model", "panel", "sound", "texture"}) {
        const std::string* value = s.value(key);
        const std::string base = std::string(key);
        const std::string name = value && !value->empty() ? base + "." + *value : base;
        if (!fs_.isDirectory(folder_ + "\\" + name)) {
          problem("The " + base + " folder " + name + " that [" + s.name + "] names is missing.");
          continue;
        }
        if (base == "panel") note(panels, name);
        if (base == "sound") note(sounds, name);
      }
    }
    for (const std::string& panel : panels) checkPanel(panel);
    for (const std::string& sound : sounds) checkBorrowed("sound", sound, "sound.cfg");
    a.title =
        a.liveries.empty() || dos::isBlank(a.liveries.front()) ? a.folder : a.liveries.front();
    a.problems = problems_;
    return a;
  }

 private:
  static void note(std::vector<std::string>& names, const std::string& name) {
    for (const std::string& n : names)
      if (dos::equalsNoCase(n, name)) return;
    names.push_back(name);
  }

  void problem(const std::string& text) {
    if (std::find(problems_.begin(), problems_.end(), text) == problems_.end())
      problems_.push_back(text);
  }

  // A configuration file decoded; nothing, with the problem noted, when it is missing or
  // cannot be read.
  std::optional<std::string> text(const std::string& shown, const std::string& path) {
    if (!fs_.isFile(path)) {
      problem("No " + shown + " in this folder.");
      return std::nullopt;
    }
    try {
      std::string why;
      if (std::optional<DecodedText> decoded = decodeText(fs_.readFile(path), why))
        return decoded->text;
      problem(shown + " cannot be read: " + why + ".");
    } catch (const FileError& e) {
      problem(shown + " cannot be read: " + errorText("Error", e) + ".");
    }
    return std::nullopt;
  }

  // A folder whose configuration borrows another aircraft's ([fltsim] alias=Other\panel);
  // the configuration's sections when it is its own.
  std::optional<std::vector<Section>> checkBorrowed(const std::string& kind,
                                                    const std::string& name,
                                                    const std::string& file) {
    const std::string path = folder_ + "\\" + name + "\\" + file;
    if (!fs_.isFile(path)) return std::nullopt;  // the simulator's defaults serve
    const std::optional<std::string> cfg = text(name + "\\" + file, path);
    if (!cfg) return std::nullopt;
    std::vector<Section> sections = sectionsOf(*cfg);
    for (const Section& s : sections) {
      const std::string* alias = s.name == "fltsim" ? s.value("alias") : nullptr;
      if (!alias) continue;
      std::string target = *alias;
      std::replace(target.begin(), target.end(), '/', '\\');
      if (!fs_.isDirectory(simulator_ + "\\Aircraft\\" + target))
        problem("The " + kind + " folder " + name + " borrows " + *alias + ", which is missing.");
      return std::nullopt;
    }
    return sections;
  }

  void checkPanel(const std::string& panel) {
    const std::string panelFolder = folder_ + "\\" + panel;
    const std::optional<std::vector<Section>> sections = checkBorrowed("panel", panel, "panel.cfg");
    if (!sections) return;
    std::set<std::string> gauges, bitmaps;
    for (const Section& s : *sections)
      for (const Entry& e : s.entries) {
        if (dos::startsWith(e.key, "gauge")) {
          const std::string gauge = dos::trim(e.value.substr(0, e.value.find_first_of("!,")));
          if (!gauge.empty()) gauges.insert(gauge);
        } else if (const std::string bmp = bitmapName(e.key + "=" + e.value); !bmp.empty()) {
          bitmaps.insert(bmp);
        }
      }
    for (const std::string& gauge : gauges) {
      bool found = false;
      for (const char* end : {".gau", ".dll"})
        found = found || fs_.isFile(simulator_ + "\\Gauges\\" + gauge + end) ||
                fs_.isFile(panelFolder + "\\" + gauge + end);
      if (!found)
        problem("panel.cfg names the gauge " + gauge +
                ", which is in neither Gauges nor the panel folder.");
    }
    for (const std::string& bmp : bitmaps)
      if (!fs_.isFile(panelFolder + "\\" + bmp))
        problem("panel.cfg names the bitmap " + bmp + ", which is missing.");
  }

  FileSystem& fs_;
  const std::string& simulator_;
  const std::string folder_;
  std::vector<std::string> problems_;
};

}  // namespace

std::vector<HangarAircraft> readHangar(FileSystem& fs, const std::string& simulator) {
  std::vector<HangarAircraft> hangar;
  std::vector<std::string> folders;
  try {
    folders = fs.listDirs(simulator + "\\Aircraft");
  } catch (const FileError&) {
    return hangar;
  }
  for (const std::string& folder : folders)
    hangar.push_back(AircraftReading(fs, simulator, folder).read());
  std::stable_sort(hangar.begin(), hangar.end(),
                   [](const HangarAircraft& a, const HangarAircraft& b) {
                     return dos::lower(a.title) < dos::lower(b.title);
                   });
  return hangar;
}

}  // namespace orvex

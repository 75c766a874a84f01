// The scan of the assembly area's tree for the add-ons it holds.
#include "assembly/addon_list.h"

#include <algorithm>
#include <optional>

#include "platform/config_entries.h"
#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/text_reading.h"

namespace orvex {
namespace {

constexpr size_t kNamedInContents = 12;
constexpr const char* kTelling = "aircraft.cfg;panel.cfg;sound.cfg;*.bgl";

bool holds(const std::vector<std::string>& files, std::string_view name) {
  return std::any_of(files.begin(), files.end(),
                     [&](const std::string& f) { return dos::equalsNoCase(f, name); });
}

bool isPicture(const std::string& name) {
  for (const char* end : {".bmp", ".jpg", ".jpeg", ".gif", ".png", ".dds", ".tga", ".pcx"})
    if (dos::endsWithNoCase(name, end)) return true;
  return false;
}

std::string titleIn(FileSystem& fs, const std::string& folder) {
  try {
    for (const std::string& item : aircraftItems(fs.readFile(folder + "\\Aircraft.cfg")).items)
      if (const std::optional<Entry> entry = entryOf(item); entry && entry->key == "title")
        return entry->value;
  } catch (const FileError&) {
    // Unreadable: the aircraft is listed without a title, and its install says why.
  }
  return {};
}

class Scan {
 public:
  Scan(FileSystem& fs, const std::string& assembly, std::vector<AddOn>& out)
      : fs_(fs), assembly_(assembly), out_(out) {}

  // The texture folders met outside any aircraft: a repaint's liveries.
  std::vector<std::string> textures;

  void visit(const std::string& dir, int depth) {
    // Only the names that tell what a folder is: the other files need no sorting.
    std::vector<std::string> links;
    const std::vector<std::string> files = fs_.listFilesWithoutLinks(dir, kTelling, links);
    const bool top = dir == assembly_;
    if (!top && dos::lower(dos::fileName(dir)).rfind("texture.", 0) == 0) textures.push_back(dir);
    const bool scenery = std::any_of(files.begin(), files.end(), [](const std::string& f) {
      return dos::endsWithNoCase(f, ".bgl");
    });
    // At the top of the area the scenery comes first, as it always has for flat add-ons.
    if (top && scenery) {
      add(AddOnKind::Scenery, dir);
    } else if (holds(files, "aircraft.cfg")) {
      out_.push_back({AddOnKind::Aircraft, dir, titleIn(fs_, dir)});
      return;
    } else {
      if (holds(files, "panel.cfg")) add(AddOnKind::Panel, dir);
      if (holds(files, "sound.cfg")) add(AddOnKind::Sound, dir);
      if (scenery) {
        // The folder above a "scenery" folder is the scenery's own.
        const bool inner = !top && dos::equalsNoCase(dos::fileName(dir), "scenery");
        add(AddOnKind::Scenery, inner ? dos::parentOf(dir) : dir);
      }
    }
    if (depth >= kDeepestFolder) return;
    for (const std::string& sub : fs_.listDirs(dir))
      if (!fs_.isLink(sub)) visit(sub, depth + 1);
  }

 private:
  void add(AddOnKind kind, const std::string& folder) {
    for (const AddOn& a : out_)
      if (a.kind == kind && dos::equalsNoCase(a.folder, folder)) return;
    out_.push_back({kind, folder, folder == assembly_ ? std::string() : dos::fileName(folder)});
  }

  FileSystem& fs_;
  const std::string& assembly_;
  std::vector<AddOn>& out_;
};

}  // namespace

void AddOnList::scan(FileSystem& fs, const std::string& assembly) {
  clear();
  Scan scan(fs, assembly, addOns_);
  scan.visit(assembly, 0);
  if (!has(AddOnKind::Aircraft))
    for (const std::string& texture : scan.textures)
      addOns_.push_back({AddOnKind::Livery, texture, dos::fileName(texture)});
  // What a pack or a repaint holds beside its add-ons goes once they are installed.
  if (of(AddOnKind::Aircraft).size() > 1 || has(AddOnKind::Livery)) {
    std::vector<std::string> links;
    scannedTop_ = fs.listFilesWithoutLinks(assembly, "*.*", links);
    scannedTop_.insert(scannedTop_.end(), links.begin(), links.end());
    for (const std::string& sub : fs.listDirs(assembly))
      if (!fs.isLink(sub)) scannedTop_.push_back(dos::fileName(sub));
  }
  // Sounds extracted flat without their sound.cfg are still a sound set.
  if (addOns_.empty() && fs.listFiles(assembly, "*.wav").size() > 0)
    addOns_.push_back({AddOnKind::Sound, assembly, {}});
}

void AddOnList::drop(AddOnKind kind, const std::string& folder) {
  addOns_.erase(std::remove_if(addOns_.begin(), addOns_.end(),
                               [&](const AddOn& a) {
                                 return a.kind == kind && dos::equalsNoCase(a.folder, folder);
                               }),
                addOns_.end());
}

bool AddOnList::ofAnother(const std::string& folder, const std::string& relative) const {
  const std::string path = dos::lower(folder + "\\" + relative) + "\\";
  for (const AddOn& a : addOns_) {
    if (dos::equalsNoCase(a.folder, folder)) continue;  // the add-on itself, or one beside it
    if (dos::startsWith(path, dos::lower(a.folder) + "\\")) return true;
  }
  return false;
}

std::vector<const AddOn*> AddOnList::of(AddOnKind kind) const {
  std::vector<const AddOn*> found;
  for (const AddOn& a : addOns_)
    if (a.kind == kind) found.push_back(&a);
  return found;
}

std::string AddOnList::folderOf(AddOnKind kind) const {
  for (const AddOn& a : addOns_)
    if (a.kind == kind) return a.folder;
  return {};
}

std::string AddOnList::contents(FileSystem& fs, const std::string& folder) {
  std::vector<std::string> parts, links;
  for (const std::string& file : fs.listFilesWithoutLinks(folder, "*.*", links))
    parts.push_back(file);
  for (const std::string& sub : fs.listDirs(folder)) {
    if (fs.isLink(sub)) continue;
    std::vector<std::string> innerLinks, inner;
    inner = filesBelow(fs, sub, innerLinks);
    const bool pictures = !inner.empty() && std::all_of(inner.begin(), inner.end(), isPicture);
    const size_t n = inner.size();
    parts.push_back(dos::fileName(sub) + "\\ with " + std::to_string(n) + " " +
                    (pictures ? (n == 1 ? "picture" : "pictures") : (n == 1 ? "file" : "files")));
  }
  for (const std::string& link : links) parts.push_back(link + " (a link)");
  std::string text;
  for (size_t k = 0; k < parts.size() && k < kNamedInContents; ++k)
    text += (k ? ", " : "") + parts[k];
  if (parts.size() > kNamedInContents) text += ", ...";
  return text;
}

std::vector<std::string> textureValues(const std::string& aircraftCfg) {
  std::vector<std::string> values;
  auto note = [&](const std::string& value) {
    for (const std::string& v : values)
      if (dos::equalsNoCase(v, value)) return;
    values.push_back(value);
  };
  std::optional<std::string> texture;  // of the [fltsim.N] section being read
  bool inFltsim = false;
  LineReader lines(aircraftCfg);
  while (!lines.eof()) {
    const std::string line = lines.next();
    if (const std::optional<std::string> section = sectionOf(line)) {
      if (inFltsim) note(texture.value_or(""));
      inFltsim = dos::startsWith(*section, "fltsim.");
      texture.reset();
      continue;
    }
    if (!inFltsim || texture) continue;
    if (const std::optional<Entry> entry = entryOf(line); entry && entry->key == "texture")
      texture = withoutComment(entry->value);
  }
  if (inFltsim) note(texture.value_or(""));
  return values;
}

std::string cleanedTitle(std::string title) {
  for (char c : {'/', '\\', '"', '.'})
    title.erase(std::remove(title.begin(), title.end(), c), title.end());
  return title;
}

}  // namespace orvex

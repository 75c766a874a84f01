// Reading back what an install did on the overlay, file by file.
#include "installed/preview.h"

#include <cstdio>
#include <map>

#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/text_encoding.h"
#include "platform/text_reading.h"
#include "ui/controls.h"

namespace orvex {
namespace {

std::string oneLine(std::string text) {
  for (char& c : text)
    if (c == '\r' || c == '\n') c = ' ';
  return dos::trim(text);
}

// The path as seen from the simulator's folder, where it lies inside it.
std::string shortPath(const std::string& path, const std::string& simulator) {
  const std::string root = dos::lower(simulator) + "\\";
  return dos::startsWith(dos::lower(path), root) ? path.substr(root.size()) : path;
}

// What replacing `target` with `source` means: the same bytes, or an older or newer file.
std::string replacing(FileSystem& below, const std::string& source, const std::string& target) {
  const std::optional<FileStamp> from = below.stamp(source), there = below.stamp(target);
  if (!from || !there) return "replaces a file";
  // The bytes are compared only where the sizes leave it open.
  if (from->size == there->size) {
    try {
      if (below.digest(source) == below.digest(target)) return "replaces: same content";
    } catch (const FileError&) {
    }
  }
  return std::string(from->mtime >= there->mtime ? "replaces an older file"
                                                 : "replaces a newer file") +
         " (" + sizeText(from->size) + " over " + sizeText(there->size) + ")";
}

}  // namespace

std::string sizeText(long long bytes) {
  char text[32];
  if (bytes < 1024)
    std::snprintf(text, sizeof text, "%lld bytes", bytes);
  else if (bytes < 1024 * 1024)
    std::snprintf(text, sizeof text, "%.1f KB", double(bytes) / 1024);
  else
    std::snprintf(text, sizeof text, "%.1f MB", double(bytes) / (1024 * 1024));
  return text;
}

MsgAnswer PreviewToolkit::msgBox(const std::string& text, const std::string& caption, MsgIcon,
                                 MsgButtons buttons) {
  boxes.push_back({caption, text, buttons});
  return buttons == MsgButtons::OK ? MsgAnswer::OK : MsgAnswer::Yes;
}

void PreviewToolkit::runModal(Form& form) {
  form.hide();
}

Preview readPreview(const OverlayFileSystem& overlay, const PreviewToolkit& toolkit,
                    FileSystem& below, const std::string& assembly,
                    const std::vector<std::string>& assemblyFiles, const std::string& simulator,
                    RecordStore* records) {
  Preview p;
  for (const PreviewToolkit::Box& box : toolkit.boxes) {
    if (box.caption == "Success!") {
      p.installs = true;
    } else if (box.buttons != MsgButtons::OK) {
      p.questions.push_back(box.caption + ": " + oneLine(box.text));
    } else {
      p.messages.push_back(box.caption + ": " + oneLine(box.text));
      p.refusal = oneLine(box.text);
    }
  }
  if (!p.installs) {
    if (p.refusal.empty()) p.refusal = "Nothing would be installed with the choices made here.";
    return p;
  }

  // Where each file of the assembly area went, and which left it without going anywhere.
  const std::string area = dos::lower(assembly) + "\\";
  std::map<std::string, std::string> wentTo;  // lower-case assembly path -> target
  std::map<std::string, bool> deleted;
  for (const OverlayFileSystem::Write& w : overlay.writes()) {
    const bool inArea = dos::startsWith(dos::lower(w.path), area);
    switch (w.kind) {
      case OverlayFileSystem::Write::Kind::Transfer:
        if (!inArea && dos::startsWith(dos::lower(w.source), area))
          wentTo[dos::lower(w.source)] = w.path;
        break;
      case OverlayFileSystem::Write::Kind::Delete:
        if (inArea) deleted[dos::lower(w.path)] = true;
        break;
      case OverlayFileSystem::Write::Kind::MakeFolder:
        if (!inArea) p.folders.push_back(w.path);
        break;
      case OverlayFileSystem::Write::Kind::Append:
        p.list = w.path;
        p.area += decodeAdded(w.source);
        break;
      default: break;
    }
  }

  for (const std::string& name : assemblyFiles) {
    PreviewRow row;
    row.name = name;
    const std::string source = assembly + "\\" + name;
    if (const std::optional<FileStamp> s = below.stamp(source)) row.size = s->size;
    auto went = wentTo.find(dos::lower(source));
    if (went != wentTo.end()) {
      row.target = went->second;
      ++p.files;
      p.bytes += row.size;
      if (below.isFile(row.target)) {
        row.replaces = true;
        ++p.replaced;
        row.meaning = replacing(below, source, row.target);
        // A file an earlier recorded install wrote is named with that install.
        if (records) {
          const std::vector<Change> writers = records->changesAt(row.target);
          for (auto it = writers.rbegin(); it != writers.rend(); ++it) {
            if (it->kind != ChangeKind::Created && it->kind != ChangeKind::Replaced) continue;
            for (const InstallRecord& r : records->installs())
              if (r.id == it->install)
                row.meaning = "replaces " + shortPath(row.target, simulator) + " from " + r.name +
                              ", installed " + r.when.substr(0, 10) + " (" + row.meaning + ")";
            break;
          }
        }
      } else {
        row.meaning = "new";
      }
    } else if (deleted.count(dos::lower(source))) {
      row.meaning = "left behind";
    } else {
      row.meaning = "stays in the assembly area";
    }
    p.rows.push_back(std::move(row));
  }
  return p;
}

std::string previewSummary(const Preview& p) {
  if (!p.installs) return "The install would not go ahead:\r" + p.refusal;
  std::string text = std::to_string(p.files) + " files (" + sizeText(p.bytes) + ") installed, " +
                     std::to_string(p.replaced) + " of them replacing a file.";
  if (!p.folders.empty()) {
    text += "\rFolders made:";
    for (const std::string& f : p.folders) text += "\r   " + f;
  }
  if (!p.area.empty()) {
    text += "\rAdded to " + p.list + ":";
    LineReader lines(p.area);
    while (!lines.eof())
      if (const std::string line = dos::trim(lines.next()); !line.empty()) text += "\r   " + line;
  }
  for (const std::string& q : p.questions) text += "\rAsks: " + q;
  for (const std::string& m : p.messages) text += "\rShows: " + m;
  return text;
}

}  // namespace orvex

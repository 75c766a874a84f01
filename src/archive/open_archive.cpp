// Opening an archive directly: its tree unpacked into the assembly area, or into the folder of
// the area where it lies, and the archives inside it opened where they lie, two levels deep.
// Everything is unpacked into a hidden staging folder first and moved into place only once the
// whole archive has been read, so a damaged archive leaves the assembly area as it was.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "archive/archive_plan.h"
#include "archive/archives.h"
#include "platform/archive_reader.h"
#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/toolkit.h"

namespace orvex {
namespace {

const char* const kCaption = "Open Archive";
const char* const kFilter = "Archives (*.zip *.7z *.rar)";
const char* const kStagingFolder = "\\.orvex-extract";
const char* const kLeftAsItWas = "The assembly area was left as it was.";
constexpr size_t kListedPerGroup = 20;  // longer lists end with a count of the rest
constexpr int kProgressSteps = 1000;
constexpr double kPumpSeconds = 0.1;
// The archive opened is the first level, the archives in it the second, those in them the
// third; deeper ones stay as files.
constexpr int kDeepestLevel = 3;

std::string quotedName(const std::string& hostPath) {
  return "\"" + hostPath.substr(hostPath.find_last_of('/') + 1) + "\"";
}

std::string sizeText(uint64_t bytes) {
  const char* const units[] = {"bytes", "KiB", "MiB", "GiB", "TiB", "PiB", "EiB"};
  double value = double(bytes);
  size_t unit = 0;
  while (value >= 1024 && unit + 1 < std::size(units)) {
    value /= 1024;
    ++unit;
  }
  char text[32];
  std::snprintf(text, sizeof text, unit == 0 ? "%.0f %s" : "%.1f %s", value, units[unit]);
  return text;
}

// A heading and its lines, indented; at most kListedPerGroup of them.
void appendGroup(std::string& text, const std::string& heading,
                 const std::vector<std::string>& lines) {
  if (lines.empty()) return;
  text += "\r" + heading;
  for (size_t k = 0; k < lines.size() && k < kListedPerGroup; ++k) text += "\r   " + lines[k];
  if (lines.size() > kListedPerGroup)
    text += "\r   ... and " + std::to_string(lines.size() - kListedPerGroup) + " more";
}

// The folder of a place below a folder ("" at the top), and a place below a folder.
std::string folderOf(const std::string& place) {
  const size_t slash = place.rfind('\\');
  return slash == std::string::npos ? std::string() : place.substr(0, slash);
}

std::string below(const std::string& folder, const std::string& place) {
  return folder.empty() ? place : folder + "\\" + place;
}

// What one move of a staged tree into its folder did.
struct Placed {
  std::vector<std::string> places;  // of the files moved, below the folder
  bool tookArchive = false;         // one of them replaced the archive they came from
  bool allPlaced = true;            // none was kept out by a folder or file in its way
};

// One run of opening an archive, from the listing to the report.
class Unpacking {
 public:
  // folder: where the tree goes, below the assembly area ("" for the area itself); archive:
  // the archive's DOS path when it lies there, to be removed once its files are placed.
  Unpacking(Context& o, ArchiveReader& archives, const std::string& hostPath,
            const std::string& folder, const std::string& archive)
      : o_(o),
        archives_(archives),
        host_(hostPath),
        name_(quotedName(hostPath)),
        staging_(o.state.OrvexAssemblyDir + kStagingFolder),
        tree_(staging_ + "\\tree"),
        nested_(staging_ + "\\nested"),
        into_(below(o.state.OrvexAssemblyDir, folder)),
        shown_(folder.empty() ? folder : folder + "\\"),
        archive_(archive) {}

  // True when the archive's files were placed and nothing failed. blink: Refresh blinks then.
  bool run(bool blink) {
    o_.frm.setMousePointer(MousePointer::Hourglass);
    o_.frm.prgExtract.setMaximum(0);
    o_.frm.prgExtract.setVisible(true);
    bool placed = false;
    try {
      placed = unpack();
    } catch (const ArchiveError& e) {
      removeStaging();
      failure_ = failureText(e);
    } catch (const FileError& e) {
      removeStaging();
      failure_ = errorMessage("Error", e) + "\rwhile unpacking " + name_ + ".\r" + outcome();
    }
    o_.frm.prgExtract.setVisible(false);
    o_.frm.setMousePointer(MousePointer::Default);
    if (!failure_.empty()) {
      o_.tk.msgBox(failure_, kCaption, MsgIcon::Critical, MsgButtons::OK);
      return false;
    }
    if (placed && blink) {
      // As after starting the zip program: Refresh blinks once the files are there.
      o_.frm.Timer1.setInterval(1000);
      o_.frm.Timer1.setTimerEnabled(true);
      o_.frm.cmdQuit.setFocus();
    }
    report(placed);
    return placed;
  }

 private:
  // False when nothing was placed; failure_ then says why, or the report will.
  bool unpack() {
    ArchiveListing listing = archives_.list(host_, [this](size_t entries) {
      pump();
      tooManyEntries_ = entries > kMaxArchiveEntries;
      return !tooManyEntries_;
    });
    plan_ = planArchive(listing.entries);
    budget_ = unpackBudget(listing.archiveBytes);
    entries_ = listing.entries.size();
    if (refused(listing.archiveBytes)) return false;
    note(plan_, "");
    if (plan_.files.empty()) return false;

    clearStagingPlace();
    o_.fs.mkDir(staging_);
    o_.fs.mkDir(tree_);
    o_.frm.prgExtract.setMaximum(kProgressSteps);
    o_.frm.prgExtract.setValue(0);
    unpacked_ = stage(host_, plan_, tree_, [this](uint64_t written) { return progress(written); });

    std::vector<std::string> found;
    for (const PlannedFile& file : plan_.files) found.push_back(file.place);
    for (int level = 2; level <= kDeepestLevel; ++level) {
      std::vector<std::string> next;
      for (const std::string& place : found)
        if (isArchiveName(place))
          for (std::string& more : openInner(place)) next.push_back(std::move(more));
      found = std::move(next);
    }

    const Placed placed = placeTree(tree_, into_, shown_, archive_, true);
    if (!archive_.empty() && moved_ > 0) {
      if (!placed.allPlaced) {
        keptArchive_ = true;  // its files that found no place are still in it
      } else if (!placed.tookArchive) {
        o_.fs.setAttrNormal(archive_);
        o_.fs.kill(archive_);
      }
    }
    removeStaging();
    return moved_ > 0;
  }

  // The limits, checked on the headers before anything is written.
  bool refused(uint64_t archiveBytes) {
    if (plan_.encrypted) {
      failure_ = failureText(ArchiveError(ArchiveError::Reason::Encrypted, {}));
    } else if (plan_.declaredBytes > kMaxUnpackedBytes) {
      failure_ = name_ + " would unpack to " + sizeText(plan_.declaredBytes) + ", more than the " +
                 sizeText(kMaxUnpackedBytes) + " Orvex unpacks at most.\r" + kLeftAsItWas;
    } else if (plan_.declaredBytes > budget_) {
      failure_ = name_ + " would unpack to " + sizeText(plan_.declaredBytes) + " from " +
                 sizeText(archiveBytes) + ", more than " + std::to_string(kMaxPackingRatio) +
                 " times its own size. It is damaged or made to fill the disk.\r" + kLeftAsItWas;
    }
    return !failure_.empty();
  }

  // Writes the planned files of an archive into their places below folder, making their
  // folders; returns the bytes written.
  uint64_t stage(const std::string& hostPath, const ArchivePlan& plan, const std::string& folder,
                 const std::function<bool(uint64_t)>& progress) {
    std::map<size_t, const PlannedFile*> byIndex;
    for (const PlannedFile& file : plan.files) byIndex[file.index] = &file;
    uint64_t written = 0;
    archives_.extract(
        hostPath,
        [&](const ArchiveEntry& entry) -> std::string {
          auto planned = byIndex.find(entry.index);
          // The same place holding another entry means the file changed since it was listed;
          // the check of the staged files below then fails.
          if (planned == byIndex.end() || planned->second->path != entry.path) return {};
          const std::string& place = planned->second->place;
          // The plan puts no file where a folder goes: only folders can be there already.
          std::string made = folder;
          for (const std::string& part : dos::components(folderOf(place))) {
            made += "\\" + part;
            if (!o_.fs.isDirectory(made)) o_.fs.mkDir(made);
          }
          return o_.fs.hostPath(folder + "\\" + place);
        },
        [&](uint64_t bytes) {
          written = bytes;
          return progress(bytes);
        });
    for (const PlannedFile& file : plan.files)
      if (!o_.fs.isFile(folder + "\\" + file.place))
        throw ArchiveError(ArchiveError::Reason::Damaged,
                           "the archive changed while it was being read");
    return written;
  }

  // An archive among the staged files, at place below the staged tree: its tree unpacked into
  // the folder it lies in, then the archive removed. One that cannot be unpacked stays as a
  // file, and the report says why; the limits count what it adds to the whole. The places of
  // the files it gave.
  std::vector<std::string> openInner(const std::string& place) {
    const std::string file = tree_ + "\\" + place;
    const std::string shown = shown_ + place;
    if (!o_.fs.isFile(file)) return {};  // an archive before gave a folder of its name
    bool tooMany = false;
    bool overBudget = false;
    ArchivePlan plan;
    size_t entries = 0;
    uint64_t written = 0;
    std::string why;
    try {
      const std::string hostPath = o_.fs.hostPath(file);
      const ArchiveListing listing = archives_.list(hostPath, [&](size_t n) {
        pump();
        tooMany = entries_ + n > kMaxArchiveEntries;
        return !tooMany;
      });
      entries = listing.entries.size();
      plan = planArchive(listing.entries);
      if (plan.encrypted) {
        why = "protected by a password";
      } else if (plan.declaredBytes > budget_ - unpacked_) {
        why = moreThanTheBudget();
      } else if (plan.files.empty()) {
        note(plan, shown + ": ");
        why = "it holds no file that could be unpacked";
      } else {
        if (o_.fs.isDirectory(nested_)) removeTree(nested_);
        o_.fs.mkDir(nested_);
        written = stage(hostPath, plan, nested_, [&](uint64_t bytes) {
          pump();
          overBudget = bytes > budget_ - unpacked_;  // checked on the bytes really written
          return !overBudget;
        });
      }
    } catch (const ArchiveError& e) {
      why = innerFailure(e, tooMany, overBudget);
    } catch (const FileError& e) {
      why = errorText("Error", e);
    }
    if (!why.empty()) {
      removeNested();
      left_.push_back(shown + " (" + why + ")");
      return {};
    }
    entries_ += entries;
    unpacked_ += written;
    note(plan, shown + ": ");
    const std::string folder = folderOf(place);
    Placed placed =
        placeTree(nested_, below(tree_, folder), shown_ + below(folder, ""), file, false);
    if (!placed.allPlaced)
      left_.push_back(shown + " (kept: not all of its files could be placed beside it)");
    else if (!placed.tookArchive)
      o_.fs.kill(file);
    removeNested();
    for (std::string& p : placed.places) p = below(folder, p);
    return std::move(placed.places);
  }

  std::string moreThanTheBudget() const {
    return "it would take what Orvex unpacks from " + name_ + " beyond " + sizeText(budget_);
  }

  std::string innerFailure(const ArchiveError& e, bool tooMany, bool overBudget) const {
    using Reason = ArchiveError::Reason;
    switch (e.reason()) {
      case Reason::Unreadable: return std::string("it could not be opened: ") + e.what();
      case Reason::Unsupported: return "not a zip, 7z or rar archive that Orvex can read";
      case Reason::Damaged: return std::string("damaged: ") + e.what();
      case Reason::Encrypted: return "protected by a password";
      case Reason::Stopped:
        if (tooMany)
          return "it would take the entries Orvex unpacks from " + name_ + " beyond " +
                 std::to_string(kMaxArchiveEntries);
        if (overBudget) return moreThanTheBudget();
        break;
    }
    return "it could not be unpacked";
  }

  // Moves every file below from to the same place below to. A link at a place is removed as a
  // link, never followed; a file there is replaced; a folder at a file's place, or a file at
  // a folder's, keeps the file out. shown: what the places are shown after in the report;
  // archive: the archive the files came from, when it lies below to.
  Placed placeTree(const std::string& from, const std::string& to, const std::string& shown,
                   const std::string& archive, bool intoArea) {
    Placed placed;
    const std::string self = archive.empty() ? archive : dos::lower(o_.fs.fullPath(archive));
    placeFolder(from, to, "", shown, self, intoArea, placed);
    return placed;
  }

  void placeFolder(const std::string& from, const std::string& to, const std::string& folder,
                   const std::string& shown, const std::string& self, bool intoArea,
                   Placed& placed) {
    FileSystem& fs = o_.fs;
    const std::string source = below(from, folder);
    std::vector<std::string> links;  // none: the staging folder holds only what the run made
    const std::vector<std::string> names = fs.listFilesWithoutLinks(source, "*.*", links);
    const std::optional<SkipReason> folderInTheWay =
        names.empty() ? std::nullopt : makeFolders(to, folder, shown);
    for (const std::string& name : names) {
      const std::string place = below(folder, name);
      const std::string target = to + "\\" + place;
      std::optional<SkipReason> inTheWay = folderInTheWay;
      if (!inTheWay && !fs.isLink(target) && fs.isDirectory(target))
        inTheWay = SkipReason::FolderInTheWay;
      if (inTheWay) {
        skipped_.push_back(shown + place + " (" + describe(*inTheWay) + ")");
        placed.allPlaced = false;
        continue;
      }
      if (fs.isLink(target)) {
        // Not an add-on's file, and nothing may be changed through it.
        fs.removeLink(target);
        replaced(shown + place);
      } else if (fs.isFile(target)) {
        replaced(shown + place);
        placed.tookArchive = placed.tookArchive || dos::lower(fs.fullPath(target)) == self;
        fs.setAttrNormal(target);  // the assembly area's files are ours to replace
      }
      fs.moveFile(source + "\\" + name, target);
      if (intoArea) ++moved_;
      placed.places.push_back(place);
    }
    for (const std::string& dir : fs.listDirs(source))
      if (!fs.isLink(dir))
        placeFolder(from, to, below(folder, dos::fileName(dir)), shown, self, intoArea, placed);
  }

  // The folders of a place below to, made where missing, from the top down; a link at one's
  // place goes as a link first. Why the place cannot be had, when a file is in the way.
  std::optional<SkipReason> makeFolders(const std::string& to, const std::string& folder,
                                        const std::string& shown) {
    FileSystem& fs = o_.fs;
    std::string made = to;
    std::string place;
    for (const std::string& part : dos::components(folder)) {
      made += "\\" + part;
      place = below(place, part);
      if (fs.isLink(made)) {
        fs.removeLink(made);
        replaced(shown + place);
      } else if (fs.isDirectory(made)) {
        continue;
      } else if (fs.isFile(made)) {
        return SkipReason::FileInTheWay;
      }
      fs.mkDir(made);
    }
    return std::nullopt;
  }

  void replaced(const std::string& shown) {
    if (std::find(replaced_.begin(), replaced_.end(), shown) == replaced_.end())
      replaced_.push_back(shown);
  }

  // The entries a plan left out and the places that clashed, for the report.
  void note(const ArchivePlan& plan, const std::string& prefix) {
    for (const SkippedEntry& s : plan.skipped)
      skipped_.push_back(prefix + s.path + " (" + describe(s.reason) + ")");
    for (const NameClash& c : plan.clashes) {
      std::string line = prefix + "kept " + c.kept + ", left out ";
      for (size_t k = 0; k < c.dropped.size(); ++k) line += (k ? ", " : "") + c.dropped[k];
      clashes_.push_back(line);
    }
  }

  bool progress(uint64_t written) {
    // Checked on the bytes really written: headers can understate the sizes.
    if (written > budget_) {
      overBudget_ = true;
      return false;
    }
    const uint64_t total = std::max<uint64_t>(plan_.declaredBytes, 1);
    o_.frm.prgExtract.setValue(int(std::min<uint64_t>(written, total) * kProgressSteps / total));
    pump();
    return true;
  }

  // Lets the window repaint and refuse clicks with a beep; not on every block, which would
  // slow a large archive down.
  void pump() {
    const double time = o_.tk.clock();
    if (pumped_ && time - lastPump_ < kPumpSeconds) return;
    pumped_ = true;
    lastPump_ = time;
    o_.tk.doEvents();
  }

  // What stands at the staging folder's place before a run: a link or a file of its name is
  // removed as such, never followed; a folder that a run cut off left is emptied and removed.
  void clearStagingPlace() {
    FileSystem& fs = o_.fs;
    if (fs.isLink(staging_)) {
      clearedStaging_ = true;
      fs.removeLink(staging_);
    } else if (fs.isFile(staging_)) {
      clearedStaging_ = true;
      fs.setAttrNormal(staging_);
      fs.kill(staging_);
    } else if (fs.isDirectory(staging_)) {
      clearedStaging_ = true;
      removeTree(staging_);
    }
  }

  // A folder of the staging folder's with all below it; links go as links, never followed.
  void removeTree(const std::string& folder) {
    FileSystem& fs = o_.fs;
    std::vector<std::string> links;
    for (const std::string& file : fs.listFilesWithoutLinks(folder, "*.*", links)) {
      fs.setAttrNormal(folder + "\\" + file);
      fs.kill(folder + "\\" + file);
    }
    for (const std::string& link : links) fs.removeLink(folder + "\\" + link);
    for (const std::string& dir : fs.listDirs(folder))
      if (!fs.isLink(dir)) removeTree(dir);
    fs.rmDir(folder);
  }

  // Best effort, once the run made the folder: it is hidden, and the next run clears it first.
  void removeStaging() {
    if (o_.fs.isLink(staging_) || !o_.fs.isDirectory(staging_)) return;
    try {
      removeTree(staging_);
    } catch (const FileError&) {
    }
  }

  // What an archive inside gave that found no place; the next one clears what stays.
  void removeNested() {
    if (!o_.fs.isDirectory(nested_)) return;
    try {
      removeTree(nested_);
    } catch (const FileError&) {
    }
  }

  // What became of the assembly area when a run failed.
  std::string outcome() const {
    if (moved_ > 0) return "Some of its files are in the assembly area already.";
    if (clearedStaging_)
      return std::string("Only \"") + (kStagingFolder + 1) +
             "\", which Orvex unpacks into, was removed from the assembly area.";
    return kLeftAsItWas;
  }

  std::string failureText(const ArchiveError& e) const {
    using Reason = ArchiveError::Reason;
    std::string text;
    switch (e.reason()) {
      case Reason::Unreadable: text = name_ + " could not be opened:\r" + e.what(); break;
      case Reason::Unsupported:
        text = name_ + " is not a zip, 7z or rar archive that Orvex can read:\r" + e.what();
        break;
      case Reason::Damaged:
        text = name_ + " is damaged and could not be unpacked:\r" + e.what();
        break;
      case Reason::Encrypted:
        text = name_ +
               " is protected by a password, and Orvex cannot unpack it.\rOpen it with the zip "
               "program (Load WinZip) instead.";
        break;
      case Reason::Stopped:
        if (tooManyEntries_)
          text = name_ + " holds more than " + std::to_string(kMaxArchiveEntries) +
                 " entries, more than Orvex unpacks.";
        else if (overBudget_)
          text = name_ + " unpacks to more than " + sizeText(budget_) +
                 ", far more than its headers declare. It is damaged or made to fill the disk.";
        else
          text = name_ + " could not be unpacked.";
        break;
    }
    return text + "\r" + outcome();
  }

  // Says what was left out, which places clashed, which archives inside stayed as files and
  // what was replaced; nothing when all went in cleanly.
  void report(bool placed) {
    if (placed && skipped_.empty() && clashes_.empty() && left_.empty() && replaced_.empty() &&
        !keptArchive_)
      return;
    std::string text = placed ? name_ + " was unpacked into the assembly area."
                              : name_ + " holds no file that could be unpacked.";
    appendGroup(text, "These entries were left out:", skipped_);
    appendGroup(text,
                "These entries would take the same place; the first of each was kept:", clashes_);
    appendGroup(text, "These archives inside it were left as they are:", left_);
    appendGroup(text,
                "These files replaced files of the same name in the assembly area:", replaced_);
    if (keptArchive_)
      text += "\r" + name_ + " stays in the assembly area: not all of its files found a place.";
    const bool warn =
        !placed || !skipped_.empty() || !clashes_.empty() || !left_.empty() || keptArchive_;
    o_.tk.msgBox(text, kCaption, warn ? MsgIcon::Warning : MsgIcon::Information, MsgButtons::OK);
  }

  Context& o_;
  ArchiveReader& archives_;
  const std::string host_;
  const std::string name_;
  const std::string staging_;
  const std::string tree_;    // the archive's tree, below the staging folder
  const std::string nested_;  // an archive inside it, before it joins the tree
  const std::string into_;
  const std::string shown_;    // the places' prefix in the report
  const std::string archive_;  // its DOS path when it lies in the assembly area
  ArchivePlan plan_;
  uint64_t budget_ = 0;
  uint64_t unpacked_ = 0;  // bytes, over the archives inside it too
  size_t entries_ = 0;     // the same for the entries
  std::vector<std::string> skipped_, clashes_, left_, replaced_;
  size_t moved_ = 0;
  bool keptArchive_ = false;
  bool clearedStaging_ = false;  // something stood at the staging folder's place, and went
  std::string failure_;
  bool tooManyEntries_ = false;
  bool overBudget_ = false;
  bool pumped_ = false;
  double lastPump_ = 0;
};

}  // namespace

void Archives::cmdOpenArchive_Click() {
  if (isPlaceholderNoCase(state.FSim)) {
    tk.beep();
    return;
  }
  const std::string chosen = tk.chooseFile(kCaption, kFilter);
  if (!chosen.empty()) openArchive(chosen);
}

void Archives::openArchive(const std::string& hostPath) {
  if (!mayOpen()) return;
  BusyScope busy(ctx);
  Unpacking(ctx, *reader_, hostPath, "", "").run(true);
}

bool Archives::openInPlace(const std::string& dosPath) {
  if (!mayOpen()) return false;
  // Only a file of the area's own, reached through none of its links: the area's files are
  // replaced and removed here. Nor one in the staging folder, which the run clears first.
  std::string folder, full, hostPath;
  bool inArea = false;
  try {
    full = fs.fullPath(dosPath);
    const std::string area = dos::belowPrefix(fs.fullPath(state.OrvexAssemblyDir));
    inArea = dos::startsWith(dos::lower(full), area);
    std::string reached = state.OrvexAssemblyDir;
    if (inArea)
      for (const std::string& part : dos::components(full.substr(area.size()))) {
        reached += "\\" + part;
        inArea = inArea && part[0] != '.' && !fs.isLink(reached);
      }
    inArea = inArea && fs.isFile(full);
    if (inArea) {
      folder = folderOf(full.substr(area.size()));
      hostPath = fs.hostPath(full);
    }
  } catch (const FileError&) {
    inArea = false;
  }
  if (!inArea) {
    tk.msgBox("\"" + dos::fileName(dosPath) + "\" is not a file of the assembly area " +
                  state.OrvexAssemblyDir + ", and Orvex opens only those in place.",
              kCaption, MsgIcon::Warning, MsgButtons::OK);
    return false;
  }
  BusyScope busy(ctx);
  return Unpacking(ctx, *reader_, hostPath, folder, full).run(false);
}

bool Archives::mayOpen() {
  if (isPlaceholderNoCase(state.FSim)) {
    tk.beep();
    return false;
  }
  if (!reader_) {
    tk.msgBox("Orvex cannot open archives itself here.\rUse the zip program (Load WinZip).",
              kCaption, MsgIcon::Warning, MsgButtons::OK);
    return false;
  }
  return true;
}

}  // namespace orvex

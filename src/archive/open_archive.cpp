// Opening a downloaded archive directly: its files unpacked flat into the assembly area. They
// are unpacked into a hidden staging folder first and moved into place only once the whole
// archive has been read, so a damaged archive leaves the assembly area as it was.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <map>

#include "archive/archive_plan.h"
#include "archive/archives.h"
#include "platform/archive_reader.h"
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

// One run of opening an archive, from the listing to the report.
class Unpacking {
 public:
  Unpacking(Context& o, ArchiveReader& archives, const std::string& hostPath)
      : o_(o),
        archives_(archives),
        host_(hostPath),
        name_(quotedName(hostPath)),
        staging_(o.state.OrvexAssemblyDir + kStagingFolder) {}

  void run() {
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
      return;
    }
    if (placed) {
      // As after starting the zip program: Refresh blinks once the files are there.
      o_.frm.Timer1.setInterval(1000);
      o_.frm.Timer1.setTimerEnabled(true);
      o_.frm.cmdQuit.setFocus();
    }
    report(placed);
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
    if (refused(listing.archiveBytes)) return false;
    setAsideFolderNames();
    if (plan_.files.empty()) return false;

    clearStagingPlace();
    o_.fs.mkDir(staging_);
    std::map<size_t, const PlannedFile*> byIndex;
    for (const PlannedFile& file : plan_.files) byIndex[file.index] = &file;
    o_.frm.prgExtract.setMaximum(kProgressSteps);
    o_.frm.prgExtract.setValue(0);
    archives_.extract(
        host_,
        [&](const ArchiveEntry& entry) -> std::string {
          auto planned = byIndex.find(entry.index);
          // The same place holding another entry means the file changed since it was listed;
          // the check of the staged files below then fails.
          if (planned == byIndex.end() || planned->second->path != entry.path) return {};
          return o_.fs.hostPath(staged(*planned->second));
        },
        [this](uint64_t written) { return progress(written); });
    for (const PlannedFile& file : plan_.files)
      if (!o_.fs.isFile(staged(file)))
        throw ArchiveError(ArchiveError::Reason::Damaged,
                           "the archive changed while it was being read");
    place();
    removeStaging();
    return true;
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

  // A planned file whose name a folder in the assembly area already has cannot go there.
  void setAsideFolderNames() {
    std::vector<PlannedFile> kept;
    for (PlannedFile& file : plan_.files) {
      if (o_.fs.isDirectory(o_.state.OrvexAssemblyDir + "\\" + file.name))
        plan_.skipped.push_back({file.path, SkipReason::FolderInTheWay});
      else
        kept.push_back(std::move(file));
    }
    plan_.files = std::move(kept);
  }

  std::string staged(const PlannedFile& file) const { return staging_ + "\\" + file.name; }

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

  void place() {
    for (const PlannedFile& file : plan_.files) {
      const std::string target = o_.state.OrvexAssemblyDir + "\\" + file.name;
      if (o_.fs.isLink(target)) {
        // Not an add-on's file, and nothing may be changed through it.
        o_.fs.removeLink(target);
        replaced_.push_back(file.name);
      } else if (o_.fs.isFile(target)) {
        replaced_.push_back(file.name);
        o_.fs.setAttrNormal(target);  // the assembly area's files are ours to replace
      }
      o_.fs.moveFile(staged(file), target);
      ++moved_;
    }
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
      emptyStaging();
    }
  }

  // The staging folder's files and links, then the folder.
  void emptyStaging() {
    std::vector<std::string> links;
    for (const std::string& file : o_.fs.listFilesWithoutLinks(staging_, "*.*", links)) {
      o_.fs.setAttrNormal(staging_ + "\\" + file);
      o_.fs.kill(staging_ + "\\" + file);
    }
    for (const std::string& link : links) o_.fs.removeLink(staging_ + "\\" + link);
    o_.fs.rmDir(staging_);
  }

  // Best effort, once the run made the folder: it is hidden, and the next run clears it first.
  void removeStaging() {
    if (o_.fs.isLink(staging_) || !o_.fs.isDirectory(staging_)) return;
    try {
      emptyStaging();
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

  // Says what was left out, which names clashed and what was replaced; nothing when all
  // went in cleanly.
  void report(bool placed) {
    std::vector<std::string> skipped, clashes;
    for (const SkippedEntry& s : plan_.skipped)
      skipped.push_back(s.path + " (" + describe(s.reason) + ")");
    for (const NameClash& c : plan_.clashes) {
      std::string line = flatName(c.kept) + ": kept " + c.kept + ", left out ";
      for (size_t k = 0; k < c.dropped.size(); ++k) line += (k ? ", " : "") + c.dropped[k];
      clashes.push_back(line);
    }
    if (placed && skipped.empty() && clashes.empty() && replaced_.empty()) return;
    std::string text = placed ? name_ + " was unpacked into the assembly area."
                              : name_ + " holds no file that could be unpacked.";
    appendGroup(text, "These entries were left out:", skipped);
    appendGroup(text, "These files have the same name; the first of each was kept:", clashes);
    appendGroup(text,
                "These files replaced files of the same name in the assembly area:", replaced_);
    const bool warn = !placed || !skipped.empty() || !clashes.empty();
    o_.tk.msgBox(text, kCaption, warn ? MsgIcon::Warning : MsgIcon::Information, MsgButtons::OK);
  }

  Context& o_;
  ArchiveReader& archives_;
  const std::string host_;
  const std::string name_;
  const std::string staging_;
  ArchivePlan plan_;
  uint64_t budget_ = 0;
  std::vector<std::string> replaced_;
  size_t moved_ = 0;
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
  if (isPlaceholderNoCase(state.FSim)) {
    tk.beep();
    return;
  }
  if (!reader_) {
    tk.msgBox("Orvex cannot open archives itself here.\rUse the zip program (Load WinZip).",
              kCaption, MsgIcon::Warning, MsgButtons::OK);
    return;
  }
  BusyScope busy(ctx);
  Unpacking(ctx, *reader_, hostPath).run();
}

}  // namespace orvex

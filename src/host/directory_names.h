// Case-blind look-ups of names in host directories, remembered while a directory is unchanged.
#pragma once

#include <sys/stat.h>

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace orvex {

// A directory's names are read once and kept while its modification time stays as it was; the
// program's own changes are entered as it makes them. So a folder that an install fills with
// thousands of new files is not read again for each of them. A time is only as fine as its file
// system's clock (2 s on FAT, a few ms elsewhere), so another program's change in the same tick
// as one of ours would go unseen: what is kept is therefore forgotten whenever the program may
// have given way to others (at the start of each event it handles), and kept across one of its
// own changes only when the folder's time before the change was still the one remembered. The
// folder's time after one of our changes is read at its next look: any time up to the moment
// the change was made is taken as ours then.
class DirectoryNames {
 public:
  // The entry of dir equal to name but for letter case, the first in byte order when several;
  // nothing when there is none or the directory cannot be read.
  // known, when given, is dir's stat taken just now, which saves looking again.
  // exactFirst: name itself when dir holds it as spelt.
  std::optional<std::string> find(const std::string& dir, const std::string& name,
                                  const struct stat* known = nullptr, bool exactFirst = false);
  // Whether dir's names are kept.
  bool holds(const std::string& dir) const { return dirs_.count(dir) > 0; }
  // Before the program changes dir: what is kept of it is dropped unless it is still current.
  void changing(const std::string& dir, const struct stat* known = nullptr);
  // After the program made, or removed, the entry name of dir.
  void added(const std::string& dir, const std::string& name);
  void removed(const std::string& dir, const std::string& name);
  // After a change that is not known in detail, or the directory itself went.
  void forget(const std::string& dir) { dirs_.erase(dir); }
  void forgetAll() { dirs_.clear(); }

 private:
  struct Names {
    dev_t dev = 0;
    ino_t ino = 0;
    struct timespec mtime {};
    bool ownChange = false;      // changed by the program since mtime was read
    struct timespec changedBy {};  // the clock just after that change
    // Lower-case name -> the entries of that name, in byte order.
    std::unordered_map<std::string, std::vector<std::string>> byLower;
  };
  // The names of dir as they are now: kept ones when still valid, else read again.
  Names* current(const std::string& dir, const struct stat* known);
  // Whether the names are still those of the directory with this stat, which is then taken.
  static bool stillCurrent(Names& names, const struct stat& st);
  static void changedNow(Names& names);

  std::unordered_map<std::string, Names> dirs_;
};

}  // namespace orvex

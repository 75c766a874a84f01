// Host primitives that give a file a new name: a hard link where the file systems allow it,
// else a copy that fills a hidden file and renames it into place. On host paths, no DOS rules.
#pragma once

#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>

namespace orvex {

// The ways a file may travel, tried in this order; each one a file system refuses gives way to
// the next. Tests switch ways off to force the later ones.
struct TransferWays {
  bool link = true;        // a hard link: the same data under one more name, nothing copied
  bool kernelCopy = true;  // copy_file_range: no trip through user memory, a clone where possible
};

// How a file actually travelled.
enum class TransferWay { Link, KernelCopy, ReadWrite };

// Copies the rest of in to out: the kernel's copy first where allowed, plain reads and writes
// where it is refused. Says which one carried the data.
TransferWay copyContents(int in, int out, bool kernelCopy = true);

// How far a file written is on the disk when the call returns: not waited for, its data (its
// name waits for syncDirectory of its folder), or data and name.
enum class Durable { No, DataOnly, Whole };

// Makes the names in a host folder lasting; best effort.
void syncDirectory(const std::string& dir);

// Fills a new hidden file beside target and renames it over target, so that a failure never
// leaves a cut file and an old target stays as it was, durable as asked before it is named.
// The new file has mode 0666 under the umask, as any new file.
void writeAtomically(const std::string& target, const std::function<void(int)>& fill,
                     Durable durable);

// Gives target a second name of source's data: a plain link when target does not exist, else a
// link under a hidden name beside it renamed over it, so that the old target stays whole until
// the new one is complete. mode, when given, is set on the shared data before the new name
// appears. False, with nothing changed, when a link cannot be had here: another file system,
// a file system without hard links, too many links, or a permission refusal. Other failures
// throw FileError.
bool linkInPlace(const std::string& source, const std::string& target, bool replacing,
                 std::optional<mode_t> mode = std::nullopt);

// Gives target the contents of source by a link when allowed, else by a copy (replacing
// atomically). A replaced file is on disk with its new name before this returns, any other as
// durable says. Says how the file travelled.
TransferWay linkOrCopy(const std::string& source, const std::string& target, bool replacing,
                       const TransferWays& ways, std::optional<mode_t> linkMode = std::nullopt,
                       Durable durable = Durable::No);

// The mode a new file gets: 0666 under the process's umask.
mode_t newFileMode();

}  // namespace orvex

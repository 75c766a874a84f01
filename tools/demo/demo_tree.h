// The demonstration tree: a root directory for the program, four sample simulators and the
// sample add-on archives, all in one folder.
#pragma once

#include <string>

namespace orvex::demo {

// The DOS form under which the program reaches a host path, through the drives of the Wine
// prefix the program will run with. Throws std::runtime_error when no drive reaches it.
std::string dosPathOf(const std::string& absoluteHostPath);

// Makes, in the folder parent (new or empty):
//   Orvex/    the program's root directory: Assembly, and Orvex.cfg naming the four
//             simulators with FS98 selected and the zip warning still to be shown
//   Sims/     FS98, FS2000, CFS and CFS2, each with its check file and folders
//   Samples/  the sample add-on archives, which Orvex.cfg also names as the download folder
// Returns the root directory's host path. Throws std::runtime_error with a message for the
// user when parent cannot be used or a file cannot be written; nothing existing is replaced.
std::string makeDemo(const std::string& parent);

}  // namespace orvex::demo

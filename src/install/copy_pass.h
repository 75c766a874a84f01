// The copy pass every install moves its files with: list the assembly area once for a
// pattern list, copy each listed file to its target (its name shown first), then remove
// every listed file.
#pragma once

#include <functional>
#include <string>

#include "app/steps.h"

namespace orvex {

struct CopyPass {
  std::string patterns;        // the pattern list of the group
  std::string targetFolder;    // the target of a file is this folder followed by its name
  std::string makeFirst;       // a folder made before the first copy; its failure is ignored
  std::string makeEachTime;    // a folder made before each copy; its failure goes to the handler
  bool skipWhenEmpty = false;  // with no file listed, nothing of the pass runs
};

// The step of a pass that failed.
enum class PassStep { List, MakeFolder, Copy, Replace, ClearAttributes, Delete };

// Says where to go on after a failed step: Resume::next() passes over the failing step,
// Resume::stop() ends the pass (and the install), Resume::replace() after a failed copy
// clears the target's attributes and copies again (a failure of that is step Replace, after
// which the file is passed over unless the handler stops).
using CopyPassHandler = std::function<Resume(const FileError& error, PassStep step)>;

}  // namespace orvex

// Writes a zip archive with libarchive.
#pragma once

#include <string>
#include <vector>

#include "samples.h"

namespace orvex::demo {

// Writes the files into a new zip archive at hostPath (an existing file is not replaced).
// Throws std::runtime_error with libarchive's reason on failure.
void writeZip(const std::string& hostPath, const std::vector<DemoFile>& files);

}  // namespace orvex::demo

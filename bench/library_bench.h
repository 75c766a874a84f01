// Figures of the Scenery Library on a list of 10,000 areas.
#pragma once

#include <string>

namespace orvex::bench {

// Prints the listing and flagging time, one change written and recorded, the memory and the
// growth from 100 to 10,000 areas.
void libraryFigures();
// The program of its own that libraryFigures starts for the memory figure, on the scratch
// folder root: prints the growth in MB.
int libraryMemoryChild(const std::string& root);

}  // namespace orvex::bench

// How the program writes a new area of a simulator's scenery list, shared by the scenery install
// and the scenery library: its number, its lines and its Local= text.
#pragma once

#include <string>

namespace orvex {

class FileSystem;
struct DecodedText;

// The number of a new area: one above every layer and every area number already in the list,
// so that it neither takes the place of an existing entry nor lies below one. 0 for a list
// without either; FileError 6 (overflow) when it would not fit the list's numbers.
long newAreaNumber(const std::string& list);

// The six lines of a new area, with the list's own line end: a separator line, the header with
// the number of three digits or more, Title=, Local=, Active=TRUE and Layer=. A list whose last
// line has no line end gets one first (areaJoinedLineEnd), so that the separator line does not
// join that line.
std::string areaEntry(long number, const std::string& name, const std::string& local,
                      const DecodedText& list);
// The line end areaEntry puts first for this list; empty when its last line has one.
std::string areaJoinedLineEnd(const DecodedText& list);

// The Local= text of a folder: relative to the simulator's folder when it lies inside, where the
// simulator finds it by that, and its full path anywhere else.
std::string areaLocal(FileSystem& fs, const std::string& simulator, const std::string& folder);

}  // namespace orvex

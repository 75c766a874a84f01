// A simulator's scenery list read as the simulator reads it: every area with its title, folder,
// layer and state, what is wrong with it in plain words, and the changes the Scenery Library
// makes to it, each as a new text that differs from the old one in the change's own lines and as
// edits that the records can take back by their meaning.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/config_edit.h"

namespace orvex {

class FileSystem;

struct SceneryArea {
  enum class Active { On, Off, NotSet, Unclear };

  ConfigLines::Section section;  // its header line and every line up to the next header
  std::string header;            // the header as written: "[Area.012]"
  bool readableHeader = false;   // "[Area." and a number, which the simulator reads
  // The values as the simulator reads them, blanks around them and one pair of quotes taken
  // off; whether the line is there at all.
  std::string title, local, remote;
  bool hasLocal = false, hasRemote = false;
  std::string layerText;  // what Layer= holds
  bool hasLayer = false;
  std::optional<long long> layer;  // when that is a whole number
  Active active = Active::NotSet;
  std::string activeText;
  bool required = false;
  // What is wrong with it, in plain words: what reading found, then what flagAreas found.
  std::vector<std::string> problems;
  // Its folders as the simulator finds them (full DOS paths), once flagAreas has looked.
  std::string folder, remoteFolder;
};

class SceneryList {
 public:
  // A decoded list (decodeText).
  explicit SceneryList(std::string_view text);

  ConfigLines lines;
  std::vector<SceneryArea> areas;  // in the order of the file

  // The areas in layer order, top layer (highest Layer=) first; equal layers in the order of
  // the file, and areas without a layer the simulator reads after all others.
  std::vector<size_t> layerOrder() const;
};

// How an edit finds an area again whatever was renumbered or moved since: its Title= and
// Local=, as keyOf reads them.
SectionKey areaKey(const SceneryArea& area);

// The folder an area's Local= or Remote= names, as the simulator finds it: a path with a drive
// as it stands, one beginning with "\" on the simulator's drive, anything else below the
// simulator's folder. Slashes count as backslashes.
std::string areaFolder(const std::string& simulator, std::string value);

// What each folder holds, by its full path in lower case: kept between readings of the same list
// so that a change of the list need not look again.
enum class FolderState { Fine, Missing, NoSceneryFiles };
using FolderCache = std::unordered_map<std::string, FolderState>;

// Works out each area's folders and adds what is wrong with them: a folder that is not there,
// one with no ".bgl" file in it nor in its "scenery" sub-folder, two areas naming the same
// folder, two areas with the same layer.
void flagAreas(SceneryList& list, FileSystem& fs, const std::string& simulator,
               FolderCache& folders);

// A change of the list: its whole new text, and what the change means for the records.
struct ListChange {
  std::string text;
  std::vector<ConfigEdit> edits;
};

// Active=TRUE or FALSE in one area: its line changed, or added after its last line.
ListChange setActive(const SceneryList& list, size_t area, bool active);
// Two areas trade their Layer= values; nothing else is renumbered.
ListChange exchangeLayers(const SceneryList& list, size_t a, size_t b);
// One area's lines taken out, from its header to the next header.
ListChange removeArea(const SceneryList& list, size_t area);
// A new area's lines (areaEntry, without the line end it put first) appended; joinedLineEnd is
// that line end, which ends a last line that had none.
ListChange addArea(const SceneryList& list, const std::string& entry,
                   const std::string& joinedLineEnd);

}  // namespace orvex

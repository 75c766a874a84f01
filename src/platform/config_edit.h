// Edits of a configuration file's sections ("[fltsim.3]" of an Aircraft.cfg, "[Area.012]" of a
// Scenery.cfg) that change a few lines and keep every other byte, described by their meaning so
// that one can be taken back after the file changed since: a section is found by its keys
// (its title and texture folder, its title and folder), never by its number or its place.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvex {

// A decoded configuration text as its lines, each with its own line end, so that what an edit
// leaves alone keeps its bytes.
class ConfigLines {
 public:
  explicit ConfigLines(std::string_view text);

  // A section: its header line and every line up to the next header.
  struct Section {
    std::string name;  // lower case, "area.012"
    size_t header = 0, end = 0;
  };

  std::vector<std::string> lines;
  std::string text() const;
  std::vector<Section> sections() const;
  // The value of a key in a section (the first line holding it), without its comment; and the
  // index of that line.
  std::optional<std::string> value(const Section& s, std::string_view key) const;
  std::optional<size_t> lineOf(const Section& s, std::string_view key) const;
  // The index after the section's last line that is not blank.
  size_t contentEnd(const Section& s) const;
  bool blank(size_t line) const;
  // The line end the text uses (its first), CR LF for a text without one.
  std::string lineEnd() const;
};

// How a section is found: its name begins with the prefix, and each key has its value (both
// compared without regard to case, blanks and comments aside).
struct SectionKey {
  std::string prefix;  // lower case: "fltsim.", "area."
  std::vector<std::pair<std::string, std::string>> keys;
  bool empty() const { return prefix.empty(); }
  bool matches(const ConfigLines& text, const ConfigLines::Section& s) const;
};

struct ConfigEdit {
  enum class Op {
    Added,    // a section was added: lines, the blank lines before its header that set it
              // apart, then the header and its lines
    Removed,  // a section was taken out: lines (as for Added), and the sections around it
              // (before, after)
    Set,      // the line of key in the section was `was` and is `now` (empty: no such line)
  };
  Op op = Op::Added;
  SectionKey section;
  std::string lines;
  SectionKey before, after;
  std::string key, was, now;
  // Added (a section, or the line of a Set that was not there) after a last line without a
  // line end: that line end came with it.
  std::string joinedLineEnd;
};

// The edits as one text for the records, and back; nothing for a text that is no such list.
std::string describeEdits(const std::vector<ConfigEdit>& edits);
std::optional<std::vector<ConfigEdit>> editsDescribed(std::string_view text);

// Takes the edits back on the text as it is now, the last first. False when one of them could
// not be found (what could be taken back is).
bool takeBack(std::string& text, const std::vector<ConfigEdit>& edits);
// Whether the edits still stand in the text: taking them back would change it.
bool editsStand(const std::string& text, const std::vector<ConfigEdit>& edits);

// The key of a section as it stands: its prefix and the values of the keys named.
SectionKey keyOf(const ConfigLines& text, const ConfigLines::Section& s, const std::string& prefix,
                 const std::vector<std::string>& keys);

}  // namespace orvex

// A livery's [fltsim.N] section of an Aircraft.cfg: the block a repaint brings in its readme, a
// section added for a new livery after the last one, and a livery's section taken out, each
// changing only its own lines.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/config_edit.h"

namespace orvex {

// How a livery's section is found whatever its number: its title and its texture folder.
SectionKey liveryKey(const std::string& title, const std::string& texture);

// The lines of the first [fltsim.N] block of a text (a repaint's readme or configuration file),
// without its header, up to its first blank line or next section; a block whose texture= names
// the texture suffix wins over the first. Nothing when the text holds none.
std::optional<std::vector<std::string>> liveryBlockIn(const std::string& text,
                                                      const std::string& texture);

// The lines of the aircraft's first livery section, without its header.
std::vector<std::string> firstLivery(const ConfigLines& cfg);

// Adds a livery's section after the last [fltsim.N] section, numbered one above every one there,
// in the file's own line ends: its lines as given, with texture= set to the texture suffix and,
// when a title is given, title= set to it. The edit made, and the title the section has.
ConfigEdit addLivery(ConfigLines& cfg, std::vector<std::string> lines,
                     const std::optional<std::string>& title, const std::string& texture,
                     std::string& titleGiven);

// Takes a livery's section ("fltsim.2") out with the blank line that set it apart; nothing when
// there is no such section.
std::optional<ConfigEdit> removeLivery(ConfigLines& cfg, const std::string& section);

}  // namespace orvex

// Entries of add-on configuration files as real ones are written: keys aligned with blanks or
// tabs, values in quotes or with a comment after them, sections such as "[fltsim.0]".
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvex {

struct Entry {
  std::string key;    // lower case, without the blanks and tabs around it
  std::string value;  // without blanks and tabs at either end and one pair of quotes
};

// A "key = value" item; nothing for an item without "=".
std::optional<Entry> entryOf(std::string_view item);

// A value with its inline comment (from ";" or "//" on) cut off, trimmed again.
std::string withoutComment(std::string_view value);

// The name of the section an item heads ("fltsim.0" for "[FltSim.0]  // first"), lower
// case; nothing for an item that heads no section.
std::optional<std::string> sectionOf(std::string_view item);

// The items of an Aircraft.cfg that describe the aircraft: those of its "[fltsim.0]" section,
// or of its first "[fltsim.N]" section when there is no ".0"; every item when it has none.
struct AircraftItems {
  std::vector<std::string> items;
  bool sectioned = false;
};
AircraftItems aircraftItems(std::string_view aircraftCfg);

// The bitmap a panel line or item names: the text after its "=" up to and including ".bmp",
// blanks before it dropped and a comment after it ignored. Empty when the line names none, or
// a name that a pattern list cannot hold (wildcards, ";").
std::string bitmapName(std::string_view lineOrItem);

}  // namespace orvex

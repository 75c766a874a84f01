// Reading keys, values, sections and bitmap names out of add-on configuration files.
#include "platform/config_entries.h"

#include <algorithm>

#include "platform/dos_path.h"
#include "platform/text_reading.h"

namespace orvex {

std::optional<Entry> entryOf(std::string_view item) {
  const size_t eq = item.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  std::string value = dos::trim(item.substr(eq + 1));
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
    value = value.substr(1, value.size() - 2);
  return Entry{dos::lower(dos::trim(item.substr(0, eq))), std::move(value)};
}

std::string withoutComment(std::string_view value) {
  const size_t cut = std::min(value.find(';'), value.find("//"));
  return dos::trim(value.substr(0, cut));
}

std::optional<std::string> sectionOf(std::string_view item) {
  const std::string text = dos::trim(item);
  if (text.empty() || text.front() != '[') return std::nullopt;
  const size_t close = text.find(']');
  if (close == std::string::npos) return std::nullopt;
  return dos::lower(dos::trim(std::string_view(text).substr(1, close - 1)));
}

namespace {

// "fltsim." followed by a number: one of the aircraft's variations.
bool isAircraftSection(const std::string& name) {
  constexpr std::string_view prefix = "fltsim.";
  if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return false;
  return name.find_first_not_of("0123456789", prefix.size()) == std::string::npos;
}

}  // namespace

AircraftItems aircraftItems(std::string_view aircraftCfg) {
  std::vector<std::string> all;
  ItemReader reader(aircraftCfg);
  while (!reader.eof()) all.push_back(reader.next());

  // The section to read: "[fltsim.0]" wherever it stands, else the first "[fltsim.N]".
  size_t chosen = all.size();
  for (size_t k = 0; k < all.size(); ++k) {
    const std::optional<std::string> section = sectionOf(all[k]);
    if (!section || !isAircraftSection(*section)) continue;
    if (chosen == all.size()) chosen = k;
    if (*section == "fltsim.0") {
      chosen = k;
      break;
    }
  }
  if (chosen == all.size()) return {std::move(all), false};
  AircraftItems result{{}, true};
  for (size_t k = chosen + 1; k < all.size() && !sectionOf(all[k]); ++k)
    result.items.push_back(std::move(all[k]));
  return result;
}

std::string bitmapName(std::string_view lineOrItem) {
  const size_t eq = lineOrItem.find('=');
  if (eq == std::string_view::npos) return {};
  // A ".bmp" inside a comment names nothing.
  const std::string value = withoutComment(lineOrItem.substr(eq + 1));
  const size_t bmp = dos::lower(value).find(".bmp");
  if (bmp == std::string::npos) return {};
  std::string name = value.substr(0, bmp + 4);
  if (name.find_first_of("*?;") != std::string::npos) return {};
  return name;
}

}  // namespace orvex

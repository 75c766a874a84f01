// A new area of a scenery list: its number, its lines and its Local= text.
#include "install/scenery/scenery_area.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/text_encoding.h"
#include "platform/text_reading.h"

namespace orvex {

long newAreaNumber(const std::string& list) {
  double largest = -1;
  ItemReader reader(list);
  while (!reader.eof()) {
    const std::string item = reader.next();
    const std::string lower = dos::lower(item);
    if (lower.rfind("[area.", 0) == 0) {
      largest = std::max(largest, std::floor(leadingNumber(std::string_view(item).substr(6))));
    } else if (const size_t eq = item.find('='); eq != std::string::npos) {
      if (dos::trim(std::string_view(lower).substr(0, eq)) == "layer")
        largest =
            std::max(largest, std::floor(leadingNumber(std::string_view(item).substr(eq + 1))));
    }
  }
  const double number = std::max(0.0, largest + 1);
  if (number > double(std::numeric_limits<int32_t>::max())) throw FileError(err::Overflow);
  return long(number);
}

std::string areaJoinedLineEnd(const DecodedText& list) {
  return list.text.empty() || list.endsWithLineEnd() ? "" : list.lineEnd;
}

std::string areaEntry(long number, const std::string& name, const std::string& local,
                      const DecodedText& list) {
  std::string area = std::to_string(number);
  if (area.size() < 3) area.insert(0, 3 - area.size(), '0');
  const std::string& end = list.lineEnd;
  return areaJoinedLineEnd(list) + " " + end + "[Area." + area + "]" + end + "Title=" + name + end +
         "Local=" + local + end + "Active=TRUE" + end + "Layer=" + std::to_string(number) + end;
}

std::string areaLocal(FileSystem& fs, const std::string& simulator, const std::string& folder) {
  const std::string full = fs.fullPath(folder);
  std::string root = fs.fullPath(simulator);
  if (root.empty() || root.back() != '\\') root += "\\";
  if (dos::startsWith(dos::lower(full), dos::lower(root))) return full.substr(root.size());
  return full;
}

}  // namespace orvex

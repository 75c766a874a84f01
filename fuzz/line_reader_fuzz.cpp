// Fuzz target: the line reader of panel.cfg, and the number at the start of a line.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/text_reading.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  orvex::LineReader lines(text);
  size_t count = 0, bytes = 0;
  while (!lines.eof()) {
    const std::string line = lines.next();
    // A line holds no line end, and the lines with their ends add up to the input.
    if (line.find_first_of("\r\n") != std::string::npos) std::abort();
    bytes += line.size();
    if (++count > size || bytes > size) std::abort();
    orvex::leadingNumber(line);
  }
  return 0;
}

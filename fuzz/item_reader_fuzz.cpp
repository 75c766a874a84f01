// Fuzz target: the item reader of the settings file, Aircraft.cfg, panel.cfg and Scenery.cfg.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/errors.h"
#include "platform/text_reading.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  orvex::ItemReader items(text);
  size_t count = 0, bytes = 0;
  while (!items.eof()) {
    const std::string item = items.next();
    bytes += item.size();
    // Every item takes at least one byte of input (its separator, if nothing else), and an
    // item is never longer than the input.
    if (++count > size || bytes > size) std::abort();
    orvex::leadingNumber(item);
  }
  try {
    items.next();
    std::abort();  // reading past the end must fail
  } catch (const orvex::FileError& e) {
    if (e.number() != orvex::err::InputPastEnd) std::abort();
  }
  return 0;
}

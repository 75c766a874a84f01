// Fuzz target: registering a scenery in a simulator's Scenery.cfg of any content, with the
// real UpdateSceneryConfig on a temporary simulator.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_world.h"

using namespace orvex::fuzz;

namespace {

const std::string kList = "C:\\FS98\\Scenery.cfg";
const std::string kName = "Fuzz Land";

// Digits at pos; their value (capped), or -1 when there are none.
long long digitsAt(const std::string& s, size_t& pos) {
  const size_t start = pos;
  long long value = 0;
  while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9') {
    value = value < 1'000'000'000'000LL ? value * 10 + (s[pos] - '0') : value;
    ++pos;
  }
  return pos == start ? -1 : value;
}

bool takes(const std::string& s, size_t& pos, const std::string& part) {
  if (s.compare(pos, part.size(), part) != 0) return false;
  pos += part.size();
  return true;
}

// Exactly one complete area entry of the scenery, numbered alike in its header and layer.
bool isOneEntry(const std::string& added) {
  size_t pos = 0;
  if (!takes(added, pos, " \r\n[Area.")) return false;
  const size_t headerStart = pos;
  const long long area = digitsAt(added, pos);
  if (area < 0 || pos - headerStart < 3) return false;
  if (!takes(added, pos,
             "]\r\nTitle=" + kName + "\r\nLocal=SCENERY\\" + kName +
                 "\\Scenery\r\nActive=TRUE\r\nLayer="))
    return false;
  const long long layer = digitsAt(added, pos);
  return layer == area && takes(added, pos, "\r\n") && pos == added.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string list(reinterpret_cast<const char*>(data), size);
  world().reset("\"C:\\FS98\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"FS98\"\r\n1\r\n");
  world().write(kList, list);
  Program p(worldRoot());
  p.app->Form_Load();
  p.app->frm.txtSceneryName.setText(kName);
  p.tk.boxes.clear();
  p.app->UpdateSceneryConfig();
  if (p.app->ended()) std::abort();

  const std::string after = world().read(kList);
  if (after == list) {
    if (p.tk.boxes.empty()) std::abort();  // nothing added, and the user not told
  } else if (after.compare(0, list.size(), list) != 0 || !isOneEntry(after.substr(list.size()))) {
    std::abort();  // the old list changed, or what was added is not one whole entry
  }
  if (world().read("C:\\FS98\\SceneryCfg.bku") != list) std::abort();
  return 0;
}

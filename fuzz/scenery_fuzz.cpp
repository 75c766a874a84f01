// Fuzz target: registering a scenery in a simulator's Scenery.cfg of any content, in any
// encoding, with the real UpdateSceneryConfig on a temporary simulator.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "fuzz/fuzz_world.h"
#include "platform/text_encoding.h"

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

// Exactly one complete area entry of the scenery, numbered alike in its header and layer, in
// the list's line end; after a last line without one, that line is ended first.
bool isOneEntry(const orvex::DecodedText& list, const std::string& added) {
  const std::string& end = list.lineEnd;
  size_t pos = 0;
  if (!list.text.empty() && !list.endsWithLineEnd() && !takes(added, pos, end)) return false;
  if (!takes(added, pos, " " + end + "[Area.")) return false;
  const size_t headerStart = pos;
  const long long area = digitsAt(added, pos);
  if (area < 0 || pos - headerStart < 3) return false;
  if (!takes(added, pos,
             "]" + end + "Title=" + kName + end + "Local=SCENERY\\" + kName + "\\Scenery" + end +
                 "Active=TRUE" + end + "Layer="))
    return false;
  const long long layer = digitsAt(added, pos);
  return layer == area && takes(added, pos, end) && pos == added.size();
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
  p.app->scenery.UpdateSceneryConfig();
  if (p.app->ended()) std::abort();

  const std::string after = world().read(kList);
  const std::string backup = world().read("C:\\FS98\\SceneryCfg.bku");
  std::string why;
  const std::optional<orvex::DecodedText> before = orvex::decodeText(list, why);
  if (after == list) {
    if (p.tk.boxes.empty()) std::abort();          // nothing added, and the user not told
    if (!before && !backup.empty()) std::abort();  // a list refused is not backed up either
    return 0;
  }
  // The old list's bytes stay as they were, and what was added is one whole entry in its
  // encoding and line end.
  if (!before || after.compare(0, list.size(), list) != 0) std::abort();
  const std::optional<orvex::DecodedText> decoded = orvex::decodeText(after, why);
  if (!decoded || decoded->encoding != before->encoding ||
      decoded->text.compare(0, before->text.size(), before->text) != 0 ||
      !isOneEntry(*before, decoded->text.substr(before->text.size())))
    std::abort();
  if (backup != list) std::abort();
  return 0;
}

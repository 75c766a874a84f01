// Fuzz target: the settings file Orvex.cfg, read by a real start-up (GetFSInfo and what follows
// it) on a temporary folder, written back and read again.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_world.h"

using namespace orvex::fuzz;

namespace {

// Starts the program on the world and saves its settings; returns the file written.
std::string startAndSave() {
  Program p(worldRoot());
  p.app->Form_Load();
  if (p.app->ended()) std::abort();  // the root directory is there: start-up must not end
  p.app->settings.SaveFSInfo();
  return world().read("C:\\Orvex\\Orvex.cfg");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  world().reset(std::string(reinterpret_cast<const char*>(data), size));
  const std::string first = startAndSave();
  // Whatever the file held, what the program writes reads back as it was written.
  if (startAndSave() != first) std::abort();
  return 0;
}

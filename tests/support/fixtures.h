// Configuration files to test with: the project's own in tests/fixtures, laid out as real
// add-ons write them, and the samples of real add-ons in ../shared/realworld when that folder
// lies beside the project (scripts/test says in one line when it does not).
#pragma once

#include <string>
#include <vector>

namespace orvex::test {

// "aircraft/x.cfg" names one of ours; "real:aircraft/x.cfg" a real-world sample.
bool fixtureAvailable(const std::string& name);
// The bytes of a fixture, unchanged; a test failure when it is missing.
std::string fixtureText(const std::string& name);
// The host path of a fixture.
std::string fixturePath(const std::string& name);
// ASCII text as UTF-16 little-endian with its byte-order mark, as some editors save a
// configuration file.
std::string utf16(const std::string& ascii);

// A panel.cfg and the bitmaps it names, as the simulator reads them.
struct PanelBitmaps {
  std::string file;
  std::vector<std::string> bitmaps;
};
// Our panel fixtures and the real-world ones, with the bitmaps each names; only those
// available.
std::vector<PanelBitmaps> panelBitmapCases();

}  // namespace orvex::test

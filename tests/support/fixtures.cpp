// Finding the fixtures of the tests, ours and the real-world samples.
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace orvex::test {

std::string fixturePath(const std::string& name) {
  const std::string real = "real:";
  if (name.rfind(real, 0) == 0)
    return std::string(ORVEX_REALWORLD_DIR) + "/" + name.substr(real.size());
  return std::string(ORVEX_FIXTURES_DIR) + "/" + name;
}

bool fixtureAvailable(const std::string& name) {
  return std::filesystem::is_regular_file(fixturePath(name));
}

std::string fixtureText(const std::string& name) {
  std::ifstream in(fixturePath(name), std::ios::binary);
  if (!in) ADD_FAILURE() << "missing fixture " << name;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string utf16(const std::string& ascii) {
  std::string out = "\xFF\xFE";
  for (char c : ascii) out += std::string{c, '\0'};
  return out;
}

std::vector<PanelBitmaps> panelBitmapCases() {
  const std::vector<PanelBitmaps> all = {
      // Blanks inside a name stay; blanks and tabs after it, and a comment, are no part of it.
      {"panel/editor_written_lf.cfg",
       {"Main Panel.bmp", "Main1024.bmp", "Radio.BMP", "Radio_night.bmp"}},
      {"panel/crlf_windows_without_file.cfg", {"cub_main.bmp", "$vc1.bmp"}},
      {"real:panel/fs9_leveld_b767_fsps_panel.cfg",
       {"B767upper.bmp", "B767forward.bmp", "B767upper_FO.bmp", "B767forward_FO.bmp",
        "B767overhead.bmp", "B767pedestal.bmp", "B767standby.bmp", "B767Mini.bmp", "B767_vc2b.bmp",
        "B767_vc1a.bmp"}},
      {"real:panel/fsx_dla_jodel_panel_2015_popup.cfg", {}},
      {"real:panel/fsx_dla_jodel_panel_vc_only.cfg", {}},
      {"real:panel/p3d_carenado_a36_panel.cfg", {"Radio_Stack_bg.bmp", "Radio_Stack_bg_night.bmp"}},
      {"real:panel/p3d_carenado_c172n_panel.cfg", {"panel 172main.bmp"}},
      {"real:panel/p3d_carenado_c172n_panel_1.cfg", {"panel 172main.bmp", "Yoke172.bmp"}},
  };
  std::vector<PanelBitmaps> available;
  for (const PanelBitmaps& c : all)
    if (fixtureAvailable(c.file)) available.push_back(c);
  return available;
}

}  // namespace orvex::test

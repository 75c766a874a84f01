// The demonstration tree made by orvex_make_demo, used as a new user would: the program starts
// on it with FS98 chosen, and each sample archive, extracted into the assembly area, is
// recognised by Refresh and installs into the sample simulator.
#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "app/orvex.h"
#include "host/host_file_system.h"
#include "support/fakes.h"

namespace orvex::test {
namespace {

namespace stdfs = std::filesystem;

std::string readHost(const stdfs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::string quoted(const std::string& text) {
  return "'" + text + "'";
}

// A Wine prefix not made yet, in which Z: stands for "/".
const char* const kNoPrefix = "/nonexistent/orvex-test-prefix";

// Runs the generator for the drives of a Wine prefix; its exit code.
int makeDemo(const std::string& folder, const std::string& prefix = kNoPrefix) {
  const std::string command = "WINEPREFIX=" + quoted(prefix) + " " + quoted(ORVEX_MAKE_DEMO) + " " +
                              quoted(folder) + " >/dev/null 2>&1";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Extracts a zip without its folder names, as the user is told to; the names extracted.
std::vector<std::string> extractFlat(const stdfs::path& zip, const stdfs::path& into) {
  std::vector<std::string> names;
  std::unique_ptr<archive, decltype(&archive_read_free)> a(archive_read_new(), archive_read_free);
  archive_read_support_format_zip(a.get());
  if (archive_read_open_filename(a.get(), zip.c_str(), 16384) != ARCHIVE_OK) {
    ADD_FAILURE() << "cannot open " << zip << ": " << archive_error_string(a.get());
    return names;
  }
  archive_entry* entry = nullptr;
  while (archive_read_next_header(a.get(), &entry) == ARCHIVE_OK) {
    if (archive_entry_filetype(entry) != AE_IFREG) continue;
    const std::string name = stdfs::path(archive_entry_pathname(entry)).filename().string();
    std::ofstream out(into / name, std::ios::binary);
    char buffer[8192];
    la_ssize_t n;
    while ((n = archive_read_data(a.get(), buffer, sizeof buffer)) > 0) out.write(buffer, n);
    EXPECT_EQ(n, 0) << name << ": " << archive_error_string(a.get());
    names.push_back(name);
  }
  return names;
}

std::vector<std::string> namesIn(const stdfs::path& dir) {
  std::vector<std::string> out;
  std::error_code ec;
  for (auto& e : stdfs::directory_iterator(dir, ec)) out.push_back(e.path().filename());
  std::sort(out.begin(), out.end());
  return out;
}

class DemoTree : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (stdfs::temp_directory_path() / "orvex-demo-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    parent_ = stdfs::canonical(tmpl);
    ASSERT_EQ(makeDemo(parent_.string()), 0);
    root_ = parent_ / "Orvex";
    assembly_ = root_ / "Assembly";
    sims_ = parent_ / "Sims";
    // What the launcher adds to a root directory.
    for (const char* f : {"FileCopy.avi", "click.wav", "Orvex.html"})
      stdfs::copy_file(stdfs::path(ORVEX_RESOURCES_DIR) / f, root_ / f);
  }

  void TearDown() override {
    app_.reset();
    std::error_code ec;
    stdfs::remove_all(parent_, ec);
  }

  // The program as started from the root directory, with Z: standing for "/" as under Wine.
  Orvex& start() {
    DriveMap map;
    map.add('z', "/");
    fs_ = std::make_unique<HostFileSystem>(map, root_.string());
    app_ = std::make_unique<Orvex>(*fs_, tk_, shell_);
    app_->Form_Load();
    return *app_;
  }

  std::string dos(const stdfs::path& host) const { return fs_->dosPath(host.string()); }

  std::vector<std::string> extractSample(const std::string& zip) {
    return extractFlat(parent_ / "Samples" / zip, assembly_);
  }

  stdfs::path parent_, root_, assembly_, sims_;
  std::unique_ptr<HostFileSystem> fs_;
  FakeToolkit tk_;
  FakeShell shell_;
  std::unique_ptr<Orvex> app_;
};

TEST_F(DemoTree, StartsOnFs98AndEverySimulatorDirectoryPassesTheBrowserCheck) {
  EXPECT_EQ(namesIn(parent_), (std::vector<std::string>{"Orvex", "Samples", "Sims"}));
  EXPECT_EQ(
      namesIn(parent_ / "Samples"),
      (std::vector<std::string>{"aircraft_orvex_pack.zip", "aircraft_orvex_racer_liveries.zip",
                                "aircraft_orvex_trainer.zip", "panel_orvex_sport.zip",
                                "repaint_orvex_racer_gold.zip", "scenery_orvex_island.zip",
                                "sound_orvex_radial.zip"}));

  Orvex& app = start();
  EXPECT_TRUE(tk_.boxes.empty()) << tk_.boxes.front().caption << ": " << tk_.boxes.front().text;
  EXPECT_FALSE(app.ended());
  EXPECT_EQ(app.state.OrvexDir, dos(root_) + "\\");
  EXPECT_TRUE(app.frm.optFS98.value());
  EXPECT_EQ(app.state.FlightSim, "FS98");
  EXPECT_EQ(app.state.FS98Path, dos(sims_ / "FS98"));
  EXPECT_EQ(app.state.FS98Path.substr(0, 3), "Z:\\");
  EXPECT_EQ(app.state.FSim, app.state.FS98Path);
  EXPECT_EQ(app.frm.labLocation.caption(), app.state.FS98Path);
  EXPECT_EQ(app.frm.cmdSetDirectories.caption(), "FS98 Directory");
  EXPECT_EQ(app.state.FS2000Path, dos(sims_ / "FS2000"));
  EXPECT_EQ(app.state.CFSPath, dos(sims_ / "CFS"));
  EXPECT_EQ(app.state.CFS2Path, dos(sims_ / "CFS2"));
  EXPECT_EQ(app.state.ZipPath, dos(parent_ / "Samples"));
  EXPECT_EQ(app.state.ZipWarning, 0);

  // Browsing to each directory and pressing Select finds the simulator's check file.
  struct Choice {
    OptionButton& option;
    std::string path;
    const char* caption;
  };
  for (const Choice& c : {Choice{app.frm.optFS2000, app.state.FS2000Path, "FS2000 Directory"},
                          Choice{app.frm.optCFS, app.state.CFSPath, "CFS Directory"},
                          Choice{app.frm.optCFS2, app.state.CFS2Path, "CFS2 Directory"},
                          Choice{app.frm.optFS98, app.state.FS98Path, "FS98 Directory"}}) {
    c.option.setValue(true);
    app.sims.cmdSetDirectories_Click();
    ASSERT_TRUE(app.lists.pointDirList(app.frm.Dir1, c.path)) << c.path;
    app.sims.cmdSelect_Click();
    EXPECT_EQ(tk_.countCaption("FS Directory Errors"), 0) << c.path;
    EXPECT_EQ(app.frm.cmdSetDirectories.caption(), c.caption);
    EXPECT_FALSE(app.frm.frmDirectories.visible());
  }
  EXPECT_TRUE(tk_.boxes.empty());
}

TEST_F(DemoTree, RefreshRecognisesEachSampleAsItsKind) {
  Orvex& app = start();
  struct Expected {
    const char* zip;
    int16_t ProgramState::*flag;
    int tab;
  };
  for (const Expected& e : {Expected{"aircraft_orvex_trainer.zip", &ProgramState::AircraftData, 0},
                            Expected{"panel_orvex_sport.zip", &ProgramState::PanelData, 1},
                            Expected{"scenery_orvex_island.zip", &ProgramState::SceneryData, 2},
                            Expected{"sound_orvex_radial.zip", &ProgramState::SoundData, 3}}) {
    SCOPED_TRACE(e.zip);
    ASSERT_GE(extractSample(e.zip).size(), 4u);
    app.frm.cmdRefresh.click();
    EXPECT_EQ(app.state.*e.flag, 1);
    EXPECT_EQ(
        app.state.AircraftData + app.state.PanelData + app.state.SceneryData + app.state.SoundData,
        1);
    EXPECT_EQ(app.frm.SSTab1.tab(), e.tab);
    EXPECT_EQ(tk_.countCaption("Data Error"), 0);
    if (e.tab == 0) {
      EXPECT_EQ(app.frm.cmdInstall.caption(), "Install Orvex Trainer to FS98");
      EXPECT_TRUE(app.frm.cmdInstall.visible());
      EXPECT_TRUE(app.frm.Image4.visible());  // the preview picture
    }
    app.assembly.RemoveDirectories();
    app.assembly.DeleteAssembly();
    EXPECT_TRUE(namesIn(assembly_).empty());
  }
  EXPECT_TRUE(tk_.boxes.empty()) << tk_.boxes.front().caption << ": " << tk_.boxes.front().text;
}

TEST_F(DemoTree, EverySampleInstallsIntoTheSampleSimulator) {
  Orvex& app = start();
  const stdfs::path fs98 = sims_ / "FS98";

  extractSample("aircraft_orvex_trainer.zip");
  app.frm.cmdRefresh.click();
  app.frm.cmdInstall.click();
  ASSERT_EQ(tk_.boxes.size(), 1u) << tk_.boxes.back().text;
  EXPECT_EQ(tk_.boxes.back().text, "Aircraft Files Installed Successfully!");
  const stdfs::path plane = fs98 / "Aircraft" / "Orvex Trainer";
  EXPECT_EQ(namesIn(plane),
            (std::vector<std::string>{"Aircraft.cfg", "Documentation", "Image", "Model",
                                      "Orvex_Trainer.air", "Orvex_Trainer_check.txt", "Panel",
                                      "Sound", "Texture", "Unknown"}));
  EXPECT_EQ(namesIn(plane / "Panel"),
            (std::vector<std::string>{"Orvex_Trainer_panel.bmp", "panel.cfg"}));
  EXPECT_EQ(namesIn(plane / "Texture"), std::vector<std::string>{"Orvex_Trainer_t.bmp"});
  EXPECT_EQ(namesIn(plane / "Image"), std::vector<std::string>{"Orvex_Trainer.jpg"});
  EXPECT_TRUE(namesIn(plane / "Unknown").empty());
  EXPECT_TRUE(stdfs::exists(fs98 / "Gauges" / "Orvex_Trainer.gau"));
  EXPECT_TRUE(namesIn(assembly_).empty());

  extractSample("panel_orvex_sport.zip");
  app.frm.cmdRefresh.click();
  app.frm.optFSCONV.setValue(true);
  app.frm.txtPanelName.setText("Orvex Sport");
  app.frm.cmdPanelInstall.click();
  ASSERT_EQ(tk_.boxes.size(), 2u) << tk_.boxes.back().text;
  EXPECT_EQ(tk_.boxes.back().text, "Panel Files Installed Successfully!");
  const stdfs::path panel = fs98 / "Aircraft" / "FSFSCONV" / "Panel.Orvex Sport";
  EXPECT_EQ(namesIn(panel),
            (std::vector<std::string>{"Orvex_Sport_panel.bmp", "PanelDocs", "panel.cfg"}));
  EXPECT_EQ(namesIn(panel / "PanelDocs"), std::vector<std::string>{"Orvex_Sport_panel.txt"});
  EXPECT_TRUE(stdfs::exists(fs98 / "Gauges" / "Orvex_Sport.gau"));
  EXPECT_TRUE(stdfs::exists(fs98 / "Sound" / "Orvex_Sport_click.wav"));

  extractSample("sound_orvex_radial.zip");
  app.frm.cmdRefresh.click();
  app.frm.optSound.setValue(true);
  app.frm.cmdInstallSound.click();
  ASSERT_EQ(tk_.boxes.size(), 3u) << tk_.boxes.back().text;
  EXPECT_EQ(tk_.boxes.back().text, "Sound Files Installed Successfully!");
  for (const char* f : {"sound.cfg", "Radial_start.wav", "Radial_idle.wav", "Radial_cruise.wav"})
    EXPECT_TRUE(stdfs::exists(fs98 / "Sound" / f)) << f;

  const std::string sceneryList = readHost(fs98 / "Scenery.cfg");
  extractSample("scenery_orvex_island.zip");
  app.frm.cmdRefresh.click();
  app.frm.txtSceneryName.setText("Orvex Island");
  app.frm.optSceneryDefault.setValue(true);
  app.frm.Command1.click();
  ASSERT_EQ(tk_.boxes.size(), 4u) << tk_.boxes.back().text;
  EXPECT_EQ(tk_.boxes.back().text, "Scenery Files Created Successfully!");
  const stdfs::path island = fs98 / "Scenery" / "Orvex Island";
  EXPECT_EQ(namesIn(island / "Scenery"),
            (std::vector<std::string>{"Orvex_Island.bgl", "Orvex_Island_airport.bgl"}));
  EXPECT_EQ(namesIn(island / "Texture"),
            (std::vector<std::string>{"Orvex_Island_grass.bmp", "Orvex_Island_shore.r8"}));
  EXPECT_EQ(namesIn(island / "Unknown"), std::vector<std::string>{"Orvex_Island.txt"});
  // The sample list's last area has layer 3, so the new one is the fourth.
  EXPECT_EQ(readHost(fs98 / "Scenery.cfg"),
            sceneryList +
                " \r\n[Area.004]\r\nTitle=Orvex Island\r\n"
                "Local=SCENERY\\Orvex Island\\Scenery\r\nActive=TRUE\r\nLayer=4\r\n");
  EXPECT_EQ(readHost(fs98 / "SceneryCfg.bku"), sceneryList);
  EXPECT_TRUE(namesIn(assembly_).empty());

  // The other sample simulators were left alone.
  EXPECT_FALSE(stdfs::exists(sims_ / "FS2000" / "Aircraft" / "Orvex Trainer"));
  EXPECT_EQ(namesIn(sims_ / "CFS" / "Sound"), std::vector<std::string>{});
}

TEST_F(DemoTree, TheGeneratorRefusesAFolderThatHoldsAnythingAndChangesNothing) {
  const std::string settings = readHost(root_ / "Orvex.cfg");
  const stdfs::path sample = parent_ / "Samples" / "panel_orvex_sport.zip";
  const std::string zip = readHost(sample);
  std::ofstream(root_ / "Orvex.cfg", std::ios::app) << "edited";
  EXPECT_NE(makeDemo(parent_.string()), 0);
  EXPECT_EQ(readHost(root_ / "Orvex.cfg"), settings + "edited");
  EXPECT_EQ(readHost(sample), zip);

  const stdfs::path file = parent_ / "a file";
  std::ofstream(file) << "mine";
  EXPECT_NE(makeDemo(file.string()), 0);
  EXPECT_EQ(readHost(file), "mine");

  // A path the settings file could not carry.
  EXPECT_NE(makeDemo((parent_ / "quote\"d").string()), 0);
  EXPECT_FALSE(stdfs::exists(parent_ / "quote\"d"));
}

TEST_F(DemoTree, TheSettingsNameTheDrivesOfTheWinePrefix) {
  const stdfs::path prefix = parent_ / "prefix";
  stdfs::create_directories(prefix / "dosdevices");
  stdfs::create_directories(parent_ / "drive");
  stdfs::create_symlink(parent_ / "drive", prefix / "dosdevices" / "c:");

  ASSERT_EQ(makeDemo((parent_ / "drive" / "demo").string(), prefix.string()), 0);
  const std::string settings = readHost(parent_ / "drive" / "demo" / "Orvex" / "Orvex.cfg");
  EXPECT_EQ(settings.substr(0, settings.find('\r')), "\"C:\\demo\\Sims\\FS98\"");

  // A folder no drive reaches could not be used by the program: nothing is made in it.
  EXPECT_NE(makeDemo((parent_ / "unreached").string(), prefix.string()), 0);
  EXPECT_TRUE(namesIn(parent_ / "unreached").empty());
}

}  // namespace
}  // namespace orvex::test

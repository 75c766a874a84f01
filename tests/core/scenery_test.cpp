// Installing a scenery into its own folder, and appending its area to the simulator's list.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

#include "platform/dos_path.h"
#include "support/fixtures.h"
#include "support/sandbox.h"

namespace orvex::test {
namespace {

const std::string kAsm = "C:\\Orvex\\Assembly\\";
const std::string kCfg = "C:\\FS98\\Scenery.cfg";
const std::string kBku = "C:\\FS98\\SceneryCfg.bku";

// The host file system with a disk that fills up halfway through an append to a scenery list.
class FillingFileSystem : public HostFileSystem {
 public:
  using HostFileSystem::HostFileSystem;
  bool diskFull = false;
  void appendFile(const std::string& path, const std::string& data) override {
    if (diskFull && dos::lower(path).ends_with("scenery.cfg")) {
      HostFileSystem::appendFile(path, data.substr(0, data.size() / 2));
      throw FileError(err::DiskFull);
    }
    HostFileSystem::appendFile(path, data);
  }
};

std::string entry(int number, const std::string& name, const std::string& local = "",
                  const std::string& end = "\r\n") {
  char area[16];
  std::snprintf(area, sizeof area, "%03d", number);
  return " " + end + "[Area." + std::string(area) + "]" + end + "Title=" + name + end +
         "Local=" + (local.empty() ? "SCENERY\\" + name + "\\Scenery" : local) + end +
         "Active=TRUE" + end + "Layer=" + std::to_string(number) + end;
}

class SceneryTest : public Sandbox {
 protected:
  void SetUp() override {
    Sandbox::SetUp();
    DriveMap map;
    map.add('c', root_);
    auto filling = std::make_unique<FillingFileSystem>(map, root_ + "/Orvex");
    filling_ = filling.get();
    fs_ = std::move(filling);
  }

  Orvex& startFS98(const std::string& fs2000 = "") {
    makeSimulator("C:\\FS98", "Fltsim98.cfg");
    write("C:\\Orvex\\FileCopy.avi", "RIFF");
    write("C:\\Orvex\\Orvex.cfg",
          "\"C:\\FS98\"\r\n\"" + fs2000 + "\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"FS98\"\r\n1\r\n");
    Orvex& app = start();
    tk_.beeps = 0;
    return app;
  }

  // Refresh as the user presses it: the scan opens the Scenery tab.
  void refresh(Orvex& app) {
    app.frm.cmdRefresh.click();
    ASSERT_EQ(app.state.SceneryData, 1);
    ASSERT_TRUE(app.frm.frmScenery.visible());
    tk_.boxes.clear();
    tk_.beeps = 0;
  }

  // The name typed and the main scenery directory chosen.
  void chooseMain(Orvex& app, const std::string& name) {
    app.frm.txtSceneryName.setText(name);
    app.frm.optSceneryDefault.setValue(true);
  }

  // The install ended and the tab went back to its start.
  void expectFinished(Orvex& app) {
    ASSERT_FALSE(tk_.boxes.empty());
    EXPECT_EQ(tk_.boxes.back().text, "Scenery Files Created Successfully!");
    EXPECT_EQ(tk_.boxes.back().caption, "Success!");
    EXPECT_EQ(tk_.boxes.back().icon, MsgIcon::Information);
    EXPECT_EQ(app.frm.txtSceneryName.text(), "");
    EXPECT_EQ(app.frm.labSceneryDir.caption(), "");
    EXPECT_FALSE(app.frm.frmScenery.visible());
    EXPECT_FALSE(app.frm.drvScenery.visible());
    EXPECT_FALSE(app.frm.dirScenery.visible());
    EXPECT_EQ(app.state.SceneryData, 0);
    EXPECT_EQ(app.state.PatternList, "");
    EXPECT_EQ(app.frm.SSTab1.tab(), 0);
    EXPECT_FALSE(app.anim.visible());
    EXPECT_FALSE(app.busy());
    EXPECT_EQ(app.frm.mousePointer(), MousePointer::Default);
  }

  // Stopped with the name selected for another try.
  void expectNameSelected(Orvex& app) {
    EXPECT_TRUE(app.frm.txtSceneryName.hasFocus());
    EXPECT_EQ(app.frm.txtSceneryName.selStart(), 0);
    EXPECT_EQ(app.frm.txtSceneryName.selLength(), int(app.frm.txtSceneryName.text().size()));
    EXPECT_TRUE(app.frm.frmScenery.visible());
    EXPECT_EQ(app.state.SceneryData, 1);
    EXPECT_FALSE(app.anim.visible());
    EXPECT_FALSE(app.busy());
    EXPECT_EQ(app.frm.mousePointer(), MousePointer::Default);
  }

  FillingFileSystem* filling_ = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Install

TEST_F(SceneryTest, FilesAreSortedIntoTheirFoldersAndTheAreaIsRegistered) {
  Orvex& app = startFS98();
  const std::string list = "[Area.041]\r\nTitle=Old\r\nLocal=SCENERY\\Old\\Scenery\r\nLayer=41\r\n";
  write(kCfg, list);
  for (const char* f : {"alps.bgl", "PEAKS.BGL", "snow.bmp", "grass.r8", "lake.r85", "map.0",
                        "map.1", "hills.pat", "readme.txt", "LICENSE"})
    write(kAsm + f, f);
  write(kAsm + "Texture\\inner.bmp");  // a texture folder's files go to Texture
  refresh(app);
  chooseMain(app, "Swiss Alps");

  // Clicks while the copy window pauses are refused: the install owns the window.
  int refusedDuringPause = 0;
  tk_.onEvents = [&] {
    if (!app.anim.visible()) return;
    const int before = tk_.beeps;
    app.frm.Command2.click();
    app.frm.Command1.click();
    refusedDuringPause += tk_.beeps - before;
  };
  app.frm.Command1.click();
  tk_.onEvents = nullptr;

  const std::string d = "C:\\FS98\\Scenery\\Swiss Alps";
  EXPECT_EQ(names(d), (std::vector<std::string>{"Scenery", "Texture", "Unknown"}));
  EXPECT_EQ(names(d + "\\Scenery"), (std::vector<std::string>{"PEAKS.BGL", "alps.bgl"}));
  EXPECT_EQ(names(d + "\\Texture"),
            (std::vector<std::string>{"grass.r8", "hills.pat", "inner.bmp", "lake.r85", "map.0",
                                      "map.1", "snow.bmp"}));
  EXPECT_EQ(names(d + "\\Unknown"), (std::vector<std::string>{"LICENSE", "readme.txt"}));
  EXPECT_EQ(read(d + "\\Scenery\\alps.bgl"), "alps.bgl");
  EXPECT_TRUE(names("C:\\Orvex\\Assembly").empty());

  EXPECT_EQ(read(kCfg), list + entry(42, "Swiss Alps"));
  EXPECT_EQ(read(kBku), list);
  EXPECT_GT(refusedDuringPause, 0);
  EXPECT_EQ(tk_.boxes.size(), 1u);
  expectFinished(app);
}

TEST_F(SceneryTest, WithNothingLeftTheUnknownFolderStaysEmpty) {
  Orvex& app = startFS98();
  write(kCfg, "");
  write(kAsm + "a.bgl");
  write(kAsm + "t.bmp");
  refresh(app);
  chooseMain(app, "Tiny");
  app.frm.Command1.click();
  EXPECT_TRUE(names("C:\\FS98\\Scenery\\Tiny\\Unknown").empty());
  EXPECT_EQ(names("C:\\FS98\\Scenery\\Tiny\\Texture"), std::vector<std::string>{"t.bmp"});
  EXPECT_EQ(read(kCfg), entry(0, "Tiny"));
  expectFinished(app);
}

TEST_F(SceneryTest, InstallRefusesWithoutALabelATargetOrSceneryData) {
  Orvex& app = startFS98();
  write(kCfg, "Layer=1\r\n");
  write(kAsm + "a.bgl");
  refresh(app);

  // No name typed yet: the label is empty.
  app.frm.optSceneryDefault.setValue(true);
  app.frm.Command1.click();
  EXPECT_EQ(tk_.beeps, 1);

  // A name, but no target chosen.
  app.frm.optSceneryDefault.setValue(false);
  app.frm.txtSceneryName.setText("Alps");
  app.frm.Command1.click();
  EXPECT_EQ(tk_.beeps, 2);
  EXPECT_TRUE(tk_.boxes.empty());

  // Name and target, but the last scan found no scenery.
  app.frm.optSceneryDefault.setValue(true);
  app.frm.SSTab1.setTab(2);
  app.state.SceneryData = 0;
  app.frm.Command1.click();
  EXPECT_EQ(tk_.beeps, 3);
  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].text, "No Scenery Files Found!");
  EXPECT_EQ(tk_.boxes[0].caption, "No Scenery");
  EXPECT_EQ(tk_.boxes[0].icon, MsgIcon::Warning);
  EXPECT_EQ(app.frm.SSTab1.tab(), 0);

  EXPECT_TRUE(names("C:\\FS98\\Scenery").empty());
  EXPECT_TRUE(exists(kAsm + "a.bgl"));
  EXPECT_EQ(read(kCfg), "Layer=1\r\n");
}

TEST_F(SceneryTest, NamesThatCannotBeAFolderOrAnEntryAreRefusedBeforeAnythingIsMade) {
  Orvex& app = startFS98();
  write(kCfg, "Layer=1\r\n");
  write(kAsm + "a.bgl");
  refresh(app);

  // Typed and deleted again: the label still shows the path, the name is empty.
  app.frm.txtSceneryName.setText("Alps");
  app.frm.txtSceneryName.setText("");
  ASSERT_FALSE(app.frm.labSceneryDir.caption().empty());
  app.frm.optSceneryDefault.setValue(true);
  app.frm.Command1.click();
  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].text, "Please Enter a Name for this Scenery");
  EXPECT_EQ(tk_.boxes[0].caption, "Scenery Name");
  expectNameSelected(app);

  for (const std::string bad :
       {"   ", "a\\b", "a/b", "c:", "x*", "x?", "say \"hi\"", "<a", "a>", "a|b", "Alps, West",
        "[Area.001]", "x]", "..", ".", "two\r\nlines", "tab\there"}) {
    SCOPED_TRACE(bad);
    tk_.boxes.clear();
    app.frm.txtSceneryName.setFocus();
    app.frm.txtSceneryName.setText(bad);
    app.frm.Command1.click();
    ASSERT_EQ(tk_.boxes.size(), 1u);
    EXPECT_EQ(tk_.boxes[0].caption, "Scenery Name");
    EXPECT_EQ(tk_.boxes[0].icon, MsgIcon::Warning);
    if (bad != "   ") {
      EXPECT_NE(tk_.boxes[0].text.find(bad), std::string::npos);
    }
    expectNameSelected(app);
  }
  EXPECT_TRUE(names("C:\\FS98\\Scenery").empty());
  EXPECT_FALSE(exists("C:\\FS98\\a"));
  EXPECT_TRUE(exists(kAsm + "a.bgl"));
  EXPECT_EQ(read(kCfg), "Layer=1\r\n");
  EXPECT_FALSE(exists(kBku));

  // Dots inside a name are fine.
  tk_.boxes.clear();
  app.frm.txtSceneryName.setText("St. Moritz v1.2");
  app.frm.Command1.click();
  EXPECT_TRUE(exists("C:\\FS98\\Scenery\\St. Moritz v1.2\\Scenery\\a.bgl"));
  EXPECT_EQ(read(kCfg), "Layer=1\r\n" + entry(2, "St. Moritz v1.2"));
  expectFinished(app);
}

TEST_F(SceneryTest, AnExistingSceneryFolderWithYesIsRefreshedWithoutASecondEntry) {
  Orvex& app = startFS98();
  const std::string list = "[Area.007]\r\nLocal=SCENERY\\Alps\\Scenery\r\nLayer=7\r\n";
  write(kCfg, list);
  write("C:\\FS98\\Scenery\\Alps\\Scenery\\alps.bgl", "old");
  write("C:\\FS98\\Scenery\\Alps\\Scenery\\keep.bgl", "kept");
  write(kAsm + "alps.bgl", "new");
  write(kAsm + "snow.bmp", "snow");
  refresh(app);
  chooseMain(app, "Alps");
  app.frm.Command1.click();

  ASSERT_EQ(tk_.boxes.size(), 2u);
  EXPECT_EQ(tk_.boxes[0].text, "The Alps Scenery Directory Exists!\rOverwrite?");
  EXPECT_EQ(tk_.boxes[0].caption, "Directory Exists");
  EXPECT_EQ(tk_.boxes[0].buttons, MsgButtons::YesNo);
  EXPECT_EQ(read("C:\\FS98\\Scenery\\Alps\\Scenery\\alps.bgl"), "new");
  EXPECT_EQ(read("C:\\FS98\\Scenery\\Alps\\Scenery\\keep.bgl"), "kept");
  // The missing Texture folder of the old scenery is made for its files.
  EXPECT_EQ(read("C:\\FS98\\Scenery\\Alps\\Texture\\snow.bmp"), "snow");
  EXPECT_EQ(read(kCfg), list);
  EXPECT_FALSE(exists(kBku));
  EXPECT_TRUE(names("C:\\Orvex\\Assembly").empty());
  expectFinished(app);
}

TEST_F(SceneryTest, AnExistingSceneryFolderWithNoKeepsEverythingAndSelectsTheName) {
  Orvex& app = startFS98();
  write(kCfg, "Layer=3\r\n");
  write("C:\\FS98\\Scenery\\Alps\\Scenery\\alps.bgl", "old");
  write(kAsm + "alps.bgl", "new");
  refresh(app);
  chooseMain(app, "Alps");
  tk_.answers = {MsgAnswer::No};
  app.frm.Command1.click();

  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].caption, "Directory Exists");
  EXPECT_EQ(read("C:\\FS98\\Scenery\\Alps\\Scenery\\alps.bgl"), "old");
  EXPECT_EQ(read(kAsm + "alps.bgl"), "new");
  EXPECT_EQ(read(kCfg), "Layer=3\r\n");
  EXPECT_EQ(app.frm.txtSceneryName.text(), "Alps");
  EXPECT_EQ(app.frm.txtSceneryName.selLength(), 4);
  expectNameSelected(app);

  // Another name goes through, and is registered.
  tk_.boxes.clear();
  app.frm.txtSceneryName.setText("Alps 2");
  app.frm.Command1.click();
  EXPECT_EQ(read("C:\\FS98\\Scenery\\Alps 2\\Scenery\\alps.bgl"), "new");
  EXPECT_EQ(read(kCfg), "Layer=3\r\n" + entry(4, "Alps 2"));
  expectFinished(app);
}

TEST_F(SceneryTest, AProtectedFileIsAskedAboutOnceAndReplacedOrStopsTheInstall) {
  Orvex& app = startFS98();
  write(kCfg, "");
  write("C:\\FS98\\Scenery\\Alps\\Scenery\\a.bgl", "old a");
  fs_->setReadOnly("C:\\FS98\\Scenery\\Alps\\Scenery\\a.bgl", true);
  write(kAsm + "a.bgl", "new a");
  write(kAsm + "b.bgl", "new b");
  refresh(app);
  chooseMain(app, "Alps");
  // Yes to the existing folder, Yes to the protected file; a third question would mean the
  // copy section started over on the same file.
  tk_.answers = {MsgAnswer::Yes, MsgAnswer::Yes, MsgAnswer::No};
  app.frm.Command1.click();
  EXPECT_EQ(tk_.countCaption("Directory Exists"), 2);
  EXPECT_EQ(read("C:\\FS98\\Scenery\\Alps\\Scenery\\a.bgl"), "new a");
  EXPECT_EQ(read("C:\\FS98\\Scenery\\Alps\\Scenery\\b.bgl"), "new b");
  expectFinished(app);

  // No at the protected file stops the install with the copy window hidden.
  write("C:\\FS98\\Scenery\\Alps\\Scenery\\a.bgl", "old a");
  fs_->setReadOnly("C:\\FS98\\Scenery\\Alps\\Scenery\\a.bgl", true);
  tk_.boxes.clear();
  tk_.answers = {MsgAnswer::Yes, MsgAnswer::No};
  write(kAsm + "a.bgl", "newer a");
  write(kAsm + "c.bgl", "new c");
  refresh(app);
  chooseMain(app, "Alps");
  app.frm.Command1.click();
  EXPECT_EQ(tk_.countCaption("Directory Exists"), 2);
  EXPECT_EQ(tk_.countCaption("Success!"), 0);
  EXPECT_EQ(read("C:\\FS98\\Scenery\\Alps\\Scenery\\a.bgl"), "old a");
  EXPECT_EQ(read(kAsm + "a.bgl"), "newer a");
  EXPECT_TRUE(exists(kAsm + "c.bgl"));
  expectNameSelected(app);
}

TEST_F(SceneryTest, OtherFailuresReportTheErrorAndHideTheCopyWindow) {
  Orvex& app = startFS98();
  write(kCfg, "");
  // An old scenery whose Texture is a file: the texture cannot be copied into it.
  write("C:\\FS98\\Scenery\\Alps\\Texture", "not a folder");
  write(kAsm + "a.bgl");
  write(kAsm + "t.bmp");
  refresh(app);
  chooseMain(app, "Alps");
  app.frm.Command1.click();
  ASSERT_EQ(tk_.boxes.size(), 2u);
  EXPECT_EQ(tk_.boxes[1].text, "Error  76 Path not found\rC:\\FS98\\Scenery\\Alps\\Texture\\t.bmp");
  EXPECT_EQ(tk_.boxes[1].caption, "Orvex Load Error");
  EXPECT_EQ(tk_.boxes[1].icon, MsgIcon::Information);
  EXPECT_FALSE(app.anim.visible());
  EXPECT_FALSE(app.busy());
  EXPECT_EQ(app.frm.mousePointer(), MousePointer::Default);
  EXPECT_TRUE(exists("C:\\FS98\\Scenery\\Alps\\Scenery\\a.bgl"));  // moved before the failure
  EXPECT_TRUE(exists(kAsm + "t.bmp"));
  EXPECT_EQ(read(kCfg), "");

  // Without its animation the copy window cannot open: nothing is moved.
  tk_.boxes.clear();
  std::filesystem::remove(host("C:\\Orvex\\FileCopy.avi"));
  chooseMain(app, "Glacier");
  app.frm.Command1.click();
  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].text, "Error  53 File not found\rC:\\Orvex\\FileCopy.avi");
  EXPECT_TRUE(exists(kAsm + "t.bmp"));
  EXPECT_TRUE(names("C:\\FS98\\Scenery\\Glacier\\Texture").empty());
  EXPECT_FALSE(app.anim.visible());
  EXPECT_FALSE(app.ended());
}

TEST_F(SceneryTest, LetMeDecideRegistersTheFolderTheFilesWentTo) {
  struct Case {
    std::string chosen, local;
  };
  // Inside the simulator's folder the area names it from there, elsewhere by its full path.
  const std::vector<Case> cases = {
      {"C:\\Addons\\Europe", "C:\\Addons\\Europe\\Alps\\Scenery"},
      {"C:\\FS98\\Addon Scenery", "Addon Scenery\\Alps\\Scenery"},
      {"C:\\fs98\\scenery", "scenery\\Alps\\Scenery"},
  };
  for (const Case& c : cases) {
    Orvex& app = startFS98();
    write(kCfg, "Layer=12\r\n");
    makeDir(c.chosen);
    write(kAsm + "a.bgl");
    refresh(app);
    app.frm.txtSceneryName.setText("Alps");
    app.frm.optSceneryOptional.setValue(true);
    EXPECT_EQ(app.frm.dirScenery.path(), "C:\\FS98");
    EXPECT_TRUE(app.frm.dirScenery.visible());
    EXPECT_FALSE(app.frm.labSceneryDir.visible());
    // The hidden label keeps showing the main scenery directory.
    EXPECT_EQ(app.frm.labSceneryDir.caption(), "Install to: \rC:\\FS98 \\Scenery \\Alps");
    // Back and forth between the two targets.
    app.frm.optSceneryDefault.setValue(true);
    EXPECT_FALSE(app.frm.dirScenery.visible());
    EXPECT_TRUE(app.frm.labSceneryDir.visible());
    app.frm.optSceneryOptional.setValue(true);

    app.frm.dirScenery.setPath(c.chosen);
    app.frm.Command1.click();
    EXPECT_TRUE(exists(c.chosen + "\\Alps\\Scenery\\a.bgl")) << c.chosen;
    EXPECT_EQ(read(kCfg), "Layer=12\r\n" + entry(13, "Alps", c.local)) << c.chosen;
    expectFinished(app);

    // A reinstall over the same folder finds its area by the same Local=.
    write(kAsm + "b.bgl");
    refresh(app);
    app.frm.txtSceneryName.setText("Alps");
    app.frm.optSceneryOptional.setValue(true);
    app.frm.dirScenery.setPath(c.chosen);
    tk_.answers = {MsgAnswer::Yes};
    app.frm.Command1.click();
    EXPECT_TRUE(exists(c.chosen + "\\Alps\\Scenery\\b.bgl")) << c.chosen;
    EXPECT_EQ(read(kCfg), "Layer=12\r\n" + entry(13, "Alps", c.local)) << c.chosen;
    TearDown();
    SetUp();
  }
}

TEST_F(SceneryTest, ADriveThatCannotBeShownLeavesTheFolderListWhereItWas) {
  Orvex& app = startFS98();
  write(kAsm + "a.bgl");
  refresh(app);
  app.frm.txtSceneryName.setText("Alps");
  app.frm.optSceneryOptional.setValue(true);
  app.frm.drvScenery.setDrive("q:");  // not in the drive map
  EXPECT_EQ(tk_.countCaption("Folder Not Found"), 1);
  EXPECT_EQ(app.frm.dirScenery.path(), "C:\\FS98");
  EXPECT_EQ(app.frm.drvScenery.drive(), "c:");
}

TEST_F(SceneryTest, WithoutASimulatorDirectoryNothingIsMadeAnywhere) {
  write("C:\\Orvex\\FileCopy.avi", "RIFF");
  write("C:\\Orvex\\Orvex.cfg", "\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"FS98\"\r\n1\r\n");
  Orvex& app = start();
  ASSERT_EQ(app.state.FSim, "Select FS98 Directory");
  write(kAsm + "a.bgl");
  app.state.SceneryData = 1;
  app.frm.txtSceneryName.setText("Alps");

  // The folder list cannot show a placeholder, so no folder is chosen.
  app.frm.optSceneryOptional.setValue(true);
  EXPECT_EQ(tk_.countCaption("Folder Not Found"), 1);
  app.frm.Command1.click();
  EXPECT_EQ(tk_.countCaption("Scenery Folder"), 1);
  EXPECT_FALSE(exists("C:\\Alps"));

  app.frm.optSceneryDefault.setValue(true);
  app.frm.Command1.click();
  EXPECT_EQ(tk_.boxes.back().text,
            "Error  76 Path not found\rC:\\Orvex\\Select FS98 Directory\\Scenery\\Alps");
  EXPECT_EQ(names("C:\\"), (std::vector<std::string>{"Orvex"}));
  EXPECT_EQ(names("C:\\Orvex"),
            (std::vector<std::string>{"Assembly", "FileCopy.avi", "Orvex.cfg"}));
  EXPECT_TRUE(exists(kAsm + "a.bgl"));
}

TEST_F(SceneryTest, TheLabelWrapsALongSimulatorPath) {
  makeSimulator("C:\\Program Files\\FS2000", "FS2000.exe");
  Orvex& app = startFS98("C:\\Program Files\\FS2000");
  write("C:\\Program Files\\FS2000\\Scenery.cfg", "[Area.001]\r\nLayer=1\r\n");
  write(kAsm + "a.bgl");
  app.frm.optFS2000.setValue(true);
  refresh(app);
  app.frm.txtSceneryName.setText("Alps");
  EXPECT_EQ(app.frm.labSceneryDir.caption(),
            "Install to: \rC:\\Program Files\\ FS2000 \\Scenery \\Alps");
  app.frm.optSceneryDefault.setValue(true);
  app.frm.Command1.click();
  EXPECT_TRUE(exists("C:\\Program Files\\FS2000\\Scenery\\Alps\\Scenery\\a.bgl"));
  EXPECT_EQ(read("C:\\Program Files\\FS2000\\Scenery.cfg"),
            "[Area.001]\r\nLayer=1\r\n" + entry(2, "Alps"));
  expectFinished(app);
}

TEST_F(SceneryTest, CancelEmptiesTheAssemblyAreaAndHidesTheFrame) {
  Orvex& app = startFS98();
  write(kAsm + "a.bgl");
  write(kAsm + "t.bmp");
  write(kAsm + "Texture\\inner.bmp");
  refresh(app);
  app.frm.SSTab1.setTab(2);
  app.frm.txtSceneryName.setText("Alps");
  app.frm.optSceneryOptional.setValue(true);
  app.frm.Command2.click();
  EXPECT_TRUE(names("C:\\Orvex\\Assembly").empty());
  EXPECT_EQ(app.frm.txtSceneryName.text(), "");
  EXPECT_EQ(app.frm.labSceneryDir.caption(), "");
  EXPECT_FALSE(app.frm.frmScenery.visible());
  EXPECT_FALSE(app.frm.dirScenery.visible());
  EXPECT_FALSE(app.frm.drvScenery.visible());
  EXPECT_EQ(app.frm.SSTab1.tab(), 0);
  EXPECT_EQ(app.state.SceneryData, 1);
  EXPECT_EQ(app.frm.mousePointer(), MousePointer::Default);
}

// ---------------------------------------------------------------------------------------------
// The scenery list

class SceneryListTest : public SceneryTest {
 protected:
  // Runs the update for a name, as the install does after copying.
  void update(Orvex& app, const std::string& name) {
    app.frm.txtSceneryName.setText(name);
    app.scenery.UpdateSceneryConfig();
  }

  // Every layer value and area number of a list, read line by line.
  static std::set<long> numbersIn(const std::string& list) {
    std::set<long> out;
    static const std::regex number(R"((?:^|\n)\s*(?:layer\s*=\s*|\[area\.)(\d+))",
                                   std::regex::icase);
    for (auto m = std::sregex_iterator(list.begin(), list.end(), number);
         m != std::sregex_iterator(); ++m)
      out.insert(std::stol((*m)[1]));
    return out;
  }
};

TEST_F(SceneryListTest, ListsGetExactlyOneFreeEntryOnTopAndAnExactBackup) {
  for (const auto& [file, expected] : std::vector<std::pair<std::string, int>>{
           {"scenery/scenery_crlf.cfg", 61},
           {"real:scenery/fsx_acceleration_default_scenery.cfg", 121},
           {"real:scenery/fsx_localised_ids_scenery.cfg", 125}}) {
    if (!fixtureAvailable(file)) continue;
    SCOPED_TRACE(file);
    TearDown();
    SetUp();
    Orvex& app = startFS98();
    const std::string before = fixtureText(file);
    ASSERT_FALSE(before.empty());
    write(kCfg, before);
    write(kBku, "an older backup that is longer than nothing");

    update(app, "My Alps");
    const std::set<long> taken = numbersIn(before);
    ASSERT_FALSE(taken.contains(expected));
    EXPECT_EQ(*taken.rbegin() + 1, expected);
    const std::string end = before.find("\r\n") != std::string::npos ? "\r\n" : "\n";
    EXPECT_EQ(read(kCfg), before + entry(expected, "My Alps", "", end));
    EXPECT_EQ(read(kBku), before);

    // A second update stacks the next number on top; the backup follows the list.
    const std::string once = read(kCfg);
    update(app, "My Alps");
    EXPECT_EQ(read(kCfg), once + entry(expected + 1, "My Alps", "", end));
    EXPECT_EQ(read(kBku), once);
    EXPECT_TRUE(tk_.boxes.empty());
  }
}

TEST_F(SceneryListTest, TheNewNumberLiesAboveEveryLayerAndArea) {
  Orvex& app = startFS98();
  struct Case {
    std::string list;
    int number;
  };
  for (const Case& c : std::vector<Case>{
           {"", 0},
           {"[General]\r\nTitle=World\r\n", 0},
           {"LAYER=9\r\n", 10},
           {"Layer=60\r\nLayer=5\r\n", 61},                  // out of order: the largest counts
           {"[Area.200]\r\nLayer=3\r\n", 201},               // a numbered area without its layer
           {"[AREA.015]\r\n[Area.014]\r\n", 16},             // areas only
           {"Layer=12abc\r\n", 13},                          // the number at the start decides
           {"Layer=12.7\r\n", 13},                           // a fraction still lies below 13
           {"Layer=x\r\n", 1},                               // no digits read as 0
           {"  layer = 30\r\n", 31},                         // blanks around the key
           {"Title=Layer=500 Mountains\r\nLayer=2\r\n", 3},  // only the key counts
           {"Layer=-4\r\n", 0},
           {"Layer=998\r\n", 999},
           {"Layer=1004\n", 1005},
       }) {
    SCOPED_TRACE(c.list);
    write(kCfg, c.list);
    update(app, "Alps");
    const std::string end = c.list.ends_with("\r\n") || c.list.empty() ? "\r\n" : "\n";
    EXPECT_EQ(read(kCfg), c.list + entry(c.number, "Alps", "", end));
    app.frm.txtSceneryName.setText("");
  }
  EXPECT_TRUE(tk_.boxes.empty());
}

TEST_F(SceneryListTest, EightBitBytesPassThroughUnchangedAndALastLineIsEndedFirst) {
  Orvex& app = startFS98();
  const std::string before =
      "[Area.003]\nTitle=Z\xfcrich \xe9t\xe9 \x80\xff\nLocal=Scenery\\Z\xfcrich\nLayer=3";
  write(kCfg, before);
  update(app, "Caf\xe9 Alps");
  EXPECT_EQ(read(kCfg), before + "\n" + entry(4, "Caf\xe9 Alps", "", "\n"));
  EXPECT_EQ(read(kBku), before);
}

TEST_F(SceneryListTest, AMissingListIsReportedAndTheFilesAreStillInstalled) {
  Orvex& app = startFS98();
  write(kAsm + "a.bgl");
  refresh(app);
  chooseMain(app, "Alps");
  app.frm.Command1.click();

  EXPECT_TRUE(exists("C:\\FS98\\Scenery\\Alps\\Scenery\\a.bgl"));
  ASSERT_EQ(tk_.boxes.size(), 2u);
  EXPECT_NE(tk_.boxes[0].text.find("could not be added to the Scenery list"), std::string::npos);
  EXPECT_NE(tk_.boxes[0].text.find("C:\\FS98\\Scenery.cfg was not found"), std::string::npos);
  EXPECT_EQ(tk_.boxes[0].icon, MsgIcon::Warning);
  EXPECT_FALSE(exists(kCfg));
  EXPECT_FALSE(exists(kBku));
  EXPECT_FALSE(app.ended());
  expectFinished(app);
}

TEST_F(SceneryListTest, AListThatIsNoTextIsRefusedBeforeAnythingIsInstalled) {
  Orvex& app = startFS98();
  for (const std::string& bad : {std::string("[Area.001]\r\nLayer=1\r\n\0\x01", 24),
                                 std::string("\xFF\xFE[\0A\0\r", 7),  // UTF-16 of odd length
                                 std::string("\xEF\xBB\xBF[Area.001]\r\nTitle=Z\xfcrich\r\n")}) {
    SCOPED_TRACE(bad);
    write(kCfg, bad);
    write(kAsm + "a.bgl");
    refresh(app);
    chooseMain(app, "Alps");
    app.frm.Command1.click();
    ASSERT_EQ(tk_.boxes.size(), 1u);
    EXPECT_EQ(tk_.boxes[0].caption, "Scenery List");
    EXPECT_EQ(tk_.boxes[0].icon, MsgIcon::Warning);
    EXPECT_EQ(tk_.boxes[0].text.rfind("The Scenery Alps was not installed:\r" + kCfg +
                                          " cannot be read as a scenery list: ",
                                      0),
              0u)
        << tk_.boxes[0].text;
    EXPECT_TRUE(read(kCfg) == bad);
    EXPECT_FALSE(exists(kBku));
    EXPECT_FALSE(exists("C:\\FS98\\Scenery\\Alps"));
    EXPECT_TRUE(exists(kAsm + "a.bgl"));
    // Ready for another try once the list is mended.
    EXPECT_TRUE(app.frm.frmScenery.visible());
    EXPECT_FALSE(app.busy());
    EXPECT_EQ(app.frm.mousePointer(), MousePointer::Default);
  }
}

TEST_F(SceneryListTest, AFailedAppendPutsTheListBackAndTheProgramGoesOn) {
  Orvex& app = startFS98();
  const std::string before = "[Area.001]\r\nLayer=1\r\n";
  write(kCfg, before);
  write(kAsm + "a.bgl");
  refresh(app);
  chooseMain(app, "Alps");
  filling_->diskFull = true;
  app.frm.Command1.click();

  ASSERT_EQ(tk_.boxes.size(), 3u);
  EXPECT_EQ(tk_.boxes[0].text, "Error 61 Disk full");
  EXPECT_EQ(tk_.boxes[0].caption, "Update Scenery Config Errors");
  EXPECT_EQ(tk_.boxes[0].icon, MsgIcon::Information);
  EXPECT_NE(tk_.boxes[1].text.find("was not added to the Scenery list"), std::string::npos);
  EXPECT_NE(tk_.boxes[1].text.find("is unchanged"), std::string::npos);
  EXPECT_EQ(read(kCfg), before);
  EXPECT_EQ(read(kBku), before);
  EXPECT_TRUE(exists("C:\\FS98\\Scenery\\Alps\\Scenery\\a.bgl"));
  EXPECT_FALSE(app.ended());
  EXPECT_EQ(tk_.quits, 0);
  expectFinished(app);
}

TEST_F(SceneryListTest, AProtectedBackupOrListOrAnOverlongNumberLeavesTheListAlone) {
  Orvex& app = startFS98();
  const std::string before = "Layer=5\r\n";
  write(kCfg, before);

  // The old backup cannot be replaced.
  write(kBku, "older");
  fs_->setReadOnly(kBku, true);
  update(app, "Alps");
  ASSERT_EQ(tk_.boxes.size(), 2u);
  EXPECT_EQ(tk_.boxes[0].text, "Error 75 Path/File access error\rC:\\FS98\\SceneryCfg.bku");
  EXPECT_EQ(tk_.boxes[0].caption, "Update Scenery Config Errors");
  EXPECT_EQ(read(kCfg), before);
  EXPECT_EQ(read(kBku), "older");
  fs_->setReadOnly(kBku, false);

  // The list itself is protected.
  tk_.boxes.clear();
  fs_->setReadOnly(kCfg, true);
  update(app, "Glacier");
  ASSERT_EQ(tk_.boxes.size(), 2u);
  EXPECT_EQ(tk_.boxes[0].text, "Error 75 Path/File access error\rC:\\FS98\\Scenery.cfg");
  EXPECT_NE(tk_.boxes[1].text.find("is unchanged"), std::string::npos);
  EXPECT_EQ(read(kCfg), before);
  fs_->setReadOnly(kCfg, false);

  // A layer number too large to count on from.
  tk_.boxes.clear();
  write(kCfg, "Layer=99999999999\r\n");
  update(app, "Peak");
  ASSERT_EQ(tk_.boxes.size(), 2u);
  EXPECT_EQ(tk_.boxes[0].text, "Error 6 Overflow");
  EXPECT_EQ(read(kCfg), "Layer=99999999999\r\n");
  EXPECT_FALSE(app.ended());
}

}  // namespace
}  // namespace orvex::test

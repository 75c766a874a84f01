// The Refresh button: what the assembly area is taken for, and the tab and frame it opens.
#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "support/sandbox.h"

namespace orvex::test {
namespace {

const std::string kAssembly = "C:\\Orvex\\Assembly";

struct Flags {
  int aircraft, panel, scenery, sound;
  bool operator==(const Flags&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Flags& f) {
  return out << "{aircraft " << f.aircraft << ", panel " << f.panel << ", scenery " << f.scenery
             << ", sound " << f.sound << "}";
}

Flags flagsOf(const Orvex& app) {
  const ProgramState& s = app.state;
  return {s.AircraftData, s.PanelData, s.SceneryData, s.SoundData};
}

class ScanTest : public Sandbox {
 protected:
  // FS98 chosen at C:\FS98; the other simulators unset.
  Orvex& startSet(const std::string& tag = "FS98") {
    makeSimulator("C:\\FS98", "Fltsim98.cfg");
    makeSimulator("C:\\CFS2", "cfs2.exe");
    write("C:\\Orvex\\Orvex.cfg",
          "\"C:\\FS98\"\r\n\"\"\r\n\"\"\r\n\"C:\\CFS2\"\r\n\"\"\r\n\"" + tag + "\"\r\n1\r\n");
    Orvex& app = start();
    tk_.beeps = 0;
    return app;
  }

  void putInAssembly(const std::vector<std::string>& files) {
    for (const std::string& f : files) write(kAssembly + "\\" + f, "[x]\r\n");
  }

  void emptyAssembly() {
    std::filesystem::remove_all(host(kAssembly));
    makeDir(kAssembly);
  }
};

TEST_F(ScanTest, ClassifiesTheTopOfTheAssemblyAreaAndChangesNothingOnDisk) {
  Orvex& app = startSet();
  struct Case {
    std::vector<std::string> files;
    Flags expected;
  };
  const std::vector<Case> cases = {
      // An Aircraft.cfg is an aircraft, whatever lies beside it; a panel.cfg and a sound.cfg
      // outside one are a panel and a sound set.
      {{"Aircraft.cfg", "panel.cfg"}, {1, 0, 0, 0}},
      {{"sound.cfg", "panel.cfg", "x.wav"}, {0, 1, 0, 1}},
      {{"PANEL.CFG"}, {0, 1, 0, 0}},
      {{"Panel.Cfg", "engine.wav"}, {0, 1, 0, 0}},
      {{"SOUND.cfg"}, {0, 0, 0, 1}},
      {{"Aircraft.cfg"}, {1, 0, 0, 0}},
      {{"Aircraft.cfg", "engine.WAV"}, {1, 0, 0, 0}},
      {{"readme.txt", "a.wav"}, {0, 0, 0, 1}},
      // Any scenery file wins over configuration files.
      {{"Aircraft.cfg", "Model.cfg", "panel.cfg", "ADDON.BGL"}, {0, 0, 1, 0}},
      {{"x.bgl", "panel.cfg"}, {0, 0, 1, 0}},
      {{"panel.cfg.bak", "mypanel.cfg"}, {0, 0, 0, 0}},
      {{"a.jpg", "b.gif", "readme.txt"}, {0, 0, 0, 0}},
      {{}, {0, 0, 0, 0}},
      // Folders count at any depth; the folder above a "scenery" folder is the scenery's.
      {{"Model\\model.cfg", "Panel\\panel.cfg", "Sound\\x.wav", "Scenery\\s.bgl", "a.txt"},
       {0, 1, 1, 0}},
      {{"Pack\\A\\aircraft.cfg", "Pack\\A\\panel\\panel.cfg", "Pack\\B\\Sound\\sound.cfg"},
       {1, 0, 0, 1}},
  };
  for (const Case& c : cases) {
    emptyAssembly();
    putInAssembly(c.files);
    makeDir(kAssembly + "\\folder.cfg");  // a folder named like a file is no file
    const std::vector<std::string> before = names(kAssembly);
    const std::string browsed = app.frm.Dir1.path();
    app.state.AircraftData = app.state.PanelData = app.state.SceneryData = app.state.SoundData = 1;
    app.frm.SSTab1.setTab(3);

    app.assembly.GetDataType();

    const std::string what = ::testing::PrintToString(c.files);
    EXPECT_EQ(flagsOf(app), c.expected) << what;
    EXPECT_EQ(app.frm.SSTab1.tab(), c.expected.scenery ? 2 : 3) << what;
    EXPECT_EQ(names(kAssembly), before) << what;
    // The browser's directory list stays where it was.
    EXPECT_EQ(app.frm.Dir1.path(), browsed) << what;
  }
  EXPECT_TRUE(tk_.boxes.empty());
  EXPECT_EQ(tk_.beeps, 0);
}

TEST_F(ScanTest, RefreshSeesAFileAnUnzipToolWroteInTheSameTickAsTheProgram) {
  Orvex& app = startSet();
  for (const char* f : {"Aircraft.cfg", "Model.cfg", "sound.cfg"})
    write(kAssembly + "\\" + f, "[fltsim.0]\r\ntitle=Cub\r\n");
  // The program looked for the panel file before it had arrived ...
  EXPECT_FALSE(fs_->isFile(kAssembly + "\\Panel.cfg"));
  // ... and the unzip tool wrote it within the same tick of the folder's clock.
  const std::string dir = host(kAssembly);
  struct stat before;
  ASSERT_EQ(stat(dir.c_str(), &before), 0);
  std::ofstream(dir + "/panel.cfg") << "[Window00]";
  const struct timespec times[2] = {before.st_atim, before.st_mtim};
  ASSERT_EQ(utimensat(AT_FDCWD, dir.c_str(), times, 0), 0);

  app.frm.cmdRefresh.click();

  EXPECT_TRUE(tk_.boxes.empty());
  EXPECT_EQ(app.frm.cmdInstall.caption(), "Install Cub to FS98");
  EXPECT_EQ(names(kAssembly).size(), 4u);
}

TEST_F(ScanTest, RefreshStopsTheBlinkingAndDeletesTheSettingsCopyBeforeCounting) {
  // The last shutdown left a settings copy; with it the lone panel.cfg would count as an
  // aircraft.
  startSet().cmdQuit_Click();
  ASSERT_TRUE(exists(kAssembly + "\\Orvex.cfg"));
  Orvex& app = start();
  app.frm.Timer1.setInterval(500);
  app.frm.Timer1.setTimerEnabled(true);
  app.frm.cmdRefresh.setVisible(false);
  putInAssembly({"panel.cfg", "panel.bmp"});

  app.frm.cmdRefresh.click();

  EXPECT_FALSE(exists(kAssembly + "\\Orvex.cfg"));
  EXPECT_EQ(flagsOf(app), (Flags{0, 1, 0, 0}));
  EXPECT_FALSE(app.frm.Timer1.running());
  EXPECT_EQ(app.frm.Timer1.interval(), 0);
  EXPECT_FALSE(app.frm.Timer1.timerEnabled());
  EXPECT_TRUE(app.frm.cmdRefresh.visible());
  EXPECT_EQ(names(kAssembly), (std::vector<std::string>{"panel.bmp", "panel.cfg"}));
}

TEST_F(ScanTest, NothingRecognisableIsReportedAndTheAreaEmptied) {
  Orvex& app = startSet();
  struct Case {
    std::vector<std::string> files;
    std::string found;  // what the message says the area holds
  };
  const std::string none =
      ", but no aircraft (Aircraft.cfg), panel (panel.cfg), sound set (sound.cfg or .wav files), "
      "scenery (.bgl files) or repaint (texture.* folders).";
  // A download holding a readme and a setup program; folders of pictures and documents.
  for (const Case& c :
       {Case{{"readme.txt", "setup.exe"}, "It holds readme.txt, setup.exe" + none},
        Case{{"Model\\a.mdl", "Paint\\a.bmp", "Paint\\b.BMP", "Docs\\manual.cfg"},
             "It holds Docs\\ with 1 file, Model\\ with 1 file, Paint\\ with 2 pictures" + none}}) {
    emptyAssembly();
    putInAssembly(c.files);
    tk_.boxes.clear();
    tk_.beeps = 0;

    app.frm.cmdRefresh.click();

    ASSERT_EQ(tk_.boxes.size(), 1u);
    EXPECT_EQ(tk_.boxes[0].text, "No Data Found in the Assembly Area!\r\r" + c.found +
                                     "\r\rThe assembly area is emptied now.");
    EXPECT_EQ(tk_.boxes[0].caption, "Data Error");
    EXPECT_EQ(tk_.boxes[0].icon, MsgIcon::Information);
    EXPECT_EQ(tk_.beeps, 1);
    EXPECT_TRUE(names(kAssembly).empty()) << ::testing::PrintToString(names(kAssembly));
    EXPECT_EQ(app.frm.SSTab1.tab(), 0);
    EXPECT_TRUE(app.frm.cmdQuit.hasFocus());
    EXPECT_FALSE(app.frm.Dir3.visible());
    EXPECT_FALSE(app.frm.Drive3.visible());
  }
}

TEST_F(ScanTest, AMissingAssemblyAreaIsReportedAsEmpty) {
  Orvex& app = startSet();
  std::filesystem::remove_all(host(kAssembly));

  app.frm.cmdRefresh.click();

  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].caption, "Data Error");
  EXPECT_EQ(flagsOf(app), (Flags{0, 0, 0, 0}));
  EXPECT_FALSE(app.ended());
}

TEST_F(ScanTest, ANewScanForgetsTheAircraftThatWasNeverInstalled) {
  Orvex& app = startSet();
  putInAssembly({"Aircraft.cfg", "Model.cfg", "Panel.cfg", "sound.cfg"});
  app.frm.cmdRefresh.click();
  ASSERT_EQ(flagsOf(app), (Flags{1, 0, 0, 0}));

  emptyAssembly();
  putInAssembly({"scenery.bgl", "texture.bmp"});
  app.frm.cmdRefresh.click();

  EXPECT_EQ(flagsOf(app), (Flags{0, 0, 1, 0}));
  EXPECT_EQ(app.frm.SSTab1.tab(), 2);
  EXPECT_TRUE(app.frm.frmScenery.visible());
  EXPECT_TRUE(app.frm.txtSceneryName.hasFocus());
}

TEST_F(ScanTest, APanelOpensThePanelsTabWithTheSimulatorsAircraftFolder) {
  Orvex& app = startSet();
  for (OptionButton* o : {&app.frm.optMyChoice, &app.frm.optSceneryDefault, &app.frm.optSound}) {
    o->onClick = nullptr;
    o->setValue(true);
  }
  setVisible({&app.frm.labPanelName, &app.frm.txtPanelName, &app.frm.Dir2, &app.frm.Drive2,
              &app.frm.labDisplayPath},
             true);
  app.frm.optFSCONV.setEnabled(false);
  putInAssembly({"panel.cfg", "main.bmp"});

  app.frm.cmdRefresh.click();

  EXPECT_EQ(app.frm.SSTab1.tab(), 1);
  EXPECT_TRUE(app.frm.frmPanelInstall.visible());
  EXPECT_EQ(app.frm.Dir2.path(), "C:\\FS98\\Aircraft");
  EXPECT_TRUE(app.frm.optFSCONV.enabled());
  for (const Control* ctl : std::initializer_list<const Control*>{
           &app.frm.labPanelName, &app.frm.txtPanelName, &app.frm.Dir2, &app.frm.Drive2,
           &app.frm.labDisplayPath})
    EXPECT_FALSE(ctl->visible()) << ctl->name();
  for (const OptionButton* o :
       {&app.frm.optMyChoice, &app.frm.optSceneryDefault, &app.frm.optSound})
    EXPECT_FALSE(o->value()) << o->name();
  EXPECT_TRUE(tk_.boxes.empty());
}

TEST_F(ScanTest, CFS2PanelsCannotGoToTheConversionFolder) {
  Orvex& app = startSet("CFS2");
  putInAssembly({"Panel.CFG"});
  app.frm.cmdRefresh.click();
  EXPECT_EQ(app.frm.SSTab1.tab(), 1);
  EXPECT_FALSE(app.frm.optFSCONV.enabled());
  EXPECT_EQ(app.frm.Dir2.path(), "C:\\CFS2\\Aircraft");
}

TEST_F(ScanTest, ASimulatorWithoutAircraftFolderWarnsAndKeepsTheWindowUsable) {
  Orvex& app = startSet();
  std::filesystem::remove_all(host("C:\\FS98\\Aircraft"));
  putInAssembly({"panel.cfg"});

  app.frm.cmdRefresh.click();

  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_NE(tk_.boxes[0].text.find("C:\\FS98\\Aircraft"), std::string::npos) << tk_.boxes[0].text;
  EXPECT_EQ(tk_.boxes[0].icon, MsgIcon::Warning);
  EXPECT_EQ(app.frm.SSTab1.tab(), 1);
  EXPECT_TRUE(app.frm.frmPanelInstall.visible());
  EXPECT_NE(app.frm.Dir2.path(), "C:\\FS98\\Aircraft");

  // The same for a sound set, and the window goes on working afterwards.
  emptyAssembly();
  putInAssembly({"sound.cfg", "engine.wav"});
  tk_.boxes.clear();
  app.frm.cmdRefresh.click();
  EXPECT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(app.frm.SSTab1.tab(), 3);
  EXPECT_TRUE(app.frm.frmSound.visible());
}

TEST_F(ScanTest, ASoundSetOpensTheSoundsTab) {
  Orvex& app = startSet();
  for (OptionButton* o : {&app.frm.optSoundCustom, &app.frm.optSceneryOptional}) {
    o->onClick = nullptr;
    o->setValue(true);
  }
  app.frm.labEnterName.setVisible(true);
  putInAssembly({"engine.wav", "flaps.WAV", "notes.txt"});

  app.frm.cmdRefresh.click();

  EXPECT_EQ(flagsOf(app), (Flags{0, 0, 0, 1}));
  EXPECT_EQ(app.frm.SSTab1.tab(), 3);
  EXPECT_TRUE(app.frm.frmSound.visible());
  EXPECT_EQ(app.frm.Dir3.path(), "C:\\FS98\\Aircraft");
  EXPECT_FALSE(app.frm.labEnterName.visible());
  EXPECT_FALSE(app.frm.optSoundCustom.value());
  EXPECT_FALSE(app.frm.optSceneryOptional.value());
  EXPECT_TRUE(tk_.boxes.empty());
}

TEST_F(ScanTest, WithoutASimulatorDirectoryNothingIsScanned) {
  makeSimulator("C:\\FS2000", "FS2000.exe");
  write("C:\\Orvex\\Orvex.cfg",
        "\"\"\r\n\"C:\\FS2000\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"FS98\"\r\n1\r\n");
  Orvex& app = start();
  tk_.beeps = 0;
  putInAssembly({"Aircraft.cfg", "a.jpg"});
  app.state.PanelData = 1;
  setVisible({&app.frm.Image2, &app.frm.Image3, &app.frm.Image4, &app.frm.File1,
              &app.frm.frmDirectories, &app.frm.cmdInstall},
             true);
  app.frm.Image1.setVisible(false);
  app.frm.SSTab1.setTab(2);

  app.frm.cmdRefresh.click();

  EXPECT_EQ(tk_.beeps, 2);
  EXPECT_TRUE(tk_.boxes.empty());
  EXPECT_EQ(app.state.PanelData, 1);  // no scan
  EXPECT_EQ(names(kAssembly), (std::vector<std::string>{"Aircraft.cfg", "a.jpg"}));
  EXPECT_TRUE(app.frm.Image1.visible());
  for (const Control* ctl : std::initializer_list<const Control*>{
           &app.frm.Image2, &app.frm.Image3, &app.frm.Image4, &app.frm.File1,
           &app.frm.frmDirectories, &app.frm.cmdInstall})
    EXPECT_FALSE(ctl->visible()) << ctl->name();
  EXPECT_EQ(app.frm.SSTab1.tab(), 0);
}

TEST_F(ScanTest, RefreshIsRefusedWhileAnInstallRuns) {
  Orvex& app = startSet();
  putInAssembly({"panel.cfg"});
  {
    BusyScope busy(app.context());
    app.frm.cmdRefresh.click();
  }
  EXPECT_EQ(tk_.beeps, 1);
  EXPECT_EQ(flagsOf(app), (Flags{0, 0, 0, 0}));
  app.frm.cmdRefresh.click();
  EXPECT_EQ(flagsOf(app), (Flags{0, 1, 0, 0}));
}

}  // namespace
}  // namespace orvex::test

// Choosing a simulator, forgetting its directory, and pointing it at its root directory.
#include "program/profiles.h"
#include "support/sandbox.h"

namespace orvex::test {
namespace {

class SimulatorTest : public Sandbox {
 protected:
  Orvex& startWith(const std::string& fs98, const std::string& fs2000, const std::string& tag) {
    write("C:\\Orvex\\Orvex.cfg", "\"" + fs98 + "\"\r\n\"" + fs2000 +
                                      "\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"" + tag + "\"\r\n1\r\n");
    Orvex& app = start();
    tk_.beeps = 0;
    return app;
  }
};

TEST_F(SimulatorTest, UnsetProfileBeepsAndResetsTheFrames) {
  makeSimulator("C:\\FS98", "Fltsim98.cfg");
  Orvex& app = startWith("C:\\FS98", "", "FS98");
  app.frm.frmPanelInstall.setVisible(true);
  app.frm.optMyChoice.setValue(true);
  app.frm.labSoundPath.setCaption("x");
  app.frm.optFS2000.setValue(true);
  EXPECT_EQ(tk_.beeps, 1);
  EXPECT_EQ(app.state.FlightSim, "FS2K");
  EXPECT_EQ(app.state.FSim, "Select FS2000 Directory");
  EXPECT_EQ(app.frm.labLocation.caption(), "Select FS2000 Directory");
  EXPECT_EQ(app.frm.labLocation.backColour(), colours::Red);
  EXPECT_EQ(app.frm.cmdSetDirectories.caption(), "Select FS2000 Directory");
  EXPECT_FALSE(app.frm.frmPanelInstall.visible());
  EXPECT_FALSE(app.frm.optMyChoice.value());
  EXPECT_EQ(app.frm.labSoundPath.caption(), "");

  // Back to a set simulator: grey label, directory caption, no beep.
  app.frm.optFS98.setValue(true);
  EXPECT_EQ(tk_.beeps, 1);
  EXPECT_EQ(app.frm.cmdSetDirectories.caption(), "FS98 Directory");
  EXPECT_EQ(app.frm.labLocation.backColour(), colours::LightGrey);
  EXPECT_EQ(app.state.FSim, "C:\\FS98");
}

TEST_F(SimulatorTest, PanelStepFollowsTheSimulator) {
  makeSimulator("C:\\FS98", "Fltsim98.cfg");
  makeSimulator("C:\\CFS2", "cfs2.exe");
  write("C:\\Orvex\\Orvex.cfg",
        "\"C:\\FS98\"\r\n\"\"\r\n\"\"\r\n\"C:\\CFS2\"\r\n\"\"\r\n\"FS98\"\r\n1\r\n");
  Orvex& app = start();
  app.state.PanelData = 1;
  app.frm.optFSCONV.setValue(true);
  app.frm.labDisplayPath.setVisible(true);
  app.frm.optCFS2.setValue(true);
  EXPECT_TRUE(app.frm.frmPanelInstall.visible());
  EXPECT_FALSE(app.frm.optFSCONV.enabled());
  EXPECT_FALSE(app.frm.optFSCONV.value());
  EXPECT_FALSE(app.frm.labDisplayPath.visible());
  EXPECT_FALSE(app.frm.txtPanelName.visible());
  EXPECT_EQ(app.frm.Dir2.path(), "C:\\CFS2\\Aircraft");

  app.frm.optFS98.setValue(true);
  EXPECT_TRUE(app.frm.optFSCONV.enabled());
  EXPECT_FALSE(app.frm.optFSCONV.value());
  EXPECT_EQ(app.frm.Dir2.path(), "C:\\FS98\\Aircraft");

  // With a target chosen the name box comes up with its text selected and the focus.
  app.frm.optMyChoice.setValue(true);
  app.frm.txtPanelName.setText("Mine");
  app.frm.optFS98.setValue(true);
  EXPECT_TRUE(app.frm.txtPanelName.visible());
  EXPECT_TRUE(app.frm.txtPanelName.hasFocus());
  EXPECT_EQ(app.frm.txtPanelName.selLength(), 4);
}

TEST_F(SimulatorTest, AircraftAndSoundSteps) {
  makeSimulator("C:\\FS2000", "FS2000.exe");
  Orvex& app = startWith("", "C:\\FS2000", "FS98");
  app.state.AircraftData = 1;
  app.state.AircraftName = "Cessna 182";
  app.frm.optFS2000.setValue(true);
  EXPECT_EQ(app.frm.cmdInstall.caption(), "Install Cessna 182 to FS2K");
  EXPECT_TRUE(app.frm.cmdInstall.visible());
  EXPECT_TRUE(app.frm.cmdInstall.enabled());
  EXPECT_TRUE(app.frm.cmdCancelLoad.visible());

  app.state.AircraftData = 0;
  app.state.SoundData = 1;
  app.frm.cmdInstall.setCaption("kept");
  app.frm.Dir3.setVisible(true);
  app.frm.Drive3.setVisible(true);
  app.frm.optFS2000.setValue(true);
  EXPECT_TRUE(app.frm.frmSound.visible());
  EXPECT_FALSE(app.frm.Dir3.visible());
  EXPECT_FALSE(app.frm.Drive3.visible());
  EXPECT_EQ(app.frm.labSoundPath.caption(), "C:\\FS2000\\Sound");
  EXPECT_EQ(app.frm.cmdInstall.caption(), "kept");
}

TEST_F(SimulatorTest, MissingAircraftFolderIsReportedAndTheWindowGoesOn) {
  makeDir("C:\\Bare");
  Orvex& app = startWith("C:\\Bare", "", "FS98");
  app.state.SoundData = 1;
  app.frm.optFS98.setValue(true);
  EXPECT_EQ(tk_.countCaption("Folder Not Found"), 1);
  EXPECT_TRUE(app.frm.frmSound.visible());
}

TEST_F(SimulatorTest, DoubleClickForgetsTheDirectoryButKeepsFSim) {
  makeSimulator("C:\\CFS", "Combatfs.exe");
  write("C:\\Orvex\\Orvex.cfg", "\"\"\r\n\"\"\r\n\"C:\\CFS\"\r\n\"\"\r\n\"\"\r\n\"CFS\"\r\n1\r\n");
  Orvex& app = start();
  app.frm.labLocation.onDblClick();
  EXPECT_EQ(app.state.CFSPath, "Select CFS Directory");
  EXPECT_EQ(app.frm.labLocation.caption(), "Select CFS Directory");
  EXPECT_EQ(app.frm.labLocation.backColour(), colours::Red);
  EXPECT_EQ(app.frm.cmdSetDirectories.caption(), "Select CFS Directory");
  EXPECT_EQ(app.state.FSim, "C:\\CFS");
}

TEST_F(SimulatorTest, BrowsingToTheRootDirectorySavesItAtOnce) {
  makeSimulator("C:\\Games\\FS2000", "fs2000.EXE");
  Orvex& app = startWith("", "", "FS2K");
  app.frm.Dir1.setPath("C:\\Orvex\\Assembly");
  app.frm.cmdSetDirectories.click();
  EXPECT_EQ(app.frm.Dir1.path(), "C:\\");
  EXPECT_TRUE(app.frm.frmDirectories.visible());
  EXPECT_FALSE(app.frm.Image1.visible());
  app.frm.Dir1.setPath("C:\\Games\\FS2000");
  EXPECT_EQ(app.frm.File1.path(), "C:\\Games\\FS2000");
  app.frm.cmdSelect.click();
  EXPECT_EQ(app.state.FS2000Path, "C:\\Games\\FS2000");
  EXPECT_EQ(app.state.FSim, "C:\\Games\\FS2000");
  EXPECT_EQ(app.frm.labLocation.caption(), "C:\\Games\\FS2000");
  EXPECT_EQ(app.frm.labLocation.backColour(), colours::LightGrey);
  EXPECT_EQ(app.frm.cmdSetDirectories.caption(), "FS2000 Directory");
  EXPECT_FALSE(app.frm.frmDirectories.visible());
  EXPECT_TRUE(app.frm.Image1.visible());
  const std::string cfg = read("C:\\Orvex\\Orvex.cfg");
  EXPECT_NE(cfg.find("\r\n\"C:\\Games\\FS2000\"\r\n"), std::string::npos) << cfg;
}

TEST_F(SimulatorTest, ARefusedDirectoryChangesNothingButEmptiesTheAssembly) {
  makeDir("C:\\NotASim");
  Orvex& app = startWith("", "", "FS98");
  write("C:\\Orvex\\Assembly\\aircraft.cfg");
  const std::string cfgBefore = read("C:\\Orvex\\Orvex.cfg");
  app.frm.cmdSetDirectories.click();
  app.frm.Dir1.setPath("C:\\NotASim");
  app.frm.cmdSelect.click();
  ASSERT_EQ(tk_.countCaption("FS Directory Errors"), 1);
  EXPECT_EQ(tk_.boxes.back().text, "Cannot find the Fltsim98.cfg file\r\rPlease try again...");
  EXPECT_EQ(app.state.FS98Path, "Select FS98 Directory");
  EXPECT_EQ(app.state.FSim, "Select FS98 Directory");
  EXPECT_EQ(read("C:\\Orvex\\Orvex.cfg"), cfgBefore);
  EXPECT_TRUE(app.frm.frmDirectories.visible());
  EXPECT_TRUE(names("C:\\Orvex\\Assembly").empty());

  app.frm.cmdCancel.click();
  EXPECT_FALSE(app.frm.frmDirectories.visible());
  EXPECT_TRUE(app.frm.Image1.visible());
  EXPECT_EQ(app.state.FS98Path, "Select FS98 Directory");
}

TEST_F(SimulatorTest, ADriveThatCannotBeShownKeepsTheListWhereItWas) {
  Orvex& app = startWith("", "", "FS98");
  app.frm.cmdSetDirectories.click();
  app.frm.Dir1.setPath("C:\\Orvex");
  app.frm.Drive1.setDrive("q:");
  EXPECT_EQ(tk_.countCaption("Folder Not Found"), 1);
  EXPECT_EQ(app.frm.Dir1.path(), "C:\\Orvex");
  EXPECT_EQ(app.frm.Drive1.drive(), "c:");
}

}  // namespace
}  // namespace orvex::test

// Start-up, the settings file and shutdown, on a real root folder.
#include "program/profiles.h"
#include "support/sandbox.h"

namespace orvex::test {
namespace {

const char* kCfg = "C:\\Orvex\\Orvex.cfg";

class StartupTest : public Sandbox {};

TEST_F(StartupTest, RootDirectoryRule) {
  EXPECT_EQ(Orvex::rootDirectoryFor("C:\\Program Files\\Orvex2"), "C:\\Program Files\\Orvex2\\");
  EXPECT_EQ(Orvex::rootDirectoryFor("C:\\PROGRAM FILES\\ORVEX2\\Bin"),
            "C:\\PROGRAM FILES\\ORVEX2\\Bin\\");
  EXPECT_EQ(Orvex::rootDirectoryFor("C:\\orvexplus"), "C:\\orvexplus\\");
  EXPECT_EQ(Orvex::rootDirectoryFor("D:\\devel\\anything"), "D:\\devel\\Orvex2\\");
  EXPECT_EQ(Orvex::rootDirectoryFor("C:\\devel"), "D:\\devel\\Orvex2\\");
  EXPECT_EQ(Orvex::rootDirectoryFor("C:\\Tools"), "");
  EXPECT_EQ(Orvex::rootDirectoryFor("C:\\Devel\\x"), "");
}

TEST_F(StartupTest, OutsideTheRootFolderStartUpAbortsWithoutWritingSettings) {
  makeDir("C:\\Tools");
  fs_->chDir("C:\\Tools");
  Orvex& app = start();
  EXPECT_TRUE(app.ended());
  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].caption, "Load Error");
  EXPECT_EQ(tk_.boxes[0].text,
            "Cannot find the Orvex Root Directory...\rCurrent Directory is: C:\\Tools\r\r"
            "Aborting Load Procedure!");
  EXPECT_EQ(tk_.boxes[0].icon, MsgIcon::Critical);
  EXPECT_FALSE(exists(kCfg));
  EXPECT_FALSE(app.frm.visible());
}

TEST_F(StartupTest, FirstRunShowsOneLoadErrorAndThePlaceholders) {
  Orvex& app = start();
  ASSERT_FALSE(app.ended());
  const ProgramState& s = app.state;
  EXPECT_EQ(s.OrvexDir, "C:\\Orvex\\");
  EXPECT_EQ(s.OrvexAssemblyDir, "C:\\Orvex\\Assembly");
  EXPECT_EQ(app.frm.caption(), "Orvex - Version 4.0.0");
  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].caption, "Orvex Load Error");
  EXPECT_EQ(tk_.boxes[0].text, "Error  53 File not found\rC:\\Orvex\\Orvex.cfg");
  EXPECT_EQ(s.FS98Path, "Select FS98 Directory");
  EXPECT_EQ(s.FS2000Path, "Select FS2000 Directory");
  EXPECT_EQ(s.CFSPath, "Select CFS Directory");
  EXPECT_EQ(s.CFS2Path, "Select CFS2 Directory");
  EXPECT_EQ(s.ZipPath, "");
  EXPECT_EQ(s.FlightSim, "FS98");
  EXPECT_EQ(s.FSim, "Select FS98 Directory");
  EXPECT_TRUE(app.frm.optFS98.value());
  EXPECT_EQ(tk_.beeps, 1);
  EXPECT_EQ(app.frm.cmdSetDirectories.caption(), "Select FS98 Directory");
  EXPECT_EQ(app.frm.labLocation.caption(), "Select FS98 Directory");
  EXPECT_EQ(app.frm.labLocation.backColour(), colours::Red);
  EXPECT_EQ(app.frm.labLocation.foreColour(), colours::White);
  EXPECT_TRUE(app.frm.visible());
  EXPECT_EQ(app.frm.Timer1.interval(), 0);
}

TEST_F(StartupTest, SettingsAreWrittenByteForByte) {
  Orvex& app = start();
  app.state.FS98Path = "C:\\FS98";
  app.state.ZipPath = "";
  app.state.FlightSim = "CFS";
  app.state.ZipWarning = 1;
  app.settings.SaveFSInfo();
  EXPECT_EQ(read(kCfg),
            "\"C:\\FS98\"\r\n\"Select FS2000 Directory\"\r\n\"Select CFS Directory\"\r\n"
            "\"Select CFS2 Directory\"\r\n\"\"\r\n\"CFS\"\r\n1\r\n");
}

TEST_F(StartupTest, QuitThenStartBringsTheSettingsBackAndLeavesACopy) {
  makeSimulator("C:\\Sims\\FS2000", "FS2000.exe");
  write(kCfg,
        "\"Select FS98 Directory\"\r\n\"C:\\Sims\\FS2000\"\r\n\"C:\\My, Combat\"\r\n"
        "\"Select CFS2 Directory\"\r\n\"D:\\Zips\"\r\n\"FS2K\"\r\n1\r\n");
  write("C:\\Orvex\\Assembly\\leftover.txt");
  Orvex& app = start();
  EXPECT_TRUE(tk_.boxes.empty());
  EXPECT_TRUE(app.frm.optFS2000.value());
  EXPECT_EQ(app.state.FSim, "C:\\Sims\\FS2000");
  EXPECT_EQ(app.state.CFSPath, "C:\\My, Combat");
  EXPECT_EQ(app.frm.labLocation.backColour(), colours::LightGrey);
  EXPECT_EQ(app.frm.cmdSetDirectories.caption(), "FS2000 Directory");
  const std::string before = read(kCfg);
  app.frm.cmdQuit.click();
  EXPECT_TRUE(app.ended());
  EXPECT_EQ(tk_.quits, 1);
  EXPECT_EQ(read(kCfg), before);
  EXPECT_EQ(names("C:\\Orvex\\Assembly"), std::vector<std::string>{"Orvex.cfg"});
  EXPECT_EQ(read("C:\\Orvex\\Assembly\\Orvex.cfg"), before);

  // Closing the window after Quit does not run the shutdown a second time.
  app.Form_Terminate();
  EXPECT_EQ(tk_.quits, 1);
}

TEST_F(StartupTest, UnquotedAndShortSettingsFiles) {
  write(kCfg,
        "C:\\FS98\r\nSelect FS2000 Directory\r\nSelect CFS Directory\r\n"
        "Select CFS2 Directory\r\nZ\r\nCFS2\r\n1\r\n");
  Orvex& app = start();
  EXPECT_TRUE(tk_.boxes.empty());
  EXPECT_EQ(app.state.FS98Path, "C:\\FS98");
  EXPECT_EQ(app.state.FlightSim, "CFS2");
  EXPECT_TRUE(app.frm.optCFS2.value());
  EXPECT_EQ(app.state.ZipWarning, 1);

  // Six lines: the strings are taken over, the flag keeps its value, one message.
  write(kCfg, "\"A\"\r\n\"B\"\r\n\"C\"\r\n\"D\"\r\n\"E\"\r\n\"CFS\"\r\n");
  app.state.ZipWarning = 1;
  app.settings.GetFSInfo();
  EXPECT_EQ(app.state.FS98Path, "A");
  EXPECT_EQ(app.state.FlightSim, "CFS");
  EXPECT_EQ(app.state.ZipWarning, 1);
  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].text, "Error  62 Input past end of file");

  write(kCfg, "\"A\"\r\n\"B\"\r\n\"C\"\r\n\"D\"\r\n\"E\"\r\n\"CFS\"\r\nyes\r\n");
  app.settings.GetFSInfo();
  EXPECT_EQ(app.state.ZipWarning, 1);
  EXPECT_EQ(tk_.countCaption("Orvex Load Error"), 2);
}

TEST_F(StartupTest, UnknownTagSelectsNoSimulator) {
  write(kCfg, "\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"fs2k\"\r\n0\r\n");
  Orvex& app = start();
  EXPECT_EQ(app.state.FlightSim, "fs2k");
  EXPECT_EQ(app.state.FSim, "");
  EXPECT_EQ(app.frm.labLocation.caption(), "");
  EXPECT_EQ(app.state.FS98Path, "Select FS98 Directory");
}

TEST_F(StartupTest, AFailedSaveKeepsTheOldFileAndIsReported) {
  Orvex& app = start();
  write(kCfg, "old");
  fs_->setReadOnly(kCfg, true);
  app.settings.SaveFSInfo();
  EXPECT_EQ(read(kCfg), "old");
  EXPECT_EQ(tk_.countCaption("Orvex Save Error"), 1);
}

TEST_F(StartupTest, WindowHelpers) {
  Orvex& app = start();
  tk_.screenH = 800;
  tk_.screenW = 1000;
  app.frm.setSize(300, 200);
  app.ui.CenterForm(app.frm);
  EXPECT_EQ(app.frm.top(), 240);
  EXPECT_EQ(app.frm.left(), 350);

  Label& l = app.frm.labLocation;
  app.ui.SetLabelColour("select FS98 Directory", l);
  EXPECT_EQ(l.backColour(), colours::LightGrey);
  app.ui.SetLabelColour("Select", l);
  EXPECT_EQ(l.foreColour(), colours::White);

  const double before = tk_.now;
  app.ui.Pause(1);
  EXPECT_GE(tk_.now - before, 1.0);

  write("C:\\Orvex\\Assembly\\a.txt");
  write("C:\\Orvex\\Assembly\\b.txt");
  write("C:\\Orvex\\Assembly\\c.txt");
  app.lists.listFiles("C:\\Orvex\\Assembly", "*.*");
  app.state.i = 2;
  app.copying.DisplayFileCopy();
  EXPECT_EQ(app.anim.labAnimation.caption(), "Copying c.txt");
}

TEST_F(StartupTest, WarningWindowCheckBox) {
  Orvex& app = start();
  tk_.onModal = [&](Form&) {
    app.warn.chkNotAgain.setValue(1);
    app.warn.chkNotAgain.setValue(0);
    app.warn.cmdOK.click();
  };
  app.ui.showWinZipWarning();
  EXPECT_EQ(app.state.ZipWarning, 0);
  EXPECT_FALSE(app.warn.visible());
  EXPECT_EQ(app.warn.labZipWarning.caption(), "Remember! Don't use folder names...");
  tk_.onModal = [&](Form&) {
    app.warn.chkNotAgain.setValue(1);
    app.warn.cmdOK.click();
  };
  app.ui.showWinZipWarning();
  EXPECT_EQ(app.state.ZipWarning, 1);
}

}  // namespace
}  // namespace orvex::test

// The aircraft install on real folders: folder names from Aircraft.cfg, the folders, the
// sorting of every file, and the failure questions.
#include "support/sandbox.h"

namespace orvex::test {
namespace {

const std::string A = "C:\\Orvex\\Assembly\\";
const std::string Plane = "C:\\FS98\\Aircraft\\Cessna 182";

class AircraftInstallTest : public Sandbox {
 protected:
  Orvex& startOn(const std::string& tag = "FS98") {
    makeSimulator("C:\\FS98", "Fltsim98.cfg");
    write("C:\\Orvex\\FileCopy.avi", "RIFF");
    write(
        "C:\\Orvex\\Orvex.cfg",
        "\"C:\\FS98\"\r\n\"\"\r\n\"C:\\FS98\"\r\n\"C:\\FS98\"\r\n\"\"\r\n\"" + tag + "\"\r\n1\r\n");
    Orvex& app = start();
    tk_.boxes.clear();
    return app;
  }
  // An aircraft as a Refresh leaves it: files in the assembly area, title read.
  void load(Orvex& app, const std::string& aircraftCfg) {
    write(A + "Aircraft.cfg", aircraftCfg);
    app.state.AircraftData = 1;
    app.state.AircraftName = "Cessna 182";
    app.frm.cmdInstall.setVisible(true);
  }
  const std::string basicCfg =
      "[fltsim.0]\r\ntitle=Cessna 182\r\nmodel=\r\npanel=\r\nsound=\r\ntexture=Blue\r\n";
};

TEST_F(AircraftInstallTest, EveryFileLandsInItsFolder) {
  Orvex& app = startOn();
  load(app, basicCfg);
  for (const char* f :
       {"cessna.air", "Model.cfg", "c182.mdl", "Panel.bmp", "PANEL_1024.BMP", "Sound.cfg",
        "eng.wav", "skin.bmp", "readme.txt", "a.gau", "b.gau", "preview.jpg", "README",
        "Cessna_Notes.txt", "_Ref.txt", "Cessna_Ref.txt", "extra.cfg", "tex.saf"})
    write(A + f, f);
  write(A + "panel.cfg", "[Window00]\r\nfile=Panel.bmp\r\nfile_1024=PANEL_1024.BMP, 1\r\n");
  write(A + "Extra\\inner.txt");

  app.frm.cmdInstall.click();

  auto in = [&](const std::string& folder) { return names(Plane + folder); };
  using V = std::vector<std::string>;
  EXPECT_EQ(in(""), (V{"Aircraft.cfg", "Cessna_Notes.txt", "Documentation", "Image", "Model",
                       "Panel", "Sound", "Texture.Blue", "Unknown", "_Ref.txt", "cessna.air"}));
  EXPECT_EQ(in("\\Model"), (V{"Model.cfg", "c182.mdl"}));
  EXPECT_EQ(in("\\Panel"), (V{"PANEL_1024.BMP", "Panel.bmp", "panel.cfg"}));
  EXPECT_EQ(in("\\Sound"), (V{"Sound.cfg", "eng.wav"}));
  EXPECT_EQ(in("\\Texture.Blue"), (V{"skin.bmp", "tex.saf"}));
  EXPECT_EQ(in("\\Documentation"), (V{"Cessna_Ref.txt", "readme.txt"}));
  EXPECT_EQ(in("\\Image"), (V{"preview.jpg"}));
  EXPECT_EQ(in("\\Unknown"), (V{"README", "extra.cfg"}));
  EXPECT_EQ(names("C:\\FS98\\Gauges"), (V{"a.gau", "b.gau"}));
  EXPECT_EQ(read(Plane + "\\Model\\c182.mdl"), "c182.mdl");
  EXPECT_EQ(names("C:\\Orvex\\Assembly"), (V{"Extra"}));

  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].caption, "Success!");
  EXPECT_EQ(tk_.boxes[0].text, "Aircraft Files Installed Successfully!");
  EXPECT_EQ(app.state.AircraftData, 0);
  EXPECT_FALSE(app.frm.cmdInstall.visible());
  EXPECT_FALSE(app.anim.visible());
  EXPECT_EQ(app.anim.labAnimation.caption(), "Copying README");
  EXPECT_FALSE(app.busy());
}

TEST_F(AircraftInstallTest, CheckFilesFollowTheSimulatorFamily) {
  for (const char* tag : {"FS98", "CFS2"}) {
    Orvex& app = startOn(tag);
    load(app, basicCfg);
    app.state.AircraftName = std::string("Cessna 182 ") + tag;
    const std::string plane = "C:\\FS98\\Aircraft\\" + app.state.AircraftName;
    write(A + "panel.cfg", "");
    write(A + "x_check.cfg");
    write(A + "y_check.txt");
    write(A + "z.cdp");
    app.frm.cmdInstall.click();
    const bool combat = std::string(tag) == "CFS2";
    EXPECT_EQ(exists(plane + "\\x_check.cfg"), combat) << tag;
    EXPECT_EQ(exists(plane + "\\Unknown\\x_check.cfg"), !combat) << tag;
    EXPECT_EQ(exists(plane + "\\y_check.txt"), !combat) << tag;
    EXPECT_EQ(exists(plane + "\\Documentation\\y_check.txt"), combat) << tag;
    EXPECT_EQ(exists(plane + "\\z.cdp"), combat) << tag;
  }
}

TEST_F(AircraftInstallTest, MissingPanelCfgAsksAndYesGoesOn) {
  Orvex& app = startOn();
  load(app, basicCfg);
  write(A + "Panel.bmp");
  app.frm.cmdInstall.click();
  ASSERT_EQ(tk_.boxes.size(), 2u);
  EXPECT_EQ(tk_.boxes[0].caption, "Install Panel Errors:");
  EXPECT_EQ(tk_.boxes[0].text,
            "Error 53 File not found\rCannot find the Panel.cfg file.\r\rContinue with Install?");
  EXPECT_EQ(tk_.boxes[0].icon, MsgIcon::None);
  EXPECT_TRUE(exists(Plane + "\\Texture.Blue\\Panel.bmp"));
  EXPECT_EQ(tk_.boxes[1].caption, "Success!");
}

TEST_F(AircraftInstallTest, MissingPanelCfgAndNoCancelsTheLoad) {
  Orvex& app = startOn();
  load(app, basicCfg);
  write(A + "skin.bmp");
  write(A + "Model\\inner.mdl");
  tk_.answers = {MsgAnswer::No};
  app.frm.cmdInstall.click();
  EXPECT_TRUE(exists(Plane + "\\Aircraft.cfg"));
  EXPECT_FALSE(exists(Plane + "\\Texture.Blue\\skin.bmp"));
  EXPECT_TRUE(names("C:\\Orvex\\Assembly").empty());
  EXPECT_FALSE(app.anim.visible());
  EXPECT_EQ(tk_.countCaption("Success!"), 0);
  EXPECT_EQ(app.state.AircraftData, 1);
  EXPECT_FALSE(app.busy());
}

TEST_F(AircraftInstallTest, MissingAnimationNamesNoGroupFile) {
  Orvex& app = startOn();
  load(app, basicCfg);
  write(A + "panel.cfg", "");
  fs_->kill("C:\\Orvex\\FileCopy.avi");
  app.frm.cmdInstall.click();
  ASSERT_FALSE(tk_.boxes.empty());
  EXPECT_EQ(tk_.boxes[0].text,
            "Error 53 File not found\rCannot find the  file.\r\rContinue with Install?");
  EXPECT_EQ(tk_.boxes.back().caption, "Success!");
}

TEST_F(AircraftInstallTest, ProtectedGaugesAreKeptWithoutAWord) {
  Orvex& app = startOn();
  load(app, basicCfg);
  write(A + "panel.cfg", "");
  write(A + "a.gau", "new");
  write("C:\\FS98\\Gauges\\a.gau", "old");
  fs_->setReadOnly("C:\\FS98\\Gauges\\a.gau", true);
  makeDir(Plane);
  app.frm.cmdInstall.click();
  ASSERT_EQ(tk_.boxes.size(), 2u);  // the existing folder, then success
  EXPECT_EQ(tk_.boxes[0].caption, "Aircraft Directory Error");
  EXPECT_EQ(read("C:\\FS98\\Gauges\\a.gau"), "old");
  EXPECT_FALSE(exists(A + "a.gau"));
  EXPECT_EQ(tk_.boxes[1].caption, "Success!");
}

TEST_F(AircraftInstallTest, ExistingFoldersAskOnceAndNoCancels) {
  Orvex& app = startOn();
  load(app, basicCfg);
  write(A + "panel.cfg", "");
  makeDir(Plane + "\\Model");
  makeDir(Plane + "\\Image");
  tk_.answers = {MsgAnswer::No};
  app.frm.cmdInstall.click();
  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].text,
            "The " + Plane + " Directory already exists!\rDo you want to overwrite?");
  EXPECT_EQ(app.state.CancelAircraftInstall, 1);
  EXPECT_FALSE(exists(Plane + "\\Panel"));
  EXPECT_TRUE(names("C:\\Orvex\\Assembly").empty());

  // The next install asks afresh, and Yes lets existing sub-folders pass without a word.
  load(app, basicCfg);
  write(A + "panel.cfg", "");
  tk_.boxes.clear();
  app.frm.cmdInstall.click();
  ASSERT_EQ(tk_.boxes.size(), 2u);
  EXPECT_EQ(tk_.boxes[0].caption, "Aircraft Directory Error");
  EXPECT_EQ(tk_.boxes[1].caption, "Success!");
  EXPECT_TRUE(exists(Plane + "\\Panel"));
  EXPECT_TRUE(exists(Plane + "\\Aircraft.cfg"));
}

TEST_F(AircraftInstallTest, AMissingKeyMakesTheAircraftFolderComeUpAgain) {
  Orvex& app = startOn();
  load(app, "title=Cessna 182\r\npanel=\r\nsound=\r\ntexture=\r\n");
  write(A + "panel.cfg", "");
  write(A + "c.mdl", "m");
  tk_.answers = {MsgAnswer::Yes};
  app.frm.cmdInstall.click();
  ASSERT_GE(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].text,
            "The " + Plane + " Directory already exists!\rDo you want to overwrite?");
  // Without a model folder the model files keep their names in the aircraft folder.
  EXPECT_EQ(read(Plane + "\\c.mdl"), "m");
}

TEST_F(AircraftInstallTest, ASimulatorWithoutAircraftFolderKeepsTheArchive) {
  Orvex& app = startOn();
  load(app, basicCfg);
  write(A + "panel.cfg", "");
  fs_->rmDir("C:\\FS98\\Aircraft");
  app.frm.cmdInstall.click();
  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].caption, "Aircraft Directory Error");
  EXPECT_EQ(tk_.boxes[0].icon, MsgIcon::Critical);
  EXPECT_EQ(tk_.boxes[0].text, "Error 76 Path not found\r" + Plane);
  EXPECT_FALSE(app.ended());
  EXPECT_TRUE(exists(A + "Aircraft.cfg"));
  EXPECT_FALSE(app.anim.visible());
  EXPECT_EQ(app.state.AircraftData, 1);

  // Once the simulator is mended the same archive installs.
  makeDir("C:\\FS98\\Aircraft");
  tk_.boxes.clear();
  app.frm.cmdInstall.click();
  EXPECT_EQ(tk_.countCaption("Success!"), 1);
}

TEST_F(AircraftInstallTest, FolderNamesFromAircraftCfg) {
  Orvex& app = startOn();
  struct Case {
    std::string cfg, model, panel, sound, texture;
  } cases[] = {
      {"model=\r\npanel=\r\nsound=\r\ntexture=\r\n", "\\Model\\", "\\Panel\\", "\\Sound\\",
       "\\Texture\\"},
      {"Model=ab\r\nPANEL=abc\r\n  Sound=Jet Engines\r\ntexture=ab\r\n", "\\Model\\",
       "\\Panel.abc\\", "\\Sound.Jet Engines\\", "\\Texture\\"},
      {"model =x\r\n;panel=y\r\n//sound=z\r\n", "", "", "", ""},
      {"model=A\r\nmodel=Second, third\r\ntexture=Tone1\r\nmodel=Never\r\ntexture=T2\r\n",
       "\\Model.Second\\", "", "", "\\Texture.Tone1\\"},
  };
  for (const Case& c : cases) {
    write(A + "Aircraft.cfg", c.cfg);
    ASSERT_TRUE(app.CheckAirConfig()) << c.cfg;
    EXPECT_EQ(app.state.ModelDir, c.model) << c.cfg;
    EXPECT_EQ(app.state.PanelDir, c.panel) << c.cfg;
    EXPECT_EQ(app.state.SoundDir, c.sound) << c.cfg;
    EXPECT_EQ(app.state.TextureDir, c.texture) << c.cfg;
  }
}

TEST_F(AircraftInstallTest, FolderNamesThatLeaveTheAircraftAreRefused) {
  Orvex& app = startOn();
  load(app, "title=X\r\nmodel=..\\..\\..\\Windows\r\ntexture=\r\n");
  app.frm.cmdInstall.click();
  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].caption, "Aircraft.cfg Error");
  EXPECT_FALSE(exists(Plane));
  EXPECT_TRUE(exists(A + "Aircraft.cfg"));
}

TEST_F(AircraftInstallTest, NoAircraftCfgCancelsTheLoad) {
  Orvex& app = startOn();
  write(A + "model.cfg");
  app.state.AircraftData = 1;
  app.state.AircraftName = "Cessna 182";
  app.frm.cmdInstall.click();
  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].text,
            "No Aircraft files found in the Assembly area.\r\rNothing to load...");
  EXPECT_FALSE(exists(Plane));
  EXPECT_TRUE(names("C:\\Orvex\\Assembly").empty());
}

TEST_F(AircraftInstallTest, RealAircraftFilesDriveInstalls) {
  struct Case {
    const char* file;
    std::vector<std::string> folders;
  } cases[] = {
      {"fs2004_alphasim_swift_fr5.cfg", {"Model", "Panel", "Sound", "Texture"}},
      {"fsx_wilco_emb190.cfg", {"Model", "Panel", "Sound", "Texture.SUR-NEW"}},
      {"p3d_carenado_a36_bonanza.cfg", {"Model", "Panel", "Sound", "Texture.Anniversary60TH"}},
      {"p3d_carenado_c172n_skyhawk2.cfg", {"Model", "Panel", "Sound", "Texture.RED"}},
      // Tab-aligned keys are not at the start of their item: no folder names at all.
      {"fsx_dla_jodel_dr1050.cfg", {}},
  };
  Orvex& app = startOn();
  for (const Case& c : cases) {
    copyRealWorld(std::string("aircraft/") + c.file, A + "Aircraft.cfg");
    write(A + "panel.cfg", "");
    write(A + "model.mdl");
    app.state.AircraftData = 1;
    app.state.AircraftName = c.file;
    tk_.boxes.clear();
    tk_.answers = {MsgAnswer::Yes};
    app.cmdInstall_Click();
    EXPECT_EQ(tk_.countCaption("Success!"), 1) << c.file;
    const std::string plane = std::string("C:\\FS98\\Aircraft\\") + c.file;
    for (const std::string& f : c.folders) EXPECT_TRUE(exists(plane + "\\" + f)) << c.file << f;
    EXPECT_TRUE(exists(plane + "\\Aircraft.cfg")) << c.file;
    EXPECT_TRUE(names("C:\\Orvex\\Assembly").empty()) << c.file;
  }
}

TEST_F(AircraftInstallTest, ClicksDuringThePauseAreRefused) {
  Orvex& app = startOn();
  load(app, basicCfg);
  write(A + "panel.cfg", "");
  int tried = 0;
  tk_.onEvents = [&] {
    if (tried++) return;
    app.frm.cmdInstall.click();
    app.frm.cmdCancelLoad.click();
    app.frm.optCFS.setValue(true);
  };
  const int beeps = tk_.beeps;
  app.frm.cmdInstall.click();
  EXPECT_EQ(tk_.beeps - beeps, 3);
  EXPECT_EQ(app.state.FSim, "C:\\FS98");
  EXPECT_TRUE(app.frm.optFS98.value());
  EXPECT_FALSE(app.frm.optCFS.value());
  EXPECT_EQ(tk_.countCaption("Success!"), 1);
  EXPECT_TRUE(exists(Plane + "\\Aircraft.cfg"));
}

}  // namespace
}  // namespace orvex::test

// The aircraft install on real folders: folder names from Aircraft.cfg, the folders, the
// sorting of every file, and the failure questions.
#include <algorithm>
#include <filesystem>

#include "support/fixtures.h"
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
  EXPECT_EQ(in(""),
            (V{"Aircraft.cfg", "Cessna_Notes.txt", "Documentation", "Extra", "Image", "Model",
               "Panel", "Sound", "Texture.Blue", "Unknown", "_Ref.txt", "cessna.air"}));
  EXPECT_EQ(in("\\Extra"), (V{"inner.txt"}));  // a folder of the aircraft's is kept
  EXPECT_EQ(in("\\Model"), (V{"Model.cfg", "c182.mdl"}));
  EXPECT_EQ(in("\\Panel"), (V{"PANEL_1024.BMP", "Panel.bmp", "panel.cfg"}));
  EXPECT_EQ(in("\\Sound"), (V{"Sound.cfg", "eng.wav"}));
  EXPECT_EQ(in("\\Texture.Blue"), (V{"skin.bmp", "tex.saf"}));
  EXPECT_EQ(in("\\Documentation"), (V{"Cessna_Ref.txt", "readme.txt"}));
  EXPECT_EQ(in("\\Image"), (V{"preview.jpg"}));
  EXPECT_EQ(in("\\Unknown"), (V{"README", "extra.cfg"}));
  EXPECT_EQ(names("C:\\FS98\\Gauges"), (V{"a.gau", "b.gau"}));
  EXPECT_EQ(read(Plane + "\\Model\\c182.mdl"), "c182.mdl");
  EXPECT_EQ(names("C:\\Orvex\\Assembly"), V{});

  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].caption, "Success!");
  EXPECT_EQ(tk_.boxes[0].text, "Aircraft Files Installed Successfully!");
  EXPECT_EQ(app.state.AircraftData, 0);
  EXPECT_FALSE(app.frm.cmdInstall.visible());
  EXPECT_FALSE(app.anim.visible());
  EXPECT_EQ(app.anim.labAnimation.caption(), "Copying Extra\\inner.txt");
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

TEST_F(AircraftInstallTest, AnAircraftWithoutPanelModelOrSoundCfgInstallsWithoutAQuestion) {
  Orvex& app = startOn();
  load(app, basicCfg);
  write(A + "Panel.bmp");
  write(A + "c.mdl");
  app.frm.cmdInstall.click();
  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].caption, "Success!");
  EXPECT_TRUE(exists(Plane + "\\Texture.Blue\\Panel.bmp"));
  EXPECT_TRUE(exists(Plane + "\\Model\\c.mdl"));
}

TEST_F(AircraftInstallTest, MissingAnimationNamesNoGroupFile) {
  Orvex& app = startOn();
  load(app, basicCfg);
  write(A + "panel.cfg", "");
  fs_->kill("C:\\Orvex\\FileCopy.avi");
  app.frm.cmdInstall.click();
  ASSERT_FALSE(tk_.boxes.empty());
  EXPECT_EQ(tk_.boxes[0].text,
            "Error 53 File not found\rC:\\Orvex\\FileCopy.avi\rCannot find the  file.\r\rContinue "
            "with Install?");
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

TEST_F(AircraftInstallTest, AMissingKeyNamesThePlainFolderAndANewAircraftIsNotAsked) {
  Orvex& app = startOn();
  load(app, "[fltsim.0]\r\ntitle=Cessna 182\r\npanel=\r\nsound=\r\ntexture=\r\n");
  write(A + "panel.cfg", "");
  write(A + "c.mdl", "m");
  app.frm.cmdInstall.click();
  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].caption, "Success!");
  EXPECT_EQ(read(Plane + "\\Model\\c.mdl"), "m");
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
      // Any value names its folder, one character too; blanks and tabs around "=" are no part
      // of key or value, nor are quotes around the value or a comment after it.
      {"Model=ab\r\nPANEL=abc\r\n  Sound=Jet Engines\r\ntexture=ab\r\n", "\\Model.ab\\",
       "\\Panel.abc\\", "\\Sound.Jet Engines\\", "\\Texture.ab\\"},
      {"model = 1\r\npanel\t\t=\t2\t\r\nsound=\"\"\r\ntexture=Red ; the red one\r\n", "\\Model.1\\",
       "\\Panel.2\\", "\\Sound\\", "\\Texture.Red\\"},
      // Commented out, or not given at all: the plain folder, as the simulator reads it.
      {";model=y\r\n//sound=z\r\n", "\\Model\\", "\\Panel\\", "\\Sound\\", "\\Texture\\"},
      // Without sections the file is read from the top up to its first texture entry.
      {"model=A\r\nmodel=Second, third\r\ntexture=Tone1\r\nmodel=Never\r\ntexture=T2\r\n",
       "\\Model.Second\\", "\\Panel\\", "\\Sound\\", "\\Texture.Tone1\\"},
      // In sections only the aircraft's own counts, its first entries, in any order.
      {"[General]\r\nmodel=General\r\n[fltsim.0]\r\ntexture=T\r\nmodel=M\r\nmodel=Again\r\n"
       "[fltsim.1]\r\nsound=Other\r\n",
       "\\Model.M\\", "\\Panel\\", "\\Sound\\", "\\Texture.T\\"},
  };
  for (const Case& c : cases) {
    write(A + "Aircraft.cfg", c.cfg);
    ASSERT_TRUE(app.aircraft.CheckAirConfig(app.state.OrvexAssemblyDir)) << c.cfg;
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

TEST_F(AircraftInstallTest, AircraftLaidOutAsRealOnesLandWhereTheSimulatorReads) {
  struct Case {
    std::string file;
    std::vector<std::string> folders;
  } cases[] = {
      {"aircraft/tab_aligned_crlf.cfg", {"Model", "Panel", "Sound", "Texture.Yellow"}},
      {"aircraft/one_character_values_lf.cfg", {"Model.1", "Panel.2", "Sound.3", "Texture.ab"}},
      {"aircraft/missing_keys_camera_first.cfg", {"Model", "Panel", "Sound", "Texture.Blue"}},
      {"aircraft/first_section_not_zero.cfg", {"Model.1P", "Panel", "Sound", "Texture.Gold"}},
      {"aircraft/zero_after_one_cp1252.cfg", {"Model", "Panel", "Sound", "Texture"}},
      {"aircraft/no_sections.cfg", {"Model.light", "Panel", "Sound", "Texture.Grey"}},
      {"real:aircraft/fs2004_alphasim_swift_fr5.cfg", {"Model", "Panel", "Sound", "Texture"}},
      {"real:aircraft/fsx_wilco_emb190.cfg", {"Model", "Panel", "Sound", "Texture.SUR-NEW"}},
      {"real:aircraft/p3d_carenado_a36_bonanza.cfg",
       {"Model.1P", "Panel", "Sound", "Texture.Anniversary60TH"}},
      {"real:aircraft/p3d_carenado_c172n_skyhawk2.cfg", {"Model", "Panel", "Sound", "Texture.RED"}},
      {"real:aircraft/fsx_dla_jodel_dr1050.cfg", {"Model", "Panel", "Sound", "Texture"}},
      {"real:aircraft/fsx_aerosoft_a318.cfg",
       {"Model.BA_GEUNA", "Panel", "Sound", "Texture.BA_GEUNA"}},
  };
  Orvex& app = startOn();
  for (const Case& c : cases) {
    if (!fixtureAvailable(c.file)) continue;
    write(A + "Aircraft.cfg", fixtureText(c.file));
    write(A + "panel.cfg", "");
    for (const char* f : {"model.mdl", "Sound.cfg", "skin.bmp", "Model.cfg"}) write(A + f);
    app.state.AircraftData = 1;
    app.state.AircraftName = c.file.substr(c.file.rfind('/') + 1);
    tk_.boxes.clear();
    app.aircraft.cmdInstall_Click();
    EXPECT_EQ(tk_.boxes.size(), 1u) << c.file;
    EXPECT_EQ(tk_.countCaption("Success!"), 1) << c.file;
    const std::string plane = "C:\\FS98\\Aircraft\\" + app.state.AircraftName;
    EXPECT_EQ(names(plane),
              (std::vector<std::string>{"Aircraft.cfg", "Documentation", "Image", c.folders[0],
                                        c.folders[1], c.folders[2], c.folders[3], "Unknown"}))
        << c.file;
    EXPECT_TRUE(exists(plane + "\\" + c.folders[0] + "\\model.mdl")) << c.file;
    EXPECT_TRUE(exists(plane + "\\" + c.folders[0] + "\\Model.cfg")) << c.file;
    EXPECT_TRUE(exists(plane + "\\" + c.folders[1] + "\\panel.cfg")) << c.file;
    EXPECT_TRUE(exists(plane + "\\" + c.folders[2] + "\\Sound.cfg")) << c.file;
    EXPECT_TRUE(exists(plane + "\\" + c.folders[3] + "\\skin.bmp")) << c.file;
    EXPECT_TRUE(names("C:\\Orvex\\Assembly").empty()) << c.file;
  }
}

TEST_F(AircraftInstallTest, TheBitmapsPanelCfgNamesGoToThePanelFolder) {
  Orvex& app = startOn();
  int n = 0;
  for (const PanelBitmaps& c : panelBitmapCases()) {
    SCOPED_TRACE(c.file);
    load(app, basicCfg);
    app.state.AircraftName = "Plane " + std::to_string(++n);
    write(A + "panel.cfg", fixtureText(c.file));
    for (const std::string& b : c.bitmaps) write(A + b);
    write(A + "old.bmp");
    app.aircraft.cmdInstall_Click();
    const std::string plane = "C:\\FS98\\Aircraft\\" + app.state.AircraftName;
    std::vector<std::string> inPanel = c.bitmaps;
    inPanel.push_back("panel.cfg");
    std::sort(inPanel.begin(), inPanel.end());
    inPanel.erase(std::unique(inPanel.begin(), inPanel.end()), inPanel.end());
    EXPECT_EQ(names(plane + "\\Panel"), inPanel);
    EXPECT_EQ(names(plane + "\\Texture.Blue"), std::vector<std::string>{"old.bmp"});
  }
}

TEST_F(AircraftInstallTest, ClicksDuringThePauseAndTheCopyAreRefused) {
  // The clicks arrive at the first events the window handles: in the pause before the copy,
  // or once the copy window names a file.
  for (const bool duringCopy : {false, true}) {
    Orvex& app = startOn();
    load(app, basicCfg);
    write(A + "panel.cfg", "");
    bool clicked = false;
    tk_.onEvents = [&] {
      if (clicked || (duringCopy && app.anim.labAnimation.caption().empty())) return;
      clicked = true;
      app.frm.cmdInstall.click();
      app.frm.cmdCancelLoad.click();
      app.frm.optCFS.setValue(true);
    };
    const int beeps = tk_.beeps;
    app.frm.cmdInstall.click();
    tk_.onEvents = nullptr;
    EXPECT_TRUE(clicked) << duringCopy;
    EXPECT_EQ(tk_.beeps - beeps, 3) << duringCopy;
    EXPECT_EQ(app.state.FSim, "C:\\FS98");
    EXPECT_TRUE(app.frm.optFS98.value());
    EXPECT_FALSE(app.frm.optCFS.value());
    EXPECT_EQ(tk_.countCaption("Success!"), 1);
    EXPECT_TRUE(exists(Plane + "\\Aircraft.cfg"));
    std::filesystem::remove_all(host(Plane));
  }
}

}  // namespace
}  // namespace orvex::test

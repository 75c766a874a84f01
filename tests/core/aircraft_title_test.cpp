// The aircraft's title read from Aircraft.cfg, the install button it captions, the check for
// the aircraft's four configuration files, and stepping through the preview pictures.
#include <fstream>
#include <sstream>

#include "support/sandbox.h"

namespace orvex::test {
namespace {

const std::string kAssembly = "C:\\Orvex\\Assembly";

// A real configuration file, from its line `fromLine` (counted from 1) on.
std::string realWorld(const std::string& relative, int fromLine = 1) {
  std::ifstream in(std::string(ORVEX_REALWORLD_DIR) + "/" + relative, std::ios::binary);
  EXPECT_TRUE(in) << relative;
  std::stringstream ss;
  ss << in.rdbuf();
  std::string text = ss.str();
  size_t start = 0;
  for (int line = 1; line < fromLine && start != std::string::npos; ++line) {
    start = text.find('\n', start);
    if (start != std::string::npos) ++start;
  }
  EXPECT_NE(start, std::string::npos) << relative << " has no line " << fromLine;
  return start == std::string::npos ? std::string() : text.substr(start);
}

class AircraftTitleTest : public Sandbox {
 protected:
  Orvex& startSet(const std::string& settings =
                      "\"C:\\FS98\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n"
                      "\"FS98\"\r\n1\r\n") {
    makeSimulator("C:\\FS98", "Fltsim98.cfg");
    write("C:\\Orvex\\Orvex.cfg", settings);
    Orvex& app = start();
    tk_.beeps = 0;
    return app;
  }

  // An aircraft in the assembly area: its Aircraft.cfg and the three other configuration files.
  void putAircraft(const std::string& aircraftCfg) {
    write(kAssembly + "\\Aircraft.cfg", aircraftCfg);
    write(kAssembly + "\\Model.cfg", "[models]\r\nnormal=plane\r\n");
    write(kAssembly + "\\Panel.cfg", "[Window Titles]\r\n");
    write(kAssembly + "\\sound.cfg", "[FLTSIM]\r\n");
  }
};

TEST_F(AircraftTitleTest, RealAircraftFilesGiveTheirFirstTitleCleaned) {
  Orvex& app = startSet();
  struct Case {
    std::string file;
    int fromLine;
    std::string title;
  };
  const std::vector<Case> cases = {
      {"fs2004_alphasim_swift_fr5.cfg", 1, "ALPHA Swift FR5"},
      {"fs2004_freeware_hp_hampden.cfg", 1, "Hampden"},
      // 115 liveries: the first title in the file wins.
      {"fsx_utlive_ai_a320_115_liveries.cfg", 1, "UTLive_320_Daedalus"},
      {"fsx_utlive_ai_a320_115_liveries.cfg", 503, "UTLive_320BERBEROld Colors"},
      {"fsx_carenado_c208b_ex.cfg", 1, "C208B Grand Caravan EX"},
      {"fsx_carenado_c208b_ex.cfg", 141, "Sur-Air C208B Grand Caravan EX (Carenado)"},
      {"fsx_wilco_emb190.cfg", 1, "Embraer 190 house"},
      {"p3d_carenado_a36_bonanza.cfg", 1, "~A36~ 60th Anniversary by Cheva"},
      {"p3d_carenado_c172n_skyhawk2.cfg", 1, "C172N Skyhawk II"},
      {"p3d_pmdg_777_300er.cfg", 1, "PMDG 777-300ER PMDG House"},
      {"p3d_pmdg_777_300er.cfg", 55, "PMDG 777-300ER Garuda Indonesia (PK-GIC | 2013)"},
  };
  for (const Case& c : cases) {
    putAircraft(realWorld("aircraft/" + c.file, c.fromLine));
    app.state.AircraftName = "before";
    setVisible({&app.frm.cmdInstall, &app.frm.cmdCancelLoad}, false);
    app.frm.cmdInstall.setEnabled(false);

    app.GetAircraftName();

    const std::string what = c.file + " from line " + std::to_string(c.fromLine);
    EXPECT_EQ(app.state.AircraftName, c.title) << what;
    EXPECT_EQ(app.frm.cmdInstall.caption(), "Install " + c.title + " to FS98") << what;
    EXPECT_TRUE(app.frm.cmdInstall.visible()) << what;
    EXPECT_TRUE(app.frm.cmdInstall.enabled()) << what;
    EXPECT_TRUE(app.frm.cmdCancelLoad.visible()) << what;
  }
  EXPECT_TRUE(tk_.boxes.empty());
}

TEST_F(AircraftTitleTest, TabsBeforeTheEqualsSignAreNoTitleKey) {
  Orvex& app = startSet();
  // "title<tabs>= ..." and "Title = ..." never have "title=" as their first six characters.
  for (const char* file : {"fsx_aerosoft_a318.cfg", "fsx_dla_jodel_dr1050.cfg"}) {
    putAircraft(realWorld(std::string("aircraft/") + file));
    app.state.AircraftName = "Earlier Aircraft";
    app.frm.cmdInstall.setCaption("Install Earlier Aircraft to FS98");
    app.frm.cmdInstall.setVisible(false);

    app.GetAircraftName();

    EXPECT_EQ(app.state.AircraftName, "Earlier Aircraft") << file;
    EXPECT_EQ(app.frm.cmdInstall.caption(), "Install Earlier Aircraft to FS98") << file;
    EXPECT_FALSE(app.frm.cmdInstall.visible()) << file;
  }
  EXPECT_TRUE(tk_.boxes.empty());
  EXPECT_EQ(names(kAssembly).size(), 4u);
}

TEST_F(AircraftTitleTest, TitleItemsAreCutAtCommasAndCleanedOfPathCharacters) {
  Orvex& app = startSet();
  struct Case {
    std::string cfg;
    std::string title;
  };
  const std::vector<Case> cases = {
      {"[fltsim.0]\r\ntitle=A/B 1.0\r\n", "AB 10"},
      {"[fltsim.0]\r\ntitle=Spit//fire\\\\Mk..IX\r\n", "SpitfireMkIX"},
      {"[fltsim.0]\r\ntitle=\"Quoted\" Name\r\n", "Quoted Name"},
      {"[fltsim.0]\r\ntitle=\"Spitfire, Mk IX\"\r\n", "Spitfire"},
      {"[fltsim.0]\r\ntitle=Cessna 172, blue\r\n", "Cessna 172"},
      {"[fltsim.0]\r\nTiTlE=Mixed Case Key\r\n", "Mixed Case Key"},
      {"[fltsim.0]\r\n   \ttitle=Indented  \r\n", "Indented"},
      {"[fltsim.0]\r\nui_type=Jet, title=After A Comma\r\n", "After A Comma"},
      {"[fltsim.0]\r\ntitle =Spaced Key\r\ntitle=Second\r\n", "Second"},
      {"[fltsim.0]\ntitle=First|One\n[fltsim.1]\ntitle=Second\n", "First|One"},
      {"title=No Line End", "No Line End"},
      {"[fltsim.0]\r\ntitle=S\xe9rie \xa9 <1>:*?\r\n", "S\xe9rie \xa9 <1>:*?"},
  };
  for (const Case& c : cases) {
    putAircraft(c.cfg);
    app.GetAircraftName();
    EXPECT_EQ(app.state.AircraftName, c.title) << c.cfg;
    EXPECT_EQ(app.frm.cmdInstall.caption(), "Install " + c.title + " to FS98") << c.cfg;
  }
  EXPECT_TRUE(tk_.boxes.empty());
}

TEST_F(AircraftTitleTest, CleanUpRemovesOnlyTheFourCharacters) {
  Orvex& app = startSet();
  app.state.AircraftName = "//A\\\\B\"\"C..D  E/.\\\"";
  app.CleanUpAircraftName();
  EXPECT_EQ(app.state.AircraftName, "ABCD  E");
  app.state.AircraftName = "Ju-52 (3m) ~ g|h, 'x'";
  app.CleanUpAircraftName();
  EXPECT_EQ(app.state.AircraftName, "Ju-52 (3m) ~ g|h, 'x'");
}

TEST_F(AircraftTitleTest, ATitleThatCleansToNothingIsNotOfferedForInstall) {
  Orvex& app = startSet();
  write(kAssembly + "\\a.jpg");
  for (const char* cfg : {"[fltsim.0]\r\ntitle=\r\n", "[fltsim.0]\r\ntitle=./..\\\r\n",
                          "[fltsim.0]\r\ntitle=\" \"\r\n"}) {
    putAircraft(cfg);
    app.frm.cmdInstall.setCaption("Install Old to FS98");
    app.frm.cmdInstall.setVisible(true);
    tk_.boxes.clear();

    app.GetAircraftName();

    ASSERT_EQ(tk_.boxes.size(), 1u) << cfg;
    EXPECT_EQ(tk_.boxes[0].caption, "Aircraft.cfg Error");
    EXPECT_EQ(tk_.boxes[0].icon, MsgIcon::Warning);
    EXPECT_FALSE(app.frm.cmdInstall.visible()) << cfg;
    EXPECT_EQ(app.frm.cmdInstall.caption(), "") << cfg;
    EXPECT_TRUE(app.frm.cmdCancelLoad.visible()) << cfg;
  }
  // Nothing is thrown away: the user may mend the file and press Refresh again.
  EXPECT_EQ(names(kAssembly).size(), 5u);
}

TEST_F(AircraftTitleTest, WithoutAChosenLocationTheInstallButtonStaysHidden) {
  Orvex& app = startSet();
  putAircraft("[fltsim.0]\r\ntitle=Hampden\r\n");
  app.frm.labLocation.setCaption("Select FS98 Directory");
  setVisible({&app.frm.cmdInstall, &app.frm.cmdCancelLoad}, true);
  app.GetAircraftName();
  EXPECT_EQ(app.state.AircraftName, "Hampden");
  EXPECT_FALSE(app.frm.cmdInstall.visible());
  EXPECT_FALSE(app.frm.cmdCancelLoad.visible());

  // Only a leading "Select" in that letter case counts as unset.
  app.frm.labLocation.setCaption("select");
  app.GetAircraftName();
  EXPECT_TRUE(app.frm.cmdInstall.visible());
  EXPECT_EQ(app.frm.cmdInstall.caption(), "Install Hampden to FS98");
}

TEST_F(AircraftTitleTest, RefreshOfAnAircraftShowsTitleAndFirstPicture) {
  Orvex& app = startSet();
  putAircraft(realWorld("aircraft/fs2004_freeware_hp_hampden.cfg"));
  write(kAssembly + "\\view.jpg");
  app.frm.SSTab1.setTab(3);

  app.frm.cmdRefresh.click();

  EXPECT_EQ(app.state.AircraftData, 1);
  EXPECT_EQ(app.frm.SSTab1.tab(), 0);
  EXPECT_TRUE(app.frm.cmdQuit.hasFocus());
  EXPECT_EQ(app.frm.cmdInstall.caption(), "Install Hampden to FS98");
  EXPECT_TRUE(app.frm.cmdInstall.visible());
  EXPECT_TRUE(app.frm.cmdCancelLoad.visible());
  EXPECT_EQ(app.state.ImageCount, 1);
  EXPECT_EQ(app.frm.Image4.picture(), kAssembly + "\\view.jpg");
  EXPECT_TRUE(app.frm.Image4.visible());
  EXPECT_FALSE(app.frm.Image1.visible());
  EXPECT_FALSE(app.frm.Image2.visible());
  EXPECT_FALSE(app.frm.Image3.visible());
  EXPECT_TRUE(tk_.boxes.empty());
  EXPECT_EQ(names(kAssembly).size(), 5u);
}

TEST_F(AircraftTitleTest, AMissingConfigurationFileIsNamedAndTheLoadThrownAway) {
  Orvex& app = startSet();
  struct Case {
    std::vector<std::string> files;
    std::string named;
  };
  // Names are matched without regard to case; the first missing one in the order Model,
  // Panel, sound, Aircraft is named.
  const std::vector<Case> cases = {
      {{"AIRCRAFT.CFG", "model.CFG", "PANEL.cfg"}, "Sound.cfg"},
      {{"Aircraft.cfg", "Panel.cfg", "extra.cfg"}, "Model.cfg"},
      {{"Aircraft.cfg", "Model.cfg", "SOUND.CFG"}, "Panel.cfg"},
      {{"model.cfg", "panel.cfg", "sound.cfg"}, "Aircraft.cfg"},
  };
  for (const Case& c : cases) {
    for (const std::string& f : c.files) write(kAssembly + "\\" + f, "title=Never Shown\r\n");
    write(kAssembly + "\\a.jpg");
    write(kAssembly + "\\b.jpg");
    write(kAssembly + "\\Texture\\t.bmp");
    tk_.boxes.clear();
    app.state.AircraftName = "before";

    app.frm.cmdRefresh.click();

    const std::string what = c.named;
    ASSERT_EQ(tk_.boxes.size(), 1u) << what;
    EXPECT_EQ(tk_.boxes[0].text,
              "No " + c.named + " file found in the Assembly area.\r\rNothing to load...");
    EXPECT_EQ(tk_.boxes[0].caption, "Aircraft.cfg Error");
    EXPECT_EQ(tk_.boxes[0].icon, MsgIcon::Warning);
    EXPECT_TRUE(names(kAssembly).empty()) << what;
    EXPECT_EQ(app.state.AircraftName, "before") << what;
    EXPECT_TRUE(app.frm.Image1.visible()) << what;
    for (const Control* ctl :
         std::initializer_list<const Control*>{&app.frm.Image2, &app.frm.Image3, &app.frm.Image4,
                                               &app.frm.cmdInstall, &app.frm.cmdCancelLoad})
      EXPECT_FALSE(ctl->visible()) << what << " " << ctl->name();
    EXPECT_EQ(app.frm.mousePointer(), MousePointer::Default);
    EXPECT_FALSE(app.ended());
  }
}

TEST_F(AircraftTitleTest, AMissingFileSaysNothingWhileFS98FS2000AndCFSAreUnset) {
  makeSimulator("C:\\CFS2", "cfs2.exe");
  Orvex& app = startSet("\"\"\r\n\"\"\r\n\"\"\r\n\"C:\\CFS2\"\r\n\"\"\r\n\"CFS2\"\r\n1\r\n");
  write(kAssembly + "\\Aircraft.cfg", "title=Zero\r\n");
  write(kAssembly + "\\Model.cfg");
  write(kAssembly + "\\Panel.cfg");

  app.frm.cmdRefresh.click();

  EXPECT_EQ(app.state.AircraftData, 1);
  EXPECT_TRUE(tk_.boxes.empty());
  EXPECT_EQ(names(kAssembly).size(), 3u);
  EXPECT_FALSE(app.frm.cmdInstall.visible());

  // One of the three set is enough for the message.
  app.state.CFSPath = "C:\\CFS";
  app.frm.cmdRefresh.click();
  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].text,
            "No Sound.cfg file found in the Assembly area.\r\rNothing to load...");
  EXPECT_TRUE(names(kAssembly).empty());
}

class PreviewTest : public AircraftTitleTest {};

TEST_F(PreviewTest, ThreePicturesAreSteppedInNameOrderWithoutWrapping) {
  Orvex& app = startSet();
  for (const char* f : {"c.JPG", "B.jpg", "a.GIF", "d.png", "e.bmp", "Image\\f.jpg"})
    write(kAssembly + "\\" + f);
  app.frm.Image1.setVisible(true);

  app.FindAircraftImage();

  auto shown = [&] { return app.frm.Image4.picture(); };
  EXPECT_EQ(app.state.ImageCount, 3);
  EXPECT_EQ(shown(), kAssembly + "\\a.GIF");
  EXPECT_TRUE(app.frm.Image4.visible());
  EXPECT_FALSE(app.frm.Image1.visible());
  EXPECT_TRUE(app.frm.Image2.visible());
  EXPECT_TRUE(app.frm.Image3.visible());

  app.frm.Image3.onClick();
  EXPECT_EQ(shown(), kAssembly + "\\B.jpg");
  app.frm.Image3.onClick();
  EXPECT_EQ(shown(), kAssembly + "\\c.JPG");
  EXPECT_EQ(tk_.beeps, 0);
  app.frm.Image3.onClick();  // past the last: the next arrow goes, a beep
  EXPECT_EQ(shown(), kAssembly + "\\c.JPG");
  EXPECT_FALSE(app.frm.Image3.visible());
  EXPECT_TRUE(app.frm.Image2.visible());
  EXPECT_EQ(tk_.beeps, 1);

  app.frm.Image2.onClick();  // a step back brings it again
  EXPECT_EQ(shown(), kAssembly + "\\B.jpg");
  EXPECT_TRUE(app.frm.Image3.visible());
  app.frm.Image2.onClick();
  EXPECT_EQ(shown(), kAssembly + "\\a.GIF");
  app.frm.Image2.onClick();
  EXPECT_EQ(shown(), kAssembly + "\\a.GIF");
  EXPECT_FALSE(app.frm.Image2.visible());
  EXPECT_TRUE(app.frm.Image3.visible());
  EXPECT_EQ(tk_.beeps, 2);
  EXPECT_EQ(app.frm.File1.listIndex(), 0);
  EXPECT_EQ(app.frm.mousePointer(), MousePointer::Default);

  // Every click plays our own sound from the root directory.
  ASSERT_EQ(shell_.sounds.size(), 6u);
  for (const std::string& s : shell_.sounds) EXPECT_EQ(s, root_ + "/Orvex/click.wav");
  EXPECT_TRUE(tk_.boxes.empty());
}

TEST_F(PreviewTest, OnePictureOrNone) {
  Orvex& app = startSet();
  write(kAssembly + "\\only.jpg");
  app.FindAircraftImage();
  EXPECT_EQ(app.state.ImageCount, 1);
  EXPECT_EQ(app.frm.Image4.picture(), kAssembly + "\\only.jpg");
  EXPECT_FALSE(app.frm.Image2.visible());
  EXPECT_FALSE(app.frm.Image3.visible());
  app.frm.Image3.onClick();
  EXPECT_EQ(tk_.beeps, 1);
  EXPECT_EQ(app.frm.Image4.picture(), kAssembly + "\\only.jpg");

  std::remove(host(kAssembly + "\\only.jpg").c_str());
  write(kAssembly + "\\readme.txt");
  app.FindAircraftImage();
  EXPECT_EQ(app.state.ImageCount, 0);
  EXPECT_FALSE(app.frm.Image4.visible());
  EXPECT_TRUE(app.frm.Image1.visible());
}

TEST_F(PreviewTest, AClickSoundThatCannotPlayIsIgnored) {
  Orvex& app = startSet();
  write(kAssembly + "\\a.jpg");
  write(kAssembly + "\\b.jpg");
  app.FindAircraftImage();
  app.state.OrvexDir = "Q:\\Nowhere\\";  // a drive the map does not know

  app.frm.Image3.onClick();

  EXPECT_EQ(app.frm.Image4.picture(), kAssembly + "\\b.jpg");
  EXPECT_TRUE(tk_.boxes.empty());
  EXPECT_EQ(tk_.beeps, 0);
}

}  // namespace
}  // namespace orvex::test

// The aircraft's title read from Aircraft.cfg, the install button it captions, the check for
// the aircraft's four configuration files, and stepping through the preview pictures.
#include <filesystem>

#include "support/fixtures.h"
#include "support/sandbox.h"

namespace orvex::test {
namespace {

const std::string kAssembly = "C:\\Orvex\\Assembly";

// A fixture's text from its line `fromLine` (counted from 1) on.
std::string fromLine(const std::string& name, int line) {
  const std::string text = fixtureText(name);
  size_t start = 0;
  for (int k = 1; k < line && start != std::string::npos; ++k) {
    start = text.find('\n', start);
    if (start != std::string::npos) ++start;
  }
  EXPECT_NE(start, std::string::npos) << name << " has no line " << line;
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

TEST_F(AircraftTitleTest, TheTitleOfTheFirstAircraftSectionIsOfferedCleaned) {
  Orvex& app = startSet();
  struct Case {
    std::string file;
    int fromLine;
    std::string title;
  };
  const std::vector<Case> cases = {
      {"aircraft/tab_aligned_crlf.cfg", 1, "Piper Cub Yellow"},
      {"aircraft/one_character_values_lf.cfg", 1, "Spitfire Mk 10"},
      // A camera's "Title" before the aircraft's section is passed over.
      {"aircraft/missing_keys_camera_first.cfg", 1, "Tiger Moth"},
      {"aircraft/first_section_not_zero.cfg", 1, "Bonanza ~Gold~"},
      // "[fltsim.0]" wins over a section of another number before it.
      {"aircraft/zero_after_one_cp1252.cfg", 1, "Jodel D112 S\xe9rie"},
      {"aircraft/no_sections.cfg", 1, "Old Glider"},
      {"real:aircraft/fs2004_alphasim_swift_fr5.cfg", 1, "ALPHA Swift FR5"},
      {"real:aircraft/fs2004_freeware_hp_hampden.cfg", 1, "Hampden"},
      {"real:aircraft/fsx_utlive_ai_a320_115_liveries.cfg", 1, "UTLive_320_Daedalus"},
      {"real:aircraft/fsx_carenado_c208b_ex.cfg", 1, "C208B Grand Caravan EX"},
      {"real:aircraft/fsx_carenado_c208b_ex.cfg", 141, "Sur-Air C208B Grand Caravan EX (Carenado)"},
      {"real:aircraft/fsx_wilco_emb190.cfg", 1, "Embraer 190 house"},
      {"real:aircraft/p3d_carenado_a36_bonanza.cfg", 1, "~A36~ 60th Anniversary by Cheva"},
      {"real:aircraft/p3d_carenado_c172n_skyhawk2.cfg", 1, "C172N Skyhawk II"},
      {"real:aircraft/p3d_pmdg_777_300er.cfg", 1, "PMDG 777-300ER PMDG House"},
      {"real:aircraft/fsx_aerosoft_a318.cfg", 1,
       "Aerosoft A318 professional BRITISH AIRWAYS G-EUNA"},
      {"real:aircraft/fsx_dla_jodel_dr1050.cfg", 1, "Jodel DR-1050"},
  };
  for (const Case& c : cases) {
    if (!fixtureAvailable(c.file)) continue;
    putAircraft(fromLine(c.file, c.fromLine));
    app.state.AircraftName = "before";
    setVisible({&app.frm.cmdInstall, &app.frm.cmdCancelLoad}, false);
    app.frm.cmdInstall.setEnabled(false);

    app.assembly.GetAircraftName();

    const std::string what = c.file + " from line " + std::to_string(c.fromLine);
    EXPECT_EQ(app.state.AircraftName, c.title) << what;
    EXPECT_EQ(app.frm.cmdInstall.caption(), "Install " + c.title + " to FS98") << what;
    EXPECT_TRUE(app.frm.cmdInstall.visible()) << what;
    EXPECT_TRUE(app.frm.cmdInstall.enabled()) << what;
    EXPECT_TRUE(app.frm.cmdCancelLoad.visible()) << what;
  }
  EXPECT_TRUE(tk_.boxes.empty());
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
      {"[fltsim.0]\r\ntitle =Spaced Key\r\ntitle=Second\r\n", "Spaced Key"},
      {"[fltsim.0]\ntitle=First|One\n[fltsim.1]\ntitle=Second\n", "First|One"},
      {"title=No Line End", "No Line End"},
      {"[fltsim.0]\r\ntitle=S\xe9rie \xa9 <1>:*?\r\n", "S\xe9rie \xa9 <1>:*?"},
  };
  for (const Case& c : cases) {
    putAircraft(c.cfg);
    app.assembly.GetAircraftName();
    EXPECT_EQ(app.state.AircraftName, c.title) << c.cfg;
    EXPECT_EQ(app.frm.cmdInstall.caption(), "Install " + c.title + " to FS98") << c.cfg;
  }
  EXPECT_TRUE(tk_.boxes.empty());
}

TEST_F(AircraftTitleTest, CleanUpRemovesOnlyTheFourCharacters) {
  Orvex& app = startSet();
  app.state.AircraftName = "//A\\\\B\"\"C..D  E/.\\\"";
  app.assembly.CleanUpAircraftName();
  EXPECT_EQ(app.state.AircraftName, "ABCD  E");
  app.state.AircraftName = "Ju-52 (3m) ~ g|h, 'x'";
  app.assembly.CleanUpAircraftName();
  EXPECT_EQ(app.state.AircraftName, "Ju-52 (3m) ~ g|h, 'x'");
}

TEST_F(AircraftTitleTest, WithoutAUsableTitleNothingIsOfferedNotEvenAnEarlierName) {
  Orvex& app =
      startSet("\"C:\\FS98\"\r\n\"C:\\FS98\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"FS98\"\r\n1\r\n");
  write(kAssembly + "\\a.jpg");
  for (const std::string& cfg :
       {std::string("[fltsim.0]\r\ntitle=\r\n"), std::string("[fltsim.0]\r\ntitle=./..\\\r\n"),
        std::string("[fltsim.0]\r\ntitle=\" \"\r\n"), fixtureText("aircraft/no_title.cfg")}) {
    putAircraft("[fltsim.0]\r\ntitle=Earlier Aircraft\r\n");
    app.frm.cmdRefresh.click();
    ASSERT_EQ(app.frm.cmdInstall.caption(), "Install Earlier Aircraft to FS98");
    putAircraft(cfg);
    tk_.boxes.clear();

    app.frm.cmdRefresh.click();

    ASSERT_EQ(tk_.boxes.size(), 1u) << cfg;
    EXPECT_EQ(tk_.boxes[0].text, "No title found in Aircraft.cfg!");
    EXPECT_EQ(tk_.boxes[0].caption, "Aircraft Title Error");
    EXPECT_EQ(tk_.boxes[0].icon, MsgIcon::Warning);
    EXPECT_EQ(tk_.boxes[0].buttons, MsgButtons::OK);
    EXPECT_EQ(app.state.AircraftName, "") << cfg;
    EXPECT_FALSE(app.frm.cmdInstall.visible()) << cfg;
    EXPECT_EQ(app.frm.cmdInstall.caption(), "") << cfg;
    EXPECT_TRUE(app.frm.cmdCancelLoad.visible()) << cfg;
    // Nor after a change of simulator.
    app.frm.optFS2000.setValue(true);
    app.frm.optFS98.setValue(true);
    EXPECT_FALSE(app.frm.cmdInstall.visible()) << cfg;
    app.aircraft.cmdInstall_Click();
    EXPECT_FALSE(exists("C:\\FS98\\Aircraft\\Aircraft.cfg")) << cfg;
  }
  // Nothing is thrown away: the user may mend the file and press Refresh again.
  EXPECT_EQ(names(kAssembly).size(), 5u);
}

TEST_F(AircraftTitleTest, WithoutAChosenLocationTheInstallButtonStaysHidden) {
  Orvex& app = startSet();
  putAircraft("[fltsim.0]\r\ntitle=Hampden\r\n");
  app.frm.labLocation.setCaption("Select FS98 Directory");
  setVisible({&app.frm.cmdInstall, &app.frm.cmdCancelLoad}, true);
  app.assembly.GetAircraftName();
  EXPECT_EQ(app.state.AircraftName, "Hampden");
  EXPECT_FALSE(app.frm.cmdInstall.visible());
  EXPECT_FALSE(app.frm.cmdCancelLoad.visible());

  // Only a leading "Select" in that letter case counts as unset.
  app.frm.labLocation.setCaption("select");
  app.assembly.GetAircraftName();
  EXPECT_TRUE(app.frm.cmdInstall.visible());
  EXPECT_EQ(app.frm.cmdInstall.caption(), "Install Hampden to FS98");
}

TEST_F(AircraftTitleTest, RefreshOfAnAircraftShowsTitleAndFirstPicture) {
  Orvex& app = startSet();
  putAircraft("[fltsim.0]\r\ntitle=Hampden\r\nmodel=\r\n");
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

TEST_F(AircraftTitleTest, AnAircraftNeedsOnlyItsAircraftCfg) {
  Orvex& app = startSet();
  // Many aircraft of these simulators have no Model.cfg, and some borrow another aircraft's
  // panel or sounds.
  const std::vector<std::vector<std::string>> cases = {
      {"AIRCRAFT.CFG"},
      {"Aircraft.cfg", "Panel.cfg"},
      {"aircraft.cfg", "sound.cfg", "model.mdl"},
  };
  for (const std::vector<std::string>& files : cases) {
    std::filesystem::remove_all(host(kAssembly));
    makeDir(kAssembly);
    for (const std::string& f : files) write(kAssembly + "\\" + f, "title=Hampden\r\n");
    tk_.boxes.clear();

    app.frm.cmdRefresh.click();

    const std::string what = ::testing::PrintToString(files);
    EXPECT_TRUE(tk_.boxes.empty()) << what;
    EXPECT_EQ(app.state.AircraftName, "Hampden") << what;
    EXPECT_EQ(app.frm.cmdInstall.caption(), "Install Hampden to FS98") << what;
    EXPECT_EQ(names(kAssembly).size(), files.size()) << what;
  }
}

class PreviewTest : public AircraftTitleTest {};

TEST_F(PreviewTest, ThreePicturesAreSteppedInNameOrderWithoutWrapping) {
  Orvex& app = startSet();
  for (const char* f : {"c.JPG", "B.jpg", "a.GIF", "d.png", "e.bmp", "Image\\f.jpg"})
    write(kAssembly + "\\" + f);
  app.frm.Image1.setVisible(true);

  app.assembly.FindAircraftImage();

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
  app.assembly.FindAircraftImage();
  EXPECT_EQ(app.state.ImageCount, 1);
  EXPECT_EQ(app.frm.Image4.picture(), kAssembly + "\\only.jpg");
  EXPECT_FALSE(app.frm.Image2.visible());
  EXPECT_FALSE(app.frm.Image3.visible());
  app.frm.Image3.onClick();
  EXPECT_EQ(tk_.beeps, 1);
  EXPECT_EQ(app.frm.Image4.picture(), kAssembly + "\\only.jpg");

  std::remove(host(kAssembly + "\\only.jpg").c_str());
  write(kAssembly + "\\readme.txt");
  app.assembly.FindAircraftImage();
  EXPECT_EQ(app.state.ImageCount, 0);
  EXPECT_FALSE(app.frm.Image4.visible());
  EXPECT_TRUE(app.frm.Image1.visible());
}

TEST_F(PreviewTest, AClickSoundThatCannotPlayIsIgnored) {
  Orvex& app = startSet();
  write(kAssembly + "\\a.jpg");
  write(kAssembly + "\\b.jpg");
  app.assembly.FindAircraftImage();
  app.state.OrvexDir = "Q:\\Nowhere\\";  // a drive the map does not know

  app.frm.Image3.onClick();

  EXPECT_EQ(app.frm.Image4.picture(), kAssembly + "\\b.jpg");
  EXPECT_TRUE(tk_.boxes.empty());
  EXPECT_EQ(tk_.beeps, 0);
}

}  // namespace
}  // namespace orvex::test

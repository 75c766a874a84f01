// Repaints: a texture folder added to an aircraft of the simulator as a livery of its own, its
// section added to Aircraft.cfg in the file's own encoding and line ends, and every such change
// (a livery added, a livery removed from the Hangar) undone from the Installed tab, byte for byte
// or, after the file changed, by taking out only its own lines.
#include "support/fixtures.h"
#include "support/install_world.h"

namespace orvex::test {
namespace {

class LiveryTest : public RecordedWorld {
 protected:
  void chooseRow(ListView& list, const std::string& first) {
    for (size_t r = 0; r < list.rows().size(); ++r)
      if (list.rows()[r][0] == first) list.setListIndex(int(r));
    ASSERT_GE(list.listIndex(), 0) << first;
  }

  const std::string trainer = "C:\\FS98\\Aircraft\\Trainer\\";
};

TEST_F(LiveryTest, ARepaintGoesToTheAircraftItWasPaintedForAndComesOffByteForByte) {
  Orvex& app = freshStart(Kind::Livery, false);
  write("C:\\FS98\\Aircraft\\Bizjet\\Aircraft.cfg", "[fltsim.0]\r\ntitle=Bizjet 45\r\n");
  write("C:\\FS98\\Aircraft\\Bizjet\\texture\\bizjet.bmp", "paint");
  const Files before = snapshot();
  unpack(Kind::Livery);

  app.frm.cmdRefresh.click();
  EXPECT_EQ(app.frm.SSTab1.tab(), 0);
  EXPECT_TRUE(app.frm.labLiveryTarget.visible());
  EXPECT_EQ(app.frm.labLiveryTarget.caption(), "Add Livery to:");
  EXPECT_FALSE(app.frm.Image1.visible());
  const std::vector<std::string> best{"Other Plane", "Other", "1 of 2"};
  ASSERT_EQ(app.frm.lvwLiveryTarget.rows().size(), 2u);
  EXPECT_EQ(app.frm.lvwLiveryTarget.rows()[0], best);
  EXPECT_EQ(app.frm.lvwLiveryTarget.listIndex(), 0);
  EXPECT_EQ(app.frm.cmdInstallLivery.caption(), "Install Livery");
  EXPECT_TRUE(app.frm.cmdInstallLivery.enabled());

  app.frm.cmdInstallLivery.click();
  ASSERT_EQ(tk_.countCaption("Success!"), 1);
  EXPECT_EQ(tk_.boxes.back().text, "Livery Installed Successfully!");
  EXPECT_EQ(read(kOtherPlane + "Aircraft.cfg"), kOtherPlaneCfgWithRed);
  const Files files = addOn(Kind::Livery);
  for (const auto& [path, name] : installedFiles(Kind::Livery))
    EXPECT_EQ(read(path), files.at(name));
  EXPECT_TRUE(names("C:\\Orvex\\Assembly").empty()) << "the readme stayed";
  EXPECT_FALSE(app.frm.lvwLiveryTarget.visible());

  // The Hangar shows it; the Installed tab takes it off again.
  app.frm.SSTab1.setTab(HangarTab::kHangarTab);
  chooseRow(app.frm.lvwHangar, "Other Plane");
  ASSERT_EQ(app.frm.lvwLiveries.rows().size(), 2u);
  EXPECT_EQ(app.frm.lvwLiveries.rows()[1][0], "Other Plane Red");
  EXPECT_EQ(app.frm.lvwLiveries.rows()[1][1], "texture.red");
  EXPECT_EQ(app.frm.lvwLiveries.rows()[1][3].rfind("Other Plane Red, installed ", 0), 0u);
  EXPECT_EQ(installedList(app).rows()[0][1], "livery");
  tk_.boxes.clear();
  press(app, "Other Plane Red", app.frm.cmdUninstall);
  EXPECT_NE(tk_.boxes[0].text.find("its own lines in Aircraft.cfg taken back"), std::string::npos)
      << tk_.boxes[0].text;
  EXPECT_EQ(tk_.boxes.back().text, "Other Plane Red has been uninstalled.");
  EXPECT_EQ(snapshot(), before);
}

TEST_F(LiveryTest, WithoutABlockTheFirstSectionIsCopiedAndATakenFolderNameIsAskedFor) {
  Orvex& app = freshStart(Kind::Livery, false);
  // UTF-16, line ends LF, sections not set apart, no last line end.
  write(trainer + "Aircraft.cfg",
        utf16("[fltsim.0]\ntitle=Trainer 172\nsim=trainer\ntexture=\n[fltsim.1]\n"
              "title=Trainer 172 Blue\ntexture=blue"));
  write(trainer + "texture.blue\\trainer.bmp", "blue");
  const auto repaint = [&] {
    write(kAsm + "texture.blue\\trainer.bmp", "navy");
    app.frm.cmdRefresh.click();
    chooseRow(app.frm.lvwLiveryTarget, "Trainer 172");
    tk_.boxes.clear();
    tk_.inputBoxes.clear();
  };

  // Cancelled at the name: nothing changes, the repaint stays.
  repaint();
  const Files before = snapshot();
  tk_.inputs = {std::nullopt};
  app.frm.cmdInstallLivery.click();
  EXPECT_EQ(snapshot(), before);
  EXPECT_EQ(tk_.countCaption("Success!"), 0);
  EXPECT_EQ(read(kAsm + "texture.blue\\trainer.bmp"), "navy");
  ASSERT_EQ(tk_.inputBoxes.size(), 1u);
  EXPECT_EQ(tk_.inputBoxes[0].first,
            "texture.blue is taken in Trainer 172.\rName of the livery's folder:");
  EXPECT_EQ(tk_.inputBoxes[0].second, "texture.blue_2");

  // A name that is no livery folder is asked again; then the one given is used.
  repaint();
  tk_.inputs = {"texture.a\\b", "texture.navy"};
  app.frm.cmdInstallLivery.click();
  ASSERT_EQ(tk_.countCaption("Success!"), 1);
  ASSERT_EQ(tk_.inputBoxes.size(), 2u);
  EXPECT_EQ(tk_.inputBoxes[1].first.rfind("A livery's folder is named texture.", 0), 0u);
  EXPECT_EQ(read(trainer + "texture.navy\\trainer.bmp"), "navy");
  EXPECT_EQ(read(trainer + "texture.blue\\trainer.bmp"), "blue");
  EXPECT_EQ(read(trainer + "Aircraft.cfg"),
            utf16("[fltsim.0]\ntitle=Trainer 172\nsim=trainer\ntexture=\n[fltsim.1]\n"
                  "title=Trainer 172 Blue\ntexture=blue\n[fltsim.2]\ntitle=Trainer 172 navy\n"
                  "sim=trainer\ntexture=navy\n"));
}

TEST_F(LiveryTest, AfterTheAircraftCfgChangedAnUninstallTakesOutOnlyItsOwnSection) {
  Orvex& app = freshStart(Kind::Livery, false);
  unpack(Kind::Livery);
  installAsTheUserWould(app, Kind::Livery);
  ASSERT_EQ(read(kOtherPlane + "Aircraft.cfg"), kOtherPlaneCfgWithRed);
  // Another livery pasted in by hand after it, and a key of the user's own changed.
  const std::string gold = "\r\n[fltsim.2]\r\ntitle=Other Plane Gold\r\ntexture=gold\r\n";
  std::string edited = kOtherPlaneCfgWithRed;
  edited.insert(edited.find("\r\n[General]"), gold);
  edited.replace(edited.find("OTHER"), 5, "MINE!");
  write(kOtherPlane + "Aircraft.cfg", edited);

  tk_.boxes.clear();
  press(app, "Other Plane Red", app.frm.cmdUninstall);
  EXPECT_EQ(tk_.boxes.back().caption, "Success!");
  EXPECT_NE(tk_.boxes.back().text.find("was changed since, so only its own lines in it were taken back"),
            std::string::npos)
      << tk_.boxes.back().text;
  std::string expected = kOtherPlaneCfg;
  expected.insert(expected.find("\r\n[General]"), gold);
  expected.replace(expected.find("OTHER"), 5, "MINE!");
  EXPECT_EQ(read(kOtherPlane + "Aircraft.cfg"), expected);
  EXPECT_FALSE(exists(kOtherPlane + "texture.red"));
}

TEST_F(LiveryTest, ALiveryRemovedFromTheHangarIsPutBackByTheInstalledTab) {
  Orvex& app = freshStart(Kind::Livery, false);
  write(trainer + "Aircraft.cfg",
        "[fltsim.0]\r\ntitle=Trainer\r\ntexture=\r\n\r\n[fltsim.1]\r\ntitle=Trainer Red\r\n"
        "texture=red\r\n\r\n[fltsim.2]\r\ntitle=Trainer Red Wheels\r\ntexture=red\r\n\r\n"
        "[fltsim.3]\r\ntitle=Trainer Gold\r\ntexture=gold\r\n\r\n[General]\r\natc_type=T\r\n");
  for (const char* t :
       {"texture\\t.bmp", "texture.red\\t.bmp", "texture.red\\Sub\\t2.bmp", "texture.gold\\t.bmp"})
    write(trainer + t, t);
  const Files before = snapshot();
  app.frm.SSTab1.setTab(HangarTab::kHangarTab);
  struct Case {
    const char* livery;
    bool folderGoes;  // another livery uses texture.red
    std::string question;
  } cases[] = {
      {"Trainer Gold", true,
       "Remove the livery Trainer Gold from Trainer?\r\rIts section goes from Aircraft.cfg, and "
       "its folder texture.gold with it.\rThe Installed tab can put it back."},
      {"Trainer Red", false,
       "Remove the livery Trainer Red from Trainer?\r\rIts section goes from Aircraft.cfg; its "
       "folder texture.red stays, as another livery uses it.\rThe Installed tab can put it back."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.livery);
    chooseRow(app.frm.lvwHangar, "Trainer");
    chooseRow(app.frm.lvwLiveries, c.livery);
    ASSERT_TRUE(app.frm.cmdRemoveLivery.enabled());
    tk_.boxes.clear();
    app.frm.cmdRemoveLivery.click();
    ASSERT_EQ(tk_.boxes.size(), 2u);
    EXPECT_EQ(tk_.boxes[0].text, c.question);
    EXPECT_EQ(read(trainer + "Aircraft.cfg").find(std::string("title=") + c.livery + "\r"),
              std::string::npos);
    const std::string folder = trainer + (c.folderGoes ? "texture.gold" : "texture.red");
    EXPECT_EQ(exists(folder), !c.folderGoes);
  }
  EXPECT_EQ(
      read(trainer + "Aircraft.cfg"),
      "[fltsim.0]\r\ntitle=Trainer\r\ntexture=\r\n\r\n[fltsim.2]\r\ntitle=Trainer Red Wheels\r\n"
      "texture=red\r\n\r\n[General]\r\natc_type=T\r\n");
  // Put back in either order.
  press(app, "Removed Trainer Gold", app.frm.cmdUninstall);
  press(app, "Removed Trainer Red", app.frm.cmdUninstall);
  EXPECT_EQ(snapshot(), before);

  // An aircraft's only livery stays.
  app.frm.SSTab1.setTab(HangarTab::kHangarTab);
  chooseRow(app.frm.lvwHangar, "Other Plane");
  chooseRow(app.frm.lvwLiveries, "Other Plane");
  tk_.boxes.clear();
  app.frm.cmdRemoveLivery.click();
  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].text,
            "Other Plane is the only livery of Other Plane: an aircraft needs one at least, so it "
            "stays.");
  EXPECT_EQ(snapshot(), before);
}

}  // namespace
}  // namespace orvex::test

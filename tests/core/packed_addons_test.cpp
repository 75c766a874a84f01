// Add-ons as they are really packed: an aircraft folder with its model, panel, sound and livery
// folders, several aircraft in one pack, a scenery with its own scenery and texture folders, and
// an aircraft beside a scenery. Each install is checked byte for byte in the simulator's tree,
// and undone again.
#include "host/libarchive_reader.h"
#include "support/archive_builder.h"
#include "support/fixtures.h"
#include "support/install_world.h"

namespace orvex::test {
namespace {

const std::string kLiveries =
    "[fltsim.0]\r\ntitle=Spitfire Mk I\r\ntexture=\r\n"
    "[fltsim.1]\r\ntitle=Spitfire Mk I Red\r\ntexture=1\r\n"
    "[fltsim.2]\r\ntitle=Spitfire Mk I Blue\r\ntexture=2\r\n";

class PackedAddOnsTest : public RecordedWorld {
 protected:
  // The assembly area holding these files (name below it -> bytes).
  void unpackTree(const Files& files) {
    for (const auto& [name, bytes] : files) write(kAsm + name, bytes);
  }

  void expectInstalled(const Files& where) {
    for (const auto& [path, bytes] : where) {
      ASSERT_TRUE(exists(path)) << path;
      EXPECT_EQ(read(path), bytes) << path;
    }
  }

  void refresh(Orvex& app) {
    tk_.boxes.clear();
    app.frm.cmdRefresh.click();
  }

  // The three-livery aircraft as its archive holds it.
  static std::vector<Item> spitfire(const std::string& in) {
    return {{in + "Aircraft.cfg", kLiveries},
            {in + "model/spit.mdl", "mdl"},
            {in + "texture/skin.bmp", "default"},
            {in + "texture.1/skin.bmp", "red"},
            {in + "texture.2/skin.bmp", "blue"}};
  }
  void expectSpitfire(const std::string& title) {
    const std::string plane = "C:\\FS98\\Aircraft\\" + title + "\\";
    expectInstalled({{plane + "model\\spit.mdl", "mdl"},
                     {plane + "texture\\skin.bmp", "default"},
                     {plane + "texture.1\\skin.bmp", "red"},
                     {plane + "texture.2\\skin.bmp", "blue"}});
  }

  LibArchiveReader reader_;
};

TEST_F(PackedAddOnsTest, AnAircraftFolderKeepsEveryLiveryAndFolderWhereverItLies) {
  // In a folder of its own (as an archive holds it), or extracted with its folder names.
  for (const std::string& folder : {std::string("Spitfire\\"), std::string()}) {
    SCOPED_TRACE(folder.empty() ? "at the top of the area" : "in its folder");
    Orvex& app = freshStart(Kind::Aircraft, false);
    const Files before = snapshot();
    unpackTree({{folder + "Aircraft.cfg", kLiveries},
                {folder + "spit.air", "air"},
                {folder + "readme.txt", "read me"},
                {folder + "model\\spit.mdl", "mdl"},
                {folder + "panel\\panel.cfg", "[Window00]\r\n"},
                {folder + "panel\\needle.gau", "needle"},
                {folder + "sound\\sound.cfg", "snd"},
                {folder + "texture\\skin.bmp", "default"},
                {folder + "texture.1\\skin.bmp", "red"},
                {folder + "texture.2\\skin.bmp", "blue"},
                {folder + "gauges\\clock.dll", "clock"},
                {folder + "effects\\smoke\\puff.fx", "puff"}});

    refresh(app);
    EXPECT_TRUE(tk_.boxes.empty());
    EXPECT_EQ(app.frm.cmdInstall.caption(), "Install Spitfire Mk I to FS98");
    app.frm.cmdInstall.click();

    ASSERT_EQ(tk_.countCaption("Success!"), 1);
    const std::string plane = "C:\\FS98\\Aircraft\\Spitfire Mk I\\";
    expectInstalled({{plane + "Aircraft.cfg", kLiveries},
                     {plane + "spit.air", "air"},
                     {plane + "Documentation\\readme.txt", "read me"},
                     {plane + "model\\spit.mdl", "mdl"},
                     {plane + "panel\\panel.cfg", "[Window00]\r\n"},
                     {plane + "sound\\sound.cfg", "snd"},
                     {plane + "texture\\skin.bmp", "default"},
                     {plane + "texture.1\\skin.bmp", "red"},
                     {plane + "texture.2\\skin.bmp", "blue"},
                     {plane + "effects\\smoke\\puff.fx", "puff"},
                     {"C:\\FS98\\Gauges\\needle.gau", "needle"},
                     {"C:\\FS98\\Gauges\\clock.dll", "clock"}});
    EXPECT_FALSE(exists(plane + "gauges"));
    EXPECT_TRUE(names("C:\\Orvex\\Assembly").empty());

    press(app, "Spitfire Mk I", app.frm.cmdUninstall);
    EXPECT_EQ(tk_.boxes.back().caption, "Success!");
    EXPECT_EQ(snapshot(), before);
  }
}

TEST_F(PackedAddOnsTest, LiveriesExtractedFlatAreToldOfAndWhatIsThereStillInstalls) {
  Orvex& app = freshStart(Kind::Aircraft, false);
  unpackTree({{"Aircraft.cfg", kLiveries}, {"skin.bmp", "one set"}, {"spit.mdl", "mdl"}});

  refresh(app);
  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].caption, "Liveries");
  EXPECT_EQ(tk_.boxes[0].text,
            "This aircraft has 3 liveries, but the files of only one are here. Open the archive "
            "with Orvex, or extract it with its folder names, to install all of them.");
  app.frm.cmdInstall.click();
  EXPECT_EQ(tk_.countCaption("Success!"), 1);
  expectInstalled({{"C:\\FS98\\Aircraft\\Spitfire Mk I\\Texture\\skin.bmp", "one set"}});
}

TEST_F(PackedAddOnsTest, EachAircraftOfAPackIsItsOwnInstallAndIsUninstalledAlone) {
  Orvex& app = freshStart(Kind::Aircraft, false);
  const Files before = snapshot();
  unpackTree({{"Pack\\Alpha\\Aircraft.cfg", "[fltsim.0]\r\ntitle=Alpha\r\n"},
              {"Pack\\Alpha\\model\\a.mdl", "alpha"},
              {"Pack\\Bravo\\aircraft.cfg", "[fltsim.0]\r\ntitle=Bravo\r\n"},
              {"Pack\\Bravo\\model\\b.mdl", "bravo"},
              {"Pack\\readme.txt", "the pack"}});

  refresh(app);
  ListView& list = app.frm.lvwAircraft;
  ASSERT_TRUE(list.visible());
  ASSERT_EQ(list.rows().size(), 2u);
  EXPECT_EQ(list.rows()[0][0], "Alpha");
  EXPECT_EQ(list.checkedCount(), 2);
  EXPECT_EQ(app.frm.cmdInstall.caption(), "Install 2 Aircraft to FS98");
  list.setChecked(1, false);
  EXPECT_EQ(app.frm.cmdInstall.caption(), "Install 1 Aircraft to FS98");
  list.setChecked(0, false);
  EXPECT_FALSE(app.frm.cmdInstall.enabled());
  list.setChecked(0, true);
  list.setChecked(1, true);

  // The preview shows each aircraft's files going into its own folder, and changes nothing.
  std::vector<std::vector<std::string>> rows;
  tk_.onModal = [&](Form&) {
    rows = app.preview.lvwPreview.rows();
    app.preview.cmdPreviewClose.click();
  };
  app.frm.cmdPreview.click();
  tk_.onModal = nullptr;
  auto targetOf = [&](const std::string& name) {
    for (const std::vector<std::string>& row : rows)
      if (row[0] == name) return row[2];
    return std::string("not listed");
  };
  EXPECT_EQ(targetOf("Pack\\Alpha\\model\\a.mdl"), "C:\\FS98\\Aircraft\\Alpha\\model\\a.mdl");
  EXPECT_EQ(targetOf("Pack\\Bravo\\model\\b.mdl"), "C:\\FS98\\Aircraft\\Bravo\\model\\b.mdl");
  EXPECT_FALSE(exists("C:\\FS98\\Aircraft\\Alpha"));
  list.setChecked(1, false);

  // Alpha alone; Bravo stays in the assembly area and is offered next.
  app.frm.cmdInstall.click();
  EXPECT_EQ(tk_.countCaption("Success!"), 1);
  expectInstalled({{"C:\\FS98\\Aircraft\\Alpha\\model\\a.mdl", "alpha"}});
  EXPECT_FALSE(exists("C:\\FS98\\Aircraft\\Bravo"));
  EXPECT_EQ(read(kAsm + "Pack\\Bravo\\model\\b.mdl"), "bravo");
  EXPECT_EQ(app.frm.cmdInstall.caption(), "Install Bravo to FS98");
  app.frm.cmdInstall.click();
  expectInstalled({{"C:\\FS98\\Aircraft\\Bravo\\model\\b.mdl", "bravo"}});
  EXPECT_EQ(installedList(app).rows().size(), 2u);

  press(app, "Alpha", app.frm.cmdUninstall);
  EXPECT_FALSE(exists("C:\\FS98\\Aircraft\\Alpha"));
  expectInstalled({{"C:\\FS98\\Aircraft\\Bravo\\model\\b.mdl", "bravo"}});
  press(app, "Bravo", app.frm.cmdUninstall);
  EXPECT_EQ(snapshot(), before);
}

TEST_F(PackedAddOnsTest, APacksReadmeGoesAfterItsInstallAndADownloadArrivingMeanwhileStays) {
  Orvex& app = freshStart(Kind::Aircraft, false);
  unpackTree({{"A\\Aircraft.cfg", "title=Alpha\r\n"},
              {"B\\Aircraft.cfg", "title=Bravo\r\n"},
              {"readme.txt", "the pack"}});
  refresh(app);
  tk_.onEvents = [&] { write(kAsm + "Radial_cruise.wav", "arrived"); };
  app.frm.cmdInstall.click();
  tk_.onEvents = nullptr;
  EXPECT_EQ(tk_.countCaption("Success!"), 1);
  EXPECT_FALSE(exists(kAsm + "readme.txt"));
  EXPECT_EQ(read(kAsm + "Radial_cruise.wav"), "arrived");
}

TEST_F(PackedAddOnsTest, APackFollowsTheSimulatorOptionsAndCancelThrowsItAway) {
  Orvex& app = freshStart(Kind::Aircraft, false);
  unpackTree({{"A\\Aircraft.cfg", "title=Alpha\r\n"}, {"B\\Aircraft.cfg", "title=Bravo\r\n"}});
  refresh(app);
  app.state.FS2000Path = "C:\\FS98";
  app.frm.optFS2000.setValue(true);
  EXPECT_EQ(app.frm.cmdInstall.caption(), "Install 2 Aircraft to FS2K");
  app.frm.optFS98.setValue(true);
  EXPECT_EQ(app.frm.cmdInstall.caption(), "Install 2 Aircraft to FS98");
  EXPECT_TRUE(app.frm.cmdInstall.visible());

  app.frm.cmdCancelLoad.click();
  EXPECT_FALSE(app.frm.lvwAircraft.visible());
  EXPECT_TRUE(app.frm.Image1.visible());
  EXPECT_TRUE(names("C:\\Orvex\\Assembly").empty());
}

TEST_F(PackedAddOnsTest, ASceneryTakesItsSceneryAndTextureFoldersWhateverTheirFiles) {
  Orvex& app = freshStart(Kind::Scenery, false);
  const Files before = snapshot();
  unpackTree({{"Harbor Island\\scenery\\harbor.bgl", "bgl"},
              {"Harbor Island\\scenery\\harbor.xyz", "xyz"},
              {"Harbor Island\\texture\\water.dds", "dds"},
              {"Harbor Island\\readme.txt", "read me"}});
  installAsTheUserWould(app, Kind::Scenery);
  ASSERT_EQ(tk_.countCaption("Success!"), 1);
  const std::string d = "C:\\FS98\\Scenery\\" + kSceneryName + "\\";
  expectInstalled({{d + "Scenery\\harbor.bgl", "bgl"},
                   {d + "Scenery\\harbor.xyz", "xyz"},
                   {d + "Texture\\water.dds", "dds"},
                   {d + "Unknown\\readme.txt", "read me"}});
  EXPECT_TRUE(names("C:\\Orvex\\Assembly").empty());
  press(app, kSceneryName, app.frm.cmdUninstall);
  EXPECT_EQ(snapshot(), before);
}

TEST_F(PackedAddOnsTest, APackOfAnAircraftAndItsSceneryOffersEachOnItsTab) {
  Orvex& app = freshStart(Kind::Aircraft, false);
  unpackTree({{"Plane\\Aircraft.cfg", "[fltsim.0]\r\ntitle=Islander\r\n"},
              {"Plane\\model\\i.mdl", "mdl"},
              {"Field\\scenery\\field.bgl", "bgl"}});
  refresh(app);
  EXPECT_EQ(app.frm.SSTab1.tab(), 0);
  EXPECT_EQ(app.frm.cmdInstall.caption(), "Install Islander to FS98");
  EXPECT_TRUE(app.frm.frmScenery.visible());

  app.frm.cmdInstall.click();
  expectInstalled({{"C:\\FS98\\Aircraft\\Islander\\model\\i.mdl", "mdl"}});
  EXPECT_EQ(read(kAsm + "Field\\scenery\\field.bgl"), "bgl");
  installAsTheUserWould(app, Kind::Scenery);
  expectInstalled({{"C:\\FS98\\Scenery\\" + kSceneryName + "\\Scenery\\field.bgl", "bgl"}});
  EXPECT_TRUE(names("C:\\Orvex\\Assembly").empty());
}

TEST_F(PackedAddOnsTest, APackInsideASevenZipIsOpenedWithEveryFolderAndInstalled) {
  Orvex& app = freshStart(Kind::Aircraft, false);
  app.archives = &reader_;
  const std::string inner = host("C:\\inner.zip"), outer = host("C:\\download.7z");
  std::vector<Item> pack = spitfire("Pack/One/");
  for (Item& item : spitfire("Pack/Two/")) {
    if (item.path.find("Aircraft.cfg") != std::string::npos)
      item.data = "[fltsim.0]\r\ntitle=Spitfire Two\r\n[fltsim.1]\r\ntexture=1\r\n";
    pack.push_back(item);
  }
  buildArchive(inner, "zip", pack);
  buildArchive(outer, "7zip", {{"readme.txt", "read me"}, {"pack.zip", hostRead(inner)}});

  app.archive.openArchive(outer);
  EXPECT_TRUE(tk_.boxes.empty()) << tk_.boxes.front().text;
  refresh(app);
  ASSERT_EQ(app.frm.lvwAircraft.rows().size(), 2u);
  app.frm.cmdInstall.click();
  EXPECT_EQ(tk_.countCaption("Success!"), 1);
  expectSpitfire("Spitfire Mk I");
  expectSpitfire("Spitfire Two");
  EXPECT_EQ(installedList(app).rows().size(), 2u);
}

TEST_F(PackedAddOnsTest, AnArchiveLyingInTheAreaIsOpenedWhereItLiesWhenTheUserSaysSo) {
  Orvex& app = freshStart(Kind::Aircraft, false);
  app.archives = &reader_;
  write(kAsm + "readme.txt", "read me");
  buildArchive(host(kAsm + "spitfire.zip"), "zip", spitfire("Spitfire/"));
  tk_.answers = {MsgAnswer::Yes};
  refresh(app);
  ASSERT_FALSE(tk_.boxes.empty());
  EXPECT_EQ(tk_.boxes[0].text, "The assembly area holds the archive spitfire.zip. Open it?");
  EXPECT_FALSE(exists(kAsm + "spitfire.zip"));
  EXPECT_EQ(app.frm.cmdInstall.caption(), "Install Spitfire Mk I to FS98");
  app.frm.cmdInstall.click();
  expectSpitfire("Spitfire Mk I");
}

}  // namespace
}  // namespace orvex::test

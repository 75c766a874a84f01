// The Hangar: every aircraft folder of the simulator, installed by Orvex or by hand, its
// liveries, the install that brought it, and what is broken in it, on real files of every
// encoding.
#include <filesystem>

#include "platform/dos_path.h"
#include "support/fixtures.h"
#include "support/install_world.h"

namespace orvex::test {
namespace {

class HangarTest : public RecordedWorld {
 protected:
  // The row of the Hangar that shows this title.
  std::vector<std::string> row(Orvex& app, const std::string& title) {
    for (const std::vector<std::string>& r : app.frm.lvwHangar.rows())
      if (r[0] == title) return r;
    ADD_FAILURE() << title << " is not in the Hangar";
    return std::vector<std::string>(5);
  }

  const std::string air = "C:\\FS98\\Aircraft\\";
};

TEST_F(HangarTest, EveryAircraftIsListedWithItsLiveriesItsInstallAndWhatIsBroken) {
  Orvex& app = freshStart(Kind::Aircraft, false);
  unpack(Kind::Aircraft);
  installAsTheUserWould(app, Kind::Aircraft);

  // By hand: UTF-16 and tab-aligned, a livery whose folder is missing, a gauge and a bitmap
  // that its panel names and that are not there, a sound set borrowed from an aircraft gone.
  write(air + "Hand Cub\\Aircraft.cfg",
        utf16("[fltsim.0]\r\ntitle\t=\tHand Cub ; the default\r\ntexture=\r\n"
              "[fltsim.1]\r\ntitle=Hand Cub Red\r\ntexture=red\r\n\r\n[General]\r\n"));
  for (const char* folder : {"model", "texture"}) makeDir(air + "Hand Cub\\" + folder);
  write(air + "Hand Cub\\panel\\panel.cfg",
        "[Window00]\r\nfile=cub_panel.bmp\r\ngauge00=Cub_Gauges!Needle, 10, 10\r\n"
        "gauge01=Main, 20, 20\r\n");
  write("C:\\FS98\\Gauges\\Main.gau");
  write(air + "Hand Cub\\sound\\sound.cfg", "[fltsim]\r\nalias=Gone\\sound\r\n");
  // A panel borrowed from an aircraft that is there, line ends LF and no last one.
  write(air + "Borrower\\aircraft.cfg", "[fltsim.0]\ntitle=Borrower");
  for (const char* folder : {"model", "sound", "texture"}) makeDir(air + "Borrower\\" + folder);
  write(air + "Borrower\\panel\\panel.cfg", "[fltsim]\nalias=Hand Cub\\panel\n");
  makeDir(air + "Empty Folder");
  write(air + "Binary\\Aircraft.cfg", std::string("\xFE\xFF\xD8", 3));
  for (const char* folder : {"model", "panel", "sound", "texture"})
    makeDir(air + "Binary\\" + folder);

  app.frm.SSTab1.setTab(5);

  using V = std::vector<std::string>;
  EXPECT_EQ(row(app, "Borrower"), (V{"Borrower", "1", "Borrower", "by hand", "none"}));
  EXPECT_EQ(row(app, "Empty Folder")[4], "No Aircraft.cfg in this folder.");
  EXPECT_EQ(row(app, "Hand Cub"),
            (V{"Hand Cub", "2", "Hand Cub", "by hand",
               "The texture folder texture.red that [fltsim.1] names is missing. panel.cfg names "
               "the gauge Cub_Gauges, which is in neither Gauges nor the panel folder. panel.cfg "
               "names the bitmap cub_panel.bmp, which is missing. The sound folder sound borrows "
               "Gone\\sound, which is missing."}));
  EXPECT_EQ(row(app, "Binary")[4].rfind("Aircraft.cfg cannot be read: ", 0), 0u)
      << row(app, "Binary")[4];
  const V plane = row(app, "Test Plane");
  EXPECT_EQ(plane[3].rfind("Test Plane, installed ", 0), 0u) << plane[3];
  // Sorted by title.
  V titles;
  for (const V& r : app.frm.lvwHangar.rows()) titles.push_back(r[0]);
  EXPECT_TRUE(std::is_sorted(titles.begin(), titles.end(), [](const auto& a, const auto& b) {
    return dos::lower(a) < dos::lower(b);
  }));

  // The selected aircraft's liveries and problems in full.
  for (size_t k = 0; k < titles.size(); ++k)
    if (titles[k] == "Hand Cub") app.frm.lvwHangar.setListIndex(int(k));
  EXPECT_EQ(app.frm.labHangarNote.caption().rfind("Hand Cub:\r   Hand Cub\r   Hand Cub Red\r", 0),
            0u);
}

TEST_F(HangarTest, TheListIsReadWhenTheTabIsShownAndFollowsTheSimulator) {
  Orvex& app = freshStart(Kind::Aircraft, false);
  write(air + "Later\\Aircraft.cfg", "[fltsim.0]\r\ntitle=Later\r\n");
  EXPECT_TRUE(app.frm.lvwHangar.rows().empty());  // not read at start-up
  app.frm.SSTab1.setTab(5);
  EXPECT_FALSE(app.frm.lvwHangar.rows().empty());
  app.state.FS2000Path = "Select FS2000 Directory";
  app.frm.optFS2000.setValue(true);
  EXPECT_TRUE(app.frm.lvwHangar.rows().empty());
  EXPECT_EQ(app.frm.labHangarNote.caption(),
            "Choose the simulator's directory to see its aircraft.");
}

TEST_F(HangarTest, AGaugeAnInstallReplacesOrTakesAwayNamesTheOtherAircraftThatUseIt) {
  Orvex& app = freshStart(Kind::Aircraft, false);
  for (const auto& [folder, title] : {std::pair{"Trainer", "Trainer 172"},
                                      {"Bizjet", "Bizjet 45"},
                                      {"Test Plane", "Test Plane"}}) {
    write(air + folder + "\\Aircraft.cfg", std::string("[fltsim.0]\r\ntitle=") + title + "\r\n");
    write(air + folder + "\\panel\\panel.cfg", "[Window00]\r\ngauge00=main!Needle, 1, 1\r\n");
  }
  write(air + "Glider\\Aircraft.cfg", "[fltsim.0]\r\ntitle=Glider\r\n");
  unpack(Kind::Aircraft);
  const std::string used = "Main.gau is used by 2 aircraft: Bizjet 45, Trainer 172.";

  // The add-on's own aircraft aside, even where the simulator has it already.
  std::string summary;
  tk_.onModal = [&](Form&) {
    summary = app.preview.labPreviewSummary.caption();
    app.preview.cmdPreviewInstall.click();
  };
  app.frm.cmdRefresh.click();
  app.frm.cmdPreview.click();
  tk_.onModal = nullptr;
  EXPECT_NE(summary.find("\r" + used), std::string::npos) << summary;
  ASSERT_EQ(tk_.countCaption("Success!"), 1);

  tk_.boxes.clear();
  tk_.answers = {MsgAnswer::No};
  press(app, "Test Plane", app.frm.cmdUninstall);
  ASSERT_FALSE(tk_.boxes.empty());
  EXPECT_NE(tk_.boxes[0].text.find("\r" + used), std::string::npos) << tk_.boxes[0].text;
}

TEST_F(HangarTest, WhatWasReadIsKeptAndReadAgainOnlyWhereAFolderOrFileChanged) {
  namespace stdfs = std::filesystem;
  Orvex& app = freshStart(Kind::Aircraft, false);
  const std::string cfg = air + "Cub\\Aircraft.cfg";
  write(cfg, "[fltsim.0]\r\ntitle=Cub A\r\n[fltsim.1]\r\ntitle=Cub Red\r\ntexture=red\r\n");
  for (const char* folder : {"model", "panel", "sound", "texture"}) makeDir(air + "Cub\\" + folder);
  const auto shown = [&] {
    app.frm.SSTab1.setTab(0);
    app.frm.SSTab1.setTab(5);
    return row(app, "Cub A")[4] + "|" + row(app, "Cub A")[0];
  };
  const std::string missing = "The texture folder texture.red that [fltsim.1] names is missing.";
  EXPECT_EQ(shown(), missing + "|Cub A");

  // The same size, the same time: what was kept holds, and the file is not read again.
  const auto time = stdfs::last_write_time(host(cfg));
  write(cfg, "[fltsim.0]\r\ntitle=Cub B\r\n[fltsim.1]\r\ntitle=Cub Red\r\ntexture=red\r\n");
  stdfs::last_write_time(host(cfg), time);
  makeDir(air + "Gone Soon");
  EXPECT_EQ(shown(), missing + "|Cub A");
  EXPECT_TRUE(app.records()->keptValue("hangar c:\\fs98").has_value());
  // A file written, or a folder made in the aircraft's: read again.
  stdfs::last_write_time(host(cfg), time + std::chrono::seconds(5));
  app.frm.SSTab1.setTab(0);
  app.frm.SSTab1.setTab(5);
  EXPECT_EQ(row(app, "Cub B")[4], missing);
  makeDir(air + "Cub\\texture.red");
  app.frm.SSTab1.setTab(0);
  app.frm.SSTab1.setTab(5);
  EXPECT_EQ(row(app, "Cub B")[4], "none");
  stdfs::remove(host(air + "Gone Soon"));
  app.frm.SSTab1.setTab(0);
  app.frm.SSTab1.setTab(5);
  for (const auto& r : app.frm.lvwHangar.rows()) EXPECT_NE(r[0], "Gone Soon");
}

}  // namespace
}  // namespace orvex::test

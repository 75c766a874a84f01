// The Scenery Library: a simulator's scenery list shown in layer order with what is wrong with
// each area, and every change made through the tab written with only its own lines differing,
// recorded, and taken back byte for byte from the Installed tab, in every encoding.
#include "platform/dos_path.h"
#include "platform/text_encoding.h"
#include "scenery_library/scenery_list.h"
#include "support/encodings.h"
#include "support/fixtures.h"
#include "support/install_world.h"

namespace orvex::test {
namespace {

namespace stdfs = std::filesystem;

const std::string kList =
    "[General]\r\nTitle=FS98 World\r\n\r\n; kept as the user wrote it\r\n"
    "[Area.001]\r\nTitle=Default Terrain\r\nLocal=Scenery\\World\r\nLayer=1\r\nActive=TRUE\r\n"
    "Required=TRUE\r\n\r\n"
    "[Area.002]\r\nTitle=Lakeside Field\r\nLocal=Scenery\\Lakeside\r\nLayer=2\r\nActive=TRUE\r\n"
    "Texture_ID=7\r\n\r\n"
    "[Area.003]\r\nTitle=Harbor Island\r\nLocal=Scenery\\Harbor\r\nLayer\t= 3\r\n\r\n"
    "[Area.004]\r\nTitle=Gone Field\r\nLocal=Scenery\\Gone\r\nLayer=4\r\nActive=FALSE\r\n";

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// The tab shown afresh, as the user comes back to it: the list is read again.
void showLibrary(Orvex& app) {
  app.frm.SSTab1.setTab(0);
  app.frm.SSTab1.setTab(SceneryLibrary::kSceneryLibraryTab);
}

// Add Folder..., a folder chosen with the directory lists, and Add.
void addFolder(Orvex& app, const std::string& folder) {
  app.frm.SSTab1.setTab(SceneryLibrary::kSceneryLibraryTab);
  app.frm.cmdLibraryAddFolder.click();
  ASSERT_TRUE(app.frm.frmLibraryFolder.visible());
  app.pointDirList(app.frm.dirLibrary, folder);
  app.frm.cmdLibraryFolderAdd.click();
}

class SceneryLibraryTest : public RecordedWorld {
 protected:
  const std::string list = "C:\\FS98\\Scenery.cfg";
  const std::string backup = "C:\\FS98\\SceneryCfg.bku";

  Orvex& startWith(const std::string& bytes) {
    Orvex& app = freshStart(Kind::Scenery, false);
    write(list, bytes);
    for (const char* bgl : {"Lakeside\\lake.bgl", "Harbor\\scenery\\harbor.bgl"})
      write("C:\\FS98\\Scenery\\" + std::string(bgl), "bgl");
    return app;
  }
  // The tab shown afresh, and the titles of its rows from top to bottom.
  std::vector<std::string> titles(Orvex& app) {
    showLibrary(app);
    std::vector<std::string> shown;
    for (const auto& r : app.frm.lvwLibrary.rows()) shown.push_back(r[0]);
    return shown;
  }
  std::vector<std::string> row(Orvex& app, const std::string& title) {
    app.frm.SSTab1.setTab(SceneryLibrary::kSceneryLibraryTab);
    for (const auto& r : app.frm.lvwLibrary.rows())
      if (r[0] == title) return r;
    ADD_FAILURE() << title << " is not listed";
    return std::vector<std::string>(6);
  }
};

TEST_F(SceneryLibraryTest, EveryAreaIsListedTopLayerFirstWithWhatIsWrongInPlainWords) {
  Orvex& app = startWith(
      "[General]\r\nTitle=x\r\n"
      "[Area.001]\r\nTitle=Classic\r\nLocal=Scenery\\World\r\nLayer=1\r\nActive=TRUE\r\n"
      "Required=TRUE\r\n"
      "[Area.002]\r\nTitle=As Orvex Writes\r\nLocal=SCENERY\\Prop\\Scenery\r\nLayer=2\r\n"
      "[Area.003]\r\nTitle=Far Away\r\nLocal=C:\\Elsewhere\\Far\\\r\nRemote=D:\\Cd\r\nLayer=3\r\n"
      "[Area.004]\r\nTitle=Nowhere\r\nLocal=Scenery\\Nowhere\r\nLayer=4\r\n"
      "[Area.005]\r\nTitle=Empty\r\nLocal=Scenery\\Empty\r\nLayer=5\r\n"
      "[Area.006]\r\nTitle=Twin A\r\nLocal=Scenery\\Twin\r\nLayer=6\r\n"
      "[Area.007]\r\nTitle=Twin B\r\nLocal=scenery/twin/\r\nLayer=7\r\n"
      "[Area.008]\r\nTitle=Mate A\r\nLocal=Scenery\\MateA\r\nLayer=50\r\n"
      "[Area.009]\r\nTitle=Mate B\r\nLocal=Scenery\\MateB\r\nLayer=50\r\n"
      "[Area.010]\r\nTitle=No Local\r\nLayer=9\r\nActive=yes\r\n"
      "[Area.011]\r\nTitle=Bad Layer\r\nLocal=Scenery\\MateA\\..\\MateB\\..\\Bad\r\n"
      "Layer=ten\r\nLocal Scenery\\Typo\r\n"
      "[Area 12]\r\nTitle=Bad Header\r\nLocal=Scenery\\Head\r\nLayer=12\r\n"
      "[Area.001]\r\nTitle=Copied Header\r\nLocal=Scenery\\Copy\r\nLayer=13\r\n");
  write("C:\\FS98\\Scenery\\Prop\\Scenery\\prop.BGL", "bgl");
  write("C:\\Elsewhere\\Far\\scenery\\far.bgl", "bgl");
  write("C:\\FS98\\Scenery\\Empty\\scenery\\readme.txt", "no scenery here");
  for (const char* folder : {"Twin", "MateA", "MateB", "Bad", "Copy", "Head"})
    write("C:\\FS98\\Scenery\\" + std::string(folder) + "\\a.bgl", "bgl");

  using V = std::vector<std::string>;
  EXPECT_EQ(titles(app),
            (V{"Mate A", "Mate B", "Copied Header", "Bad Header", "No Local", "Twin B", "Twin A",
               "Empty", "Nowhere", "Far Away", "As Orvex Writes", "Classic", "Bad Layer"}));
  const struct {
    const char* title;
    std::string problems;
  } cases[] = {
      {"Classic", "none"},
      {"As Orvex Writes", "none"},
      {"Far Away", "none"},
      {"Nowhere", "The folder C:\\FS98\\Scenery\\Nowhere does not exist."},
      {"Empty",
       "The folder C:\\FS98\\Scenery\\Empty holds no .bgl file, and neither does its scenery "
       "sub-folder."},
      {"Twin A", "It names the same folder as Twin B."},
      {"Twin B", "It names the same folder as Twin A."},
      {"Mate A", "It has the same layer, 50, as Mate B."},
      {"Mate B", "It has the same layer, 50, as Mate A."},
      {"No Local",
       "It has no Local= line, so the simulator cannot find its folder. Its Active= value "
       "\"yes\" is neither TRUE nor FALSE."},
      {"Bad Layer",
       "The simulator does not read the line \"Local Scenery\\Typo\". Its layer \"ten\" is not a "
       "whole number."},
      {"Bad Header", "The simulator does not read its header [Area 12]."},
      {"Copied Header",
       "An earlier area has the same header [Area.001] (Classic): the simulator reads only that "
       "one."},
  };
  for (const auto& c : cases) EXPECT_EQ(row(app, c.title)[5], c.problems) << c.title;
  EXPECT_EQ(row(app, "Far Away")[1], "C:\\Elsewhere\\Far; Remote= D:\\Cd");
  EXPECT_EQ(row(app, "Classic"), (V{"Classic", "C:\\FS98\\Scenery\\World", "1", "TRUE, required",
                                    "not by Orvex", "none"}));
  EXPECT_EQ(row(app, "Bad Layer")[1], "C:\\FS98\\Scenery\\Bad");
  EXPECT_EQ(app.frm.labLibraryNote.caption(),
            "13 areas in C:\\FS98\\Scenery.cfg, 10 with problems.");
  // Each looked at once: a second reading finds the same from the files alone.
  EXPECT_EQ(row(app, "Twin B")[5], "It names the same folder as Twin A.");
}

TEST_F(SceneryLibraryTest, TheTabReadsWhenShownAndFollowsTheSimulator) {
  Orvex& app = startWith(kList);
  EXPECT_TRUE(app.frm.lvwLibrary.rows().empty());  // not read at start-up
  EXPECT_EQ(titles(app).size(), 4u);
  EXPECT_TRUE(app.frm.cmdLibraryAddFolder.enabled());
  EXPECT_FALSE(app.frm.cmdLibraryRemove.enabled());  // no row chosen
  app.state.FS2000Path = "Select FS2000 Directory";
  app.frm.optFS2000.setValue(true);
  EXPECT_TRUE(app.frm.lvwLibrary.rows().empty());
  EXPECT_FALSE(app.frm.cmdLibraryAddFolder.enabled());
  EXPECT_EQ(app.frm.labLibraryNote.caption(),
            "Choose the simulator's directory to see its scenery list.");
  // A list that is no text is shown as such and left alone.
  app.frm.optFS98.setValue(true);
  write(list, std::string("PK\x03\x04\0\0", 6));
  EXPECT_TRUE(titles(app).empty());
  EXPECT_EQ(app.frm.labLibraryNote.caption().rfind(list + " cannot be read as a scenery list: ", 0),
            0u)
      << app.frm.labLibraryNote.caption();
}

// Each button changes only its own lines, is one record named after it, and its uninstall
// brings the list and its backup back byte for byte; after another program's edit since, only
// its own lines go back and the message says so.
TEST_F(SceneryLibraryTest, EachButtonChangesItsOwnLinesAndIsUndoneByteForByte) {
  const struct {
    const char* record;
    std::string after;
    std::function<void(Orvex&)> press;
  } cases[] = {
      {"Disabled Lakeside Field",
       replaced(kList, "Layer=2\r\nActive=TRUE", "Layer=2\r\nActive=FALSE"),
       [](Orvex& app) { pressInLibrary(app, "Lakeside Field", app.frm.cmdLibraryDisable); }},
      {"Enabled Gone Field", replaced(kList, "Active=FALSE", "Active=TRUE"),
       [](Orvex& app) { pressInLibrary(app, "Gone Field", app.frm.cmdLibraryEnable); }},
      {"Enabled Harbor Island", replaced(kList, "Layer\t= 3\r\n", "Layer\t= 3\r\nActive=TRUE\r\n"),
       [](Orvex& app) { pressInLibrary(app, "Harbor Island", app.frm.cmdLibraryEnable); }},
      {"Moved Up Lakeside Field",
       replaced(replaced(kList, "Layer=2", "Layer=3"), "Layer\t= 3", "Layer\t= 2"),
       [](Orvex& app) { pressInLibrary(app, "Lakeside Field", app.frm.cmdLibraryUp); }},
      {"Moved Down Gone Field",
       replaced(replaced(kList, "Layer=4", "Layer=3"), "Layer\t= 3", "Layer\t= 4"),
       [](Orvex& app) { pressInLibrary(app, "Gone Field", app.frm.cmdLibraryDown); }},
      {"Removed Harbor Island",
       replaced(kList,
                "[Area.003]\r\nTitle=Harbor Island\r\nLocal=Scenery\\Harbor\r\nLayer\t= 3\r\n\r\n",
                ""),
       [](Orvex& app) { pressInLibrary(app, "Harbor Island", app.frm.cmdLibraryRemove); }},
      {"Added New Place",
       kList + " \r\n[Area.005]\r\nTitle=New Place\r\nLocal=Scenery\\New Place\r\nActive=TRUE\r\n"
               "Layer=5\r\n",
       [](Orvex& app) { addFolder(app, "C:\\FS98\\Scenery\\New Place"); }},
  };
  for (bool editedSince : {false, true}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.record) + (editedSince ? ", the list edited since" : ""));
      Orvex& app = startWith(kList);
      if (std::string(c.record) == "Added New Place") makeDir("C:\\FS98\\Scenery\\New Place");
      const Files before = snapshot();
      const std::string oldBackup = read(backup);
      c.press(app);
      EXPECT_EQ(read(list), c.after);
      EXPECT_EQ(read(backup), kList);
      EXPECT_EQ(tk_.countCaption("Scenery Library"), 0);
      EXPECT_EQ(app.frm.labLibraryNote.caption().rfind(c.record, 0), 0u)
          << app.frm.labLibraryNote.caption();
      ASSERT_FALSE(installedList(app).rows().empty());
      EXPECT_EQ(installedList(app).rows()[0][1], "scenery list");
      EXPECT_EQ(installedList(app).rows()[0][2], c.record);

      if (editedSince) write(list, replaced(c.after, "Title=FS98 World", "Title=FS98 World 2"));
      tk_.boxes.clear();
      press(app, c.record, app.frm.cmdUninstall);
      ASSERT_FALSE(tk_.boxes.empty());
      EXPECT_EQ(tk_.boxes[0].text, "Uninstall " + std::string(c.record) + "?\r\rIts own lines in " +
                                       "Scenery.cfg will be taken back.");
      EXPECT_EQ(tk_.boxes.back().caption, "Success!");
      if (!editedSince) {
        EXPECT_EQ(snapshot(), before);
      } else {
        EXPECT_EQ(read(list), replaced(kList, "Title=FS98 World", "Title=FS98 World 2"));
        EXPECT_EQ(read(backup), oldBackup);
        EXPECT_NE(tk_.boxes.back().text.find("was changed since, so only its own lines"),
                  std::string::npos)
            << tk_.boxes.back().text;
      }
      EXPECT_TRUE(installedList(app).rows().empty());
      if (HasFailure()) return;
    }
  }
}

TEST_F(SceneryLibraryTest, ARequiredAreaIsNotDisabledAndSaysWhy) {
  Orvex& app = startWith(kList);
  const Files before = snapshot();
  ASSERT_TRUE(pressInLibrary(app, "Default Terrain", app.frm.cmdLibraryDisable));
  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].text,
            "Default Terrain cannot be disabled: its Required=TRUE says that the simulator needs "
            "this area to start.");
  EXPECT_EQ(snapshot(), before);
  EXPECT_TRUE(installedList(app).rows().empty());
}

TEST_F(SceneryLibraryTest, AListChangedOnDiskSinceItWasReadIsNotOverwritten) {
  Orvex& app = startWith(kList);
  EXPECT_EQ(titles(app).size(), 4u);
  const std::string edited = replaced(kList, "Title=Gone Field", "Title=Field Renamed");
  write(list, edited);
  const Files before = snapshot();
  pressInLibrary(app, "Lakeside Field", app.frm.cmdLibraryDisable);
  ASSERT_EQ(tk_.countCaption("Scenery Library"), 1);
  EXPECT_NE(tk_.boxes[0].text.find("has changed on disk since the list was read"),
            std::string::npos);
  EXPECT_EQ(snapshot(), before);
  EXPECT_EQ(row(app, "Field Renamed")[0], "Field Renamed");  // read again
  EXPECT_TRUE(installedList(app).rows().empty());
}

TEST_F(SceneryLibraryTest, MovesTradeLayersWithTheNeighbourOnly) {
  Orvex& app = startWith(replaced(kList, "Layer=4", "Layer=3"));
  const Files before = snapshot();
  // Two areas of one layer have nothing to trade.
  pressInLibrary(app, "Gone Field", app.frm.cmdLibraryUp);
  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_NE(tk_.boxes[0].text.find("have the same layer, 3"), std::string::npos);
  EXPECT_EQ(snapshot(), before);
  // The top area cannot move up, the bottom one not down.
  using V = std::vector<std::string>;
  EXPECT_EQ(titles(app), (V{"Harbor Island", "Gone Field", "Lakeside Field", "Default Terrain"}));
  app.frm.lvwLibrary.setListIndex(0);
  EXPECT_FALSE(app.frm.cmdLibraryUp.enabled());
  EXPECT_TRUE(app.frm.cmdLibraryDown.enabled());
  app.frm.lvwLibrary.setListIndex(3);
  EXPECT_FALSE(app.frm.cmdLibraryDown.enabled());
  EXPECT_TRUE(app.frm.cmdLibraryDisable.enabled());  // required: says why when pressed
  EXPECT_FALSE(app.frm.cmdLibraryEnable.enabled());
  // A move keeps the area chosen, in its new place.
  Orvex& again = startWith(kList);
  pressInLibrary(again, "Lakeside Field", again.frm.cmdLibraryUp);
  V shown;
  for (const auto& r : again.frm.lvwLibrary.rows()) shown.push_back(r[0]);
  EXPECT_EQ(shown, (V{"Gone Field", "Lakeside Field", "Harbor Island", "Default Terrain"}));
  EXPECT_EQ(again.frm.lvwLibrary.listIndex(), 1);
}

// An area that a scenery's install added: Remove Entry offers that install's uninstall instead.
TEST_F(SceneryLibraryTest, RemovingAnAreaOfAnInstallOffersItsUninstall) {
  for (MsgAnswer answer : {MsgAnswer::Cancel, MsgAnswer::No, MsgAnswer::Yes}) {
    SCOPED_TRACE(int(answer));
    Orvex& app = startWith(kList);
    const Files before = snapshot();
    unpack(Kind::Scenery);
    installAsTheUserWould(app, Kind::Scenery);
    ASSERT_EQ(tk_.countCaption("Success!"), 1);
    const std::string installed = read(list);
    EXPECT_EQ(row(app, kSceneryName)[4].rfind(kSceneryName + " (scenery, ", 0), 0u);
    tk_.boxes.clear();
    tk_.answers = {answer};
    pressInLibrary(app, kSceneryName, app.frm.cmdLibraryRemove);
    ASSERT_FALSE(tk_.boxes.empty());
    EXPECT_EQ(tk_.boxes[0].buttons, MsgButtons::YesNoCancel);
    EXPECT_NE(tk_.boxes[0].text.find("was added by the install of " + kSceneryName),
              std::string::npos);
    if (answer == MsgAnswer::Cancel) {
      EXPECT_EQ(read(list), installed);
    }
    if (answer == MsgAnswer::No) {
      // The line that set it apart goes with it.
      EXPECT_EQ(read(list), kList);
      EXPECT_TRUE(exists("C:\\FS98\\Scenery\\" + kSceneryName + "\\Scenery\\alps.bgl"));
      EXPECT_EQ(installedList(app).rows()[0][2], "Removed " + kSceneryName);
    }
    if (answer == MsgAnswer::Yes) {
      EXPECT_EQ(snapshot(), before);
      EXPECT_TRUE(installedList(app).rows().empty());
    }
  }
}

// A list keeps its encoding and its line ends: only the change's own lines differ.
TEST_F(SceneryLibraryTest, ListsOfEveryEncodingAndLineEndKeepTheirBytes) {
  const struct {
    const char* what;
    Encoding encoding;
    const char* end;
    bool lastLineEnded;
  } cases[] = {
      {"8-bit, CR only", Encoding::EightBit, "\r", true},
      {"8-bit, LF, no last line end", Encoding::EightBit, "\n", false},
      {"UTF-16 LE, CR LF", Encoding::Utf16Le, "\r\n", true},
      {"UTF-16 BE, LF", Encoding::Utf16Be, "\n", true},
      {"UTF-8 with its mark, CR LF, no last line end", Encoding::Utf8Mark, "\r\n", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string e = c.end;
    const std::string text = "[General]" + e + "Title=Caf\xe9 World" + e + e + "[Area.001]" + e +
                             "Title=Caf\xe9 Field" + e + "Local=Scenery\\Cafe" + e + "Layer=1" + e +
                             "[Area.002]" + e + "Title=Last" + e + "Local=Scenery\\Last" + e +
                             "Layer=2" + (c.lastLineEnded ? e : "");
    Orvex& app = startWith(encoded(text, c.encoding, true));
    makeDir("C:\\FS98\\Scenery\\Neu");
    const Files before = snapshot();
    ASSERT_TRUE(pressInLibrary(app, "Caf\xc3\xa9 Field", app.frm.cmdLibraryDisable) ||
                pressInLibrary(app, "Caf\xe9 Field", app.frm.cmdLibraryDisable));
    const std::string disabled = replaced(text, "Layer=1" + e, "Layer=1" + e + "Active=FALSE" + e);
    EXPECT_EQ(read(list), encoded(disabled, c.encoding, true));
    ASSERT_TRUE(pressInLibrary(app, "Last", app.frm.cmdLibraryDisable));
    const std::string both =
        disabled + (c.lastLineEnded ? "" : e) + "Active=FALSE" + (c.lastLineEnded ? e : "");
    EXPECT_EQ(read(list), encoded(both, c.encoding, true));
    addFolder(app, "C:\\FS98\\Scenery\\Neu");
    EXPECT_EQ(read(list),
              encoded(both + (c.lastLineEnded ? "" : e) + " " + e + "[Area.003]" + e + "Title=Neu" +
                          e + "Local=Scenery\\Neu" + e + "Active=TRUE" + e + "Layer=3" + e,
                      c.encoding, true));
    EXPECT_EQ(tk_.countCaption("Scenery Library"), 0);
    // Taken back oldest first: each by its meaning, as the list changed after it.
    for (const char* name :
         {"Disabled Caf\xc3\xa9 Field", "Disabled Caf\xe9 Field", "Disabled Last", "Added Neu"}) {
      const auto& rows = installedList(app).rows();
      if (std::any_of(rows.begin(), rows.end(), [&](const auto& r) { return r[2] == name; }))
        press(app, name, app.frm.cmdUninstall);
    }
    EXPECT_EQ(read(list), before.at("FS98/Scenery.cfg"));
    EXPECT_TRUE(installedList(app).rows().empty());
    if (HasFailure()) return;
  }
}

TEST_F(SceneryLibraryTest, AddFolderRefusesAFolderListedAlreadyAndCancelAddsNothing) {
  Orvex& app = startWith(kList);
  const Files before = snapshot();
  addFolder(app, "C:\\FS98\\Scenery\\Lakeside");
  ASSERT_EQ(tk_.countCaption("Scenery Library"), 1);
  EXPECT_EQ(tk_.boxes[0].text,
            "C:\\FS98\\Scenery\\Lakeside is in the list already, as Lakeside Field.");
  app.frm.cmdLibraryAddFolder.click();
  EXPECT_FALSE(app.frm.cmdLibraryRemove.enabled());
  app.frm.cmdLibraryFolderCancel.click();
  EXPECT_FALSE(app.frm.frmLibraryFolder.visible());
  EXPECT_EQ(snapshot(), before);
  // Outside the simulator's folder the area names its folder in full.
  makeDir("C:\\Elsewhere\\Far");
  addFolder(app, "C:\\Elsewhere\\Far");
  EXPECT_NE(read(list).find("\r\nTitle=Far\r\nLocal=C:\\Elsewhere\\Far\r\n"), std::string::npos);
}

TEST_F(SceneryLibraryTest, AProtectedListIsLeftAsItIsWithAMessage) {
  Orvex& app = startWith(kList);
  stdfs::permissions(host(list), stdfs::perms::owner_read);
  const Files before = snapshot();
  pressInLibrary(app, "Lakeside Field", app.frm.cmdLibraryDisable);
  ASSERT_EQ(tk_.countCaption("Scenery Library"), 1);
  EXPECT_EQ(tk_.boxes[0].text, list + " is read-only, so it was not changed.");
  EXPECT_EQ(snapshot(), before);
  EXPECT_TRUE(installedList(app).rows().empty());
}

// Real lists: every area read, and a change of each kind taken back by its meaning alone gives
// the same bytes.
TEST(SceneryListTextTest, RealListsAreReadWholeAndEveryChangeTakesBack) {
  const struct {
    const char* file;
    size_t areas;
  } files[] = {{"scenery/scenery_crlf.cfg", 3},
               {"real:scenery/fsx_acceleration_default_scenery.cfg", 120},
               {"real:scenery/fsx_localised_ids_scenery.cfg", 124}};
  for (const auto& f : files) {
    if (!fixtureAvailable(f.file)) {
      std::cout << "[ skipped    ] " << f.file << ": not beside the project\n";
      continue;
    }
    SCOPED_TRACE(f.file);
    const std::string text = fixtureText(f.file);
    const SceneryList list(text);
    ASSERT_EQ(list.areas.size(), f.areas);
    const size_t last = list.areas.size() - 1;
    for (const ListChange& change :
         {setActive(list, 0, false), setActive(list, last, false), exchangeLayers(list, 0, last),
          removeArea(list, 1), removeArea(list, last),
          addArea(list, " \r\n[Area.999]\r\nTitle=New\r\nLocal=New\r\n", "")}) {
      EXPECT_TRUE(change.text != text);
      std::string back = change.text;
      EXPECT_TRUE(takeBack(back, change.edits));
      EXPECT_TRUE(back == text) << describeEdits(change.edits);
    }
  }
}

}  // namespace
}  // namespace orvex::test

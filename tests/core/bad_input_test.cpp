// Bad input of every kind (binary garbage, a 50 MB line, nothing but quotes, a name of 300
// characters, bytes that are no UTF-8) as the settings file, Aircraft.cfg, panel.cfg and
// Scenery.cfg, and odd names among the files of the assembly area. Each gets a short, clear
// message or a sound result; nothing crashes, hangs, or harms the simulator or the settings.
#include <filesystem>
#include <fstream>

#include "support/sandbox.h"

namespace orvex::test {
namespace {

namespace stdfs = std::filesystem;

const std::string kAsm = "C:\\Orvex\\Assembly\\";
const std::string kSettings = "\"C:\\FS98\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"FS98\"\r\n1\r\n";
// Longer than any path a message names: a message is read, not scrolled.
constexpr size_t kReadableMessage = 2000;

struct BadContent {
  std::string what;
  std::string bytes;
};

// The bad contents of a configuration file whose items of interest begin with key.
std::vector<BadContent> badContents(const std::string& key, const std::string& suffix = "") {
  std::string garbage(64 * 1024, '\0');
  uint32_t seed = 7;
  for (char& c : garbage) {
    seed = seed * 1103515245u + 12345u;
    c = char(seed >> 23);
  }
  return {
      {"binary garbage", garbage + "\r\n" + key + garbage.substr(0, 999) + suffix},
      {"a 50 MB line", key + std::string(50 * 1024 * 1024, 'A') + suffix},
      {"only quotes", std::string(100000, '"')},
      {"a name of 300 characters", key + std::string(300, 'N') + suffix + "\r\n"},
      {"names that are not UTF-8", key + "Caf\xe9 \xff\xfe\xc3\x28" + suffix + "\r\n"},
  };
}

class BadInput : public Sandbox {
 protected:
  Orvex& startFS98(const std::string& settings = kSettings) {
    makeSimulator("C:\\FS98", "Fltsim98.cfg");
    write("C:\\Orvex\\FileCopy.avi", "RIFF");
    write("C:\\Orvex\\Orvex.cfg", settings);
    return start();
  }

  // No message box too long to read, the program still running and ready for the next event.
  void expectSoundState(Orvex& app) {
    for (const ShownBox& box : tk_.boxes)
      EXPECT_LE(box.text.size(), kReadableMessage)
          << box.caption << ": " << box.text.substr(0, 200);
    EXPECT_FALSE(app.ended());
    EXPECT_FALSE(app.busy());
    EXPECT_FALSE(app.anim.visible());
    EXPECT_EQ(app.frm.mousePointer(), MousePointer::Default);
    EXPECT_TRUE(exists("C:\\FS98\\Fltsim98.cfg"));
  }

  // Every file under a folder of the sandbox, as host paths relative to it.
  std::vector<std::string> filesUnder(const std::string& dosPath) const {
    std::vector<std::string> out;
    for (auto& e : stdfs::recursive_directory_iterator(host(dosPath)))
      if (e.is_regular_file()) out.push_back(stdfs::relative(e.path(), host(dosPath)).string());
    std::sort(out.begin(), out.end());
    return out;
  }

  void fresh() {
    TearDown();
    tk_ = FakeToolkit();
    SetUp();
  }
};

TEST_F(BadInput, SettingsFileIsReadAsFarAsItGoesAndWrittenBackWhole) {
  std::vector<BadContent> contents = badContents("\"", "\"\r\n\"\"\r\n");
  // Found by the fuzzer: a value with a double quote inside was written back between quotes
  // and then read back cut short.
  contents.push_back({"a double quote inside a value", {'\0', '1', '"', 'O', '\xb7', '\n', '"'}});
  for (const BadContent& bad : contents) {
    SCOPED_TRACE(bad.what);
    fresh();
    Orvex& app = startFS98(bad.bytes);
    expectSoundState(app);
    EXPECT_LE(tk_.countCaption("Orvex Load Error"), 1);
    // Nothing longer than a path is taken for one (a label showing it would never be read).
    for (const std::string* value : {&app.state.FS98Path, &app.state.FS2000Path, &app.state.CFSPath,
                                     &app.state.CFS2Path, &app.state.ZipPath, &app.state.FlightSim})
      EXPECT_LE(value->size(), 4096u);
    app.cmdQuit_Click();

    // What the program wrote reads back with no complaint, and is written alike again.
    const std::string written = read("C:\\Orvex\\Orvex.cfg");
    tk_ = FakeToolkit();
    Orvex& again = start();
    EXPECT_EQ(tk_.countCaption("Orvex Load Error"), 0);
    again.cmdQuit_Click();
    EXPECT_EQ(read("C:\\Orvex\\Orvex.cfg"), written);
  }
}

TEST_F(BadInput, AFolderWhosePathHoldsADoubleQuoteIsNotTakenIntoTheSettings) {
  makeSimulator("C:\\My \"Sims\"", "Fltsim98.cfg");
  Orvex& app = startFS98();
  tk_.boxes.clear();
  app.frm.cmdSetDirectories.click();
  app.frm.Dir1.setPath("C:\\My \"Sims\"");
  app.frm.cmdSelect.click();
  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].text,
            "The folder C:\\My \"Sims\" cannot be kept in the settings:\rits path holds a double "
            "quote (\").");
  EXPECT_EQ(app.state.FS98Path, "C:\\FS98");
  EXPECT_EQ(read("C:\\Orvex\\Orvex.cfg"), kSettings);
  // The browser stays open for another choice.
  EXPECT_TRUE(app.frm.frmDirectories.visible());
}

TEST_F(BadInput, AircraftTitleTooLongForAFolderIsRefusedAtRefresh) {
  Orvex& app = startFS98();
  write(kAsm + "Aircraft.cfg", "title=" + std::string(256, 'T') + "\r\n");
  for (const char* f : {"Model.cfg", "Panel.cfg", "sound.cfg"}) write(kAsm + f, f);
  tk_.boxes.clear();
  app.frm.cmdRefresh.click();
  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].caption, "Aircraft.cfg Error");
  EXPECT_EQ(tk_.boxes[0].text,
            "The title in Aircraft.cfg is too long for the name of the aircraft folder (256 "
            "characters, at most 255).\r\rNothing to load...");
  EXPECT_FALSE(app.frm.cmdInstall.visible());
  EXPECT_TRUE(app.frm.cmdCancelLoad.visible());
  EXPECT_EQ(names("C:\\Orvex\\Assembly").size(), 4u);

  // 255 characters make a folder.
  write(kAsm + "Aircraft.cfg", "title=" + std::string(255, 'T') + "\r\n");
  app.frm.cmdRefresh.click();
  ASSERT_TRUE(app.frm.cmdInstall.visible());
  app.frm.cmdInstall.click();
  EXPECT_TRUE(exists("C:\\FS98\\Aircraft\\" + std::string(255, 'T') + "\\Aircraft.cfg"));
}

TEST_F(BadInput, AircraftCfgIsRefusedOrInstalledInsideTheAircraftFolder) {
  for (const BadContent& bad : badContents("title=")) {
    SCOPED_TRACE(bad.what);
    fresh();
    Orvex& app = startFS98();
    write(kAsm + "Aircraft.cfg", bad.bytes);
    for (const char* f : {"Model.cfg", "Panel.cfg", "sound.cfg", "plane.mdl", "skin.bmp"})
      write(kAsm + f, f);
    app.frm.cmdRefresh.click();
    if (app.frm.cmdInstall.visible()) {
      EXPECT_LE(app.frm.cmdInstall.caption().size(), kReadableMessage);
      app.frm.cmdInstall.click();
    }
    expectSoundState(app);
    // Whatever the title, nothing lands outside the simulator's Aircraft and Gauges folders.
    for (const std::string& f : filesUnder("C:\\FS98"))
      EXPECT_TRUE(f == "Fltsim98.cfg" || f.rfind("Aircraft/", 0) == 0) << f;
    // A title installed to is a folder of its own, directly in Aircraft.
    for (auto& e : stdfs::directory_iterator(host("C:\\FS98\\Aircraft")))
      EXPECT_TRUE(e.is_directory()) << e.path();
  }
}

TEST_F(BadInput, PanelCfgGivesThePanelItsFilesOrAMessage) {
  for (const BadContent& bad : badContents("file=", ".bmp")) {
    SCOPED_TRACE(bad.what);
    fresh();
    Orvex& app = startFS98();
    makeDir("C:\\FS98\\Aircraft\\FSFSCONV");
    write(kAsm + "panel.cfg", bad.bytes);
    write(kAsm + "panel.bmp", "panel");
    write(kAsm + "Main.gau", "gauge");
    app.frm.cmdRefresh.click();
    ASSERT_TRUE(app.frm.frmPanelInstall.visible());
    app.frm.optFSCONV.setValue(true);
    app.frm.txtPanelName.setText("Odd");
    app.frm.cmdPanelInstall.click();
    expectSoundState(app);
    EXPECT_EQ(tk_.countCaption("Success!"), 1);
    // The configuration file always goes with the panel; the bitmap it does not name goes to
    // the panel's documents.
    EXPECT_EQ(read("C:\\FS98\\Aircraft\\FSFSCONV\\Panel.Odd\\panel.cfg"), bad.bytes);
    EXPECT_EQ(read("C:\\FS98\\Aircraft\\FSFSCONV\\Panel.Odd\\PanelDocs\\panel.bmp"), "panel");
    EXPECT_EQ(read("C:\\FS98\\Gauges\\Main.gau"), "gauge");
  }
}

TEST_F(BadInput, SceneryCfgGetsOneWholeEntryOrStaysAsItWas) {
  for (const BadContent& bad : badContents("Layer=")) {
    SCOPED_TRACE(bad.what);
    fresh();
    Orvex& app = startFS98();
    write("C:\\FS98\\Scenery.cfg", bad.bytes);
    write(kAsm + "alps.bgl", "alps");
    app.frm.cmdRefresh.click();
    app.frm.txtSceneryName.setText("Alps");
    app.frm.optSceneryDefault.setValue(true);
    app.frm.Command1.click();
    expectSoundState(app);
    if (bad.bytes.find('\0') != std::string::npos) {
      // No text: refused before anything is installed.
      EXPECT_EQ(tk_.countCaption("Scenery List"), 1);
      EXPECT_TRUE(read("C:\\FS98\\Scenery.cfg") == bad.bytes);
      EXPECT_FALSE(exists("C:\\FS98\\Scenery\\Alps"));
      EXPECT_TRUE(exists(kAsm + "alps.bgl"));
      EXPECT_FALSE(exists("C:\\FS98\\SceneryCfg.bku"));
      continue;
    }
    EXPECT_EQ(read("C:\\FS98\\Scenery\\Alps\\Scenery\\alps.bgl"), "alps");
    const std::string list = read("C:\\FS98\\Scenery.cfg");
    ASSERT_EQ(list.substr(0, bad.bytes.size()), bad.bytes);
    const std::string added = list.substr(bad.bytes.size());
    if (added.empty()) {
      // Not registered: the user is told.
      EXPECT_GE(tk_.countCaption("Scenery List"), 1);
    } else {
      // A last line without a line end gets one before the entry.
      const std::string lead = bad.bytes.ends_with('\n') ? "" : "\r\n";
      EXPECT_EQ(added.rfind(lead + " \r\n[Area.", 0), 0u) << added;
      EXPECT_NE(
          added.find("\r\nTitle=Alps\r\nLocal=SCENERY\\Alps\\Scenery\r\nActive=TRUE\r\nLayer="),
          std::string::npos)
          << added;
    }
    EXPECT_TRUE(read("C:\\FS98\\SceneryCfg.bku") == bad.bytes);
  }
}

TEST_F(BadInput, OddFileNamesInTheAssemblyAreaAreMovedUnchangedOrLeftThere) {
  Orvex& app = startFS98();
  const std::vector<std::string> odd = {
      std::string(251, 'L') + ".bmp",  // the longest name the host's file systems hold
      "Caf\xe9.txt",                   // Latin-1, not UTF-8
      "\xff\xfe\xc3\x28.wav",          // no text encoding at all
      "tab\tand\x01control.doc",
      "line\nbreak.jpg",
      " leading and trailing blanks .xyz",
      "back\\slash.bmp",  // no DOS path can name it: it stays where it is
  };
  write(kAsm + "Aircraft.cfg",
        "[fltsim.0]\r\ntitle=Odd Names\r\nmodel=\r\npanel=\r\nsound=\r\ntexture=\r\n");
  for (const char* f : {"Model.cfg", "Panel.cfg", "sound.cfg"}) write(kAsm + f, f);
  for (const std::string& name : odd) {
    std::ofstream(root_ + "/Orvex/Assembly/" + name, std::ios::binary) << name;
  }
  app.frm.cmdRefresh.click();
  ASSERT_TRUE(app.frm.cmdInstall.visible());
  app.frm.cmdInstall.click();
  expectSoundState(app);
  EXPECT_EQ(tk_.countCaption("Success!"), 1);

  const std::string plane = root_ + "/FS98/Aircraft/Odd Names/";
  auto holds = [](const std::string& hostPath, const std::string& bytes) {
    std::ifstream in(hostPath, std::ios::binary);
    return in && std::string(std::istreambuf_iterator<char>(in), {}) == bytes;
  };
  EXPECT_TRUE(holds(plane + "Texture/" + odd[0], odd[0]));
  EXPECT_TRUE(holds(plane + "Documentation/" + odd[1], odd[1]));
  EXPECT_TRUE(holds(plane + "Sound/" + odd[2], odd[2]));
  EXPECT_TRUE(holds(plane + "Documentation/" + odd[3], odd[3]));
  EXPECT_TRUE(holds(plane + "Image/" + odd[4], odd[4]));
  EXPECT_TRUE(holds(plane + "Unknown/" + odd[5], odd[5]));
  EXPECT_TRUE(holds(root_ + "/Orvex/Assembly/" + odd[6], odd[6]));
  EXPECT_EQ(names("C:\\Orvex\\Assembly"), std::vector<std::string>{odd[6]});
}

}  // namespace
}  // namespace orvex::test

// The panel frame's target choice and the panel install, on real folders.
#include <algorithm>
#include <filesystem>

#include "support/fixtures.h"
#include "support/sandbox.h"

namespace orvex::test {
namespace {

using Names = std::vector<std::string>;

const char* const kAssembly = "C:\\Orvex\\Assembly";
const char* const kFsconv = "C:\\FS98\\Aircraft\\FSFSCONV";

class PanelTest : public Sandbox {
 protected:
  // FS98 at C:\FS98 with its FSFSCONV folder, and a panel waiting in the assembly area.
  Orvex& startWithPanel(bool fsconvFolder = true) {
    makeSimulator("C:\\FS98", "Fltsim98.cfg");
    if (fsconvFolder) makeDir(kFsconv);
    write("C:\\Orvex\\FileCopy.avi", "RIFF");
    write("C:\\Orvex\\Orvex.cfg",
          "\"C:\\FS98\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"FS98\"\r\n1\r\n");
    Orvex& app = start();
    app.state.PanelData = 1;
    app.frm.SSTab1.setTab(1);
    app.frm.frmPanelInstall.setVisible(true);
    tk_.beeps = 0;
    tk_.boxes.clear();
    return app;
  }

  void addFile(const std::string& name, const std::string& content = "x") {
    write(std::string(kAssembly) + "\\" + name, content);
  }

  // A panel with two named bitmaps, one stray bitmap, a gauge, a sound and two documents.
  void addPanel(const std::string& tag = "new") {
    addFile("panel.cfg",
            "[Window00]\r\nfile=panel.bmp\r\nfile_1024=panel_1024.bmp\r\ngauge00=Main!ASI\r\n");
    addFile("panel.bmp", tag);
    addFile("panel_1024.bmp", tag);
    addFile("spare.bmp", tag);
    addFile("Main.gau", tag);
    addFile("Click.wav", tag);
    addFile("readme.txt", tag);
    addFile("Notes.doc", tag);
  }

  // onDisk: the folder as spelt on disk, when T differs from it in case only.
  void expectInstalledInto(Orvex& app, const std::string& t, std::string onDisk = "") {
    if (onDisk.empty()) onDisk = t;
    EXPECT_EQ(names(onDisk), (Names{"PanelDocs", "panel.bmp", "panel.cfg", "panel_1024.bmp"}));
    EXPECT_EQ(names(onDisk + "\\PanelDocs"), (Names{"Notes.doc", "readme.txt", "spare.bmp"}));
    EXPECT_EQ(names("C:\\FS98\\Gauges"), Names{"Main.gau"});
    EXPECT_EQ(names("C:\\FS98\\Sound"), Names{"Click.wav"});
    EXPECT_TRUE(names(kAssembly).empty());
    ASSERT_FALSE(tk_.boxes.empty());
    EXPECT_EQ(tk_.boxes.back().text, "Panel Files Installed Successfully!");
    ASSERT_FALSE(tk_.boxes.empty());
    EXPECT_EQ(tk_.boxes.back().caption, "Success!");
    EXPECT_EQ(tk_.boxes.back().icon, MsgIcon::Information);
    EXPECT_EQ(app.state.PanelData, 0);
    EXPECT_EQ(app.state.PatternList, "");
    EXPECT_EQ(app.state.AircraftName, t);
    EXPECT_FALSE(app.frm.frmPanelInstall.visible());
    EXPECT_EQ(app.frm.SSTab1.tab(), 0);
    EXPECT_EQ(app.frm.txtPanelName.text(), "");
    EXPECT_FALSE(app.anim.visible());
    EXPECT_EQ(app.frm.mousePointer(), MousePointer::Default);
    EXPECT_FALSE(app.busy());
  }

  // Nothing moved: the panel still waits, and the frame is as the user left it.
  void expectUntouched(Orvex& app) {
    EXPECT_EQ(names(kAssembly).size(), 8u);
    EXPECT_TRUE(names("C:\\FS98\\Gauges").empty());
    EXPECT_EQ(app.state.PanelData, 1);
    EXPECT_TRUE(app.frm.frmPanelInstall.visible());
    EXPECT_FALSE(app.anim.visible());
    EXPECT_FALSE(app.ended());
    EXPECT_EQ(tk_.quits, 0);
  }
};

TEST_F(PanelTest, FsconvOptionAndTheInstallToLine) {
  Orvex& app = startWithPanel();
  app.frm.txtPanelName.setText("left over");
  app.frm.optFSCONV.setValue(true);
  EXPECT_EQ(app.frm.txtPanelName.text(), "");
  EXPECT_TRUE(app.frm.txtPanelName.visible());
  EXPECT_TRUE(app.frm.txtPanelName.hasFocus());
  EXPECT_TRUE(app.frm.labPanelName.visible());
  EXPECT_TRUE(app.frm.labDisplayPath.visible());
  EXPECT_FALSE(app.frm.Dir2.visible());
  EXPECT_FALSE(app.frm.Drive2.visible());
  app.frm.txtPanelName.setText("X");
  // No blank after the drive root; a blank before and after the "\" behind Aircraft.
  EXPECT_EQ(app.frm.labDisplayPath.caption(),
            "Install to: C:\\FS98\\ Aircraft \\ FSFSCONV\\ Panel.X");

  // FSim is taken from the selected simulator option on every change.
  app.state.FS98Path = "C:\\Program Files\\FS98";
  app.frm.txtPanelName.setText("Mine");
  EXPECT_EQ(app.state.FSim, "C:\\Program Files\\FS98");
  EXPECT_EQ(app.frm.labDisplayPath.caption(),
            "Install to: C:\\Program Files\\ FS98\\ Aircraft \\ FSFSCONV\\ Panel.Mine");
}

TEST_F(PanelTest, ExistingFolderAndLetMeDecideLists) {
  Orvex& app = startWithPanel();
  makeDir("C:\\FS98\\Aircraft\\Cessna\\Panel");
  app.frm.optFSCONV.setValue(true);
  app.frm.txtPanelName.setText("Mine");
  app.frm.optMyChoice.setValue(true);
  EXPECT_EQ(app.frm.Drive2.top(), 1020);
  EXPECT_EQ(app.frm.Dir2.top(), 1380);
  EXPECT_TRUE(app.frm.Dir2.visible());
  EXPECT_TRUE(app.frm.Drive2.visible());
  EXPECT_EQ(app.frm.Dir2.path(), "C:\\FS98\\Aircraft");
  EXPECT_EQ(app.frm.Drive2.drive(), "c:");
  EXPECT_FALSE(app.frm.txtPanelName.visible());
  EXPECT_FALSE(app.frm.labPanelName.visible());
  EXPECT_FALSE(app.frm.labDisplayPath.visible());
  app.frm.Dir2.setPath("C:\\FS98\\Aircraft\\Cessna");
  EXPECT_EQ(app.frm.txtPanelName.text(), "Mine");

  // Let me Decide: 360 twips lower, and the name box follows the browsed folder.
  app.frm.optPanelLetMe.setValue(true);
  EXPECT_EQ(app.frm.Drive2.top(), 1380);
  EXPECT_EQ(app.frm.Dir2.top(), 1740);
  EXPECT_EQ(app.frm.txtPanelName.text(), "C:\\FS98");
  EXPECT_EQ(app.frm.txtPanelName.selStart(), 7);
  EXPECT_TRUE(app.frm.txtPanelName.hasFocus());
  EXPECT_TRUE(app.frm.labPanelName.visible());
  EXPECT_FALSE(app.frm.labDisplayPath.visible());
  app.frm.Dir2.setPath("C:\\FS98\\Aircraft\\Cessna");
  EXPECT_EQ(app.frm.txtPanelName.text(), "C:\\FS98\\Aircraft\\Cessna");
  EXPECT_EQ(app.frm.txtPanelName.selStart(), 23);

  // A drive that cannot be shown: a warning, and both lists stay where they were.
  app.frm.Drive2.setDrive("q:");
  EXPECT_EQ(tk_.countCaption("Folder Not Found"), 1);
  EXPECT_EQ(app.frm.Dir2.path(), "C:\\FS98\\Aircraft\\Cessna");
  EXPECT_EQ(app.frm.Drive2.drive(), "c:");
}

TEST_F(PanelTest, SimulatorWithoutAircraftFolderWarnsAndInstallsNothing) {
  Orvex& app = startWithPanel();
  addPanel();
  // The program's own folder has a sub-folder that a search there would take for a panel.
  makeDir("C:\\Orvex\\Panels");
  makeDir("C:\\Panel");
  app.state.FSim = app.state.FS98Path = "C:\\Orvex";
  app.frm.optMyChoice.setValue(true);
  EXPECT_EQ(tk_.countCaption("Folder Not Found"), 1);
  EXPECT_TRUE(app.frm.Dir2.visible());
  EXPECT_EQ(app.frm.Dir2.path(), "");
  // The list never got a folder: there is no panel folder to install into.
  app.frm.cmdPanelInstall.click();
  ASSERT_EQ(tk_.countCaption("Panel Error"), 1);
  EXPECT_EQ(tk_.boxes.back().text, "We're not in a Panel Directory!");
  EXPECT_TRUE(names("C:\\Panel").empty());
  expectUntouched(app);
}

TEST_F(PanelTest, CancelEmptiesTheAssemblyButKeepsTheChoice) {
  Orvex& app = startWithPanel();
  addPanel();
  write("C:\\Orvex\\Assembly\\Panel\\inner.bmp");
  app.frm.optFSCONV.setValue(true);
  app.frm.txtPanelName.setText("Mine");
  app.frm.cmdPanelCancel.click();
  EXPECT_TRUE(names(kAssembly).empty());
  EXPECT_EQ(app.state.PanelData, 1);
  EXPECT_TRUE(app.frm.optFSCONV.value());
  EXPECT_FALSE(app.frm.frmPanelInstall.visible());
  EXPECT_EQ(app.frm.SSTab1.tab(), 0);
  EXPECT_EQ(app.frm.txtPanelName.text(), "");
  EXPECT_EQ(app.frm.mousePointer(), MousePointer::Default);
}

TEST_F(PanelTest, FsconvInstallSortsEveryFileAndAsksBeforeReusingTheFolder) {
  Orvex& app = startWithPanel();
  addPanel("first");
  app.frm.optFSCONV.setValue(true);
  app.frm.txtPanelName.setText("MyPanel");
  // Clicks during the copy window's pause are refused while the install runs.
  tk_.onEvents = [&] { app.frm.cmdPanelCancel.click(); };
  app.frm.cmdPanelInstall.click();
  tk_.onEvents = nullptr;
  EXPECT_GT(tk_.beeps, 0);
  const std::string t = std::string(kFsconv) + "\\Panel.MyPanel";
  expectInstalledInto(app, t);
  EXPECT_EQ(tk_.boxes.size(), 1u);  // the second document found PanelDocs without a question
  EXPECT_TRUE(app.frm.optFSCONV.value());

  // The same name again: No leaves everything as it was.
  app.state.PanelData = 1;
  app.frm.frmPanelInstall.setVisible(true);
  addPanel("second");
  tk_.boxes.clear();
  tk_.beeps = 0;
  app.frm.txtPanelName.setText("MyPanel");
  tk_.answers = {MsgAnswer::No};
  app.frm.cmdPanelInstall.click();
  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].text, t + " Exists!  Overwrite?");
  EXPECT_EQ(tk_.boxes[0].caption, "Panel Error");
  EXPECT_EQ(tk_.boxes[0].icon, MsgIcon::None);
  EXPECT_EQ(tk_.boxes[0].buttons, MsgButtons::YesNo);
  EXPECT_EQ(tk_.beeps, 1);
  EXPECT_EQ(read(t + "\\panel.bmp"), "first");
  EXPECT_EQ(read(std::string(kAssembly) + "\\panel.bmp"), "second");
  EXPECT_EQ(app.frm.txtPanelName.text(), "MyPanel");

  // Yes installs into the existing folder, replacing files of the same name.
  tk_.answers = {MsgAnswer::Yes};
  app.frm.cmdPanelInstall.click();
  EXPECT_EQ(read(t + "\\panel.bmp"), "second");
  EXPECT_EQ(read(t + "\\PanelDocs\\readme.txt"), "second");
  EXPECT_EQ(read("C:\\FS98\\Gauges\\Main.gau"), "second");
  EXPECT_TRUE(names(kAssembly).empty());
  EXPECT_EQ(app.state.PanelData, 0);
}

TEST_F(PanelTest, FsconvNamesThatAreRefused) {
  Orvex& app = startWithPanel();
  addPanel();
  app.frm.optFSCONV.setValue(true);
  app.frm.cmdPanelInstall.click();  // empty name: a beep and the focus, no message
  EXPECT_EQ(tk_.beeps, 1);
  EXPECT_TRUE(tk_.boxes.empty());
  EXPECT_TRUE(app.frm.txtPanelName.hasFocus());

  for (const char* bad :
       {"a\\b", "a/b", "c:x", "a*", "a?", "a\"b", "a<b", "a>b", "a|b", "..", "x..y", "   "}) {
    tk_.boxes.clear();
    app.frm.txtPanelName.setText(bad);
    app.frm.cmdPanelInstall.click();
    ASSERT_EQ(tk_.boxes.size(), 1u) << bad;
    EXPECT_EQ(tk_.boxes[0].caption, "Panel Name") << bad;
    EXPECT_NE(tk_.boxes[0].text.find("cannot be the name of a panel folder"), std::string::npos);
  }
  EXPECT_TRUE(names(kFsconv).empty());
  EXPECT_TRUE(names("C:\\FS98\\Aircraft") == Names{"FSFSCONV"});
  expectUntouched(app);

  // Blanks inside a name are fine.
  app.frm.txtPanelName.setText("My Panel 2");
  app.frm.cmdPanelInstall.click();
  expectInstalledInto(app, std::string(kFsconv) + "\\Panel.My Panel 2");
}

TEST_F(PanelTest, FailuresAreReportedAndTheProgramGoesOn) {
  Orvex& app = startWithPanel(false);
  addPanel();
  app.frm.optFSCONV.setValue(true);
  app.frm.txtPanelName.setText("Mine");
  app.frm.cmdPanelInstall.click();
  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].text,
            "Error  76 Path not found\rC:\\FS98\\Aircraft\\FSFSCONV\\Panel.Mine");
  EXPECT_EQ(tk_.boxes[0].caption, "Install Panel Error");
  EXPECT_EQ(tk_.boxes[0].icon, MsgIcon::Critical);
  expectUntouched(app);
  EXPECT_FALSE(exists("C:\\Orvex\\Assembly\\Orvex.cfg"));  // no shutdown ran

  // Without panel.cfg: the folder is made, nothing is copied, the files wait.
  makeDir(kFsconv);
  write(std::string(kAssembly) + "\\panel.cfg.txt");
  std::filesystem::remove(host(std::string(kAssembly) + "\\panel.cfg"));
  tk_.boxes.clear();
  app.frm.cmdPanelInstall.click();
  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].text, "Error  53 File not found\rC:\\Orvex\\Assembly\\panel.cfg");
  expectUntouched(app);
  EXPECT_TRUE(names(std::string(kFsconv) + "\\Panel.Mine").empty());

  // The window is still usable: with the file back, Yes reuses the folder made above.
  addFile("panel.cfg", "file=panel.bmp\r\nfile_1024=panel_1024.bmp\r\n");
  std::filesystem::remove(host(std::string(kAssembly) + "\\panel.cfg.txt"));
  tk_.boxes.clear();
  app.frm.cmdPanelInstall.click();
  expectInstalledInto(app, std::string(kFsconv) + "\\Panel.Mine");
}

TEST_F(PanelTest, InstallWithoutATargetOrWithoutASimulator) {
  Orvex& app = startWithPanel();
  addPanel();
  app.frm.cmdPanelInstall.click();  // no option chosen yet
  EXPECT_EQ(tk_.beeps, 1);
  EXPECT_TRUE(tk_.boxes.empty());

  app.frm.optFSCONV.setValue(true);
  app.frm.txtPanelName.setText("Mine");
  app.state.FSim = "SELECT FS98 Directory";
  app.frm.cmdPanelInstall.click();
  EXPECT_EQ(tk_.beeps, 1);
  EXPECT_TRUE(tk_.boxes.empty());
  expectUntouched(app);
}

TEST_F(PanelTest, ExistingPanelFolderSearch) {
  Orvex& app = startWithPanel();
  for (const char* d : {"model", "panel", "sound"})
    makeDir(std::string("C:\\FS98\\Aircraft\\Cessna\\") + d);
  makeDir("C:\\FS98\\Aircraft\\Glider\\model");
  makeDir("C:\\FS98\\Aircraft\\Piper\\PANEL\\Inner");
  makeDir("C:\\FS98\\Aircraft\\Beech\\panel.1");
  app.frm.optMyChoice.setValue(true);

  // No sub-folder names a panel.
  addPanel();
  app.frm.Dir2.setPath("C:\\FS98\\Aircraft\\Glider");
  app.frm.cmdPanelInstall.click();
  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].text, "We're not in a Panel Directory!");
  EXPECT_EQ(tk_.boxes[0].caption, "Panel Error");
  EXPECT_EQ(tk_.boxes[0].icon, MsgIcon::Warning);
  EXPECT_EQ(names("C:\\FS98\\Aircraft\\Glider"), Names{"model"});
  expectUntouched(app);

  // The aircraft folder: its "panel" sub-folder takes the panel.
  app.frm.Dir2.setPath("C:\\FS98\\Aircraft\\Cessna");
  app.frm.cmdPanelInstall.click();
  expectInstalledInto(app, "C:\\FS98\\Aircraft\\Cessna\\Panel",
                      "C:\\FS98\\Aircraft\\Cessna\\panel");

  // A path that names a panel in any case is the target itself.
  addPanel();
  tk_.boxes.clear();
  app.frm.Dir2.setPath("C:\\FS98\\Aircraft\\Piper\\PANEL");
  app.frm.cmdPanelInstall.click();
  EXPECT_EQ(names("C:\\FS98\\Aircraft\\Piper\\PANEL"),
            (Names{"Inner", "PanelDocs", "panel.bmp", "panel.cfg", "panel_1024.bmp"}));

  // Only "panel.1": the "Panel" folder it points to is missing, which is reported.
  addPanel();
  tk_.boxes.clear();
  app.state.PanelData = 1;
  app.frm.frmPanelInstall.setVisible(true);
  app.frm.Dir2.setPath("C:\\FS98\\Aircraft\\Beech");
  app.frm.cmdPanelInstall.click();
  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].caption, "Install Panel Error");
  EXPECT_EQ(tk_.boxes[0].text,
            "Error  76 Path not found\rC:\\FS98\\Aircraft\\Beech\\Panel\\panel.bmp");
  EXPECT_EQ(names("C:\\FS98\\Aircraft\\Beech"), Names{"panel.1"});
  EXPECT_EQ(names(kAssembly).size(), 8u);
}

TEST_F(PanelTest, LetMeDecideMakesTheTypedFolder) {
  Orvex& app = startWithPanel();
  makeDir("C:\\FS98\\Aircraft\\Cessna");
  addPanel();
  app.frm.optPanelLetMe.setValue(true);
  app.frm.txtPanelName.setText("");
  app.frm.cmdPanelInstall.click();
  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].text, "Please Enter a Name for this Panel Files");
  EXPECT_EQ(tk_.boxes[0].caption, "Panel Name");
  EXPECT_TRUE(app.frm.txtPanelName.hasFocus());

  // Refused before anything is made: blanks only, wildcards, the assembly area itself.
  for (const char* bad : {"  ", "C:\\FS98\\Air*", "C:\\FS98\\a:b", "c:\\orvex\\ASSEMBLY\\"}) {
    tk_.boxes.clear();
    app.frm.txtPanelName.setText(bad);
    app.frm.cmdPanelInstall.click();
    ASSERT_EQ(tk_.boxes.size(), 1u) << bad;
    EXPECT_EQ(tk_.boxes[0].icon, MsgIcon::Warning) << bad;
  }
  expectUntouched(app);

  // A missing parent folder.
  tk_.boxes.clear();
  app.frm.txtPanelName.setText("C:\\FS98\\Aircraft\\Nowhere\\Panel.Mine");
  app.frm.cmdPanelInstall.click();
  EXPECT_EQ(tk_.boxes.at(0).text,
            "Error  76 Path not found\rC:\\FS98\\Aircraft\\Nowhere\\Panel.Mine");
  expectUntouched(app);

  // An existing folder: No stops, Yes installs into it.
  tk_.boxes.clear();
  app.frm.Dir2.setPath("C:\\FS98\\Aircraft\\Cessna");
  EXPECT_EQ(app.frm.txtPanelName.text(), "C:\\FS98\\Aircraft\\Cessna");
  tk_.answers = {MsgAnswer::No};
  app.frm.cmdPanelInstall.click();
  EXPECT_EQ(tk_.boxes.at(0).text, "C:\\FS98\\Aircraft\\Cessna Exists!  Overwrite?");
  expectUntouched(app);

  app.frm.txtPanelName.setText(app.frm.txtPanelName.text() + "\\Panel.Mine");
  app.frm.cmdPanelInstall.click();
  expectInstalledInto(app, "C:\\FS98\\Aircraft\\Cessna\\Panel.Mine");
  EXPECT_EQ(app.state.PanelDir, "C:\\FS98\\Aircraft\\Cessna\\Panel.Mine");
}

TEST_F(PanelTest, ATargetInsideTheAssemblyAreaIsRefusedWhicheverOptionLeadsThere) {
  const std::string inside = std::string(kAssembly) + "\\Sim";
  struct Case {
    OptionButton frmOrvex2::*option;
    std::string target;
  };
  const Case cases[] = {
      {&frmOrvex2::optPanelLetMe, std::string(kAssembly) + "\\Mine"},
      {&frmOrvex2::optMyChoice, std::string(kAssembly) + "\\Cub\\Panel"},
      {&frmOrvex2::optFSCONV, inside + "\\Aircraft\\FSFSCONV\\Panel.Mine"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    Orvex& app = startWithPanel();
    addPanel();
    makeDir(std::string(kAssembly) + "\\Cub\\Panel");
    makeDir(inside + "\\Aircraft\\FSFSCONV");
    (app.frm.*c.option).setValue(true);
    if (c.option == &frmOrvex2::optMyChoice) app.frm.Dir2.setPath(std::string(kAssembly) + "\\Cub");
    app.frm.txtPanelName.setText(c.option == &frmOrvex2::optPanelLetMe ? c.target : "Mine");
    if (c.option == &frmOrvex2::optFSCONV) app.state.FSim = inside;
    tk_.boxes.clear();

    app.frm.cmdPanelInstall.click();

    ASSERT_EQ(tk_.boxes.size(), 1u);
    EXPECT_EQ(tk_.boxes[0].text,
              "Panel Files cannot be installed into the Assembly folder!\r" + c.target);
    EXPECT_EQ(tk_.boxes[0].caption, "Panel Error");
    EXPECT_FALSE(exists(c.target + "\\panel.cfg"));
    EXPECT_TRUE(exists(std::string(kAssembly) + "\\panel.cfg"));
    EXPECT_EQ(app.state.PanelData, 1);
    EXPECT_TRUE(app.frm.frmPanelInstall.visible());
    TearDown();
    SetUp();
  }
}

TEST_F(PanelTest, TheBitmapsPanelCfgNamesGoWithThePanel) {
  Orvex& app = startWithPanel();
  app.frm.optFSCONV.setValue(true);
  std::vector<PanelBitmaps> cases = panelBitmapCases();
  cases.push_back({"", {}});  // no bitmap line at all: only panel.cfg stays with the panel
  int n = 0;
  for (const PanelBitmaps& c : cases) {
    SCOPED_TRACE(c.file);
    addFile("PANEL.CFG", c.file.empty() ? "[Window00]\ngauge00=a!b\n" : fixtureText(c.file));
    for (const std::string& b : c.bitmaps) addFile(b);
    // Named only in a comment, or not named at all: a document.
    addFile("old.bmp");
    addFile("background.bmp");
    app.state.PanelData = 1;
    app.frm.txtPanelName.setText("P" + std::to_string(++n));
    app.frm.cmdPanelInstall.click();
    const std::string t = std::string(kFsconv) + "\\Panel.P" + std::to_string(n);
    Names withPanel = c.bitmaps;
    withPanel.insert(withPanel.end(), {"PANEL.CFG", "PanelDocs"});
    std::sort(withPanel.begin(), withPanel.end());
    withPanel.erase(std::unique(withPanel.begin(), withPanel.end()), withPanel.end());
    EXPECT_EQ(names(t), withPanel);
    EXPECT_EQ(names(t + "\\PanelDocs"), (Names{"background.bmp", "old.bmp"}));
    EXPECT_TRUE(names(kAssembly).empty());
    EXPECT_EQ(tk_.boxes.back().caption, "Success!");
  }
}

TEST_F(PanelTest, ReadOnlyTargetsAreReplacedOnlyAfterYes) {
  Orvex& app = startWithPanel();
  const std::string t = std::string(kFsconv) + "\\Panel.Mine";
  write(t + "\\panel.bmp", "old");
  fs_->setReadOnly(t + "\\panel.bmp", true);
  write(t + "\\PanelDocs\\readme.txt", "old doc");
  fs_->setReadOnly(t + "\\PanelDocs\\readme.txt", true);
  addPanel();
  app.frm.optFSCONV.setValue(true);
  app.frm.txtPanelName.setText("Mine");

  // Yes to the folder, No to the locked bitmap: the bitmap is not lost.
  tk_.answers = {MsgAnswer::Yes, MsgAnswer::No};
  app.frm.cmdPanelInstall.click();
  ASSERT_EQ(tk_.boxes.size(), 2u);
  EXPECT_EQ(tk_.boxes[1].text, t + "\\panel.bmp Exists!  Overwrite?");
  EXPECT_EQ(read(t + "\\panel.bmp"), "old");
  EXPECT_TRUE(exists(std::string(kAssembly) + "\\panel.bmp"));
  EXPECT_FALSE(app.anim.visible());

  // Yes to every question: the locked bitmap and document are replaced.
  tk_.boxes.clear();
  tk_.answers.clear();
  app.frm.cmdPanelInstall.click();
  ASSERT_EQ(tk_.countCaption("Panel Error"), 3);
  EXPECT_EQ(tk_.boxes[2].text, t + "\\PanelDocs\\readme.txt Exists!  Overwrite?");
  EXPECT_EQ(read(t + "\\panel.bmp"), "new");
  EXPECT_EQ(read(t + "\\PanelDocs\\readme.txt"), "new");
  expectInstalledInto(app, t);
}

}  // namespace
}  // namespace orvex::test

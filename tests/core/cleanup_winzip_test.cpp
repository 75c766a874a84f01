// Emptying the assembly area, and the zip program bridge.
#include <filesystem>

#include "support/sandbox.h"

namespace orvex::test {
namespace {

class CleanupTest : public Sandbox {
 protected:
  Orvex& startSet() {
    makeSimulator("C:\\FS98", "Fltsim98.cfg");
    write("C:\\Orvex\\Orvex.cfg",
          "\"C:\\FS98\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"FS98\"\r\n1\r\n");
    return start();
  }
};

TEST_F(CleanupTest, EmptiesTheWholeTreeButNothingElse) {
  Orvex& app = startSet();
  write("C:\\Orvex\\keep.txt");
  write("C:\\Outside\\theirs.txt", "not the area's");
  write("C:\\Orvex\\Assembly\\Aircraft.cfg");
  write("C:\\Orvex\\Assembly\\.hidden");
  write("C:\\Orvex\\Assembly\\Plane\\texture.1\\t.bmp");
  const std::string locked = "C:\\Orvex\\Assembly\\Plane\\model\\Deeper\\Deepest\\locked.mdl";
  write(locked);
  fs_->setReadOnly(locked, true);
  write("C:\\Orvex\\Assembly\\Gauges\\g.gau");
  write("C:\\Orvex\\Assembly\\readonly.txt");
  fs_->setReadOnly("C:\\Orvex\\Assembly\\readonly.txt", true);
  // Links deep in the tree, to a folder and to a file outside it: removed as links.
  const std::string deep = host("C:\\Orvex\\Assembly\\Plane\\model\\Deeper");
  std::filesystem::create_symlink(host("C:\\Outside"), deep + "/outside");
  std::filesystem::create_symlink(host("C:\\Outside\\theirs.txt"), deep + "/theirs.txt");
  fs_->setReadOnly("C:\\Outside\\theirs.txt", true);

  app.assembly.RemoveDirectories();
  EXPECT_EQ(fs_->curDir(), "C:\\Orvex");
  app.assembly.DeleteAssembly();

  EXPECT_EQ(names("C:\\Orvex\\Assembly"), std::vector<std::string>{".hidden"});
  EXPECT_EQ(names("C:\\Outside"), std::vector<std::string>{"theirs.txt"});
  EXPECT_EQ(read("C:\\Outside\\theirs.txt"), "not the area's");
  EXPECT_TRUE(fs_->isReadOnly("C:\\Outside\\theirs.txt"));
  EXPECT_TRUE(exists("C:\\Orvex\\keep.txt"));
  EXPECT_TRUE(tk_.boxes.empty());
}

TEST_F(CleanupTest, AMissingModelFolderDeletesNothingInTheCurrentDirectory) {
  Orvex& app = startSet();
  write("C:\\Orvex\\precious.dat");
  write("C:\\Orvex\\Assembly\\Panel\\p.bmp");
  fs_->chDir("C:\\Orvex");
  app.assembly.RemoveDirectories();
  EXPECT_TRUE(exists("C:\\Orvex\\precious.dat"));
  EXPECT_FALSE(exists("C:\\Orvex\\Assembly\\Panel"));

  // Started from inside the folder that would be deleted next, or elsewhere entirely.
  makeDir("C:\\Orvex\\Other");
  write("C:\\Orvex\\Other\\x.dat");
  fs_->chDir("C:\\Orvex\\Other");
  app.assembly.RemoveDirectories();
  EXPECT_TRUE(exists("C:\\Orvex\\Other\\x.dat"));
}

TEST_F(CleanupTest, DeleteAssemblyGuards) {
  Orvex& app = startSet();
  write("C:\\Orvex\\Assembly\\a.cfg");
  makeDir("C:\\Elsewhere");
  fs_->chDir("C:\\Elsewhere");
  app.assembly.DeleteAssembly();
  EXPECT_TRUE(exists("C:\\Orvex\\Assembly\\a.cfg"));

  // An assembly path without "\assembly" is never emptied, nor are its folders.
  write("C:\\Orvex\\Stuff\\b.cfg");
  write("C:\\Orvex\\Stuff\\Deep\\c.cfg");
  fs_->chDir("C:\\Orvex");
  app.state.OrvexAssemblyDir = "C:\\Orvex\\Stuff";
  app.assembly.RemoveDirectories();
  app.assembly.DeleteAssembly();
  EXPECT_TRUE(exists("C:\\Orvex\\Stuff\\b.cfg"));
  EXPECT_TRUE(exists("C:\\Orvex\\Stuff\\Deep\\c.cfg"));

  app.state.OrvexAssemblyDir = "C:\\Orvex\\Assembly";
  app.frm.cmdInstall.setVisible(true);
  app.frm.cmdInstall.setCaption("Install X to FS98");
  app.assembly.DeleteAssembly();
  EXPECT_FALSE(exists("C:\\Orvex\\Assembly\\a.cfg"));
  EXPECT_FALSE(app.frm.cmdInstall.visible());
  EXPECT_EQ(app.frm.cmdInstall.caption(), "");
}

TEST_F(CleanupTest, UnexpectedFailuresAreReportedAndTheProgramGoesOn) {
  Orvex& app = startSet();
  // A name the host cannot take (too long) stands for an unexpected failure.
  app.state.OrvexAssemblyDir = "C:\\Orvex\\Assembly\\" + std::string(5000, 'x');
  app.assembly.RemoveDirectories();
  EXPECT_EQ(tk_.countCaption("Cancel Errors"), 1);
  EXPECT_EQ(tk_.boxes.back().text.rfind("Error ", 0), 0u);
  EXPECT_FALSE(app.ended());
}

TEST_F(CleanupTest, LaunchingTheZipProgram) {
  Orvex& app = startSet();
  app.state.ZipWarning = 0;
  int warnings = 0;
  tk_.onModal = [&](Form& f) {
    ++warnings;
    f.hide();
  };
  app.frm.cmdLoadWinZip.click();
  EXPECT_EQ(warnings, 1);
  EXPECT_TRUE(exists("C:\\Orvex\\DummyZip.zip"));
  ASSERT_EQ(shell_.started.size(), 1u);
  EXPECT_EQ(shell_.started[0], "/usr/bin/zipper");
  EXPECT_EQ(shell_.documents[0], host("C:\\Orvex\\DummyZip.zip"));
  EXPECT_EQ(app.frm.Timer1.interval(), 1000);
  EXPECT_TRUE(app.frm.Timer1.running());
  EXPECT_TRUE(app.frm.cmdQuit.hasFocus());

  // With the flag set the warning stays away; a read-only sample is made writable first.
  app.state.ZipWarning = 1;
  fs_->setReadOnly("C:\\Orvex\\DummyZip.zip", true);
  shell_.findCode = 2;
  app.frm.cmdLoadWinZip.click();
  EXPECT_EQ(warnings, 1);
  EXPECT_FALSE(fs_->isReadOnly("C:\\Orvex\\DummyZip.zip"));
  EXPECT_EQ(tk_.countCaption("Browser Not Found"), 1);
  EXPECT_EQ(tk_.boxes.back().text, "Could not find WinZip");
  EXPECT_TRUE(app.frm.Timer1.running());

  shell_.findCode = 42;
  shell_.executeCode = 2;
  app.frm.cmdLoadWinZip.click();
  EXPECT_EQ(tk_.countCaption("Process Failed"), 1);
}

TEST_F(CleanupTest, NoLaunchWithoutASimulatorDirectoryWhateverTheCase) {
  Orvex& app = startSet();
  for (const char* fsim : {"Select FS98 Directory", "SELECT x", "sElEcT"}) {
    app.state.FSim = fsim;
    tk_.beeps = 0;
    app.frm.cmdLoadWinZip.click();
    EXPECT_EQ(tk_.beeps, 1) << fsim;
  }
  EXPECT_TRUE(shell_.started.empty());
}

TEST_F(CleanupTest, RefreshBlinksOnlyWhenFilesArrive) {
  Orvex& app = startSet();
  app.frm.Timer1.setInterval(1000);
  write("C:\\Orvex\\Assembly\\Orvex.cfg");
  app.frm.Timer1.tick();
  EXPECT_TRUE(app.frm.cmdRefresh.visible());
  EXPECT_EQ(app.frm.Timer1.interval(), 1000);
  write("C:\\Orvex\\Assembly\\plane.air");
  app.frm.Timer1.tick();
  EXPECT_FALSE(app.frm.cmdRefresh.visible());
  EXPECT_EQ(app.frm.Timer1.interval(), 500);
  app.frm.Timer1.tick();
  EXPECT_TRUE(app.frm.cmdRefresh.visible());
  EXPECT_EQ(app.frm.Timer1.interval(), 1000);
}

TEST_F(CleanupTest, ARootOnADriveTheMapDoesNotHoldFindsNoZipProgram) {
  Orvex& app = startSet();
  app.state.OrvexDir = "Q:\\Orvex\\";
  app.frm.cmdLoadWinZip.click();
  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].text, "Could not find WinZip");
  EXPECT_EQ(tk_.boxes[0].caption, "Browser Not Found");
  EXPECT_TRUE(app.frm.Timer1.running());
  EXPECT_FALSE(app.ended());
}

TEST_F(CleanupTest, TheWatchCountsOnItsOwnRestsDuringInstallsAndFailsOnce) {
  Orvex& app = startSet();
  write("C:\\Orvex\\Assembly\\a.cfg");
  write("C:\\Orvex\\Assembly\\b.cfg");
  // The browser is open, pointed at the simulator; the hidden file list shows pictures.
  app.frm.cmdSetDirectories.click();
  app.frm.Dir1.setPath("C:\\FS98");
  app.lists.listFiles("C:\\FS98", "*.jpg");
  app.frm.Timer1.setInterval(1000);
  app.frm.Timer1.setTimerEnabled(true);

  app.frm.Timer1.tick();
  EXPECT_FALSE(app.frm.cmdRefresh.visible());
  EXPECT_EQ(app.frm.Dir1.path(), "C:\\FS98");
  EXPECT_EQ(app.frm.File1.path(), "C:\\FS98");
  EXPECT_EQ(app.frm.File1.pattern(), "*.jpg");

  // While an install runs the watch changes nothing.
  {
    BusyScope busy(app.context());
    app.frm.Timer1.tick();
    EXPECT_FALSE(app.frm.cmdRefresh.visible());
  }

  // An area that cannot be read (here a link that leads to itself) stops the watch with one
  // message instead of one every half second.
  std::filesystem::remove_all(host("C:\\Orvex\\Assembly"));
  std::filesystem::create_symlink("Assembly", host("C:\\Orvex\\Assembly"));
  app.frm.Timer1.tick();
  app.frm.Timer1.tick();
  EXPECT_EQ(tk_.countCaption("Data Error"), 1);
  EXPECT_FALSE(app.frm.Timer1.running());
  EXPECT_TRUE(app.frm.cmdRefresh.visible());
  EXPECT_FALSE(app.ended());
}

TEST_F(CleanupTest, CancelThrowsTheLoadedArchiveAway) {
  Orvex& app = startSet();
  write("C:\\Orvex\\Assembly\\Aircraft.cfg");
  write("C:\\Orvex\\Assembly\\Model\\a.mdl");
  app.frm.Image1.setVisible(false);
  app.frm.Image4.setVisible(true);
  app.frm.Image2.setVisible(true);
  app.frm.cmdInstall.setVisible(true);
  app.frm.cmdCancelLoad.click();
  EXPECT_TRUE(names("C:\\Orvex\\Assembly").empty());
  EXPECT_TRUE(app.frm.Image1.visible());
  EXPECT_FALSE(app.frm.Image4.visible());
  EXPECT_FALSE(app.frm.Image2.visible());
  EXPECT_FALSE(app.frm.cmdInstall.visible());
  EXPECT_EQ(app.frm.mousePointer(), MousePointer::Default);
}

}  // namespace
}  // namespace orvex::test

// Choosing where a sound set goes, and installing it there.
#include <filesystem>
#include <fstream>

#include "support/fixtures.h"
#include "support/sandbox.h"

namespace orvex::test {
namespace {

const std::string kAsm = "C:\\Orvex\\Assembly\\";

class SoundTest : public Sandbox {
 protected:
  // FS98 at C:\FS98 with an aircraft folder Cessna holding model, panel and sound.
  Orvex& startFS98() {
    makeSimulator("C:\\FS98", "Fltsim98.cfg");
    for (const char* d : {"model", "panel", "sound"})
      makeDir(std::string("C:\\FS98\\Aircraft\\Cessna\\") + d);
    write("C:\\Orvex\\FileCopy.avi", "RIFF");
    write("C:\\Orvex\\Orvex.cfg",
          "\"C:\\FS98\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"FS98\"\r\n1\r\n");
    Orvex& app = start();
    tk_.beeps = 0;
    return app;
  }

  // A sound set as unzipped: the real sound.cfg of an aircraft, its wavs and a read-me.
  void unzipSoundSet(const std::string& cfg = "sound/sound_lf.cfg") {
    copyFixture(cfg, kAsm + "sound.cfg");
    write(kAsm + "rpm1.wav", "new rpm");
    write(kAsm + "starter.wav", "new starter");
    write(kAsm + "readme.txt", "read me");
  }

  // Refresh as the user presses it; the scan opens the Sounds tab.
  void refresh(Orvex& app) {
    app.frm.cmdRefresh.click();
    ASSERT_EQ(app.state.SoundData, 1);
    ASSERT_TRUE(app.frm.frmSound.visible());
    tk_.boxes.clear();
    tk_.beeps = 0;
  }

  // The install left the window as it was before the scan, the assembly area empty.
  void expectFinished(Orvex& app) {
    EXPECT_EQ(tk_.boxes.back().text, "Sound Files Installed Successfully!");
    EXPECT_EQ(tk_.boxes.back().caption, "Success!");
    EXPECT_EQ(tk_.boxes.back().icon, MsgIcon::Information);
    EXPECT_TRUE(names("C:\\Orvex\\Assembly").empty());
    EXPECT_FALSE(app.frm.frmSound.visible());
    EXPECT_FALSE(app.frm.Dir3.visible());
    EXPECT_FALSE(app.frm.Drive3.visible());
    EXPECT_FALSE(app.frm.txtIDecide.visible());
    EXPECT_FALSE(app.anim.visible());
    EXPECT_EQ(app.frm.SSTab1.tab(), 0);
    EXPECT_EQ(app.state.SoundData, 0);
    EXPECT_EQ(app.frm.mousePointer(), MousePointer::Default);
  }

  // A stop left everything in place for another try.
  void expectUntouched(Orvex& app, size_t assemblyFiles = 4) {
    EXPECT_EQ(names("C:\\Orvex\\Assembly").size(), assemblyFiles);
    EXPECT_TRUE(app.frm.frmSound.visible());
    EXPECT_EQ(app.state.SoundData, 1);
    EXPECT_FALSE(app.anim.visible());
    EXPECT_EQ(app.frm.mousePointer(), MousePointer::Default);
  }
};

TEST_F(SoundTest, MainSoundFolderReceivesTheSetAndReplacesOldSounds) {
  Orvex& app = startFS98();
  write("C:\\FS98\\Sound\\rpm1.wav", "old rpm");
  write("C:\\FS98\\Sound\\other.wav", "kept");
  makeDir("C:\\FS98\\Sound\\Documentation");  // made before: its failure is passed over
  unzipSoundSet();
  write(kAsm + "notes.DOC", "doc");
  write(kAsm + "read.me", "me");
  refresh(app);

  app.frm.optSound.setValue(true);
  EXPECT_EQ(app.frm.labSoundPath.caption(), "C:\\FS98\\Sound");
  EXPECT_TRUE(app.frm.labSoundPath.visible());
  EXPECT_FALSE(app.frm.Dir3.visible());
  EXPECT_FALSE(app.frm.Drive3.visible());
  EXPECT_FALSE(app.frm.txtIDecide.visible());
  EXPECT_FALSE(app.frm.labEnterName.visible());
  EXPECT_EQ(app.frm.Dir3.path(), "C:\\FS98");
  EXPECT_TRUE(app.frm.cmdInstallSound.hasFocus());

  app.frm.cmdInstallSound.click();
  ASSERT_EQ(tk_.boxes.size(), 1u) << tk_.boxes.front().text;
  expectFinished(app);
  EXPECT_EQ(read("C:\\FS98\\Sound\\rpm1.wav"), "new rpm");
  EXPECT_EQ(read("C:\\FS98\\Sound\\starter.wav"), "new starter");
  EXPECT_EQ(read("C:\\FS98\\Sound\\other.wav"), "kept");
  EXPECT_EQ(read("C:\\FS98\\Sound\\sound.cfg"), fixtureText("sound/sound_lf.cfg"));
  EXPECT_EQ(names("C:\\FS98\\Sound\\Documentation"),
            (std::vector<std::string>{"notes.DOC", "read.me", "readme.txt"}));
  EXPECT_EQ(app.state.SoundDir, "C:\\FS98\\Sound");
  EXPECT_EQ(app.anim.labAnimation.caption(), "Copying readme.txt");
  // The choice stays for the next set.
  EXPECT_TRUE(app.frm.optSound.value());
}

TEST_F(SoundTest, OptionClicksPlaceTheListsAndThePathBoxFollowsTheBrowsing) {
  Orvex& app = startFS98();
  unzipSoundSet();
  refresh(app);
  // The scan leaves the aircraft folder browsed, so the box already holds it.
  EXPECT_EQ(app.frm.txtIDecide.text(), "C:\\FS98\\Aircraft");

  app.frm.optSoundDir.setValue(true);
  EXPECT_TRUE(app.frm.Drive3.visible());
  EXPECT_TRUE(app.frm.Dir3.visible());
  EXPECT_EQ(app.frm.Drive3.top(), 1080);
  EXPECT_EQ(app.frm.Dir3.top(), 1440);
  EXPECT_EQ(app.frm.Dir3.path(), "C:\\FS98\\Aircraft");
  EXPECT_FALSE(app.frm.txtIDecide.visible());
  EXPECT_FALSE(app.frm.labSoundPath.visible());
  EXPECT_FALSE(app.frm.labEnterName.visible());
  EXPECT_TRUE(app.frm.cmdInstallSound.hasFocus());
  app.frm.Dir3.setPath("C:\\FS98\\Aircraft\\Cessna");
  EXPECT_EQ(app.frm.txtIDecide.text(), "C:\\FS98\\Aircraft\\Cessna");
  EXPECT_TRUE(app.frm.cmdInstallSound.hasFocus());  // the hidden box takes no focus

  app.frm.optSoundCustom.setValue(true);
  EXPECT_EQ(app.frm.Drive3.top(), 1380);
  EXPECT_EQ(app.frm.Dir3.top(), 1740);
  EXPECT_EQ(app.frm.Dir3.path(), "C:\\FS98");
  EXPECT_EQ(app.frm.txtIDecide.text(), "C:\\FS98");
  EXPECT_TRUE(app.frm.txtIDecide.visible());
  EXPECT_TRUE(app.frm.txtIDecide.hasFocus());
  EXPECT_EQ(app.frm.txtIDecide.selStart(), 7);
  EXPECT_TRUE(app.frm.labEnterName.visible());
  EXPECT_FALSE(app.frm.txtSoundName.visible());
  EXPECT_FALSE(app.frm.labDisplaySoundPath.visible());
  app.frm.cmdQuit.setFocus();
  app.frm.Dir3.setPath("C:\\FS98\\Aircraft");
  EXPECT_EQ(app.frm.txtIDecide.text(), "C:\\FS98\\Aircraft");
  EXPECT_EQ(app.frm.txtIDecide.selStart(), 16);
  EXPECT_TRUE(app.frm.txtIDecide.hasFocus());

  // Back to the main folder: the lists and the box go, the line comes.
  app.frm.optSound.setValue(true);
  EXPECT_FALSE(app.frm.Drive3.visible());
  EXPECT_FALSE(app.frm.Dir3.visible());
  EXPECT_FALSE(app.frm.txtIDecide.visible());
  EXPECT_FALSE(app.frm.labEnterName.visible());
  EXPECT_TRUE(app.frm.labSoundPath.visible());
  EXPECT_TRUE(app.frm.cmdInstallSound.hasFocus());
  EXPECT_TRUE(tk_.boxes.empty());
}

TEST_F(SoundTest, AircraftFolderChoiceFindsTheSoundFolderOrRefuses) {
  Orvex& app = startFS98();
  unzipSoundSet("sound/aircraft_sound_crlf.cfg");
  refresh(app);
  app.frm.optSoundDir.setValue(true);

  // A folder without a sound folder, and without "sound" in its path.
  app.frm.Dir3.setPath("C:\\FS98\\Aircraft");
  app.frm.cmdInstallSound.click();
  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].text, "We're not in a Sound Directory!");
  EXPECT_EQ(tk_.boxes[0].caption, "Sound Error");
  EXPECT_EQ(tk_.boxes[0].icon, MsgIcon::Warning);
  expectUntouched(app);

  // The aircraft's own folder: its "sound" sub-folder is found and no new one is made.
  app.frm.Dir3.setPath("C:\\FS98\\Aircraft\\Cessna");
  app.frm.cmdInstallSound.click();
  ASSERT_EQ(tk_.boxes.size(), 2u) << tk_.boxes.back().text;
  expectFinished(app);
  EXPECT_EQ(app.frm.Dir3.listIndex(), 2);  // the list stopped on the folder it found
  EXPECT_EQ(names("C:\\FS98\\Aircraft\\Cessna"),
            (std::vector<std::string>{"model", "panel", "sound"}));
  EXPECT_EQ(names("C:\\FS98\\Aircraft\\Cessna\\sound"),
            (std::vector<std::string>{"Documentation", "rpm1.wav", "sound.cfg", "starter.wav"}));
  EXPECT_EQ(read("C:\\FS98\\Aircraft\\Cessna\\sound\\sound.cfg"),
            fixtureText("sound/aircraft_sound_crlf.cfg"));
  EXPECT_TRUE(exists("C:\\FS98\\Aircraft\\Cessna\\sound\\Documentation\\readme.txt"));
}

TEST_F(SoundTest, AircraftFolderChoiceInstallsIntoABrowsedSoundFolderItself) {
  Orvex& app = startFS98();
  makeDir("C:\\FS98\\Aircraft\\Jodel\\SOUND");
  unzipSoundSet("sound/aircraft_sound_crlf.cfg");
  refresh(app);
  app.frm.optSoundDir.setValue(true);
  app.frm.Dir3.setPath("C:\\FS98\\Aircraft\\Jodel\\SOUND");
  app.frm.cmdInstallSound.click();
  expectFinished(app);
  EXPECT_EQ(names("C:\\FS98\\Aircraft\\Jodel\\SOUND"),
            (std::vector<std::string>{"Documentation", "rpm1.wav", "sound.cfg", "starter.wav"}));
  EXPECT_EQ(app.state.SoundDir, "C:\\FS98\\Aircraft\\Jodel\\SOUND");
}

TEST_F(SoundTest, LetMeDecideMakesTheTypedFolder) {
  Orvex& app = startFS98();
  unzipSoundSet();
  refresh(app);
  app.frm.optSoundCustom.setValue(true);
  app.frm.Dir3.setPath("C:\\FS98\\Aircraft\\Cessna");
  app.frm.txtIDecide.setText(app.frm.txtIDecide.text() + "\\Sound.Mine");
  app.frm.cmdInstallSound.click();
  ASSERT_EQ(tk_.boxes.size(), 1u) << tk_.boxes.front().text;
  expectFinished(app);
  EXPECT_EQ(names("C:\\FS98\\Aircraft\\Cessna\\Sound.Mine"),
            (std::vector<std::string>{"Documentation", "rpm1.wav", "sound.cfg", "starter.wav"}));
}

TEST_F(SoundTest, LetMeDecideWithAnEmptyBoxAsksForAName) {
  Orvex& app = startFS98();
  unzipSoundSet();
  refresh(app);
  app.frm.optSoundCustom.setValue(true);
  app.frm.txtIDecide.setText("");
  app.frm.cmdQuit.setFocus();
  app.frm.cmdInstallSound.click();
  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].text, "Please Enter a Name for these Sound Files");
  EXPECT_EQ(tk_.boxes[0].caption, "Sound Name");
  EXPECT_EQ(tk_.boxes[0].icon, MsgIcon::Warning);
  EXPECT_TRUE(app.frm.txtIDecide.hasFocus());
  expectUntouched(app);
}

TEST_F(SoundTest, LetMeDecideWithAnExistingFolderAsksBeforeCopying) {
  Orvex& app = startFS98();
  write("C:\\Sounds\\Mine\\rpm1.wav", "old rpm");
  unzipSoundSet();
  refresh(app);
  app.frm.optSoundCustom.setValue(true);
  app.frm.txtIDecide.setText("C:\\Sounds\\Mine");

  // No: nothing copied, the box gets the focus back with the caret at its end.
  tk_.answers = {MsgAnswer::No};
  app.frm.cmdQuit.setFocus();
  app.frm.cmdInstallSound.click();
  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].text, "This Sound File Exists!\rOverwrite?");
  EXPECT_EQ(tk_.boxes[0].caption, "Sound Exists");
  EXPECT_EQ(tk_.boxes[0].icon, MsgIcon::Information);
  EXPECT_EQ(tk_.boxes[0].buttons, MsgButtons::YesNo);
  EXPECT_TRUE(app.frm.txtIDecide.hasFocus());
  EXPECT_EQ(app.frm.txtIDecide.selStart(), 14);
  EXPECT_EQ(read("C:\\Sounds\\Mine\\rpm1.wav"), "old rpm");
  EXPECT_EQ(names("C:\\Sounds\\Mine"), std::vector<std::string>{"rpm1.wav"});
  expectUntouched(app);

  // Yes: the folder is used as it is and its sound of the same name replaced.
  tk_.answers = {MsgAnswer::Yes};
  app.frm.cmdInstallSound.click();
  ASSERT_EQ(tk_.boxes.size(), 3u) << tk_.boxes.back().text;
  EXPECT_EQ(tk_.boxes[1].caption, "Sound Exists");
  expectFinished(app);
  EXPECT_EQ(read("C:\\Sounds\\Mine\\rpm1.wav"), "new rpm");
  EXPECT_TRUE(exists("C:\\Sounds\\Mine\\Documentation\\readme.txt"));
}

TEST_F(SoundTest, LetMeDecideRefusesPathsThatCannotBeMade) {
  Orvex& app = startFS98();
  unzipSoundSet();
  refresh(app);
  app.frm.optSoundCustom.setValue(true);

  // A parent folder that is not there: the message names it, and nothing is made.
  app.frm.txtIDecide.setText("C:\\FS98\\Aircraft\\NoSuchPlane\\Sound");
  app.frm.cmdInstallSound.click();
  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].caption, "Sound Name");
  EXPECT_NE(tk_.boxes[0].text.find("C:\\FS98\\Aircraft\\NoSuchPlane"), std::string::npos)
      << tk_.boxes[0].text;
  EXPECT_TRUE(app.frm.txtIDecide.hasFocus());
  EXPECT_FALSE(exists("C:\\FS98\\Aircraft\\NoSuchPlane"));
  expectUntouched(app);

  // A drive that is not there.
  app.frm.txtIDecide.setText("Q:\\Sounds");
  app.frm.cmdInstallSound.click();
  ASSERT_EQ(tk_.boxes.size(), 2u);
  EXPECT_NE(tk_.boxes[1].text.find("Q:\\"), std::string::npos) << tk_.boxes[1].text;
  expectUntouched(app);

  // A bare name would land in whatever folder happens to be current.
  app.frm.txtIDecide.setText("My Sounds");
  app.frm.cmdInstallSound.click();
  ASSERT_EQ(tk_.boxes.size(), 3u);
  EXPECT_EQ(tk_.boxes[2].caption, "Sound Name");
  EXPECT_FALSE(exists("C:\\Orvex\\My Sounds"));
  expectUntouched(app);

  // The assembly area itself, or a folder in it, would be emptied right after the copy.
  for (const char* target : {"C:\\Orvex\\ASSEMBLY", "C:\\Orvex\\Assembly\\Sound"}) {
    const size_t before = tk_.boxes.size();
    app.frm.txtIDecide.setText(target);
    app.frm.cmdInstallSound.click();
    ASSERT_EQ(tk_.boxes.size(), before + 1) << target;
    EXPECT_NE(tk_.boxes.back().text.find("Assembly"), std::string::npos);
    EXPECT_EQ(read(kAsm + "rpm1.wav"), "new rpm");
    EXPECT_FALSE(exists(kAsm + "Sound"));
    expectUntouched(app);
  }
}

TEST_F(SoundTest, OnlySoundsAndDocumentsAreInstalledTheRestGoesWithTheAssembly) {
  Orvex& app = startFS98();
  write(kAsm + "engine.wav", "wav");
  write(kAsm + "cockpit.jpg", "jpg");
  write(kAsm + "Sound\\nested.wav", "nested");
  refresh(app);
  app.frm.optSound.setValue(true);
  app.frm.cmdInstallSound.click();
  expectFinished(app);
  // No document: no Documentation folder; a picture and a nested file are not sounds.
  EXPECT_EQ(names("C:\\FS98\\Sound"), std::vector<std::string>{"engine.wav"});
}

TEST_F(SoundTest, InstallGuards) {
  Orvex& app = startFS98();
  unzipSoundSet();
  refresh(app);

  // Right after the scan no target is chosen: a beep and nothing else.
  app.frm.cmdInstallSound.click();
  EXPECT_EQ(tk_.beeps, 1);
  EXPECT_TRUE(tk_.boxes.empty());
  EXPECT_EQ(app.frm.SSTab1.tab(), 3);
  expectUntouched(app);
  EXPECT_TRUE(names("C:\\FS98\\Sound").empty());

  // No sound set scanned.
  app.frm.optSound.setValue(true);
  app.state.SoundData = 0;
  app.frm.cmdInstallSound.click();
  EXPECT_EQ(tk_.beeps, 2);
  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].text, "No Sound Files Found!");
  EXPECT_EQ(tk_.boxes[0].caption, "Sounds");
  EXPECT_EQ(tk_.boxes[0].icon, MsgIcon::Warning);
  EXPECT_EQ(app.frm.SSTab1.tab(), 0);
  EXPECT_TRUE(names("C:\\FS98\\Sound").empty());

  // No simulator directory, in any letter case: only a beep.
  app.state.SoundData = 1;
  app.state.FSim = "SELECT FS98 Directory";
  app.frm.cmdInstallSound.click();
  EXPECT_EQ(tk_.beeps, 3);
  EXPECT_EQ(tk_.boxes.size(), 1u);
  expectUntouched(app);
}

TEST_F(SoundTest, SystemErrorsStopTheInstallAndTheProgramGoesOn) {
  Orvex& app = startFS98();
  unzipSoundSet();
  refresh(app);
  app.frm.optSound.setValue(true);

  // A simulator without its Sound folder.
  std::filesystem::remove_all(host("C:\\FS98\\Sound"));
  app.frm.cmdInstallSound.click();
  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].text, "Error  76 Path not found\rC:\\FS98\\Sound\\rpm1.wav");
  EXPECT_EQ(tk_.boxes[0].caption, "System Error");
  EXPECT_EQ(tk_.boxes[0].icon, MsgIcon::Warning);
  expectUntouched(app);

  // Without the copy animation.
  makeDir("C:\\FS98\\Sound");
  std::filesystem::remove(host("C:\\Orvex\\FileCopy.avi"));
  app.frm.cmdInstallSound.click();
  ASSERT_EQ(tk_.boxes.size(), 2u);
  EXPECT_EQ(tk_.boxes[1].text, "Error  53 File not found\rC:\\Orvex\\FileCopy.avi");
  expectUntouched(app);
  EXPECT_TRUE(names("C:\\FS98\\Sound").empty());

  // Put right, the same set installs.
  write("C:\\Orvex\\FileCopy.avi", "RIFF");
  app.frm.cmdInstallSound.click();
  expectFinished(app);
  EXPECT_EQ(read("C:\\FS98\\Sound\\starter.wav"), "new starter");
}

TEST_F(SoundTest, AReadOnlySoundIsReplacedOnlyWhenTheUserSaysYes) {
  Orvex& app = startFS98();
  write("C:\\FS98\\Sound\\rpm1.wav", "old rpm");
  fs_->setReadOnly("C:\\FS98\\Sound\\rpm1.wav", true);
  unzipSoundSet();
  refresh(app);
  app.frm.optSound.setValue(true);

  tk_.answers = {MsgAnswer::No};
  app.frm.cmdInstallSound.click();
  ASSERT_EQ(tk_.boxes.size(), 1u);
  EXPECT_EQ(tk_.boxes[0].caption, "Sound Exists");
  EXPECT_EQ(read("C:\\FS98\\Sound\\rpm1.wav"), "old rpm");
  expectUntouched(app);
  EXPECT_FALSE(app.frm.txtIDecide.hasFocus());

  tk_.answers = {MsgAnswer::Yes};
  app.frm.cmdInstallSound.click();
  ASSERT_EQ(tk_.boxes.size(), 3u) << tk_.boxes.back().text;
  EXPECT_EQ(tk_.boxes[1].caption, "Sound Exists");
  expectFinished(app);
  EXPECT_EQ(read("C:\\FS98\\Sound\\rpm1.wav"), "new rpm");
}

TEST_F(SoundTest, CancelGivesUpTheSetButKeepsTheChoice) {
  Orvex& app = startFS98();
  unzipSoundSet();
  write(kAsm + "Sound\\x.wav");
  refresh(app);
  app.frm.optSoundCustom.setValue(true);
  app.frm.Command3.click();
  EXPECT_TRUE(names("C:\\Orvex\\Assembly").empty());
  EXPECT_FALSE(app.frm.frmSound.visible());
  EXPECT_FALSE(app.frm.txtIDecide.visible());
  EXPECT_EQ(app.frm.SSTab1.tab(), 0);
  EXPECT_EQ(app.frm.mousePointer(), MousePointer::Default);
  EXPECT_EQ(app.state.SoundData, 1);
  EXPECT_TRUE(app.frm.optSoundCustom.value());
  EXPECT_TRUE(tk_.boxes.empty());
  EXPECT_TRUE(names("C:\\FS98\\Sound").empty());
}

TEST_F(SoundTest, ClicksDuringTheCopyPauseAreRefused) {
  Orvex& app = startFS98();
  unzipSoundSet();
  refresh(app);
  app.frm.optSound.setValue(true);
  int pumped = 0;
  tk_.onEvents = [&] {
    if (pumped++ > 0) return;
    app.frm.Command3.click();
    app.frm.cmdInstallSound.click();
    app.frm.optSoundCustom.setValue(true);
  };
  app.frm.cmdInstallSound.click();
  tk_.onEvents = nullptr;
  EXPECT_EQ(tk_.beeps, 3);
  ASSERT_EQ(tk_.boxes.size(), 1u) << tk_.boxes.front().text;
  expectFinished(app);
  EXPECT_EQ(names("C:\\FS98\\Sound"),
            (std::vector<std::string>{"Documentation", "rpm1.wav", "sound.cfg", "starter.wav"}));
}

TEST_F(SoundTest, AircraftFolderThatIsMissingIsReportedAndTheFrameStaysUsable) {
  makeDir("C:\\Bare\\Sound");
  write("C:\\Bare\\Fltsim98.cfg", "");
  write("C:\\Orvex\\FileCopy.avi", "RIFF");
  write("C:\\Orvex\\Orvex.cfg",
        "\"C:\\Bare\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"FS98\"\r\n1\r\n");
  Orvex& app = start();
  unzipSoundSet();
  app.frm.cmdRefresh.click();
  tk_.boxes.clear();
  const std::string before = app.frm.Dir3.path();

  app.frm.optSoundDir.setValue(true);
  ASSERT_EQ(tk_.countCaption("Folder Not Found"), 1);
  EXPECT_NE(tk_.boxes[0].text.find("C:\\Bare\\Aircraft"), std::string::npos);
  EXPECT_EQ(app.frm.Dir3.path(), before);
  EXPECT_TRUE(app.frm.Dir3.visible());

  app.frm.optSound.setValue(true);
  app.frm.cmdInstallSound.click();
  expectFinished(app);
  EXPECT_EQ(read("C:\\Bare\\Sound\\rpm1.wav"), "new rpm");
}

TEST_F(SoundTest, DriveListFollowsTheBrowsedFolderAndRefusesAMissingDrive) {
  // FS98 on its own drive D:, the program on C:.
  std::filesystem::create_directories(root_ + "/D/FS98/Sound");
  std::filesystem::create_directories(root_ + "/D/FS98/Aircraft");
  std::ofstream(root_ + "/D/FS98/Fltsim98.cfg");
  DriveMap map;
  map.add('c', root_);
  map.add('d', root_ + "/D");
  fs_ = std::make_unique<HostFileSystem>(map, root_ + "/Orvex");
  write("C:\\Orvex\\FileCopy.avi", "RIFF");
  write("C:\\Orvex\\Orvex.cfg",
        "\"D:\\FS98\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"FS98\"\r\n1\r\n");
  Orvex& app = start();
  unzipSoundSet();
  refresh(app);

  app.frm.optSoundCustom.setValue(true);
  EXPECT_EQ(app.frm.Dir3.path(), "D:\\FS98");
  EXPECT_EQ(app.frm.Drive3.drive(), "d:");

  // Back to the program's drive, in its current folder.
  app.frm.Drive3.setDrive("c:");
  EXPECT_EQ(app.frm.Dir3.path(), fs_->curDir());
  EXPECT_EQ(app.frm.txtIDecide.text(), fs_->curDir());

  app.frm.Drive3.setDrive("q:");
  EXPECT_EQ(tk_.countCaption("Folder Not Found"), 1);
  EXPECT_EQ(app.frm.Drive3.drive(), "c:");
  EXPECT_EQ(app.frm.Dir3.path(), fs_->curDir());

  // Installing to a folder of the user's own on D:.
  app.frm.Drive3.setDrive("d:");
  EXPECT_EQ(app.frm.Dir3.path(), "D:\\");
  app.frm.txtIDecide.setText("D:\\FS98\\Sound\\Extra");
  app.frm.cmdInstallSound.click();
  expectFinished(app);
  EXPECT_TRUE(std::filesystem::exists(root_ + "/D/FS98/Sound/Extra/rpm1.wav"));
}

}  // namespace
}  // namespace orvex::test

// Installs recorded and undone through the Installed tab: every kind of add-on over a
// simulator with and without an earlier version of it, files changed since, forgetting, a
// full disk before a backup, and records that cannot be kept.
#include <fcntl.h>
#include <sys/stat.h>

#include <deque>
#include <regex>

#include "host/sqlite_record_store.h"
#include "platform/dos_path.h"
#include "record/memory_record_store.h"
#include "record/undo.h"
#include "support/encodings.h"
#include "support/fixtures.h"
#include "support/install_world.h"

namespace orvex::test {
namespace {

namespace stdfs = std::filesystem;

class RecordsTest : public RecordedWorld {
 protected:
  bool writable(const std::string& dosPath) const {
    struct stat st {};
    return ::stat(host(dosPath).c_str(), &st) == 0 && (st.st_mode & S_IWUSR);
  }
};

TEST_F(RecordsTest, EveryKindOfInstallIsUndoneByteForByte) {
  for (Kind kind : kKinds) {
    for (bool earlier : {false, true}) {
      SCOPED_TRACE(std::string(kindName(kind)) + (earlier ? " over an earlier version" : ""));
      Orvex& app = freshStart(kind, earlier);
      const Files before = snapshot();
      unpack(kind);
      installAsTheUserWould(app, kind);
      ASSERT_EQ(tk_.countCaption("Success!"), 1);
      ASSERT_EQ(installedList(app).rows().size(), 1u);
      const std::vector<std::string> row = installedList(app).rows()[0];
      EXPECT_EQ(row[1], kind == Kind::Sound ? "sound set" : kindName(kind));
      EXPECT_EQ(row[5], "as installed");

      tk_.boxes.clear();
      press(app, row[2], app.frm.cmdUninstall);
      ASSERT_GE(tk_.boxes.size(), 2u);
      EXPECT_EQ(tk_.boxes[0].caption, "Uninstall");
      EXPECT_EQ(tk_.boxes.back().caption, "Success!");

      EXPECT_EQ(snapshot(), before);
      if (earlier) {
        for (const auto& [path, bytes] : before)
          if (bytes == "old version") {
            EXPECT_FALSE(writable("C:\\" + path)) << path;
          }
      }
      // The add-on's files are gone, not put back into the assembly area.
      EXPECT_TRUE(names("C:\\Orvex\\Assembly").empty());
      EXPECT_TRUE(installedList(app).rows().empty());
      EXPECT_TRUE(names("C:\\Orvex\\Backups").empty());
    }
  }
}

// Installs a scenery of that name as the user would.
void installScenery(Orvex& app, const std::string& name) {
  app.frm.cmdRefresh.click();
  app.frm.txtSceneryName.setText(name);
  app.frm.optSceneryDefault.setValue(true);
  app.frm.Command1.click();
}

TEST_F(RecordsTest, SceneryListsOfEveryEncodingAndLineEndComeBackByteForByte) {
  struct Case {
    const char* what;
    Encoding encoding;
    std::string end;
    bool lastLineEnded;
  };
  const Case cases[] = {
      {"8-bit, CR LF", Encoding::EightBit, "\r\n", true},
      {"8-bit, CR only", Encoding::EightBit, "\r", true},
      {"8-bit, LF, no last line end", Encoding::EightBit, "\n", false},
      {"UTF-8 without a mark, LF", Encoding::Utf8, "\n", true},
      {"UTF-8 with a mark, CR LF", Encoding::Utf8Mark, "\r\n", true},
      {"UTF-16 little-endian, CR LF", Encoding::Utf16Le, "\r\n", true},
      {"UTF-16 little-endian, no last line end", Encoding::Utf16Le, "\r\n", false},
      {"UTF-16 big-endian, LF", Encoding::Utf16Be, "\n", true},
  };
  for (const Case& c : cases) {
    for (bool firstFirst : {true, false}) {
      SCOPED_TRACE(std::string(c.what) + (firstFirst ? ", first off first" : ", last off first"));
      Orvex& app = freshStart(Kind::Scenery, false);
      const std::string& e = c.end;
      const std::string lines = "[General]" + e + "Title=Z\xfcrich" + e + e + "[Area.007]" + e +
                                "Local=Scenery\\Z\xfcrich" + e + "Layer=7" +
                                (c.lastLineEnded ? e : "");
      write("C:\\FS98\\Scenery.cfg", encoded(lines, c.encoding, true));
      const Files before = snapshot();
      const auto entry = [&](int number, const std::string& name) {
        return " " + e + "[Area.00" + std::to_string(number) + "]" + e + "Title=" + name + e +
               "Local=SCENERY\\" + name + "\\Scenery" + e + "Active=TRUE" + e +
               "Layer=" + std::to_string(number) + e;
      };

      // The second is numbered from the first one's area, read in the list's encoding.
      for (const std::string name : {"Caf\xe9", "Second"}) {
        unpack(Kind::Scenery);
        installScenery(app, name);
      }
      ASSERT_EQ(tk_.countCaption("Success!"), 2);
      EXPECT_EQ(read("C:\\FS98\\Scenery.cfg"),
                encoded(lines, c.encoding, true) +
                    encoded((c.lastLineEnded ? "" : e) + entry(8, "Caf\xe9") + entry(9, "Second"),
                            c.encoding));

      // The other area stays, with its separator line.
      press(app, firstFirst ? "Caf\xe9" : "Second", app.frm.cmdUninstall);
      EXPECT_EQ(read("C:\\FS98\\Scenery.cfg"),
                encoded(lines, c.encoding, true) +
                    encoded((c.lastLineEnded ? "" : e) +
                                (firstFirst ? entry(9, "Second") : entry(8, "Caf\xe9")),
                            c.encoding));
      press(app, firstFirst ? "Second" : "Caf\xe9", app.frm.cmdUninstall);
      EXPECT_EQ(tk_.countCaption("Success!"), 4);
      EXPECT_EQ(snapshot(), before);
    }
  }
}

TEST_F(RecordsTest, RealSceneryListsComeBackByteForByteAsTheyAreAndInUtf16) {
  for (const std::string file :
       {"scenery/scenery_crlf.cfg", "real:scenery/fsx_acceleration_default_scenery.cfg",
        "real:scenery/fsx_localised_ids_scenery.cfg"}) {
    if (!fixtureAvailable(file)) continue;
    for (Encoding encoding : {Encoding::EightBit, Encoding::Utf16Le}) {
      SCOPED_TRACE(file);
      Orvex& app = freshStart(Kind::Scenery, false);
      write("C:\\FS98\\Scenery.cfg", encoded(fixtureText(file), encoding, true));
      const Files before = snapshot();
      unpack(Kind::Scenery);
      installScenery(app, kSceneryName);
      EXPECT_NE(read("C:\\FS98\\Scenery.cfg").find(encoded("Title=" + kSceneryName, encoding)),
                std::string::npos);
      press(app, kSceneryName, app.frm.cmdUninstall);
      EXPECT_EQ(snapshot(), before);
    }
  }
}

TEST_F(RecordsTest, TheListsBackupComesBackOrGoesWhateverTheOrderOfUninstalls) {
  for (bool backupBefore : {true, false}) {
    for (bool firstFirst : {true, false}) {
      SCOPED_TRACE(std::string(backupBefore ? "a backup before" : "no backup before") +
                   (firstFirst ? ", first off first" : ", last off first"));
      Orvex& app = freshStart(Kind::Scenery, false);
      if (!backupBefore) stdfs::remove(host("C:\\FS98\\SceneryCfg.bku"));
      const Files before = snapshot();
      const std::string list = read("C:\\FS98\\Scenery.cfg");
      for (const char* name : {"One", "Two"}) {
        unpack(Kind::Scenery);
        installScenery(app, name);
      }
      const std::string afterOne = read("C:\\FS98\\SceneryCfg.bku");
      ASSERT_NE(afterOne, list);
      // The later install owns the file's bytes while it stays; without it, the earlier one's
      // come back.
      press(app, firstFirst ? "One" : "Two", app.frm.cmdUninstall);
      EXPECT_EQ(read("C:\\FS98\\SceneryCfg.bku"), firstFirst ? afterOne : list);
      press(app, firstFirst ? "Two" : "One", app.frm.cmdUninstall);
      EXPECT_EQ(snapshot(), before);
      EXPECT_TRUE(names("C:\\Orvex\\Backups").empty());
    }
  }
}

TEST_F(RecordsTest, AFileChangedSinceIsAskedAboutFirst) {
  struct Case {
    std::deque<MsgAnswer> answers;
    int questions;
    std::string eng, rpm;  // FS98\Sound\eng.wav (replaced) and rpm.wav (new) afterwards
    size_t rowsLeft;
  };
  const Case cases[] = {
      {{MsgAnswer::Yes, MsgAnswer::Yes, MsgAnswer::Yes}, 2, "old engine", "", 0},
      {{MsgAnswer::Yes, MsgAnswer::YesToAll}, 1, "old engine", "", 0},
      {{MsgAnswer::Yes, MsgAnswer::No, MsgAnswer::No}, 2, "mine", "mine too", 1},
      {{MsgAnswer::Yes, MsgAnswer::Cancel}, 1, "mine", "mine too", 1},
  };
  for (const Case& c : cases) {
    Orvex& app = freshStart(Kind::Sound, false);
    unpack(Kind::Sound);
    installAsTheUserWould(app, Kind::Sound);
    write("C:\\FS98\\Sound\\eng.wav", "mine");
    write("C:\\FS98\\Sound\\rpm.wav", "mine too");
    tk_.boxes.clear();
    tk_.answers = c.answers;
    press(app, "C:\\FS98\\Sound", app.frm.cmdUninstall);
    EXPECT_EQ(tk_.countCaption("Uninstall"), 1 + c.questions);
    EXPECT_EQ(read("C:\\FS98\\Sound\\eng.wav"), c.eng);
    EXPECT_EQ(exists("C:\\FS98\\Sound\\rpm.wav") ? read("C:\\FS98\\Sound\\rpm.wav") : "", c.rpm);
    EXPECT_EQ(installedList(app).rows().size(), c.rowsLeft);
    if (c.rowsLeft) {
      EXPECT_EQ(installedList(app).rows()[0][5], "changed since");
    }
  }

  // Changed while a question about another file is up: asked about too.
  {
    Orvex& app = freshStart(Kind::Sound, false);
    unpack(Kind::Sound);
    installAsTheUserWould(app, Kind::Sound);
    write("C:\\FS98\\Sound\\rpm.wav", "mine too");
    tk_.boxes.clear();
    tk_.answers = {MsgAnswer::Yes, MsgAnswer::Yes, MsgAnswer::No};
    int questions = 0;
    tk_.onQuestion = [&] {
      if (++questions == 2) write("C:\\FS98\\Sound\\eng.wav", "mine");
    };
    press(app, "C:\\FS98\\Sound", app.frm.cmdUninstall);
    tk_.onQuestion = nullptr;
    EXPECT_EQ(tk_.countCaption("Uninstall"), 3);
    EXPECT_EQ(read("C:\\FS98\\Sound\\eng.wav"), "mine");
    EXPECT_FALSE(exists("C:\\FS98\\Sound\\rpm.wav"));
  }

  // Touched without a change of its bytes: the digest taken while the program was idle says
  // it is what the install left, and nothing is asked.
  Orvex& app = freshStart(Kind::Sound, false);
  unpack(Kind::Sound);
  installAsTheUserWould(app, Kind::Sound);
  while (app.frm.tmrDigest.running()) app.frm.tmrDigest.tick();
  const std::string eng = host("C:\\FS98\\Sound\\eng.wav");
  const struct timespec times[2] = {{0, UTIME_NOW}, {12345, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, eng.c_str(), times, 0), 0);
  tk_.boxes.clear();
  press(app, "C:\\FS98\\Sound", app.frm.cmdUninstall);
  EXPECT_EQ(tk_.countCaption("Uninstall"), 1);
  EXPECT_EQ(read("C:\\FS98\\Sound\\eng.wav"), "old engine");
}

TEST_F(RecordsTest, InstallsOverTheSameGaugeComeOffInAnyOrder) {
  for (bool firstFirst : {true, false}) {
    SCOPED_TRACE(firstFirst ? "the first uninstalled first" : "the second uninstalled first");
    Orvex& app = freshStart(Kind::Panel, false);
    for (const char* panel : {"One", "Two"}) {
      write(kAsm + "panel.cfg", "[Window00]\r\nfile=panel.bmp\r\n");
      write(kAsm + "Main.gau", std::string("gauge ") + panel);
      write(kAsm + "new.gau", std::string("new ") + panel);
      app.frm.cmdRefresh.click();
      app.frm.optFSCONV.setValue(true);
      app.frm.txtPanelName.setText(panel);
      app.frm.cmdPanelInstall.click();
    }
    ASSERT_EQ(read("C:\\FS98\\Gauges\\Main.gau"), "gauge Two");
    const std::string one = "C:\\FS98\\Aircraft\\FSFSCONV\\Panel.One";
    const std::string two = "C:\\FS98\\Aircraft\\FSFSCONV\\Panel.Two";
    press(app, firstFirst ? one : two, app.frm.cmdUninstall);
    // The later install's gauges stay while it does; the earlier one's come back without it.
    EXPECT_EQ(read("C:\\FS98\\Gauges\\Main.gau"), firstFirst ? "gauge Two" : "gauge One");
    EXPECT_EQ(read("C:\\FS98\\Gauges\\new.gau"), firstFirst ? "new Two" : "new One");
    press(app, firstFirst ? two : one, app.frm.cmdUninstall);
    EXPECT_EQ(read("C:\\FS98\\Gauges\\Main.gau"), "old gauge");
    EXPECT_FALSE(exists("C:\\FS98\\Gauges\\new.gau"));
    EXPECT_TRUE(installedList(app).rows().empty());
  }
}

TEST_F(RecordsTest, AFolderManyFilesGoIntoIsListedAndItsFilesSpeltOtherwiseAreKept) {
  Orvex& app = freshStart(Kind::Panel, false);
  write("C:\\FS98\\Gauges\\G3.GAU", "the simulator's own");
  const Files before = snapshot();
  write(kAsm + "panel.cfg", "[Window00]\r\nfile=panel.bmp\r\n");
  for (int g = 0; g < 12; ++g) write(kAsm + "g" + std::to_string(g) + ".gau", "new");
  app.frm.cmdRefresh.click();
  app.frm.optFSCONV.setValue(true);
  app.frm.txtPanelName.setText("Many");
  app.frm.cmdPanelInstall.click();
  ASSERT_EQ(read("C:\\FS98\\Gauges\\G3.GAU"), "new");
  press(app, "C:\\FS98\\Aircraft\\FSFSCONV\\Panel.Many", app.frm.cmdUninstall);
  EXPECT_EQ(snapshot(), before);
}

TEST_F(RecordsTest, AnUninstallBrokenOffTellsAnOriginalPutBackByItsBytes) {
  // The add-on's eng.wav has the original's size; here it also has its time, as when both were
  // written within one tick of the clock. Not put back yet, it must stay in the record.
  Orvex& app = freshStart(Kind::Sound, false);
  unpack(Kind::Sound);
  installAsTheUserWould(app, Kind::Sound);
  ASSERT_EQ(read("C:\\FS98\\Sound\\eng.wav"), "new engine");
  SqliteRecordStore store(host("C:\\Orvex\\Installs.db"));
  InstallRecord record = store.installs().at(0);
  std::string backup;
  for (const Change& c : store.changes(record.id))
    if (dos::fileName(c.path) == "eng.wav") backup = c.backup;
  ASSERT_FALSE(backup.empty());
  struct stat kept {};
  ASSERT_EQ(::stat(host(backup).c_str(), &kept), 0);
  const struct timespec times[2] = {kept.st_mtim, kept.st_mtim};
  ASSERT_EQ(::utimensat(AT_FDCWD, host("C:\\FS98\\Sound\\eng.wav").c_str(), times, 0), 0);
  record.state = InstallState::Uninstalling;
  store.updateInstall(record);

  Undo undo(store, *faulty_);
  undo.keepAsItStands(record.id);
  undo.uninstall(record.id);
  EXPECT_EQ(read("C:\\FS98\\Sound\\eng.wav"), "old engine");
}

TEST_F(RecordsTest, AFileThatAppearsAfterThePlanIsKeptBeforeItIsReplaced) {
  Orvex& app = freshStart(Kind::Sound, false);
  unpack(Kind::Sound);
  faulty_->beforeOperation = [&](const std::string& operation, const std::string& path) {
    if (operation == "transferNewFile" && path.find("rpm.wav") != std::string::npos)
      write("C:\\FS98\\Sound\\rpm.wav", "come since");
  };
  installAsTheUserWould(app, Kind::Sound);
  faulty_->beforeOperation = nullptr;
  ASSERT_EQ(read("C:\\FS98\\Sound\\rpm.wav"), "rpm");
  press(app, installedList(app).rows().at(0)[2], app.frm.cmdUninstall);
  EXPECT_EQ(read("C:\\FS98\\Sound\\rpm.wav"), "come since");
}

TEST_F(RecordsTest, OriginalsPutBackAreMadeLastingOnceBeforeTheirCopiesGo) {
  Orvex& app = freshStart(Kind::Sound, true);
  unpack(Kind::Sound);
  installAsTheUserWould(app, Kind::Sound);
  // p: an original put back, s: its folder made lasting, d: a kept copy dropped.
  std::string steps;
  faulty_->beforeOperation = [&](const std::string& operation, const std::string& path) {
    if (operation == "preserveFile") steps += 'p';
    if (operation == "syncFolder") steps += path == "C:\\FS98\\Sound" ? 's' : '?';
    if (operation == "deleteFile" && path.find("Backups") != std::string::npos) steps += 'd';
  };
  press(app, "C:\\FS98\\Sound", app.frm.cmdUninstall);
  faulty_->beforeOperation = nullptr;
  EXPECT_TRUE(std::regex_match(steps, std::regex("pp+sd+"))) << steps;
}

// Marks each transaction it commits with a 't' in a trace.
class TracedStore : public SqliteRecordStore {
 public:
  TracedStore(const std::string& hostPath, std::string& trace)
      : SqliteRecordStore(hostPath), trace_(trace) {}
  void transaction(const std::function<void()>& body) override {
    const bool outer = depth_++ == 0;
    try {
      SqliteRecordStore::transaction(body);
    } catch (...) {
      --depth_;
      throw;
    }
    --depth_;
    if (outer) trace_ += 't';
  }

 private:
  std::string& trace_;
  int depth_ = 0;
};

TEST_F(RecordsTest, TheFoldersAnInstallMakesArePlannedInOneTransaction) {
  for (const auto& [kind, folders] : {std::pair{Kind::Aircraft, 8}, {Kind::Scenery, 4}}) {
    SCOPED_TRACE(kindName(kind));
    std::string trace;
    records = [&](const std::string& hostPath) {
      return std::make_unique<TracedStore>(hostPath, trace);
    };
    Orvex& app = freshStart(kind, false);
    unpack(kind);
    faulty_->beforeOperation = [&](const std::string& operation, const std::string&) {
      if (operation == "mkDir") trace += 'm';
    };
    installAsTheUserWould(app, kind);
    faulty_->beforeOperation = nullptr;
    ASSERT_EQ(tk_.countCaption("Success!"), 1);
    const size_t first = trace.find('m');
    ASSERT_TRUE(first != std::string::npos && first > 0) << trace;
    EXPECT_EQ(trace.substr(first - 1, size_t(folders) + 1), "t" + std::string(size_t(folders), 'm'))
        << trace;
  }
}

TEST_F(RecordsTest, ForgettingHandsTheOriginalOnToALaterInstall) {
  Orvex& app = freshStart(Kind::Sound, false);
  for (const char* tag : {"first", "second"}) {
    unpack(Kind::Sound);
    write(kAsm + "eng.wav", tag);
    installAsTheUserWould(app, Kind::Sound);
  }
  ASSERT_EQ(installedList(app).rows().size(), 2u);
  // Newest first: the second install is on top; forget the first.
  installedList(app).setListIndex(1);
  app.frm.cmdForget.click();
  EXPECT_EQ(read("C:\\FS98\\Sound\\eng.wav"), "second");
  ASSERT_EQ(installedList(app).rows().size(), 1u);
  press(app, "C:\\FS98\\Sound", app.frm.cmdUninstall);
  EXPECT_EQ(read("C:\\FS98\\Sound\\eng.wav"), "old engine");
  EXPECT_TRUE(names("C:\\Orvex\\Backups").empty());
}

TEST_F(RecordsTest, AnUninstallThatFailsHalfWayIsFinishedByTheNext) {
  Orvex& app = freshStart(Kind::Aircraft, false);
  const Files before = snapshot();
  unpack(Kind::Aircraft);
  for (int n = 0; n < 5; ++n) write(kAsm + "t" + std::to_string(n) + ".bmp", "t");
  installAsTheUserWould(app, Kind::Aircraft);
  ASSERT_EQ(installedList(app).rows().size(), 1u);
  const std::string name = installedList(app).rows()[0][2];
  // The third texture to go cannot be removed: the textures before it are gone, the rest stay.
  int textures = 0;
  faulty_->beforeOperation = [&](const std::string& operation, const std::string& path) {
    if (operation == "deleteFile" && path.find("Texture.Blue\\t") != std::string::npos &&
        ++textures == 3)
      faulty_->failAt(1, err::PathFileAccess);
  };
  tk_.boxes.clear();
  tk_.answers = {MsgAnswer::Yes};
  press(app, name, app.frm.cmdUninstall);
  faulty_->beforeOperation = nullptr;
  faulty_->failAt(0, 0);
  EXPECT_EQ(tk_.boxes.back().caption, "Uninstall Error");
  const Files stopped = snapshot();
  for (int n = 0; n < 5; ++n)
    EXPECT_EQ(stopped.count("FS98/Aircraft/Test Plane/Texture.Blue/t" + std::to_string(n) + ".bmp"),
              n < 3 ? 1u : 0u)
        << n;
  tk_.answers = {MsgAnswer::Yes, MsgAnswer::YesToAll};
  press(app, name, app.frm.cmdUninstall);
  EXPECT_EQ(tk_.boxes.back().caption, "Success!");
  EXPECT_EQ(snapshot(), before);
  EXPECT_TRUE(installedList(app).rows().empty());
}

TEST_F(RecordsTest, AFullDiskBeforeABackupStopsTheInstallWithTheFileUntouched) {
  Orvex& app = freshStart(Kind::Sound, false);
  const Files before = snapshot();
  unpack(Kind::Sound);
  faulty_->failFirst("preserveFile", err::DiskFull);
  installAsTheUserWould(app, Kind::Sound);
  faulty_->failAt(0, 0);
  ASSERT_EQ(tk_.countCaption("System Error"), 1);
  EXPECT_EQ(tk_.boxes.back().text.rfind("The file C:\\FS98\\Sound\\eng.wav could not be kept", 0),
            0u)
      << tk_.boxes.back().text;
  EXPECT_EQ(tk_.countCaption("Success!"), 0);
  EXPECT_EQ(read("C:\\FS98\\Sound\\eng.wav"), "old engine");
  // It stopped at its first change, and leaves no record of nothing.
  EXPECT_EQ(snapshot(), before);
  EXPECT_TRUE(installedList(app).rows().empty());
}

TEST_F(RecordsTest, RecordsThatCannotBeKeptAreAskedAboutAtEveryInstall) {
  records = [](const std::string&) -> std::unique_ptr<RecordStore> {
    throw RecordError("Installs.db: file is not a database");
  };
  Orvex& app = freshStart(Kind::Sound, false);
  const Files before = snapshot();
  unpack(Kind::Sound);
  tk_.answers = {MsgAnswer::No};
  installAsTheUserWould(app, Kind::Sound);
  EXPECT_EQ(snapshot(), before);
  tk_.answers = {MsgAnswer::Yes};
  installAsTheUserWould(app, Kind::Sound);
  EXPECT_EQ(tk_.countCaption("Success!"), 1);
  EXPECT_EQ(tk_.countCaption("Install Records"), 2);
  for (const ShownBox& box : tk_.boxes) {
    if (box.caption == "Install Records") {
      EXPECT_NE(box.text.find("could then not be put back"), std::string::npos);
    }
  }
  EXPECT_TRUE(installedList(app).rows().empty());
  EXPECT_NE(app.frm.labInstalledNote.caption().find("file is not a database"), std::string::npos);
}

}  // namespace
}  // namespace orvex::test

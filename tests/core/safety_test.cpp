// The promises kept under crafted and failing input: no link in the assembly area leads the
// program out of it, no file is replaced without the backup its uninstall needs, an uninstall
// never claims an original it could not put back, and a full disk loses nothing of the add-on.
#include <sqlite3.h>
#include <sys/stat.h>

#include <fstream>

#include "host/libarchive_reader.h"
#include "host/sqlite_record_store.h"
#include "support/archive_builder.h"
#include "support/install_world.h"

namespace orvex::test {
namespace {

namespace stdfs = std::filesystem;

// A store that fails, as a locked or full database does, from its failFrom-th transaction on.
class FailingStore : public SqliteRecordStore {
 public:
  using SqliteRecordStore::SqliteRecordStore;
  void transaction(const std::function<void()>& body) override {
    if (depth_ == 0 && ++count >= failFrom)
      throw RecordError("The install records in Installs.db cannot be used: disk I/O error.");
    ++depth_;
    try {
      SqliteRecordStore::transaction(body);
    } catch (...) {
      --depth_;
      throw;
    }
    --depth_;
  }
  int count = 0;
  int failFrom = 1 << 30;

 private:
  int depth_ = 0;
};

class SafetyTest : public InstallWorld {
 protected:
  void SetUp() override {
    InstallWorld::SetUp();
    records = [](const std::string& hostPath) {
      return std::make_unique<SqliteRecordStore>(hostPath, 200);
    };
  }

  std::vector<std::string> linksIn(const std::string& dosDir) const {
    std::vector<std::string> found;
    for (const auto& e : stdfs::directory_iterator(host(dosDir)))
      if (e.is_symlink()) found.push_back(e.path().filename().string());
    return found;
  }

  const ShownBox* boxCaptioned(const std::string& caption) const {
    for (const ShownBox& box : tk_.boxes)
      if (box.caption == caption) return &box;
    return nullptr;
  }
};

TEST_F(SafetyTest, LinksInTheAssemblyAreaAreRemovedAsLinksAndNeverFollowed) {
  LibArchiveReader reader;
  const std::map<std::string, std::function<void(Orvex&)>> operations = {
      {"quit", [](Orvex& app) { app.frm.cmdQuit.click(); }},
      {"cancel", [](Orvex& app) { app.frm.cmdCancelLoad.click(); }},
      {"install, then quit",
       [](Orvex& app) {
         installAsTheUserWould(app, Kind::Aircraft);
         app.frm.cmdQuit.click();
       }},
      {"open an archive, then quit",
       [&](Orvex& app) {
         const std::string zip = root_ + "/../download.zip";
         // One of its files has the name of a link to a protected file.
         buildArchive(zip, "zip", {{"ro.cfg", "from the archive"}});
         app.archives = &reader;
         app.archive.openArchive(zip);
         EXPECT_EQ(read(kAsm + "ro.cfg"), "from the archive");
         // A file at the place of the staging folder goes as well.
         write(kAsm + ".orvex-extract", "in the way");
         app.archive.openArchive(zip);
         EXPECT_FALSE(exists(kAsm + ".orvex-extract"));
         EXPECT_EQ(tk_.countCaption("Open Archive"), 2);
         stdfs::remove(zip);
         app.frm.cmdQuit.click();
       }},
  };
  for (const auto& [name, operation] : operations) {
    SCOPED_TRACE(name);
    Orvex& app = freshStart(Kind::Aircraft, false);
    unpack(Kind::Aircraft);
    const std::string home = root_ + "/home/ann";
    write("C:\\home\\ann\\keep\\a.txt", "the user's");
    write("C:\\home\\ann\\keep\\ro.txt", "protected");
    chmod((home + "/keep/ro.txt").c_str(), 0444);
    const std::string assembly = host("C:\\Orvex\\Assembly");
    for (const auto& [link, target] :
         std::map<std::string, std::string>{{"Panel", ".."},
                                            {"Model", home + "/keep"},
                                            {"Texture", home},
                                            {"notes.txt", home + "/keep/a.txt"},
                                            {"ro.cfg", home + "/keep/ro.txt"},
                                            {"gone.bmp", home + "/nothing"},
                                            {".orvex-extract", home + "/keep"}})
      stdfs::create_symlink(target, assembly + "/" + link);
    const Files outside = treeOf(home, "");
    const Files program = {{"FileCopy.avi", read("C:\\Orvex\\FileCopy.avi")}};

    operation(app);
    EXPECT_EQ(treeOf(home, ""), outside);
    EXPECT_EQ(read("C:\\Orvex\\FileCopy.avi"), program.at("FileCopy.avi"));
    EXPECT_TRUE(exists("C:\\Orvex\\Installs.db"));
    EXPECT_TRUE(linksIn("C:\\Orvex\\Assembly").empty());
    EXPECT_EQ(tk_.countCaption("System Error"), 0);
    if (name.rfind("install", 0) == 0) {
      EXPECT_EQ(tk_.countCaption("Success!"), 1);
      const ShownBox* told = boxCaptioned("Links Passed Over");
      ASSERT_NE(told, nullptr);
      for (const char* link : {"notes.txt", "ro.cfg", "gone.bmp"})
        EXPECT_NE(told->text.find(link), std::string::npos) << told->text;
      EXPECT_FALSE(exists("C:\\FS98\\Aircraft\\Test Plane\\Documentation\\notes.txt"));
      EXPECT_FALSE(exists("C:\\FS98\\Aircraft\\Test Plane\\Unknown\\ro.cfg"));
    }
  }
}

TEST_F(SafetyTest, RecordsLockedAtTheStartChangeNothingUnlessTheUserSaysSo) {
  for (const MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Yes}) {
    SCOPED_TRACE(answer == MsgAnswer::Yes ? "install unrecorded" : "do not install");
    Orvex& app = freshStart(Kind::Sound, false);
    const Files before = snapshot();
    unpack(Kind::Sound);
    sqlite3* lock = nullptr;
    sqlite3_open(host("C:\\Orvex\\Installs.db").c_str(), &lock);
    ASSERT_EQ(
        sqlite3_exec(lock, "BEGIN IMMEDIATE; DELETE FROM installs", nullptr, nullptr, nullptr),
        SQLITE_OK);
    tk_.answers = {answer};
    installAsTheUserWould(app, Kind::Sound);
    sqlite3_close(lock);
    const ShownBox* asked = boxCaptioned("Install Records");
    ASSERT_NE(asked, nullptr);
    EXPECT_NE(asked->text.find("Installs.db"), std::string::npos) << asked->text;
    EXPECT_NE(asked->text.find("database is locked"), std::string::npos) << asked->text;
    EXPECT_NE(asked->text.find("Nothing has been changed"), std::string::npos) << asked->text;
    EXPECT_NE(asked->text.find("could then not be put back"), std::string::npos) << asked->text;
    EXPECT_EQ(tk_.countCaption("Success!"), answer == MsgAnswer::Yes ? 1 : 0);
    if (answer == MsgAnswer::No) {
      EXPECT_EQ(snapshot(), before);
      EXPECT_EQ(read(kAsm + "eng.wav"), "new engine");
    } else {
      EXPECT_EQ(read("C:\\FS98\\Sound\\eng.wav"), "new engine");
    }
    EXPECT_TRUE(installedList(app).rows().empty());
  }
}

TEST_F(SafetyTest, AnUninstallWithTheRecordsLockedDoesNotStart) {
  Orvex& app = freshStart(Kind::Sound, false);
  unpack(Kind::Sound);
  installAsTheUserWould(app, Kind::Sound);
  const Files installed = snapshot();
  sqlite3* lock = nullptr;
  sqlite3_open(host("C:\\Orvex\\Installs.db").c_str(), &lock);
  ASSERT_EQ(sqlite3_exec(lock, "BEGIN IMMEDIATE; DELETE FROM installs WHERE id < 0", nullptr,
                         nullptr, nullptr),
            SQLITE_OK);
  tk_.boxes.clear();
  press(app, "C:\\FS98\\Sound", app.frm.cmdUninstall);
  sqlite3_close(lock);
  ASSERT_EQ(tk_.boxes.back().caption, "Uninstall Error");
  EXPECT_NE(tk_.boxes.back().text.find("did not start"), std::string::npos);
  EXPECT_NE(tk_.boxes.back().text.find("Installs.db"), std::string::npos);
  EXPECT_NE(tk_.boxes.back().text.find("Nothing was changed."), std::string::npos);
  EXPECT_EQ(snapshot(), installed);
  press(app, "C:\\FS98\\Sound", app.frm.cmdUninstall);
  EXPECT_EQ(tk_.boxes.back().caption, "Success!");
}

TEST_F(SafetyTest, RecordsThatFailHalfWayStopTheInstallAndWhatItDidIsUndoneAtTheNextStart) {
  FailingStore* store = nullptr;
  records = [&](const std::string& hostPath) {
    auto made = std::make_unique<FailingStore>(hostPath);
    store = made.get();
    return made;
  };
  // How many transactions a whole install writes; then a failure at each of them in turn.
  Orvex& counting = freshStart(Kind::Aircraft, true);
  unpack(Kind::Aircraft);
  const int opened = store->count;
  installAsTheUserWould(counting, Kind::Aircraft);
  const int total = store->count - opened;
  ASSERT_GT(total, 2);
  for (int failing = 1; failing <= total; ++failing) {
    SCOPED_TRACE("transaction " + std::to_string(failing));
    Orvex& app = freshStart(Kind::Aircraft, true);
    const Files before = snapshot();
    unpack(Kind::Aircraft);
    store->failFrom = store->count + failing;
    tk_.answerTo = {{"Install Records", MsgAnswer::No}};  // not on without records
    installAsTheUserWould(app, Kind::Aircraft);
    EXPECT_EQ(tk_.countCaption("Success!"), 0);
    EXPECT_EQ(tk_.countCaption("Install Records") + tk_.countCaption("System Error"), 1);
    // The next start, with records that work, undoes what the install did.
    app_.reset();
    app_ = std::make_unique<Orvex>(*faulty_, tk_, shell_);
    app_->openRecordStore = [](const std::string& hostPath) {
      return std::make_unique<SqliteRecordStore>(hostPath);
    };
    tk_.answerTo.clear();
    app_->Form_Load();
    EXPECT_EQ(snapshot(), before);
  }
}

TEST_F(SafetyTest, AnUninstallWhoseBackupsWentOrChangedAsksFirstAndNeverClaimsThem) {
  const std::map<std::string, std::function<void(const std::string& backup)>> damages = {
      {"gone", [](const std::string&) {}},
      {"same size, other bytes", [](const std::string& b) { std::ofstream(b) << "odd engine"; }},
      {"cut short", [](const std::string& b) { std::ofstream(b) << "old"; }},
  };
  for (const auto& [damage, doDamage] : damages) {
    for (const MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Yes}) {
      SCOPED_TRACE(damage + (answer == MsgAnswer::Yes ? ", go on" : ", cancel"));
      Orvex& app = freshStart(Kind::Sound, false);
      unpack(Kind::Sound);
      installAsTheUserWould(app, Kind::Sound);
      std::string backup;
      for (const auto& e : stdfs::recursive_directory_iterator(host("C:\\Orvex\\Backups")))
        if (e.is_regular_file()) backup = e.path().string();
      ASSERT_FALSE(backup.empty());
      if (damage == "gone")
        stdfs::remove_all(host("C:\\Orvex\\Backups"));
      else
        doDamage(backup);
      const Files installed = snapshot();
      tk_.boxes.clear();
      tk_.answers = {MsgAnswer::Yes, answer};
      press(app, "C:\\FS98\\Sound", app.frm.cmdUninstall);
      ASSERT_GE(tk_.boxes.size(), 2u);
      const std::string& asked = tk_.boxes[1].text;
      EXPECT_NE(asked.find("C:\\FS98\\Sound\\eng.wav: its backup"), std::string::npos) << asked;
      EXPECT_NE(asked.find(damage == "gone" ? "is missing" : "was changed since it was taken"),
                std::string::npos)
          << asked;
      EXPECT_EQ(tk_.countCaption("Success!"), 0);
      EXPECT_EQ(read("C:\\FS98\\Sound\\eng.wav"), "new engine");
      EXPECT_EQ(installedList(app).rows().size(), 1u);
      if (answer == MsgAnswer::No) {
        EXPECT_EQ(snapshot(), installed);
        continue;
      }
      EXPECT_NE(tk_.boxes.back().text.find("was not uninstalled completely"), std::string::npos);
      EXPECT_NE(tk_.boxes.back().text.find("C:\\FS98\\Sound\\eng.wav"), std::string::npos);
      EXPECT_FALSE(exists("C:\\FS98\\Sound\\Documentation\\readme.txt"));
    }
  }
}

TEST_F(SafetyTest, AFullDiskStopsTheInstallThereAndLosesNothingOfTheAddOn) {
  for (const long long room : {0LL, 90LL, 130LL}) {
    for (const MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Yes}) {
      SCOPED_TRACE(std::to_string(room) + " bytes" + (answer == MsgAnswer::Yes ? ", undone" : ""));
      Orvex& app = freshStart(Kind::Aircraft, false);
      const Files before = snapshot();
      unpack(Kind::Aircraft);
      faulty_->fillAfter(room, "C:\\FS98");
      tk_.answerTo = {{"Install Stopped", answer}};
      installAsTheUserWould(app, Kind::Aircraft);
      faulty_->fillAfter(-1);
      const ShownBox* stopped = boxCaptioned("Install Stopped");
      ASSERT_NE(stopped, nullptr);
      EXPECT_EQ(stopped->text.rfind("Error 61 Disk full\rC:\\FS98\\", 0), 0u) << stopped->text;
      EXPECT_NE(stopped->text.find(" bytes free, and the files still to be installed need "),
                std::string::npos)
          << stopped->text;
      EXPECT_EQ(stopped->buttons, MsgButtons::YesNo);
      EXPECT_EQ(tk_.countCaption("Success!") + tk_.countCaption("Install Panel Errors:") +
                    tk_.countCaption("System Error"),
                0);
      // Each file of the add-on is installed or still in the assembly area, never neither.
      const Files addOnFiles = addOn(Kind::Aircraft);
      size_t waiting = 0;
      for (const auto& [name, bytes] : addOnFiles)
        if (exists(kAsm + name) && read(kAsm + name) == bytes) ++waiting;
      if (answer == MsgAnswer::Yes) {
        EXPECT_EQ(waiting, addOnFiles.size());
        EXPECT_EQ(snapshot(), before);
        EXPECT_TRUE(installedList(app).rows().empty());
        continue;
      }
      for (const auto& [target, name] : installedFiles(Kind::Aircraft))
        EXPECT_NE(exists(target) && read(target) == addOnFiles.at(name), exists(kAsm + name))
            << name;
      EXPECT_LT(waiting, room == 0 ? addOnFiles.size() + 1 : addOnFiles.size());
      press(app, "Test Plane", app.frm.cmdUninstall);
      EXPECT_EQ(snapshot(), before);
    }
  }
}

}  // namespace
}  // namespace orvex::test

// Every install of every kind, run again and again with one file operation failing each time
// (every operation in turn, with every error the handlers know and a full disk), answering
// Yes to every question in one round and No in another. Whatever fails, the simulator's tree,
// its scenery list and the settings must come through whole, and the next install must work.
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "platform/dos_path.h"
#include "platform/errors.h"
#include "support/faulty_file_system.h"
#include "support/sandbox.h"

namespace orvex::test {
namespace {

namespace stdfs = std::filesystem;

enum class Kind { Aircraft, Panel, Sound, Scenery };

const char* kindName(Kind kind) {
  switch (kind) {
    case Kind::Aircraft: return "aircraft";
    case Kind::Panel: return "panel";
    case Kind::Sound: return "sound";
    case Kind::Scenery: return "scenery";
  }
  return "";
}

const std::string kAsm = "C:\\Orvex\\Assembly\\";
const std::string kSceneryName = "Test Scenery";
const std::string kSettings = "\"C:\\FS98\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"FS98\"\r\n1\r\n";

using Files = std::map<std::string, std::string>;  // name -> bytes

// The files of each kind of add-on as they arrive in the assembly area. Main.gau and eng.wav
// carry the names of files the simulator has already, which an install may replace.
Files addOn(Kind kind) {
  switch (kind) {
    case Kind::Aircraft:
      return {{"Aircraft.cfg",
               "[fltsim.0]\r\ntitle=Test Plane\r\nmodel=\r\npanel=\r\nsound=\r\ntexture=Blue\r\n"},
              {"Model.cfg", "model cfg"},
              {"plane.mdl", "model"},
              {"panel.cfg", "[Window00]\r\nfile=panel.bmp\r\n"},
              {"panel.bmp", "panel bitmap"},
              {"sound.cfg", "sound cfg"},
              {"engine.wav", "aircraft engine"},
              {"skin.bmp", "skin"},
              {"readme.txt", "read me"},
              {"Main.gau", "new gauge"},
              {"view.jpg", "picture"},
              {"extra.xyz", "extra"}};
    case Kind::Panel:
      return {{"panel.cfg", "[Window00]\r\nfile=panel.bmp\r\n"},
              {"panel.bmp", "panel bitmap"},
              {"Main.gau", "new gauge"},
              {"eng.wav", "new engine"},
              {"readme.txt", "read me"}};
    case Kind::Sound:
      return {{"sound.cfg", "[ENGINE]\r\nfile=eng\r\n"},
              {"eng.wav", "new engine"},
              {"rpm.wav", "rpm"},
              {"readme.txt", "read me"}};
    case Kind::Scenery:
      return {{"alps.bgl", "alps"}, {"peaks.bgl", "peaks"}, {"snow.bmp", "snow"}, {"LICENSE", "l"}};
  }
  return {};
}

// Where a clean install puts some of the add-on's files: DOS path -> name in the add-on.
Files installedFiles(Kind kind) {
  const std::string plane = "C:\\FS98\\Aircraft\\Test Plane\\";
  const std::string panel = "C:\\FS98\\Aircraft\\FSFSCONV\\Panel.Test\\";
  const std::string scenery = "C:\\FS98\\Scenery\\" + kSceneryName + "\\";
  switch (kind) {
    case Kind::Aircraft:
      return {{plane + "Aircraft.cfg", "Aircraft.cfg"},
              {plane + "Model\\plane.mdl", "plane.mdl"},
              {plane + "Panel\\panel.bmp", "panel.bmp"},
              {plane + "Texture.Blue\\skin.bmp", "skin.bmp"},
              {plane + "Unknown\\extra.xyz", "extra.xyz"},
              {plane + "Image\\view.jpg", "view.jpg"},
              {"C:\\FS98\\Gauges\\Main.gau", "Main.gau"}};
    case Kind::Panel:
      return {{panel + "panel.bmp", "panel.bmp"},
              {panel + "PanelDocs\\readme.txt", "readme.txt"},
              {"C:\\FS98\\Gauges\\Main.gau", "Main.gau"},
              {"C:\\FS98\\Sound\\eng.wav", "eng.wav"}};
    case Kind::Sound:
      return {{"C:\\FS98\\Sound\\eng.wav", "eng.wav"},
              {"C:\\FS98\\Sound\\Documentation\\readme.txt", "readme.txt"}};
    case Kind::Scenery:
      return {{scenery + "Scenery\\alps.bgl", "alps.bgl"},
              {scenery + "Texture\\snow.bmp", "snow.bmp"},
              {scenery + "Unknown\\LICENSE", "LICENSE"}};
  }
  return {};
}

class FaultInjection : public Sandbox {
 protected:
  // Hundreds of installs: in memory where the machine has a memory file system, so that the
  // syncs of replaced files do not wait for a disk.
  void SetUp() override {
    Sandbox::SetUp();
    std::error_code ec;
    if (!stdfs::is_directory("/dev/shm", ec)) return;
    std::string tmpl = "/dev/shm/orvex-faults-XXXXXX";
    if (!mkdtemp(tmpl.data())) return;
    stdfs::remove_all(root_, ec);
    root_ = tmpl;
  }

  // Everything under the sandbox but the assembly area: relative host path -> bytes, with
  // folders marked by a trailing "/".
  Files snapshot() const {
    Files tree;
    const stdfs::path assembly = stdfs::path(root_) / "Orvex" / "Assembly";
    for (auto it = stdfs::recursive_directory_iterator(root_); it != stdfs::end(it); ++it) {
      if (it->path() == assembly) {
        it.disable_recursion_pending();
        continue;
      }
      const std::string rel = stdfs::relative(it->path(), root_).string();
      if (it->is_directory())
        tree[rel + "/"] = "";
      else
        tree[rel] = hostRead(it->path());
    }
    return tree;
  }

  static std::string hostRead(const stdfs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }

  // A fresh world: the program's root, FS98 with files of its own, and the program started.
  // With an earlier version installed, the add-on's folders are there already, with old
  // files, one of them protected, and the scenery is listed.
  Orvex& freshStart(Kind kind, bool earlierVersion) {
    app_.reset();
    std::error_code ec;
    for (auto& e : stdfs::recursive_directory_iterator(root_, ec))
      stdfs::permissions(e.path(), stdfs::perms::owner_all, stdfs::perm_options::add, ec);
    for (auto& e : stdfs::directory_iterator(root_)) stdfs::remove_all(e.path());
    makeDir("C:\\Orvex\\Assembly");
    write("C:\\Orvex\\FileCopy.avi", "RIFF");
    write("C:\\Orvex\\Orvex.cfg", kSettings);
    makeSimulator("C:\\FS98", "Fltsim98.cfg");
    copyFixture("scenery/scenery_crlf.cfg", "C:\\FS98\\Scenery.cfg");
    write("C:\\FS98\\SceneryCfg.bku", "the backup of an earlier update");
    write("C:\\FS98\\Gauges\\Main.gau", "old gauge");
    write("C:\\FS98\\Gauges\\keep.gau", "another gauge");
    write("C:\\FS98\\Sound\\eng.wav", "old engine");
    write("C:\\FS98\\Sound\\keep.wav", "another sound");
    write("C:\\FS98\\Aircraft\\Other\\Aircraft.cfg", "another aircraft");
    makeDir("C:\\FS98\\Aircraft\\FSFSCONV");
    write("C:\\FS98\\Scenery\\World\\scenery\\world.bgl", "the world");
    if (earlierVersion) layEarlierVersion(kind);
    oldSceneryList_ = read("C:\\FS98\\Scenery.cfg");

    DriveMap map;
    map.add('c', root_);
    fs_ = std::make_unique<HostFileSystem>(map, root_ + "/Orvex");
    faulty_ = std::make_unique<FaultyFileSystem>(*fs_);
    tk_ = FakeToolkit();
    app_ = std::make_unique<Orvex>(*faulty_, tk_, shell_);
    app_->Form_Load();
    return *app_;
  }

  void layEarlierVersion(Kind kind) {
    std::string protectedFile;
    switch (kind) {
      case Kind::Aircraft: {
        const std::string plane = "C:\\FS98\\Aircraft\\Test Plane\\";
        write(plane + "Aircraft.cfg", "old aircraft cfg");
        write(plane + "Model\\plane.mdl", "old model");
        // The aircraft install passes over a file it cannot replace (the user is asked whether
        // to go on), so the protected file here is one the add-on does not bring.
        protectedFile = plane + "notes.txt";
        break;
      }
      case Kind::Panel:
        write("C:\\FS98\\Aircraft\\FSFSCONV\\Panel.Test\\PanelDocs\\readme.txt", "old");
        protectedFile = "C:\\FS98\\Aircraft\\FSFSCONV\\Panel.Test\\panel.bmp";
        break;
      case Kind::Sound: protectedFile = "C:\\FS98\\Sound\\rpm.wav"; break;
      case Kind::Scenery: {
        const std::string list = read("C:\\FS98\\Scenery.cfg");
        write("C:\\FS98\\Scenery.cfg", list + " \r\n[Area.900]\r\nTitle=" + kSceneryName +
                                           "\r\nLocal=SCENERY\\" + kSceneryName +
                                           "\\Scenery\r\nActive=TRUE\r\nLayer=900\r\n");
        write("C:\\FS98\\Scenery\\" + kSceneryName + "\\Unknown\\old.txt", "old");
        protectedFile = "C:\\FS98\\Scenery\\" + kSceneryName + "\\Scenery\\alps.bgl";
        break;
      }
    }
    write(protectedFile, "old version");
    std::error_code ec;
    stdfs::permissions(
        host(protectedFile),
        stdfs::perms::owner_write | stdfs::perms::group_write | stdfs::perms::others_write,
        stdfs::perm_options::remove, ec);
  }

  void unpack(Kind kind) {
    for (const auto& [name, bytes] : addOn(kind)) write(kAsm + name, bytes);
  }

  // What the user does for an install: Refresh, then the target and Install where the window
  // offers them.
  void installAsTheUserWould(Orvex& app, Kind kind) {
    app.frm.cmdRefresh.click();
    if (app.ended()) return;
    switch (kind) {
      case Kind::Aircraft:
        if (app.frm.cmdInstall.visible()) app.frm.cmdInstall.click();
        break;
      case Kind::Panel:
        if (!app.frm.frmPanelInstall.visible()) return;
        app.frm.optFSCONV.setValue(true);
        app.frm.txtPanelName.setText("Test");
        app.frm.cmdPanelInstall.click();
        break;
      case Kind::Sound:
        if (!app.frm.frmSound.visible()) return;
        app.frm.optSound.setValue(true);
        app.frm.cmdInstallSound.click();
        break;
      case Kind::Scenery:
        if (!app.frm.frmScenery.visible()) return;
        app.frm.txtSceneryName.setText(kSceneryName);
        app.frm.optSceneryDefault.setValue(true);
        app.frm.Command1.click();
        break;
    }
  }

  // Every file and folder of before is still there; a file keeps its bytes unless an add-on
  // file of its name replaced it, or it is the scenery list's backup.
  void expectNothingLost(const Files& before, Kind kind) {
    const Files after = snapshot();
    const Files files = addOn(kind);
    for (const auto& [path, bytes] : before) {
      auto now = after.find(path);
      if (now == after.end()) {
        ADD_FAILURE() << path << " was deleted";
        continue;
      }
      if (now->second == bytes || path == "FS98/Scenery.cfg") continue;
      if (path == "FS98/SceneryCfg.bku" && now->second == oldSceneryList_) continue;
      const std::string name = stdfs::path(path).filename().string();
      bool replacedByDesign = false;
      for (const auto& [addOnName, addOnBytes] : files)
        replacedByDesign |= dos::equalsNoCase(addOnName, name) && now->second == addOnBytes;
      EXPECT_TRUE(replacedByDesign) << path << " now holds \"" << now->second << "\"";
    }
  }

  // The scenery list holds its old bytes, followed by at most (or, with exactlyOne, exactly)
  // one complete entry of the test scenery.
  void expectSceneryList(bool exactlyOne) {
    if (earlierVersion_) {
      // Listed already: the list stays as it was.
      EXPECT_EQ(read("C:\\FS98\\Scenery.cfg"), oldSceneryList_);
      return;
    }
    const std::string now = read("C:\\FS98\\Scenery.cfg");
    ASSERT_EQ(now.substr(0, oldSceneryList_.size()), oldSceneryList_) << "the old list changed";
    const std::string added = now.substr(oldSceneryList_.size());
    if (added.empty() && !exactlyOne) return;
    EXPECT_TRUE(isOneEntry(added)) << "appended: \"" << added << "\"";
  }

  // Exactly one complete area entry of the test scenery, its number alike in header and layer.
  static bool isOneEntry(const std::string& added) {
    const std::string head = " \r\n[Area.";
    const std::string body = "]\r\nTitle=" + kSceneryName + "\r\nLocal=SCENERY\\" + kSceneryName +
                             "\\Scenery\r\nActive=TRUE\r\nLayer=";
    if (added.compare(0, head.size(), head) != 0) return false;
    const size_t number = head.size();
    const size_t numberEnd = added.find_first_not_of("0123456789", number);
    if (numberEnd == std::string::npos || numberEnd - number < 3) return false;
    if (added.compare(numberEnd, body.size(), body) != 0) return false;
    const std::string area = added.substr(number, numberEnd - number);
    const std::string layer = added.substr(numberEnd + body.size());
    return layer == std::to_string(std::stol(area)) + "\r\n";
  }

  // A new start reads back the settings the test began with.
  void expectSettingsReadBack() {
    DriveMap map;
    map.add('c', root_);
    HostFileSystem fs(map, root_ + "/Orvex");
    FakeToolkit tk;
    FakeShell shell;
    Orvex again(fs, tk, shell);
    again.Form_Load();
    EXPECT_EQ(tk.countCaption("Orvex Load Error"), 0);
    EXPECT_EQ(again.state.FS98Path, "C:\\FS98");
    EXPECT_EQ(again.state.FlightSim, "FS98");
    EXPECT_EQ(again.state.ZipWarning, 1);
  }

  // One install with operation k failing, then the checks, a clean second install, Quit and a
  // new start. Returns false once k lies beyond the last operation of the install.
  bool runWithFault(Kind kind, long k, int number, MsgAnswer answer) {
    Orvex* app = &freshStart(kind, earlierVersion_);
    unpack(kind);
    const Files before = snapshot();
    if (answer == MsgAnswer::No) tk_.answers.assign(50, MsgAnswer::No);
    faulty_->failAt(k, number);
    try {
      installAsTheUserWould(*app, kind);
    } catch (const std::exception& e) {
      ADD_FAILURE() << "escaped the install: " << e.what();
    }
    const bool fired = faulty_->fired();
    const std::string failed = faulty_->failedOperation();
    faulty_->failAt(0, 0);
    // A failure nobody expected is shown once, where the event entered the program.
    if (fired && number == FaultyFileSystem::kUnexpected)
      EXPECT_EQ(tk_.countCaption("System Error"), 1) << failed;
    SCOPED_TRACE(std::string(kindName(kind)) + (earlierVersion_ ? " over an earlier version" : "") +
                 ": operation " + std::to_string(k) + " (" + failed + ") failing with " +
                 std::to_string(number) + ", answering " +
                 (answer == MsgAnswer::Yes ? "Yes" : "No"));

    expectNothingLost(before, kind);
    expectSceneryList(false);
    EXPECT_EQ(read("C:\\Orvex\\Orvex.cfg"), kSettings);
    if (!app->ended()) {
      EXPECT_FALSE(app->busy());
      EXPECT_FALSE(app->anim.visible()) << "the copy window stayed up";
      EXPECT_EQ(app->frm.mousePointer(), MousePointer::Default);
    } else {
      app_ = std::make_unique<Orvex>(*faulty_, tk_, shell_);
      app_->Form_Load();
      app = app_.get();
    }

    // The next install of the same add-on, with nothing failing, goes through.
    tk_.answers.clear();
    tk_.boxes.clear();
    unpack(kind);
    installAsTheUserWould(*app, kind);
    EXPECT_EQ(tk_.countCaption("Success!"), 1) << "the second install did not succeed";
    const Files files = addOn(kind);
    for (const auto& [path, name] : installedFiles(kind))
      EXPECT_EQ(read(path), files.at(name)) << path;
    if (kind == Kind::Scenery) expectSceneryList(true);

    app->cmdQuit_Click();
    expectSettingsReadBack();
    return fired;
  }

  // Every operation of the install in turn, with each error and each answer, into a simulator
  // without the add-on and into one with an earlier version of it.
  void runEveryFault(Kind kind) {
    int runs = 0, faults = 0;
    for (bool earlier : {false, true})
      for (MsgAnswer answer : {MsgAnswer::Yes, MsgAnswer::No}) {
        earlierVersion_ = earlier;
        for (int number : {err::FileNotFound, err::PathFileAccess, err::PathNotFound, err::DiskFull,
                           FaultyFileSystem::kUnexpected}) {
          for (long k = 1;; ++k) {
            const bool fired = runWithFault(kind, k, number, answer);
            ++runs;
            faults += fired;
            if (HasFailure()) return;
            if (!fired) break;
          }
        }
      }
    // At least the copy of each file, its deletion and the listing of each group were reached.
    EXPECT_GT(faults, 8 * int(addOn(kind).size()));
    RecordProperty("runs", runs);
    RecordProperty("faults", faults);
    std::cout << "[ fault runs ] " << kindName(kind) << ": " << runs << " runs, " << faults
              << " faults survived\n";
  }

  std::unique_ptr<FaultyFileSystem> faulty_;
  std::string oldSceneryList_;
  bool earlierVersion_ = false;
};

// Quit writes the settings, empties the assembly area and leaves the settings copy there:
// whichever of its operations fails, the settings file stays whole, old or new.
TEST_F(FaultInjection, QuitKeepsTheSettingsWhole) {
  int runs = 0;
  for (int number : {err::FileNotFound, err::PathFileAccess, err::PathNotFound, err::DiskFull}) {
    for (long k = 1;; ++k) {
      Orvex& app = freshStart(Kind::Aircraft, false);
      unpack(Kind::Aircraft);
      write(kAsm + "Model\\left.mdl", "left over");
      app.frm.optFS2000.setValue(true);
      const Files before = snapshot();
      faulty_->failAt(k, number);
      try {
        app.cmdQuit_Click();
      } catch (const std::exception& e) {
        ADD_FAILURE() << "escaped the quit: " << e.what();
      }
      const bool fired = faulty_->fired();
      SCOPED_TRACE("quit: operation " + std::to_string(k) + " (" + faulty_->failedOperation() +
                   ") failing with " + std::to_string(number));
      faulty_->failAt(0, 0);
      ++runs;
      EXPECT_TRUE(app.ended());
      const Files after = snapshot();
      for (const auto& [path, bytes] : before) {
        EXPECT_EQ(after.count(path), 1u) << path << " was deleted";
      }

      DriveMap map;
      map.add('c', root_);
      HostFileSystem fs(map, root_ + "/Orvex");
      FakeToolkit tk;
      FakeShell shell;
      Orvex again(fs, tk, shell);
      again.Form_Load();
      EXPECT_EQ(tk.countCaption("Orvex Load Error"), 0);
      EXPECT_EQ(again.state.FS98Path, "C:\\FS98");
      EXPECT_TRUE(again.state.FlightSim == "FS98" || again.state.FlightSim == "FS2K")
          << again.state.FlightSim;
      EXPECT_EQ(again.state.ZipWarning, 1);
      if (HasFailure() || !fired) break;
    }
  }
  std::cout << "[ fault runs ] quit: " << runs << " runs\n";
}

// A start-up and a Quit with one failing operation, anywhere from reading the settings to
// writing them: the settings file keeps what it held, even when it could not be read.
TEST_F(FaultInjection, StartAndQuitKeepTheSettings) {
  int runs = 0;
  for (int number : {err::FileNotFound, err::DeviceIo, err::DiskFull, err::PathFileAccess}) {
    for (long k = 1;; ++k) {
      freshStart(Kind::Aircraft, false);
      app_ = std::make_unique<Orvex>(*faulty_, tk_, shell_);
      faulty_->failAt(k, number);
      try {
        app_->Form_Load();
        if (!app_->ended()) app_->cmdQuit_Click();
      } catch (const std::exception& e) {
        ADD_FAILURE() << "escaped: " << e.what();
      }
      const bool fired = faulty_->fired();
      SCOPED_TRACE("start and quit: operation " + std::to_string(k) + " (" +
                   faulty_->failedOperation() + ") failing with " + std::to_string(number));
      faulty_->failAt(0, 0);
      ++runs;
      expectSettingsReadBack();
      if (HasFailure() || !fired) break;
    }
  }
  std::cout << "[ fault runs ] start and quit: " << runs << " runs\n";
}

// A failure that no procedure expects, in an event of each family: it is shown as a System
// Error, the program goes on, and a Refresh and an install that come next succeed.
TEST_F(FaultInjection, EveryKindOfEventSurvivesAFailureNobodyExpected) {
  struct Case {
    const char* family;
    std::function<void(Orvex&)> prepare, trigger;
  };
  auto none = [](Orvex&) {};
  auto startWatching = [](Orvex& app) {
    app.frm.Timer1.setInterval(1000);
    app.frm.Timer1.setTimerEnabled(true);
  };
  const Case cases[] = {
      {"selection", [](Orvex& app) { app.state.PanelData = 1; },
       [](Orvex& app) { app.frm.optFS98.setValue(true); }},
      {"browser", none, [](Orvex& app) { app.frm.cmdSetDirectories.click(); }},
      {"refresh", none, [](Orvex& app) { app.frm.cmdRefresh.click(); }},
      {"clean-up", none, [](Orvex& app) { app.frm.cmdCancelLoad.click(); }},
      {"zip program", none, [](Orvex& app) { app.frm.cmdLoadWinZip.click(); }},
      {"watch timer", startWatching, [](Orvex& app) { app.frm.Timer1.tick(); }},
      // A tick that the toolkit delivers while an install pauses: the install ends there.
      {"tick during an install",
       [&](Orvex& app) {
         unpack(Kind::Sound);
         app.frm.cmdRefresh.click();
         app.frm.optSound.setValue(true);
         startWatching(app);
         tk_.onEvents = [this, &app] {
           tk_.onEvents = nullptr;
           faulty_->failAt(1, FaultyFileSystem::kUnexpected);
           app.frm.Timer1.tick();
         };
       },
       [](Orvex& app) { app.frm.cmdInstallSound.click(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.family);
    Orvex& app = freshStart(Kind::Aircraft, false);
    c.prepare(app);
    tk_.boxes.clear();
    if (!tk_.onEvents) faulty_->failAt(1, FaultyFileSystem::kUnexpected);
    c.trigger(app);
    EXPECT_TRUE(faulty_->fired());
    faulty_->failAt(0, 0);
    ASSERT_EQ(tk_.countCaption("System Error"), 1);
    EXPECT_EQ(tk_.countCaption("Success!"), 0);
    EXPECT_FALSE(app.ended());
    EXPECT_FALSE(app.busy());
    EXPECT_FALSE(app.anim.visible());
    EXPECT_EQ(app.frm.mousePointer(), MousePointer::Default);

    tk_.onEvents = nullptr;
    tk_.boxes.clear();
    app.frm.Timer1.setInterval(0);
    unpack(Kind::Aircraft);
    installAsTheUserWould(app, Kind::Aircraft);
    EXPECT_EQ(tk_.countCaption("Success!"), 1);
  }
}

// The toolkit delivers ticks and clicks while a question is up. A tick of the watch timer, and
// a listing of the assembly area with every pattern, must not change which files the install
// moves: each file lands where it belongs and only files that were copied leave the area.
TEST_F(FaultInjection, TicksDuringAnInstallsQuestionsChangeNothingItMoves) {
  for (Kind kind : {Kind::Aircraft, Kind::Panel, Kind::Sound, Kind::Scenery}) {
    SCOPED_TRACE(kindName(kind));
    earlierVersion_ = true;
    Orvex& app = freshStart(kind, true);
    // A protected file the aircraft brings as well, so that its install asks during a group.
    if (kind == Kind::Aircraft) {
      write("C:\\FS98\\Aircraft\\Test Plane\\Model\\Model.cfg", "old");
      stdfs::permissions(host("C:\\FS98\\Aircraft\\Test Plane\\Model\\Model.cfg"),
                         stdfs::perms::owner_read);
    }
    unpack(kind);
    app.frm.Timer1.setInterval(1000);
    app.frm.Timer1.setTimerEnabled(true);
    int questions = 0;
    tk_.onQuestion = [&] {
      ++questions;
      app.frm.Timer1.tick();
      app.listFiles(app.state.OrvexAssemblyDir, "*.*");
    };
    installAsTheUserWould(app, kind);
    tk_.onQuestion = nullptr;

    EXPECT_GE(questions, 1);
    EXPECT_EQ(tk_.countCaption("Success!"), 1);
    const Files files = addOn(kind);
    for (const auto& [path, name] : installedFiles(kind)) {
      if (read(path) == "old version") continue;  // protected, passed over after the question
      EXPECT_EQ(read(path), files.at(name)) << path;
    }
    EXPECT_EQ(read("C:\\FS98\\Aircraft\\Test Plane\\Model\\plane.mdl"),
              kind == Kind::Aircraft ? "model" : "");
    // Whatever left the assembly area arrived in the simulator: nothing of the add-on is lost.
    const Files tree = snapshot();
    for (const auto& [name, bytes] : files) {
      // The protected one was passed over at the user's Yes to going on without it.
      if (exists(kAsm + name) || (kind == Kind::Aircraft && name == "Model.cfg")) continue;
      bool arrived = false;
      for (const auto& [path, held] : tree)
        arrived |= dos::equalsNoCase(stdfs::path(path).filename().string(), name) && held == bytes;
      EXPECT_TRUE(arrived) << name << " left the assembly area without arriving";
    }
  }
}

TEST_F(FaultInjection, AircraftInstallSurvivesEveryFailure) {
  runEveryFault(Kind::Aircraft);
}

TEST_F(FaultInjection, PanelInstallSurvivesEveryFailure) {
  runEveryFault(Kind::Panel);
}

TEST_F(FaultInjection, SoundInstallSurvivesEveryFailure) {
  runEveryFault(Kind::Sound);
}

TEST_F(FaultInjection, SceneryInstallSurvivesEveryFailure) {
  runEveryFault(Kind::Scenery);
}

}  // namespace
}  // namespace orvex::test

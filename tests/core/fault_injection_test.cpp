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
#include "support/install_world.h"

namespace orvex::test {
namespace {

namespace stdfs = std::filesystem;

class FaultInjection : public RecordedWorld {
 protected:
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
      // The repaint's aircraft gains the livery's section, whole, or nothing.
      if (path == "FS98/Aircraft/Other/Aircraft.cfg" && kind == Kind::Livery) {
        EXPECT_EQ(now->second, kOtherPlaneCfgWithRed) << path;
        continue;
      }
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
    if (fired && number == FaultyFileSystem::kUnexpected) {
      EXPECT_EQ(tk_.countCaption("System Error"), 1) << failed;
    }
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

    // Whatever the install did before it stopped is recorded, and comes off byte for byte.
    if (!app->ended()) {
      installedList(*app);
      app->installed.refreshInstalled();  // as the tab shows it when next looked at
      for (int round = 0; round < 3 && !installedList(*app).rows().empty(); ++round) {
        installedList(*app).setListIndex(0);
        tk_.answers = {MsgAnswer::Yes};
        app->frm.cmdUninstall.click();
      }
      EXPECT_TRUE(installedList(*app).rows().empty()) << "a record stayed";
      Files undone = snapshot(), was = before;
      // The list's backup holds the list of the last change made to it, by install or undo.
      undone.erase("FS98/SceneryCfg.bku");
      was.erase("FS98/SceneryCfg.bku");
      EXPECT_EQ(undone, was) << "the undo did not bring back the tree as it was";
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
      app.lists.listFiles(app.state.OrvexAssemblyDir, "*.*");
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
        arrived |= dos::equalsNoCase(stdfs::path(path).filename().string(), dos::fileName(name)) &&
                   held == bytes;
      EXPECT_TRUE(arrived) << name << " left the assembly area without arriving";
    }
  }
}

// A change of the Scenery Library with one file operation failing, each in turn, with every
// error: the list is the old one or the new one, never claimed changed when it is not, and what
// is recorded comes off again to the tree as it was, the list's backup included.
TEST_F(FaultInjection, SceneryLibraryChangesSurviveEveryFailure) {
  const std::string list = "C:\\FS98\\Scenery.cfg";
  const struct {
    const char* record;
    std::function<void(Orvex&)> change;
  } changes[] = {
      {"Disabled Propeller Field",
       [](Orvex& app) { pressInLibrary(app, "Propeller Field", app.frm.cmdLibraryDisable); }},
      {"Removed Addon Scenery",
       [](Orvex& app) { pressInLibrary(app, "Addon Scenery", app.frm.cmdLibraryRemove); }},
      {"Added Harbor",
       [](Orvex& app) {
         app.frm.cmdLibraryAddFolder.click();
         // As the user does, through the window: Add once the folder is shown, Cancel when it
         // could not be.
         bool shown = false;
         app.handle([&] {
           shown = app.lists.pointDirList(app.frm.dirLibrary, "C:\\FS98\\Scenery\\Harbor");
         });
         if (shown)
           app.frm.cmdLibraryFolderAdd.click();
         else
           app.frm.cmdLibraryFolderCancel.click();
       }},
  };
  int runs = 0;
  for (const auto& c : changes) {
    // The list as the change leaves it when nothing fails.
    Orvex& clean = freshStart(Kind::Scenery, false);
    makeDir("C:\\FS98\\Scenery\\Harbor");
    clean.frm.SSTab1.setTab(SceneryLibrary::kSceneryLibraryTab);
    c.change(clean);
    const std::string changed = read(list);
    ASSERT_NE(changed, oldSceneryList_) << c.record;
    for (int number : {err::FileNotFound, err::PathFileAccess, err::PathNotFound, err::DiskFull,
                       FaultyFileSystem::kUnexpected}) {
      for (long k = 1;; ++k) {
        Orvex& app = freshStart(Kind::Scenery, false);
        makeDir("C:\\FS98\\Scenery\\Harbor");
        app.frm.SSTab1.setTab(SceneryLibrary::kSceneryLibraryTab);
        const Files before = snapshot();
        faulty_->failAt(k, number);
        try {
          c.change(app);
        } catch (const std::exception& e) {
          ADD_FAILURE() << "escaped the change: " << e.what();
        }
        const bool fired = faulty_->fired();
        SCOPED_TRACE(std::string(c.record) + ": operation " + std::to_string(k) + " (" +
                     faulty_->failedOperation() + ") failing with " + std::to_string(number));
        faulty_->failAt(0, 0);
        ++runs;
        const std::string now = read(list);
        EXPECT_TRUE(now == oldSceneryList_ || now == changed) << now;
        EXPECT_FALSE(app.busy());
        EXPECT_EQ(app.frm.mousePointer(), MousePointer::Default);
        if (now == oldSceneryList_) {
          EXPECT_NE(app.frm.labLibraryNote.caption().rfind(c.record, 0), 0u) << "claimed done";
          // The user is told, and a change that failed leaves no record behind, unless a
          // failure nobody expected broke it off.
          if (fired) {
            EXPECT_FALSE(tk_.boxes.empty()) << "failed silently";
          }
          if (number != FaultyFileSystem::kUnexpected) {
            EXPECT_TRUE(installedList(app).rows().empty()) << "a change not made left a record";
          }
        } else {
          EXPECT_EQ(installedList(app).rows().at(0)[2], c.record);
        }
        for (int round = 0; round < 3 && !installedList(app).rows().empty(); ++round) {
          installedList(app).setListIndex(0);
          app.frm.cmdUninstall.click();
        }
        EXPECT_TRUE(installedList(app).rows().empty()) << "a record stayed";
        EXPECT_EQ(snapshot(), before) << "the undo did not bring back the tree as it was";
        if (HasFailure() || !fired) break;
      }
    }
  }
  std::cout << "[ fault runs ] scenery library: " << runs << " runs\n";
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

TEST_F(FaultInjection, LiveryInstallSurvivesEveryFailure) {
  runEveryFault(Kind::Livery);
}

TEST_F(FaultInjection, SceneryInstallSurvivesEveryFailure) {
  runEveryFault(Kind::Scenery);
}

}  // namespace
}  // namespace orvex::test

// The real program killed with SIGKILL after each file operation in turn of an install, or of
// an uninstall, over an earlier version of the add-on (and for a scenery, into a simulator
// without one, so that its list changes); then started again. Yes to the question about what
// was broken off must bring back the simulator's tree byte for byte as it was before the
// install; No must leave a record that describes exactly what is on disk, so that an uninstall
// afterwards brings back that tree.
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <set>

#include "host/sqlite_record_store.h"
#include "support/install_world.h"

extern char** environ;

namespace orvex::test {
namespace {

namespace stdfs = std::filesystem;

class KillTest : public InstallWorld {
 protected:
  void TearDown() override {
    for (const char* world : {".yes", ".no"}) stdfs::remove_all(root_ + world);
    InstallWorld::TearDown();
  }

  // Starts a program; its process id, 0 when it could not be started.
  static pid_t spawn(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return 0;
    return pid;
  }

  // Waits for a program to end (or, with WUNTRACED, to stop); its wait status.
  static int waitFor(pid_t pid, int options = 0) {
    int status = 0;
    while (waitpid(pid, &status, options) < 0 && errno == EINTR) {
    }
    return status;
  }

  // Runs a program to its end; its wait status.
  static int run(std::vector<std::string> args) {
    const pid_t pid = spawn(std::move(args));
    return pid ? waitFor(pid) : -1;
  }

  static std::vector<std::string> driverArgs(const std::string& world, const std::string& at,
                                             const std::vector<std::string>& mode) {
    std::vector<std::string> args = {ORVEX_KILL_DRIVER, world, at};
    args.insert(args.end(), mode.begin(), mode.end());
    return args;
  }

  static int drive(const std::string& world, long killAt, const std::vector<std::string>& mode) {
    return run(driverArgs(world, std::to_string(killAt), mode));
  }

  static bool exitedWell(int status) { return WIFEXITED(status) && WEXITSTATUS(status) == 0; }
  static bool killed(int status) { return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL; }

  // A copy of the sandbox's world, with its times, links and protections, beside it.
  std::string copyOfWorld(const char* suffix) {
    const std::string world = root_ + suffix;
    stdfs::remove_all(world);
    EXPECT_TRUE(exitedWell(run({"cp", "-a", root_, world})));
    return world;
  }

  // The files under a world that no one may write, by relative path.
  static std::set<std::string> protectedFiles(const std::string& world) {
    std::set<std::string> found;
    for (const auto& e : stdfs::recursive_directory_iterator(world))
      if (e.is_regular_file() &&
          (e.status().permissions() & stdfs::perms::owner_write) == stdfs::perms::none)
        found.insert(stdfs::relative(e.path(), world).string());
    return found;
  }

  static std::vector<std::string> assemblyOf(const std::string& world) {
    std::vector<std::string> found;
    for (const auto& e : stdfs::directory_iterator(world + "/Orvex/Assembly"))
      found.push_back(e.path().filename().string());
    std::sort(found.begin(), found.end());
    return found;
  }

  static std::vector<InstallRecord> recordsOf(const std::string& world) {
    return SqliteRecordStore(world + "/Orvex/Installs.db").installs();
  }

  // The tree as before the install, protections included, no record and no backup left, and
  // the assembly area as the kill left it: what had left it does not come back.
  void expectAsBefore(const std::string& world, const std::vector<std::string>& assemblyAfterKill) {
    EXPECT_EQ(snapshotOf(world), before_);
    EXPECT_EQ(protectedFiles(world), protectedBefore_);
    EXPECT_TRUE(recordsOf(world).empty()) << "a record stayed";
    std::vector<std::string> backups;
    std::error_code none;
    for (const auto& e : stdfs::recursive_directory_iterator(world + "/Orvex/Backups", none))
      if (e.is_regular_file()) backups.push_back(e.path().string());
    EXPECT_TRUE(backups.empty()) << "left in the backup store: " << backups.front();
    EXPECT_EQ(assemblyOf(world), assemblyAfterKill);
  }

  // After a start that answered the question about what was broken off: no record is left
  // unfinished, and an uninstall of what is recorded brings back the tree before the install.
  // Returns whether a record was left.
  bool uninstallWhatIsLeft(const std::string& world,
                           const std::vector<std::string>& assemblyAfterKill) {
    const std::vector<InstallRecord> left = recordsOf(world);
    for (const InstallRecord& r : left)
      EXPECT_EQ(int(r.state), int(InstallState::Done)) << "still unfinished: " << r.name;
    EXPECT_TRUE(left.empty() || exitedWell(drive(world, 0, {"uninstall"})));
    expectAsBefore(world, assemblyAfterKill);
    return !left.empty();
  }

  // An install (or, with `uninstalling`, the uninstall of one) killed after each operation in
  // turn (or after every stride-th), until it runs to its end. extraTextures more files go
  // with the add-on into its texture folder. With a library change ("library", action) that
  // change of the scenery list is made instead of the add-on's install.
  void killAfterEachOperation(Kind kind, bool uninstalling, bool earlierVersion = true,
                              int extraTextures = 0, long stride = 1,
                              const std::vector<std::string>& libraryChange = {}) {
    const auto start = std::chrono::steady_clock::now();
    const bool library = !libraryChange.empty();
    layOutWorld(kind, earlierVersion);
    before_ = snapshot();
    protectedBefore_ = protectedFiles(root_);
    if (!library) unpack(kind);
    for (int n = 0; n < extraTextures; ++n) write(kAsm + "t" + std::to_string(n) + ".bmp", "t");
    const std::vector<std::string> install =
        library ? libraryChange : std::vector<std::string>{"install", kindName(kind)};
    const std::string done = copyOfWorld(".yes");
    ASSERT_TRUE(exitedWell(drive(done, 0, install)));
    const Files installed = snapshotOf(done);
    // An uninstall starts from the world with the add-on installed.
    if (uninstalling) {
      stdfs::remove_all(root_);
      stdfs::rename(done, root_);
    }
    const std::vector<std::string> mode =
        uninstalling ? std::vector<std::string>{"uninstall"} : install;
    const std::string what =
        (library ? "scenery list " + libraryChange[1] : std::string(kindName(kind))) +
        (uninstalling ? " uninstall"
         : library    ? ""
                      : " install") +
        (earlierVersion ? "" : " without an earlier version");

    // What the kill left (the tree as before the install, or as after it), and what the
    // restarts left (a finished record, or none).
    long points = 0, asBefore = 0, asInstalled = 0, recordAfterYes = 0, recordAfterNo = 0;
    for (long k = 1;; k += stride) {
      SCOPED_TRACE(what + " killed after operation " + std::to_string(k));
      const std::string yes = copyOfWorld(".yes");
      const int status = drive(yes, k, mode);
      if (exitedWell(status)) break;
      ASSERT_TRUE(killed(status)) << "wait status " << status;
      ++points;
      const Files afterKill = snapshotOf(yes);
      asBefore += afterKill == before_;
      asInstalled += afterKill == installed;
      // A list is replaced whole: the old one or the new one, never a mixture.
      if (library) {
        const std::string list = afterKill.at("FS98/Scenery.cfg");
        EXPECT_TRUE(list == before_.at("FS98/Scenery.cfg") ||
                    list == installed.at("FS98/Scenery.cfg"))
            << list;
      }
      const std::vector<std::string> assemblyAfterKill = assemblyOf(yes);
      ASSERT_TRUE(exitedWell(drive(yes, 0, {"start", "yes"})));
      {
        SCOPED_TRACE("answered Yes");
        // A record left after Yes is one that nothing had broken off: the install had ended,
        // or the uninstall had not begun.
        if (!recordsOf(yes).empty()) {
          EXPECT_EQ(snapshotOf(yes), installed) << "Yes left a record";
        }
        recordAfterYes += uninstallWhatIsLeft(yes, assemblyAfterKill);
      }

      const std::string no = copyOfWorld(".no");
      ASSERT_TRUE(killed(drive(no, k, mode)));
      ASSERT_TRUE(exitedWell(drive(no, 0, {"start", "no"})));
      {
        SCOPED_TRACE("answered No");
        recordAfterNo += uninstallWhatIsLeft(no, assemblyAfterKill);
      }
      if (HasFailure()) return;
    }
    // Kills fell between the first change to the tree and the last, more than once per file.
    if (stride == 1 && !library) {
      EXPECT_GT(points - asBefore - asInstalled, long(addOn(kind).size()));
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << "[ kill runs  ] " << what << ": " << points << " kill points; the tree left as "
              << "before " << asBefore << " times, as installed " << asInstalled << ", half-way "
              << points - asBefore - asInstalled << "; a finished record left "
              << "after Yes " << recordAfterYes << " times, after No " << recordAfterNo
              << "; each uninstalled to the tree before (" << seconds << " s)\n";
  }

  Files before_;
  std::set<std::string> protectedBefore_;
};

TEST_F(KillTest, LiveryInstallAndUninstallKilledAnywhere) {
  killAfterEachOperation(Kind::Livery, false);
  killAfterEachOperation(Kind::Livery, true);
}

TEST_F(KillTest, AircraftInstallAndUninstallKilledAnywhere) {
  killAfterEachOperation(Kind::Aircraft, false);
  killAfterEachOperation(Kind::Aircraft, true);
}

// Enough textures that their pass's plan is kept as one record of many changes.
TEST_F(KillTest, AircraftWithManyTexturesKilledAcrossItsPasses) {
  killAfterEachOperation(Kind::Aircraft, false, true, 80, 7);
  killAfterEachOperation(Kind::Aircraft, true, true, 80, 7);
}

TEST_F(KillTest, PanelInstallAndUninstallKilledAnywhere) {
  killAfterEachOperation(Kind::Panel, false);
  killAfterEachOperation(Kind::Panel, true);
}

TEST_F(KillTest, SoundInstallAndUninstallKilledAnywhere) {
  killAfterEachOperation(Kind::Sound, false);
  killAfterEachOperation(Kind::Sound, true);
}

// Without an earlier version the scenery list gets an area, and its backup is rewritten.
TEST_F(KillTest, SceneryInstallAndUninstallKilledAnywhere) {
  killAfterEachOperation(Kind::Scenery, false);
  killAfterEachOperation(Kind::Scenery, true);
  killAfterEachOperation(Kind::Scenery, false, false);
  killAfterEachOperation(Kind::Scenery, true, false);
}

// A change of the Scenery Library tab, and its uninstall, killed anywhere: the scenery list and
// its backup come back byte for byte, and the list is never found half-written.
TEST_F(KillTest, SceneryLibraryChangesAndTheirUninstallKilledAnywhere) {
  for (const char* action : {"disable", "up", "remove"}) {
    killAfterEachOperation(Kind::Scenery, false, false, 0, 1, {"library", action});
    killAfterEachOperation(Kind::Scenery, true, false, 0, 1, {"library", action});
  }
}

// A program that stopped in the middle of an install, killed when the test ends however it ends.
struct StoppedProgram {
  ~StoppedProgram() { kill(); }
  void kill() {
    if (pid > 0) {
      ::kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    pid = 0;
  }
  pid_t pid = 0;
};

// A second start on a root whose program is busy with an install ends at once, changes nothing
// and asks nothing about the install; once the first program has died, a start may undo it.
TEST_F(KillTest, ASecondCopyLeavesTheRootToTheOneRunning) {
  layOutWorld(Kind::Aircraft, true);
  before_ = snapshot();
  protectedBefore_ = protectedFiles(root_);
  unpack(Kind::Aircraft);
  StoppedProgram first;
  // Operation 80 falls half-way through the install, among its copy passes.
  first.pid = spawn(driverArgs(root_, "s80", {"install", "aircraft"}));
  ASSERT_GT(first.pid, 0);
  ASSERT_TRUE(WIFSTOPPED(waitFor(first.pid, WUNTRACED)));
  const std::map<std::string, std::string> held = treeOf(root_);

  const int second = drive(root_, 0, {"start", "yes"});
  EXPECT_TRUE(WIFEXITED(second) && WEXITSTATUS(second) == 4) << "wait status " << second;
  EXPECT_EQ(treeOf(root_), held);

  first.kill();
  const std::vector<InstallRecord> left = recordsOf(root_);
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(int(left[0].state), int(InstallState::Running));
  const std::vector<std::string> assemblyAfterKill = assemblyOf(root_);
  ASSERT_TRUE(exitedWell(drive(root_, 0, {"start", "yes"})));
  expectAsBefore(root_, assemblyAfterKill);
}

}  // namespace
}  // namespace orvex::test

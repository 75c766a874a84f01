// Tests of the host FileSystem and its drive map on real files in a fresh temporary folder.
#include "host/host_file_system.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/dos_path.h"
#include "platform/errors.h"

namespace orvex {
namespace {

namespace fs = std::filesystem;

template <class F>
int errorOf(F action) {
  try {
    action();
  } catch (const FileError& e) {
    return e.number();
  }
  return 0;
}

class HostFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/orvex-host-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    map_.add('c', root_);
    files_ = std::make_unique<HostFileSystem>(map_, root_);
  }
  void TearDown() override { fs::remove_all(root_); }

  std::string host(const std::string& relative) const { return root_ + "/" + relative; }
  void makeFile(const std::string& relative, const std::string& data = "x") {
    fs::create_directories(fs::path(host(relative)).parent_path());
    std::ofstream(host(relative), std::ios::binary) << data;
  }
  std::string contents(const std::string& relative) const {
    std::ifstream in(host(relative), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  }
  // Every name in a host folder, hidden ones too: leftovers of a failed write show here.
  std::vector<std::string> allNames(const std::string& relative) const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(host(relative)))
      names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  std::string root_;
  DriveMap map_;
  std::unique_ptr<HostFileSystem> files_;
};

TEST_F(HostFileSystemTest, ResolvesNamesWithoutRegardToCaseExactMatchFirst) {
  makeFile("FS98/Aircraft/cessna.air", "cessna");
  makeFile("Sim/a.cfg", "mixed");
  makeFile("SIM/a.cfg", "upper");
  HostFileSystem& f = *files_;
  EXPECT_EQ(f.readFile("C:\\fs98\\AIRCRAFT\\Cessna.AIR"), "cessna");
  EXPECT_EQ(f.readFile("C:\\Sim\\a.cfg"), "mixed");
  EXPECT_EQ(f.readFile("C:\\SIM\\a.cfg"), "upper");
  EXPECT_EQ(f.readFile("C:\\sim\\a.cfg"), "upper");  // Several candidates: byte order decides.
  // A missing tail keeps the case given and is made with it.
  EXPECT_EQ(f.hostPath("C:\\fs98\\NewDir\\File.TXT"), host("FS98/NewDir/File.TXT"));
  f.mkDir("C:\\fs98\\NewDir");
  f.writeFile("c:/FS98/newdir/File.TXT", "new");
  EXPECT_EQ(contents("FS98/NewDir/File.TXT"), "new");
  // Names are bytes, not necessarily UTF-8.
  f.writeFile("C:\\\xE9t\xE9.cfg", "latin1");
  EXPECT_EQ(f.listFiles("C:\\", "*.CFG"), std::vector<std::string>{"\xE9t\xE9.cfg"});
  EXPECT_EQ(f.readFile("C:\\\xE9T\xE9.cfg"), "latin1");
}

TEST_F(HostFileSystemTest, KeepsACurrentDirectoryPerDriveAsTyped) {
  std::string other = host("other");
  fs::create_directories(other + "/x");
  makeFile("FS98/Aircraft/a.air");
  makeFile("Orvex/FileCopy.avi", "avi");
  map_.add('d', other);
  HostFileSystem f(map_, root_);
  EXPECT_EQ(f.curDir(), "C:\\");
  EXPECT_EQ(f.drives(), (std::vector<std::string>{"c:", "d:"}));

  f.chDir("Fs98\\aircraft\\");
  EXPECT_EQ(f.curDir(), "C:\\Fs98\\aircraft");
  f.chDir("d:\\x\\..\\.\\x");
  EXPECT_EQ(f.curDir(), "d:\\x");
  EXPECT_EQ(f.fullPath("\\"), "d:\\");
  EXPECT_EQ(f.fullPath("\\y"), "d:\\y");
  EXPECT_EQ(f.fullPath("c:"), "C:\\Fs98\\aircraft");
  EXPECT_EQ(f.fullPath("c:..\\b"), "C:\\Fs98\\b");
  EXPECT_EQ(f.fullPath("C:\\Orvex\\\\FileCopy.avi"), "C:\\Orvex\\FileCopy.avi");
  EXPECT_EQ(f.fullPath("c:\\..\\..\\a"), "c:\\a");  // Never above the root.
  for (const auto& [path, full] : std::vector<std::pair<std::string, std::string>>{
           {"c:\\", "c:\\"},
           {"c:\\Fs98\\...\\.a\\..b", "c:\\Fs98\\...\\.a\\..b"},
           {"c:\\Fs98\\.\\a", "c:\\Fs98\\a"},
           {"c:\\Fs98\\a\\..", "c:\\Fs98"},
           {"C:\\Fs98\\a\\", "C:\\Fs98\\a"},
           {"C:\\\\Fs98", "C:\\Fs98"},
           {"C:/Fs98/a", "C:\\Fs98\\a"}})
    EXPECT_EQ(f.fullPath(path), full) << path;
  EXPECT_EQ(f.readFile("C:\\Orvex\\\\FileCopy.avi"), "avi");

  f.chDrive("c");
  EXPECT_EQ(f.curDir(), "C:\\Fs98\\aircraft");
  EXPECT_EQ(f.readFile("a.air"), "x");
  f.chDrive("D:");
  EXPECT_EQ(f.curDir(), "d:\\x");

  EXPECT_EQ(errorOf([&] { f.chDir("C:\\Missing"); }), err::PathNotFound);
  EXPECT_EQ(errorOf([&] { f.chDir("C:\\Orvex\\FileCopy.avi"); }), err::PathNotFound);
  EXPECT_EQ(f.curDir(), "d:\\x");
  EXPECT_EQ(f.fullPath("c:"), "C:\\Fs98\\aircraft");
}

TEST_F(HostFileSystemTest, ShowsHostPathsThroughTheLongestMappedRoot) {
  fs::create_directories(host("Orvex"));
  map_.add('z', "/");
  HostFileSystem f(map_, host("Orvex"));
  EXPECT_EQ(f.curDir(), "C:\\Orvex");
  EXPECT_EQ(f.dosPath(host("Orvex/new.txt")), "C:\\Orvex\\new.txt");
  EXPECT_EQ(f.dosPath("/usr/share"), "Z:\\usr\\share");

  DriveMap onlyZ;
  onlyZ.add('z', "/");
  HostFileSystem g(onlyZ, host("Orvex"));
  std::string expected = "Z:" + host("Orvex");
  std::replace(expected.begin(), expected.end(), '/', '\\');
  EXPECT_EQ(g.curDir(), expected);
  EXPECT_EQ(g.fullPath("\\"), "Z:\\");
}

TEST_F(HostFileSystemTest, UnmappedDriveIsUnavailable) {
  EXPECT_EQ(errorOf([&] { files_->chDrive("q:"); }), err::DeviceUnavailable);
  EXPECT_EQ(errorOf([&] { files_->readFile("Q:\\a.txt"); }), err::DeviceUnavailable);
  EXPECT_FALSE(files_->isFile("Q:\\a.txt"));
  EXPECT_FALSE(files_->isDirectory("Q:\\"));
  EXPECT_EQ(files_->curDir(), "C:\\");
}

TEST_F(HostFileSystemTest, DirectoryErrors) {
  HostFileSystem& f = *files_;
  makeFile("Full/.hidden");
  makeFile("file.txt");
  f.mkDir("C:\\New");
  EXPECT_TRUE(fs::is_directory(host("New")));
  EXPECT_EQ(errorOf([&] { f.mkDir("C:\\NEW"); }), err::PathFileAccess);
  EXPECT_EQ(errorOf([&] { f.mkDir("C:\\file.txt"); }), err::PathFileAccess);
  EXPECT_EQ(errorOf([&] { f.mkDir("C:\\Missing\\New"); }), err::PathNotFound);

  EXPECT_EQ(errorOf([&] { f.rmDir("C:\\Full"); }), err::PathFileAccess);
  EXPECT_EQ(errorOf([&] { f.rmDir("C:\\Missing"); }), err::PathNotFound);
  EXPECT_EQ(errorOf([&] { f.rmDir("C:\\file.txt"); }), err::PathFileAccess);
  EXPECT_EQ(errorOf([&] { f.rmDir("C:\\"); }), err::PathFileAccess);
  f.chDir("C:\\New");
  EXPECT_EQ(errorOf([&] { f.rmDir("C:\\New"); }), err::PathFileAccess);
  f.chDir("\\");
  f.rmDir("C:\\new");
  EXPECT_FALSE(fs::exists(host("New")));
  EXPECT_TRUE(fs::is_directory(root_));
}

TEST_F(HostFileSystemTest, ReadOnlyFileIsKeptEvenFromRoot) {
  HostFileSystem& f = *files_;
  makeFile("ro.txt", "keep");
  makeFile("src.txt", "new");
  f.setReadOnly("C:\\RO.TXT", true);
  EXPECT_TRUE(f.isReadOnly("C:\\ro.txt"));
  EXPECT_EQ(errorOf([&] { f.kill("C:\\ro.txt"); }), err::PathFileAccess);
  EXPECT_EQ(errorOf([&] { f.copyFile("C:\\src.txt", "C:\\ro.txt"); }), err::PathFileAccess);
  EXPECT_EQ(errorOf([&] { f.transferFile("C:\\src.txt", "C:\\ro.txt"); }), err::PathFileAccess);
  EXPECT_EQ(errorOf([&] { f.writeFile("C:\\ro.txt", "x"); }), err::PathFileAccess);
  EXPECT_EQ(errorOf([&] { f.appendFile("C:\\ro.txt", "x"); }), err::PathFileAccess);
  EXPECT_EQ(errorOf([&] { f.replaceFile("C:\\ro.txt", "x"); }), err::PathFileAccess);
  EXPECT_EQ(contents("ro.txt"), "keep");

  // A copy of a read-only file is an ordinary file.
  f.copyFile("C:\\ro.txt", "C:\\copy.txt");
  EXPECT_FALSE(f.isReadOnly("C:\\copy.txt"));

  f.setAttrNormal("C:\\ro.txt");
  EXPECT_FALSE(f.isReadOnly("C:\\ro.txt"));
  f.kill("C:\\ro.txt");
  EXPECT_FALSE(fs::exists(host("ro.txt")));
  EXPECT_EQ(errorOf([&] { f.isReadOnly("C:\\ro.txt"); }), err::FileNotFound);
  EXPECT_EQ(errorOf([&] { f.setAttrNormal("C:\\No\\ro.txt"); }), err::PathNotFound);
}

TEST_F(HostFileSystemTest, ATransferToANewFileLeavesAFileThatIsThereAlone) {
  HostFileSystem& f = *files_;
  makeFile("src.txt", "new");
  makeFile("old.txt", "old");
  makeFile("ro.txt", "protected");
  f.setReadOnly("C:\\ro.txt", true);
  EXPECT_FALSE(f.transferNewFile("C:\\src.txt", "C:\\OLD.TXT"));
  EXPECT_FALSE(f.transferNewFile("C:\\src.txt", "C:\\ro.txt"));
  EXPECT_EQ(contents("old.txt"), "old");
  EXPECT_EQ(contents("ro.txt"), "protected");
  EXPECT_TRUE(f.transferNewFile("C:\\src.txt", "C:\\fresh.txt"));
  EXPECT_EQ(contents("fresh.txt"), "new");
  EXPECT_EQ(contents("src.txt"), "new");
}

// The names of a folder that files travel into are kept after the first: a file about to be
// made is looked up there, and must still find every name on disk, in any letter case.
TEST_F(HostFileSystemTest, ATransferIntoAFolderWhoseNamesAreKeptFindsEveryNameThere) {
  HostFileSystem& f = *files_;
  makeFile("Gauges/Old.gau", "old");
  makeFile("Gauges/twin.gau", "lower");
  makeFile("Gauges/TWIN.gau", "upper");
  const auto travel = [&](const std::string& target, bool onlyNew) {
    makeFile("src.txt", target);
    if (onlyNew) return f.transferNewFile("C:\\src.txt", target);
    f.transferFile("C:\\src.txt", target);
    return true;
  };
  EXPECT_TRUE(travel("C:\\Gauges\\first.gau", true));
  EXPECT_FALSE(travel("C:\\GAUGES\\OLD.GAU", true));
  travel("C:\\GAUGES\\OLD.GAU", false);
  travel("C:\\Gauges\\twin.gau", false);
  // Another program's file, written after the names were kept, in a later tick of the clock.
  std::ofstream(host("Gauges/late.gau")) << "theirs";
  const struct timespec later[2] = {{0, UTIME_OMIT}, {time(nullptr) + 10, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, host("Gauges").c_str(), later, 0), 0);
  EXPECT_FALSE(travel("C:\\Gauges\\LATE.GAU", true));
  EXPECT_EQ(allNames("Gauges"),
            (std::vector<std::string>{"Old.gau", "TWIN.gau", "first.gau", "late.gau", "twin.gau"}));
  EXPECT_EQ(contents("Gauges/Old.gau"), "C:\\GAUGES\\OLD.GAU");
  EXPECT_EQ(contents("Gauges/twin.gau"), "C:\\Gauges\\twin.gau");
  EXPECT_EQ(contents("Gauges/TWIN.gau"), "upper");
  EXPECT_EQ(contents("Gauges/late.gau"), "theirs");

  // Another program's file written in the same tick as our last change there: the kept names
  // cannot tell, the link or the look before a copy does. Nothing of theirs is replaced.
  for (const bool links : {true, false}) {
    f.setTransferWays({links, true});
    EXPECT_TRUE(travel("C:\\Gauges\\ours.gau", true));
    struct stat folder {};
    ASSERT_EQ(stat(host("Gauges").c_str(), &folder), 0);
    std::ofstream(host("Gauges/same.gau")) << "theirs too";
    const struct timespec sameTick[2] = {{0, UTIME_OMIT}, folder.st_mtim};
    ASSERT_EQ(utimensat(AT_FDCWD, host("Gauges").c_str(), sameTick, 0), 0);
    EXPECT_FALSE(travel("C:\\Gauges\\same.gau", true)) << links;
    EXPECT_EQ(contents("Gauges/same.gau"), "theirs too");
    fs::remove(host("Gauges/ours.gau"));
    fs::remove(host("Gauges/same.gau"));
    f.forgetRememberedNames();
  }
}

TEST_F(HostFileSystemTest, ManyFilesAtOnceAreStampedAndDeletedAsEachAlone) {
  makeFile("Gauges/a.gau", "a");
  makeFile("Gauges/B.gau", "bb");
  makeFile("Sound/c.wav", "ccc");
  fs::create_directories(host("Gauges/Sub"));
  const std::vector<std::string> paths = {
      "C:\\Gauges\\a.gau", "C:\\GAUGES\\b.GAU",  "C:\\Gauges\\none.gau", "C:\\Gauges\\Sub",
      "C:\\Sound\\c.wav",  "C:\\Missing\\d.wav", "C:\\Gauges\\a.gau"};
  std::vector<std::optional<FileStamp>> one;
  for (const std::string& path : paths) one.push_back(files_->stamp(path));
  EXPECT_EQ(files_->stamps(paths), one);
  EXPECT_EQ(one[1]->size, 2);
  EXPECT_FALSE(one[2] || one[3] || one[5]);
  // Protected or spelt otherwise, each file goes; a folder, or what is not there, stays as it is.
  EXPECT_TRUE(files_->isFile("C:\\Gauges\\a.gau"));  // its folder's names are kept now
  chmod(host("Gauges/a.gau").c_str(), 0444);
  files_->deleteFiles(paths);
  EXPECT_EQ(allNames("Gauges"), std::vector<std::string>{"Sub"});
  EXPECT_TRUE(allNames("Sound").empty());
  EXPECT_FALSE(files_->isFile("C:\\Gauges\\a.gau"));
}

// Many folders listed at once give what listFiles and listDirs give for each: other spellings,
// links followed, hidden names left out, and nothing for a folder that is not one.
TEST_F(HostFileSystemTest, ManyFoldersAtOnceAreListedAsEachAlone) {
  makeFile("Scenery/A/a.bgl");
  makeFile("Scenery/A/.hidden.bgl");
  makeFile("Scenery/A/notes.txt");
  makeFile("Scenery/A/scenery/deep.BGL");
  makeFile("Scenery/B/scenery/b.bgl");
  fs::create_directories(host("Scenery/Empty/.sub"));
  fs::create_symlink(host("Scenery/A"), host("Scenery/Linked"));
  const std::vector<std::string> dirs = {"C:\\Scenery\\A",          "C:\\SCENERY\\a",
                                         "C:\\Scenery\\A\\scenery", "C:\\Scenery\\B",
                                         "C:\\Scenery\\B\\Scenery", "C:\\Scenery\\Empty",
                                         "C:\\Scenery\\Linked",     "C:\\Scenery\\A\\a.bgl",
                                         "C:\\Nowhere\\X",          "C:\\"};
  std::vector<std::optional<FileSystem::FolderListing>> one;
  for (const std::string& dir : dirs) {
    try {
      FileSystem::FolderListing l{files_->listFiles(dir, "*.bgl"), {}};
      for (const std::string& sub : files_->listDirs(dir)) l.folders.push_back(dos::fileName(sub));
      one.push_back(std::move(l));
    } catch (const FileError&) {
      one.push_back(std::nullopt);
    }
  }
  const auto all = files_->listFolders(dirs, "*.bgl");
  ASSERT_EQ(all.size(), one.size());
  for (size_t k = 0; k < dirs.size(); ++k) {
    SCOPED_TRACE(dirs[k]);
    ASSERT_EQ(all[k].has_value(), one[k].has_value());
    if (!all[k]) continue;
    EXPECT_EQ(all[k]->files, one[k]->files);
    EXPECT_EQ(all[k]->folders, one[k]->folders);
  }
  EXPECT_EQ(all[0]->files, std::vector<std::string>{"a.bgl"});
  EXPECT_EQ(all[6]->folders, std::vector<std::string>{"scenery"});
  EXPECT_FALSE(all[7] || all[8]);
}

TEST_F(HostFileSystemTest, CopyAndTransferReplaceTargetAndReportErrors) {
  HostFileSystem& f = *files_;
  using Operation = void (HostFileSystem::*)(const std::string&, const std::string&);
  for (Operation op : {&HostFileSystem::copyFile, &HostFileSystem::transferFile}) {
    makeFile("src.txt", "new contents");
    makeFile("Target/dst.txt", "old");
    fs::create_directories(host("Dir"));
    (f.*op)("C:\\SRC.txt", "C:\\target\\DST.TXT");
    EXPECT_EQ(contents("Target/dst.txt"), "new contents");
    EXPECT_EQ(allNames("Target"), std::vector<std::string>{"dst.txt"});

    EXPECT_EQ(errorOf([&] { (f.*op)("C:\\none.txt", "C:\\x.txt"); }), err::FileNotFound);
    EXPECT_EQ(errorOf([&] { (f.*op)("C:\\No\\none.txt", "C:\\x.txt"); }), err::FileNotFound);
    EXPECT_EQ(errorOf([&] { (f.*op)("C:\\src.txt", "C:\\No\\x.txt"); }), err::PathNotFound);
    EXPECT_EQ(errorOf([&] { (f.*op)("C:\\src.txt", "C:\\Dir"); }), err::PathFileAccess);
    EXPECT_EQ(errorOf([&] { (f.*op)("C:\\Dir", "C:\\x.txt"); }), err::PathFileAccess);
    EXPECT_EQ(contents("src.txt"), "new contents");
  }
}

// Every way a file can travel, forced where the host would not choose it. Whatever the way,
// the target ends as a copy would leave it and the source stays as it was.
TEST_F(HostFileSystemTest, TransferTakesTheRightWayAndEndsAsACopy) {
  const mode_t copyMode = newFileMode();
  struct Case {
    const char* what;
    mode_t sourceMode;
    bool secondName;    // the source has a name outside the folder as well
    bool targetExists;  // as "Target/DST.txt", reached as "C:\target\dst.TXT"
    bool useCopyFile;
    TransferWays ways;
    TransferWay expected;
  };
  const Case cases[] = {
      {"a link", copyMode, false, false, false, {}, TransferWay::Link},
      {"a link renamed over the target", copyMode, false, true, false, {}, TransferWay::Link},
      {"a link given a copy's mode", 0750, false, true, false, {}, TransferWay::Link},
      {"a read-only source is copied", 0444, false, true, false, {}, TransferWay::KernelCopy},
      {"a source with two names is copied",
       copyMode,
       true,
       false,
       false,
       {},
       TransferWay::KernelCopy},
      {"copyFile never links", copyMode, false, true, true, {}, TransferWay::KernelCopy},
      {"links refused: the kernel's copy",
       copyMode,
       false,
       true,
       false,
       {false, true},
       TransferWay::KernelCopy},
      {"both refused: reads and writes",
       copyMode,
       false,
       false,
       false,
       {false, false},
       TransferWay::ReadWrite},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(host("Target"));
    fs::remove_all(host("Other"));
    const std::string data(300 * 1024, 'd');
    makeFile("Assembly/a.bin", data);
    chmod(host("Assembly/a.bin").c_str(), c.sourceMode);
    if (c.secondName) {
      fs::create_directories(host("Other"));
      fs::create_hard_link(host("Assembly/a.bin"), host("Other/a.bin"));
    }
    std::vector<std::string> expectedNames{"dst.TXT"};
    fs::create_directories(host("Target"));
    if (c.targetExists) {
      makeFile("Target/DST.txt", "old");
      expectedNames = {"DST.txt"};  // A replaced file keeps its spelling.
    }
    HostFileSystem f(map_, root_);
    f.setTransferWays(c.ways);
    const std::string source = "C:\\Assembly\\A.BIN", target = "C:\\target\\dst.TXT";
    c.useCopyFile ? f.copyFile(source, target) : f.transferFile(source, target);

    EXPECT_EQ(f.lastTransfer(), c.expected);
    const std::string installed = host("Target/" + expectedNames[0]);
    EXPECT_EQ(contents("Target/" + expectedNames[0]), data);
    EXPECT_EQ(allNames("Target"), expectedNames);  // No hidden name left behind.
    struct stat from, to;
    ASSERT_EQ(stat(host("Assembly/a.bin").c_str(), &from), 0);
    ASSERT_EQ(stat(installed.c_str(), &to), 0);
    EXPECT_EQ(from.st_ino == to.st_ino, c.expected == TransferWay::Link);
    EXPECT_EQ(to.st_mode & 07777, copyMode);
    if (c.expected != TransferWay::Link) {
      EXPECT_EQ(from.st_mode & 07777, c.sourceMode);
    }
    // The new name is known to the case-blind look-ups at once.
    EXPECT_TRUE(f.isFile("C:\\TARGET\\DST.TXT"));
    EXPECT_EQ(f.listFiles("C:\\Target", "*.*"), expectedNames);
  }
}

// A kept original is a new file, never one put over another; it shares the original's data
// only when allowed to.
TEST_F(HostFileSystemTest, PreserveMakesANewFileSharedOnlyWhenAllowed) {
  makeFile("orig.txt", "original");
  fs::create_directories(host("Backups"));
  struct stat original;
  ASSERT_EQ(stat(host("orig.txt").c_str(), &original), 0);
  for (bool mayShare : {true, false}) {
    SCOPED_TRACE(mayShare ? "may share" : "a copy");
    const std::string name = mayShare ? "shared.txt" : "copied.txt";
    files_->preserveFile("C:\\ORIG.txt", "C:\\Backups\\" + name, mayShare, false);
    EXPECT_EQ(contents("Backups/" + name), "original");
    struct stat kept;
    ASSERT_EQ(stat(host("Backups/" + name).c_str(), &kept), 0);
    EXPECT_EQ(kept.st_ino == original.st_ino, mayShare);
    EXPECT_EQ(errorOf([&] {
                files_->preserveFile("C:\\orig.txt", "C:\\Backups\\" + name, mayShare, false);
              }),
              err::PathFileAccess);
  }
  EXPECT_EQ(allNames("Backups"), (std::vector<std::string>{"copied.txt", "shared.txt"}));
}

// A second host file system behind another drive letter: no link is possible there, and the
// kernel's copy or plain reads and writes take the file across.
TEST_F(HostFileSystemTest, TransferAcrossFileSystemsCopies) {
  char pattern[] = "/dev/shm/orvex-host-XXXXXX";
  struct stat here, there;
  if (stat(root_.c_str(), &here) != 0 || !mkdtemp(pattern))
    GTEST_SKIP() << "no memory file system at /dev/shm to stand for a second one";
  const std::string other = pattern;
  if (stat(other.c_str(), &there) != 0 || there.st_dev == here.st_dev) {
    fs::remove_all(other);
    GTEST_SKIP() << "/dev/shm lies on the same file system as " << root_;
  }
  map_.add('d', other);
  HostFileSystem f(map_, root_);
  makeFile("a.bin", std::string(200 * 1024, 'x'));
  std::ofstream(other + "/b.bin") << "old";
  f.transferFile("C:\\a.bin", "D:\\b.bin");
  f.transferFile("C:\\a.bin", "D:\\c.bin");
  EXPECT_NE(f.lastTransfer(), TransferWay::Link);
  for (const char* name : {"/b.bin", "/c.bin"})
    EXPECT_EQ(fs::file_size(other + name), 200u * 1024) << name;
  EXPECT_TRUE(fs::exists(host("a.bin")));
  fs::remove_all(other);
}

TEST_F(HostFileSystemTest, FailedCopyKeepsTheOldTarget) {
  makeFile("big.bin", std::string(256 * 1024, 'b'));
  makeFile("Target/dst.bin", "old");
  // A file size limit makes the write fail part way, as a full disk would.
  struct rlimit saved;
  getrlimit(RLIMIT_FSIZE, &saved);
  struct rlimit limit = saved;
  limit.rlim_cur = 4096;
  sighandler_t oldHandler = signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &limit);
  int error = errorOf([&] { files_->copyFile("C:\\big.bin", "C:\\Target\\dst.bin"); });
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, oldHandler);
  EXPECT_NE(error, 0);
  EXPECT_EQ(contents("Target/dst.bin"), "old");
  EXPECT_EQ(allNames("Target"), std::vector<std::string>{"dst.bin"});
}

TEST_F(HostFileSystemTest, KillByPatternAndItsErrors) {
  HostFileSystem& f = *files_;
  for (const char* name : {"a.txt", "B.TXT", "c.cfg", "ro.txt", ".hidden.txt"}) makeFile(name);
  fs::create_directories(host("d.txt"));
  f.setReadOnly("C:\\ro.txt", true);
  EXPECT_EQ(errorOf([&] { f.kill("C:\\*.txt"); }), err::PathFileAccess);
  EXPECT_EQ(allNames(""), (std::vector<std::string>{".hidden.txt", "c.cfg", "d.txt", "ro.txt"}));
  EXPECT_EQ(errorOf([&] { f.kill("C:\\*.bak"); }), err::FileNotFound);
  EXPECT_EQ(errorOf([&] { f.kill("C:\\No\\*.*"); }), err::PathNotFound);
  EXPECT_EQ(errorOf([&] { f.kill("C:\\none.txt"); }), err::FileNotFound);
  EXPECT_EQ(errorOf([&] { f.kill("C:\\No\\none.txt"); }), err::PathNotFound);
  EXPECT_EQ(errorOf([&] { f.kill("C:\\d.txt"); }), err::PathFileAccess);
  f.kill("C:\\C.CFG");
  EXPECT_FALSE(fs::exists(host("c.cfg")));

  // An uninstall's delete takes a protected file too, in any spelling; where there is no file
  // (nothing, or a folder) it leaves things as they are.
  // Made by another program: the program forgets the names it kept before it looks again, as at
  // the start of each event; within the clock tick of its own last change it could not tell.
  makeFile("Up.TXT");
  f.forgetRememberedNames();
  f.setReadOnly("C:\\Up.TXT", true);
  f.deleteFile("C:\\ro.txt");
  f.deleteFile("C:\\up.txt");
  f.deleteFile("C:\\none.txt");
  f.deleteFile("C:\\d.txt");
  EXPECT_EQ(allNames(""), (std::vector<std::string>{".hidden.txt", "d.txt"}));
}

TEST_F(HostFileSystemTest, ReadAndWriteFiles) {
  HostFileSystem& f = *files_;
  fs::create_directories(host("Dir"));
  EXPECT_EQ(errorOf([&] { f.readFile("C:\\none.cfg"); }), err::FileNotFound);
  EXPECT_EQ(errorOf([&] { f.checkReadable("C:\\none.cfg"); }), err::FileNotFound);
  EXPECT_EQ(errorOf([&] { f.readFile("C:\\No\\none.cfg"); }), err::PathNotFound);
  EXPECT_EQ(errorOf([&] { f.checkReadable("C:\\Dir"); }), err::PathFileAccess);
  EXPECT_EQ(errorOf([&] { f.writeFile("C:\\No\\a.cfg", "x"); }), err::PathNotFound);
  EXPECT_EQ(errorOf([&] { f.appendFile("C:\\No\\a.cfg", "x"); }), err::PathNotFound);
  EXPECT_EQ(errorOf([&] { f.replaceFile("C:\\No\\a.cfg", "x"); }), err::PathNotFound);
  EXPECT_EQ(errorOf([&] { f.writeFile("C:\\Dir", "x"); }), err::PathFileAccess);

  f.writeFile("C:\\a.cfg", "first\r\n");
  f.appendFile("C:\\A.CFG", "second\r\n");
  f.appendFile("C:\\b.cfg", "new");
  EXPECT_EQ(f.readFile("C:\\a.cfg"), "first\r\nsecond\r\n");
  EXPECT_EQ(f.readFile("C:\\b.cfg"), "new");
  f.writeFile("C:\\a.cfg", "short");
  EXPECT_EQ(contents("a.cfg"), "short");

  chmod(host("a.cfg").c_str(), 0640);
  f.replaceFile("C:\\A.cfg", "replaced");
  EXPECT_EQ(contents("a.cfg"), "replaced");
  EXPECT_EQ(fs::status(host("a.cfg")).permissions(), fs::perms(0640));
  EXPECT_EQ(allNames(""), (std::vector<std::string>{"Dir", "a.cfg", "b.cfg"}));
}

TEST_F(HostFileSystemTest, ListsSortedWithoutHiddenOnes) {
  HostFileSystem& f = *files_;
  for (const char* name : {"b.txt", "a.txt", "A.txt", "C.TXT", "d.cfg", "e.doc", ".h.txt"})
    makeFile(std::string("List/") + name);
  fs::create_directories(host("List/dir.txt"));
  fs::create_directories(host("List/Sub"));
  fs::create_directories(host("List/.git"));
  fs::create_directories(host("List/another"));
  fs::create_symlink(host("List/e.doc"), host("List/link.txt"));
  EXPECT_EQ(f.listFiles("C:\\list", "*.txt;*.CFG"),
            (std::vector<std::string>{"A.txt", "a.txt", "b.txt", "C.TXT", "d.cfg", "link.txt"}));
  EXPECT_EQ(f.listDirs("C:\\LIST\\"),
            (std::vector<std::string>{"C:\\LIST\\another", "C:\\LIST\\dir.txt", "C:\\LIST\\Sub"}));
  EXPECT_EQ(f.listDirs("C:\\").size(), 1u);
  EXPECT_EQ(f.listDirs("C:\\")[0], "C:\\List");
  EXPECT_EQ(errorOf([&] { f.listFiles("C:\\None", "*.*"); }), err::PathNotFound);
  EXPECT_EQ(errorOf([&] { f.listDirs("C:\\None"); }), err::PathNotFound);
}

TEST_F(HostFileSystemTest, DefaultMapReadsWineDriveLinks) {
  std::string prefix = host("wine");
  fs::create_directories(prefix + "/drive_c");
  fs::create_directories(prefix + "/dosdevices");
  fs::create_directories(host("cdrom"));
  fs::create_symlink("../drive_c", prefix + "/dosdevices/c:");
  fs::create_symlink(host("cdrom"), prefix + "/dosdevices/D:");
  fs::create_symlink("/dev/null", prefix + "/dosdevices/d::");
  fs::create_symlink(host("missing"), prefix + "/dosdevices/e:");
  fs::create_symlink(host("cdrom"), prefix + "/dosdevices/z:");

  const char* saved = getenv("WINEPREFIX");
  std::string savedValue = saved ? saved : "";
  setenv("WINEPREFIX", prefix.c_str(), 1);
  DriveMap map = DriveMap::defaultMap();
  saved ? setenv("WINEPREFIX", savedValue.c_str(), 1) : unsetenv("WINEPREFIX");

  EXPECT_EQ(map.letters(), (std::vector<char>{'c', 'd', 'z'}));
  EXPECT_EQ(map.root('C'), fs::canonical(prefix + "/drive_c").string());
  EXPECT_EQ(map.root('d'), fs::canonical(host("cdrom")).string());
  // The prefix's own Z: link counts, wherever it points.
  EXPECT_EQ(map.root('z'), fs::canonical(host("cdrom")).string());
}

// Z: stands for the whole host only where Wine would make it: in a prefix not made yet. A
// prefix whose links leave Z: out keeps its programs inside the drives it names.
TEST_F(HostFileSystemTest, ZIsTheHostRootOnlyWithoutADriveFolder) {
  fs::create_directories(host("onlyc/dosdevices"));
  fs::create_directories(host("sandbox"));
  fs::create_symlink(host("sandbox"), host("onlyc/dosdevices/c:"));
  fs::create_directories(host("nodrives/dosdevices"));
  fs::create_directories(host("plain"));

  EXPECT_EQ(DriveMap::fromWinePrefix(host("nowine")).letters(), std::vector<char>{'z'});
  EXPECT_EQ(DriveMap::fromWinePrefix(host("nowine")).root('z'), "/");
  EXPECT_EQ(DriveMap::fromWinePrefix(host("plain")).letters(), std::vector<char>{'z'});
  EXPECT_EQ(DriveMap::fromWinePrefix(host("onlyc")).letters(), std::vector<char>{'c'});
  EXPECT_EQ(DriveMap::fromWinePrefix(host("onlyc")).toDos("/"), std::nullopt);
  EXPECT_TRUE(DriveMap::fromWinePrefix(host("nodrives")).letters().empty());
}

}  // namespace
}  // namespace orvex

namespace orvex {
namespace {

// Another program writing into a folder, on a file system whose clock did not tick since the
// program last looked (FAT keeps 2 s, others a few ms): the folder's time is set back.
void writeUnseen(const std::string& dir, const std::string& name) {
  struct stat before;
  ASSERT_EQ(stat(dir.c_str(), &before), 0);
  std::ofstream(dir + "/" + name) << "arrived";
  const struct timespec times[2] = {before.st_atim, before.st_mtim};
  ASSERT_EQ(utimensat(AT_FDCWD, dir.c_str(), times, 0), 0);
}

TEST_F(HostFileSystemTest, ANameAnotherProgramWroteIsNeverHidden) {
  makeFile("Assembly/old.txt");
  // Looking for a name spelt otherwise than on disk fills what is kept of the folder.
  EXPECT_FALSE(files_->isFile("C:\\Assembly\\Panel.cfg"));

  // Within the same tick of the folder's clock: seen once the program looks afresh, at the
  // start of its next event.
  writeUnseen(host("Assembly"), "panel.cfg");
  files_->forgetRememberedNames();
  EXPECT_TRUE(files_->isFile("C:\\Assembly\\Panel.cfg"));

  // A later tick: the program's own change in between does not make it keep a stale view.
  std::ofstream(host("Assembly/model.cfg")) << "arrived";
  files_->kill("C:\\Assembly\\old.txt");
  EXPECT_TRUE(files_->isFile("C:\\Assembly\\MODEL.CFG"));
}

}  // namespace
}  // namespace orvex

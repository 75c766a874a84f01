// The copy pass on real files: what a pass stopped before its delete loop leaves, and the
// installed files kept apart from the assembly's, however the file system moved them.
#include <sys/stat.h>

#include <algorithm>

#include "host/file_transfer.h"
#include "platform/errors.h"
#include "support/sandbox.h"

namespace orvex::test {
namespace {

const std::string A = "C:\\Orvex\\Assembly\\";
const std::string T = "C:\\FS98\\Target\\";

class CopyPassTest : public Sandbox {
 protected:
  mode_t modeOf(const std::string& dosPath) const {
    struct stat st {};
    EXPECT_EQ(stat(host(dosPath).c_str(), &st), 0) << dosPath;
    return st.st_mode & 07777;
  }
};

TEST_F(CopyPassTest, AStoppedPassLeavesTheAssemblyWholeAndTheInstalledFilesApart) {
  Orvex& app = start();
  makeDir("C:\\FS98");
  makeDir("C:\\FS98\\Target");
  const std::vector<std::string> files = {"a.bmp", "ro.bmp", "x.bmp", "z.bmp"};
  for (const std::string& name : files) write(A + name, "new " + name);
  chmod(host(A + "ro.bmp").c_str(), 0444);
  chmod(host(A + "x.bmp").c_str(), 0755);
  // The last file meets a protected target, and the handler stops the pass there.
  write(T + "z.bmp", "old z");
  fs_->setReadOnly(T + "z.bmp", true);
  std::vector<PassStep> failed;
  const bool carriedOn =
      app.copying.runCopyPass({"*.bmp", T, "", "", false}, [&](const FileError& e, PassStep step) {
        EXPECT_EQ(e.number(), err::PathFileAccess);
        failed.push_back(step);
        return Resume::stop();
      });
  EXPECT_FALSE(carriedOn);
  EXPECT_EQ(failed, std::vector<PassStep>{PassStep::Copy});

  // Every assembly file is still there, as it was; the files before the stop are installed.
  EXPECT_EQ(names(A), files);
  EXPECT_TRUE(fs_->isReadOnly(A + "ro.bmp"));
  EXPECT_EQ(read(T + "z.bmp"), "old z");
  const mode_t copyMode = newFileMode();
  for (const char* name : {"a.bmp", "ro.bmp", "x.bmp"}) {
    EXPECT_EQ(read(T + name), std::string("new ") + name);
    EXPECT_EQ(modeOf(T + name), copyMode) << name;
  }

  // The clean-up clears and deletes the assembly's files: the installed ones stay as they are.
  for (const std::string& name : files) {
    fs_->setAttrNormal(A + name);
    fs_->kill(A + name);
  }
  for (const char* name : {"a.bmp", "ro.bmp", "x.bmp"}) {
    EXPECT_EQ(read(T + name), std::string("new ") + name);
    EXPECT_EQ(modeOf(T + name), copyMode) << name;
  }
}

TEST_F(CopyPassTest, TheCopyWindowNamesAFileAFewTimesASecondAndEndsOnTheLast) {
  Orvex& app = start();
  makeDir("C:\\FS98");
  makeDir("C:\\FS98\\Target");
  std::vector<std::string> files;
  for (int k = 0; k < 20; ++k) files.push_back("f" + std::to_string(10 + k) + ".bmp");
  struct Shown {
    double at;
    std::string caption;
  };
  std::vector<Shown> shown;
  app.anim.labAnimation.onUpdate = [&] {
    shown.push_back({tk_.now, app.anim.labAnimation.caption()});
  };
  int pumps = 0;
  tk_.onEvents = [&] { ++pumps; };
  const double gap = CopyPasses::kNameSeconds;
  // Seconds of the clock at each look: none (files faster than the clock), a few names a
  // pass, and files slower than the pace, each of which is named; the window handles its
  // events with each name, and in the delete loop at the same pace.
  struct Case {
    double step;
    size_t fewestNames, mostNames;
    int fewestPumps;
  };
  for (const Case& c : {Case{0.0, 2, 2, 1}, Case{0.01, 3, 8, 4}, Case{0.1, 20, 20, 40}}) {
    const double step = c.step;
    for (const std::string& name : files) write(A + name);
    app.copying.beginInstall();
    app.anim.labAnimation.setCaption("");
    shown.clear();
    pumps = 0;
    tk_.clockStep = step;
    ASSERT_TRUE(app.copying.runCopyPass({"*.bmp", T, "", "", false},
                                        [](const FileError&, PassStep) { return Resume::next(); }));
    tk_.clockStep = 0;
    ASSERT_GE(shown.size(), 2u) << step;
    EXPECT_EQ(shown.front().caption, "Copying " + files.front()) << step;
    EXPECT_EQ(shown.back().caption, "Copying " + files.back()) << step;
    size_t next = 0;
    for (size_t k = 0; k < shown.size(); ++k) {
      // Names of the pass, in its order, each at least the pace after the one before but the
      // last, which ends the pass whenever it comes.
      auto it = std::find_if(files.begin() + long(next), files.end(), [&](const std::string& f) {
        return shown[k].caption == "Copying " + f;
      });
      ASSERT_NE(it, files.end()) << step << " " << shown[k].caption;
      next = size_t(it - files.begin()) + 1;
      if (k > 0 && k + 1 < shown.size()) {
        EXPECT_GE(shown[k].at - shown[k - 1].at, gap) << step;
      }
    }
    EXPECT_GE(shown.size(), c.fewestNames) << step;
    EXPECT_LE(shown.size(), c.mostNames) << step;
    EXPECT_GE(pumps, c.fewestPumps) << step;
    EXPECT_TRUE(names(A).empty());
  }

  // A failed copy, about which a question may come, names its own file.
  for (const std::string& name : files) write(A + name);
  fs_->setReadOnly(T + "f20.bmp", true);
  app.copying.beginInstall();
  std::string namedAtFailure;
  app.copying.runCopyPass({"*.bmp", T, "", "", false}, [&](const FileError&, PassStep) {
    namedAtFailure = app.anim.labAnimation.caption();
    return Resume::next();
  });
  EXPECT_EQ(namedAtFailure, "Copying f20.bmp");
}

}  // namespace
}  // namespace orvex::test

// The copy pass on real files: what a pass stopped before its delete loop leaves, and the
// installed files kept apart from the assembly's, however the file system moved them.
#include <sys/stat.h>

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

}  // namespace
}  // namespace orvex::test

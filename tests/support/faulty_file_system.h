// A file system that forwards to another one and makes one chosen operation fail, so that a
// test can prove that a failure at any point of a procedure damages nothing; or that tells
// after each operation how many have run, so that a program can be killed there.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace orvex::test {

class FaultyFileSystem : public FileSystem {
 public:
  explicit FaultyFileSystem(FileSystem& inner) : inner_(inner) {}

  // The error number that stands for a failure no procedure expects: the operation throws a
  // std::runtime_error instead of a FileError.
  static constexpr int kUnexpected = -1;

  // Counting starts again from now: the k-th operation (1 for the next one) fails with the
  // given error number. An append or a write that fails with "disk full" (61) first writes half
  // of its data, as a full disk does. k = 0 lets every operation through.
  void failAt(long k, int number);
  // The first operation of this name (e.g. "preserveFile") from now on fails with the number.
  void failFirst(const std::string& operation, int number);
  // The disk that holds the folder disk (a DOS path) takes only this many bytes more
  // (negative: no limit): a copy, transfer or write there that would take more fails with
  // "disk full" (61), naming its target, and its free space says what is left. Each file
  // copied counts its size, a link or not.
  void fillAfter(long long bytes, const std::string& disk = "C:\\") {
    room_ = bytes;
    disk_ = disk;
  }
  // Operations seen since the last failAt.
  long operations() const { return count_; }
  // Whether the chosen operation has been reached and failed.
  bool fired() const { return fired_; }
  // The failed operation and its path, for test messages.
  const std::string& failedOperation() const { return failed_; }
  // Told after each counted operation has run, whether it returned or threw, with its count.
  std::function<void(long count)> afterOperation;
  // Told before each counted operation runs, with its name and path.
  std::function<void(const std::string& operation, const std::string& path)> beforeOperation;

  // Path arithmetic and the current directory are not disk operations: they never fail.
  std::string curDir() override { return inner_.curDir(); }
  std::string fullPath(const std::string& path) override { return inner_.fullPath(path); }
  std::vector<std::string> drives() override { return inner_.drives(); }
  std::string hostPath(const std::string& path) override { return inner_.hostPath(path); }
  std::string dosPath(const std::string& hostPath) override { return inner_.dosPath(hostPath); }
  void closeAll() override { inner_.closeAll(); }
  void forgetRememberedNames() override { inner_.forgetRememberedNames(); }

  void chDir(const std::string& path) override;
  void chDrive(const std::string& drive) override;
  // A failing look-up answers "not there", as the host's does when it cannot look.
  bool isDirectory(const std::string& path) override;
  bool isFile(const std::string& path) override;
  void mkDir(const std::string& path) override;
  void rmDir(const std::string& path) override;
  void copyFile(const std::string& source, const std::string& target) override;
  void transferFile(const std::string& source, const std::string& target) override;
  bool transferNewFile(const std::string& source, const std::string& target) override;
  void aboutToTransfer(const std::vector<std::pair<std::string, std::string>>& moves) override {
    inner_.aboutToTransfer(moves);
  }
  std::optional<FileStamp> transferredStamp() override { return inner_.transferredStamp(); }
  void aboutToMake(const std::vector<std::string>& folders) override {
    inner_.aboutToMake(folders);
  }
  void preserveFile(const std::string& source, const std::string& target, bool mayShare,
                    bool folderLater) override;
  void syncFolder(const std::string& folder) override;
  std::optional<FileStamp> stamp(const std::string& path) override;
  std::vector<std::optional<FileStamp>> stamps(const std::vector<std::string>& paths) override;
  // All of them one operation.
  std::vector<std::optional<long long>> entryTimes(const std::vector<std::string>& paths) override;
  std::string digest(const std::string& path) override;
  std::optional<long long> freeSpace(const std::string& path) override {
    return onTheFullDisk(path) ? std::optional<long long>(room_) : inner_.freeSpace(path);
  }
  void moveFile(const std::string& source, const std::string& target) override;
  void kill(const std::string& pathOrPattern) override;
  void deleteFile(const std::string& path) override;
  void deleteFiles(const std::vector<std::string>& paths) override;
  void setAttrNormal(const std::string& path) override;
  void setReadOnly(const std::string& path, bool readOnly) override;
  bool isReadOnly(const std::string& path) override;
  std::vector<std::string> listFiles(const std::string& dir, const std::string& patterns) override;
  std::vector<std::string> listDirs(const std::string& dir) override;
  std::vector<std::string> listFilesWithoutLinks(const std::string& dir,
                                                 const std::string& patterns,
                                                 std::vector<std::string>& links) override;
  bool isLink(const std::string& path) override;
  void removeLink(const std::string& path) override;
  void checkReadable(const std::string& path) override;
  std::string readFile(const std::string& path) override;
  void writeFile(const std::string& path, const std::string& data) override;
  void appendFile(const std::string& path, const std::string& data) override;
  void replaceFile(const std::string& path, const std::string& data) override;

 private:
  // One counted operation, from its start to its end: failing tells whether it is the one to
  // fail; its end is told to afterOperation.
  class Counted {
   public:
    Counted(FaultyFileSystem& fs, const char* operation, const std::string& path);
    ~Counted();
    Counted(const Counted&) = delete;
    Counted& operator=(const Counted&) = delete;
    const bool failing;

   private:
    FaultyFileSystem& fs_;
  };

  // Counts one operation; true when it is the one to fail.
  bool due(const char* operation, const std::string& path);
  [[noreturn]] void fail();
  // Takes bytes of the room left for a write to target, or fails as a full disk.
  void take(long long bytes, const std::string& target);
  void takeSizeOf(const std::string& source, const std::string& target);
  bool onTheFullDisk(const std::string& path);
  long long room_ = -1;
  std::string disk_;

  FileSystem& inner_;
  long count_ = 0;
  long failAt_ = 0;
  std::string failName_;
  int number_ = 0;
  bool fired_ = false;
  std::string failed_;
};

}  // namespace orvex::test

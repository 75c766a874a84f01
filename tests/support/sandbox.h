// A fresh temporary folder per test, mapped as drive C:, with the program's root folder
// C:\Orvex and its assembly area, and the program built on it with the fake toolkit.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "app/orvex.h"
#include "host/host_file_system.h"
#include "support/fakes.h"

namespace orvex::test {

// Everything below a host folder but one folder in it (relative, "" for none): relative path ->
// type, permissions and bytes (a link's target, not followed); folders end in "/".
std::map<std::string, std::string> treeOf(const std::string& hostRoot,
                                          const std::string& leaveOut = {});

class Sandbox : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Host path of a DOS path on C: ("C:\Orvex\Assembly\a.cfg" -> "<tmp>/Orvex/Assembly/a.cfg").
  std::string host(const std::string& dosPath) const;
  void write(const std::string& dosPath, const std::string& content = "x");
  void makeDir(const std::string& dosPath);
  bool exists(const std::string& dosPath) const;
  std::string read(const std::string& dosPath) const;
  // Names in a folder (files and folders), sorted.
  std::vector<std::string> names(const std::string& dosPath) const;
  // A simulator root with its check file and the usual folders.
  void makeSimulator(const std::string& dosRoot, const std::string& checkFile);
  // Copies a fixture (see fixtures.h) into a DOS path.
  void copyFixture(const std::string& name, const std::string& dosPath);

  // Builds the program on the sandbox and runs its start-up.
  Orvex& start();

  std::string root_;  // host folder behind C:
  std::unique_ptr<HostFileSystem> fs_;
  FakeToolkit tk_;
  FakeShell shell_;
  std::unique_ptr<Orvex> app_;
};

}  // namespace orvex::test

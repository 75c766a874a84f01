// A temporary folder mapped as drive C: for the fuzz targets that run the real program: made
// once per process, its files laid out again for every input.
#pragma once

#include <memory>
#include <string>

#include "app/orvex.h"
#include "host/host_file_system.h"
#include "support/fakes.h"

namespace orvex::fuzz {

class World {
 public:
  World();
  ~World();

  // Writes a file at a DOS path on C: ("C:\Orvex\Orvex.cfg"), making its folders.
  void write(const std::string& dosPath, const std::string& data) const;
  std::string read(const std::string& dosPath) const;
  // Removes everything and lays out the root C:\Orvex with its assembly area and settings
  // naming FS98 at C:\FS98, a simulator with its folders.
  void reset(const std::string& settings) const;

 private:
  std::string host(const std::string& dosPath) const;
  std::string root_;
};

// The program built on the world, with the scripted toolkit and shell.
struct Program {
  explicit Program(const std::string& hostRoot);
  std::unique_ptr<HostFileSystem> fs;
  test::FakeToolkit tk;
  test::FakeShell shell;
  std::unique_ptr<Orvex> app;
};

// The world of this process.
World& world();
// Its host folder.
const std::string& worldRoot();

}  // namespace orvex::fuzz

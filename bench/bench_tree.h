// What the benchmarks share: a generated aircraft of many files in a scratch folder, the
// program built on it, the plain tools run side by side, and the arithmetic of the figures.
#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/orvex.h"
#include "host/host_file_system.h"
#include "support/fakes.h"

namespace orvex::bench {

// One file of the generated aircraft and the folder (relative to the scratch root) where the
// install sorts it.
struct BenchFile {
  std::string name;
  size_t size;
  std::string target;
};

// A scratch folder laid out as the program expects it: <root>/Orvex with its assembly area and
// copy animation, <root>/FS98 a simulator, <root>/pristine the add-on as generated.
class Scratch {
 public:
  // The folder is made under ORVEX_BENCH_DIR, or the system's temporary folder.
  Scratch();
  ~Scratch();
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  const std::string& root() const { return root_; }
  std::string path(const std::string& relative) const { return root_ + "/" + relative; }

  // Generates an aircraft of `count` files of about `totalBytes` in all, spread over every
  // sorting group of the aircraft install, into the pristine folder.
  void generateAircraft(int count, size_t totalBytes);
  const std::vector<BenchFile>& files() const { return files_; }
  size_t totalBytes() const;

  // The assembly area filled with the pristine add-on (hard links: instant, and the bytes
  // read are the same), and the simulator emptied of an earlier install.
  void unpack();
  void clearInstall();

  // Flushes written data to disk, so that one run's write-back does not slow the next.
  static void settle();

 private:
  std::string root_;
  std::vector<BenchFile> files_;
};

// The program built on a scratch folder, started, with the aircraft recognised by Refresh.
struct Program {
  explicit Program(Scratch& scratch);
  std::unique_ptr<HostFileSystem> fs;
  test::FakeToolkit tk;
  test::FakeShell shell;
  std::unique_ptr<Orvex> app;
};

// Runs a program with arguments and waits for it; false when it failed.
bool runTool(const std::vector<std::string>& argv);

// Seconds taken by f.
double timed(const std::function<void()>& f);

double median(std::vector<double> values);

// Prints one figure as one line: its name, the value, the goal and whether it is met.
void printFigure(const std::string& name, double value, const std::string& unit,
                 const std::string& goal, bool met);

}  // namespace orvex::bench

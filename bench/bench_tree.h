// What the benchmarks share: a generated aircraft or scenery of many files in a scratch folder,
// the program built on it, the plain tools run side by side, and the arithmetic of the figures.
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
#include "support/faulty_file_system.h"

namespace orvex::bench {

// One file of the generated add-on (its name in the assembly area, "/" between its folders)
// and the folder (relative to the scratch root) where the install puts it under its own name.
struct BenchFile {
  std::string name;
  size_t size;
  std::string target;
  std::string installedName() const { return name.substr(name.find_last_of('/') + 1); }
};

enum class AddOn { Aircraft, Scenery };

// A scratch folder laid out as the program expects it: <root>/FS98 a simulator, and in <home>
// the program's root folder Orvex with its assembly area and copy animation beside pristine,
// the add-on as generated. home is root, or a folder on the memory file system (/dev/shm) when
// the assembly area is to lie on another file system than the simulator.
class Scratch {
 public:
  // The folder is made under ORVEX_BENCH_DIR, or the system's temporary folder.
  explicit Scratch(bool assemblyOnTmpfs = false);
  ~Scratch();
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  // Whether a memory file system is there for a second scratch folder.
  static bool tmpfsAvailable();

  const std::string& root() const { return root_; }
  const std::string& home() const { return home_; }
  std::string path(const std::string& relative) const { return root_ + "/" + relative; }
  std::string assembly(const std::string& name) const { return home_ + "/Orvex/Assembly/" + name; }

  // Generates an add-on of `count` files of about `totalBytes` in all into the pristine
  // folder: an aircraft spread over every sorting group of the aircraft install, or a scenery
  // over the three folders of the scenery install.
  void generateAircraft(int count, size_t totalBytes);
  void generateScenery(int count, size_t totalBytes);
  // An aircraft as real ones are packed: a folder of its own with model, panel and sound
  // folders and `liveries` texture folders (texture, texture.1 ...) that hold most files.
  void generateLiveryAircraft(int count, size_t totalBytes, int liveries);
  // A pack of `aircraft` aircraft, each in its folder with `folders` texture folders of
  // `perFolder` files.
  void generatePack(int aircraft, int folders, int perFolder);
  // A pack of `areas` sceneries, each with a scenery and a texture folder of `perFolder` files:
  // Refresh walks every folder of it.
  void generateSceneryPack(int areas, int perFolder);
  AddOn addOn() const { return addOn_; }
  // The folder the install makes for the add-on, relative to the root.
  std::string addOnFolder() const;
  const std::vector<BenchFile>& files() const { return files_; }
  size_t totalBytes() const;

  // The simulator emptied of an earlier install and the assembly area filled with the pristine
  // add-on: on one file system its files themselves, renamed (instant, and the same bytes),
  // and taken back from where the last install put them.
  void unpack();

  // The installed files get their pristine names back as second names, so that an uninstall
  // may remove them. On one file system, after an install.
  void keepPristine();

  // Files of the simulator's own that the add-on replaces: every gauge it brings is put in the
  // simulator's Gauges folder first, smaller than the add-on's, its bytes also kept in <home>/
  // originals. After unpack.
  void layOriginals();
  // Their names.
  std::vector<std::string> originals() const;

  // Flushes written data to disk, so that one run's write-back does not slow the next.
  static void settle();

 private:
  void clearInstall();
  // Noise of about `average` bytes for each file, but the given contents for the named ones.
  void writeFiles(size_t average, const std::map<std::string, std::string>& fixed);

  std::string root_;
  std::string home_;
  AddOn addOn_ = AddOn::Aircraft;
  std::vector<BenchFile> files_;
};

// The file system under the program with a stop watch on the copy path: from the start of the
// first file copied to the end of the last file deleted.
class CopyPathClock : public test::FaultyFileSystem {
 public:
  using FaultyFileSystem::FaultyFileSystem;
  void copyFile(const std::string& source, const std::string& target) override;
  void transferFile(const std::string& source, const std::string& target) override;
  bool transferNewFile(const std::string& source, const std::string& target) override;
  void kill(const std::string& pathOrPattern) override;
  // Seconds of the copy path of the last install.
  double seconds() const;
  // Whether the install has begun its copy path.
  bool copying() const { return first_ != std::chrono::steady_clock::time_point{}; }

 private:
  void started();
  std::chrono::steady_clock::time_point first_{}, last_{};
};

// The program built on a scratch folder, started, with the add-on recognised by Refresh and,
// for a scenery, its name typed and the main scenery folder chosen; its installs recorded
// unless told otherwise.
struct Program {
  explicit Program(Scratch& scratch, bool record = true);
  std::unique_ptr<HostFileSystem> host;
  std::unique_ptr<CopyPathClock> fs;
  test::FakeToolkit tk;
  test::FakeShell shell;
  std::unique_ptr<Orvex> app;
};

// The host file system of a scratch folder: C: the root, D: the home when it lies elsewhere.
std::unique_ptr<HostFileSystem> hostFileSystem(const Scratch& scratch);

// Records installs as the program does, in an SQLite store in its root folder, so that every
// figure includes what recording costs. Before Form_Load.
void recordInstalls(Orvex& app);

// Makes a Refresh'ed program ready to install: checks what the scan found and, for a scenery,
// types its name and chooses the main scenery folder.
void prepareInstall(Orvex& app, AddOn addOn);
// Presses the install button of the add-on's tab.
void pressInstall(Orvex& app, AddOn addOn);

// Runs a program with arguments and waits for it; false when it failed.
bool runTool(const std::vector<std::string>& argv);

// The same files into the same folders with one mkdir, one cp or mv per folder and one rm.
double installByTools(Scratch& s, bool move);
// The same, untimed, on an assembly area unpacked already.
void placeByTools(Scratch& s, bool move);

// The peak memory (max RSS, MB) of a child process that runs work, which says whether it did
// what it was to do; what names it in the failure.
double peakMemory(const std::string& what, const std::function<bool()>& work);

// Seconds taken by f.
double timed(const std::function<void()>& f);

double median(std::vector<double> values);

// A positive whole number from the environment, or the fallback.
long envNumber(const char* name, long fallback);
int rounds();

// Figures of the Hangar of 1,000 aircraft and of a livery's install (hangar_bench.cpp).
void hangarFigures();
void liveryInstallFigure();
// The livery's install once next to mv, for a profiler (ORVEX_BENCH_LIVERY_FILES files, 200);
// the exit status.
int liveryInstallOnce();

// Prints one figure as one line: its name, the value, the goal and whether it is met.
void printFigure(const std::string& name, double value, const std::string& unit,
                 const std::string& goal, bool met);

}  // namespace orvex::bench

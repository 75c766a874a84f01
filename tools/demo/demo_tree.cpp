// Lays out the demonstration tree on the host and writes the program's settings file for it.
#include "demo_tree.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <vector>

#include "host/drive_map.h"
#include "samples.h"
#include "zip_writer.h"

namespace orvex::demo {
namespace {

namespace stdfs = std::filesystem;

struct SampleSimulator {
  const char* folder;
  const char* title;
  const char* checkFile;
};

// In the order of the settings file.
const SampleSimulator kSimulators[] = {
    {"FS98", "Flight Simulator 98", "Fltsim98.cfg"},
    {"FS2000", "Flight Simulator 2000", "FS2000.exe"},
    {"CFS", "Combat Flight Simulator", "Combatfs.exe"},
    {"CFS2", "Combat Flight Simulator 2", "cfs2.exe"},
};

void writeNew(const stdfs::path& path, const std::string& data) {
  stdfs::create_directories(path.parent_path());
  if (stdfs::exists(path)) throw std::runtime_error(path.string() + " exists already");
  std::ofstream out(path, std::ios::binary);
  out.write(data.data(), std::streamsize(data.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

// A quoted item ends at the next double quote, and a backslash in a host name could not be
// told from a separator, so such a folder cannot be named in the settings file.
void checkUsable(const std::string& path) {
  if (path.find_first_of("\"\\\r\n") != std::string::npos)
    throw std::runtime_error(
        "the folder's path must not hold a double quote, a backslash or a "
        "line break: " +
        path);
}

std::string settingsFile(const stdfs::path& parent) {
  std::string out;
  for (const SampleSimulator& sim : kSimulators)
    out += "\"" + dosPathOf((parent / "Sims" / sim.folder).string()) + "\"\r\n";
  out += "\"" + dosPathOf((parent / "Samples").string()) + "\"\r\n";
  out += "\"FS98\"\r\n";
  out += "0\r\n";
  return out;
}

}  // namespace

std::string dosPathOf(const std::string& absoluteHostPath) {
  std::optional<std::string> dos = DriveMap::defaultMap().toDos(absoluteHostPath);
  if (!dos)
    throw std::runtime_error("no drive of the Wine prefix reaches " + absoluteHostPath +
                             ", so the program could not reach it either");
  return *dos;
}

std::string makeDemo(const std::string& parentArg) {
  std::error_code ec;
  stdfs::path parent = stdfs::absolute(parentArg, ec);
  if (ec) throw std::runtime_error("cannot use the folder " + parentArg);
  checkUsable(parent.string());
  if (stdfs::exists(parent, ec)) {
    if (!stdfs::is_directory(parent, ec))
      throw std::runtime_error(parent.string() + " is not a folder");
    if (!stdfs::is_empty(parent, ec))
      throw std::runtime_error(parent.string() + " is not empty: choose a new or empty folder");
  } else if (!stdfs::create_directories(parent, ec)) {
    throw std::runtime_error("cannot create " + parent.string() + ": " + ec.message());
  }
  parent = stdfs::canonical(parent, ec);
  if (ec) throw std::runtime_error("cannot use the folder " + parentArg);
  checkUsable(parent.string());
  // Before anything is made: a folder the program cannot reach is refused whole.
  const std::string settings = settingsFile(parent);

  for (const SampleSimulator& sim : kSimulators) {
    const stdfs::path root = parent / "Sims" / sim.folder;
    for (const std::string& folder : simulatorFolders()) stdfs::create_directories(root / folder);
    for (const DemoFile& file : simulatorFiles(sim.title, sim.checkFile))
      writeNew(root / file.path, file.data);
  }

  stdfs::create_directories(parent / "Samples");
  for (const SampleArchive& archive : sampleArchives())
    writeZip((parent / "Samples" / archive.fileName).string(), archive.files);

  const stdfs::path root = parent / "Orvex";
  stdfs::create_directories(root / "Assembly");
  writeNew(root / "Orvex.cfg", settings);
  return root.string();
}

}  // namespace orvex::demo

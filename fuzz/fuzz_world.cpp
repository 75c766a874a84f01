// The temporary world of the fuzz targets that run the real program.
#include "fuzz/fuzz_world.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/drive_map.h"

namespace orvex::fuzz {

namespace stdfs = std::filesystem;

namespace {
std::string hostRoot;
}

World::World() {
  std::string tmpl = (stdfs::temp_directory_path() / "orvex-fuzz-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) std::abort();
  root_ = tmpl;
  hostRoot = root_;
}

World::~World() {
  std::error_code ec;
  stdfs::remove_all(root_, ec);
}

std::string World::host(const std::string& dosPath) const {
  std::string rest = dosPath.substr(2);
  for (char& c : rest)
    if (c == '\\') c = '/';
  return root_ + rest;
}

void World::write(const std::string& dosPath, const std::string& data) const {
  stdfs::create_directories(stdfs::path(host(dosPath)).parent_path());
  std::ofstream(host(dosPath), std::ios::binary) << data;
}

std::string World::read(const std::string& dosPath) const {
  std::ifstream in(host(dosPath), std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void World::reset(const std::string& settings) const {
  std::error_code ec;
  for (auto& e : stdfs::recursive_directory_iterator(root_, ec))
    stdfs::permissions(e.path(), stdfs::perms::owner_all, stdfs::perm_options::add, ec);
  for (auto& e : stdfs::directory_iterator(root_)) stdfs::remove_all(e.path());
  stdfs::create_directories(root_ + "/Orvex/Assembly");
  for (const char* d : {"Aircraft", "Gauges", "Sound", "Scenery"})
    stdfs::create_directories(root_ + "/FS98/" + d);
  write("C:\\FS98\\Fltsim98.cfg", "");
  write("C:\\Orvex\\FileCopy.avi", "RIFF");
  write("C:\\Orvex\\Orvex.cfg", settings);
}

Program::Program(const std::string& root) {
  DriveMap map;
  map.add('c', root);
  fs = std::make_unique<HostFileSystem>(map, root + "/Orvex");
  app = std::make_unique<Orvex>(*fs, tk, shell);
}

World& world() {
  static World w;
  return w;
}

const std::string& worldRoot() {
  world();
  return hostRoot;
}

}  // namespace orvex::fuzz

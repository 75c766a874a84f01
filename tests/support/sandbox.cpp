// The per-test sandbox folder and helpers to lay out files in it.
#include "support/sandbox.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/fixtures.h"

namespace orvex::test {

namespace stdfs = std::filesystem;

std::map<std::string, std::string> treeOf(const std::string& hostRoot,
                                          const std::string& leaveOut) {
  std::map<std::string, std::string> tree;
  const stdfs::path skipped = stdfs::path(hostRoot) / leaveOut;
  for (auto it = stdfs::recursive_directory_iterator(hostRoot); it != stdfs::end(it); ++it) {
    if (!leaveOut.empty() && it->path() == skipped) {
      it.disable_recursion_pending();
      continue;
    }
    const stdfs::file_status st = it->symlink_status();
    const std::string rel = stdfs::relative(it->path(), hostRoot).string();
    std::string& entry = tree[rel + (st.type() == stdfs::file_type::directory ? "/" : "")];
    entry = std::to_string(int(st.type())) + " " + std::to_string(int(st.permissions())) + " ";
    if (st.type() == stdfs::file_type::symlink)
      entry += stdfs::read_symlink(it->path()).string();
    else if (st.type() == stdfs::file_type::regular) {
      std::ifstream in(it->path(), std::ios::binary);
      std::stringstream bytes;
      bytes << in.rdbuf();
      entry += bytes.str();
    }
  }
  return tree;
}

void Sandbox::SetUp() {
  std::string tmpl = (stdfs::temp_directory_path() / "orvex-test-XXXXXX").string();
  ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
  root_ = tmpl;
  stdfs::create_directories(root_ + "/Orvex/Assembly");
  DriveMap map;
  map.add('c', root_);
  fs_ = std::make_unique<HostFileSystem>(map, root_ + "/Orvex");
}

void Sandbox::TearDown() {
  app_.reset();
  std::error_code ec;
  // Read-only files must not keep the folder from going.
  for (auto& e : stdfs::recursive_directory_iterator(root_, ec))
    stdfs::permissions(e.path(), stdfs::perms::owner_all, stdfs::perm_options::add, ec);
  stdfs::remove_all(root_, ec);
}

std::string Sandbox::host(const std::string& dosPath) const {
  std::string rest = dosPath.substr(2);
  for (char& c : rest)
    if (c == '\\') c = '/';
  return root_ + rest;
}

void Sandbox::write(const std::string& dosPath, const std::string& content) {
  stdfs::create_directories(stdfs::path(host(dosPath)).parent_path());
  std::ofstream(host(dosPath), std::ios::binary) << content;
}

void Sandbox::makeDir(const std::string& dosPath) {
  stdfs::create_directories(host(dosPath));
}

bool Sandbox::exists(const std::string& dosPath) const {
  return stdfs::exists(host(dosPath));
}

std::string Sandbox::read(const std::string& dosPath) const {
  std::ifstream in(host(dosPath), std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::vector<std::string> Sandbox::names(const std::string& dosPath) const {
  std::vector<std::string> out;
  std::error_code ec;
  for (auto& e : stdfs::directory_iterator(host(dosPath), ec)) out.push_back(e.path().filename());
  std::sort(out.begin(), out.end());
  return out;
}

void Sandbox::makeSimulator(const std::string& dosRoot, const std::string& checkFile) {
  write(dosRoot + "\\" + checkFile, "");
  for (const char* d : {"Aircraft", "Gauges", "Sound", "Scenery"}) makeDir(dosRoot + "\\" + d);
}

void Sandbox::copyFixture(const std::string& name, const std::string& dosPath) {
  write(dosPath, fixtureText(name));
}

Orvex& Sandbox::start() {
  app_ = std::make_unique<Orvex>(*fs_, tk_, shell_);
  app_->Form_Load();
  return *app_;
}

}  // namespace orvex::test

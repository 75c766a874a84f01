// The generated aircraft, the scratch folder, the plain tools and the figures of the benchmarks.
#include "bench/bench_tree.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "host/drive_map.h"

extern char** environ;

namespace orvex::bench {

namespace stdfs = std::filesystem;

namespace {

const std::string kPlane = "FS98/Aircraft/Bench Plane";

void writeFile(const std::string& path, const std::string& data) {
  std::ofstream out(path, std::ios::binary);
  out << data;
  if (!out) throw std::runtime_error("cannot write " + path);
}

// Bytes that no file system could fold away: a plain generator, the same in every run.
std::string noise(size_t size, uint32_t& seed) {
  std::string data(size, '\0');
  for (char& c : data) {
    seed = seed * 1664525u + 1013904223u;
    c = char(seed >> 24);
  }
  return data;
}

std::string numbered(const char* stem, int k, const char* extension) {
  char name[64];
  std::snprintf(name, sizeof name, "%s%04d.%s", stem, k, extension);
  return name;
}

}  // namespace

Scratch::Scratch() {
  const char* base = std::getenv("ORVEX_BENCH_DIR");
  std::string tmpl = (stdfs::path(base && *base ? base : stdfs::temp_directory_path().string()) /
                      "orvex-bench-XXXXXX")
                         .string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("cannot make a scratch folder");
  root_ = tmpl;
  for (const char* dir :
       {"Orvex/Assembly", "FS98/Aircraft", "FS98/Gauges", "FS98/Sound", "FS98/Scenery", "pristine"})
    stdfs::create_directories(path(dir));
  writeFile(path("Orvex/FileCopy.avi"), "RIFF");
  writeFile(path("Orvex/Orvex.cfg"),
            "\"C:\\FS98\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"FS98\"\r\n1\r\n");
  writeFile(path("FS98/Fltsim98.cfg"), "");
}

Scratch::~Scratch() {
  std::error_code ec;
  stdfs::remove_all(root_, ec);
}

void Scratch::generateAircraft(int count, size_t totalBytes) {
  files_.clear();
  const std::string plane = kPlane;
  auto add = [&](const std::string& name, const std::string& target) {
    files_.push_back({name, 0, target});
  };
  add("Aircraft.cfg", plane);
  add("plane.air", plane);
  add("plane_check.txt", plane);
  add("plane_Notes.txt", plane);
  add("Model.cfg", plane + "/Model");
  add("panel.cfg", plane + "/Panel");
  add("sound.cfg", plane + "/Sound");
  // The share of each sorting group in a large aircraft, per 5,000 files.
  struct Share {
    const char* stem;
    const char* extension;
    int per5000;
    std::string target;
  };
  const Share shares[] = {
      {"m", "mdl", 195, plane + "/Model"},        {"p", "bmp", 40, plane + "/Panel"},
      {"s", "wav", 600, plane + "/Sound"},        {"t", "bmp", 2000, plane + "/Texture"},
      {"t", "saf", 200, plane + "/Texture"},      {"t", "r8", 100, plane + "/Texture"},
      {"t", "pal", 50, plane + "/Texture"},       {"d", "txt", 300, plane + "/Documentation"},
      {"d", "doc", 50, plane + "/Documentation"}, {"g", "gau", 300, "FS98/Gauges"},
      {"i", "jpg", 100, plane + "/Image"},
  };
  std::string panelCfg = "[Window00]\r\n";
  for (const Share& share : shares) {
    const int n = share.per5000 * count / 5000;
    for (int k = 0; k < n; ++k) {
      add(numbered(share.stem, k, share.extension), share.target);
      if (share.target == plane + "/Panel")
        panelCfg += "file" + std::to_string(k) + "=" + files_.back().name + "\r\n";
    }
  }
  for (int k = 0; int(files_.size()) < count; ++k) add(numbered("u", k, "xyz"), plane + "/Unknown");

  const size_t average = totalBytes / size_t(count);
  uint32_t seed = 2024;
  for (BenchFile& f : files_) {
    std::string data;
    if (f.name == "Aircraft.cfg")
      data = "[fltsim.0]\r\ntitle=Bench Plane\r\nmodel=\r\npanel=\r\nsound=\r\ntexture=\r\n";
    else if (f.name == "panel.cfg")
      data = panelCfg;
    else {
      seed = seed * 1664525u + 1013904223u;
      const size_t spread = average > 1024 ? 2 * (average - 1024) : 1;
      data = noise(1024 + (seed >> 8) % spread, seed);
    }
    f.size = data.size();
    writeFile(path("pristine/" + f.name), data);
  }
}

size_t Scratch::totalBytes() const {
  size_t total = 0;
  for (const BenchFile& f : files_) total += f.size;
  return total;
}

void Scratch::unpack() {
  for (const BenchFile& f : files_) {
    const std::string to = path("Orvex/Assembly/" + f.name);
    unlink(to.c_str());
    if (link(path("pristine/" + f.name).c_str(), to.c_str()) != 0)
      throw std::runtime_error("cannot link " + to);
  }
}

void Scratch::clearInstall() {
  stdfs::remove_all(path(kPlane));
  for (auto& e : stdfs::directory_iterator(path("FS98/Gauges"))) stdfs::remove_all(e.path());
}

void Scratch::settle() {
  sync();
}

Program::Program(Scratch& scratch) {
  DriveMap map;
  map.add('c', scratch.root());
  fs = std::make_unique<HostFileSystem>(map, scratch.path("Orvex"));
  app = std::make_unique<Orvex>(*fs, tk, shell);
  app->Form_Load();
  app->cmdRefresh_Click();
  if (app->state.AircraftData != 1 || !app->frm.cmdInstall.visible())
    throw std::runtime_error("Refresh did not find the aircraft");
}

bool runTool(const std::vector<std::string>& argv) {
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid;
  if (posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0) return false;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double timed(const std::function<void()>& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void printFigure(const std::string& name, double value, const std::string& unit,
                 const std::string& goal, bool met) {
  std::printf("%-58s %9.3f %-3s goal %-10s %s\n", name.c_str(), value, unit.c_str(), goal.c_str(),
              met ? "met" : "MISSED");
  std::fflush(stdout);
}

}  // namespace orvex::bench

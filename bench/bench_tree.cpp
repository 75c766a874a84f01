// The generated add-ons, the scratch folders, the plain tools and the figures of the benchmarks.
#include "bench/bench_tree.h"

#include <spawn.h>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "host/drive_map.h"
#include "host/sqlite_record_store.h"

extern char** environ;

namespace orvex::bench {

namespace stdfs = std::filesystem;

namespace {

const std::string kPlane = "FS98/Aircraft/Bench Plane";
const std::string kSceneryName = "Bench Scenery";
const std::string kScenery = "FS98/Scenery/" + kSceneryName;

void writeFile(const std::string& path, const std::string& data) {
  stdfs::create_directories(stdfs::path(path).parent_path());
  std::ofstream out(path, std::ios::binary);
  out << data;
  if (!out) throw std::runtime_error("cannot write " + path);
}

// Bytes that no file system could fold away: a plain generator, the same in every run.
std::string noise(size_t size, uint32_t& seed) {
  std::string data(size, '\0');
  uint64_t x = seed | 1;
  for (size_t k = 0; k < size; ++k) {
    if (k % 8 == 0) {
      x ^= x << 13;
      x ^= x >> 7;
      x ^= x << 17;
    }
    data[k] = char(x >> (8 * (k % 8)));
  }
  seed = uint32_t(x);
  return data;
}

// A file size around an average, spread evenly over twice its span above 1 KB.
size_t sizeAround(size_t average, uint32_t& seed) {
  seed = seed * 1664525u + 1013904223u;
  const size_t spread = average > 1024 ? 2 * (average - 1024) : 1;
  return 1024 + (seed >> 8) % spread;
}

std::string numbered(const char* stem, int k, const char* extension) {
  char name[64];
  std::snprintf(name, sizeof name, "%s%04d.%s", stem, k, extension);
  return name;
}

const char* const kTmpfs = "/dev/shm";

std::string madeTemporary(const std::string& base) {
  std::string tmpl = (stdfs::path(base) / "orvex-bench-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("cannot make a scratch folder in " + base);
  return tmpl;
}

}  // namespace

Scratch::Scratch(bool assemblyOnTmpfs) {
  const char* base = std::getenv("ORVEX_BENCH_DIR");
  root_ = madeTemporary(base && *base ? base : stdfs::temp_directory_path().string());
  home_ = assemblyOnTmpfs ? madeTemporary(kTmpfs) : root_;
  for (const char* dir : {"FS98/Aircraft", "FS98/Gauges", "FS98/Sound", "FS98/Scenery"})
    stdfs::create_directories(path(dir));
  stdfs::create_directories(home_ + "/Orvex/Assembly");
  stdfs::create_directories(home_ + "/pristine");
  writeFile(home_ + "/Orvex/FileCopy.avi", "RIFF");
  writeFile(home_ + "/Orvex/Orvex.cfg",
            "\"C:\\FS98\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"FS98\"\r\n1\r\n");
  writeFile(path("FS98/Fltsim98.cfg"), "");
}

Scratch::~Scratch() {
  std::error_code ec;
  stdfs::remove_all(root_, ec);
  if (home_ != root_) stdfs::remove_all(home_, ec);
}

bool Scratch::tmpfsAvailable() {
  struct statvfs st;
  return statvfs(kTmpfs, &st) == 0 && access(kTmpfs, W_OK) == 0;
}

void Scratch::generateAircraft(int count, size_t totalBytes) {
  addOn_ = AddOn::Aircraft;
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
  const std::string aircraftCfg =
      "[fltsim.0]\r\ntitle=Bench Plane\r\nmodel=\r\npanel=\r\nsound=\r\ntexture=\r\n";
  writeFiles(totalBytes / size_t(count), {{"Aircraft.cfg", aircraftCfg}, {"panel.cfg", panelCfg}});
}

void Scratch::generateLiveryAircraft(int count, size_t totalBytes, int liveries) {
  addOn_ = AddOn::Aircraft;
  files_.clear();
  const std::string plane = kPlane, in = "Bench Plane/";
  auto add = [&](const std::string& name, const std::string& target) {
    files_.push_back({name, 0, target});
  };
  add(in + "Aircraft.cfg", plane);
  add(in + "plane.air", plane);
  add(in + "model/Model.cfg", plane + "/model");
  add(in + "panel/panel.cfg", plane + "/panel");
  add(in + "sound/sound.cfg", plane + "/sound");
  std::string aircraftCfg, panelCfg = "[Window00]\r\n";
  for (int k = 0; k < 200 * count / 5000; ++k)
    add(in + numbered("model/m", k, "mdl"), plane + "/model");
  for (int k = 0; k < 40 * count / 5000; ++k) {
    add(in + numbered("panel/p", k, "bmp"), plane + "/panel");
    panelCfg += "file" + std::to_string(k) + "=" + files_.back().installedName() + "\r\n";
  }
  for (int k = 0; k < 600 * count / 5000; ++k)
    add(in + numbered("sound/s", k, "wav"), plane + "/sound");
  std::vector<std::string> textures;
  for (int l = 0; l < liveries; ++l) {
    const std::string suffix = l == 0 ? "" : "." + std::to_string(l);
    textures.push_back("texture" + suffix);
    aircraftCfg += "[fltsim." + std::to_string(l) + "]\r\ntitle=Bench Plane" + suffix +
                   "\r\nmodel=\r\npanel=\r\nsound=\r\ntexture=" + suffix.substr(l == 0 ? 0 : 1) +
                   "\r\n";
  }
  for (int k = 0; int(files_.size()) < count; ++k) {
    const std::string& folder = textures[size_t(k) % textures.size()];
    add(in + folder + "/" + numbered("t", k, "bmp"), plane + "/" + folder);
  }
  writeFiles(totalBytes / size_t(count),
             {{in + "Aircraft.cfg", aircraftCfg}, {in + "panel/panel.cfg", panelCfg}});
}

void Scratch::generatePack(int aircraft, int folders, int perFolder) {
  addOn_ = AddOn::Aircraft;
  files_.clear();
  std::map<std::string, std::string> fixed;
  for (int a = 0; a < aircraft; ++a) {
    const std::string title = "Pack Plane " + std::to_string(a);
    const std::string in = "Pack/" + title + "/";
    files_.push_back({in + "Aircraft.cfg", 0, "FS98/Aircraft/" + title});
    fixed[in + "Aircraft.cfg"] = "[fltsim.0]\r\ntitle=" + title + "\r\n";
    for (int f = 0; f < folders; ++f)
      for (int k = 0; k < perFolder; ++k)
        files_.push_back({in + "texture." + std::to_string(f) + "/" + numbered("t", k, "bmp"), 0,
                          "FS98/Aircraft/" + title + "/texture." + std::to_string(f)});
  }
  writeFiles(64, fixed);
}

void Scratch::generateSceneryPack(int areas, int perFolder) {
  addOn_ = AddOn::Scenery;
  files_.clear();
  for (int a = 0; a < areas; ++a) {
    const std::string in = "Sceneries/" + numbered("area", a, "pack") + "/";
    for (int k = 0; k < perFolder; ++k) {
      files_.push_back({in + "scenery/" + numbered("s", k, "bgl"), 0, kScenery + "/Scenery"});
      files_.push_back({in + "texture/" + numbered("t", k, "bmp"), 0, kScenery + "/Texture"});
    }
  }
  writeFiles(64, {});
}

void Scratch::generateScenery(int count, size_t totalBytes) {
  addOn_ = AddOn::Scenery;
  files_.clear();
  const std::string scenery = kScenery;
  // Area files, textures and a few others, as a large photo scenery has them.
  const int bgl = count * 2 / 5, textures = count / 2;
  for (int k = 0; k < count; ++k) {
    if (k < bgl)
      files_.push_back({numbered("a", k, "bgl"), 0, scenery + "/Scenery"});
    else if (k < bgl + textures)
      files_.push_back({numbered("t", k, k % 4 ? "bmp" : "r8"), 0, scenery + "/Texture"});
    else
      files_.push_back({numbered("x", k, "dat"), 0, scenery + "/Unknown"});
  }
  writeFiles(totalBytes / size_t(count), {});
}

void Scratch::writeFiles(size_t average, const std::map<std::string, std::string>& fixed) {
  uint32_t seed = 2024;
  for (BenchFile& f : files_) {
    auto it = fixed.find(f.name);
    const std::string data =
        it != fixed.end() ? it->second : noise(sizeAround(average, seed), seed);
    f.size = data.size();
    writeFile(home_ + "/pristine/" + f.name, data);
  }
}

std::string Scratch::addOnFolder() const {
  return addOn_ == AddOn::Aircraft ? kPlane : kScenery;
}

size_t Scratch::totalBytes() const {
  size_t total = 0;
  for (const BenchFile& f : files_) total += f.size;
  return total;
}

void Scratch::unpack() {
  const bool oneFileSystem = home_ == root_;
  for (const BenchFile& f : files_) {
    // An install moves the pristine files themselves when it can; they go back first.
    const std::string pristine = home_ + "/pristine/" + f.name;
    const std::string installed = path(f.target + "/" + f.installedName());
    if (oneFileSystem && access(pristine.c_str(), F_OK) != 0 &&
        rename(installed.c_str(), pristine.c_str()) != 0 &&
        rename(assembly(f.name).c_str(), pristine.c_str()) != 0)
      throw std::runtime_error("lost the pristine " + f.name);
  }
  clearInstall();
  // Each round's program starts without records of the rounds before.
  for (const char* kept : {"Installs.db", "Installs.db-wal", "Installs.db-shm", "Backups"})
    stdfs::remove_all(home_ + "/Orvex/" + kept);
  for (const BenchFile& f : files_) {
    const std::string pristine = home_ + "/pristine/" + f.name;
    const std::string to = assembly(f.name);
    stdfs::create_directories(stdfs::path(to).parent_path());
    // Renamed, so each file has one name as an archive program leaves it; across file
    // systems the assembly area gets copies, made in memory.
    const bool ok = oneFileSystem
                        ? rename(pristine.c_str(), to.c_str()) == 0
                        : stdfs::copy_file(pristine, to, stdfs::copy_options::overwrite_existing);
    if (!ok) throw std::runtime_error("cannot unpack " + to);
  }
}

void Scratch::keepPristine() {
  for (const BenchFile& f : files_) {
    const std::string pristine = home_ + "/pristine/" + f.name;
    if (access(pristine.c_str(), F_OK) != 0 &&
        link(path(f.target + "/" + f.installedName()).c_str(), pristine.c_str()) != 0)
      throw std::runtime_error("lost the pristine " + f.name);
  }
}

void Scratch::layOriginals() {
  stdfs::create_directories(home_ + "/originals");
  uint32_t seed = 77;
  for (const std::string& name : originals()) {
    const std::string kept = home_ + "/originals/" + name;
    if (access(kept.c_str(), F_OK) != 0) writeFile(kept, noise(sizeAround(4096, seed), seed));
    stdfs::copy_file(kept, path("FS98/Gauges/" + name), stdfs::copy_options::overwrite_existing);
  }
}

std::vector<std::string> Scratch::originals() const {
  std::vector<std::string> names;
  for (const BenchFile& f : files_)
    if (f.target == "FS98/Gauges") names.push_back(f.name);
  return names;
}

void Scratch::clearInstall() {
  stdfs::remove_all(path(kPlane));
  for (auto& e : stdfs::directory_iterator(path("FS98/Aircraft"))) stdfs::remove_all(e.path());
  stdfs::remove_all(path(kScenery));
  for (auto& e : stdfs::directory_iterator(path("FS98/Gauges"))) stdfs::remove_all(e.path());
  // The scenery list the scenery install appends to, as the simulator ships it.
  writeFile(path("FS98/Scenery.cfg"), "[General]\r\nTitle=FS98 World Scenery\r\n");
  stdfs::remove(path("FS98/SceneryCfg.bku"));
}

void Scratch::settle() {
  sync();
}

void CopyPathClock::started() {
  if (first_ == std::chrono::steady_clock::time_point{}) first_ = std::chrono::steady_clock::now();
}

void CopyPathClock::copyFile(const std::string& source, const std::string& target) {
  started();
  FaultyFileSystem::copyFile(source, target);
}

void CopyPathClock::transferFile(const std::string& source, const std::string& target) {
  started();
  FaultyFileSystem::transferFile(source, target);
}

bool CopyPathClock::transferNewFile(const std::string& source, const std::string& target) {
  started();
  return FaultyFileSystem::transferNewFile(source, target);
}

void CopyPathClock::kill(const std::string& pathOrPattern) {
  FaultyFileSystem::kill(pathOrPattern);
  last_ = std::chrono::steady_clock::now();
}

double CopyPathClock::seconds() const {
  return std::chrono::duration<double>(last_ - first_).count();
}

std::unique_ptr<HostFileSystem> hostFileSystem(const Scratch& scratch) {
  DriveMap map;
  map.add('c', scratch.root());
  if (scratch.home() != scratch.root()) map.add('d', scratch.home());
  return std::make_unique<HostFileSystem>(map, scratch.home() + "/Orvex");
}

void recordInstalls(Orvex& app) {
  app.openRecordStore = [](const std::string& hostPath) {
    return std::make_unique<SqliteRecordStore>(hostPath);
  };
}

void prepareInstall(Orvex& app, AddOn addOn) {
  if (addOn == AddOn::Aircraft) {
    if (app.state.AircraftData != 1 || !app.frm.cmdInstall.visible())
      throw std::runtime_error("Refresh did not find the aircraft");
    return;
  }
  if (app.state.SceneryData != 1) throw std::runtime_error("Refresh did not find the scenery");
  app.frm.txtSceneryName.setText(kSceneryName);
  app.frm.optSceneryDefault.setValue(true);
}

void pressInstall(Orvex& app, AddOn addOn) {
  if (addOn == AddOn::Aircraft)
    app.frm.cmdInstall.click();
  else
    app.frm.Command1.click();
}

Program::Program(Scratch& scratch, bool record) : host(hostFileSystem(scratch)) {
  fs = std::make_unique<CopyPathClock>(*host);
  app = std::make_unique<Orvex>(*fs, tk, shell);
  if (record) recordInstalls(*app);
  app->Form_Load();
  app->assembly.cmdRefresh_Click();
  prepareInstall(*app, scratch.addOn());
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

double installByTools(Scratch& s, bool move) {
  s.unpack();
  Scratch::settle();
  return timed([&] { placeByTools(s, move); });
}

void placeByTools(Scratch& s, bool move) {
  std::map<std::string, std::vector<std::string>> byTarget;
  for (const BenchFile& f : s.files()) byTarget[s.path(f.target)].push_back(s.assembly(f.name));
  std::vector<std::string> mkdir = {"mkdir", "-p"};
  for (const auto& [target, sources] : byTarget) mkdir.push_back(target);
  bool ok = runTool(mkdir);
  std::vector<std::string> rm = {"rm", "-f"};
  for (const auto& [target, sources] : byTarget) {
    std::vector<std::string> args = {move ? "mv" : "cp"};
    args.insert(args.end(), sources.begin(), sources.end());
    args.push_back(target);
    ok = ok && runTool(args);
    rm.insert(rm.end(), sources.begin(), sources.end());
  }
  if (!move) ok = ok && runTool(rm);
  if (!ok) throw std::runtime_error(move ? "mv failed" : "cp or rm failed");
}

double peakMemory(const std::string& what, const std::function<bool()>& work) {
  const pid_t pid = fork();
  if (pid == 0) {
    try {
      _exit(work() ? 0 : 1);
    } catch (...) {
      _exit(2);
    }
  }
  int status = 0;
  struct rusage usage {};
  if (pid < 0 || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0)
    throw std::runtime_error(what + " in the child process failed");
  return double(usage.ru_maxrss) / 1024;
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

long envNumber(const char* name, long fallback) {
  const char* value = std::getenv(name);
  return value && std::atol(value) > 0 ? std::atol(value) : fallback;
}

int rounds() {
  return int(envNumber("ORVEX_BENCH_ROUNDS", 5));
}

void printFigure(const std::string& name, double value, const std::string& unit,
                 const std::string& goal, bool met) {
  std::printf("%-58s %9.3f %-3s goal %-10s %s\n", name.c_str(), value, unit.c_str(), goal.c_str(),
              met ? "met" : "MISSED");
  std::fflush(stdout);
}

}  // namespace orvex::bench

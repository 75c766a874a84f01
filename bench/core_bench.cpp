// Figures of the core against the plain tools: the aircraft install of 5,000 files next to mv
// and to cp and rm, on one file system and across two; a large scenery next to mv; Refresh and
// one group's file list on 10,000 files; peak memory; the uninstall of the aircraft next to
// rm and cp; the preview of its install.
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <stdexcept>

#include "bench/bench_tree.h"
#include "bench/library_bench.h"

namespace orvex::bench {
namespace {

namespace stdfs = std::filesystem;

// Every file where the sorting table puts it: the plain tools below copy into the same layout.
void verifyInstalled(Scratch& s) {
  for (const BenchFile& f : s.files())
    if (!stdfs::exists(s.path(f.target + "/" + f.installedName())))
      throw std::runtime_error("the install did not put " + f.name + " into " + f.target);
}

double installByOrvex(Scratch& s, bool verify, bool record = true) {
  s.unpack();
  Scratch::settle();
  Program p(s, record);
  const double t = timed([&] { pressInstall(*p.app, s.addOn()); });
  if (p.tk.countCaption("Success!") != 1) throw std::runtime_error("the install did not succeed");
  if (verify) verifyInstalled(s);
  return t;
}

// Orvex against cp + rm and against mv, on the same files in one run: the medians of the
// times and of each round's ratios.
struct Ratios {
  double vsCopy, vsMove, unrecordedVsMove, recordedVsUnrecorded;
};

Ratios compare(Scratch& s, int n, bool withMove) {
  std::vector<double> vsCopy, vsMove, unrecordedVsMove, recordedVsUnrecorded, orvexTimes, copyTimes,
      moveTimes;
  installByOrvex(s, true);  // warm-up, and proof that the layouts agree
  installByTools(s, false);
  for (int r = 0; r < n; ++r) {
    // Alternating order, so that a slow phase of the machine does not always hit one side.
    double orvex, copy, move = 0;
    if (r % 2 == 0) {
      orvex = installByOrvex(s, false);
      copy = installByTools(s, false);
      if (withMove) move = installByTools(s, true);
    } else {
      if (withMove) move = installByTools(s, true);
      copy = installByTools(s, false);
      orvex = installByOrvex(s, false);
    }
    orvexTimes.push_back(orvex);
    copyTimes.push_back(copy);
    vsCopy.push_back(orvex / copy);
    // The same without the install records, to show what recording costs.
    const double unrecorded = installByOrvex(s, false, false);
    recordedVsUnrecorded.push_back(orvex / unrecorded);
    if (withMove) {
      moveTimes.push_back(move);
      vsMove.push_back(orvex / move);
      unrecordedVsMove.push_back(unrecorded / move);
    }
  }
  std::printf("# %zu files, %.0f MB; median of %d rounds: Orvex %.3f s, cp+rm %.3f s",
              s.files().size(), double(s.totalBytes()) / 1e6, n, median(orvexTimes),
              median(copyTimes));
  if (withMove) std::printf(", mv %.3f s", median(moveTimes));
  std::printf("\n");
  return {median(vsCopy), median(vsMove), median(unrecordedVsMove), median(recordedVsUnrecorded)};
}

// The install once more in a child process of its own, for its peak memory alone.
void memoryFigure(Scratch& s) {
  s.unpack();
  const double mb = peakMemory("the install", [&] {
    Program p(s);
    pressInstall(*p.app, s.addOn());
    return p.tk.countCaption("Success!") == 1;
  });
  printFigure("peak memory (max RSS) of the core during the install", mb, "MB", "report", true);
}

void aircraftFigures() {
  Scratch s;
  s.generateAircraft(5000, 200'000'000);
  const Ratios r = compare(s, rounds(), true);
  printFigure("aircraft install / mv, 5,000 files (one file system)", r.vsMove, "x", "<= 2",
              r.vsMove <= 2);
  printFigure("aircraft install / (cp + rm), 5,000 files (one file system)", r.vsCopy, "x",
              "<= 1.15", r.vsCopy <= 1.15);
  printFigure("  the same / mv without the install records", r.unrecordedVsMove, "x", "report",
              true);
  printFigure("aircraft install with records / without (files linked)", r.recordedVsUnrecorded, "x",
              "<= 1.2", r.recordedVsUnrecorded <= 1.2);
  memoryFigure(s);
}

void liveryFigure() {
  Scratch s;
  s.generateLiveryAircraft(5000, 200'000'000, 10);
  const Ratios r = compare(s, rounds(), true);
  printFigure("aircraft of 10 livery folders install / mv, 5,000 files (one file system)", r.vsMove,
              "x", "<= 2", r.vsMove <= 2);
}

void crossFileSystemFigure() {
  if (!Scratch::tmpfsAvailable()) {
    std::printf("# skipped: no memory file system at /dev/shm for a second scratch folder\n");
    return;
  }
  Scratch s(true);
  s.generateAircraft(5000, 200'000'000);
  const Ratios r = compare(s, rounds(), false);
  printFigure("aircraft install / (cp + rm), 5,000 files (assembly on tmpfs)", r.vsCopy, "x",
              "<= 1.1", r.vsCopy <= 1.1);
  printFigure("aircraft install with records / without (files copied)", r.recordedVsUnrecorded, "x",
              "<= 1.2", r.recordedVsUnrecorded <= 1.2);
}

// The scenery's size, ORVEX_BENCH_SCENERY_MB (2,000) in ORVEX_BENCH_SCENERY_FILES (20,000),
// made smaller when the scratch folder's disk could not hold it twice with room to spare.
void sceneryFigure() {
  Scratch s;
  size_t bytes = size_t(envNumber("ORVEX_BENCH_SCENERY_MB", 2000)) * 1'000'000;
  const int files = int(envNumber("ORVEX_BENCH_SCENERY_FILES", 20000));
  struct statvfs disk {};
  if (statvfs(s.root().c_str(), &disk) == 0) {
    const size_t room = size_t(disk.f_bavail) * disk.f_frsize / 3;
    if (room < bytes) {
      std::printf("# only %.0f MB free: the scenery is made smaller\n", double(room) * 3 / 1e6);
      bytes = room;
    }
  }
  s.generateScenery(files, bytes);
  const Ratios r = compare(s, rounds(), true);
  const std::string name = "scenery install / mv, " + std::to_string(s.files().size()) +
                           " files, " + std::to_string(s.totalBytes() / 1'000'000) + " MB";
  printFigure(name, r.vsMove, "x", "<= 2.5", r.vsMove <= 2.5);
  printFigure("  the same without the install records", r.unrecordedVsMove, "x", "report", true);
}

void refreshFigures() {
  Scratch s;
  s.generateAircraft(10000, 10000 * 64);
  s.unpack();
  Program p(s);
  std::vector<double> refresh, list;
  for (int k = 0; k < 21; ++k) {
    refresh.push_back(timed([&] { p.app->assembly.cmdRefresh_Click(); }));
    if (p.app->state.AircraftData != 1) throw std::runtime_error("Refresh lost the aircraft");
  }
  int listed = 0;
  for (int k = 0; k < 21; ++k)
    list.push_back(timed([&] {
      listed =
          p.app->lists.listFiles(p.app->state.OrvexAssemblyDir, "*.bmp;*.?af;*.r8;*.r8?;*.pal");
    }));
  if (listed < 2000) throw std::runtime_error("the texture list is short");
  printFigure("Refresh on 10,000 files", median(refresh) * 1000, "ms", "<= 30",
              median(refresh) <= 0.030);
  printFigure("file list of the texture group on 10,000 files", median(list) * 1000, "ms", "<= 30",
              median(list) <= 0.030);

  // A pack: 20 aircraft, each with 10 livery folders of 100 files.
  Scratch packed;
  packed.generatePack(20, 10, 100);
  packed.unpack();
  Program pack(packed);
  std::vector<double> packRefresh;
  for (int k = 0; k < 21; ++k) {
    packRefresh.push_back(timed([&] { pack.app->assembly.cmdRefresh_Click(); }));
    if (pack.app->frm.lvwAircraft.rows().size() != 20)
      throw std::runtime_error("Refresh lost an aircraft of the pack");
  }
  printFigure("Refresh on 20,000 files in 200 folders (a pack of 20 aircraft)",
              median(packRefresh) * 1000, "ms", "<= 50", median(packRefresh) <= 0.050);

  // 100 sceneries, each with a scenery and a texture folder of 100 files: every folder is read.
  Scratch sceneries;
  sceneries.generateSceneryPack(100, 100);
  sceneries.unpack();
  Program areas(sceneries);
  std::vector<double> areasRefresh;
  for (int k = 0; k < 21; ++k) {
    areasRefresh.push_back(timed([&] { areas.app->assembly.cmdRefresh_Click(); }));
    if (areas.app->assembly.addOns().all().size() != 100)
      throw std::runtime_error("Refresh lost a scenery of the pack");
  }
  printFigure("Refresh on 20,000 files in 200 folders (100 sceneries, every folder read)",
              median(areasRefresh) * 1000, "ms", "<= 50", median(areasRefresh) <= 0.050);
}

// The aircraft installed over the simulator's own gauges and taken off again through the
// Installed tab, as the user does it once the program has been idle: the seconds from the
// click of Uninstall, its question answered Yes, to its message.
double uninstallByOrvex(Scratch& s) {
  s.unpack();
  s.layOriginals();
  Program p(s);
  pressInstall(*p.app, s.addOn());
  if (p.tk.countCaption("Success!") != 1) throw std::runtime_error("the install did not succeed");
  s.keepPristine();
  while (p.app->frm.tmrDigest.running()) p.app->frm.tmrDigest.tick();
  Scratch::settle();
  p.tk.boxes.clear();
  // The Installed tab is shown, its list worked out, before the uninstall is timed.
  p.app->frm.SSTab1.setTab(InstalledTab::kInstalledTab);
  p.app->frm.lvwInstalled.setListIndex(0);
  const double t = timed([&] { p.app->frm.cmdUninstall.click(); });
  if (p.tk.countCaption("Success!") != 1) throw std::runtime_error("the uninstall did not succeed");
  if (stdfs::exists(s.path(s.addOnFolder())))
    throw std::runtime_error("the uninstall left " + s.addOnFolder());
  for (const std::string& name : s.originals())
    if (stdfs::file_size(s.path("FS98/Gauges/" + name)) !=
        stdfs::file_size(s.home() + "/originals/" + name))
      throw std::runtime_error("the uninstall did not put back " + name);
  return t;
}

// The same files placed by mv, then the add-on's folder and gauges removed by one rm -r and the
// originals copied back by one cp.
double uninstallByTools(Scratch& s) {
  s.unpack();
  s.layOriginals();
  placeByTools(s, true);
  s.keepPristine();
  Scratch::settle();
  std::vector<std::string> rm = {"rm", "-r", s.path(s.addOnFolder())}, cp = {"cp"};
  for (const std::string& name : s.originals()) {
    rm.push_back(s.path("FS98/Gauges/" + name));
    cp.push_back(s.home() + "/originals/" + name);
  }
  cp.push_back(s.path("FS98/Gauges"));
  return timed([&] {
    if (!runTool(rm) || !runTool(cp)) throw std::runtime_error("rm or cp failed");
  });
}

void uninstallFigure() {
  Scratch s;
  s.generateAircraft(5000, 200'000'000);
  uninstallByOrvex(s);  // warm-up
  std::vector<double> ratios, orvexTimes, toolTimes;
  for (int r = 0; r < rounds(); ++r) {
    double orvex, tools;
    if (r % 2 == 0) {
      orvex = uninstallByOrvex(s);
      tools = uninstallByTools(s);
    } else {
      tools = uninstallByTools(s);
      orvex = uninstallByOrvex(s);
    }
    orvexTimes.push_back(orvex);
    toolTimes.push_back(tools);
    ratios.push_back(orvex / tools);
  }
  std::printf(
      "# 5000 files, %zu of them replacing the simulator's own; median of %d rounds: "
      "Orvex %.3f s, rm -r + cp %.3f s\n",
      s.originals().size(), rounds(), median(orvexTimes), median(toolTimes));
  printFigure("aircraft uninstall / (rm -r + cp of the originals), 5,000 files", median(ratios),
              "x", "<= 1.5", median(ratios) <= 1.5);
}

// The preview of the aircraft's install over the simulator's own gauges: the seconds from the
// click of Preview until the preview's window model is ready to be shown.
double previewByOrvex(Scratch& s) {
  s.unpack();
  s.layOriginals();
  Scratch::settle();
  Program p(s);
  auto ready = std::chrono::steady_clock::now();
  size_t rows = 0;
  p.tk.onModal = [&](Form& form) {
    ready = std::chrono::steady_clock::now();
    rows = p.app->preview.lvwPreview.rows().size();
    form.hide();
  };
  const auto start = std::chrono::steady_clock::now();
  p.app->frm.cmdPreview.click();
  if (rows != s.files().size()) throw std::runtime_error("the preview did not list every file");
  return std::chrono::duration<double>(ready - start).count();
}

void previewFigure() {
  Scratch s;
  s.generateAircraft(5000, 200'000'000);
  previewByOrvex(s);  // warm-up
  std::vector<double> times;
  for (int r = 0; r < rounds(); ++r) times.push_back(previewByOrvex(s));
  printFigure("preview of the aircraft install, 5,000 files: core run", median(times), "s",
              "<= 0.3", median(times) <= 0.3);
}

// Whether a group of figures is to be printed: ORVEX_BENCH_FIGURES names some of aircraft,
// tmpfs, scenery, refresh, uninstall, preview, hangar and library (all of them when it is not
// set).
bool wanted(const std::string& group) {
  const char* figures = std::getenv("ORVEX_BENCH_FIGURES");
  if (!figures || !*figures) return true;
  const std::string list = std::string(",") + figures + ",";
  return list.find("," + group + ",") != std::string::npos;
}

}  // namespace
}  // namespace orvex::bench

int main() {
  using namespace orvex::bench;
  if (const char* root = std::getenv("ORVEX_BENCH_LIBRARY_CHILD")) return libraryMemoryChild(root);
  try {
    // For a profiler: ORVEX_BENCH_ONLY=orvex, unrecorded, cp or mv runs the aircraft install once,
    // uninstall its install and uninstall, livery the install of a livery, and nothing else.
    if (const char* only = std::getenv("ORVEX_BENCH_ONLY")) {
      if (std::string(only) == "livery") return liveryInstallOnce();
      Scratch s;
      s.generateAircraft(5000, 200'000'000);
      const std::string what = only;
      const double t = what == "orvex"        ? installByOrvex(s, true)
                       : what == "unrecorded" ? installByOrvex(s, true, false)
                       : what == "uninstall"  ? uninstallByOrvex(s)
                                              : installByTools(s, what == "mv");
      std::printf("%s: %.3f s\n", only, t);
      return 0;
    }
    if (wanted("aircraft")) {
      aircraftFigures();
      liveryFigure();
    }
    if (wanted("tmpfs")) crossFileSystemFigure();
    if (wanted("scenery")) sceneryFigure();
    if (wanted("refresh")) refreshFigures();
    if (wanted("uninstall")) uninstallFigure();
    if (wanted("preview")) previewFigure();
    if (wanted("hangar")) {
      hangarFigures();
      liveryInstallFigure();
    }
    if (wanted("library")) libraryFigures();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "benchmark failed: %s\n", e.what());
    return 1;
  }
  return 0;
}

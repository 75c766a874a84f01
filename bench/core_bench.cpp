// Figures of the core against the plain tools: the aircraft install of 5,000 files next to cp
// and rm, and next to mv; Refresh and one group's file list on 10,000 files; peak memory.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <stdexcept>

#include "bench/bench_tree.h"

namespace orvex::bench {
namespace {

namespace stdfs = std::filesystem;

int rounds() {
  const char* r = std::getenv("ORVEX_BENCH_ROUNDS");
  return r && std::atoi(r) > 0 ? std::atoi(r) : 5;
}

// Every file where the sorting table puts it: the plain tools below copy into the same layout.
void verifyInstalled(Scratch& s) {
  for (const BenchFile& f : s.files())
    if (!stdfs::exists(s.path(f.target + "/" + f.name)))
      throw std::runtime_error("the install did not put " + f.name + " into " + f.target);
}

double installByOrvex(Scratch& s, bool verify) {
  s.clearInstall();
  s.unpack();
  Scratch::settle();
  Program p(s);
  const double t = timed([&] { p.app->cmdInstall_Click(); });
  if (p.tk.countCaption("Success!") != 1) throw std::runtime_error("the install did not succeed");
  if (verify) verifyInstalled(s);
  return t;
}

// The same files into the same folders with one mkdir, one cp or mv per folder and one rm.
double installByTools(Scratch& s, bool move) {
  s.clearInstall();
  s.unpack();
  Scratch::settle();
  std::map<std::string, std::vector<std::string>> byTarget;
  for (const BenchFile& f : s.files())
    byTarget[s.path(f.target)].push_back(s.path("Orvex/Assembly/" + f.name));
  return timed([&] {
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
  });
}

void installFigures(Scratch& s) {
  std::vector<double> vsCopy, vsMove, orvexTimes, copyTimes, moveTimes;
  installByOrvex(s, true);  // warm-up, and proof that the layouts agree
  installByTools(s, false);
  for (int r = 0; r < rounds(); ++r) {
    // Alternating order, so that a slow phase of the machine does not always hit one side.
    double orvex, copy, move;
    if (r % 2 == 0) {
      orvex = installByOrvex(s, false);
      copy = installByTools(s, false);
      move = installByTools(s, true);
    } else {
      move = installByTools(s, true);
      copy = installByTools(s, false);
      orvex = installByOrvex(s, false);
    }
    orvexTimes.push_back(orvex);
    copyTimes.push_back(copy);
    moveTimes.push_back(move);
    vsCopy.push_back(orvex / copy);
    vsMove.push_back(orvex / move);
  }
  std::printf("# %zu files, %.0f MB; median of %d rounds: Orvex %.3f s, cp+rm %.3f s, mv %.3f s\n",
              s.files().size(), double(s.totalBytes()) / 1e6, rounds(), median(orvexTimes),
              median(copyTimes), median(moveTimes));
  const double copyRatio = median(vsCopy);
  printFigure("aircraft install / (cp + rm), 5,000 files", copyRatio, "x", "<= 1.15",
              copyRatio <= 1.15);
  printFigure("aircraft install / mv, 5,000 files (one file system)", median(vsMove), "x", "report",
              true);
  const char* const note[] = {
      "mv only renames, while every install copies each file and then deletes it. To come",
      "close without changing what the user sees, the copy pass would rename a file into place",
      "when the assembly area and the target lie on one file system and no file of that name",
      "is there to replace (a replaced file keeps the copy, so its old bytes stay whole until",
      "the new ones are complete), and its delete loop would pass over the files moved. Names,",
      "folders, messages and the copy window stay the same; only an install stopped half-way",
      "would leave fewer files in the assembly area, which the next clean-up empties anyway.",
  };
  for (const char* line : note) std::printf("# %s\n", line);
}

// The install once more in a child process of its own, for its peak memory alone.
void memoryFigure(Scratch& s) {
  s.clearInstall();
  s.unpack();
  const pid_t pid = fork();
  if (pid == 0) {
    try {
      Program p(s);
      p.app->cmdInstall_Click();
      _exit(p.tk.countCaption("Success!") == 1 ? 0 : 1);
    } catch (...) {
      _exit(2);
    }
  }
  int status = 0;
  struct rusage usage {};
  if (pid < 0 || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0)
    throw std::runtime_error("the install in the child process failed");
  printFigure("peak memory (max RSS) of the core during the install",
              double(usage.ru_maxrss) / 1024, "MB", "report", true);
}

void refreshFigures() {
  Scratch s;
  s.generateAircraft(10000, 10000 * 64);
  s.unpack();
  Program p(s);
  std::vector<double> refresh, list;
  for (int k = 0; k < 21; ++k) {
    refresh.push_back(timed([&] { p.app->cmdRefresh_Click(); }));
    if (p.app->state.AircraftData != 1) throw std::runtime_error("Refresh lost the aircraft");
  }
  int listed = 0;
  for (int k = 0; k < 21; ++k)
    list.push_back(timed([&] {
      listed = p.app->listFiles(p.app->state.OrvexAssemblyDir, "*.bmp;*.?af;*.r8;*.r8?;*.pal");
    }));
  if (listed < 2000) throw std::runtime_error("the texture list is short");
  printFigure("Refresh on 10,000 files", median(refresh) * 1000, "ms", "<= 30",
              median(refresh) <= 0.030);
  printFigure("file list of the texture group on 10,000 files", median(list) * 1000, "ms", "<= 30",
              median(list) <= 0.030);
}

}  // namespace
}  // namespace orvex::bench

int main() {
  using namespace orvex::bench;
  try {
    {
      Scratch s;
      s.generateAircraft(5000, 200'000'000);
      // For a profiler: ORVEX_BENCH_ONLY=orvex, cp or mv runs that install once, and nothing else.
      if (const char* only = std::getenv("ORVEX_BENCH_ONLY")) {
        const std::string what = only;
        const double t =
            what == "orvex" ? installByOrvex(s, true) : installByTools(s, what == "mv");
        std::printf("%s: %.3f s\n", only, t);
        return 0;
      }
      installFigures(s);
      memoryFigure(s);
    }
    refreshFigures();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "benchmark failed: %s\n", e.what());
    return 1;
  }
  return 0;
}

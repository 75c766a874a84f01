// Figures of the Scenery Library on a simulator whose scenery list holds 10,000 areas of real
// size, every one naming a folder that exists: the tab listing and flagging it, one change
// written and recorded, the memory that takes, and how the listing grows with the list.
#include "bench/library_bench.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "bench/bench_tree.h"

namespace orvex::bench {
namespace {

namespace stdfs = std::filesystem;

constexpr int kAreas = 10000;

// The list, about 200 bytes an area, as a collector's list looks after years of downloads; each
// area's folder holds its .bgl file, every other one in a scenery sub-folder as the classic
// areas keep theirs. Returns the list's size in bytes.
size_t layOutList(Scratch& s, int areas) {
  std::string list =
      "[General]\r\nTitle=FS98 World\r\nDescription=FS98 Scenery Data\r\nClean_on_Exit=TRUE\r\n";
  for (int n = 1; n <= areas; ++n) {
    const std::string id = std::to_string(n);
    const std::string folder =
        "Addon Scenery\\Collection " + std::to_string(n / 100) + "\\Regional Airport " + id;
    std::string hostFolder = folder;
    for (char& c : hostFolder)
      if (c == '\\') c = '/';
    hostFolder = s.path("FS98/" + hostFolder) + (n % 2 ? "/scenery" : "");
    stdfs::create_directories(hostFolder);
    std::ofstream(hostFolder + "/AP" + id + ".bgl") << "bgl";
    std::string number = id;
    if (number.size() < 3) number.insert(0, 3 - number.size(), '0');
    list += "\r\n[Area." + number + "]\r\nTitle=Regional Airport " + id +
            " and its Surroundings, Photo Scenery v2.1\r\nTexture_ID=1\r\nLocal=" + folder +
            "\r\nLayer=" + id + "\r\nActive=TRUE\r\nRequired=FALSE\r\n";
  }
  std::ofstream(s.path("FS98/Scenery.cfg"), std::ios::binary) << list;
  return list.size();
}

struct LibraryProgram {
  explicit LibraryProgram(Scratch& s) : host(hostFileSystem(s)) {
    app = std::make_unique<Orvex>(*host, tk, shell);
    recordInstalls(*app);
    app->Form_Load();
  }
  std::unique_ptr<HostFileSystem> host;
  test::FakeToolkit tk;
  test::FakeShell shell;
  std::unique_ptr<Orvex> app;
};

// The tab shown afresh: the list read, every folder looked at, the rows made.
double listOnce(Orvex& app, size_t areas) {
  app.frm.SSTab1.setTab(0);
  const double t = timed([&] { app.frm.SSTab1.setTab(SceneryLibrary::kSceneryLibraryTab); });
  if (app.frm.lvwLibrary.rows().size() != areas)
    throw std::runtime_error("the tab did not list every area");
  for (const auto& row : app.frm.lvwLibrary.rows())
    if (row[5] != "none") throw std::runtime_error("an area was flagged: " + row[5]);
  return t;
}

double listing(int areas) {
  Scratch s;
  layOutList(s, areas);
  Scratch::settle();
  LibraryProgram p(s);
  listOnce(*p.app, size_t(areas));  // warm-up
  std::vector<double> times;
  for (int r = 0; r < rounds(); ++r) times.push_back(listOnce(*p.app, size_t(areas)));
  return median(times);
}

// The peak memory of the tab reading the list, above what the program held before it: in a
// program of its own (this one started again), so that nothing this one did counts.
double listingMemory(Scratch& s) {
  const std::string self = stdfs::read_symlink("/proc/self/exe").string();
  const std::string command = "ORVEX_BENCH_LIBRARY_CHILD='" + s.root() + "' '" + self + "'";
  FILE* child = popen(command.c_str(), "r");
  if (!child) throw std::runtime_error("the bench cannot start itself again");
  double grown = -1;
  if (std::fscanf(child, "%lf", &grown) != 1) grown = -1;
  if (pclose(child) != 0 || grown < 0)
    throw std::runtime_error("the listing in the program of its own failed");
  return grown;
}

// The resident memory now, in MB.
double residentNow() {
  long pages = 0, resident = 0;
  std::ifstream("/proc/self/statm") >> pages >> resident;
  return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024 * 1024);
}

}  // namespace

int libraryMemoryChild(const std::string& root) {
  try {
    DriveMap map;
    map.add('c', root);
    HostFileSystem host(map, root + "/Orvex");
    test::FakeToolkit tk;
    test::FakeShell shell;
    Orvex app(host, tk, shell);
    recordInstalls(app);
    app.Form_Load();
    const double before = residentNow();
    listOnce(app, kAreas);
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%f\n", std::max(0.0, double(usage.ru_maxrss) / 1024 - before));
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}

void libraryFigures() {
  Scratch s;
  const size_t bytes = layOutList(s, kAreas);
  Scratch::settle();
  std::printf("# a Scenery.cfg of %d areas, %.1f MB, every folder there with its .bgl file\n",
              kAreas, double(bytes) / 1e6);
  {
    LibraryProgram p(s);
    listOnce(*p.app, kAreas);  // warm-up
    std::vector<double> lists;
    for (int r = 0; r < rounds(); ++r) lists.push_back(listOnce(*p.app, kAreas));
    printFigure("Scenery Library lists and flags 10,000 areas", median(lists) * 1000, "ms",
                "<= 200", median(lists) <= 0.200);

    // A change in the middle of the list, Disable and Enable in turn, each its own record.
    std::vector<double> changes;
    for (int r = 0; r < 2 * rounds(); ++r) {
      p.app->frm.lvwLibrary.setListIndex(kAreas / 2);
      Button& button = r % 2 ? p.app->frm.cmdLibraryEnable : p.app->frm.cmdLibraryDisable;
      changes.push_back(timed([&] { button.click(); }));
      if (p.tk.countCaption("Scenery Library") || p.tk.countCaption("System Error"))
        throw std::runtime_error("the change failed: " + p.tk.boxes.back().text);
    }
    printFigure("one change of 10,000 areas written and recorded", median(changes) * 1000, "ms",
                "<= 100", median(changes) <= 0.100);
  }
  const double memory = listingMemory(s);
  printFigure("memory for listing 10,000 areas (peak RSS growth)", memory, "MB", "< 30",
              memory < 30);

  // Per area at 100, 1,000 and 10,000 areas: the same or less as the list grows.
  const double t100 = listing(100), t1000 = listing(1000), t10000 = listing(kAreas);
  std::printf("# listing 100 areas %.2f ms, 1,000 areas %.2f ms, 10,000 areas %.2f ms\n",
              t100 * 1000, t1000 * 1000, t10000 * 1000);
  const double growth = (t10000 / kAreas) / (t1000 / 1000);
  printFigure("listing time per area, 10,000 areas / 1,000", growth, "x", "<= 1.3", growth <= 1.3);
}

}  // namespace orvex::bench

// Figures of the Hangar and the repaint install: a simulator of 1,000 aircraft folders read the
// first time and again when nothing changed, with the memory it takes; a livery of 200 files
// added to an aircraft next to mv of the same files.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "bench/bench_tree.h"

namespace orvex::bench {
namespace {

namespace stdfs = std::filesystem;

void put(const std::string& path, const std::string& data) {
  stdfs::create_directories(stdfs::path(path).parent_path());
  std::ofstream out(path, std::ios::binary);
  out << data;
  if (!out) throw std::runtime_error("cannot write " + path);
}

// An Aircraft.cfg of the size real ones have: four liveries and the flight model's sections.
std::string aircraftCfg(int n) {
  const std::string name = "Bench Aircraft " + std::to_string(n);
  std::string cfg;
  for (int l = 0; l < 4; ++l) {
    cfg +=
        "[fltsim." + std::to_string(l) + "]\r\ntitle=" + name +
        (l ? " Livery " + std::to_string(l) : "") +
        "\r\nsim=bench\r\nmodel=\r\npanel=\r\nsound=\r\ntexture=" + (l ? std::to_string(l) : "") +
        "\r\nkb_checklists=bench_check\r\natc_id=N" + std::to_string(1000 + n) +
        "\r\natc_airline=\r\natc_flight_number=\r\nui_manufacturer=Bench\r\nui_type=Aircraft " +
        std::to_string(n) + "\r\nui_variation=Livery " + std::to_string(l) +
        "\r\ndescription=A generated aircraft of the Hangar's benchmark, livery " +
        std::to_string(l) + ", with a description as long as real ones.\r\n\r\n";
  }
  cfg += "[General]\r\natc_type=BENCH\r\natc_model=B" + std::to_string(n) +
         "\r\neditable=1\r\nperformance=Cruise speed 120 kts\\nRange 500 nm\r\n\r\n";
  for (const char* section : {"WEIGHT_AND_BALANCE", "flight_tuning", "GeneralEngineData",
                              "piston_engine", "propeller", "contact_points", "lights", "flaps.0",
                              "views", "electrical", "fuel", "airplane_geometry"}) {
    cfg += std::string("[") + section + "]\r\n";
    for (int k = 0; k < 10; ++k)
      cfg += "key_" + std::to_string(k) + " = " + std::to_string(k * 37 + n) +
             ", 0.000, 1.250   // a value and a comment\r\n";
    cfg += "\r\n";
  }
  return cfg;
}

std::string panelCfg() {
  std::string cfg = "[Window Titles]\r\nWindow00=Main Panel\r\nWindow01=GPS\r\n\r\n";
  for (int w = 0; w < 3; ++w) {
    cfg += "[Window0" + std::to_string(w) + "]\r\nfile=panel" + std::to_string(w) +
           ".bmp\r\nsize_mm=640\r\nposition=7\r\nvisible=1\r\nident=MAIN_PANEL\r\n\r\n";
    for (int g = 0; g < 15; ++g) {
      char line[96];
      std::snprintf(line, sizeof line, "gauge%02d=bench_gauge%d!Needle%d, %d, 300, 80, 80\r\n", g,
                    (w * 15 + g) % 30, g, g * 40);
      cfg += line;
    }
    cfg += "\r\n";
  }
  return cfg;
}

// A simulator of `count` aircraft folders of about 30 files each, and the gauges they use.
void generateHangar(const Scratch& s, int count) {
  for (int g = 0; g < 30; ++g)
    put(s.path("FS98/Gauges/bench_gauge" + std::to_string(g) + ".gau"), "g");
  const std::string panel = panelCfg();
  for (int n = 0; n < count; ++n) {
    const std::string a = s.path("FS98/Aircraft/Bench " + std::to_string(n) + "/");
    put(a + "Aircraft.cfg", aircraftCfg(n));
    put(a + "bench.air", std::string(4000, 'a'));
    put(a + "model/bench.mdl", std::string(2000, 'm'));
    put(a + "panel/panel.cfg", panel);
    for (int w = 0; w < 3; ++w) put(a + "panel/panel" + std::to_string(w) + ".bmp", "bmp");
    put(a + "sound/sound.cfg", "[fltsim]\r\nalias=Bench 0\\sound\r\n");
    for (const char* t : {"texture", "texture.1", "texture.2", "texture.3"})
      for (int f = 0; f < 5; ++f) put(a + t + "/bench_" + std::to_string(f) + ".bmp", "t");
  }
}

struct Started {
  explicit Started(const Scratch& s) : host(hostFileSystem(s)) {
    fs = std::make_unique<CopyPathClock>(*host);
    app = std::make_unique<Orvex>(*fs, tk, shell);
    recordInstalls(*app);
    app->Form_Load();
  }
  std::unique_ptr<HostFileSystem> host;
  std::unique_ptr<CopyPathClock> fs;
  test::FakeToolkit tk;
  test::FakeShell shell;
  std::unique_ptr<Orvex> app;
};

void dropRecords(const Scratch& s) {
  for (const char* kept : {"Installs.db", "Installs.db-wal", "Installs.db-shm", "Backups"})
    stdfs::remove_all(s.home() + "/Orvex/" + kept);
}

// Shows the Hangar tab; the seconds it takes to read and list the simulator's aircraft.
double showHangar(Orvex& app, size_t count) {
  app.frm.SSTab1.setTab(0);
  const double t = timed([&] { app.frm.SSTab1.setTab(HangarTab::kHangarTab); });
  if (app.frm.lvwHangar.rows().size() != count)
    throw std::runtime_error("the Hangar lost aircraft");
  return t;
}

// A livery of `files` files into the aircraft "Trainer": laid out anew, the repaint in the
// assembly area, for Orvex or the plain tools.
struct Repaint {
  explicit Repaint(Scratch& s, int files) : s(s) {
    uint32_t seed = 5;
    for (int k = 0; k < files; ++k) {
      std::string data(60000 + (seed = seed * 1664525u + 1013904223u) % 80000, char('a' + k % 26));
      bytes += data.size();
      const std::string name = "paint" + std::to_string(1000 + k) + ".bmp";
      put(s.home() + "/pristine/texture.bench/" + name, data);
      names.push_back(name);
    }
  }
  std::string target() const { return s.path("FS98/Aircraft/Trainer/texture.bench"); }
  void layOut() {
    stdfs::remove_all(s.path("FS98/Aircraft"));
    put(s.path("FS98/Aircraft/Trainer/Aircraft.cfg"), aircraftCfg(7));
    put(s.path("FS98/Aircraft/Trainer/texture/paint1000.bmp"), "the default livery");
    dropRecords(s);
    stdfs::remove_all(s.assembly(""));
    stdfs::create_directories(s.assembly("texture.bench"));
    for (const std::string& n : names)
      if (rename((s.home() + "/pristine/texture.bench/" + n).c_str(),
                 s.assembly("texture.bench/" + n).c_str()) != 0)
        throw std::runtime_error("lost the repaint's " + n);
    Scratch::settle();
  }
  // The files back where the next round takes them from.
  void takeBack() {
    for (const std::string& n : names)
      if (rename((target() + "/" + n).c_str(),
                 (s.home() + "/pristine/texture.bench/" + n).c_str()) != 0)
        throw std::runtime_error("the repaint's " + n + " was not installed");
  }
  double byOrvex() {
    layOut();
    Started p(s);
    p.app->frm.cmdRefresh.click();
    if (p.app->frm.lvwLiveryTarget.rows().empty()) throw std::runtime_error("no aircraft offered");
    p.app->frm.lvwLiveryTarget.setListIndex(0);
    const double t = timed([&] { p.app->frm.cmdInstallLivery.click(); });
    if (p.tk.countCaption("Success!") != 1)
      throw std::runtime_error("the livery was not installed");
    takeBack();
    return t;
  }
  double byTools() {
    layOut();
    std::vector<std::string> mv = {"mv"};
    for (const std::string& n : names) mv.push_back(s.assembly("texture.bench/" + n));
    mv.push_back(target());
    const double t = timed([&] {
      if (!runTool({"mkdir", "-p", target()}) || !runTool(mv))
        throw std::runtime_error("mv failed");
    });
    takeBack();
    return t;
  }
  Scratch& s;
  std::vector<std::string> names;
  size_t bytes = 0;
};

}  // namespace

void hangarFigures() {
  constexpr int kAircraft = 1000;
  Scratch s;
  generateHangar(s, kAircraft);
  Scratch::settle();
  std::vector<double> first, kept;
  for (int r = 0; r < rounds(); ++r) {
    dropRecords(s);
    Started p(s);
    first.push_back(showHangar(*p.app, kAircraft));
    kept.push_back(showHangar(*p.app, kAircraft));
  }
  printFigure("Hangar of 1,000 aircraft folders, read the first time", median(first), "s", "<= 1",
              median(first) <= 1);
  printFigure("  the same again, nothing changed since", median(kept) * 1000, "ms", "<= 100",
              median(kept) <= 0.1);

  // Its memory: the program in a child of its own, reading the Hangar the first time.
  dropRecords(s);
  const double mb = peakMemory("the Hangar", [&] {
    Started p(s);
    showHangar(*p.app, kAircraft);
    return true;
  });
  printFigure("peak memory (max RSS) of the core with the Hangar of 1,000", mb, "MB", "<= 50",
              mb <= 50);
}

int liveryInstallOnce() {
  Scratch s;
  Repaint repaint(s, int(envNumber("ORVEX_BENCH_LIVERY_FILES", 200)));
  repaint.byOrvex();
  std::printf("livery: %.3f s, mv %.3f s\n", repaint.byOrvex(), repaint.byTools());
  return 0;
}

void liveryInstallFigure() {
  Scratch s;
  Repaint repaint(s, 200);
  repaint.byOrvex();  // warm-up, and proof that the install works
  repaint.byTools();
  std::vector<double> ratios, orvex, tools;
  for (int r = 0; r < rounds(); ++r) {
    double o, t;
    if (r % 2 == 0) {
      o = repaint.byOrvex();
      t = repaint.byTools();
    } else {
      t = repaint.byTools();
      o = repaint.byOrvex();
    }
    orvex.push_back(o);
    tools.push_back(t);
    ratios.push_back(o / t);
  }
  std::printf("# 200 files, %.0f MB; median of %d rounds: Orvex %.3f s, mv %.3f s\n",
              double(repaint.bytes) / 1e6, rounds(), median(orvex), median(tools));
  printFigure("livery install / mv, a texture folder of 200 files", median(ratios), "x", "<= 2",
              median(ratios) <= 2);
}

}  // namespace orvex::bench

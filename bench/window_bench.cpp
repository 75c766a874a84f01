// Figures of the real Qt window (offscreen): the 5,000-file aircraft install with the window
// against the core alone, the start-up of the program to its shown window, and peak memory.
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "bench/bench_tree.h"
#include "host/drive_map.h"
#include "qt/copy_window.h"
#include "qt/main_window.h"
#include "qt/qt_toolkit.h"
#include "qt/warning_window.h"

namespace orvex::bench {
namespace {

namespace stdfs = std::filesystem;

int rounds() {
  const char* r = std::getenv("ORVEX_BENCH_ROUNDS");
  return r && std::atoi(r) > 0 ? std::atoi(r) : 5;
}

// The Qt toolkit with the install's deliberate one-second pause taken out: the events of the
// pause are still handled, but the clock jumps as it does in the core's scripted toolkit, so
// both sides measure work, not waiting.
class QuickClockToolkit : public QtToolkit {
 public:
  using QtToolkit::QtToolkit;
  double clock() override { return now_; }
  void doEvents() override {
    QtToolkit::doEvents();
    now_ += 0.25;
  }

 private:
  double now_ = 1000.0;
};

double installInWindow(Scratch& s) {
  s.clearInstall();
  s.unpack();
  Scratch::settle();
  DriveMap map;
  map.add('c', s.root());
  HostFileSystem fs(map, s.path("Orvex"));
  QuickClockToolkit toolkit(fs);
  toolkit.setUnattended(true);
  test::FakeShell shell;
  Orvex program(fs, toolkit, shell);
  MainWindow window(program, toolkit);
  CopyWindow copyWindow(program.anim, fs, &window);
  WarningWindow warningWindow(program.warn, fs, &window);
  program.Form_Load();
  program.frm.cmdRefresh.click();
  QCoreApplication::processEvents();
  if (!program.frm.cmdInstall.visible()) throw std::runtime_error("Refresh found no aircraft");
  const double t = timed([&] { program.frm.cmdInstall.click(); });
  QCoreApplication::processEvents();
  if (toolkit.shownBoxes().empty() || toolkit.shownBoxes().back().caption != "Success!")
    throw std::runtime_error("the install in the window did not succeed");
  return t;
}

double installInCore(Scratch& s) {
  s.clearInstall();
  s.unpack();
  Scratch::settle();
  Program p(s);
  const double t = timed([&] { p.app->cmdInstall_Click(); });
  if (p.tk.countCaption("Success!") != 1) throw std::runtime_error("the install did not succeed");
  return t;
}

void windowFigure(Scratch& s) {
  installInWindow(s);  // warm-up: fonts, styles, first paints
  std::vector<double> ratios, window, core;
  for (int r = 0; r < rounds(); ++r) {
    double w, c;
    if (r % 2 == 0) {
      w = installInWindow(s);
      c = installInCore(s);
    } else {
      c = installInCore(s);
      w = installInWindow(s);
    }
    window.push_back(w);
    core.push_back(c);
    ratios.push_back(w / c);
  }
  std::printf("# median of %d rounds: window %.3f s, core %.3f s\n", rounds(), median(window),
              median(core));
  const double ratio = median(ratios);
  printFigure("aircraft install in the window / core alone, 5,000 files", ratio, "x", "<= 1.3",
              ratio <= 1.3);
}

void copyResource(const char* name, const std::string& to) {
  stdfs::copy_file(std::string(ORVEX_RESOURCES_DIR) + "/" + name, to + "/" + name,
                   stdfs::copy_options::overwrite_existing);
}

// The real program, started in a prepared root directory, until its window has been shown.
double startOnce(const std::string& root) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    if (chdir(root.c_str()) != 0) _exit(126);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("ORVEX_EXIT_AFTER_SHOW", "1", 1);
    execl(ORVEX_BINARY, ORVEX_BINARY, static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  for (int waited = 0; waitpid(pid, &status, WNOHANG) == 0; ++waited) {
    if (waited > 20000) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      throw std::runtime_error("the program did not end after showing its window");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    throw std::runtime_error("the program failed to start");
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void startupFigure(Scratch& s) {
  const std::string root = s.path("start/Orvex");
  stdfs::create_directories(root + "/Assembly");
  for (const char* name : {"FileCopy.avi", "click.wav", "Orvex.html"}) copyResource(name, root);
  std::string fs98 = "Z:" + s.path("FS98");
  for (char& c : fs98)
    if (c == '/') c = '\\';
  std::ofstream(root + "/Orvex.cfg", std::ios::binary)
      << "\"" << fs98 << "\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"FS98\"\r\n1\r\n";
  startOnce(root);  // warm-up: the program and Qt's libraries into the page cache
  std::vector<double> times;
  for (int k = 0; k < 7; ++k) times.push_back(startOnce(root));
  const double t = median(times);
  printFigure("start-up to the shown window (offscreen)", t, "s", "<= 0.5", t <= 0.5);
}

}  // namespace
}  // namespace orvex::bench

int main(int argc, char** argv) {
  using namespace orvex::bench;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  try {
    Scratch s;
    s.generateAircraft(5000, 200'000'000);
    windowFigure(s);
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    printFigure("peak memory (max RSS) of the window program with the install",
                double(usage.ru_maxrss) / 1024, "MB", "report", true);
    startupFigure(s);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "benchmark failed: %s\n", e.what());
    return 1;
  }
  return 0;
}

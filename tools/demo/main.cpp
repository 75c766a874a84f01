// orvex_make_demo FOLDER: makes a demonstration tree in a new or empty folder (four sample
// simulators, sample add-ons, a root directory set up for them) and prints the root directory.
#include <QGuiApplication>
#include <cstdio>
#include <exception>

#include "demo_tree.h"

int main(int argc, char** argv) {
  // Drawing text needs a GUI application, though nothing is ever shown: never a display's.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  try {
    std::printf("%s\n", orvex::demo::makeDemo(argv[1]).c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "orvex_make_demo: %s\n", e.what());
    return 1;
  }
  return 0;
}

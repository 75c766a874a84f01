// Builds the Qt windows around the core and runs the program.
#include <QApplication>

#include "app/orvex.h"
#include "platform/host/drive_map.h"
#include "platform/host/host_file_system.h"
#include "platform/qt/copy_window.h"
#include "platform/qt/main_window.h"
#include "platform/qt/qt_shell.h"
#include "platform/qt/qt_toolkit.h"
#include "platform/qt/resources.h"
#include "platform/qt/warning_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Orvex"));
  // Shutdown decides when the program ends, not the last window closing.
  QApplication::setQuitOnLastWindowClosed(false);
  orvex::initResources();
  QApplication::setWindowIcon(orvex::programIcon());

  orvex::HostFileSystem fs(orvex::DriveMap::defaultMap());
  orvex::QtToolkit toolkit(fs);
  orvex::QtShell shell;
  orvex::Orvex program(fs, toolkit, shell);

  orvex::MainWindow window(program, toolkit);
  orvex::CopyWindow copyWindow(program.anim, fs, &window);
  orvex::WarningWindow warningWindow(program.warn, fs, &window);

  program.Form_Load();
  if (!program.ended()) app.exec();
  return 0;
}

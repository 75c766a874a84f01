// Builds the Qt windows around the core and runs the program.
#include <QApplication>
#include <QEvent>

#include "app/orvex.h"
#include "host/drive_map.h"
#include "host/host_file_system.h"
#include "host/libarchive_reader.h"
#include "host/root_lock.h"
#include "host/sqlite_record_store.h"
#include "qt/copy_window.h"
#include "qt/main_window.h"
#include "qt/preview_window.h"
#include "qt/qt_shell.h"
#include "qt/qt_toolkit.h"
#include "qt/resources.h"
#include "qt/warning_window.h"

namespace {

// Ends the event loop once the watched window has been painted for the first time.
class QuitAfterFirstPaint : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      watched->removeEventFilter(this);
      // exit(), not quit(): quitting closes the windows, and closing the main window shuts
      // the program down.
      QMetaObject::invokeMethod(
          qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    }
    return false;
  }
};

}  // namespace

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
  orvex::LibArchiveReader archives;
  orvex::RootLock rootLock;
  orvex::Orvex program(fs, toolkit, shell);
  program.archives = &archives;
  program.openRecordStore = [](const std::string& hostPath) {
    return std::make_unique<orvex::SqliteRecordStore>(hostPath);
  };
  program.lockRootDirectory = [&rootLock](const std::string& hostPath) {
    return rootLock.take(hostPath);
  };

  orvex::MainWindow window(program, toolkit);
  orvex::CopyWindow copyWindow(program.anim, fs, &window);
  orvex::WarningWindow warningWindow(program.warn, fs, &window);
  orvex::PreviewWindow previewWindow(program.preview, &window);

  program.handle([&] { program.Form_Load(); });
  if (!program.ended()) {
    // A measurement hook of the start-up benchmark (bench/run), read here and nowhere else:
    // ORVEX_EXIT_AFTER_SHOW=1 ends the program once the shown window has had its first paint,
    // without the shutdown steps, so that nothing in the root directory changes (but for the
    // lock file, made at the first start).
    QuitAfterFirstPaint measuredStart;
    if (qEnvironmentVariable("ORVEX_EXIT_AFTER_SHOW") == QLatin1String("1"))
      window.installEventFilter(&measuredStart);
    app.exec();
  }
  return 0;
}

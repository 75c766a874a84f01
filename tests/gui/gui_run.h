// A whole program for GUI tests: an Orvex root on a temp drive C:, real windows, scripted boxes.
#pragma once

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>

#include "app/orvex.h"
#include "host/drive_map.h"
#include "host/host_file_system.h"
#include "host/libarchive_reader.h"
#include "qt/copy_window.h"
#include "qt/main_window.h"
#include "qt/preview_window.h"
#include "qt/qt_shell.h"
#include "qt/qt_toolkit.h"
#include "qt/warning_window.h"

namespace orvex::test {

class GuiRun {
 public:
  GuiRun() {
    QDir(tmp.path()).mkpath(QStringLiteral("Orvex/Assembly"));
    root = tmp.path() + QStringLiteral("/Orvex");
    DriveMap map;
    map.add('c', tmp.path().toStdString());
    fs = std::make_unique<HostFileSystem>(map, root.toStdString());
    toolkit = std::make_unique<QtToolkit>(*fs);
    toolkit->setUnattended(true);  // a box nobody expected must not hang the test
    shell = std::make_unique<QtShell>();
    orvex = std::make_unique<Orvex>(*fs, *toolkit, *shell);
    orvex->archives = &archives;
    window = std::make_unique<MainWindow>(*orvex, *toolkit);
    copyWindow = std::make_unique<CopyWindow>(orvex->anim, *fs, window.get());
    warningWindow = std::make_unique<WarningWindow>(orvex->warn, *fs, window.get());
    previewWindow = std::make_unique<PreviewWindow>(orvex->preview, window.get());
  }

  ~GuiRun() {
    previewWindow.reset();
    warningWindow.reset();
    copyWindow.reset();
    window.reset();
    orvex.reset();
  }

  // The host path of a file or folder below the root folder.
  QString host(const QString& relative) const { return root + QLatin1Char('/') + relative; }

  void writeFile(const QString& relative, const QByteArray& data) const {
    QFile file(host(relative));
    file.open(QIODevice::WriteOnly);
    file.write(data);
  }

  QtToolkit::ShownBox lastBox() const {
    return toolkit->shownBoxes().empty() ? QtToolkit::ShownBox{} : toolkit->shownBoxes().back();
  }

  // A simulator FS98 beside the root, with these folders and its check file, the copy
  // animation and settings that choose it; false when the animation cannot be copied.
  bool layOutFs98(std::initializer_list<const char*> folders) const {
    QDir top(tmp.path());
    for (const char* d : folders) top.mkpath(QStringLiteral("FS98/") + QString::fromLatin1(d));
    QFile(fs98(QStringLiteral("Fltsim98.cfg"))).open(QIODevice::WriteOnly);
    writeFile(QStringLiteral("Orvex.cfg"),
              "\"C:\\FS98\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"FS98\"\r\n1\r\n");
    return QFile::copy(QStringLiteral(ORVEX_RESOURCES_DIR "/FileCopy.avi"),
                       host(QStringLiteral("FileCopy.avi")));
  }

  // The host path of a file or folder below FS98.
  QString fs98(const QString& relative) const {
    return tmp.path() + QStringLiteral("/FS98/") + relative;
  }

  template <class W>
  W* widget(const char* name) const {
    return window->control<W>(name);
  }

  QTemporaryDir tmp;
  QString root;
  std::unique_ptr<HostFileSystem> fs;
  std::unique_ptr<QtToolkit> toolkit;
  std::unique_ptr<QtShell> shell;
  LibArchiveReader archives;
  std::unique_ptr<Orvex> orvex;
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<CopyWindow> copyWindow;
  std::unique_ptr<WarningWindow> warningWindow;
  std::unique_ptr<PreviewWindow> previewWindow;
};

// The bytes of a host file; empty when it cannot be read.
inline QByteArray readHost(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Lets the event loop run until done() holds or the time is up.
inline bool processUntil(const std::function<bool()>& done, int timeoutMs = 3000) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

}  // namespace orvex::test

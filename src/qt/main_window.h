// The main window frmOrvex2: its widgets laid out at fixed places, bound to the window model.
#pragma once

#include <QWidget>
#include <memory>

namespace orvex {

class Binder;
class WindowProgram;
class QtToolkit;

class MainWindow : public QWidget {
  Q_OBJECT
 public:
  MainWindow(WindowProgram& orvex, QtToolkit& toolkit, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The widget bound to a control of the window model, by the control's name.
  template <class W>
  W* control(const char* name) const {
    return findChild<W*>(QString::fromLatin1(name));
  }

 protected:
  void closeEvent(QCloseEvent* event) override;
  // An archive dragged from a file manager opens as if chosen with cmdOpenArchive.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void buildTopFrames();
  void buildButtons();
  void buildAircraftTab(QWidget* page);
  void buildPanelTab(QWidget* page);
  void buildSceneryTab(QWidget* page);
  void buildSoundTab(QWidget* page);
  void buildInstalledTab(QWidget* page);
  void buildHangarTab(QWidget* page);
  void buildSceneryLibraryTab(QWidget* page);

  WindowProgram& orvex_;
  QtToolkit& toolkit_;
  std::unique_ptr<Binder> binder_;
  bool terminating_ = false;
};

}  // namespace orvex

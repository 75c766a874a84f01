// Binds one window's control models to its Qt widgets, both ways.
#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "ui/controls.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QRadioButton;
class QTabWidget;
class QTimer;
class QTreeWidget;
class QWidget;

namespace orvex {

class ClickableLabel;
class FileSystem;
class PictureView;

class Binder {
 public:
  // Points a directory list at a path the user chose; reports failures itself.
  using Navigate = std::function<void(DirList&, const std::string&)>;

  // Binds the form: caption, visibility, size, position, mouse pointer and focus.
  Binder(Form& form, QWidget* window);
  // Unhooks every model, so that a model outliving its window calls nothing.
  ~Binder();
  Binder(const Binder&) = delete;
  Binder& operator=(const Binder&) = delete;

  // description names a control that has no caption, for screen readers and tests.
  void button(Button& m, QAbstractButton* w, const QString& description = {});
  void label(Label& m, ClickableLabel* w, const QString& description = {});
  void frame(Frame& m, QGroupBox* w);
  void option(OptionButton& m, QRadioButton* w, OptionGroup& group);
  void checkBox(CheckBox& m, QCheckBox* w);
  void textBox(TextBox& m, QLineEdit* w, const QString& description);
  // The fixed picture shows while the model has no picture file; a file that cannot be read
  // shows the fallback picture and a note instead.
  void picture(PictureBox& m, PictureView* w, const QImage& fixed, FileSystem& fs,
               const QImage& fallback, const QString& description);
  void driveList(DriveList& m, QComboBox* w, const QString& description);
  void dirList(DirList& m, QListWidget* w, Navigate navigate, const QString& description);
  void fileList(FileList& m, QListWidget* w, const QString& description);
  void progressBar(ProgressBar& m, QProgressBar* w, const QString& description);
  void listView(ListView& m, QTreeWidget* w, const QString& description);
  // A Qt timer that runs while the model's timer runs.
  QTimer* timer(Timer& m);
  void tabs(TabStrip& m, QTabWidget* w);
  // The model's top edge (twips within its container) places the widget.
  void followTop(Control& m);

  QWidget* widgetFor(const Control& m) const;

 private:
  void bind(Control& m, QWidget* w, const QString& description, std::function<void()> apply);
  void applyCommon(const Control& m, QWidget* w, const QString& description);
  void applyForm();
  void syncGroup(OptionGroup& group);

  Form& form_;
  QWidget* window_;
  std::map<const Control*, QWidget*> widgets_;
  std::vector<Control*> bound_;
  std::set<const Control*> followTop_;
  std::map<OptionGroup*, QButtonGroup*> groups_;
  int shownLeft_ = -1, shownTop_ = -1, shownWidth_ = -1, shownHeight_ = -1;
};

}  // namespace orvex

// Binding of the drive, directory and file lists: listings shown, choices handed to the models.
#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QStyle>
#include <QTimer>
#include <exception>

#include "platform/file_system.h"
#include "qt/binder.h"
#include "qt/qt_text.h"

namespace orvex {
namespace {

constexpr int kPathRole = Qt::UserRole;

// "C:\FS98\Aircraft" -> "C:\", "C:\FS98", "C:\FS98\Aircraft".
std::vector<std::string> openLevels(const std::string& path) {
  std::vector<std::string> levels;
  std::string current;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    const std::string part = path.substr(start, end - start);
    if (!part.empty()) {
      if (current.empty()) {
        current = part;
        levels.push_back(current + "\\");
      } else {
        current += "\\" + part;
        levels.push_back(current);
      }
    }
    start = end + 1;
  }
  return levels;
}

std::string lastName(const std::string& path) {
  const size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

QListWidgetItem* addPathItem(QListWidget* w, const QString& text, const std::string& path,
                             QStyle::StandardPixmap icon, int depth) {
  auto* item = new QListWidgetItem(QApplication::style()->standardIcon(icon),
                                   QString(depth * 2, QLatin1Char(' ')) + text, w);
  item->setData(kPathRole, QByteArray::fromStdString(path));
  return item;
}

}  // namespace

void Binder::driveList(DriveList& m, QComboBox* w, const QString& description) {
  QObject::connect(w, &QComboBox::activated, w, [&m, w](int index) {
    m.setDrive(w->itemData(index, kPathRole).toByteArray().toStdString());
    // The change procedure may have gone back to the drive it could read.
    const QSignalBlocker block(w);
    w->setCurrentIndex(w->findData(QByteArray::fromStdString(m.drive()), kPathRole));
  });
  bind(m, w, description, [&m, w] {
    const QSignalBlocker block(w);
    std::vector<std::string> drives;
    try {
      drives = m.drives();
    } catch (const std::exception&) {
      drives.clear();
    }
    bool same = int(drives.size()) == w->count();
    for (int i = 0; same && i < w->count(); ++i)
      same = w->itemData(i, kPathRole).toByteArray().toStdString() == drives[size_t(i)];
    if (!same) {
      w->clear();
      for (const std::string& d : drives)
        w->addItem(QApplication::style()->standardIcon(QStyle::SP_DriveHDIcon), toQt(d),
                   QByteArray::fromStdString(d));
    }
    w->setCurrentIndex(w->findData(QByteArray::fromStdString(m.drive()), kPathRole));
  });
}

void Binder::dirList(DirList& m, QListWidget* w, Navigate navigate, const QString& description) {
  QObject::connect(w, &QListWidget::itemActivated, w, [&m, w, navigate](QListWidgetItem* item) {
    const std::string path = item->data(kPathRole).toByteArray().toStdString();
    if (path == m.path()) return;
    // The list is rebuilt by the change, so not inside its own signal.
    QTimer::singleShot(0, w, [&m, navigate, path] {
      navigate(m, path);
      // A refused path leaves the model as it was; show it afresh.
      if (m.onUpdate) m.onUpdate();
    });
  });
  bind(m, w, description, [&m, w] {
    const QSignalBlocker block(w);
    w->clear();
    if (m.path().empty()) return;
    const std::vector<std::string> levels = openLevels(m.path());
    QListWidgetItem* own = nullptr;
    for (size_t i = 0; i < levels.size(); ++i)
      own = addPathItem(w, toQt(i == 0 ? levels[i] : lastName(levels[i])), levels[i],
                        QStyle::SP_DirOpenIcon, int(i));
    const int ownRow = w->count() - 1;
    try {
      for (int i = 0; i < m.listCount(); ++i) {
        const std::string sub = m.list(i);
        addPathItem(w, toQt(lastName(sub)), sub, QStyle::SP_DirClosedIcon, int(levels.size()));
      }
    } catch (const std::exception&) {
      // An unreadable directory shows no sub-directories.
    }
    const int selected = m.listIndex() >= 0 ? ownRow + 1 + m.listIndex() : ownRow;
    w->setCurrentRow(selected < w->count() ? selected : ownRow);
    if (own) w->scrollToItem(w->currentItem());
  });
}

void Binder::fileList(FileList& m, QListWidget* w, const QString& description) {
  bind(m, w, description, [&m, w] {
    const QSignalBlocker block(w);
    w->clear();
    if (!m.visible()) return;  // reading the directory is only worth it when shown
    try {
      for (int i = 0; i < m.listCount(); ++i) w->addItem(toQt(m.list(i)));
    } catch (const std::exception&) {
      w->clear();
    }
  });
}

}  // namespace orvex

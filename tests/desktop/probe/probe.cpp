// A test-only Qt plugin that the end-to-end tests load into the real program
// (QT_QPA_GENERIC_PLUGINS=orvexprobe): it tells the test where the windows, widgets, tabs and
// message-box buttons are on the X screen, so that the test can click them with real input,
// and what the user set off. It only watches; the program runs as it does without it.
//
// Every ORVEX_PROBE_MS milliseconds (100 unless set) it rewrites the file named by
// ORVEX_PROBE_FILE with tab-separated lines:
//   tick    <n>                                                 counts the rewrites
//   window  <name> <title> <class> <X window id> <x> <y> <w> <h>   a visible window
//   modal   <window>                                            the window that takes input
//   widget  <name> <class> <enabled> <x> <y> <w> <h> <text> <window>  a visible named widget
//   tab     <index> <current> <x> <y> <w> <h> <text>           a tab of the tab bar
//   row     <table> <index> <x> <y> <w> <h> <column texts...>   a row of a table in sight
//   button  <box title> <x> <y> <w> <h> <text>                  a button of a message box
//   message <box title> <text>                                  the text of a message box
// Positions are global (X screen) coordinates; line breaks in texts become "|". A window is
// named by its object name, or its class when it has none.
//
// With ORVEX_PROBE_LOG set it also appends to that file, as they happen, one line per:
//   start                          the program started
//   begin   <button> <text> <targets>  a named button is being clicked: the line is written
//                                  before the program's click procedure runs; an install
//                                  button adds the texts that name its targets
//   end     <button>               that click procedure has returned
//   box     <title> <text>         a message box is shown
//   answer  <title> <button> <text>  it is closed with that button (before the program goes on)
//   close   <window>               a window is asked to close (before it decides)
#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QGenericPlugin>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSaveFile>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QWidget>

namespace {

// The buttons that start an install, at once or after a preview of what it does, and the
// widgets whose texts name where it goes.
const char* const kInstallButtons[] = {"cmdInstall",      "cmdPanelInstall",  "Command1",
                                       "cmdInstallSound", "cmdPreview",       "cmdPanelPreview",
                                       "cmdSoundPreview", "cmdSceneryPreview"};
const char* const kTargetTexts[] = {"labLocation",   "labDisplayPath", "txtPanelName",
                                    "labSceneryDir", "labSoundPath",   "labDisplaySoundPath",
                                    "txtIDecide",    "txtSoundName"};

QString flat(QString text) {
  text.replace(QLatin1String("\r\n"), QLatin1String("|"));
  text.replace(QLatin1Char('\r'), QLatin1Char('|'));
  text.replace(QLatin1Char('\n'), QLatin1Char('|'));
  text.replace(QLatin1Char('\t'), QLatin1Char(' '));
  return text;
}

QString place(const QWidget* w, const QRect& local) {
  const QPoint at = w->mapToGlobal(local.topLeft());
  return QStringLiteral("%1\t%2\t%3\t%4")
      .arg(at.x())
      .arg(at.y())
      .arg(local.width())
      .arg(local.height());
}

QString textOf(const QWidget* w) {
  if (auto* b = qobject_cast<const QAbstractButton*>(w)) return b->text();
  if (auto* l = qobject_cast<const QLabel*>(w)) return l->text();
  if (auto* e = qobject_cast<const QLineEdit*>(w)) return e->text();
  if (auto* g = qobject_cast<const QGroupBox*>(w)) return g->title();
  return QString();
}

bool named(const QObject* o) {
  return !o->objectName().isEmpty() && !o->objectName().startsWith(QLatin1String("qt_"));
}

QString windowName(const QWidget* top) {
  return top->objectName().isEmpty() ? QLatin1String(top->metaObject()->className())
                                     : top->objectName();
}

class WidgetProbe : public QObject {
 public:
  WidgetProbe(QString file, const QString& log, int periodMs) : file_(std::move(file)) {
    if (!log.isEmpty()) {
      log_.setFileName(log);
      if (log_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        record({QStringLiteral("start")});
        qApp->installEventFilter(this);
      }
    }
    connect(&timer_, &QTimer::timeout, this, [this] { write(); });
    timer_.start(periodMs);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      if (auto* box = qobject_cast<QMessageBox*>(watched))
        record({QStringLiteral("box"), flat(box->windowTitle()), flat(box->text())});
    } else if (event->type() == QEvent::Hide) {
      if (auto* box = qobject_cast<QMessageBox*>(watched))
        record({QStringLiteral("answer"), flat(box->windowTitle()),
                box->clickedButton() ? flat(box->clickedButton()->text()).remove(QLatin1Char('&'))
                                     : QString(),
                flat(box->text())});
    } else if (event->type() == QEvent::Close && watched->isWidgetType() &&
               static_cast<QWidget*>(watched)->isWindow() && named(watched)) {
      record({QStringLiteral("close"), watched->objectName()});
    }
    return false;
  }

 private:
  // One line of the log, written at once so that the test sees it before what follows.
  void record(const QStringList& fields) {
    if (log_.isOpen()) log_.write((fields.join(QLatin1Char('\t')) + QLatin1Char('\n')).toUtf8());
  }

  QString targets(const QWidget* top) const {
    QStringList texts;
    for (const char* name : kTargetTexts)
      if (auto* w = top->findChild<QWidget*>(QLatin1String(name)); w && w->isVisible())
        texts << QLatin1String(name) + QLatin1Char('=') + flat(textOf(w));
    return texts.join(QLatin1Char(' '));
  }

  // Clicks are logged from the button's own signals: released comes just before clicked,
  // whose first receiver runs the program's procedure; the probe's receiver comes last.
  void watch(QAbstractButton* b) {
    if (!log_.isOpen() || b->property("orvexProbeWatched").toBool()) return;
    b->setProperty("orvexProbeWatched", true);
    const QString name = b->objectName();
    bool install = false;
    for (const char* n : kInstallButtons) install = install || name == QLatin1String(n);
    connect(b, &QAbstractButton::released, this, [this, b, name, install] {
      record({QStringLiteral("begin"), name, flat(b->text()),
              install ? targets(b->window()) : QString()});
    });
    connect(b, &QAbstractButton::clicked, this, [this, name] {
      record({QStringLiteral("end"), name});
    });
  }

  // The rows of a table that lie in its view, each with the texts of its columns.
  static void rows(const QTreeWidget* table, QStringList& lines) {
    const QRect view = table->viewport()->rect();
    for (int i = 0; i < table->topLevelItemCount(); ++i) {
      QTreeWidgetItem* item = table->topLevelItem(i);
      const QRect r = table->visualItemRect(item).intersected(view);
      if (r.isEmpty()) continue;
      QStringList fields{QStringLiteral("row"), table->objectName(), QString::number(i),
                         place(table->viewport(), r)};
      for (int c = 0; c < table->columnCount(); ++c) fields << flat(item->text(c));
      lines << fields.join(QLatin1Char('\t'));
    }
  }

  void write() {
    if (!qApp) return;
    QStringList lines;
    lines << QStringLiteral("tick\t%1").arg(++ticks_);
    if (QWidget* modal = QApplication::activeModalWidget())
      lines << QStringLiteral("modal\t%1").arg(windowName(modal));
    for (QWidget* top : QApplication::topLevelWidgets()) {
      for (QAbstractButton* b : top->findChildren<QAbstractButton*>())
        if (named(b)) watch(b);
      if (!top->isVisible()) continue;
      lines << QStringLiteral("window\t%1\t%2\t%3\t0x%4\t%5")
                   .arg(windowName(top), flat(top->windowTitle()),
                        QLatin1String(top->metaObject()->className()))
                   .arg(quint64(top->winId()), 0, 16)
                   .arg(place(top, top->rect()));
      for (QWidget* w : top->findChildren<QWidget*>()) {
        if (!w->isVisible()) continue;
        if (named(w) && w->window() == top)
          lines << QStringLiteral("widget\t%1\t%2\t%3\t%4\t%5\t%6")
                       .arg(w->objectName(), QLatin1String(w->metaObject()->className()))
                       .arg(w->isEnabled() ? 1 : 0)
                       .arg(place(w, w->rect()), flat(textOf(w)), windowName(top));
        if (auto* table = qobject_cast<QTreeWidget*>(w); table && named(table)) rows(table, lines);
        if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
          QTabBar* bar = tabs->tabBar();
          for (int i = 0; i < bar->count(); ++i)
            lines << QStringLiteral("tab\t%1\t%2\t%3\t%4")
                         .arg(i)
                         .arg(i == tabs->currentIndex() ? 1 : 0)
                         .arg(place(bar, bar->tabRect(i)), flat(bar->tabText(i)));
        }
      }
      if (auto* box = qobject_cast<QMessageBox*>(top)) {
        lines << QStringLiteral("message\t%1\t%2").arg(flat(box->windowTitle()), flat(box->text()));
        for (QAbstractButton* b : box->buttons())
          if (b->isVisible())
            lines << QStringLiteral("button\t%1\t%2\t%3")
                         .arg(flat(box->windowTitle()), place(b, b->rect()),
                              flat(b->text()).remove(QLatin1Char('&')));
      }
    }
    QSaveFile out(file_);
    if (out.open(QIODevice::WriteOnly)) {
      out.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
      out.commit();
    }
  }

  QString file_;
  QFile log_;
  QTimer timer_;
  quint64 ticks_ = 0;
};

}  // namespace

class OrvexProbePlugin : public QGenericPlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "probe.json")
 public:
  QObject* create(const QString&, const QString&) override {
    const QString file = qEnvironmentVariable("ORVEX_PROBE_FILE");
    if (file.isEmpty()) return nullptr;
    bool ok = false;
    const int period = qEnvironmentVariableIntValue("ORVEX_PROBE_MS", &ok);
    return new WidgetProbe(file, qEnvironmentVariable("ORVEX_PROBE_LOG"),
                           ok && period > 0 ? period : 100);
  }
};

#include "probe.moc"

// A test-only Qt plugin that the end-to-end test loads into the real program
// (QT_QPA_GENERIC_PLUGINS=orvexprobe): it tells the test where the windows, widgets, tabs and
// message-box buttons are on the X screen, so that the test can click them with real input.
// It only reads; the program runs exactly as it does without it.
//
// Every 100 ms it rewrites the file named by ORVEX_PROBE_FILE with tab-separated lines:
//   window  <name> <title> <class> <X window id> <x> <y> <w> <h>   a visible window
//   widget  <name> <class> <enabled> <x> <y> <w> <h> <text>     a visible named widget
//   tab     <index> <current> <x> <y> <w> <h> <text>           a tab of the tab bar
//   button  <box title> <x> <y> <w> <h> <text>                  a button of a message box
//   message <box title> <text>                                  the text of a message box
// Positions are global (X screen) coordinates; line breaks in texts become "|".
#include <QAbstractButton>
#include <QApplication>
#include <QGenericPlugin>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSaveFile>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QWidget>

namespace {

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

class WidgetProbe : public QObject {
 public:
  explicit WidgetProbe(QString file) : file_(std::move(file)) {
    connect(&timer_, &QTimer::timeout, this, [this] { write(); });
    timer_.start(100);
  }

 private:
  void write() {
    if (!qApp) return;
    QStringList lines;
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (!top->isVisible()) continue;
      lines << QStringLiteral("window\t%1\t%2\t%3\t0x%4\t%5")
                   .arg(top->objectName(), flat(top->windowTitle()),
                        QLatin1String(top->metaObject()->className()))
                   .arg(quint64(top->winId()), 0, 16)
                   .arg(place(top, top->rect()));
      for (QWidget* w : top->findChildren<QWidget*>()) {
        if (!w->isVisible()) continue;
        if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")))
          lines << QStringLiteral("widget\t%1\t%2\t%3\t%4\t%5")
                       .arg(w->objectName(), QLatin1String(w->metaObject()->className()))
                       .arg(w->isEnabled() ? 1 : 0)
                       .arg(place(w, w->rect()), flat(textOf(w)));
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
  QTimer timer_;
};

}  // namespace

class OrvexProbePlugin : public QGenericPlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "probe.json")
 public:
  QObject* create(const QString&, const QString&) override {
    const QString file = qEnvironmentVariable("ORVEX_PROBE_FILE");
    return file.isEmpty() ? nullptr : new WidgetProbe(file);
  }
};

#include "probe.moc"

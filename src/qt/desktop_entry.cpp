// The command line of a freedesktop application entry (a .desktop file).
#include "qt/desktop_entry.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>

namespace orvex {
namespace {

// The escapes of a desktop entry string value.
QString unescapeValue(const QString& value) {
  QString out;
  for (qsizetype i = 0; i < value.size(); ++i) {
    const QChar c = value[i];
    if (c != QLatin1Char('\\') || i + 1 == value.size()) {
      out += c;
      continue;
    }
    const QChar next = value[++i];
    if (next == QLatin1Char('s'))
      out += QLatin1Char(' ');
    else if (next == QLatin1Char('n'))
      out += QLatin1Char('\n');
    else if (next == QLatin1Char('t'))
      out += QLatin1Char('\t');
    else if (next == QLatin1Char('r'))
      out += QLatin1Char('\r');
    else
      out += next;
  }
  return out;
}

// One argument for QProcess::splitCommand: quoted when it holds blanks or quotes.
QString quoteArgument(QString arg) {
  if (!arg.isEmpty() && !arg.contains(QLatin1Char(' ')) && !arg.contains(QLatin1Char('\t')) &&
      !arg.contains(QLatin1Char('"')))
    return arg;
  arg.replace(QLatin1String("\""), QLatin1String("\"\"\""));
  return QLatin1Char('"') + arg + QLatin1Char('"');
}

}  // namespace

QString findDesktopEntry(const QString& desktopId) {
  if (desktopId.isEmpty() || desktopId.contains(QLatin1Char('/'))) return {};
  QString found = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, desktopId);
  if (!found.isEmpty()) return found;
  // "vendor-app.desktop" may also live at vendor/app.desktop.
  QString nested = desktopId;
  for (qsizetype dash = nested.indexOf(QLatin1Char('-')); dash > 0;
       dash = nested.indexOf(QLatin1Char('-'), dash + 1)) {
    nested[dash] = QLatin1Char('/');
    found = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, nested);
    if (!found.isEmpty()) return found;
  }
  return {};
}

QString desktopEntryCommand(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
  QTextStream in(&file);
  bool inEntry = false;
  QString exec;
  while (!in.atEnd()) {
    const QString line = in.readLine().trimmed();
    if (line.startsWith(QLatin1Char('['))) {
      inEntry = line == QLatin1String("[Desktop Entry]");
      continue;
    }
    if (!inEntry) continue;
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq <= 0) continue;
    const QString key = line.left(eq).trimmed();
    const QString value = line.mid(eq + 1).trimmed();
    if (key == QLatin1String("Hidden") && value == QLatin1String("true")) return {};
    if (key == QLatin1String("Exec") && exec.isEmpty()) exec = unescapeValue(value);
  }
  return stripFieldCodes(exec);
}

QString stripFieldCodes(const QString& exec) {
  QStringList kept;
  for (const QString& arg : QProcess::splitCommand(exec)) {
    QString out;
    bool hadCode = false;
    for (qsizetype i = 0; i < arg.size(); ++i) {
      if (arg[i] != QLatin1Char('%') || i + 1 == arg.size()) {
        out += arg[i];
        continue;
      }
      const QChar code = arg[++i];
      if (code == QLatin1Char('%'))
        out += QLatin1Char('%');
      else
        hadCode = true;  // %f %F %u %U %i %c %k and the deprecated ones
    }
    if (hadCode && out.isEmpty()) continue;
    kept << quoteArgument(out);
  }
  return kept.join(QLatin1Char(' '));
}

}  // namespace orvex

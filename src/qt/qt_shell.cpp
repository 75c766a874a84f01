// The Shell on a freedesktop system: default program for a document, start, sound.
#include "qt/qt_shell.h"

#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QSoundEffect>
#include <QUrl>

#include "qt/desktop_entry.h"
#include "qt/qt_text.h"

namespace orvex {
namespace {

constexpr int kStarted = 33;
constexpr int kNotFound = 2;

// The desktop file id of the default application for a MIME type, from xdg-mime.
QString defaultApplication(const QString& mimeType) {
  QProcess query;
  query.start(QStringLiteral("xdg-mime"),
              {QStringLiteral("query"), QStringLiteral("default"), mimeType});
  if (!query.waitForFinished(3000)) {
    query.kill();
    query.waitForFinished(500);
    return {};
  }
  if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0) return {};
  return QString::fromLocal8Bit(query.readAllStandardOutput())
      .section(QLatin1Char('\n'), 0, 0)
      .trimmed();
}

}  // namespace

QtShell::QtShell() = default;
QtShell::~QtShell() = default;

int QtShell::findExecutable(const std::string& document, std::string& program) {
  const QString doc = toQt(document);
  if (!QFileInfo(doc).isFile()) return kNotFound;
  const QMimeType type = QMimeDatabase().mimeTypeForFile(doc, QMimeDatabase::MatchExtension);
  QString mimeType = type.name();
  // Without a MIME database (no shared-mime-info) the zip type is still known by its name.
  if ((!type.isValid() || type.isDefault()) &&
      QFileInfo(doc).suffix().compare(QLatin1String("zip"), Qt::CaseInsensitive) == 0)
    mimeType = QStringLiteral("application/zip");
  if (mimeType.isEmpty()) return kNotFound;
  const QString entry = findDesktopEntry(defaultApplication(mimeType));
  if (entry.isEmpty()) return kNotFound;
  const QString command = desktopEntryCommand(entry);
  if (command.isEmpty()) return kNotFound;
  program = fromQt(command);
  return kStarted;
}

int QtShell::execute(const std::string& program) {
  QStringList args = QProcess::splitCommand(toQt(program));
  if (args.isEmpty()) return kNotFound;
  const QString command = args.takeFirst();
  return QProcess::startDetached(command, args) ? kStarted : kNotFound;
}

void QtShell::playSound(const std::string& file) {
  const QString path = toQt(file);
  if (!QFileInfo(path).isFile()) return;
  const QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
  if (!sound_) sound_ = std::make_unique<QSoundEffect>();
  if (sound_->source() != url) sound_->setSource(url);
  sound_->play();  // plays once loaded; without an audio device it stays silent
}

}  // namespace orvex

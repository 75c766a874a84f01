// The screen reader's part on the accessibility bus: its listeners and the events it receives.
#include "bench/screen_reader.h"

#include <QStringList>

namespace orvex::bench {
namespace {

const QString kConnection = QStringLiteral("orvex-bench-screen-reader");

QString accessibilityBusAddress() {
  const QDBusMessage reply = QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall(
      QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
      QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress")));
  return reply.type() == QDBusMessage::ReplyMessage ? reply.arguments().value(0).toString()
                                                    : QString();
}

}  // namespace

ScreenReader::ScreenReader()
    : bus_(QDBusConnection::connectToBus(accessibilityBusAddress(), kConnection)) {
  if (!bus_.isConnected()) return;
  // What a screen reader follows: names and texts of objects, windows, focus.
  for (const char* event : {"object:", "window:", "focus:"}) {
    QDBusMessage registration = QDBusMessage::createMethodCall(
        QStringLiteral("org.a11y.atspi.Registry"), QStringLiteral("/org/a11y/atspi/registry"),
        QStringLiteral("org.a11y.atspi.Registry"), QStringLiteral("RegisterEvent"));
    registration << QString::fromLatin1(event) << QStringList() << QString();
    if (bus_.call(registration).type() != QDBusMessage::ReplyMessage) return;
  }
  for (const char* kind : {"Object", "Window", "Focus"})
    bus_.connect(QString(), QString(), QStringLiteral("org.a11y.atspi.Event.") + kind, QString(),
                 this, SLOT(received(QDBusMessage)));
  connected_ = true;
}

ScreenReader::~ScreenReader() {
  QDBusConnection::disconnectFromBus(kConnection);
}

}  // namespace orvex::bench

// A stand-in for a screen reader on the accessibility bus: it asks for the events a screen
// reader listens to and receives them, so that Qt sends them as it does for a real one.
#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>

namespace orvex::bench {

class ScreenReader : public QObject {
  Q_OBJECT
 public:
  // Connects to the accessibility bus that the session bus names; connected() tells whether
  // there was one.
  ScreenReader();
  ~ScreenReader() override;
  bool connected() const { return connected_; }
  long events() const { return events_; }

 public slots:
  void received(const QDBusMessage&) { ++events_; }

 private:
  QDBusConnection bus_;
  bool connected_ = false;
  long events_ = 0;
};

}  // namespace orvex::bench

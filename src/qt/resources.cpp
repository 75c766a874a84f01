// The pictures built into the program.
#include "qt/resources.h"

#include <QString>
#include <mutex>

// Q_INIT_RESOURCE must be used outside any namespace.
static void registerOrvexResources() {
  Q_INIT_RESOURCE(orvex);
}

namespace orvex {

void initResources() {
  static std::once_flag once;
  std::call_once(once, registerOrvexResources);
}

QImage builtInImage(const char* name) {
  initResources();
  return QImage(QStringLiteral(":/orvex/") + QLatin1String(name));
}

QIcon programIcon() {
  initResources();
  return QIcon(QStringLiteral(":/orvex/orvex.png"));
}

}  // namespace orvex

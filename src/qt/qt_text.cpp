// Conversions between the core's 8-bit texts and Qt strings.
#include "qt/qt_text.h"

#include <QStringDecoder>

namespace orvex {

QString toQt(const std::string& text) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString decoded = utf8.decode(QByteArrayView(text.data(), qsizetype(text.size())));
  if (!utf8.hasError()) return decoded;
  return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

std::string fromQt(const QString& text) {
  return text.toStdString();
}

QString captionLines(const std::string& text) {
  QString s = toQt(text);
  s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return s;
}

QString plainCaption(const std::string& text) {
  return toQt(text).replace(QLatin1Char('&'), QLatin1String("&&"));
}

}  // namespace orvex

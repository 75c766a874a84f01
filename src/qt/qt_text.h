// Conversions between the core's 8-bit texts and Qt strings.
#pragma once

#include <QString>
#include <string>

namespace orvex {

// UTF-8 where the bytes are valid UTF-8 (host paths), else Latin-1 (old configuration files).
QString toQt(const std::string& text);
std::string fromQt(const QString& text);
// A label caption: carriage returns separate its lines.
QString captionLines(const std::string& text);
// A caption for buttons, option buttons and frames: "&" is shown, not taken as a mnemonic.
QString plainCaption(const std::string& text);

}  // namespace orvex

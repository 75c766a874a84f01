// Texts in the encodings real configuration files come in, for tests that write such files.
#pragma once

#include <string>

namespace orvex::test {

enum class Encoding { EightBit, Utf8, Utf8Mark, Utf16Le, Utf16Be };

// Latin-1 text in an encoding, with the byte-order mark that begins a file when asked: each byte
// is one character.
inline std::string encoded(const std::string& latin1, Encoding encoding, bool mark = false) {
  std::string out;
  if (mark && encoding == Encoding::Utf8Mark) out = "\xEF\xBB\xBF";
  if (mark && encoding == Encoding::Utf16Le) out = "\xFF\xFE";
  if (mark && encoding == Encoding::Utf16Be) out = "\xFE\xFF";
  for (const char c : latin1) {
    const auto u = static_cast<unsigned char>(c);
    switch (encoding) {
      case Encoding::EightBit: out += c; break;
      case Encoding::Utf8:
      case Encoding::Utf8Mark:
        if (u < 0x80) {
          out += c;
        } else {
          out += char(0xC0 | (u >> 6));
          out += char(0x80 | (u & 0x3F));
        }
        break;
      case Encoding::Utf16Le: out += {c, '\0'}; break;
      case Encoding::Utf16Be: out += {'\0', c}; break;
    }
  }
  return out;
}

}  // namespace orvex::test

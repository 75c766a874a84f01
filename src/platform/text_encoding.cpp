// Telling, decoding and encoding the text of files written as 8-bit text, UTF-8 or UTF-16.
#include "platform/text_encoding.h"

#include <cstdint>

namespace orvex {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

uint8_t byteAt(std::string_view s, size_t k) {
  return static_cast<uint8_t>(s[k]);
}

void putUtf8(std::string& out, uint32_t code) {
  if (code < 0x80) {
    out += char(code);
  } else if (code < 0x800) {
    out += char(0xC0 | (code >> 6));
    out += char(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += char(0xE0 | (code >> 12));
    out += char(0x80 | ((code >> 6) & 0x3F));
    out += char(0x80 | (code & 0x3F));
  } else {
    out += char(0xF0 | (code >> 18));
    out += char(0x80 | ((code >> 12) & 0x3F));
    out += char(0x80 | ((code >> 6) & 0x3F));
    out += char(0x80 | (code & 0x3F));
  }
}

// Well-formed UTF-8: no overlong form, no surrogate, nothing above U+10FFFF.
bool validUtf8(std::string_view s) {
  for (size_t k = 0; k < s.size();) {
    const uint8_t lead = byteAt(s, k);
    size_t length = 0;
    uint32_t code = 0, least = 0;
    if (lead < 0x80) {
      ++k;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2, code = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3, code = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4, code = lead & 0x07, least = 0x10000;
    } else {
      return false;
    }
    if (k + length > s.size()) return false;
    for (size_t j = 1; j < length; ++j) {
      const uint8_t next = byteAt(s, k + j);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    k += length;
  }
  return true;
}

bool hasHighBytes(std::string_view s) {
  for (char c : s)
    if (static_cast<uint8_t>(c) >= 0x80) return true;
  return false;
}

std::string latin1ToUtf8(std::string_view s) {
  std::string out;
  for (char c : s) putUtf8(out, static_cast<uint8_t>(c));
  return out;
}

// Pairs of surrogates become one character; a lone one keeps its own three-byte form.
std::string fromUtf16(std::string_view bytes, bool bigEndian) {
  const auto unit = [&](size_t k) -> uint32_t {
    const uint32_t a = byteAt(bytes, k), b = byteAt(bytes, k + 1);
    return bigEndian ? (a << 8) | b : (b << 8) | a;
  };
  std::string out;
  out.reserve(bytes.size() / 2);
  for (size_t k = 0; k + 1 < bytes.size(); k += 2) {
    const uint32_t u = unit(k);
    if (u >= 0xD800 && u <= 0xDBFF && k + 3 < bytes.size()) {
      const uint32_t low = unit(k + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        putUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
        k += 2;
        continue;
      }
    }
    putUtf8(out, u);
  }
  return out;
}

std::string toUtf16(std::string_view text, bool bigEndian) {
  std::string out;
  out.reserve(text.size() * 2);
  const auto put = [&](uint32_t u) {
    const char high = char(u >> 8), low = char(u & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
  };
  for (size_t k = 0; k < text.size();) {
    const uint8_t lead = byteAt(text, k);
    const size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    bool whole = lead < 0x80 || (lead >= 0xC0 && lead <= 0xF4 && k + length <= text.size());
    uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t j = 1; whole && j < length; ++j) {
      whole = (byteAt(text, k + j) & 0xC0) == 0x80;
      code = (code << 6) | (byteAt(text, k + j) & 0x3F);
    }
    // Not UTF-8 at all (never so in decoded text): the byte as a Latin-1 character.
    if (!whole) {
      put(lead);
      ++k;
      continue;
    }
    if (code >= 0x10000) {
      put(0xD800 + ((code - 0x10000) >> 10));
      put(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      put(code);
    }
    k += length;
  }
  return out;
}

std::string firstLineEnd(std::string_view text) {
  const size_t at = text.find_first_of("\r\n");
  if (at == std::string_view::npos) return "\r\n";
  if (text[at] == '\n') return "\n";
  return at + 1 < text.size() && text[at + 1] == '\n' ? "\r\n" : "\r";
}

}  // namespace

bool DecodedText::endsWithLineEnd() const {
  return !text.empty() && (text.back() == '\r' || text.back() == '\n');
}

std::string DecodedText::encode(std::string_view decoded, bool withByteOrderMark) const {
  switch (encoding) {
    case TextEncoding::EightBit:
    case TextEncoding::Utf8: return std::string(decoded);
    case TextEncoding::Utf8Bom:
      return (withByteOrderMark ? std::string(kUtf8Mark) : std::string()) + std::string(decoded);
    case TextEncoding::Utf16Le:
      return (withByteOrderMark ? std::string(kUtf16LeMark) : std::string()) +
             toUtf16(decoded, false);
    case TextEncoding::Utf16Be:
      return (withByteOrderMark ? std::string(kUtf16BeMark) : std::string()) +
             toUtf16(decoded, true);
  }
  return std::string(decoded);
}

std::string DecodedText::fromProgram(std::string_view text) const {
  if (encoding == TextEncoding::EightBit || validUtf8(text)) return std::string(text);
  return latin1ToUtf8(text);
}

std::optional<DecodedText> decodeText(std::string_view bytes, std::string& why) {
  DecodedText d;
  if (bytes.starts_with(kUtf16LeMark) || bytes.starts_with(kUtf16BeMark)) {
    const bool bigEndian = bytes.starts_with(kUtf16BeMark);
    const std::string_view body = bytes.substr(2);
    if (body.size() % 2) {
      why = "it is marked as UTF-16 text but has an odd number of bytes";
      return std::nullopt;
    }
    d.encoding = bigEndian ? TextEncoding::Utf16Be : TextEncoding::Utf16Le;
    d.text = fromUtf16(body, bigEndian);
  } else if (bytes.find('\0') != std::string_view::npos) {
    why = "it holds NUL bytes without a UTF-16 byte-order mark, so it is no text";
    return std::nullopt;
  } else if (bytes.starts_with(kUtf8Mark)) {
    const std::string_view body = bytes.substr(kUtf8Mark.size());
    if (!validUtf8(body)) {
      why = "it is marked as UTF-8 text but is not valid UTF-8";
      return std::nullopt;
    }
    d.encoding = TextEncoding::Utf8Bom;
    d.text = body;
  } else {
    // Valid UTF-8 with more than ASCII in it is taken for UTF-8; anything else is 8-bit text.
    d.encoding =
        hasHighBytes(bytes) && validUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::EightBit;
    d.text = bytes;
  }
  d.lineEnd = firstLineEnd(d.text);
  return d;
}

std::string decodeAdded(std::string_view bytes) {
  if (bytes.size() >= 2 && bytes[0] != '\0' && bytes[1] == '\0') return fromUtf16(bytes, false);
  if (bytes.size() >= 2 && bytes[0] == '\0') return fromUtf16(bytes, true);
  return std::string(bytes);
}

}  // namespace orvex

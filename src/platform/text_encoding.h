// Text files in the encoding and with the line ends they were written in: told from their
// bytes, decoded for reading, and what is written back or added encoded the same way.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvex {

enum class TextEncoding { EightBit, Utf8, Utf8Bom, Utf16Le, Utf16Be };

// A text file's content and how it was written. The text is UTF-8 for the Unicode encodings
// (a lone UTF-16 surrogate kept in its three-byte form, so that nothing is lost) and the bytes
// themselves for 8-bit text; its line ends are those of the file.
struct DecodedText {
  std::string text;
  TextEncoding encoding = TextEncoding::EightBit;
  std::string lineEnd = "\r\n";  // the file's first line end; CR LF for a file without one

  bool endsWithLineEnd() const;
  // Decoded text as bytes of the file: encode(text, true) gives the file back as it was read.
  std::string encode(std::string_view decoded, bool withByteOrderMark) const;
  // A text of the program's own (UTF-8, or 8-bit where it is not valid UTF-8, as a text box
  // shows it) in the decoded form of this file: 8-bit files take it as it is.
  std::string fromProgram(std::string_view text) const;
};

// A file's bytes decoded: 8-bit text, UTF-8 with or without a byte-order mark, UTF-16 little-
// or big-endian with one. Nothing, with why, for bytes that are none of these.
std::optional<DecodedText> decodeText(std::string_view bytes, std::string& why);

// Lines the program added to a file, as they were written there (without a byte-order mark),
// decoded: they begin with an ASCII character, so a NUL as their first or second byte tells
// UTF-16 big- or little-endian; anything else is taken as it is.
std::string decodeAdded(std::string_view bytes);

}  // namespace orvex

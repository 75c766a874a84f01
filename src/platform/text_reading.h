// Reading 8-bit configuration text by items (comma and line-end separated, quotes honoured)
// and by whole lines, and writing the quoted values of the settings file.
#pragma once

#include <string>
#include <string_view>

namespace orvex {

// Items are separated by commas and line ends; blanks before an item are skipped; a quoted
// item runs to the next double quote and anything up to the next separator after it is
// skipped; an unquoted item loses its trailing blanks; an empty line yields an empty item.
class ItemReader {
 public:
  explicit ItemReader(std::string_view data) : data_(data) {}
  bool eof() const { return pos_ >= data_.size(); }
  // The next item; reading past the end throws FileError 62.
  std::string next();

 private:
  void skipSeparator();
  std::string_view data_;
  size_t pos_ = 0;
};

// Whole lines ended by CR LF, CR or LF; the line end is not part of the line.
class LineReader {
 public:
  explicit LineReader(std::string_view data) : data_(data) {}
  bool eof() const { return pos_ >= data_.size(); }
  std::string next();

 private:
  std::string_view data_;
  size_t pos_ = 0;
};

// "text" with its double quotes, as the settings file writes strings.
std::string quoted(const std::string& text);

// The number at the start of a text as a numeric conversion reads it: blanks skipped, an
// optional sign, digits and one decimal point; no digits give 0.
double leadingNumber(std::string_view text);

}  // namespace orvex

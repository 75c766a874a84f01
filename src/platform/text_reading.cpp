// Item and line reading of 8-bit configuration text, and the quoted form of settings values.
#include "platform/text_reading.h"

#include <cstdlib>

#include "platform/errors.h"

namespace orvex {
namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}
bool isLineEnd(char c) {
  return c == '\r' || c == '\n';
}

}  // namespace

void ItemReader::skipSeparator() {
  if (pos_ >= data_.size()) return;
  if (data_[pos_] == ',') {
    ++pos_;
  } else if (data_[pos_] == '\r') {
    ++pos_;
    if (pos_ < data_.size() && data_[pos_] == '\n') ++pos_;
  } else if (data_[pos_] == '\n') {
    ++pos_;
  }
}

std::string ItemReader::next() {
  if (eof()) throw FileError(err::InputPastEnd);
  while (pos_ < data_.size() && isBlank(data_[pos_])) ++pos_;
  std::string item;
  if (pos_ < data_.size() && data_[pos_] == '"') {
    size_t close = data_.find('"', pos_ + 1);
    if (close == std::string_view::npos) close = data_.size();
    item.assign(data_.substr(pos_ + 1, close - pos_ - 1));
    pos_ = close < data_.size() ? close + 1 : close;
    // Whatever follows the closing quote up to the next separator is not part of the item.
    while (pos_ < data_.size() && data_[pos_] != ',' && !isLineEnd(data_[pos_])) ++pos_;
  } else {
    size_t end = pos_;
    while (end < data_.size() && data_[end] != ',' && !isLineEnd(data_[end])) ++end;
    size_t last = end;
    while (last > pos_ && isBlank(data_[last - 1])) --last;
    item.assign(data_.substr(pos_, last - pos_));
    pos_ = end;
  }
  skipSeparator();
  return item;
}

std::string LineReader::next() {
  if (eof()) throw FileError(err::InputPastEnd);
  size_t end = pos_;
  while (end < data_.size() && !isLineEnd(data_[end])) ++end;
  std::string line(data_.substr(pos_, end - pos_));
  pos_ = end;
  if (pos_ < data_.size() && data_[pos_] == '\r') {
    ++pos_;
    if (pos_ < data_.size() && data_[pos_] == '\n') ++pos_;
  } else if (pos_ < data_.size()) {
    ++pos_;  // a lone LF
  }
  return line;
}

std::string quoted(const std::string& text) {
  return "\"" + text + "\"";
}

double leadingNumber(std::string_view text) {
  size_t p = 0;
  while (p < text.size() && isBlank(text[p])) ++p;
  std::string number;
  if (p < text.size() && (text[p] == '+' || text[p] == '-')) number += text[p++];
  bool point = false, digits = false;
  while (p < text.size()) {
    char c = text[p];
    if (c >= '0' && c <= '9') {
      digits = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
    number += c;
    ++p;
  }
  if (!digits) return 0.0;
  return std::strtod(number.c_str(), nullptr);
}

}  // namespace orvex

// Several texts kept as one: each as its length in decimal, a colon and its bytes, so that any
// byte may stand in a text (the records' descriptions of edits, the Hangar as last read).
#pragma once

#include <charconv>
#include <optional>
#include <string>
#include <string_view>

namespace orvex {

inline void putField(std::string& out, std::string_view field) {
  out += std::to_string(field.size());
  out += ':';
  out += field;
}

class FieldReader {
 public:
  explicit FieldReader(std::string_view text) : text_(text) {}
  bool done() const { return at_ == text_.size(); }
  // The next text; nothing, with the reader at its end, where the text is not of this form.
  std::optional<std::string_view> next() {
    size_t length = 0;
    const char* begin = text_.data() + at_;
    const char* end = text_.data() + text_.size();
    const auto [stop, ec] = std::from_chars(begin, end, length);
    if (ec != std::errc() || stop == end || *stop != ':' || size_t(end - stop) - 1 < length) {
      at_ = text_.size();
      return std::nullopt;
    }
    at_ += size_t(stop - begin) + 1;
    const std::string_view field = text_.substr(at_, length);
    at_ += length;
    return field;
  }
  // The next text as a number; nothing where it is none.
  std::optional<long long> number() {
    const std::optional<std::string_view> f = next();
    long long n = 0;
    if (!f || std::from_chars(f->data(), f->data() + f->size(), n).ec != std::errc())
      return std::nullopt;
    return n;
  }

 private:
  std::string_view text_;
  size_t at_ = 0;
};

}  // namespace orvex

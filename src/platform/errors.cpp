// Error numbers, descriptions and the signed error text.
#include "platform/errors.h"

namespace orvex {

std::string errorDescription(int number) {
  switch (number) {
    case err::Overflow: return "Overflow";
    case err::TypeMismatch: return "Type mismatch";
    case err::FileNotFound: return "File not found";
    case err::DeviceIo: return "Device I/O error";
    case err::DiskFull: return "Disk full";
    case err::InputPastEnd: return "Input past end of file";
    case err::BadFileName: return "Bad file name";
    case err::DeviceUnavailable: return "Device unavailable";
    case err::PathFileAccess: return "Path/File access error";
    case err::PathNotFound: return "Path not found";
    default: return "Application-defined or object-defined error";
  }
}

FileError::FileError(int number, std::string description)
    : std::runtime_error(description), number_(number), description_(std::move(description)) {}

FileError::FileError(int number) : FileError(number, errorDescription(number)) {}

FileError FileError::naming(const std::string& path) const {
  FileError named = *this;
  if (named.path_.empty()) named.path_ = path;
  return named;
}

std::string signedNumber(long number) {
  std::string text = std::to_string(number);
  if (number >= 0) text.insert(text.begin(), ' ');
  return text;
}

std::string errorText(const std::string& prefix, const FileError& e) {
  return prefix + signedNumber(e.number()) + " " + e.description();
}

std::string errorMessage(const std::string& prefix, const FileError& e) {
  const int n = e.number();
  const bool aboutAPath = n == err::FileNotFound || n == err::PathFileAccess ||
                          n == err::PathNotFound || n == err::DiskFull;
  return errorText(prefix, e) + (aboutAPath && !e.path().empty() ? "\r" + e.path() : "");
}

}  // namespace orvex

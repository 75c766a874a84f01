// The one error type of file operations, its numbers, and the error text shown in messages.
#pragma once

#include <stdexcept>
#include <string>

namespace orvex {

// Error numbers of file operations. 53, 75 and 76 are the ones the procedures test;
// the others are stable numbers of our own for the remaining failures.
namespace err {
inline constexpr int Overflow = 6;
inline constexpr int TypeMismatch = 13;
inline constexpr int FileNotFound = 53;
inline constexpr int DeviceIo = 57;
inline constexpr int DiskFull = 61;
inline constexpr int InputPastEnd = 62;
inline constexpr int BadFileName = 64;
inline constexpr int DeviceUnavailable = 68;
inline constexpr int PathFileAccess = 75;
inline constexpr int PathNotFound = 76;
}  // namespace err

// The standard description of an error number ("File not found" for 53 ...).
std::string errorDescription(int number);

class FileError : public std::runtime_error {
 public:
  FileError(int number, std::string description);
  explicit FileError(int number);

  int number() const { return number_; }
  const std::string& description() const { return description_; }
  // The DOS path the failure met, when the file system said; empty otherwise.
  const std::string& path() const { return path_; }
  // The same failure, naming the path it met unless it names one already.
  FileError naming(const std::string& path) const;

 private:
  int number_;
  std::string description_;
  std::string path_;
};

// A failure that ends the operation in hand and carries the whole message the user is shown
// (none when the user has been told already); no procedure takes it for a failure of one of
// its own steps.
class StopFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A number in signed form: a blank in place of the sign for a non-negative number.
std::string signedNumber(long number);

// prefix + signed number + " " + description: errorText("Error", e) gives "Error 53 File not
// found".
std::string errorText(const std::string& prefix, const FileError& e);

// errorText for a message box: a path that was not found or could not be written (53, 75, 76,
// 61) is named on a line of its own after it, when the failure knows it.
std::string errorMessage(const std::string& prefix, const FileError& e);

}  // namespace orvex

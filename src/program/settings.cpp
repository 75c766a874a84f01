// Orvex.cfg: the seven persisted fields, read by items and written as seven CRLF lines.

#include "program/settings.h"

#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/text_reading.h"
#include "platform/toolkit.h"

namespace orvex {
namespace {

// The longest path a host names (PATH_MAX); a tag or a directory is far shorter.
constexpr size_t kLongestPath = 4096;

// The seventh field as a 16-bit integer; text that is no whole number is a type mismatch.
int16_t toInteger(const std::string& item) {
  size_t p = 0;
  while (p < item.size() && item[p] == ' ') ++p;
  size_t digits = p + ((p < item.size() && (item[p] == '-' || item[p] == '+')) ? 1 : 0);
  if (digits >= item.size()) throw FileError(err::TypeMismatch);
  for (size_t k = digits; k < item.size(); ++k)
    if (item[k] < '0' || item[k] > '9') throw FileError(err::TypeMismatch);
  double v = leadingNumber(item);
  if (v < -32768 || v > 32767) throw FileError(err::Overflow);
  return int16_t(v);
}

}  // namespace

void Settings::SaveFSInfo() {
  const ProgramState& s = state;
  std::string text;
  for (const std::string* field :
       {&s.FS98Path, &s.FS2000Path, &s.CFSPath, &s.CFS2Path, &s.ZipPath, &s.FlightSim})
    text += quoted(*field) + "\r\n";
  text += std::to_string(s.ZipWarning) + "\r\n";
  const std::string path = s.OrvexDir + "Orvex.cfg";
  if (settingsUnread_) {
    tk.msgBox("The settings were not saved: " + path + " could not be read at start-up and is " +
                  "kept as it was.",
              "Orvex Save Error", MsgIcon::Warning, MsgButtons::OK);
    return;
  }
  try {
    fs.replaceFile(path, text);
  } catch (const FileError& e) {
    tk.msgBox(errorMessage("Error", e) + "\r" + "The settings could not be saved to " + path + ".",
              "Orvex Save Error", MsgIcon::Warning, MsgButtons::OK);
  }
}

void Settings::GetFSInfo() {
  ProgramState& s = state;
  const std::string path = s.OrvexDir + "Orvex.cfg";
  std::string data;
  try {
    data = fs.readFile(path);
  } catch (const FileError& e) {
    // A missing file is the first run; one that is there and cannot be read is kept.
    settingsUnread_ = fs.isFile(path);
    tk.msgBox(errorMessage("Error ", e) +
                  (settingsUnread_
                       ? "\r" + path + " is kept as it is; settings changed now are not saved."
                       : ""),
              "Orvex Load Error", MsgIcon::Information, MsgButtons::OK);
    return;
  }
  try {
    ItemReader in(data);
    for (std::string* field :
         {&s.FS98Path, &s.FS2000Path, &s.CFSPath, &s.CFS2Path, &s.ZipPath, &s.FlightSim}) {
      *field = in.next();
      // Only a damaged file holds a value with a double quote in it (written back between
      // quotes, it would no longer read back as it was) or one longer than any path; such a
      // value counts as not set.
      if (field->find('"') != std::string::npos || field->size() > kLongestPath) field->clear();
    }
    s.ZipWarning = toInteger(in.next());
  } catch (const FileError& e) {
    tk.msgBox(errorMessage("Error ", e), "Orvex Load Error", MsgIcon::Information, MsgButtons::OK);
  }
}

}  // namespace orvex

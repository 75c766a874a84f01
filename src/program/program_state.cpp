// The placeholder tests of directory values.
#include "program/program_state.h"

#include "platform/dos_path.h"

namespace orvex {

bool isPlaceholder(const std::string& value) {
  return value.substr(0, 6) == "Select";
}

bool isPlaceholderNoCase(const std::string& value) {
  return dos::lower(value.substr(0, 6)) == "select";
}

}  // namespace orvex

// The operating system's shell as the procedures use it: the program associated with a
// document type, starting a program without waiting, playing a sound without waiting.
#pragma once

#include <string>

namespace orvex {

class Shell {
 public:
  virtual ~Shell() = default;

  // Finds the program associated with the type of the given document (a host path).
  // Returns a code above 32 on success and fills program with the program to start.
  virtual int findExecutable(const std::string& document, std::string& program) = 0;
  // Starts a program with no document, without waiting. A code above 32 means it started.
  virtual int execute(const std::string& program) = 0;
  // Plays a sound file (a host path) without waiting; failures are ignored.
  virtual void playSound(const std::string& file) = 0;
};

}  // namespace orvex

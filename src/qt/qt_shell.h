// The Shell on a freedesktop system: default program for a document, start, sound.
#pragma once

#include <memory>
#include <string>

#include "platform/shell.h"

class QSoundEffect;

namespace orvex {

class QtShell : public Shell {
 public:
  QtShell();
  ~QtShell() override;

  // 33 and the desktop's default program for the document's type; 2 when the document is
  // missing or no program is associated with its type.
  int findExecutable(const std::string& document, std::string& program) override;
  // 33 when the program started, 2 when it could not be started.
  int execute(const std::string& program) override;
  void playSound(const std::string& file) override;

 private:
  std::unique_ptr<QSoundEffect> sound_;
};

}  // namespace orvex

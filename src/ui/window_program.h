// The program as the window toolkit's layer sees it, beyond the windows' models: running an
// event, whether the program is busy or has ended, the main window's terminate procedure, help,
// and pointing a directory list at a folder the user chose.
#pragma once

#include <functional>
#include <string>

#include "ui/windows.h"

namespace orvex {

class FileSystem;

class WindowProgram {
 public:
  virtual ~WindowProgram() = default;

  virtual frmOrvex2& mainWindow() = 0;
  // The file system the pictures and the file lists are read through.
  virtual FileSystem& files() = 0;
  // Runs one event that enters the program from outside.
  virtual void handle(const std::function<void()>& procedure) = 0;
  virtual bool ended() const = 0;
  virtual bool busy() const = 0;
  virtual void Form_Terminate() = 0;
  virtual void labHelp_Click() = 0;
  virtual void pointDirList(DirList& list, const std::string& path) = 0;
};

}  // namespace orvex

// Archives: the zip program bridge (starting the program associated with zip files, watching
// the assembly area until Refresh) and opening a downloaded archive directly, its files
// unpacked flat into the assembly area.
#pragma once

#include <string>

#include "program/context.h"
#include "program/window_helpers.h"

namespace orvex {

class ArchiveReader;

class Archives : Component {
 public:
  // reader: reads archives opened directly; without one they are refused with a message.
  Archives(Context& c, WindowHelpers& ui, ArchiveReader* const& reader)
      : Component(c), ui_(ui), reader_(reader) {}

  void cmdLoadWinZip_Click();
  void FindWinZip();
  void Timer1_Timer();

  // Chosen in a dialog, or dropped onto the window: then the Refresh button blinks.
  void cmdOpenArchive_Click();
  void openArchive(const std::string& hostPath);

 private:
  WindowHelpers& ui_;
  ArchiveReader* const& reader_;
};

}  // namespace orvex

// Archives: the zip program bridge (starting the program associated with zip files, watching
// the assembly area until Refresh) and opening archives directly, their trees unpacked into
// the assembly area with the archives inside them.
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
  // An archive lying in the assembly area (dosPath), opened where it lies: its tree unpacked
  // into its folder, the archives inside it too, and then the file removed; the same report.
  // True when its files were placed and nothing failed.
  bool openInPlace(const std::string& dosPath);

 private:
  // Refused with a beep without a simulator, with a message without a reader.
  bool mayOpen();

  WindowHelpers& ui_;
  ArchiveReader* const& reader_;
};

}  // namespace orvex

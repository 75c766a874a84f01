// The settings file Orvex.cfg: the seven fields of the program state that outlive a run.
#pragma once

#include "program/context.h"

namespace orvex {

class Settings : Component {
 public:
  explicit Settings(Context& c) : Component(c) {}

  void GetFSInfo();
  void SaveFSInfo();

 private:
  // Orvex.cfg was there at start-up but could not be read: it is not written over, so that a
  // read that failed once does not cost the user every setting.
  bool settingsUnread_ = false;
};

}  // namespace orvex

// Every event of the three windows and the procedure it runs, in one place. While an install
// runs, the events that would change what it relies on are refused with a beep.
#include "app/orvex.h"
#include "platform/toolkit.h"

namespace orvex {

void Orvex::wireEvents() {
  // Runs a procedure unless an install is in progress.
  auto guarded = [this](void (Orvex::*procedure)()) {
    return [this, procedure] {
      if (busy()) {
        tk.beep();
        return;
      }
      (this->*procedure)();
    };
  };
  auto plain = [this](void (Orvex::*procedure)()) {
    return [this, procedure] { (this->*procedure)(); };
  };

  frm.cmdQuit.onClick = guarded(&Orvex::cmdQuit_Click);
  frm.labHelp.onClick = plain(&Orvex::labHelp_Click);

  frm.optFS98.onClick = guarded(&Orvex::optFS98_Click);
  frm.optFS2000.onClick = guarded(&Orvex::optFS2000_Click);
  frm.optCFS.onClick = guarded(&Orvex::optCFS_Click);
  frm.optCFS2.onClick = guarded(&Orvex::optCFS2_Click);
  frm.labLocation.onDblClick = guarded(&Orvex::labLocation_DblClick);

  frm.cmdSetDirectories.onClick = guarded(&Orvex::cmdSetDirectories_Click);
  frm.Drive1.onChange = plain(&Orvex::Drive1_Change);
  frm.Dir1.onChange = plain(&Orvex::Dir1_Change);
  frm.cmdSelect.onClick = guarded(&Orvex::cmdSelect_Click);
  frm.cmdCancel.onClick = guarded(&Orvex::cmdCancel_Click);

  frm.cmdLoadWinZip.onClick = guarded(&Orvex::cmdLoadWinZip_Click);
  frm.Timer1.onTimer = plain(&Orvex::Timer1_Timer);
  frm.cmdCancelLoad.onClick = guarded(&Orvex::cmdCancelLoad_Click);

  frm.txtSceneryName.onChange = plain(&Orvex::txtSceneryName_Change);

  warn.chkNotAgain.onClick = plain(&Orvex::chkNotAgain_Click);
  warn.cmdOK.onClick = plain(&Orvex::cmdOK_Click);
}

}  // namespace orvex

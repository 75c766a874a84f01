// Resetting the panel and sound installation frames when the simulator changes.
#include "platform/toolkit.h"
#include "sim/simulators.h"

namespace orvex {

void Simulators::ClearAll() {
  tk.beep();
  for (Label* l : {&frm.labSceneryDir, &frm.labDisplayPath, &frm.labSoundPath}) l->setCaption("");
  setVisible({&frm.frmSound, &frm.frmPanelInstall}, false);
  setVisible({&frm.labPanelName, &frm.txtPanelName, &frm.labSceneryDir, &frm.labDisplayPath,
              &frm.txtIDecide, &frm.labEnterName, &frm.txtSoundName, &frm.labDisplaySoundPath,
              &frm.labSoundPath},
             false);
  setVisible({&frm.Dir2, &frm.Drive2, &frm.Dir3, &frm.Drive3}, false);
  for (OptionButton* o : {&frm.optFSCONV, &frm.optMyChoice, &frm.optPanelLetMe, &frm.optSound,
                          &frm.optSoundDir, &frm.optSoundCustom})
    o->setValue(false);
}

}  // namespace orvex

// Every event of the three windows and the procedure it runs, in one place. Each goes through
// the last guard; while an install runs, the events that would change what it relies on are
// refused with a beep.
#include "app/orvex.h"
#include "platform/file_system.h"
#include "platform/toolkit.h"

namespace orvex {

void Orvex::handle(const std::function<void()>& procedure) {
  // Any other program may have changed any folder since the program last looked.
  if (events_.freshEvent()) fs.forgetRememberedNames();
  events_.run(procedure);
  // The aircraft's Preview stands beside its Install button, whenever that one is offered.
  frm.cmdPreview.setVisible(frm.cmdInstall.visible());
  frm.cmdPreview.setEnabled(frm.cmdInstall.enabled());
}

void Orvex::wireEvents() {
  events_.onUnexpected = [this](std::exception_ptr failure) {
    if (ended()) return;
    // The install it broke off has ended as after a failed step: its files stay where they
    // are, the frame stays for another try, and nothing claims to be copying any more.
    fs.closeAll();
    hideCopyWindow();
    frm.setMousePointer(MousePointer::Default);
    // A stop with nothing to say has told the user already.
    const std::string text = unexpectedFailureText(failure);
    if (!text.empty()) tk.msgBox(text, "System Error", MsgIcon::Warning, MsgButtons::OK);
  };

  // Runs a procedure unless an install is in progress.
  auto guarded = [this](void (Orvex::*procedure)()) {
    return [this, procedure] {
      handle([this, procedure] {
        if (busy()) {
          tk.beep();
          return;
        }
        (this->*procedure)();
      });
    };
  };
  auto plain = [this](void (Orvex::*procedure)()) {
    return [this, procedure] { handle([this, procedure] { (this->*procedure)(); }); };
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
  frm.cmdRefresh.onClick = guarded(&Orvex::cmdRefresh_Click);
  frm.cmdOpenArchive.onClick = guarded(&Orvex::cmdOpenArchive_Click);
  frm.onArchiveDrop = [this](const std::string& hostPath) {
    handle([this, hostPath] {
      if (busy()) {
        tk.beep();
        return;
      }
      openArchive(hostPath);
    });
  };
  frm.cmdInstall.onClick = guarded(&Orvex::cmdInstall_Click);
  frm.SSTab1.onClick = plain(&Orvex::SSTab1_Click);

  frm.Image2.onClick = plain(&Orvex::Image2_Click);
  frm.Image3.onClick = plain(&Orvex::Image3_Click);

  frm.txtSceneryName.onChange = plain(&Orvex::txtSceneryName_Change);

  frm.optFSCONV.onClick = guarded(&Orvex::optFSCONV_Click);
  frm.optMyChoice.onClick = guarded(&Orvex::optMyChoice_Click);
  frm.optPanelLetMe.onClick = guarded(&Orvex::optPanelLetMe_Click);
  frm.txtPanelName.onChange = plain(&Orvex::txtPanelName_Change);
  frm.Drive2.onChange = plain(&Orvex::Drive2_Change);
  frm.Dir2.onChange = plain(&Orvex::Dir2_Change);
  frm.cmdPanelInstall.onClick = guarded(&Orvex::cmdPanelInstall_Click);
  frm.cmdPanelCancel.onClick = guarded(&Orvex::cmdPanelCancel_Click);
  frm.optSceneryDefault.onClick = guarded(&Orvex::optSceneryDefault_Click);
  frm.optSceneryOptional.onClick = guarded(&Orvex::optSceneryOptional_Click);
  frm.drvScenery.onChange = plain(&Orvex::drvScenery_Change);
  frm.dirScenery.onChange = plain(&Orvex::dirScenery_Change);
  frm.Command1.onClick = guarded(&Orvex::Command1_Click);
  frm.Command2.onClick = guarded(&Orvex::Command2_Click);

  frm.optSound.onClick = guarded(&Orvex::optSound_Click);
  frm.optSoundDir.onClick = guarded(&Orvex::optSoundDir_Click);
  frm.optSoundCustom.onClick = guarded(&Orvex::optSoundCustom_Click);
  frm.Drive3.onChange = plain(&Orvex::Drive3_Change);
  frm.Dir3.onChange = plain(&Orvex::Dir3_Change);
  frm.Command3.onClick = guarded(&Orvex::Command3_Click);
  frm.cmdInstallSound.onClick = guarded(&Orvex::cmdInstallSound_Click);

  frm.cmdPreview.onClick = guarded(&Orvex::cmdPreview_Click);
  frm.cmdPanelPreview.onClick = guarded(&Orvex::cmdPanelPreview_Click);
  frm.cmdSoundPreview.onClick = guarded(&Orvex::cmdSoundPreview_Click);
  frm.cmdSceneryPreview.onClick = guarded(&Orvex::cmdSceneryPreview_Click);
  preview.cmdPreviewInstall.onClick = plain(&Orvex::cmdPreviewInstall_Click);
  preview.cmdPreviewClose.onClick = plain(&Orvex::cmdPreviewClose_Click);

  frm.lvwInstalled.onChange = plain(&Orvex::lvwInstalled_Change);
  frm.cmdUninstall.onClick = guarded(&Orvex::cmdUninstall_Click);
  frm.cmdForget.onClick = guarded(&Orvex::cmdForget_Click);
  frm.tmrDigest.onTimer = plain(&Orvex::tmrDigest_Timer);

  warn.chkNotAgain.onClick = plain(&Orvex::chkNotAgain_Click);
  warn.cmdOK.onClick = plain(&Orvex::cmdOK_Click);

  // A refused option click must not leave the new option showing as selected.
  for (OptionGroup* group :
       {&frm.simulationGroup, &frm.panelGroup, &frm.sceneryGroup, &frm.soundGroup}) {
    for (OptionButton* option : group->members()) {
      option->onClick = [this, option, procedure = option->onClick] {
        if (busy()) {
          tk.beep();
          option->group().restorePrevious();
          return;
        }
        if (procedure) procedure();
      };
    }
  }
}

}  // namespace orvex

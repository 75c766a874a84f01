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

template <class C>
std::function<void()> Orvex::guarded(C& component, void (C::*procedure)()) {
  return [this, &component, procedure] {
    handle([this, &component, procedure] {
      if (busy()) {
        tk.beep();
        return;
      }
      (component.*procedure)();
    });
  };
}

template <class C>
std::function<void()> Orvex::plain(C& component, void (C::*procedure)()) {
  return [this, &component, procedure] {
    handle([&component, procedure] { (component.*procedure)(); });
  };
}

void Orvex::wireEvents() {
  events_.onUnexpected = [this](std::exception_ptr failure) {
    if (ended()) return;
    // The install it broke off has ended as after a failed step: its files stay where they
    // are, the frame stays for another try, and nothing claims to be copying any more.
    fs.closeAll();
    copying.hideCopyWindow();
    frm.setMousePointer(MousePointer::Default);
    // A stop with nothing to say has told the user already.
    const std::string text = unexpectedFailureText(failure);
    if (!text.empty()) tk.msgBox(text, "System Error", MsgIcon::Warning, MsgButtons::OK);
  };

  frm.cmdQuit.onClick = guarded(*this, &Orvex::cmdQuit_Click);
  frm.labHelp.onClick = plain(ui, &WindowHelpers::labHelp_Click);

  frm.optFS98.onClick = guarded(sims, &Simulators::optFS98_Click);
  frm.optFS2000.onClick = guarded(sims, &Simulators::optFS2000_Click);
  frm.optCFS.onClick = guarded(sims, &Simulators::optCFS_Click);
  frm.optCFS2.onClick = guarded(sims, &Simulators::optCFS2_Click);
  frm.labLocation.onDblClick = guarded(sims, &Simulators::labLocation_DblClick);

  frm.cmdSetDirectories.onClick = guarded(sims, &Simulators::cmdSetDirectories_Click);
  frm.Drive1.onChange = plain(sims, &Simulators::Drive1_Change);
  frm.Dir1.onChange = plain(sims, &Simulators::Dir1_Change);
  frm.cmdSelect.onClick = guarded(sims, &Simulators::cmdSelect_Click);
  frm.cmdCancel.onClick = guarded(sims, &Simulators::cmdCancel_Click);

  frm.cmdLoadWinZip.onClick = guarded(archive, &Archives::cmdLoadWinZip_Click);
  frm.Timer1.onTimer = plain(archive, &Archives::Timer1_Timer);
  frm.cmdCancelLoad.onClick = guarded(assembly, &AssemblyArea::cmdCancelLoad_Click);
  frm.cmdRefresh.onClick = [this] {
    handle([this] {
      if (busy()) {
        tk.beep();
        return;
      }
      assembly.cmdRefresh_Click();
      // A repaint found is offered for the simulator's aircraft.
      if (!ended()) livery.showRepaint();
    });
  };
  frm.cmdOpenArchive.onClick = guarded(archive, &Archives::cmdOpenArchive_Click);
  frm.onArchiveDrop = [this](const std::string& hostPath) {
    handle([this, hostPath] {
      if (busy()) {
        tk.beep();
        return;
      }
      archive.openArchive(hostPath);
    });
  };
  frm.cmdInstall.onClick = guarded(aircraft, &AircraftInstall::cmdInstall_Click);
  frm.lvwLiveryTarget.onChange = plain(livery, &LiveryInstall::lvwLiveryTarget_Change);
  frm.cmdInstallLivery.onClick = guarded(livery, &LiveryInstall::cmdInstallLivery_Click);
  // Each of the three tabs that read what the simulator holds reads it when it is shown.
  frm.SSTab1.onClick = [installedTab = plain(installed, &InstalledTab::SSTab1_Click),
                        hangarTab = plain(hangar, &HangarTab::SSTab1_Click),
                        libraryTab = plain(library, &SceneryLibrary::SSTab1_Click)] {
    installedTab();
    hangarTab();
    libraryTab();
  };
  frm.lvwHangar.onChange = plain(hangar, &HangarTab::lvwHangar_Change);
  frm.lvwLiveries.onChange = plain(hangar, &HangarTab::lvwLiveries_Change);
  frm.cmdRemoveLivery.onClick = guarded(livery, &LiveryInstall::cmdRemoveLivery_Click);
  // What the aircraft of the simulator make of a gauge an install replaces or an uninstall
  // takes away, for the preview and the uninstall's question.
  installed.gaugeUsage = previews.gaugeUsage = [this](const std::string& simulator,
                                                      const std::vector<std::string>& paths,
                                                      const std::vector<std::string>& own) {
    return hangar.gaugeUsage(simulator, paths, own);
  };

  frm.Image2.onClick = plain(assembly, &AssemblyArea::Image2_Click);
  frm.lvwAircraft.onCheck = plain(assembly, &AssemblyArea::lvwAircraft_Check);
  frm.Image3.onClick = plain(assembly, &AssemblyArea::Image3_Click);

  frm.txtSceneryName.onChange = plain(scenery, &SceneryInstall::txtSceneryName_Change);

  frm.optFSCONV.onClick = guarded(panel, &PanelInstall::optFSCONV_Click);
  frm.optMyChoice.onClick = guarded(panel, &PanelInstall::optMyChoice_Click);
  frm.optPanelLetMe.onClick = guarded(panel, &PanelInstall::optPanelLetMe_Click);
  frm.txtPanelName.onChange = plain(panel, &PanelInstall::txtPanelName_Change);
  frm.Drive2.onChange = plain(panel, &PanelInstall::Drive2_Change);
  frm.Dir2.onChange = plain(panel, &PanelInstall::Dir2_Change);
  frm.cmdPanelInstall.onClick = guarded(panel, &PanelInstall::cmdPanelInstall_Click);
  frm.cmdPanelCancel.onClick = guarded(panel, &PanelInstall::cmdPanelCancel_Click);
  frm.optSceneryDefault.onClick = guarded(scenery, &SceneryInstall::optSceneryDefault_Click);
  frm.optSceneryOptional.onClick = guarded(scenery, &SceneryInstall::optSceneryOptional_Click);
  frm.drvScenery.onChange = plain(scenery, &SceneryInstall::drvScenery_Change);
  frm.dirScenery.onChange = plain(scenery, &SceneryInstall::dirScenery_Change);
  frm.Command1.onClick = guarded(scenery, &SceneryInstall::Command1_Click);
  frm.Command2.onClick = guarded(scenery, &SceneryInstall::Command2_Click);

  frm.optSound.onClick = guarded(sound, &SoundInstall::optSound_Click);
  frm.optSoundDir.onClick = guarded(sound, &SoundInstall::optSoundDir_Click);
  frm.optSoundCustom.onClick = guarded(sound, &SoundInstall::optSoundCustom_Click);
  frm.Drive3.onChange = plain(sound, &SoundInstall::Drive3_Change);
  frm.Dir3.onChange = plain(sound, &SoundInstall::Dir3_Change);
  frm.Command3.onClick = guarded(sound, &SoundInstall::Command3_Click);
  frm.cmdInstallSound.onClick = guarded(sound, &SoundInstall::cmdInstallSound_Click);

  frm.cmdPreview.onClick = guarded(previews, &InstallPreview::cmdPreview_Click);
  frm.cmdPanelPreview.onClick = guarded(previews, &InstallPreview::cmdPanelPreview_Click);
  frm.cmdSoundPreview.onClick = guarded(previews, &InstallPreview::cmdSoundPreview_Click);
  frm.cmdSceneryPreview.onClick = guarded(previews, &InstallPreview::cmdSceneryPreview_Click);
  preview.cmdPreviewInstall.onClick = plain(previews, &InstallPreview::cmdPreviewInstall_Click);
  preview.cmdPreviewClose.onClick = plain(previews, &InstallPreview::cmdPreviewClose_Click);

  frm.lvwInstalled.onChange = plain(installed, &InstalledTab::lvwInstalled_Change);
  frm.cmdUninstall.onClick = guarded(installed, &InstalledTab::cmdUninstall_Click);
  frm.cmdForget.onClick = guarded(installed, &InstalledTab::cmdForget_Click);
  frm.tmrDigest.onTimer = plain(installed, &InstalledTab::tmrDigest_Timer);

  warn.chkNotAgain.onClick = plain(ui, &WindowHelpers::chkNotAgain_Click);
  warn.cmdOK.onClick = plain(ui, &WindowHelpers::cmdOK_Click);

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

  // Tab 6 "Scenery Library": a change of the list waits while an install runs.
  frm.lvwLibrary.onChange = plain(library, &SceneryLibrary::lvwLibrary_Change);
  frm.cmdLibraryEnable.onClick = guarded(library, &SceneryLibrary::cmdLibraryEnable_Click);
  frm.cmdLibraryDisable.onClick = guarded(library, &SceneryLibrary::cmdLibraryDisable_Click);
  frm.cmdLibraryUp.onClick = guarded(library, &SceneryLibrary::cmdLibraryUp_Click);
  frm.cmdLibraryDown.onClick = guarded(library, &SceneryLibrary::cmdLibraryDown_Click);
  frm.cmdLibraryRemove.onClick = guarded(library, &SceneryLibrary::cmdLibraryRemove_Click);
  frm.cmdLibraryAddFolder.onClick = guarded(library, &SceneryLibrary::cmdLibraryAddFolder_Click);
  frm.drvLibrary.onChange = plain(library, &SceneryLibrary::drvLibrary_Change);
  frm.dirLibrary.onChange = plain(library, &SceneryLibrary::dirLibrary_Change);
  frm.cmdLibraryFolderAdd.onClick = guarded(library, &SceneryLibrary::cmdLibraryFolderAdd_Click);
  frm.cmdLibraryFolderCancel.onClick =
      guarded(library, &SceneryLibrary::cmdLibraryFolderCancel_Click);
}

}  // namespace orvex

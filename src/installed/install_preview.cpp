// The Preview buttons: the install run on a second program that is never shown, over an
// overlay of the disk, and what it did shown file by file before anything is installed.
#include "installed/install_preview.h"

#include "installed/preview.h"
#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/file_tree.h"
#include "platform/toolkit.h"
#include "record/recording_file_system.h"

namespace orvex {

void InstallPreview::showPreview(Button frmOrvex2::*install) {
  FileSystem& disk = ctx.recording.inner();
  OverlayFileSystem overlay(disk);
  PreviewToolkit toolkit;
  PreviewShell shell;
  std::vector<std::string> files;
  try {
    // Links in the assembly area are not the add-on's: the install passes them over. Every
    // file of its tree is shown: each aircraft of a pack, each livery's folder.
    std::vector<std::string> links;
    files = filesBelow(disk, state.OrvexAssemblyDir, links);
  } catch (const FileError&) {
    // No assembly area: the install says what it finds.
  }
  // A second program with this one's state and window, on the overlay: the live window does
  // not move, beep or speak, and nothing on disk changes.
  second_(overlay, toolkit, shell, install);
  const Preview p = readPreview(overlay, toolkit, disk, state.OrvexAssemblyDir, files, state.FSim,
                                installed_.records());

  // A gauge replaced in the simulator's Gauges folder serves other aircraft too: which, the
  // aircraft the install writes into aside.
  std::string summary = previewSummary(p);
  if (gaugeUsage && p.installs) {
    std::vector<std::string> replaced, own;
    const std::string aircraft = dos::lower(state.FSim) + "\\aircraft\\";
    for (const PreviewRow& r : p.rows) {
      if (r.replaces) replaced.push_back(r.target);
      const std::string lower = dos::lower(r.target);
      if (dos::startsWith(lower, aircraft)) {
        const std::string rest = r.target.substr(aircraft.size());
        own.push_back(rest.substr(0, rest.find('\\')));
      }
    }
    for (const std::string& sentence : gaugeUsage(state.FSim, replaced, own))
      summary += "\r" + sentence;
  }
  preview.labPreviewSummary.setCaption(summary);
  std::vector<std::vector<std::string>> rows;
  for (const PreviewRow& r : p.rows)
    rows.push_back({r.name, sizeText(r.size), r.target, r.meaning});
  preview.lvwPreview.setRows(std::move(rows));
  preview.lvwPreview.setVisible(p.installs);
  preview.cmdPreviewInstall.setEnabled(p.installs);
  installAfterPreview_ = false;
  ui_.CenterForm(preview);
  tk.runModal(preview);
  if (installAfterPreview_) (frm.*install).click();
}

void InstallPreview::cmdPreview_Click() {
  showPreview(&frmOrvex2::cmdInstall);
}

void InstallPreview::cmdPanelPreview_Click() {
  showPreview(&frmOrvex2::cmdPanelInstall);
}

void InstallPreview::cmdSoundPreview_Click() {
  showPreview(&frmOrvex2::cmdInstallSound);
}

void InstallPreview::cmdSceneryPreview_Click() {
  showPreview(&frmOrvex2::Command1);
}

void InstallPreview::cmdPreviewInstall_Click() {
  installAfterPreview_ = true;
  preview.hide();
}

void InstallPreview::cmdPreviewClose_Click() {
  preview.hide();
}

}  // namespace orvex

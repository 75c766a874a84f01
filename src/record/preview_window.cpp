// The Preview buttons: the install run on a second program that is never shown, over an
// overlay of the disk, and what it did shown file by file before anything is installed.
#include "app/orvex.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/toolkit.h"
#include "record/preview.h"

namespace orvex {

void Orvex::showPreview(Button& install, const std::function<void(Orvex&)>& run) {
  FileSystem& disk = recording_.inner();
  OverlayFileSystem overlay(disk);
  PreviewToolkit toolkit;
  PreviewShell shell;
  std::vector<std::string> files;
  try {
    // Links in the assembly area are not the add-on's: the install passes them over.
    std::vector<std::string> links;
    files = disk.listFilesWithoutLinks(state.OrvexAssemblyDir, "*.*", links);
  } catch (const FileError&) {
    // No assembly area: the install says what it finds.
  }
  {
    // A second program with this one's state and window, on the overlay: the live window
    // does not move, beep or speak, and nothing on disk changes.
    Orvex second(overlay, toolkit, shell);
    second.state = state;
    second.frm.copyFrom(frm);
    second.anim.copyFrom(anim);
    second.warn.copyFrom(warn);
    second.handle([&] { run(second); });
  }
  const Preview p = readPreview(overlay, toolkit, disk, state.OrvexAssemblyDir, files, state.FSim,
                                records_.get());

  preview.labPreviewSummary.setCaption(previewSummary(p));
  std::vector<std::vector<std::string>> rows;
  for (const PreviewRow& r : p.rows)
    rows.push_back({r.name, sizeText(r.size), r.target, r.meaning});
  preview.lvwPreview.setRows(std::move(rows));
  preview.lvwPreview.setVisible(p.installs);
  preview.cmdPreviewInstall.setEnabled(p.installs);
  installAfterPreview_ = false;
  CenterForm(preview);
  tk.runModal(preview);
  if (installAfterPreview_) install.click();
}

void Orvex::cmdPreview_Click() {
  showPreview(frm.cmdInstall, [](Orvex& o) { o.cmdInstall_Click(); });
}

void Orvex::cmdPanelPreview_Click() {
  showPreview(frm.cmdPanelInstall, [](Orvex& o) { o.cmdPanelInstall_Click(); });
}

void Orvex::cmdSoundPreview_Click() {
  showPreview(frm.cmdInstallSound, [](Orvex& o) { o.cmdInstallSound_Click(); });
}

void Orvex::cmdSceneryPreview_Click() {
  showPreview(frm.Command1, [](Orvex& o) { o.Command1_Click(); });
}

void Orvex::cmdPreviewInstall_Click() {
  installAfterPreview_ = true;
  preview.hide();
}

void Orvex::cmdPreviewClose_Click() {
  preview.hide();
}

}  // namespace orvex

// The sound install: a sound set's wav and cfg files into the chosen sound folder, its
// documents into a Documentation folder beside them, then the assembly area emptied.
#include "install/sound/sound_install.h"

#include <cctype>

#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/toolkit.h"
#include "program/steps.h"

namespace orvex {
namespace {

// "X:\..." and nothing less: a relative name would land in whatever folder is current.
bool isFullPath(const std::string& path) {
  return path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
         (path[2] == '\\' || path[2] == '/');
}

}  // namespace

void SoundInstall::cmdInstallSound_Click() {
  BusyScope busy(ctx);
  ProgramState& s = state;
  if (isPlaceholderNoCase(s.FSim)) {
    tk.beep();
    return;
  }
  if (s.SoundData == 0) {
    tk.beep();
    tk.msgBox("No Sound Files Found!", "Sounds", MsgIcon::Warning, MsgButtons::OK);
    frm.SSTab1.setTab(0);
    return;
  }
  // Right after a scan no target is chosen, and there is no folder to install to yet.
  if (!frm.optSound.value() && !frm.optSoundDir.value() && !frm.optSoundCustom.value()) {
    tk.beep();
    return;
  }
  frm.setMousePointer(MousePointer::Hourglass);
  // The sound set's folder in the assembly area: the area itself when it was extracted flat.
  const std::string source = assembly_.addOnFolder(AddOnKind::Sound);
  RecordScope record(installed_, copies_, "sound set", "");

  auto backToPathBox = [&] {
    frm.txtIDecide.setFocus();
    frm.txtIDecide.setSelStart(int(frm.txtIDecide.text().size()));
  };
  auto refuse = [&](const std::string& text, const std::string& caption, bool toPathBox) {
    tk.msgBox(text, caption, MsgIcon::Warning, MsgButtons::OK);
    frm.setMousePointer(MousePointer::Default);
    if (toPathBox) backToPathBox();
    record.end();
    throw StopFailure("");  // the user has been told
  };
  auto systemError = [&](const FileError& e) {
    frm.setMousePointer(MousePointer::Default);
    tk.msgBox(errorMessage("Error ", e), "System Error", MsgIcon::Warning, MsgButtons::OK);
    // Left on screen, the copy window would go on claiming to copy.
    copies_.hideCopyWindow();
    return Resume::stop();
  };
  auto onError = [&](const FileError& e) {
    if (e.number() != err::PathFileAccess) return systemError(e);
    frm.setMousePointer(MousePointer::Default);
    if (tk.msgBox("This Sound File Exists!\rOverwrite?", "Sound Exists", MsgIcon::Information,
                  MsgButtons::YesNo) == MsgAnswer::Yes)
      return Resume::next();
    copies_.hideCopyWindow();
    if (frm.optSoundCustom.value()) backToPathBox();
    return Resume::stop();
  };
  auto onPassError = [&](const FileError& e, PassStep step) {
    if (step == PassStep::Replace) return systemError(e);
    const Resume r = onError(e);
    // The user agreed to overwrite: a read-only sound in the way is replaced, not left in
    // place while its new version goes with the assembly area.
    return step == PassStep::Copy && r.kind == Resume::Kind::Next ? Resume::replace() : r;
  };
  auto pass = [&](const CopyPass& p) {
    if (copies_.runCopyPass(p, onPassError)) return;
    record.end();
    throw StopFailure("");  // the user has been told
  };

  std::string S;
  const std::vector<Step> steps = {
      {"target",
       [&] {
         if (frm.optSound.value()) {
           S = s.FSim + "\\Sound";
         } else if (frm.optSoundDir.value()) {
           S = frm.Dir3.path();
           if (dos::lower(S).find("sound") == std::string::npos) {
             bool found = false;
             for (int k = 0; k < frm.Dir3.listCount() && !found; ++k) {
               frm.Dir3.setListIndex(k);
               found = dos::lower(frm.Dir3.list(k)).find("sound") != std::string::npos;
             }
             if (!found) refuse("We're not in a Sound Directory!", "Sound Error", false);
             // Always "Sound": names resolve without regard to case, so this reaches the
             // aircraft's "sound" or "SOUND" folder as well.
             S += "\\Sound";
           }
         } else {
           S = frm.txtIDecide.text();
           if (S.empty()) refuse("Please Enter a Name for these Sound Files", "Sound Name", true);
           if (!isFullPath(S))
             refuse("Please Enter the Full Path of a Folder for these Sound Files" +
                        std::string("\r(for example ") + s.FSim + "\\Sound\\My Sounds)",
                    "Sound Name", true);
           const std::string parent = dos::parentOf(fs.fullPath(S));
           if (!fs.isDirectory(parent))
             refuse("The folder " + parent + " does not exist." +
                        "\rPlease Enter a Name for these Sound Files in a folder that exists.",
                    "Sound Name", true);
         }
         // Installed into the assembly area, the sounds would go with its clean-up.
         if (assembly_.insideAssemblyArea(S))
           refuse("Sound Files cannot be installed into the Assembly folder!\r" + S, "Sound Error",
                  frm.optSoundCustom.value());
         s.SoundDir = S;
         installed_.nameRecord(S);
       }},
      {"",
       [&] {
         if (frm.optSoundCustom.value()) fs.mkDir(S);
       }},
      {"", [&] { copies_.showCopyWindow(); }},
      {"",
       [&] {
         pass({"*.wav;*.cfg", S + "\\", "", "", false, source});
       }},
      {"",
       [&] {
         pass({"*.txt;*.doc;*.me", S + "\\Documentation\\", S + "\\Documentation", "", true,
               source});
       }},
  };
  const bool carriedOn = runSteps(steps, [&](const FileError& e, const Step& failed) {
    // Without a complete target there is nothing to go on with.
    return failed.label == "target" ? systemError(e) : onError(e);
  });
  if (!carriedOn) return;

  record.end();
  copies_.hideCopyWindow();
  tk.msgBox("Sound Files Installed Successfully!", "Success!", MsgIcon::Information,
            MsgButtons::OK);
  frm.SSTab1.setTab(0);
  assembly_.cleanUpAfter(AddOnKind::Sound);
  frm.frmSound.setVisible(false);
  frm.txtSoundName.setText("");
  setVisible({&frm.Dir3, &frm.Drive3, &frm.txtIDecide}, false);
  s.SoundData = 0;
  frm.SSTab1.setTab(0);
  frm.setMousePointer(MousePointer::Default);
}

}  // namespace orvex

// A livery taken out of its aircraft from the Hangar: its section of Aircraft.cfg, and its
// texture folder unless another livery uses it, recorded so that the Installed tab can put both
// back.
#include "hangar/livery_sections.h"
#include "install/livery/livery_install.h"
#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/file_tree.h"
#include "platform/text_encoding.h"
#include "platform/toolkit.h"

namespace orvex {
namespace {

constexpr const char* kRemoveCaption = "Remove Livery";

}  // namespace

void LiveryInstall::cmdRemoveLivery_Click() {
  if (!hangar_.chosenLivery()) {
    tk.beep();
    return;
  }
  const HangarAircraft a = *hangar_.chosenAircraft();
  const HangarLivery livery = *hangar_.chosenLivery();
  if (a.liveries.size() < 2) {
    tk.msgBox(livery.title + " is the only livery of " + a.title +
                  ": an aircraft needs one at least, so it stays.",
              kRemoveCaption, MsgIcon::Information, MsgButtons::OK);
    return;
  }
  const bool shared =
      std::count_if(a.liveries.begin(), a.liveries.end(), [&](const HangarLivery& l) {
        return dos::equalsNoCase(l.texture, livery.texture);
      }) > 1;
  const std::string folder = livery.textureFolder();
  if (tk.msgBox("Remove the livery " + livery.title + " from " + a.title + "?" + "\r\r" +
                    "Its section goes from Aircraft.cfg" +
                    (shared ? "; its folder " + folder + " stays, as another livery uses it."
                            : ", and its folder " + folder + " with it.") +
                    "\r" + "The Installed tab can put it back.",
                kRemoveCaption, MsgIcon::None, MsgButtons::YesNo) != MsgAnswer::Yes)
    return;
  BusyScope busy(ctx);
  if (takeOut(a, livery))
    tk.msgBox(livery.title + " has been removed from " + a.title + ".", kRemoveCaption,
              MsgIcon::Information, MsgButtons::OK);
  hangar_.refreshHangar();
}

bool LiveryInstall::takeOut(const HangarAircraft& a, const HangarLivery& livery) {
  const std::string aircraft = state.FSim + "\\Aircraft\\" + a.folder;
  const std::string cfgPath = aircraft + "\\Aircraft.cfg";
  const auto refuse = [&](const std::string& why) {
    tk.msgBox("The livery " + livery.title + " was not removed: " + why, kRemoveCaption,
              MsgIcon::Warning, MsgButtons::OK);
    return false;
  };
  std::optional<DecodedText> text;
  try {
    std::string why;
    text = decodeText(fs.readFile(cfgPath), why);
    if (!text) return refuse(cfgPath + " cannot be read: " + why + ".");
  } catch (const FileError& e) {
    return refuse(errorMessage("Error", e));
  }
  ConfigLines cfg(text->text);
  // The file may have changed since the Hangar read it: the section must still be this livery's.
  bool same = false;
  for (const ConfigLines::Section& s : cfg.sections())
    same = same || (s.name == livery.section &&
                    dos::equalsNoCase(cfg.value(s, "title").value_or(""), livery.title));
  if (!same) return refuse(cfgPath + " changed since the Hangar read it. Look at the list again.");
  const std::optional<ConfigEdit> edit = removeLivery(cfg, livery.section);
  bool shared = false;
  for (const ConfigLines::Section& s : cfg.sections())
    shared = shared || (dos::startsWith(s.name, "fltsim.") &&
                        dos::equalsNoCase(cfg.value(s, "texture").value_or(""), livery.texture));
  const std::string folder = aircraft + "\\" + livery.textureFolder();
  std::vector<std::string> files, links, folders;
  try {
    if (!shared && fs.isDirectory(folder)) {
      files = filesBelow(fs, folder, links);
      folders = foldersBelow(fs, folder);
    }
  } catch (const FileError& e) {
    return refuse(errorMessage("Error", e));
  }

  RecordScope record(installed_, copies_, "livery", "Removed " + livery.title);
  try {
    // The section goes first: the simulator never meets a livery whose folder is gone.
    fs.editFile(cfgPath, text->encode(cfg.text(), true), describeEdits({*edit}));
    std::vector<std::string> paths;
    for (const std::string& f : files) paths.push_back(folder + "\\" + f);
    for (const std::string& path : paths) fs.deleteFile(path);
    for (auto it = folders.rbegin(); it != folders.rend(); ++it) fs.rmDir(folder + "\\" + *it);
    if (!shared && fs.isDirectory(folder) && links.empty()) fs.rmDir(folder);
  } catch (const FileError& e) {
    record.end();
    tk.msgBox("The livery " + livery.title +
                  " could not be removed completely: " + errorMessage("Error", e) + "\r\r" +
                  "What was done is recorded: the Installed tab can put it back.",
              kRemoveCaption, MsgIcon::Warning, MsgButtons::OK);
    return false;
  }
  record.end();
  return true;
}

}  // namespace orvex

// The one copy pass of all four installs, and the copy window around it.
#include "install/copy_pass.h"

#include <algorithm>

#include "installed/preview.h"
#include "platform/dos_path.h"
#include "platform/file_system.h"
#include "platform/file_tree.h"
#include "platform/toolkit.h"
#include "record/recording_file_system.h"
#include "record/undo.h"

namespace orvex {
namespace {

// A target that could not be written for a reason no install's handler knows (a full disk, a
// failing device, a name the disk cannot hold): going on would lose the file, since the pass
// removes what it listed, so the install stops at it.
bool stopsTheInstall(const FileError& e) {
  const int n = e.number();
  return n != err::FileNotFound && n != err::PathFileAccess && n != err::PathNotFound;
}

}  // namespace

void CopyPasses::showCopyWindow() {
  const std::string animation = state.OrvexDir + "\\FileCopy.avi";
  fs.checkReadable(animation);
  anim.Animation1.setFile(animation);
  ui_.frmAnimation_Load();
  anim.show();
  ui_.Pause(1);
}

void CopyPasses::hideCopyWindow() {
  anim.hide();
}

void CopyPasses::beginInstall() {
  placed_.clear();
  linksTold_.clear();
  pumpedAt_ = -1e9;
  nameHeld_ = false;
}

void CopyPasses::DisplayFileCopy() {
  // The running copy pass names its own files; File1 serves only outside one.
  const std::string& name = passNames_ && state.i >= 0 && size_t(state.i) < passNames_->size()
                                ? (*passNames_)[size_t(state.i)]
                                : frm.File1.list(state.i);
  anim.labAnimation.setCaption("Copying " + name);
  anim.labAnimation.refresh();
}

void CopyPasses::showFileInHand() {
  // Thousands of small files go by faster than anyone can read their names, and naming each
  // (a repaint, and an event for a screen reader) would cost more than moving it. A few names
  // a second are read; between them the window repaints and refuses clicks with a beep.
  if (tk.clock() - pumpedAt_ < kNameSeconds) {
    nameHeld_ = true;
    return;
  }
  DisplayFileCopy();
  nameHeld_ = false;
  keepWindowAlive();
}

void CopyPasses::keepWindowAlive() {
  if (tk.clock() - pumpedAt_ < kNameSeconds) return;
  tk.doEvents();
  pumpedAt_ = tk.clock();
}

void CopyPasses::showHeldName() {
  if (!nameHeld_) return;
  DisplayFileCopy();
  nameHeld_ = false;
}

void CopyPasses::passOverLinks(const std::vector<std::string>& links) {
  std::vector<std::string> fresh;
  for (const std::string& link : links)
    if (std::find(linksTold_.begin(), linksTold_.end(), link) == linksTold_.end())
      fresh.push_back(link);
  if (fresh.empty()) return;
  std::string text =
      "These are symbolic links in the assembly area, not add-on files; the install passes them "
      "over:";
  for (const std::string& link : fresh) text += "\r   " + link;
  tk.msgBox(text, "Links Passed Over", MsgIcon::Warning, MsgButtons::OK);
  linksTold_.insert(linksTold_.end(), fresh.begin(), fresh.end());
}

void CopyPasses::stopAtFailedWrite(const FileError& e, const std::vector<std::string>& names,
                                   const std::vector<Move>& moves, size_t failed,
                                   size_t placedBefore) {
  hideCopyWindow();
  frm.setMousePointer(MousePointer::Default);
  const std::string assembly = state.OrvexAssemblyDir + "\\";
  // Still to be installed: this pass's files from the one that failed on, and every other file
  // the assembly area's tree holds.
  long long needed = 0;
  try {
    std::vector<std::string> links, rest = filesBelow(fs, state.OrvexAssemblyDir, links);
    for (std::string& name : rest) name = assembly + name;
    for (size_t k = 0; k < failed && k < moves.size(); ++k)
      rest.erase(std::remove(rest.begin(), rest.end(), moves[k].first), rest.end());
    for (const std::optional<FileStamp>& s : fs.stamps(rest))
      if (s) needed += s->size;
  } catch (const FileError&) {
    // The sum is only told; it stays as far as it came.
  }
  const std::string folder = dos::parentOf(fs.fullPath(state.FName));
  const std::optional<long long> free = fs.freeSpace(folder);
  std::string text = errorMessage("Error", e) + "\r\r" + "The install stopped at " + names[failed] +
                     ": " + folder + " has " +
                     (free ? sizeText(*free) : std::string("too little room")) + " free, " +
                     "and the files still to be installed need " + sizeText(needed) + "." + "\r" +
                     "The files that were not installed are still in the assembly area.";
  const long install = ctx.recording.installId();
  const bool undoable = installed_.records() && install != 0;
  bool undo = false;
  if (undoable)
    undo = tk.msgBox(text + "\r\r" + "Undo what the install placed so far?", "Install Stopped",
                     MsgIcon::Warning, MsgButtons::YesNo) == MsgAnswer::Yes;
  else
    tk.msgBox(text + "\r\r" + "What the install placed so far stays where it is.",
              "Install Stopped", MsgIcon::Warning, MsgButtons::OK);

  // This pass's files copied so far are still in the assembly area too: they leave it once
  // they stay installed.
  const auto removePlacedOfThisPass = [&] {
    for (size_t k = 0; k < failed; ++k) {
      try {
        fs.setAttrNormal(moves[k].first);
        fs.kill(moves[k].first);
      } catch (const FileError&) {
        // Installed and still in the assembly area: the next clean-up takes it.
      }
    }
  };
  if (!undo) {
    removePlacedOfThisPass();
    installed_.endRecord(false);
    throw StopFailure("");
  }
  installed_.endRecord(false);
  // The files of the passes before came out of the assembly area: they go back into it before
  // the undo takes them out of the simulator, so that nothing of the add-on is lost.
  FileSystem& disk = ctx.recording.inner();
  std::vector<std::string> returned;
  try {
    for (size_t k = 0; k < placedBefore; ++k) {
      const std::string& back = placed_[k].first;
      if (disk.isFile(back)) continue;
      disk.transferFile(placed_[k].second, back);
      returned.push_back(back);
    }
  } catch (const FileError& failure) {
    for (const std::string& back : returned) disk.deleteFile(back);
    removePlacedOfThisPass();
    tk.msgBox(errorMessage("Error", failure) + "\r\r" +
                  "The files already installed could not be put back into the assembly area, " +
                  "so the install was not undone. It can be uninstalled in the Installed tab.",
              "Install Stopped", MsgIcon::Warning, MsgButtons::OK);
    throw StopFailure("");
  }
  std::string problem;
  try {
    Undo undo(*installed_.records(), disk);
    undo.uninstall(install);
    if (!undo.notPutBack().empty())
      problem = "the original of " + undo.notPutBack().front() + " could not be put back.";
  } catch (const FileError& failure) {
    problem = errorMessage("Error", failure);
  } catch (const RecordError& failure) {
    problem = failure.what();
  }
  installed_.refreshInstalled();
  if (!problem.empty())
    tk.msgBox("What the install placed could not all be undone: " + problem + "\r\r" +
                  "The rest is recorded in the Installed tab.",
              "Install Stopped", MsgIcon::Warning, MsgButtons::OK);
  throw StopFailure("");
}

bool CopyPasses::runCopyPass(const CopyPass& pass, const CopyPassHandler& handler) {
  // Runs one step; false when the handler says stop.
  auto attempt = [&](PassStep step, const std::function<void()>& run) {
    try {
      run();
      return true;
    } catch (const FileError& e) {
      return handler(e, step).kind != Resume::Kind::Stop;
    }
  };

  // The pass's own list, from its reading to the end of its delete loop: a question asked on
  // the way lets other events run, and none of them may change what this pass copies and
  // removes. A link is no add-on file, and nothing is taken through it.
  const std::string& from = pass.sourceFolder.empty() ? state.OrvexAssemblyDir : pass.sourceFolder;
  std::vector<std::string> names, links;
  if (pass.listed) {
    names = pass.names;
    links = pass.links;
  } else if (!attempt(PassStep::List,
                      [&] { names = fs.listFilesWithoutLinks(from, pass.patterns, links); }))
    return false;
  passOverLinks(links);
  if (names.empty() && pass.skipWhenEmpty) return true;
  passNames_ = &names;
  struct ForgetNames {
    const std::vector<std::string>*& names;
    ~ForgetNames() { names = nullptr; }
  } forgetNames{passNames_};
  if (!pass.makeFirst.empty()) {
    try {
      fs.mkDir(pass.makeFirst);
    } catch (const FileError&) {
      // Usually it exists already, which is what the pass needs.
    }
  }
  const int n = int(names.size());
  std::vector<Move> moves;
  for (const std::string& name : names)
    moves.emplace_back(from + "\\" + name,
                       pass.targetFolder + (pass.flatTargets ? dos::fileName(name) : name));
  fs.aboutToTransfer(moves);
  const size_t placedBefore = placed_.size();
  for (int k = 0; k < n; ++k) {
    state.i = int16_t(k);
    state.FName = moves[size_t(k)].second;
    if (!pass.makeEachTime.empty() &&
        !attempt(PassStep::MakeFolder, [&] { fs.mkDir(pass.makeEachTime); }))
      return false;
    showFileInHand();
    const std::string& source = moves[size_t(k)].first;
    // The source is only deleted after this, never changed, so the file system may hand the
    // target its data (a link) instead of copying the bytes; both names stay until the delete.
    const auto transfer = [&] {
      try {
        fs.transferFile(source, state.FName);
      } catch (const FileError& e) {
        if (stopsTheInstall(e)) stopAtFailedWrite(e, names, moves, size_t(k), placedBefore);
        throw;
      }
    };
    try {
      transfer();
    } catch (const FileError& e) {
      // A question about the file may follow: the window names that file.
      showHeldName();
      const Resume r = handler(e, PassStep::Copy);
      if (r.kind == Resume::Kind::Stop) return false;
      if (r.kind != Resume::Kind::Replace) continue;
      bool copied = false;
      if (!attempt(PassStep::Replace, [&] {
            fs.setAttrNormal(state.FName);
            transfer();
            copied = true;
          }))
        return false;
      if (!copied) continue;
    }
    placed_.emplace_back(source, state.FName);
  }
  // The window ends the pass on its last file (the loop left i there).
  showHeldName();
  // Exactly the files the copy loop handled are removed.
  for (int k = 0; k < n; ++k) {
    state.i = int16_t(k);
    keepWindowAlive();
    const std::string& source = moves[size_t(k)].first;
    if (!attempt(PassStep::ClearAttributes, [&] { fs.setAttrNormal(source); })) return false;
    if (!attempt(PassStep::Delete, [&] { fs.kill(source); })) return false;
  }
  return true;
}

}  // namespace orvex

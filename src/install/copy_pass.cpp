// The one copy pass of all four installs, and the copy window around it.
#include "app/orvex.h"
#include "platform/file_system.h"

namespace orvex {

void Orvex::showCopyWindow() {
  const std::string animation = state.OrvexDir + "\\FileCopy.avi";
  fs.checkReadable(animation);
  anim.Animation1.setFile(animation);
  frmAnimation_Load();
  anim.show();
  Pause(1);
}

void Orvex::hideCopyWindow() {
  anim.hide();
}

bool Orvex::runCopyPass(const CopyPass& pass, const CopyPassHandler& handler) {
  // Runs one step; false when the handler says stop.
  auto attempt = [&](PassStep step, const std::function<void()>& run) {
    try {
      run();
      return true;
    } catch (const FileError& e) {
      return handler(e, step).kind != Resume::Kind::Stop;
    }
  };

  int n = 0;
  if (!attempt(PassStep::List, [&] { n = listFiles(state.OrvexAssemblyDir, pass.patterns); }))
    return false;
  if (n == 0 && pass.skipWhenEmpty) return true;
  if (!pass.makeFirst.empty()) {
    try {
      fs.mkDir(pass.makeFirst);
    } catch (const FileError&) {
      // Usually it exists already, which is what the pass needs.
    }
  }
  FileList& list = frm.File1;
  for (int k = 0; k < n; ++k) {
    state.i = int16_t(k);
    list.setListIndex(k);
    state.FName = pass.targetFolder + list.list(k);
    if (!pass.makeEachTime.empty() &&
        !attempt(PassStep::MakeFolder, [&] { fs.mkDir(pass.makeEachTime); }))
      return false;
    DisplayFileCopy();
    const std::string source = state.OrvexAssemblyDir + "\\" + list.list(k);
    try {
      fs.copyFile(source, state.FName);
    } catch (const FileError& e) {
      const Resume r = handler(e, PassStep::Copy);
      if (r.kind == Resume::Kind::Stop) return false;
      if (r.kind == Resume::Kind::Replace && !attempt(PassStep::Replace, [&] {
            fs.setAttrNormal(state.FName);
            fs.copyFile(source, state.FName);
          }))
        return false;
    }
  }
  // The list is not read again: exactly the files the copy loop handled are removed.
  for (int k = 0; k < n; ++k) {
    state.i = int16_t(k);
    list.setListIndex(k);
    const std::string source = state.OrvexAssemblyDir + "\\" + list.list(k);
    if (!attempt(PassStep::ClearAttributes, [&] { fs.setAttrNormal(source); })) return false;
    if (!attempt(PassStep::Delete, [&] { fs.kill(source); })) return false;
  }
  return true;
}

}  // namespace orvex

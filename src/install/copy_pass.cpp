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

  // The pass's own list, from its reading to the end of its delete loop: a question asked on
  // the way lets other events run, and none of them may change what this pass copies and
  // removes.
  std::vector<std::string> names;
  if (!attempt(PassStep::List,
               [&] { names = fs.listFiles(state.OrvexAssemblyDir, pass.patterns); }))
    return false;
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
  std::vector<std::pair<std::string, std::string>> moves;
  for (const std::string& name : names)
    moves.emplace_back(state.OrvexAssemblyDir + "\\" + name, pass.targetFolder + name);
  fs.aboutToTransfer(moves);
  for (int k = 0; k < n; ++k) {
    state.i = int16_t(k);
    state.FName = pass.targetFolder + names[size_t(k)];
    if (!pass.makeEachTime.empty() &&
        !attempt(PassStep::MakeFolder, [&] { fs.mkDir(pass.makeEachTime); }))
      return false;
    DisplayFileCopy();
    const std::string source = state.OrvexAssemblyDir + "\\" + names[size_t(k)];
    // The source is only deleted after this, never changed, so the file system may hand the
    // target its data (a link) instead of copying the bytes; both names stay until the delete.
    try {
      fs.transferFile(source, state.FName);
    } catch (const FileError& e) {
      const Resume r = handler(e, PassStep::Copy);
      if (r.kind == Resume::Kind::Stop) return false;
      if (r.kind == Resume::Kind::Replace && !attempt(PassStep::Replace, [&] {
            fs.setAttrNormal(state.FName);
            fs.transferFile(source, state.FName);
          }))
        return false;
    }
  }
  // Exactly the files the copy loop handled are removed.
  for (int k = 0; k < n; ++k) {
    state.i = int16_t(k);
    const std::string source = state.OrvexAssemblyDir + "\\" + names[size_t(k)];
    if (!attempt(PassStep::ClearAttributes, [&] { fs.setAttrNormal(source); })) return false;
    if (!attempt(PassStep::Delete, [&] { fs.kill(source); })) return false;
  }
  return true;
}

}  // namespace orvex

// A world to install into, shared by the tests that run whole installs again and again: the
// program's root, a simulator with files of its own (some of which an add-on replaces), the
// four kinds of add-on as they arrive in the assembly area, and the user's steps to install.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/record_store.h"
#include "support/faulty_file_system.h"
#include "support/install_steps.h"
#include "support/sandbox.h"

namespace orvex::test {

inline const std::string kAsm = "C:\\Orvex\\Assembly\\";
inline const std::string kSettings =
    "\"C:\\FS98\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"FS98\"\r\n1\r\n";

using Files = std::map<std::string, std::string>;  // name -> bytes

// The simulator's other aircraft, which a repaint is added to, and what the repaint's readme
// says to paste into its Aircraft.cfg.
inline const std::string kOtherPlane = "C:\\FS98\\Aircraft\\Other\\";
inline const std::string kOtherPlaneCfg =
    "[fltsim.0]\r\ntitle=Other Plane\r\nsim=other\r\ntexture=\r\n\r\n[General]\r\n"
    "atc_type=OTHER\r\n";
inline const std::string kLiveryReadme =
    "Paste this into the aircraft.cfg:\r\n\r\n[fltsim.X]\r\ntitle=Other Plane Red\r\n"
    "sim=other\r\ntexture=red\r\n\r\nHave fun!\r\n";
// The Aircraft.cfg with the repaint's livery added.
inline const std::string kOtherPlaneCfgWithRed =
    "[fltsim.0]\r\ntitle=Other Plane\r\nsim=other\r\ntexture=\r\n\r\n[fltsim.1]\r\n"
    "title=Other Plane Red\r\nsim=other\r\ntexture=red\r\n\r\n[General]\r\natc_type=OTHER\r\n";

// The files of each kind of add-on as they arrive in the assembly area. Main.gau and eng.wav
// carry the names of files the simulator has already, which an install may replace.
Files addOn(Kind kind);
// Where a clean install puts some of the add-on's files: DOS path -> name in the add-on.
Files installedFiles(Kind kind);

class InstallWorld : public Sandbox {
 protected:
  // Hundreds of installs: in memory where the machine has a memory file system, so that the
  // syncs of replaced files do not wait for a disk.
  void SetUp() override;

  // Everything under the sandbox (or another world's root folder) but the assembly area and
  // the program's own files (the records, the lock): relative host path -> bytes, with folders
  // marked by a trailing "/".
  Files snapshot() const { return snapshotOf(root_); }
  static Files snapshotOf(const std::string& root);
  static std::string hostRead(const std::filesystem::path& p);

  // A fresh world: the program's root and FS98 with files of its own. With an earlier version
  // installed, the add-on's folders are there already, with old files, one of them protected,
  // and the scenery is listed.
  void layOutWorld(Kind kind, bool earlierVersion);
  // A fresh world and the program started in it (with the records of `records`, when set).
  Orvex& freshStart(Kind kind, bool earlierVersion);
  void layEarlierVersion(Kind kind);
  void unpack(Kind kind);
  // Chooses the row of the Installed tab that shows this name, and presses a button there.
  void press(Orvex& app, const std::string& name, Button& button) {
    const auto& rows = installedList(app).rows();
    for (size_t r = 0; r < rows.size(); ++r)
      if (rows[r][2] == name) installedList(app).setListIndex(int(r));
    ASSERT_GE(installedList(app).listIndex(), 0) << name;
    button.click();
  }

  // Makes the store the program records in (given the database's host path), for each start;
  // none when empty.
  std::function<std::unique_ptr<RecordStore>(const std::string& hostPath)> records;
  std::unique_ptr<FaultyFileSystem> faulty_;
  std::string oldSceneryList_;
  bool earlierVersion_ = false;
};

// A world whose installs are recorded in the SQLite store, as the program keeps them.
class RecordedWorld : public InstallWorld {
 protected:
  void SetUp() override;
};

}  // namespace orvex::test

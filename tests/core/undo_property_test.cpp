// Thousands of random sequences of overlapping installs and uninstalls, in random order,
// against a small model of what the simulator's tree must hold after each step: a file that no
// remaining install wrote is as it was before the first install that wrote it; a file that
// remaining installs wrote holds the version of the latest of them (the scenery list's backup
// included); a folder stays while it holds files; the scenery list holds the areas of the
// remaining sceneries after its own lines, in its own encoding.
#include <filesystem>
#include <map>
#include <random>
#include <set>

#include "record/memory_record_store.h"
#include "support/install_steps.h"
#include "support/sandbox.h"

namespace orvex::test {
namespace {

namespace stdfs = std::filesystem;

using Tree = std::map<std::string, std::string>;  // relative host path -> bytes, "x/" folders

const std::string kAsm = "C:\\Orvex\\Assembly\\";

// One install of the model: the files it wrote, in the simulator, with their bytes, and the
// area of a scenery (its lines, as decoded text) with its number.
struct ModelInstall {
  Tree wrote;
  std::string area;
  int number = 0;
};

// A scenery list as the world starts with it: its decoded text and line end, and whether it is
// UTF-16 little-endian (each character one byte of the text) or 8-bit text.
struct ModelList {
  std::string text, end;
  bool utf16 = false;
  std::string bytes(const std::string& decoded, bool mark) const {
    if (!utf16) return decoded;
    std::string out = mark ? "\xFF\xFE" : "";
    for (char c : decoded) out += {c, '\0'};
    return out;
  }
};
const ModelList kLists[] = {
    {"[Area.010]\r\nLayer=10\r\n", "\r\n", false},
    {"[Area.010]\nLayer=10", "\n", true},  // without a last line end
};

class UndoProperty : public Sandbox {
 protected:
  // Thousands of installs: in memory where the machine has a memory file system, so that the
  // syncs of kept originals do not wait for a disk.
  void SetUp() override {
    Sandbox::SetUp();
    std::error_code ec;
    std::string tmpl = "/dev/shm/orvex-undo-XXXXXX";
    if (!stdfs::is_directory("/dev/shm", ec) || !mkdtemp(tmpl.data())) return;
    stdfs::remove_all(root_, ec);
    root_ = tmpl;
    DriveMap map;
    map.add('c', root_);
    fs_ = std::make_unique<HostFileSystem>(map, root_ + "/Orvex");
  }

  Orvex& startWorld(const ModelList& list, bool backup) {
    app_.reset();
    std::error_code ec;
    for (auto& e : stdfs::directory_iterator(root_)) stdfs::remove_all(e.path(), ec);
    makeDir("C:\\Orvex\\Assembly");
    write("C:\\Orvex\\FileCopy.avi", "RIFF");
    write("C:\\Orvex\\Orvex.cfg",
          "\"C:\\FS98\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"FS98\"\r\n1\r\n");
    makeSimulator("C:\\FS98", "Fltsim98.cfg");
    makeDir("C:\\FS98\\Aircraft\\FSFSCONV");
    // Originals an install may replace.
    write("C:\\FS98\\Sound\\s1.wav", "original s1");
    write("C:\\FS98\\Gauges\\g1.gau", "original g1");
    list_ = list;
    write("C:\\FS98\\Scenery.cfg", list.bytes(list.text, true));
    if (backup) write("C:\\FS98\\SceneryCfg.bku", "original backup");
    original_ = tree();
    tk_ = FakeToolkit();
    app_ = std::make_unique<Orvex>(*fs_, tk_, shell_);
    app_->openRecordStore = [](const std::string&) {
      return std::make_unique<MemoryRecordStore>();
    };
    app_->Form_Load();
    return *app_;
  }

  // The simulator's tree: files with their bytes, folders with a trailing "/".
  Tree tree() const {
    Tree out;
    const stdfs::path sim = stdfs::path(root_) / "FS98";
    for (auto& e : stdfs::recursive_directory_iterator(sim)) {
      const std::string rel = stdfs::relative(e.path(), root_).string();
      out[e.is_directory() ? rel + "/" : rel] = e.is_directory() ? "" : read("C:\\" + rel);
    }
    return out;
  }

  // The tree the model says: originals under the latest remaining writer of each file.
  Tree expected(const std::vector<ModelInstall>& remaining) const {
    Tree out;
    for (const auto& [path, bytes] : original_)
      if (path.back() != '/') out[path] = bytes;
    for (const ModelInstall& install : remaining)
      for (const auto& [path, bytes] : install.wrote) out[path] = bytes;
    out["FS98/Scenery.cfg"] = listBytes(remaining);
    std::set<std::string> folders;
    for (const auto& [path, bytes] : original_)
      if (path.back() == '/') folders.insert(path);
    for (const auto& [path, bytes] : out)
      for (size_t slash = path.find('/'); slash != std::string::npos;
           slash = path.find('/', slash + 1))
        folders.insert(path.substr(0, slash + 1));
    folders.erase("FS98/");  // the simulator's own folder is where the tree starts
    for (const std::string& f : folders) out[f] = "";
    return out;
  }

  // The scenery list with the areas of the remaining sceneries; the line end added after a
  // last line without one goes with the first of them.
  std::string listBytes(const std::vector<ModelInstall>& remaining) const {
    std::string text = list_.text, areas;
    for (const ModelInstall& install : remaining) areas += install.area;
    if (!areas.empty() && !text.ends_with('\n')) text += list_.end;
    return list_.bytes(text + areas, true);
  }

  Tree original_;
  ModelList list_;
};

TEST_F(UndoProperty, AnyOrderOfOverlappingInstallsAndUninstallsMatchesTheModel) {
  std::mt19937 random(20261208);
  auto chance = [&](int percent) { return int(random() % 100) < percent; };
  int sequences = 0, installs = 0, uninstalls = 0;
  for (; sequences < 1000 && !HasFailure(); ++sequences) {
    Orvex& app = startWorld(kLists[random() % 2], chance(50));
    std::vector<ModelInstall> remaining;
    int version = 0;
    const int steps = 4 + int(random() % 8);
    for (int step = 0; step < steps && !HasFailure(); ++step) {
      if (remaining.empty() || chance(60)) {
        // A sound set into the main sound folder, a panel with gauges and sounds, or a scenery
        // with its area in the list.
        ModelInstall model;
        const int roll = int(random() % 100);
        const bool panel = roll < 30, scenery = roll >= 30 && roll < 55;
        const std::string tag = "v" + std::to_string(++version);
        std::map<std::string, std::string> files;  // assembly name -> bytes
        for (const char* wav : {"s1.wav", "s2.wav", "s3.wav"})
          if (!scenery && chance(50)) files[wav] = std::string(wav) + " " + tag;
        if (scenery) {
          for (const auto& [name, folder] :
               {std::pair{"a.bgl", "Scenery"}, {"t.bmp", "Texture"}, {"readme.txt", "Unknown"}}) {
            const std::string bytes = std::string(name) + " " + tag;
            write(kAsm + name, bytes);
            model.wrote["FS98/Scenery/" + tag + "/" + folder + "/" + name] = bytes;
          }
          model.wrote["FS98/SceneryCfg.bku"] = listBytes(remaining);
          model.number = 10;
          for (const ModelInstall& m : remaining) model.number = std::max(model.number, m.number);
          ++model.number;
          char area[16];
          std::snprintf(area, sizeof area, "%03d", model.number);
          const std::string& e = list_.end;
          model.area = " " + e + "[Area." + area + "]" + e + "Title=" + tag + e +
                       "Local=SCENERY\\" + tag + "\\Scenery" + e + "Active=TRUE" + e +
                       "Layer=" + std::to_string(model.number) + e;
        } else if (panel) {
          for (const char* gau : {"g1.gau", "g2.gau"})
            if (chance(50)) files[gau] = std::string(gau) + " " + tag;
          files["panel.cfg"] = "[Window00]\r\n" + tag;
        } else {
          // A sound set is known by its sounds.
          if (files.empty()) files["s2.wav"] = "s2.wav " + tag;
          if (chance(40)) files["readme.txt"] = "readme " + tag;
        }
        for (const auto& [name, bytes] : files) {
          write(kAsm + name, bytes);
          const std::string ext = name.substr(name.size() - 3);
          const std::string where = ext == "wav"   ? "FS98/Sound/"
                                    : ext == "gau" ? "FS98/Gauges/"
                                    : ext == "cfg" ? "FS98/Aircraft/FSFSCONV/Panel." + tag + "/"
                                                   : "FS98/Sound/Documentation/";
          model.wrote[where + name] = bytes;
        }
        app.frm.cmdRefresh.click();
        if (scenery) {
          app.frm.txtSceneryName.setText(tag);
          app.frm.optSceneryDefault.setValue(true);
          app.frm.Command1.click();
        } else if (panel) {
          app.frm.optFSCONV.setValue(true);
          app.frm.txtPanelName.setText(tag);
          app.frm.cmdPanelInstall.click();
        } else {
          app.frm.optSound.setValue(true);
          app.frm.cmdInstallSound.click();
        }
        ASSERT_EQ(tk_.countCaption("Success!"), 1) << tag;
        remaining.push_back(model);
        ++installs;
      } else {
        // The Installed tab lists the remaining installs newest first.
        const size_t row = random() % remaining.size();
        installedList(app).setListIndex(int(row));
        tk_.answers = {MsgAnswer::Yes};
        app.frm.cmdUninstall.click();
        remaining.erase(remaining.end() - 1 - std::ptrdiff_t(row));
        ++uninstalls;
      }
      tk_.boxes.clear();
      ASSERT_EQ(installedList(app).rows().size(), remaining.size());
      EXPECT_EQ(tree(), expected(remaining)) << "sequence " << sequences << ", step " << step;
    }
    // Everything off again, newest or oldest first: the tree as it was.
    while (!remaining.empty() && !HasFailure()) {
      const bool newest = chance(50);
      installedList(app).setListIndex(newest ? 0 : int(remaining.size()) - 1);
      tk_.answers = {MsgAnswer::Yes};
      app.frm.cmdUninstall.click();
      remaining.erase(newest ? remaining.end() - 1 : remaining.begin());
      ++uninstalls;
    }
    EXPECT_EQ(tree(), original_) << "sequence " << sequences << " at its end";
  }
  std::cout << "[ model runs ] " << sequences << " sequences, " << installs << " installs, "
            << uninstalls << " uninstalls\n";
}

}  // namespace
}  // namespace orvex::test

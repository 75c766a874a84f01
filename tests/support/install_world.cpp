// The world the install tests work in.
#include "support/install_world.h"

#include <fstream>
#include <sstream>

#include "host/sqlite_record_store.h"

namespace orvex::test {

namespace stdfs = std::filesystem;

Files addOn(Kind kind) {
  switch (kind) {
    case Kind::Aircraft:
      return {{"Aircraft.cfg",
               "[fltsim.0]\r\ntitle=Test Plane\r\nmodel=\r\npanel=\r\nsound=\r\ntexture=Blue\r\n"},
              {"Model.cfg", "model cfg"},
              {"plane.mdl", "model"},
              {"panel.cfg", "[Window00]\r\nfile=panel.bmp\r\n"},
              {"panel.bmp", "panel bitmap"},
              {"sound.cfg", "sound cfg"},
              {"engine.wav", "aircraft engine"},
              {"skin.bmp", "skin"},
              {"readme.txt", "read me"},
              {"Main.gau", "new gauge"},
              {"view.jpg", "picture"},
              {"extra.xyz", "extra"},
              // Folders of its own, as an archive opened with its folders brings them.
              {"Texture.1\\skin.bmp", "red skin"},
              {"gauges\\Clock.gau", "clock gauge"}};
    case Kind::Panel:
      return {{"panel.cfg", "[Window00]\r\nfile=panel.bmp\r\n"},
              {"panel.bmp", "panel bitmap"},
              {"Main.gau", "new gauge"},
              {"eng.wav", "new engine"},
              {"readme.txt", "read me"}};
    case Kind::Sound:
      return {{"sound.cfg", "[ENGINE]\r\nfile=eng\r\n"},
              {"eng.wav", "new engine"},
              {"rpm.wav", "rpm"},
              {"readme.txt", "read me"}};
    case Kind::Scenery:
      return {{"alps.bgl", "alps"},
              {"peaks.bgl", "peaks"},
              {"snow.bmp", "snow"},
              {"LICENSE", "l"},
              {"texture\\water.dds", "water"}};
    case Kind::Livery:
      return {{"Other Red\\texture.red\\other.bmp", "red paint"},
              {"Other Red\\texture.red\\other_t.bmp", "red tail"},
              {"Other Red\\readme.txt", kLiveryReadme}};
  }
  return {};
}

Files installedFiles(Kind kind) {
  const std::string plane = "C:\\FS98\\Aircraft\\Test Plane\\";
  const std::string panel = "C:\\FS98\\Aircraft\\FSFSCONV\\Panel.Test\\";
  const std::string scenery = "C:\\FS98\\Scenery\\" + kSceneryName + "\\";
  switch (kind) {
    case Kind::Aircraft:
      return {{plane + "Aircraft.cfg", "Aircraft.cfg"},
              {plane + "Model\\plane.mdl", "plane.mdl"},
              {plane + "Panel\\panel.bmp", "panel.bmp"},
              {plane + "Texture.Blue\\skin.bmp", "skin.bmp"},
              {plane + "Unknown\\extra.xyz", "extra.xyz"},
              {plane + "Image\\view.jpg", "view.jpg"},
              {plane + "Texture.1\\skin.bmp", "Texture.1\\skin.bmp"},
              {"C:\\FS98\\Gauges\\Main.gau", "Main.gau"},
              {"C:\\FS98\\Gauges\\Clock.gau", "gauges\\Clock.gau"}};
    case Kind::Panel:
      return {{panel + "panel.bmp", "panel.bmp"},
              {panel + "PanelDocs\\readme.txt", "readme.txt"},
              {"C:\\FS98\\Gauges\\Main.gau", "Main.gau"},
              {"C:\\FS98\\Sound\\eng.wav", "eng.wav"}};
    case Kind::Sound:
      return {{"C:\\FS98\\Sound\\eng.wav", "eng.wav"},
              {"C:\\FS98\\Sound\\Documentation\\readme.txt", "readme.txt"}};
    case Kind::Livery:
      return {{kOtherPlane + "texture.red\\other.bmp", "Other Red\\texture.red\\other.bmp"},
              {kOtherPlane + "texture.red\\other_t.bmp", "Other Red\\texture.red\\other_t.bmp"}};
    case Kind::Scenery:
      return {{scenery + "Scenery\\alps.bgl", "alps.bgl"},
              {scenery + "Texture\\snow.bmp", "snow.bmp"},
              {scenery + "Texture\\water.dds", "texture\\water.dds"},
              {scenery + "Unknown\\LICENSE", "LICENSE"}};
  }
  return {};
}

// Hundreds of installs: in memory where the machine has a memory file system, so that the
// syncs of replaced files do not wait for a disk.
void InstallWorld::SetUp() {
  Sandbox::SetUp();
  std::error_code ec;
  if (!stdfs::is_directory("/dev/shm", ec)) return;
  std::string tmpl = "/dev/shm/orvex-faults-XXXXXX";
  if (!mkdtemp(tmpl.data())) return;
  stdfs::remove_all(root_, ec);
  root_ = tmpl;
}

Files InstallWorld::snapshotOf(const std::string& root) {
  Files tree;
  const stdfs::path assembly = stdfs::path(root) / "Orvex" / "Assembly";
  for (auto it = stdfs::recursive_directory_iterator(root); it != stdfs::end(it); ++it) {
    const std::string rel = stdfs::relative(it->path(), root).string();
    // The program keeps its own files beside it, the records and the root's lock: not part of
    // the tree installed to.
    if (it->path() == assembly || rel.rfind("Orvex/Backups", 0) == 0 ||
        rel.rfind("Orvex/Installs.db", 0) == 0 || rel == "Orvex/Orvex.lock") {
      it.disable_recursion_pending();
      continue;
    }
    if (it->is_directory())
      tree[rel + "/"] = "";
    else
      tree[rel] = hostRead(it->path());
  }
  return tree;
}

std::string InstallWorld::hostRead(const stdfs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void InstallWorld::layOutWorld(Kind kind, bool earlierVersion) {
  app_.reset();
  std::error_code ec;
  for (auto& e : stdfs::recursive_directory_iterator(root_, ec))
    stdfs::permissions(e.path(), stdfs::perms::owner_all, stdfs::perm_options::add, ec);
  for (auto& e : stdfs::directory_iterator(root_)) stdfs::remove_all(e.path());
  makeDir("C:\\Orvex\\Assembly");
  write("C:\\Orvex\\FileCopy.avi", "RIFF");
  write("C:\\Orvex\\Orvex.cfg", kSettings);
  makeSimulator("C:\\FS98", "Fltsim98.cfg");
  copyFixture("scenery/scenery_crlf.cfg", "C:\\FS98\\Scenery.cfg");
  write("C:\\FS98\\SceneryCfg.bku", "the backup of an earlier update");
  write("C:\\FS98\\Gauges\\Main.gau", "old gauge");
  write("C:\\FS98\\Gauges\\keep.gau", "another gauge");
  write("C:\\FS98\\Sound\\eng.wav", "old engine");
  write("C:\\FS98\\Sound\\keep.wav", "another sound");
  write(kOtherPlane + "Aircraft.cfg", kOtherPlaneCfg);
  write(kOtherPlane + "texture\\other.bmp", "paint");
  makeDir("C:\\FS98\\Aircraft\\FSFSCONV");
  write("C:\\FS98\\Scenery\\World\\scenery\\world.bgl", "the world");
  if (earlierVersion) layEarlierVersion(kind);
  oldSceneryList_ = read("C:\\FS98\\Scenery.cfg");
}

Orvex& InstallWorld::freshStart(Kind kind, bool earlierVersion) {
  layOutWorld(kind, earlierVersion);
  DriveMap map;
  map.add('c', root_);
  fs_ = std::make_unique<HostFileSystem>(map, root_ + "/Orvex");
  faulty_ = std::make_unique<FaultyFileSystem>(*fs_);
  tk_ = FakeToolkit();
  app_ = std::make_unique<Orvex>(*faulty_, tk_, shell_);
  if (records) app_->openRecordStore = records;
  app_->Form_Load();
  return *app_;
}

void InstallWorld::layEarlierVersion(Kind kind) {
  std::string protectedFile;
  switch (kind) {
    case Kind::Aircraft: {
      const std::string plane = "C:\\FS98\\Aircraft\\Test Plane\\";
      write(plane + "Aircraft.cfg", "old aircraft cfg");
      write(plane + "Model\\plane.mdl", "old model");
      // The aircraft install passes over a file it cannot replace (the user is asked whether
      // to go on), so the protected file here is one the add-on does not bring.
      protectedFile = plane + "notes.txt";
      break;
    }
    case Kind::Panel:
      write("C:\\FS98\\Aircraft\\FSFSCONV\\Panel.Test\\PanelDocs\\readme.txt", "old");
      protectedFile = "C:\\FS98\\Aircraft\\FSFSCONV\\Panel.Test\\panel.bmp";
      break;
    case Kind::Sound: protectedFile = "C:\\FS98\\Sound\\rpm.wav"; break;
    case Kind::Livery: protectedFile = kOtherPlane + "texture\\old.bmp"; break;
    case Kind::Scenery: {
      const std::string list = read("C:\\FS98\\Scenery.cfg");
      write("C:\\FS98\\Scenery.cfg", list + " \r\n[Area.900]\r\nTitle=" + kSceneryName +
                                         "\r\nLocal=SCENERY\\" + kSceneryName +
                                         "\\Scenery\r\nActive=TRUE\r\nLayer=900\r\n");
      write("C:\\FS98\\Scenery\\" + kSceneryName + "\\Unknown\\old.txt", "old");
      protectedFile = "C:\\FS98\\Scenery\\" + kSceneryName + "\\Scenery\\alps.bgl";
      break;
    }
  }
  write(protectedFile, "old version");
  std::error_code ec;
  stdfs::permissions(
      host(protectedFile),
      stdfs::perms::owner_write | stdfs::perms::group_write | stdfs::perms::others_write,
      stdfs::perm_options::remove, ec);
}

void InstallWorld::unpack(Kind kind) {
  for (const auto& [name, bytes] : addOn(kind)) write(kAsm + name, bytes);
}

void RecordedWorld::SetUp() {
  InstallWorld::SetUp();
  records = [](const std::string& hostPath) {
    return std::make_unique<SqliteRecordStore>(hostPath);
  };
}

}  // namespace orvex::test

// Opening an archive directly: real zip, 7z and rar files unpacked into the assembly area with
// their folders and the archives inside them, unsafe and clashing entries left out and listed,
// damaged, locked and absurd archives refused with the area left as it was.
#include <filesystem>
#include <functional>
#include <map>
#include <optional>

#include "archive/archive_plan.h"
#include "host/libarchive_reader.h"
#include "support/archive_builder.h"
#include "support/sandbox.h"

namespace orvex::test {
namespace {

namespace stdfs = std::filesystem;

const std::string kArea = "C:\\Orvex\\Assembly";

class OpenArchiveTest : public Sandbox {
 protected:
  Orvex& startSet() {
    makeSimulator("C:\\FS98", "Fltsim98.cfg");
    write("C:\\Orvex\\Orvex.cfg",
          "\"C:\\FS98\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"FS98\"\r\n1\r\n");
    Orvex& app = start();
    app.archives = &reader_;
    makeDir("C:\\Downloads");
    return app;
  }

  // An archive in the download folder; its host path.
  std::string pack(const std::string& name, const std::vector<Item>& items,
                   const std::string& format = "zip", const std::string& options = {},
                   const std::string& passphrase = {}) {
    const std::string path = host("C:\\Downloads\\" + name);
    buildArchive(path, format, items, options, passphrase);
    return path;
  }

  // The one box shown, which must carry the feature's caption.
  const ShownBox& onlyBox() {
    EXPECT_EQ(tk_.boxes.size(), 1u);
    if (tk_.boxes.empty()) tk_.boxes.push_back({});
    EXPECT_EQ(tk_.boxes.back().caption, "Open Archive");
    return tk_.boxes.back();
  }

  LibArchiveReader reader_;
};

class OpenArchiveFormats : public OpenArchiveTest,
                           public ::testing::WithParamInterface<const char*> {};

TEST_P(OpenArchiveFormats, UnpacksTheTreeAsItIsThenRefreshBlinks) {
  Orvex& app = startSet();
  copyFixture("aircraft/missing_keys_camera_first.cfg", "C:\\Downloads\\aircraft.cfg");
  const std::string cfg = read("C:\\Downloads\\aircraft.cfg");
  const std::string model = noise(300 * 1024);
  // An aircraft of three liveries, each texture folder holding a file of the same name.
  const std::string archive = pack("plane.pack",
                                   {{"Plane/", "", Item::Folder},
                                    {"Plane/aircraft.cfg", cfg},
                                    {"Plane/model/p.mdl", model},
                                    {"Plane/texture/", "", Item::Folder},
                                    {"Plane/texture/a.bmp", "BM0"},
                                    {"Plane/texture.1/a.bmp", "BM1"},
                                    {"Plane/texture.2/a.bmp", "BM2"}},
                                   GetParam());
  // What a run that was cut off left behind is cleared, not mixed in.
  write(kArea + "\\.orvex-extract\\tree\\Plane\\old.bin");
  std::vector<int> shown;  // progress values seen while the window was pumped
  tk_.onEvents = [&] {
    EXPECT_TRUE(app.frm.prgExtract.visible());
    shown.push_back(app.frm.prgExtract.value());
  };

  app.archive.openArchive(archive);

  EXPECT_TRUE(tk_.boxes.empty());
  EXPECT_EQ(names(kArea), std::vector<std::string>{"Plane"});
  EXPECT_EQ(names(kArea + "\\Plane"), (std::vector<std::string>{"aircraft.cfg", "model", "texture",
                                                                "texture.1", "texture.2"}));
  EXPECT_EQ(read(kArea + "\\Plane\\aircraft.cfg"), cfg);
  EXPECT_EQ(read(kArea + "\\Plane\\model\\p.mdl"), model);
  for (const char* livery : {"texture", "texture.1", "texture.2"})
    EXPECT_EQ(names(kArea + "\\Plane\\" + livery), std::vector<std::string>{"a.bmp"});
  EXPECT_EQ(read(kArea + "\\Plane\\texture.2\\a.bmp"), "BM2");
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back(), 1000);
  EXPECT_FALSE(app.frm.prgExtract.visible());
  EXPECT_EQ(app.frm.Timer1.interval(), 1000);
  EXPECT_TRUE(app.frm.Timer1.running());
  EXPECT_TRUE(app.frm.cmdQuit.hasFocus());
  // A folder alone is news enough for the watch.
  app.frm.Timer1.tick();
  EXPECT_FALSE(app.frm.cmdRefresh.visible());
}

INSTANTIATE_TEST_SUITE_P(ZipAnd7z, OpenArchiveFormats, ::testing::Values("zip", "7zip"));

TEST_F(OpenArchiveTest, SamePlacesKeepTheFirstAndWhatIsInTheWayIsToldOf) {
  Orvex& app = startSet();
  write(kArea + "\\readme.txt", "old");
  fs_->setReadOnly(kArea + "\\readme.txt", true);
  write(kArea + "\\Texture\\keep.bmp", "mine");
  write(kArea + "\\notes.txt", "mine");
  const std::string archive = pack("liveries.zip", {{"Texture.1/plane.bmp", "one"},
                                                    {"texture.1/PLANE.BMP", "two"},
                                                    {"Docs/a.txt", "a"},
                                                    {"DOCS/b.txt", "b"},
                                                    {"x/y", "a file"},
                                                    {"x/y/z", "below it"},
                                                    {"readme.txt", "new"},
                                                    {"Texture", "a file"},
                                                    {"notes.txt/inner.txt", "x"}});
  app.archive.openArchive(archive);

  EXPECT_EQ(names(kArea), (std::vector<std::string>{"Docs", "Texture", "Texture.1", "notes.txt",
                                                    "readme.txt", "x"}));
  EXPECT_EQ(read(kArea + "\\Texture.1\\plane.bmp"), "one");
  EXPECT_EQ(names(kArea + "\\Docs"), (std::vector<std::string>{"a.txt", "b.txt"}));
  EXPECT_EQ(read(kArea + "\\x\\y"), "a file");
  EXPECT_EQ(read(kArea + "\\readme.txt"), "new");
  EXPECT_EQ(read(kArea + "\\notes.txt"), "mine");
  EXPECT_EQ(read(kArea + "\\Texture\\keep.bmp"), "mine");
  const ShownBox& box = onlyBox();
  for (const char* line :
       {"Texture (a folder of that name is in the assembly area)",
        "notes.txt\\inner.txt (a file of its folder's name is in the assembly area)",
        "These entries would take the same place; the first of each was kept:\r   kept "
        "Texture.1/plane.bmp, left out texture.1/PLANE.BMP\r   kept x/y, left out x/y/z",
        "These files replaced files of the same name in the assembly area:\r   readme.txt"})
    EXPECT_NE(box.text.find(line), std::string::npos) << line << "\n" << box.text;

  // Only a replaced file to tell of: an information, not a warning.
  tk_.boxes.clear();
  app.archive.openArchive(pack("again.zip", {{"readme.txt", "newer"}}));
  EXPECT_EQ(onlyBox().icon, MsgIcon::Information);
  EXPECT_EQ(read(kArea + "\\readme.txt"), "newer");
}

// The bytes of an archive, to be packed into another.
std::string archiveBytes(const std::string& scratch, const std::vector<Item>& items,
                         const std::string& format = "zip", const std::string& options = {},
                         const std::string& passphrase = {}) {
  buildArchive(scratch, format, items, options, passphrase);
  std::string bytes = readBytes(scratch);
  stdfs::remove(scratch);
  return bytes;
}

TEST_F(OpenArchiveTest, ArchivesInsideAreOpenedWhereTheyLieThreeLevelsDeep) {
  Orvex& app = startSet();
  const std::string scratch = host("C:\\Downloads\\scratch");
  const std::string level4 = archiveBytes(scratch, {{"deep.txt", "4"}});
  const std::string level3 =
      archiveBytes(scratch, {{"l3.txt", "3"}, {"Level4.ZIP", level4}}, "7zip");
  const std::string level2 = archiveBytes(
      scratch, {{"aircraft.cfg", "from inside"}, {"l2.txt", "2"}, {"sub/level3.7z", level3}});
  app.archive.openArchive(
      pack("outer.7z", {{"Plane/aircraft.cfg", "outer"}, {"Plane/level2.zip", level2}}, "7zip"));

  EXPECT_EQ(names(kArea + "\\Plane"), (std::vector<std::string>{"aircraft.cfg", "l2.txt", "sub"}));
  EXPECT_EQ(names(kArea + "\\Plane\\sub"), (std::vector<std::string>{"Level4.ZIP", "l3.txt"}));
  EXPECT_EQ(read(kArea + "\\Plane\\sub\\Level4.ZIP"), level4);
  EXPECT_EQ(read(kArea + "\\Plane\\aircraft.cfg"), "from inside");
  EXPECT_NE(onlyBox().text.find("These files replaced files of the same name in the assembly "
                                "area:\r   Plane\\aircraft.cfg"),
            std::string::npos)
      << onlyBox().text;
}

// An archive inside that cannot be opened, or would take the whole beyond its limits, stays a
// file beside what the outer archive gave.
struct LeftInside {
  const char* name;
  std::function<std::string(const std::string& scratch)> inner;  // its bytes
  const char* why;
};

TEST_F(OpenArchiveTest, AnArchiveInsideThatCannotBeOpenedStaysAFile) {
  const std::vector<LeftInside> rows = {
      {"damaged", [](const std::string&) { return std::string("PK\3\4 not really"); }, "damaged: "},
      {"locked",
       [](const std::string& scratch) {
         return archiveBytes(scratch, {{"a.txt", "secret"}}, "zip", "zip:encryption=zipcrypt",
                             "pw");
       },
       "protected by a password"},
      // 3 MiB of zeros against the 1 MiB the small outer archive may unpack to in all.
      {"declared beyond the budget",
       [](const std::string& scratch) {
         return archiveBytes(scratch, {{"zeros.bin", std::string(3 << 20, '\0')}});
       },
       "it would take what Orvex unpacks from \"outer.zip\" beyond 1.0 MiB"},
      {"written beyond the budget",
       [](const std::string& scratch) {
         buildArchive(scratch, "zip", {{"zeros.bin", std::string(3 << 20, '\0')}});
         declareZipSizes(scratch, 100);
         std::string bytes = readBytes(scratch);
         stdfs::remove(scratch);
         return bytes;
       },
       "it would take what Orvex unpacks from \"outer.zip\" beyond 1.0 MiB"},
  };
  Orvex& app = startSet();
  for (const LeftInside& row : rows) {
    SCOPED_TRACE(row.name);
    stdfs::remove_all(host(kArea + "\\Plane"));
    tk_.boxes.clear();
    const std::string inner = row.inner(host("C:\\Downloads\\scratch"));
    app.archive.openArchive(
        pack("outer.zip", {{"Plane/aircraft.cfg", "outer"}, {"Plane/inner.zip", inner}}));
    EXPECT_EQ(names(kArea + "\\Plane"), (std::vector<std::string>{"aircraft.cfg", "inner.zip"}));
    EXPECT_TRUE(read(kArea + "\\Plane\\inner.zip") == inner);
    const ShownBox& box = onlyBox();
    EXPECT_EQ(box.icon, MsgIcon::Warning);
    EXPECT_NE(box.text.find("These archives inside it were left as they are:\r   "
                            "Plane\\inner.zip (" +
                            std::string(row.why)),
              std::string::npos)
        << box.text;
    EXPECT_FALSE(exists(kArea + "\\.orvex-extract"));
  }
}

TEST_F(OpenArchiveTest, AnArchiveInTheAreaIsOpenedWhereItLies) {
  Orvex& app = startSet();
  const std::string inner = archiveBytes(host("C:\\Downloads\\scratch"), {{"gauge.gau", "g"}});
  makeDir(kArea + "\\Download");
  buildArchive(host(kArea + "\\Download\\plane.zip"), "zip",
               {{"Plane/aircraft.cfg", "cfg"}, {"Plane/panel/gauges.zip", inner}});
  write(kArea + "\\Download\\readme.txt", "the user's");

  EXPECT_TRUE(app.archive.openInPlace(kArea + "\\Download\\PLANE.ZIP"));
  EXPECT_EQ(names(kArea + "\\Download"), (std::vector<std::string>{"Plane", "readme.txt"}));
  EXPECT_EQ(read(kArea + "\\Download\\Plane\\aircraft.cfg"), "cfg");
  EXPECT_EQ(read(kArea + "\\Download\\Plane\\panel\\gauge.gau"), "g");
  EXPECT_TRUE(tk_.boxes.empty());
  EXPECT_FALSE(app.frm.Timer1.running());

  // Only a file of the area's own, reached through none of its links, is opened in place; a
  // damaged one stays as it was.
  const std::string outside = host("C:\\Downloads\\away.zip");
  buildArchive(outside, "zip", {{"a.txt", "a"}});
  stdfs::create_symlink(host("C:\\Downloads"), host(kArea + "\\linked"));
  write(kArea + "\\broken.zip", "not an archive");
  const std::map<std::string, std::string> before = treeOf(root_, "");
  for (const std::string& path :
       {std::string("C:\\Downloads\\away.zip"), kArea + "\\linked\\away.zip",
        kArea + "\\missing.zip", kArea + "\\broken.zip"}) {
    SCOPED_TRACE(path);
    tk_.boxes.clear();
    EXPECT_FALSE(app.archive.openInPlace(path));
    EXPECT_EQ(onlyBox().caption, "Open Archive");
    EXPECT_EQ(treeOf(root_, ""), before);
  }
  EXPECT_NE(tk_.boxes.back().text.find("\"broken.zip\" is not a zip"), std::string::npos);
}

// Crafted and broken archives, opened through the button (even rows) or dropped on the window
// (odd ones): each is refused, or its bad entries are left out, with one message, and nothing
// outside the assembly area changes. The area holds a file of the user's, keep.txt, before each.
using Make = std::function<void(const std::string& hostPath)>;  // writes the archive

struct Crafted {
  const char* name;
  const char* file;  // the archive's name in the download folder
  Make make;
  std::vector<std::string> area;    // what the assembly area holds afterwards
  std::vector<std::string> saying;  // parts of the message
  MsgIcon icon;
};

const std::vector<std::string> kKept = {"keep.txt"};

std::string left(const std::string& path, const char* why) {
  return "\r   " + path + " (" + why + ")";
}
const char* const kOut = "path leads out of its folder";
const char* const kAbsolute = "absolute path";
const char* const kBadName = "a name a DOS file cannot have";
const char* const kHidden = "hidden file";

Make packed(const char* format, std::vector<Item> items, const std::string& options = {},
            const std::string& passphrase = {}) {
  return [=](const std::string& path) { buildArchive(path, format, items, options, passphrase); };
}

// Files of 3 MiB of zeros, their sizes in the headers set to `declared` (none: left true).
Make zeros(int files, std::optional<uint32_t> declared) {
  return [=](const std::string& path) {
    std::vector<Item> items;
    for (int k = 0; k < files; ++k)
      items.push_back({"zeros" + std::to_string(k) + ".bin", std::string(3 << 20, '\0')});
    buildArchive(path, "zip", items);
    if (declared) declareZipSizes(path, *declared);
  };
}

// Cut short (seen while the headers are read), or its data corrupted half-way (seen only while
// unpacking, after the first file was staged).
Make damaged(const char* format, const std::string& options, bool cut) {
  return [=](const std::string& path) {
    buildArchive(path, format, {{"first.txt", "first"}, {"big.bin", noise(256 * 1024)}}, options);
    std::string bytes = readBytes(path);
    if (cut) {
      bytes.resize(150 * 1024);
    } else {
      for (size_t k = 0; k < 64; ++k) bytes[bytes.size() / 2 + k] ^= 0x5A;
    }
    writeBytes(path, bytes);
  };
}

const std::vector<Item> kClimbing = {{"../evil.txt", "x"},      {"docs/../../up.txt", "x"},
                                     {"..\\..\\back.txt", "x"}, {"a\\..\\..\\slant.txt", "x"},
                                     {"/abs.txt", "x"},         {"C:\\drive.txt", "x"},
                                     {"C:relative.txt", "x"},   {"dir\\sub\\good.txt", "good"}};
const std::vector<Item> kOddNames = {{".hidden", "x"},
                                     {"__MACOSX/._plane.bmp", "x"},
                                     {"..b/..c.txt", "x"},
                                     {"bad|name.txt", "x"},
                                     {"trailing.", "x"},
                                     {"tab\there", "x"},
                                     {"CON", "x"},
                                     {"con.txt", "x"},
                                     {"NUL.dat", "x"},
                                     {"sub/Aux.cfg", "x"},
                                     {"COM1.bin", "x"},
                                     {"lpt1.TXT", "x"},
                                     {"COM10.txt", "ten"},
                                     {"folder/", "x"},
                                     // Folders are held to the same rules as files.
                                     {".git/config", "x"},
                                     {"bad|dir/a.txt", "x"},
                                     {"ok/CON/a.txt", "x"},
                                     {"dot./a.txt", "x"}};
const std::vector<std::string> kOddNamesSaying = {
    left(".hidden", kHidden),       left("__MACOSX/._plane.bmp", kHidden),
    left("..b/..c.txt", kHidden),   left("bad|name.txt", kBadName),
    left("trailing.", kBadName),    left("tab\there", kBadName),
    left("CON", kBadName),          left("con.txt", kBadName),
    left("NUL.dat", kBadName),      left("sub/Aux.cfg", kBadName),
    left("COM1.bin", kBadName),     left("lpt1.TXT", kBadName),
    left(".git/config", kHidden),   left("bad|dir/a.txt", kBadName),
    left("ok/CON/a.txt", kBadName), left("dot./a.txt", kBadName)};
const std::vector<Item> kLinks = {{"link.cfg", "", Item::Symlink, "/etc/passwd"},
                                  {"up.cfg", "", Item::Symlink, "../../outside"},
                                  {"good.txt", "good"}};

template <class T>
std::vector<T> plus(std::vector<T> a, const std::vector<T>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Entries left out, the rest unpacked: a warning that lists them.
Crafted leftOut(const char* name, const char* file, Make make, std::vector<std::string> area,
                std::vector<std::string> saying) {
  return {name, file, std::move(make), std::move(area), std::move(saying), MsgIcon::Warning};
}
// Refused whole: the area left as it was.
Crafted refused(const char* name, const char* file, Make make, std::vector<std::string> saying) {
  saying.push_back("\rThe assembly area was left as it was.");
  return {name, file, std::move(make), kKept, std::move(saying), MsgIcon::Critical};
}

const Make kText = [](const std::string& path) { writeBytes(path, "just notes\n"); };

const std::vector<Crafted> kCrafted = {
    // The zip reader turns backslashes into slashes.
    leftOut(
        "ClimbingZip", "climbing.zip", packed("zip", kClimbing), {"dir", "keep.txt"},
        {"\"climbing.zip\" was unpacked into the assembly area.\rThese entries were left out:",
         left("../evil.txt", kOut), left("docs/../../up.txt", kOut), left("../../back.txt", kOut),
         left("a/../../slant.txt", kOut), left("/abs.txt", kAbsolute),
         left("C:/drive.txt", kAbsolute), left("C:relative.txt", kAbsolute)}),
    leftOut(
        "Climbing7z", "climbing.7z", packed("7zip", kClimbing), {"dir", "keep.txt"},
        {left("../evil.txt", kOut), left("docs/../../up.txt", kOut), left("..\\..\\back.txt", kOut),
         left("a\\..\\..\\slant.txt", kOut), left("/abs.txt", kAbsolute),
         left("C:\\drive.txt", kAbsolute), left("C:relative.txt", kAbsolute)}),
    leftOut("OddNamesZip", "names.zip", packed("zip", kOddNames), {"COM10.txt", "keep.txt"},
            kOddNamesSaying),
    // A file entry that names a folder has no name of its own (zip makes it a folder).
    leftOut("OddNames7z", "names.7z", packed("7zip", kOddNames), {"COM10.txt", "keep.txt"},
            plus<std::string>(kOddNamesSaying, {left("folder/", "no file name")})),
    leftOut("LinksZip", "links.zip", packed("zip", kLinks), {"good.txt", "keep.txt"},
            {left("link.cfg", "link"), left("up.cfg", "link")}),
    leftOut("LinksAndDevices7z", "links.7z",
            packed("7zip",
                   plus<Item>(kLinks, {{"dev/tty", "", Item::Device}, {"pipe", "", Item::Pipe}})),
            {"good.txt", "keep.txt"},
            {left("link.cfg", "link"), left("up.cfg", "link"),
             left("dev/tty", "device, pipe or socket"), left("pipe", "device, pipe or socket")}),
    leftOut("HardAndSymbolicLinksRar", "links.rar",
            [](const std::string& path) {
              buildRar5(path, {{"good.txt", "good"},
                               {"hard.txt", "", Item::File, "good.txt"},
                               {"sym.cfg", "", Item::Symlink, "/etc/passwd"}});
            },
            {"good.txt", "keep.txt"}, {left("hard.txt", "link"), left("sym.cfg", "link")}),
    leftOut("NothingLeftToUnpack", "bad.zip", packed("zip", {{"../a.txt", "x"}, {"CON", "x"}}),
            kKept, {"\"bad.zip\" holds no file that could be unpacked.", left("../a.txt", kOut)}),

    refused(
        "PacksTooWell", "bomb.zip", zeros(1, std::nullopt),
        {"\"bomb.zip\" would unpack to 3.0 MiB from ", " KiB, more than 200 times its own size."}),
    refused("DeclaresTooMuch", "huge.zip", zeros(2, 3u << 30),
            {"\"huge.zip\" would unpack to 6.0 GiB, more than the 4.0 GiB Orvex unpacks at most."}),
    // Stopped on the bytes really written.
    refused("UnderstatesItsSizes", "liar.zip", zeros(1, 100),
            {"\"liar.zip\" unpacks to more than 1.0 MiB, far more than its headers declare."}),
    refused("TooManyEntries", "many.zip",
            [](const std::string& path) {
              std::vector<Item> items(120'000);
              for (size_t k = 0; k < items.size(); ++k) items[k].path = "f" + std::to_string(k);
              buildArchive(path, "zip", items, "zip:compression=store");  // quick to write
            },
            {"\"many.zip\" holds more than 100000 entries, more than Orvex unpacks."}),
    refused("CutShortZip", "cut.zip", damaged("zip", "", true),
            {"\"cut.zip\" is damaged and could not be unpacked:"}),
    refused("CutShort7z", "cut.7z", damaged("7zip", "", true),
            {"\"cut.7z\" is damaged and could not be unpacked:"}),
    refused("CorruptDeflated", "bad.zip", damaged("zip", "", false),
            {"\"bad.zip\" is damaged and could not be unpacked:"}),
    refused("CorruptStored", "bad.zip", damaged("zip", "zip:compression=store", false),
            {"\"bad.zip\" is damaged and could not be unpacked:"}),
    refused("Corrupt7z", "bad.7z", damaged("7zip", "", false),
            {"\"bad.7z\" is damaged and could not be unpacked:"}),
    refused("TextNamedDotZip", ".zip", kText,
            {"\".zip\" is not a zip, 7z or rar archive that Orvex can read:"}),
    refused("TextNamedXZip", "x.zip", kText,
            {"\"x.zip\" is not a zip, 7z or rar archive that Orvex can read:"}),
    refused("FolderNamedZip", "folder.zip",
            [](const std::string& path) { stdfs::create_directory(path); },
            {"\"folder.zip\" could not be opened:\rit is not a file"}),
    refused("Missing", "gone.zip", [](const std::string&) {},
            {"\"gone.zip\" could not be opened:"}),
    refused("ZipCrypto", "locked.zip",
            packed("zip", {{"plane.mdl", "secret"}}, "zip:encryption=zipcrypt", "pw"),
            {"\"locked.zip\" is protected by a password"}),
    refused("Aes256", "locked.zip",
            packed("zip", {{"plane.mdl", "secret"}}, "zip:encryption=aes256", "pw"),
            {"\"locked.zip\" is protected by a password"}),
};

class CraftedArchives : public OpenArchiveTest, public ::testing::WithParamInterface<size_t> {};

TEST_P(CraftedArchives, AreRefusedOrTheirBadEntriesLeftOutAndNothingElseChanges) {
  const Crafted& row = kCrafted[GetParam()];
  Orvex& app = startSet();
  write(kArea + "\\keep.txt", "mine");
  const std::string archive = host("C:\\Downloads\\") + row.file;
  row.make(archive);
  const std::map<std::string, std::string> outside = treeOf(root_, "Orvex/Assembly");

  if (GetParam() % 2 == 0) {
    tk_.chosenFiles.push_back(archive);
    app.frm.cmdOpenArchive.click();
  } else {
    app.frm.onArchiveDrop(archive);
  }

  EXPECT_EQ(treeOf(root_, "Orvex/Assembly"), outside);
  EXPECT_EQ(names(kArea), row.area);
  EXPECT_EQ(read(kArea + "\\keep.txt"), "mine");
  const ShownBox& box = onlyBox();
  EXPECT_EQ(box.icon, row.icon);
  for (const std::string& part : row.saying)
    EXPECT_NE(box.text.find(part), std::string::npos) << part << "\n" << box.text;
  EXPECT_EQ(app.frm.Timer1.running(), row.area != kKept);
  EXPECT_FALSE(app.frm.prgExtract.visible());
  EXPECT_EQ(app.frm.mousePointer(), MousePointer::Default);
  EXPECT_FALSE(app.busy());
}

INSTANTIATE_TEST_SUITE_P(Table, CraftedArchives, ::testing::Range(size_t(0), kCrafted.size()),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                           return std::string(kCrafted[info.param].name);
                         });

TEST_F(OpenArchiveTest, RefusedWithoutASimulatorAndWhileBusy) {
  Orvex& app = startSet();
  const std::string archive = pack("a.zip", {{"a.cfg", "a"}, {"b.cfg", noise(4096)}});

  app.state.FSim = "SELECT FS98 Directory";
  tk_.chosenFiles.push_back(archive);
  app.frm.cmdOpenArchive.click();
  app.frm.onArchiveDrop(archive);
  EXPECT_EQ(tk_.beeps, 2);
  EXPECT_TRUE(tk_.fileDialogs.empty());
  EXPECT_TRUE(names(kArea).empty());

  // While unpacking, clicks and another drop are refused.
  app.state.FSim = "C:\\FS98";
  tk_.beeps = 0;
  tk_.onEvents = [&] {
    app.frm.cmdOpenArchive.click();
    app.frm.onArchiveDrop(archive);
    app.frm.cmdRefresh.click();
  };
  app.frm.cmdOpenArchive.click();
  tk_.onEvents = nullptr;
  ASSERT_EQ(tk_.fileDialogs.size(), 1u);
  EXPECT_EQ(tk_.fileDialogs[0], std::make_pair(std::string("Open Archive"),
                                               std::string("Archives (*.zip *.7z *.rar)")));
  EXPECT_GT(tk_.beeps, 0);
  EXPECT_EQ(tk_.beeps % 3, 0);
  EXPECT_EQ(names(kArea), (std::vector<std::string>{"a.cfg", "b.cfg"}));
  EXPECT_TRUE(tk_.boxes.empty());

  // Cancelling the dialog does nothing.
  app.frm.Timer1.setTimerEnabled(false);
  app.frm.cmdOpenArchive.click();
  EXPECT_FALSE(app.frm.Timer1.running());
  EXPECT_TRUE(tk_.boxes.empty());
}

TEST(ArchivePlanTest, UnpackBudget) {
  EXPECT_EQ(unpackBudget(0), kRatioExemptBytes);
  EXPECT_EQ(unpackBudget(10 << 20), uint64_t(2000) << 20);
  EXPECT_EQ(unpackBudget(uint64_t(1) << 40), kMaxUnpackedBytes);
}

TEST_F(OpenArchiveTest, ReaderWritesOnlyNewFilesAndNeverThroughALink) {
  makeDir("C:\\Downloads");
  const std::string archive = pack("two.zip", {{"a.txt", "aaa"}, {"b.txt", "bbb"}});
  makeDir("C:\\Out");
  write("C:\\Out\\a.txt", "already here");
  stdfs::create_symlink(host("C:\\Elsewhere.txt"), host("C:\\Out\\b.txt"));
  for (const char* name : {"a.txt", "b.txt"}) {
    try {
      reader_.extract(
          archive,
          [&](const ArchiveEntry& e) {
            return e.path == name ? host("C:\\Out\\" + e.path) : std::string();
          },
          [](uint64_t) { return true; });
      ADD_FAILURE() << name;
    } catch (const FileError& e) {
      EXPECT_EQ(e.number(), err::PathFileAccess) << name;
    }
  }
  EXPECT_EQ(read("C:\\Out\\a.txt"), "already here");
  EXPECT_FALSE(exists("C:\\Elsewhere.txt"));
}

TEST_F(OpenArchiveTest, MoveFileRenamesUnderDosRules) {
  write("C:\\A\\one.txt", "1");
  write("C:\\A\\two.txt", "2");
  makeDir("C:\\B\\Folder");
  fs_->moveFile("C:\\A\\ONE.TXT", "C:\\B\\one.txt");
  EXPECT_EQ(read("C:\\B\\one.txt"), "1");
  EXPECT_FALSE(exists("C:\\A\\one.txt"));
  fs_->setReadOnly("C:\\B\\one.txt", true);
  auto failsWith = [&](const std::string& from, const std::string& to) {
    try {
      fs_->moveFile(from, to);
    } catch (const FileError& e) {
      return e.number();
    }
    return 0;
  };
  EXPECT_EQ(failsWith("C:\\A\\two.txt", "C:\\B\\one.txt"), err::PathFileAccess);
  EXPECT_EQ(failsWith("C:\\A\\two.txt", "C:\\B\\folder"), err::PathFileAccess);
  EXPECT_EQ(failsWith("C:\\A\\none.txt", "C:\\B\\x.txt"), err::FileNotFound);
  EXPECT_EQ(failsWith("C:\\A\\two.txt", "C:\\Nowhere\\x.txt"), err::PathNotFound);
  EXPECT_EQ(failsWith("C:\\A\\two.txt", "C:\\A\\TWO.TXT"), 0);
  EXPECT_EQ(read("C:\\A\\two.txt"), "2");
}

}  // namespace
}  // namespace orvex::test

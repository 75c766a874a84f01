// Opening a downloaded archive directly: real zip and 7z files unpacked flat into the
// assembly area, unsafe and clashing entries left out and listed, damaged, locked and absurd
// archives refused with the area left as it was.
#include <filesystem>

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

  // Every file below the sandbox, by host path relative to it.
  std::vector<std::string> allFiles() const {
    std::vector<std::string> files;
    for (auto& e : stdfs::recursive_directory_iterator(root_))
      if (!e.is_directory()) files.push_back(stdfs::relative(e.path(), root_).string());
    std::sort(files.begin(), files.end());
    return files;
  }

  // The one box shown, which must carry the feature's caption.
  const ShownBox& onlyBox() {
    EXPECT_EQ(tk_.boxes.size(), 1u);
    if (tk_.boxes.empty()) tk_.boxes.push_back({});
    EXPECT_EQ(tk_.boxes.back().caption, "Open Archive");
    return tk_.boxes.back();
  }

  // The archive was refused: only the expected message, and the area exactly as before.
  void expectRefused(Orvex& app, const std::vector<std::string>& before,
                     const std::string& saying) {
    const ShownBox& box = onlyBox();
    EXPECT_NE(box.text.find(saying), std::string::npos) << box.text;
    EXPECT_NE(box.text.find("The assembly area was left as it was."), std::string::npos);
    EXPECT_EQ(box.icon, MsgIcon::Critical);
    EXPECT_EQ(names(kArea), before);
    EXPECT_FALSE(app.frm.Timer1.running());
    EXPECT_FALSE(app.frm.prgExtract.visible());
    EXPECT_FALSE(app.busy());
  }

  LibArchiveReader reader_;
};

class OpenArchiveFormats : public OpenArchiveTest,
                           public ::testing::WithParamInterface<const char*> {};

TEST_P(OpenArchiveFormats, UnpacksFlatThenRefreshBlinksAndFindsTheAircraft) {
  Orvex& app = startSet();
  copyFixture("aircraft/missing_keys_camera_first.cfg", "C:\\Downloads\\aircraft.cfg");
  const std::string cfg = read("C:\\Downloads\\aircraft.cfg");
  const std::string model = noise(300 * 1024);
  const std::string archive = pack("hampden.pack",
                                   {{"Hampden/", "", Item::Folder},
                                    {"Hampden/Aircraft.cfg", cfg},
                                    {"Hampden/model/Hampden.mdl", model},
                                    {"Hampden/panel/Panel.cfg", "[Window00]"},
                                    {"Hampden/texture/", "", Item::Folder},
                                    {"Hampden/texture/Hampden_T.bmp", "BM"},
                                    {"ReadMe.txt", "Enjoy"}},
                                   GetParam());
  // What a run that was cut off left behind is cleared, not mixed in.
  write(kArea + "\\.orvex-extract\\old.bin");
  std::vector<int> shown;  // progress values seen while the window was pumped
  tk_.onEvents = [&] {
    EXPECT_TRUE(app.frm.prgExtract.visible());
    shown.push_back(app.frm.prgExtract.value());
  };

  app.openArchive(archive);

  EXPECT_TRUE(tk_.boxes.empty());
  EXPECT_EQ(names(kArea), (std::vector<std::string>{"Aircraft.cfg", "Hampden.mdl", "Hampden_T.bmp",
                                                    "Panel.cfg", "ReadMe.txt"}));
  EXPECT_EQ(read(kArea + "\\Aircraft.cfg"), cfg);
  EXPECT_EQ(read(kArea + "\\Hampden.mdl"), model);
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back(), 1000);
  EXPECT_FALSE(app.frm.prgExtract.visible());
  EXPECT_EQ(app.frm.Timer1.interval(), 1000);
  EXPECT_TRUE(app.frm.Timer1.running());
  EXPECT_TRUE(app.frm.cmdQuit.hasFocus());

  app.frm.Timer1.tick();
  EXPECT_FALSE(app.frm.cmdRefresh.visible());
  app.frm.cmdRefresh.setVisible(true);
  app.frm.cmdRefresh.click();
  EXPECT_EQ(app.state.AircraftData, 1);
  EXPECT_FALSE(app.frm.Timer1.running());
}

TEST_P(OpenArchiveFormats, UnsafeEntriesAreLeftOutAndListedInOneMessage) {
  Orvex& app = startSet();
  const std::string archive = pack("mixed.pack",
                                   {{"../evil.txt", "x"},
                                    {"/abs.txt", "x"},
                                    {"docs/../../up.txt", "x"},
                                    {"link.cfg", "", Item::Symlink, "/etc/passwd"},
                                    {".hidden", "x"},
                                    {"__MACOSX/._plane.bmp", "x"},
                                    {"bad|name.txt", "x"},
                                    {"con.txt", "x"},
                                    {"deep/good.txt", "good"}},
                                   GetParam());
  const std::vector<std::string> before = allFiles();

  app.openArchive(archive);

  std::vector<std::string> after = before;
  after.push_back("Orvex/Assembly/good.txt");
  std::sort(after.begin(), after.end());
  EXPECT_EQ(allFiles(), after);
  const ShownBox& box = onlyBox();
  EXPECT_EQ(box.icon, MsgIcon::Warning);
  for (const char* line :
       {"\"mixed.pack\" was unpacked into the assembly area.\rThese entries were left out:",
        "../evil.txt (path leads out of its folder)", "/abs.txt (absolute path)",
        "docs/../../up.txt (path leads out of its folder)", "link.cfg (link)",
        ".hidden (hidden file)", "__MACOSX/._plane.bmp (hidden file)",
        "bad|name.txt (a name a DOS file cannot have)", "con.txt (a name a DOS file cannot have)"})
    EXPECT_NE(box.text.find(line), std::string::npos) << line << "\n" << box.text;
  EXPECT_TRUE(app.frm.Timer1.running());
}

INSTANTIATE_TEST_SUITE_P(ZipAnd7z, OpenArchiveFormats, ::testing::Values("zip", "7zip"));

TEST_F(OpenArchiveTest, SameNamesKeepTheFirstAndOldFilesAreReplacedWithNotice) {
  Orvex& app = startSet();
  write(kArea + "\\readme.txt", "old");
  fs_->setReadOnly(kArea + "\\readme.txt", true);
  write(kArea + "\\Texture\\keep.bmp", "mine");
  const std::string archive = pack("liveries.zip", {{"Texture.1/plane.bmp", "one"},
                                                    {"Texture.2/PLANE.BMP", "two"},
                                                    {"Texture.3/plane.bmp", "three"},
                                                    {"readme.txt", "new"},
                                                    {"extra/texture", "a file"}});
  app.openArchive(archive);

  EXPECT_EQ(names(kArea), (std::vector<std::string>{"Texture", "plane.bmp", "readme.txt"}));
  EXPECT_EQ(read(kArea + "\\plane.bmp"), "one");
  EXPECT_EQ(read(kArea + "\\readme.txt"), "new");
  EXPECT_EQ(read(kArea + "\\Texture\\keep.bmp"), "mine");
  const ShownBox& box = onlyBox();
  for (const char* line :
       {"extra/texture (a folder of that name is in the assembly area)",
        "These files have the same name; the first of each was kept:\r   plane.bmp: kept "
        "Texture.1/plane.bmp, left out Texture.2/PLANE.BMP, Texture.3/plane.bmp",
        "These files replaced files of the same name in the assembly area:\r   readme.txt"})
    EXPECT_NE(box.text.find(line), std::string::npos) << line << "\n" << box.text;

  // Only a replaced file to tell of: an information, not a warning.
  tk_.boxes.clear();
  app.openArchive(pack("again.zip", {{"readme.txt", "newer"}}));
  EXPECT_EQ(onlyBox().icon, MsgIcon::Information);
  EXPECT_EQ(read(kArea + "\\readme.txt"), "newer");
}

TEST_F(OpenArchiveTest, DamagedAndForeignFilesLeaveTheAreaAsItWas) {
  Orvex& app = startSet();
  write(kArea + "\\keep.txt", "mine");
  const std::vector<std::string> before = {"keep.txt"};
  const std::vector<Item> items = {{"first.txt", "first"}, {"big.bin", noise(256 * 1024)}};

  // Cut short: seen while the headers are read.
  const std::string cut = pack("cut.zip", items);
  writeBytes(cut, readBytes(cut).substr(0, 150 * 1024));
  app.openArchive(cut);
  expectRefused(app, before, "\"cut.zip\" is damaged and could not be unpacked:");

  // Corrupt data: seen only while unpacking, after the first file was already staged.
  for (auto [format, options] :
       {std::pair{"zip", ""}, std::pair{"zip", "zip:compression=store"}, std::pair{"7zip", ""}}) {
    tk_.boxes.clear();
    const std::string bad = pack("bad.pack", items, format, options);
    std::string bytes = readBytes(bad);
    for (size_t k = 0; k < 64; ++k) bytes[bytes.size() / 2 + k] ^= 0x5A;
    writeBytes(bad, bytes);
    app.openArchive(bad);
    expectRefused(app, before, "\"bad.pack\" is damaged and could not be unpacked:");
  }

  tk_.boxes.clear();
  write("C:\\Downloads\\notes.zip", "just some notes, not an archive");
  app.openArchive(host("C:\\Downloads\\notes.zip"));
  expectRefused(app, before, "\"notes.zip\" is not a zip, 7z or rar archive");

  tk_.boxes.clear();
  app.openArchive(host("C:\\Downloads\\gone.zip"));
  expectRefused(app, before, "\"gone.zip\" could not be opened:");
}

TEST_F(OpenArchiveTest, PasswordProtectedArchivesAreRefused) {
  Orvex& app = startSet();
  for (const char* method : {"zip:encryption=zipcrypt", "zip:encryption=aes256"}) {
    tk_.boxes.clear();
    app.openArchive(pack("locked.zip", {{"plane.mdl", "secret"}}, "zip", method, "pw"));
    expectRefused(app, {}, "\"locked.zip\" is protected by a password");
  }
}

TEST_F(OpenArchiveTest, AbsurdArchivesAreRefusedBeforeAnythingIsWritten) {
  Orvex& app = startSet();
  const std::vector<std::string> before;
  const std::string zeros(3 << 20, '\0');

  app.openArchive(pack("bomb.zip", {{"zeros.bin", zeros}}));
  expectRefused(app, before, "more than 200 times its own size");

  tk_.boxes.clear();
  const std::string huge = pack("huge.zip", {{"a.bin", zeros}, {"b.bin", zeros}});
  declareZipSizes(huge, 3u << 30);
  app.openArchive(huge);
  expectRefused(app, before, "would unpack to 6.0 GiB, more than the 4.0 GiB");

  // Headers that understate: stopped on the bytes really written.
  tk_.boxes.clear();
  const std::string liar = pack("liar.zip", {{"zeros.bin", zeros}});
  declareZipSizes(liar, 100);
  app.openArchive(liar);
  expectRefused(app, before, "far more than its headers declare");
}

TEST_F(OpenArchiveTest, TooManyEntriesAreRefused) {
  Orvex& app = startSet();
  std::vector<Item> items(kMaxArchiveEntries + 1);
  for (size_t k = 0; k < items.size(); ++k) items[k].path = "f" + std::to_string(k);
  app.openArchive(pack("many.zip", items));
  expectRefused(app, {}, "holds more than 100000 entries");
}

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

TEST(ArchivePlanTest, NamesAndLimits) {
  using Kind = ArchiveEntry::Kind;
  const std::vector<ArchiveEntry> entries = {
      {0, "C:x.txt", Kind::File, 1, false},       {1, "dir\\sub\\ok.txt", Kind::File, 5, false},
      {2, "dev/tty", Kind::Special, {}, false},   {3, "hard.txt", Kind::Link, {}, false},
      {4, "aux.c", Kind::File, 1, false},         {5, "trailing.", Kind::File, 1, false},
      {6, "tab\there", Kind::File, 1, false},     {7, "folder/", Kind::File, 1, false},
      {8, "..b/..c.txt", Kind::File, 1, false},   {9, "COM10.txt", Kind::File, 7, false},
      {10, "folder/", Kind::Directory, {}, false}};
  const ArchivePlan plan = planArchive(entries);
  ASSERT_EQ(plan.files.size(), 2u);
  EXPECT_EQ(plan.files[0].name, "ok.txt");
  EXPECT_EQ(plan.files[1].name, "COM10.txt");
  EXPECT_EQ(plan.declaredBytes, 12u);
  std::vector<SkipReason> reasons;
  for (const SkippedEntry& s : plan.skipped) reasons.push_back(s.reason);
  EXPECT_EQ(reasons,
            (std::vector<SkipReason>{SkipReason::AbsolutePath, SkipReason::Special,
                                     SkipReason::Link, SkipReason::BadName, SkipReason::BadName,
                                     SkipReason::BadName, SkipReason::NoName, SkipReason::Hidden}));

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

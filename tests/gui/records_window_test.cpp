// The preview window and the Installed tab through the real widgets: the preview's table read
// while it is up, then the install, its row on the Installed tab and its uninstall.
#include <gtest/gtest.h>

#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>

#include "gui_run.h"
#include "record/memory_record_store.h"

namespace orvex::test {
namespace {

QStringList column(QTreeWidget* table, int c) {
  QStringList out;
  for (int r = 0; r < table->topLevelItemCount(); ++r) out << table->topLevelItem(r)->text(c);
  return out;
}

class GuiRecords : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(run.layOutFs98({"Aircraft", "Gauges", "Sound", "Scenery"}));
    QFile sound(fs98("Sound/engine.wav"));
    sound.open(QIODevice::WriteOnly);
    sound.write("the simulator's own engine");
    sound.close();
    run.orvex->openRecordStore = [](const std::string&) {
      return std::make_unique<MemoryRecordStore>();
    };
    run.orvex->Form_Load();
    ASSERT_FALSE(run.orvex->ended());
  }

  QString fs98(const QString& relative) const { return run.fs98(relative); }

  void press(QWidget* parent, const char* name) {
    auto* button = parent->findChild<QAbstractButton*>(QString::fromLatin1(name));
    ASSERT_NE(button, nullptr) << name;
    button->click();
  }

  GuiRun run;
};

TEST_F(GuiRecords, APreviewShowsItsTableThenTheInstallComesOffTheInstalledTab) {
  run.writeFile(QStringLiteral("Assembly/engine.wav"), "a new engine");
  run.writeFile(QStringLiteral("Assembly/readme.txt"), "read me");
  run.writeFile(QStringLiteral("Assembly/view.jpg"), "a picture");
  press(run.window.get(), "cmdRefresh");
  press(run.window.get(), "optSound");

  // While the preview is up, its table is read and it is closed.
  QStringList files, targets, meanings;
  QTimer::singleShot(0, run.previewWindow.get(), [&] {
    auto* table = run.previewWindow->findChild<QTreeWidget*>(QStringLiteral("lvwPreview"));
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(table->isSortingEnabled());
    files = column(table, 0);
    targets = column(table, 2);
    meanings = column(table, 3);
    EXPECT_TRUE(run.previewWindow->windowTitle().contains(QStringLiteral("Yes")));
    press(run.previewWindow.get(), "cmdPreviewClose");
  });
  press(run.window.get(), "cmdSoundPreview");
  ASSERT_TRUE(processUntil([&] { return !files.isEmpty(); }));
  EXPECT_EQ(files, (QStringList{"engine.wav", "readme.txt", "view.jpg"}));
  EXPECT_EQ(targets, (QStringList{"C:\\FS98\\Sound\\engine.wav",
                                  "C:\\FS98\\Sound\\Documentation\\readme.txt", ""}));
  EXPECT_TRUE(meanings[0].startsWith(QStringLiteral("replaces"))) << meanings[0].toStdString();
  EXPECT_EQ(meanings[1], QStringLiteral("new"));
  EXPECT_EQ(meanings[2], QStringLiteral("left behind"));
  EXPECT_EQ(readHost(fs98("Sound/engine.wav")), "the simulator's own engine");

  press(run.window.get(), "cmdInstallSound");
  ASSERT_TRUE(processUntil([&] { return !run.orvex->busy(); }));
  EXPECT_EQ(readHost(fs98("Sound/engine.wav")), "a new engine");

  // The Installed tab works its list out when it is shown.
  auto* installs = run.widget<QTreeWidget>("lvwInstalled");
  EXPECT_EQ(installs->topLevelItemCount(), 0);
  run.widget<QTabWidget>("SSTab1")->setCurrentIndex(InstalledTab::kInstalledTab);
  ASSERT_EQ(installs->topLevelItemCount(), 1);
  EXPECT_EQ(installs->topLevelItem(0)->text(2), QStringLiteral("C:\\FS98\\Sound"));
  EXPECT_EQ(installs->topLevelItem(0)->text(5), QStringLiteral("as installed"));
  installs->setCurrentItem(installs->topLevelItem(0));
  EXPECT_EQ(run.widget<QTreeWidget>("lvwChanges")->topLevelItemCount(), 3);
  run.toolkit->answerNext(MsgAnswer::Yes);
  press(run.window.get(), "cmdUninstall");
  ASSERT_TRUE(processUntil([&] { return installs->topLevelItemCount() == 0; }));
  EXPECT_EQ(readHost(fs98("Sound/engine.wav")), "the simulator's own engine");
  EXPECT_FALSE(QFile::exists(fs98("Sound/Documentation")));
}

}  // namespace
}  // namespace orvex::test

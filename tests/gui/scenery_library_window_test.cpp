// The Scenery Library tab through the real widgets: each button works by the pointer, the space
// bar and a screen reader's press alike, a row tells a screen reader its problems, and a folder
// chosen with the tab's own directory lists becomes a new area.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QComboBox>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include "gui_run.h"
#include "record/memory_record_store.h"

namespace orvex::test {
namespace {

const QByteArray kList =
    "[Area.001]\r\nTitle=Lakeside Field\r\nLocal=Scenery\\Lakeside\r\nLayer=2\r\nActive=TRUE\r\n"
    "\r\n[Area.002]\r\nTitle=Gone Field\r\nLocal=Scenery\\Gone\r\nLayer=1\r\n";

struct Way {
  const char* name;
  void (*press)(QAbstractButton*);
};

const Way kWays[] = {
    {"pointer", [](QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }},
    {"space bar",
     [](QAbstractButton* b) {
       b->setFocus();
       QTest::keyClick(b, Qt::Key_Space);
     }},
    {"screen reader's press",
     [](QAbstractButton* b) {
       QAccessibleInterface* face = QAccessible::queryAccessibleInterface(b);
       ASSERT_TRUE(face && face->actionInterface());
       face->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
     }},
};

class GuiSceneryLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(run.layOutFs98({"Scenery/Lakeside", "Scenery/New Place"}));
    QFile(run.fs98(QStringLiteral("Scenery/Lakeside/lake.bgl"))).open(QIODevice::WriteOnly);
    QFile list(run.fs98(QStringLiteral("Scenery.cfg")));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write(kList);
    list.close();
    run.orvex->openRecordStore = [](const std::string&) {
      return std::make_unique<MemoryRecordStore>();
    };
    run.orvex->Form_Load();
    run.window->show();
    run.widget<QTabWidget>("SSTab1")->setCurrentIndex(SceneryLibrary::kSceneryLibraryTab);
    tree = run.widget<QTreeWidget>("lvwLibrary");
    ASSERT_EQ(tree->topLevelItemCount(), 2);
  }

  // The row of a title chosen with the arrow keys, as a keyboard user does.
  void chooseByKeyboard(const QString& title) {
    tree->setFocus();
    for (int k = 0; k < 4 && (!tree->currentItem() || tree->currentItem()->text(0) != title); ++k)
      QTest::keyClick(tree, Qt::Key_Down);
    ASSERT_TRUE(tree->currentItem() && tree->currentItem()->text(0) == title);
  }

  QAbstractButton* button(const char* name) { return run.widget<QPushButton>(name); }
  QByteArray list() const { return readHost(run.fs98(QStringLiteral("Scenery.cfg"))); }

  GuiRun run;
  QTreeWidget* tree = nullptr;
};

TEST_F(GuiSceneryLibrary, EveryButtonWorksByPointerKeyboardAndScreenReader) {
  for (const Way& way : kWays) {
    SCOPED_TRACE(way.name);
    chooseByKeyboard(QStringLiteral("Lakeside Field"));
    ASSERT_TRUE(button("cmdLibraryDisable")->isEnabled());
    EXPECT_FALSE(button("cmdLibraryUp")->isEnabled());  // the top layer already
    way.press(button("cmdLibraryDisable"));
    ASSERT_TRUE(processUntil([&] { return list().contains("Layer=2\r\nActive=FALSE"); }));
    // Still chosen, and now it can only be enabled again.
    EXPECT_EQ(tree->currentItem()->text(0), QStringLiteral("Lakeside Field"));
    EXPECT_FALSE(button("cmdLibraryDisable")->isEnabled());
    way.press(button("cmdLibraryEnable"));
    ASSERT_TRUE(processUntil([&] { return list() == kList; }));
  }
  EXPECT_TRUE(run.toolkit->shownBoxes().empty());
  EXPECT_EQ(run.orvex->records()->installs().size(), 6u);
}

TEST_F(GuiSceneryLibrary, ARowTellsAScreenReaderItsProblems) {
  QAccessibleInterface* table = QAccessible::queryAccessibleInterface(tree);
  ASSERT_TRUE(table && table->tableInterface());
  QAccessibleInterface* gone = table->tableInterface()->cellAt(1, 0);
  ASSERT_NE(gone, nullptr);
  const QString spoken = gone->text(QAccessible::Name);
  EXPECT_TRUE(spoken.startsWith(QStringLiteral("Gone Field. Folder: C:\\FS98\\Scenery\\Gone.")))
      << spoken.toStdString();
  EXPECT_TRUE(spoken.endsWith(
      QStringLiteral("Problems: The folder C:\\FS98\\Scenery\\Gone does not exist.")))
      << spoken.toStdString();
}

TEST_F(GuiSceneryLibrary, AFolderChosenWithTheTabsListsIsAdded) {
  QTest::mouseClick(button("cmdLibraryAddFolder"), Qt::LeftButton);
  auto* frame = run.widget<QGroupBox>("frmLibraryFolder");
  ASSERT_TRUE(frame->isVisible());
  EXPECT_FALSE(button("cmdLibraryAddFolder")->isEnabled());
  auto* folders = run.widget<QListWidget>("dirLibrary");
  const QList<QListWidgetItem*> found =
      folders->findItems(QStringLiteral("New Place"), Qt::MatchEndsWith);
  ASSERT_EQ(found.size(), 1);
  folders->setFocus();
  folders->setCurrentItem(found[0]);
  QTest::keyClick(folders, Qt::Key_Return);
  ASSERT_TRUE(processUntil(
      [&] { return run.orvex->frm.dirLibrary.path() == "C:\\FS98\\Scenery\\New Place"; }));
  QTest::mouseClick(button("cmdLibraryFolderAdd"), Qt::LeftButton);
  ASSERT_TRUE(processUntil([&] { return !frame->isVisible(); }));
  EXPECT_EQ(list(), kList +
                        " \r\n[Area.003]\r\nTitle=New Place\r\nLocal=Scenery\\New Place\r\n"
                        "Active=TRUE\r\nLayer=3\r\n");
  EXPECT_EQ(tree->topLevelItem(0)->text(0), QStringLiteral("New Place"));
}

}  // namespace
}  // namespace orvex::test

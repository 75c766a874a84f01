// Choosing a simulator and pointing it at its root directory with the real widgets: the
// option button, the directory list and Select; the settings file holds the choice at once.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "gui_run.h"

namespace orvex::test {
namespace {

// Opens the row with the given text in a directory list, as Return or a double click does.
bool open(GuiRun& run, QListWidget* list, const QString& row, const std::string& expected) {
  int at = -1;
  for (int i = 0; i < list->count(); ++i)
    if (list->item(i)->text().trimmed() == row) at = i;
  if (at < 0) return false;
  list->setCurrentRow(at);
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QCoreApplication::sendEvent(list, &press);
  return processUntil([&] { return run.orvex->frm.Dir1.path() == expected; });
}

TEST(GuiBrowser, ClickASimulatorBrowseToItsRootAndSelect) {
  GuiRun run;
  QDir(run.tmp.path()).mkpath("Games/CFS/Aircraft");
  QFile(run.tmp.path() + "/Games/CFS/Combatfs.exe").open(QIODevice::WriteOnly);
  run.toolkit->answerNext(MsgAnswer::OK);  // first run: no settings file yet
  run.orvex->Form_Load();

  auto* cfs = run.widget<QRadioButton>("optCFS");
  ASSERT_NE(cfs, nullptr);
  cfs->click();
  EXPECT_TRUE(run.orvex->frm.optCFS.value());
  EXPECT_EQ(run.orvex->state.FlightSim, "CFS");
  EXPECT_EQ(run.widget<QPushButton>("cmdSetDirectories")->text(), "Select CFS Directory");

  run.widget<QPushButton>("cmdSetDirectories")->click();
  auto* dir = run.widget<QListWidget>("Dir1");
  ASSERT_FALSE(dir->isHidden());
  EXPECT_EQ(run.orvex->frm.Dir1.path(), "C:\\");
  ASSERT_TRUE(open(run, dir, "Games", "C:\\Games"));
  ASSERT_TRUE(open(run, dir, "CFS", "C:\\Games\\CFS"));

  run.widget<QPushButton>("cmdSelect")->click();
  EXPECT_TRUE(run.widget<QWidget>("frmDirectories")->isHidden());
  EXPECT_EQ(run.widget<QLabel>("labLocation")->text(), "C:\\Games\\CFS");
  EXPECT_EQ(run.widget<QPushButton>("cmdSetDirectories")->text(), "CFS Directory");
  QFile cfg(run.host("Orvex.cfg"));
  ASSERT_TRUE(cfg.open(QIODevice::ReadOnly));
  EXPECT_EQ(
      cfg.readAll(),
      QByteArray("\"Select FS98 Directory\"\r\n\"Select FS2000 Directory\"\r\n"
                 "\"C:\\Games\\CFS\"\r\n\"Select CFS2 Directory\"\r\n\"\"\r\n\"CFS\"\r\n0\r\n"));
}

}  // namespace
}  // namespace orvex::test

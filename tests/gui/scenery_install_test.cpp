// A scenery installed through the real window: its name typed, the main scenery directory
// chosen, Install clicked, and the simulator's scenery list extended by one area.
#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "gui_run.h"
#include "support/fixtures.h"

namespace orvex::test {
namespace {

class GuiScenery : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(run.layOutFs98({"Aircraft", "Gauges", "Sound", "Scenery"}));
    run.orvex->Form_Load();
    ASSERT_FALSE(run.orvex->ended());
  }

  QString fs98(const QString& relative) const { return run.fs98(relative); }

  GuiRun run;
};

TEST_F(GuiScenery, InstallsATypedSceneryIntoTheMainSceneryDirectory) {
  QFile real(QString::fromStdString(fixturePath("scenery/scenery_crlf.cfg")));
  ASSERT_TRUE(real.open(QIODevice::ReadOnly));
  const QByteArray list = real.readAll();
  {
    QFile cfg(fs98(QStringLiteral("Scenery.cfg")));
    ASSERT_TRUE(cfg.open(QIODevice::WriteOnly));
    cfg.write(list);
  }
  run.writeFile(QStringLiteral("Assembly/alps.bgl"), "bgl");
  run.writeFile(QStringLiteral("Assembly/snow.r8"), "r8");
  run.writeFile(QStringLiteral("Assembly/readme.txt"), "read me");

  run.widget<QPushButton>("cmdRefresh")->click();
  ASSERT_EQ(run.orvex->state.SceneryData, 1);
  ASSERT_FALSE(run.widget<QWidget>("frmScenery")->isHidden());

  auto* name = run.widget<QLineEdit>("txtSceneryName");
  ASSERT_NE(name, nullptr);
  name->setFocus();
  QTest::keyClicks(name, QStringLiteral("Swiss Alps"));
  EXPECT_EQ(run.orvex->frm.txtSceneryName.text(), "Swiss Alps");
  EXPECT_EQ(run.orvex->frm.labSceneryDir.caption(),
            "Install to: \rC:\\FS98 \\Scenery \\Swiss Alps");

  auto* main = run.widget<QRadioButton>("optSceneryDefault");
  ASSERT_EQ(main->text(), QStringLiteral("Install to Main Scenery Directory"));
  QTest::mouseClick(main, Qt::LeftButton);
  ASSERT_TRUE(run.orvex->frm.optSceneryDefault.value());
  EXPECT_FALSE(run.widget<QWidget>("labSceneryDir")->isHidden());

  auto* install = run.widget<QPushButton>("Command1");
  ASSERT_EQ(install->text(), QStringLiteral("Install"));
  const size_t boxes = run.toolkit->shownBoxes().size();
  run.toolkit->answerNext(MsgAnswer::OK);
  QTest::mouseClick(install, Qt::LeftButton);
  ASSERT_TRUE(processUntil([&] { return !run.orvex->busy(); }));

  ASSERT_EQ(run.toolkit->shownBoxes().size(), boxes + 1);
  EXPECT_EQ(run.lastBox().caption, "Success!");
  EXPECT_EQ(run.lastBox().text, "Scenery Files Created Successfully!");
  EXPECT_EQ(run.lastBox().answer, MsgAnswer::OK);

  EXPECT_EQ(readHost(fs98(QStringLiteral("Scenery/Swiss Alps/Scenery/alps.bgl"))), "bgl");
  EXPECT_EQ(readHost(fs98(QStringLiteral("Scenery/Swiss Alps/Texture/snow.r8"))), "r8");
  EXPECT_EQ(readHost(fs98(QStringLiteral("Scenery/Swiss Alps/Unknown/readme.txt"))), "read me");
  EXPECT_TRUE(QDir(run.host(QStringLiteral("Assembly")))
                  .entryList(QDir::AllEntries | QDir::NoDotAndDotDot)
                  .isEmpty());
  // The list's highest area and layer is 60.
  EXPECT_EQ(readHost(fs98(QStringLiteral("Scenery.cfg"))),
            list +
                " \r\n[Area.061]\r\nTitle=Swiss Alps\r\nLocal=SCENERY\\Swiss Alps\\Scenery\r\n"
                "Active=TRUE\r\nLayer=61\r\n");
  EXPECT_EQ(readHost(fs98(QStringLiteral("SceneryCfg.bku"))), list);

  EXPECT_TRUE(name->text().isEmpty());
  EXPECT_TRUE(run.widget<QWidget>("frmScenery")->isHidden());
  EXPECT_FALSE(run.copyWindow->isVisible());
  EXPECT_EQ(run.orvex->frm.SSTab1.tab(), 0);
}

}  // namespace
}  // namespace orvex::test

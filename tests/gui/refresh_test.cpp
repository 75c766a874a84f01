// The real Refresh button on an aircraft in the assembly area: the Aircraft tab comes to the
// front, the install button names the aircraft, and the preview shows its pictures.
#include <gtest/gtest.h>

#include <QImage>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>

#include "gui_run.h"
#include "qt/picture_view.h"

namespace orvex::test {
namespace {

void leftClick(QWidget* w) {
  const QPoint centre = w->rect().center();
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent event(type, centre, w->mapToGlobal(centre), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(w, &event);
  }
}

TEST(GuiRefresh, AnAircraftOpensItsTabWithTitleAndPictures) {
  GuiRun run;
  QDir(run.tmp.path()).mkpath(QStringLiteral("FS98/Aircraft"));
  QFile check(run.tmp.path() + QStringLiteral("/FS98/Fltsim98.cfg"));
  ASSERT_TRUE(check.open(QIODevice::WriteOnly));
  check.close();
  run.writeFile(QStringLiteral("Orvex.cfg"),
                "\"C:\\FS98\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"FS98\"\r\n1\r\n");
  run.orvex->Form_Load();
  ASSERT_FALSE(run.orvex->ended());

  run.writeFile(QStringLiteral("Assembly/Aircraft.cfg"),
                "[fltsim.0]\r\ntitle=Test Spitfire Mk.IX\r\nmodel=\r\npanel=\r\nsound=\r\n"
                "texture=\r\n\r\n[General]\r\natc_type=Spitfire\r\n");
  run.writeFile(QStringLiteral("Assembly/Model.cfg"), "[models]\r\nnormal=spitfire\r\n");
  run.writeFile(QStringLiteral("Assembly/Panel.cfg"), "[Window Titles]\r\nWindow00=Main\r\n");
  run.writeFile(QStringLiteral("Assembly/sound.cfg"), "[FLTSIM]\r\n");
  QImage first(200, 150, QImage::Format_RGB32);
  first.fill(Qt::darkGreen);
  ASSERT_TRUE(first.save(run.host(QStringLiteral("Assembly/a_side.jpg")), "JPG"));
  QImage second(120, 90, QImage::Format_RGB32);
  second.fill(Qt::darkBlue);
  ASSERT_TRUE(second.save(run.host(QStringLiteral("Assembly/b_top.jpg")), "JPG"));

  auto* tabs = run.widget<QTabWidget>("SSTab1");
  ASSERT_NE(tabs, nullptr);
  run.orvex->frm.SSTab1.setTab(3);
  ASSERT_EQ(tabs->currentIndex(), 3);

  auto* refresh = run.widget<QPushButton>("cmdRefresh");
  ASSERT_NE(refresh, nullptr);
  refresh->click();

  EXPECT_TRUE(run.toolkit->shownBoxes().empty());
  EXPECT_EQ(tabs->currentIndex(), 0);
  auto* install = run.widget<QPushButton>("cmdInstall");
  ASSERT_NE(install, nullptr);
  EXPECT_FALSE(install->isHidden());
  EXPECT_TRUE(install->isEnabled());
  EXPECT_EQ(install->text(), QStringLiteral("Install Test Spitfire MkIX to FS98"));

  auto* preview = run.widget<PictureView>("Image4");
  ASSERT_NE(preview, nullptr);
  EXPECT_FALSE(preview->isHidden());
  EXPECT_EQ(preview->image().size(), first.size());
  EXPECT_TRUE(preview->note().isEmpty());
  EXPECT_TRUE(run.widget<PictureView>("Image1")->isHidden());

  // Two pictures: the arrow to the next one steps to the second.
  auto* next = run.widget<PictureView>("Image3");
  ASSERT_NE(next, nullptr);
  ASSERT_FALSE(next->isHidden());
  leftClick(next);
  EXPECT_EQ(preview->image().size(), second.size());
  EXPECT_EQ(run.orvex->frm.Image4.picture(), "C:\\Orvex\\Assembly\\b_top.jpg");
}

}  // namespace
}  // namespace orvex::test

// A whole aircraft install through the real window: Refresh, the install button, the
// question about an existing folder and the success message.
#include <gtest/gtest.h>

#include <QImage>
#include <QPushButton>
#include <QTabWidget>

#include "gui_run.h"

namespace orvex::test {
namespace {

TEST(GuiAircraftInstall, RefreshThenInstallMovesEveryFile) {
  GuiRun run;
  QDir sims(run.tmp.path());
  for (const char* d : {"FS2000/Aircraft/Spitfire", "FS2000/Gauges"}) sims.mkpath(d);
  QFile(run.tmp.path() + "/FS2000/FS2000.exe").open(QIODevice::WriteOnly);
  QFile::copy(QStringLiteral(ORVEX_RESOURCES_DIR "/FileCopy.avi"), run.host("FileCopy.avi"));
  run.writeFile("Orvex.cfg", "\"\"\r\n\"C:\\FS2000\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"FS2K\"\r\n1\r\n");
  run.orvex->Form_Load();
  ASSERT_FALSE(run.orvex->ended());

  run.writeFile("Assembly/Aircraft.cfg",
                "[fltsim.0]\r\ntitle=Spitfire\r\nmodel=\r\npanel=\r\nsound=\r\ntexture=Grey\r\n");
  run.writeFile("Assembly/Model.cfg", "[models]\r\n");
  run.writeFile("Assembly/spit.mdl", "mdl");
  run.writeFile("Assembly/Panel.cfg", "[Window00]\r\nfile=spitpanel.bmp\r\n");
  run.writeFile("Assembly/spitpanel.bmp", "bmp");
  run.writeFile("Assembly/sound.cfg", "[FLTSIM]\r\n");
  run.writeFile("Assembly/merlin.wav", "wav");
  run.writeFile("Assembly/camo.bmp", "bmp");
  run.writeFile("Assembly/spit.gau", "gau");
  QImage picture(64, 48, QImage::Format_RGB32);
  picture.fill(Qt::gray);
  ASSERT_TRUE(picture.save(run.host("Assembly/spit.jpg"), "JPG"));

  run.widget<QPushButton>("cmdRefresh")->click();
  auto* install = run.widget<QPushButton>("cmdInstall");
  ASSERT_FALSE(install->isHidden());
  EXPECT_EQ(install->text(), QStringLiteral("Install Spitfire to FS2K"));

  // The aircraft folder exists already: Yes, then the success message.
  run.toolkit->answerNext(MsgAnswer::Yes);
  run.toolkit->answerNext(MsgAnswer::OK);
  install->click();

  const auto& boxes = run.toolkit->shownBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].caption, "Aircraft Directory Error");
  EXPECT_EQ(boxes[1].caption, "Success!");
  EXPECT_EQ(boxes[1].text, "Aircraft Files Installed Successfully!");
  const QString plane = run.tmp.path() + "/FS2000/Aircraft/Spitfire";
  for (const char* f : {"/Aircraft.cfg", "/Model/Model.cfg", "/Model/spit.mdl", "/Panel/Panel.cfg",
                        "/Panel/spitpanel.bmp", "/Sound/sound.cfg", "/Sound/merlin.wav",
                        "/Texture.Grey/camo.bmp", "/Image/spit.jpg"})
    EXPECT_TRUE(QFile::exists(plane + f)) << f;
  EXPECT_TRUE(QFile::exists(run.tmp.path() + "/FS2000/Gauges/spit.gau"));
  EXPECT_TRUE(QDir(run.host("Assembly")).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty());
  EXPECT_TRUE(install->isHidden());
  EXPECT_FALSE(run.orvex->anim.visible());
  EXPECT_EQ(run.orvex->state.AircraftData, 0);
  EXPECT_FALSE(run.orvex->busy());
}

}  // namespace
}  // namespace orvex::test

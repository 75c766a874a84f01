// Archives opened on the real main window: dropped from a file manager or chosen with the
// button in the "Load WinZip:" frame, their files land in the assembly area in their folders
// and the Refresh button blinks.
#include <gtest/gtest.h>

#include <QDropEvent>
#include <QGroupBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include "gui_run.h"
#include "support/archive_builder.h"

namespace orvex::test {
namespace {

// Sends a drag of the files onto the window and, when it is taken, the drop; true when taken.
bool dropFiles(QWidget* window, const QStringList& files) {
  QMimeData data;
  QList<QUrl> urls;
  for (const QString& file : files) urls.push_back(QUrl::fromLocalFile(file));
  data.setUrls(urls);
  QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(window, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(window, &drop);
  return drop.isAccepted();
}

TEST(GuiOpenArchive, DroppedOrChosenArchivesAreUnpackedAndRefreshBlinks) {
  GuiRun run;
  QDir(run.tmp.path()).mkpath(QStringLiteral("FS98/Aircraft"));
  QDir(run.tmp.path()).mkpath(QStringLiteral("Downloads"));
  QFile check(run.tmp.path() + QStringLiteral("/FS98/Fltsim98.cfg"));
  ASSERT_TRUE(check.open(QIODevice::WriteOnly));
  check.close();
  run.writeFile(QStringLiteral("Orvex.cfg"),
                "\"C:\\FS98\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"FS98\"\r\n1\r\n");
  run.orvex->Form_Load();
  ASSERT_FALSE(run.orvex->ended());

  auto* frame = run.widget<QGroupBox>("frmWinZip");
  auto* open = run.widget<QPushButton>("cmdOpenArchive");
  auto* bar = run.widget<QProgressBar>("prgExtract");
  ASSERT_TRUE(frame && open && bar);
  EXPECT_EQ(open->parentWidget(), frame);
  EXPECT_TRUE(frame->rect().contains(open->geometry()));
  EXPECT_TRUE(frame->rect().contains(bar->geometry()));
  EXPECT_EQ(open->toolTip(), QStringLiteral(" Open a downloaded archive "));
  EXPECT_FALSE(open->icon().isNull());
  EXPECT_TRUE(bar->isHidden());

  const QString archive = run.tmp.path() + QStringLiteral("/Downloads/spitfire.zip");
  buildArchive(archive.toStdString(), "zip",
               {{"Spitfire/Aircraft.cfg", "[fltsim.0]\r\ntitle=Spitfire\r\n"},
                {"Spitfire/model/Spitfire.mdl", noise(200 * 1024)},
                {"Spitfire/texture/Spitfire_T.bmp", "BM"}});

  // Only one local archive at a time is taken.
  run.writeFile(QStringLiteral("notes.txt"), "notes");
  EXPECT_FALSE(dropFiles(run.window.get(), {run.host(QStringLiteral("notes.txt"))}));
  EXPECT_FALSE(dropFiles(run.window.get(), {archive, archive}));

  auto* timer = run.window->findChild<QTimer*>(QStringLiteral("Timer1"));
  ASSERT_NE(timer, nullptr);
  EXPECT_FALSE(timer->isActive());
  ASSERT_TRUE(dropFiles(run.window.get(), {archive}));
  ASSERT_TRUE(processUntil([&] { return timer->isActive(); }));
  const QDir area(run.host(QStringLiteral("Assembly")));
  const QDir::Filters everything = QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot;
  EXPECT_EQ(area.entryList(everything, QDir::Name), QStringList{QStringLiteral("Spitfire")});
  EXPECT_TRUE(area.exists(QStringLiteral("Spitfire/model/Spitfire.mdl")));
  EXPECT_TRUE(area.exists(QStringLiteral("Spitfire/texture/Spitfire_T.bmp")));
  EXPECT_EQ(timer->interval(), 1000);
  EXPECT_TRUE(bar->isHidden());
  EXPECT_TRUE(run.toolkit->shownBoxes().empty());
  auto* refresh = run.widget<QPushButton>("cmdRefresh");
  EXPECT_TRUE(processUntil([&] { return refresh->isHidden(); }));
  EXPECT_TRUE(processUntil([&] { return !refresh->isHidden(); }));

  // The button asks for the file; the same archive again replaces what it put there.
  run.toolkit->chooseFileNext(archive.toStdString());
  open->click();
  ASSERT_EQ(run.toolkit->shownBoxes().size(), 1u);
  const QtToolkit::ShownBox box = run.lastBox();
  EXPECT_EQ(box.caption, "Open Archive");
  EXPECT_EQ(box.icon, MsgIcon::Information);
  EXPECT_NE(box.text.find("Spitfire\\model\\Spitfire.mdl"), std::string::npos) << box.text;
  EXPECT_EQ(area.entryList(everything).size(), 1);
}

}  // namespace
}  // namespace orvex::test

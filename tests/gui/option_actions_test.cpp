// Every way of choosing an option or ticking a check box runs its click procedure once, as a
// click does: the pointer, the keyboard and a screen reader's toggle action.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include "gui_run.h"

namespace orvex::test {
namespace {

// The action a screen reader offers for a button that can be checked.
void toggleAction(QWidget* w) {
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
  ASSERT_NE(face, nullptr);
  QAccessibleActionInterface* actions = face->actionInterface();
  ASSERT_NE(actions, nullptr);
  ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::toggleAction()));
  actions->doAction(QAccessibleActionInterface::toggleAction());
}

struct Way {
  const char* name;
  void (*choose)(QWidget*);
};

const Way kWays[] = {
    {"pointer", [](QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }},
    {"space bar", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Space); }},
    {"toggle action", toggleAction},
};

TEST(GuiOptionActions, EveryWayOfChoosingASimulatorRunsItsProcedureOnce) {
  for (const Way& way : kWays) {
    SCOPED_TRACE(way.name);
    GuiRun run;
    run.orvex->Form_Load();
    frmOrvex2& f = run.orvex->frm;
    int runs = 0;
    f.optCFS.onClick = [&runs, procedure = f.optCFS.onClick] {
      ++runs;
      procedure();
    };

    way.choose(run.widget<QRadioButton>("optCFS"));

    EXPECT_EQ(runs, 1);
    EXPECT_EQ(run.orvex->state.FlightSim, "CFS");
    EXPECT_TRUE(f.optCFS.value());
    EXPECT_TRUE(run.widget<QRadioButton>("optCFS")->isChecked());
    EXPECT_FALSE(run.widget<QRadioButton>("optFS98")->isChecked());
    EXPECT_EQ(run.widget<QLabel>("labLocation")->text().toStdString(), "Select CFS Directory");
    EXPECT_EQ(run.widget<QPushButton>("cmdSetDirectories")->text().toStdString(),
              "Select CFS Directory");
    run.widget<QPushButton>("cmdQuit")->click();
    EXPECT_TRUE(readHost(run.host("Orvex.cfg")).contains("\r\n\"CFS\"\r\n"));
  }
}

TEST(GuiOptionActions, AChoiceDuringAnInstallIsRefusedAndTheOldOptionShown) {
  for (const Way& way : kWays) {
    SCOPED_TRACE(way.name);
    GuiRun run;
    run.orvex->Form_Load();
    const int beeps = run.toolkit->beeps();
    {
      BusyScope busy(run.orvex->context());
      way.choose(run.widget<QRadioButton>("optCFS"));
    }
    EXPECT_EQ(run.toolkit->beeps(), beeps + 1);
    EXPECT_EQ(run.orvex->state.FlightSim, "FS98");
    EXPECT_TRUE(run.orvex->frm.optFS98.value());
    EXPECT_FALSE(run.orvex->frm.optCFS.value());
    EXPECT_TRUE(run.widget<QRadioButton>("optFS98")->isChecked());
    EXPECT_FALSE(run.widget<QRadioButton>("optCFS")->isChecked());
    EXPECT_EQ(run.widget<QLabel>("labLocation")->text().toStdString(), "Select FS98 Directory");
  }
}

TEST(GuiOptionActions, TheWarningsCheckBoxFollowsEveryWayOfTickingIt) {
  for (const Way& way : kWays) {
    SCOPED_TRACE(way.name);
    GuiRun run;
    run.orvex->Form_Load();
    auto* box = run.warningWindow->findChild<QCheckBox*>(QStringLiteral("chkNotAgain"));
    ASSERT_NE(box, nullptr);
    for (int expected : {1, 0}) {
      way.choose(box);
      EXPECT_EQ(run.orvex->warn.chkNotAgain.value(), expected);
      EXPECT_EQ(run.orvex->state.ZipWarning, expected);
      EXPECT_EQ(box->isChecked(), expected == 1);
    }
  }
}

// A pack's check box is ticked and cleared alike by the pointer, the space bar and a screen
// reader's toggle action, and the install button counts what is checked.
TEST(GuiOptionActions, EveryWayOfTickingAnAircraftOfAPackCountsOnTheInstallButton) {
  const std::pair<const char*, void (*)(QWidget*)> ways[] = {
      {"pointer", [](QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }},
      {"space bar",
       [](QWidget* w) {
         w->setFocus();
         QTest::keyClick(w, Qt::Key_Space);
       }},
      {"toggle action", toggleAction},
  };
  for (const auto& [name, tick] : ways) {
    SCOPED_TRACE(name);
    GuiRun run;
    ASSERT_TRUE(run.layOutFs98({"Aircraft", "Gauges"}));
    for (const char* plane : {"Alpha", "Bravo"}) {
      QDir(run.host(QStringLiteral("Assembly"))).mkpath(QString::fromLatin1(plane));
      run.writeFile(QStringLiteral("Assembly/") + QString::fromLatin1(plane) +
                        QStringLiteral("/Aircraft.cfg"),
                    QByteArray("[fltsim.0]\r\ntitle=") + plane + "\r\n");
    }
    run.orvex->Form_Load();
    run.window->show();
    run.widget<QPushButton>("cmdRefresh")->click();
    auto* list = run.widget<QTreeWidget>("lvwAircraft");
    ASSERT_TRUE(list->isVisible());
    ASSERT_EQ(list->topLevelItemCount(), 2);
    auto* install = run.widget<QPushButton>("cmdInstall");
    EXPECT_EQ(install->text().toStdString(), "Install 2 Aircraft to FS98");

    auto* box = qobject_cast<QCheckBox*>(list->itemWidget(list->topLevelItem(1), 0));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text().toStdString(), "Bravo");
    tick(box);
    EXPECT_EQ(install->text().toStdString(), "Install 1 Aircraft to FS98");
    EXPECT_FALSE(run.orvex->frm.lvwAircraft.checked(1));
    EXPECT_FALSE(box->isChecked());
    tick(box);
    EXPECT_EQ(install->text().toStdString(), "Install 2 Aircraft to FS98");
  }
}

}  // namespace
}  // namespace orvex::test

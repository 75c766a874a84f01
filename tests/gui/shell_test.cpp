// The desktop shell: default zip program, starting programs, quiet sound failures.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <map>

#include "gui_run.h"
#include "qt/desktop_entry.h"

namespace orvex::test {
namespace {

// Sets environment variables for one test and puts the old values back afterwards.
class ScopedEnv {
 public:
  ~ScopedEnv() {
    for (const auto& [name, old] : saved_) {
      if (old.isNull())
        qunsetenv(name.constData());
      else
        qputenv(name.constData(), old);
    }
  }
  void set(const char* name, const QByteArray& value) {
    if (!saved_.count(name))
      saved_[name] = qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray();
    if (value.isNull())
      qunsetenv(name);
    else
      qputenv(name, value);
  }

 private:
  std::map<QByteArray, QByteArray> saved_;
};

void writeText(const QString& path, const QByteArray& text) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(text);
}

// A private freedesktop setup: config and data folders of our own, no desktop detected.
void privateDesktop(ScopedEnv& env, const QString& base) {
  env.set("XDG_CONFIG_HOME", (base + "/config").toLocal8Bit());
  env.set("XDG_CONFIG_DIRS", (base + "/etc").toLocal8Bit());
  env.set("XDG_DATA_HOME", (base + "/data").toLocal8Bit());
  env.set("XDG_DATA_DIRS", (base + "/share").toLocal8Bit());
  for (const char* name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                           "GNOME_DESKTOP_SESSION_ID", "MATE_DESKTOP_SESSION_ID"})
    env.set(name, QByteArray());
  QDir().mkpath(base + "/config");
  QDir().mkpath(base + "/data/applications");
}

TEST(GuiShell, FieldCodesAreRemovedFromTheCommand) {
  EXPECT_EQ(stripFieldCodes("file-roller %U"), QStringLiteral("file-roller"));
  EXPECT_EQ(stripFieldCodes("ark --tempfile %f"), QStringLiteral("ark --tempfile"));
  EXPECT_EQ(stripFieldCodes("\"/opt/My Zip/zip\" %F --name %c %i %k"),
            QStringLiteral("\"/opt/My Zip/zip\" --name"));
  EXPECT_EQ(stripFieldCodes("meter --at=100%%"), QStringLiteral("meter --at=100%"));
  EXPECT_EQ(stripFieldCodes("viewer --file=%f"), QStringLiteral("viewer --file="));
  EXPECT_EQ(stripFieldCodes(""), QString());
}

TEST(GuiShell, TheCommandComesFromTheDesktopEntryGroup) {
  QTemporaryDir dir;
  const QString entry = dir.path() + "/zipper.desktop";
  writeText(entry,
            "# comment\n[Desktop Entry]\nName=Zipper\nType=Application\n"
            "Exec=\"/opt/zip per/bin/zipper\" --open %U\n"
            "[Desktop Action New]\nExec=zipper --new\n");
  EXPECT_EQ(desktopEntryCommand(entry), QStringLiteral("\"/opt/zip per/bin/zipper\" --open"));

  writeText(entry, "[Desktop Entry]\nExec=zipper %f\nHidden=true\n");
  EXPECT_TRUE(desktopEntryCommand(entry).isEmpty());
  writeText(entry, "[Desktop Entry]\nName=No command\n");
  EXPECT_TRUE(desktopEntryCommand(entry).isEmpty());
  EXPECT_TRUE(desktopEntryCommand(dir.path() + "/missing.desktop").isEmpty());
}

TEST(GuiShell, FindsTheDesktopsDefaultZipProgram) {
  if (QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty())
    GTEST_SKIP() << "xdg-mime (xdg-utils) is not installed";
  QTemporaryDir dir;
  ScopedEnv env;
  privateDesktop(env, dir.path());
  writeText(dir.path() + "/config/mimeapps.list",
            "[Default Applications]\napplication/zip=orvex-test-unzipper.desktop\n");
  // xdg-mime only names a program that is really there.
  const QString unzipper = dir.path() + "/unzipper";
  writeText(unzipper, "#!/bin/sh\n");
  QFile::setPermissions(unzipper, QFile::ReadOwner | QFile::ExeOwner);
  writeText(dir.path() + "/data/applications/orvex-test-unzipper.desktop",
            "[Desktop Entry]\nType=Application\nName=Unzipper\nExec=" + unzipper.toLocal8Bit() +
                " --browse %f\n");
  const QString document = dir.path() + "/DummyZip.zip";
  writeText(document, "");

  QtShell shell;
  std::string program = "unchanged";
  EXPECT_EQ(shell.findExecutable(document.toStdString(), program), 33);
  EXPECT_EQ(program, (unzipper + " --browse").toStdString());

  program.clear();
  EXPECT_EQ(shell.findExecutable((dir.path() + "/Missing.zip").toStdString(), program), 2);
}

TEST(GuiShell, NoAssociationIsNotFound) {
  if (QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty())
    GTEST_SKIP() << "xdg-mime (xdg-utils) is not installed";
  QTemporaryDir dir;
  ScopedEnv env;
  privateDesktop(env, dir.path());
  const QString document = dir.path() + "/DummyZip.zip";
  writeText(document, "");

  QtShell shell;
  std::string program;
  EXPECT_EQ(shell.findExecutable(document.toStdString(), program), 2);
  EXPECT_TRUE(program.empty());
}

TEST(GuiShell, ExecuteStartsAProgramWithoutWaiting) {
  QTemporaryDir dir;
  const QString script = dir.path() + "/my tool.sh";
  const QString marker = dir.path() + "/started";
  writeText(script, "#!/bin/sh\nsleep 1\necho \"$1\" > \"" + marker.toLocal8Bit() + "\"\n");
  QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

  QtShell shell;
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(shell.execute(("\"" + script + "\" hello").toStdString()), 33);
  EXPECT_LT(clock.elapsed(), 900);  // did not wait for the program
  EXPECT_TRUE(processUntil([&] { return QFile::exists(marker); }, 5000));

  EXPECT_EQ(shell.execute(""), 2);
  EXPECT_EQ(shell.execute((dir.path() + "/no-such-program").toStdString()), 2);
}

TEST(GuiShell, SoundsThatCannotPlayAreIgnored) {
  QTemporaryDir dir;
  const QString garbage = dir.path() + "/click.wav";
  writeText(garbage, "RIFF nothing you could play");
  QtShell shell;
  QElapsedTimer clock;
  clock.start();
  shell.playSound((dir.path() + "/missing.wav").toStdString());
  shell.playSound(garbage.toStdString());
  shell.playSound(ORVEX_RESOURCES_DIR "/click.wav");
  QCoreApplication::processEvents();
  EXPECT_LT(clock.elapsed(), 2000);  // never waits for the sound
}

}  // namespace
}  // namespace orvex::test

// The program's core on the real host file system and the real SQLite records, driven as a
// user would and killed with SIGKILL right after a chosen file operation: no destructor runs,
// nothing is flushed. The kill test runs it after each operation in turn and starts it again.
//
//   orvex_kill_driver ROOT K install KIND   start, then install the add-on in the assembly area
//   orvex_kill_driver ROOT K uninstall      start, then uninstall the newest install, with Yes
//   orvex_kill_driver ROOT K start yes|no   start, answering the question about an install or
//                                           uninstall that was broken off
//   orvex_kill_driver ROOT K library ACTION start, then one change in the Scenery Library tab
//                                           of the list tests/fixtures/scenery/scenery_crlf.cfg:
//                                           disable, up or remove
//
// ROOT is the host folder behind C: (the program's root is C:\Orvex); K counts the operations
// from the start (0: never killed); written sK, the driver stops itself there (SIGSTOP) instead,
// holding the root and whatever it has open. Exits 0, silently, when the program did what was
// asked without being killed; 2 for bad arguments; 3 with the messages on stderr when a step
// failed; 4 when the start ended at once with nothing but the box that says another copy of the
// program runs in the root.
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <string>

#include "app/orvex.h"
#include "host/host_file_system.h"
#include "host/root_lock.h"
#include "host/sqlite_record_store.h"
#include "support/fakes.h"
#include "support/faulty_file_system.h"
#include "support/install_steps.h"

namespace {

using namespace orvex;
using namespace orvex::test;

int usage() {
  std::cerr << "usage: orvex_kill_driver ROOT [s]K (install KIND | uninstall | start yes|no | "
               "library disable|up|remove)\n";
  return 2;
}

// Every box a failure shows, and whether the step the mode asks for said it succeeded.
int outcome(const FakeToolkit& tk, bool succeeded) {
  bool failed = !succeeded;
  for (const char* caption : {"System Error", "Install Records", "Uninstall Error"})
    failed |= tk.countCaption(caption) > 0;
  if (!failed) return 0;
  for (const ShownBox& box : tk.boxes) std::cerr << box.caption << ": " << box.text << "\n";
  return 3;
}

bool refusedAsRunning(const FakeToolkit& tk) {
  return tk.boxes.size() == 1 && tk.boxes[0].caption == "Orvex" &&
         tk.boxes[0].text == "Orvex is already running in C:\\Orvex.";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return usage();
  const std::string root = argv[1];
  const bool stop = argv[2][0] == 's';
  const char* count = argv[2] + (stop ? 1 : 0);
  char* end = nullptr;
  const long killAt = std::strtol(count, &end, 10);
  if (*count == '\0' || *end != '\0' || killAt < 0) return usage();
  const std::string mode = argv[3];
  const std::string arg = argc > 4 ? argv[4] : "";
  const std::optional<Kind> kind = kindNamed(arg);
  if (!(mode == "install" && kind) && !(mode == "uninstall" && arg.empty()) &&
      !(mode == "start" && (arg == "yes" || arg == "no")) &&
      !(mode == "library" && (arg == "disable" || arg == "up" || arg == "remove")))
    return usage();

  DriveMap map;
  map.add('c', root);
  HostFileSystem host(map, root + "/Orvex");
  FaultyFileSystem counting(host);
  counting.afterOperation = [killAt, stop](long count) {
    if (count == killAt) std::raise(stop ? SIGSTOP : SIGKILL);
  };
  FakeToolkit tk;
  FakeShell shell;
  // No to each install or uninstall that the start finds broken off; the toolkit says Yes
  // to every question not scripted.
  if (arg == "no") tk.answers.assign(100, MsgAnswer::No);
  Orvex app(counting, tk, shell);
  app.openRecordStore = [](const std::string& hostPath) {
    return std::make_unique<SqliteRecordStore>(hostPath);
  };
  RootLock lock;
  app.lockRootDirectory = [&lock](const std::string& hostPath) { return lock.take(hostPath); };

  app.handle([&] { app.Form_Load(); });
  if (app.ended()) return refusedAsRunning(tk) ? 4 : outcome(tk, false);
  if (mode == "install") {
    installAsTheUserWould(app, *kind);
    return outcome(tk, tk.countCaption("Success!") == 1);
  }
  if (mode == "uninstall" && !installedList(app).rows().empty()) {
    installedList(app).setListIndex(0);  // newest first
    app.frm.cmdUninstall.click();
    return outcome(tk, tk.countCaption("Success!") == 1);
  }
  if (mode == "library") {
    // An area of the simulator's own list, and the button of the change.
    const bool removing = arg == "remove";
    Button& button = arg == "disable" ? app.frm.cmdLibraryDisable
                     : removing       ? app.frm.cmdLibraryRemove
                                      : app.frm.cmdLibraryUp;
    const bool pressed =
        pressInLibrary(app, removing ? "Addon Scenery" : "Propeller Field", button);
    return outcome(tk, pressed && tk.countCaption("Scenery Library") == 0);
  }
  return outcome(tk, true);
}

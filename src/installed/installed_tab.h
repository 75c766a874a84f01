// The install records in the program: each install recorded from its first change to its end,
// the Installed tab with its uninstall and forget, the digests worked out while the program
// is idle, and the recovery at start-up of what a crash broke off.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/record_store.h"
#include "program/context.h"

namespace orvex {

class InstalledTab : Component {
 public:
  static constexpr int kInstalledTab = 4;
  // Opens the install records (the database file's host path); without it nothing is recorded.
  using StoreOpener = std::function<std::unique_ptr<RecordStore>(const std::string& hostPath)>;

  InstalledTab(Context& c, const StoreOpener& openStore) : Component(c), openStore_(openStore) {}

  // Says, for each gauge of a simulator's Gauges folder among paths, which aircraft use it, but
  // those of the aircraft folders own: one sentence each.
  using GaugeUsage = std::function<std::vector<std::string>(const std::string& simulator,
                                                            const std::vector<std::string>& paths,
                                                            const std::vector<std::string>& own)>;
  GaugeUsage gaugeUsage;

  // At start-up: the records, and the installs and uninstalls a crash broke off.
  void openRecords();
  void recoverInterrupted();
  RecordStore* records() const { return records_.get(); }

  // An install is recorded from its first change to its end. The first end of a record ends
  // it; later ones do nothing. unwinding: a failure is ending the install, and nothing more
  // may be thrown from here.
  void beginRecord(const char* kind, const std::string& name);
  void nameRecord(const std::string& name);
  void endRecord(bool unwinding);

  // The tab. Its list is worked out while the tab is shown, and otherwise when it is next
  // shown: looking at every file of every install after each install would cost as much as
  // the install's own bookkeeping.
  void refreshInstalled();
  void SSTab1_Click();
  void lvwInstalled_Change();
  void cmdUninstall_Click();
  // Uninstalls one install (asking first, with confirm) and tells how it went; true when it was
  // undone completely.
  bool uninstall(long id, const std::string& name, bool confirm);
  // Undoes what a change that failed half-way did and drops its record, without a question;
  // false when that failed too (the record then keeps what is left).
  bool rollBack(long id);
  void cmdForget_Click();
  void tmrDigest_Timer();

 private:
  // Asks whether to install without a record, the records failing for why; true for Yes.
  bool installUnrecorded(const std::string& why);
  // The install chosen on the tab; a beep and false when none is.
  bool chosenInstall(long& id, std::string& name);

  const StoreOpener& openStore_;
  std::unique_ptr<RecordStore> records_;
  // Why installs are not recorded (shown on the tab, and asked about at an install).
  std::string recordsProblem_;
  bool recordOpen_ = false;  // between beginRecord and endRecord
  // The installs on the tab, by row; those whose files still await their digests.
  std::vector<long> shownInstalls_;
  bool installedStale_ = false;  // the list waits to be worked out until the tab is shown
  std::vector<long> digestQueue_;
  size_t digestNext_ = 0;
};

}  // namespace orvex

// Undoing recorded installs: an uninstall (in any order: an install under a later one that
// wrote the same files hands the true originals on to it), forgetting a record, and the
// recovery of an install or uninstall that a crash broke off.
#pragma once

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/file_system.h"
#include "platform/record_store.h"

namespace orvex {

enum class UndoAnswer { Yes, No, YesToAll, Cancel };

class Undo {
 public:
  // fs: the file system below any recording, where originals are put back.
  Undo(RecordStore& store, FileSystem& fs) : store_(store), fs_(fs) {}

  // Asked before a file that changed since the install is removed or overwritten.
  std::function<UndoAnswer(const std::string& path)> askChanged;
  // Told after each file: how many are done, of how many.
  std::function<void(int done, int total)> progress;

  // An original an uninstall cannot put back as it was: its backup is missing, or no longer
  // what was taken.
  struct BackupProblem {
    std::string path;    // the simulator's file
    std::string backup;  // its backup
    bool missing = false;
  };
  // Asked before an uninstall changes anything, when it has such originals to put back: true
  // to go on without them, false to cancel. Without it the uninstall goes on. Either way those
  // files stay as they are, and their changes stay in the record.
  std::function<bool(const std::vector<BackupProblem>& problems)> askBackups;
  // The files of the last uninstall whose originals could not be put back.
  const std::vector<std::string>& notPutBack() const { return notPutBack_; }
  // The configuration files of the last uninstall that changed after its edits: only its own
  // lines were taken back out of them; and those where not all of its lines were found.
  const std::vector<std::string>& takenBackByMeaning() const { return byMeaning_; }
  const std::vector<std::string>& notTakenBack() const { return notTakenBack_; }

  struct Counts {
    int remove = 0;                   // files the uninstall removes
    int putBack = 0;                  // originals it puts back
    std::vector<std::string> edited;  // configuration files whose edits it takes back
  };
  // What an uninstall of the install would do. What it reads is kept for that uninstall, which
  // reads again only if the records changed in between.
  Counts count(long install);

  // Removes what the install made and puts back what it replaced; false when the user
  // cancelled (what is done so far is recorded, the rest stays in the record).
  bool uninstall(long install);
  // Whether the uninstall got past writing its start in the records, before which it changes
  // nothing on disk.
  bool began() const { return began_; }
  // Drops the record and the backups no other record needs; the files stay.
  void forget(long install);
  // After a crash broke an install or an uninstall off: back to the tree as it was before the
  // install, or the record made to describe what is on disk now.
  void rollBack(long install);
  void keepAsItStands(long install);
  // Deletes the copies in the backup store (folder `backups`) of installs no longer recorded
  // that no record names: a crash after a record was dropped and before its copies were
  // deleted left them, and nothing else would ever remove them.
  void dropStrayBackups(const std::string& backups);

  enum class Status { AsInstalled, ChangedSince, PartlyRemoved };
  // Of an install's changes, read once for both.
  Status status(const std::vector<Change>& changes);
  long long backupBytes(const std::vector<Change>& changes);
  // The files an install wrote (made or replaced).
  static int fileCount(const std::vector<Change>& changes);
  // Whether a file still holds what the change left there.
  bool unchanged(const Change& change);
  bool unchanged(const Change& change, const std::optional<FileStamp>& now);

 private:
  // The changes of the other installs at the paths of one install, by path in lower case:
  // read once for the many look-ups of one uninstall, count or recovery, while it runs.
  struct Overlap {
    long install = 0;
    std::unordered_map<std::string, std::vector<Change>> byPath;
  };
  class OverlapScope;
  // An install's changes and their overlap, as read at a version of the records.
  struct Read {
    RecordVersion version;
    std::vector<Change> changes;
    Overlap overlap;
  };
  // The changes of an install and the overlap read for them: those count kept while the
  // records are as they were, else read now.
  Read read(long install);

  // The change of the next install that wrote the same file, if any remains; with `area`, the
  // next area added to the same scenery list.
  std::optional<Change> successor(const Change& change, bool area = false);
  // Makes what a planned change left on disk part of the record, or drops it.
  std::vector<Change> resolvePlanned(std::vector<Change> changes);
  // False when the original could not be put back (its backup is gone): the file stays.
  bool putBack(const Change& change);
  // The originals an uninstall of these changes must put back whose backups are not as taken.
  std::vector<BackupProblem> backupProblems(const std::vector<Change>& changes);
  void removeArea(const Change& change);
  // An edit of a configuration file taken back: the old bytes when the file is as the edit left
  // it, else only the edit's own lines, found by their meaning.
  void takeBackEdit(const Change& change);
  // The line end an area was added with, after a last line that had none, goes on to the area
  // that follows it in the list.
  void handLineEndOn(const Change& area, const std::string& lineEnd);
  // Folders the install made, deepest first, once they are empty; a folder that still holds
  // files of another install is handed on to it.
  void removeFolders(const std::vector<Change>& folders, long install, std::vector<long>& undone);
  // A folder the install made that holds files of later installs goes to the latest of them.
  void handFolderOn(const Change& folder, long install);
  // Drops the changes undone, the record when nothing is left, and the backups nobody needs.
  void finish(long install, const std::vector<Change>& changes, const std::vector<long>& undone);
  // now: the file's stamp as it is now.
  bool ask(const Change& change, const std::function<std::optional<FileStamp>()>& now, bool& toAll,
           bool& cancelled);
  // The next install that wrote the same file takes over the original this one kept: its change
  // goes to handed, to be written with the others in one go; the copy it kept itself goes to
  // orphans.
  void handOver(const Change& change, std::vector<std::string>& orphans,
                std::vector<Change>& handed);
  // Deletes the backup files no change needs, and their folders once empty.
  void dropBackups(const std::vector<std::string>& backups);

  RecordStore& store_;
  FileSystem& fs_;
  Overlap* overlap_ = nullptr;  // while an OverlapScope lasts
  std::optional<Read> counted_;
  // Folders that originals were put back into since their names were last made lasting.
  std::vector<std::string> unsynced_;
  int questions_ = 0;  // asked so far
  std::vector<std::string> notPutBack_, byMeaning_, notTakenBack_;
  bool began_ = false;
};

// Whether an area entry of a scenery list names this Local= and Title=; the list without it.
// followed: whether anything came after the area.
std::string withoutArea(const std::string& list, const std::string& entryLines, bool& found,
                        bool* followed = nullptr);

}  // namespace orvex

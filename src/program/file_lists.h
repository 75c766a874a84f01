// The directory browser's lists as the program's listing tool: pointing a directory list at a
// path, following a drive list, and the file list of a folder.
#pragma once

#include <string>

#include "program/context.h"

namespace orvex {

class FileLists : Component {
 public:
  explicit FileLists(Context& c) : Component(c) {}

  // Points a directory list at a path; on failure warns, keeps the list where it was and
  // returns false.
  bool pointDirList(DirList& list, const std::string& path);
  // Points a directory list at the drive chosen in its drive list; on failure the drive list
  // goes back to the drive of the directory list.
  void followDrive(DriveList& drive, DirList& dir);
  // The file list of a directory through File1; returns the count.
  int listFiles(const std::string& dir, const std::string& pattern);
};

}  // namespace orvex

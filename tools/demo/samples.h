// What the demonstration holds: the four sample add-on archives, and the files of the sample
// simulators (check file, scenery list, an aircraft already installed).
#pragma once

#include <string>
#include <vector>

namespace orvex::demo {

// A file by its path below some folder ("/" between folders) and its content.
struct DemoFile {
  std::string path;
  std::string data;
};

struct SampleArchive {
  std::string fileName;  // the zip's name in the Samples folder
  std::vector<DemoFile> files;
};

// One archive of each kind, flat as older add-on archives are: an aircraft, a panel, a sound
// set and a scenery, in this order; then an aircraft in its folder with three liveries, and a
// pack of two such aircraft.
std::vector<SampleArchive> sampleArchives();

// The tree of one sample simulator below its root folder: the check file, the folders the
// program installs into, a scenery list with a few areas and one installed aircraft.
std::vector<DemoFile> simulatorFiles(const std::string& title, const std::string& checkFile);
// The folders of a simulator tree that hold no file.
std::vector<std::string> simulatorFolders();

}  // namespace orvex::demo

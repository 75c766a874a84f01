// Which host directory stands behind each DOS drive letter, and the way back.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orvex {

class DriveMap {
 public:
  // Maps a letter (either case) onto a host directory; the directory is made absolute and
  // canonical when it exists, so that host paths found later compare with it.
  void add(char letter, const std::string& hostDir);

  // The host root of a drive, or nothing for a letter not in the map.
  std::optional<std::string> root(char letter) const;
  // Mapped letters in lower case, sorted.
  std::vector<char> letters() const;

  // The DOS form of an absolute host path through the longest matching root
  // ("/home/ann/Orvex" -> "Z:\home\ann\Orvex"), or nothing when no root holds it.
  std::optional<std::string> toDos(const std::string& hostPath) const;

  // The Wine layout: the drive links in prefix/dosdevices; Z: for "/" when the prefix has no
  // dosdevices folder at all, as the prefix Wine would make there.
  static DriveMap fromWinePrefix(const std::string& prefix);
  // fromWinePrefix of $WINEPREFIX, or of ~/.wine when that is not set.
  static DriveMap defaultMap();

 private:
  std::map<char, std::string> roots_;
};

}  // namespace orvex

// The add-ons the assembly area holds, wherever they lie in its tree: each folder with an
// Aircraft.cfg is an aircraft (nothing below it is searched further), a panel.cfg or
// sound.cfg outside any aircraft a panel or a sound set, ".bgl" files a scenery; "texture.*"
// folders in an area without an Aircraft.cfg are repaints, one livery each. An add-on
// extracted flat is one add-on whose folder is the assembly area itself. Links are never
// followed, and hidden folders (the archive's staging folder) are not searched.
#pragma once

#include <string>
#include <vector>

#include "platform/file_tree.h"

namespace orvex {

class FileSystem;

// A livery is a repaint: a texture folder of its own, for an aircraft the simulator has.
enum class AddOnKind { Aircraft, Panel, Sound, Scenery, Livery };

struct AddOn {
  AddOnKind kind;
  std::string folder;  // DOS path in the assembly area, no trailing "\"
  std::string title;   // an aircraft's title from its Aircraft.cfg; else the folder's name
  bool operator==(const AddOn&) const = default;
};

class AddOnList {
 public:
  // Reads the tree of the assembly area anew.
  void scan(FileSystem& fs, const std::string& assembly);
  void clear() {
    addOns_.clear();
    scannedTop_.clear();
  }
  // The add-on of a kind in a folder is gone (installed, its folder emptied).
  void drop(AddOnKind kind, const std::string& folder);

  const std::vector<AddOn>& all() const { return addOns_; }
  std::vector<const AddOn*> of(AddOnKind kind) const;
  // The folder of the first add-on of a kind; empty when there is none.
  std::string folderOf(AddOnKind kind) const;
  bool has(AddOnKind kind) const { return !of(kind).empty(); }
  // Whether a file or folder below an add-on's folder (a name relative to it) belongs to
  // another add-on lying inside it.
  bool ofAnother(const std::string& folder, const std::string& relative) const;
  // Whether the add-on is the only one the area holds, so that emptying the whole area after
  // its install takes nothing of another.
  bool alone() const { return addOns_.size() <= 1; }
  // The names lying at the top of the area when it was scanned (files, folders and links):
  // what arrives later is no part of what was found.
  const std::vector<std::string>& scannedTop() const { return scannedTop_; }

  // What a tree holds that is no add-on, in a line ("readme.txt, texture.xyz\ with 12
  // pictures"); empty for an empty tree.
  static std::string contents(FileSystem& fs, const std::string& folder);

 private:
  std::vector<AddOn> addOns_;
  std::vector<std::string> scannedTop_;
};

// The texture folders the [fltsim.N] sections of an Aircraft.cfg name, once each, in the order
// they come ("" for the plain texture folder).
std::vector<std::string> textureValues(const std::string& aircraftCfg);

// An aircraft's title as the name of its folder: no "/", "\", """ or ".".
std::string cleanedTitle(std::string title);
// The longest name of one folder that the host's and Windows' file systems hold.
inline constexpr size_t kLongestFolderName = 255;

}  // namespace orvex

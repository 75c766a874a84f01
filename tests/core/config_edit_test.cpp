// Edits of configuration files taken back by their meaning: a section added, taken out or one of
// its lines set, taken back after other lines changed around it, every other byte kept.
#include "platform/config_edit.h"

#include <gtest/gtest.h>

namespace orvex {
namespace {

SectionKey livery(const std::string& title) {
  return {"fltsim.", {{"title", title}}};
}

ConfigEdit added(const std::string& title, const std::string& lines) {
  ConfigEdit e;
  e.op = ConfigEdit::Op::Added;
  e.section = livery(title);
  e.lines = lines;
  return e;
}

TEST(ConfigEditTest, EditsAreTakenBackByTheirMeaningWhateverChangedAround) {
  const std::string aircraft =
      "[fltsim.0]\r\ntitle=A\r\n\r\n[fltsim.1]\r\ntitle=B\r\n\r\n"
      "[General]\r\natc_type=X\r\n";
  ConfigEdit set;
  set.op = ConfigEdit::Op::Set;
  set.section = {"area.", {{"title", "Harbor"}, {"local", "Scenery\\Harbor"}}};
  set.key = "active";
  set.was = "Active=TRUE\r\n";
  set.now = "Active=FALSE\r\n";
  ConfigEdit removed;
  removed.op = ConfigEdit::Op::Removed;
  removed.section = {"area.", {{"title", "Lake"}}};
  removed.lines = "\n[Area.002]\nTitle=Lake\n";
  removed.after = {"area.", {{"title", "Hill"}}};
  ConfigEdit inserted = set;
  inserted.was = "";
  inserted.now = "Active=TRUE\n";
  struct Case {
    const char* what;
    std::string now;  // the text as it is at the take-back
    ConfigEdit edit;
    std::string back;  // the text after it
    bool found = true;
  } cases[] = {
      {"a livery added, another added after it, a key edited elsewhere",
       "[fltsim.0]\r\ntitle=A\r\n\r\n[fltsim.1]\r\ntitle=B\r\n\r\n[fltsim.2]\r\ntitle=C\r\n\r\n"
       "[fltsim.3]\r\ntitle=D\r\n\r\n[General]\r\natc_type=Y\r\n",
       added("C", "\r\n[fltsim.2]\r\ntitle=C\r\n"),
       "[fltsim.0]\r\ntitle=A\r\n\r\n[fltsim.1]\r\ntitle=B\r\n\r\n"
       "[fltsim.3]\r\ntitle=D\r\n\r\n[General]\r\natc_type=Y\r\n"},
      {"a livery renumbered by hand is found by its keys", aircraft + "[fltsim.9]\r\nTitle = C\r\n",
       added("c", "x"), aircraft},
      {"the line end a last line had not gets back", "[fltsim.0]\ntitle=A\n[fltsim.1]\ntitle=C\n",
       [] {
         ConfigEdit e = added("C", "");
         e.joinedLineEnd = "\n";
         return e;
       }(),
       "[fltsim.0]\ntitle=A"},
      {"a livery gone since is not found", aircraft, added("C", ""), aircraft, false},
      {"an area goes with the blank line it was added with",
       "[Area.001]\nTitle=Sea\n \n[Area.002]\nTitle=Lake\n\n[Area.003]\nTitle=Hill\n",
       [] {
         ConfigEdit e = added("Lake", " \n[Area.002]\nTitle=Lake\n");
         e.section.prefix = "area.";
         return e;
       }(),
       "[Area.001]\nTitle=Sea\n\n[Area.003]\nTitle=Hill\n"},
      {"a key set back, its line end kept",
       "[Area.001]\r\nTitle=Harbor\r\nLocal=Scenery\\Harbor\r\n"
       "Active=FALSE",
       set, "[Area.001]\r\nTitle=Harbor\r\nLocal=Scenery\\Harbor\r\nActive=TRUE"},
      {"a line that was not there goes",
       "[Area.001]\nTitle=Harbor\nLocal=Scenery\\Harbor\nActive=TRUE\n\n", inserted,
       "[Area.001]\nTitle=Harbor\nLocal=Scenery\\Harbor\n\n"},
      {"and the line end it gave a last line that had none",
       "[Area.001]\nTitle=Harbor\nLocal=Scenery\\Harbor\nActive=TRUE",
       [&] {
         ConfigEdit e = inserted;
         e.now = "Active=TRUE";
         e.joinedLineEnd = "\n";
         return e;
       }(),
       "[Area.001]\nTitle=Harbor\nLocal=Scenery\\Harbor"},
      {"an area taken out comes back before the one after it and the blank lines before that",
       "[Area.001]\nTitle=Sea\n\n[Area.003]\nTitle=Hill\n", removed,
       "[Area.001]\nTitle=Sea\n\n[Area.002]\nTitle=Lake\n\n[Area.003]\nTitle=Hill\n"},
      {"and at the end when that one went too", "[Area.001]\nTitle=Sea", removed,
       "[Area.001]\nTitle=Sea\n\n[Area.002]\nTitle=Lake\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string text = c.now;
    EXPECT_EQ(editsStand(text, {c.edit}), c.found);
    EXPECT_EQ(takeBack(text, {c.edit}), c.found);
    EXPECT_EQ(text, c.back);
    EXPECT_FALSE(editsStand(text, {c.edit}));
  }
}

TEST(ConfigEditTest, TheRecordsDescriptionGivesTheEditsBackAndRefusesAnythingElse) {
  ConfigEdit e = added("Spitfire \"Red\" ; with a comment", std::string("[fltsim.3]\r\n\0x:", 15));
  e.before = {"area.", {{"title", ""}, {"local", "C:\\x"}}};
  e.key = "layer";
  e.was = "12:34";
  const std::string text = describeEdits({e, e});
  const std::optional<std::vector<ConfigEdit>> back = editsDescribed(text);
  ASSERT_TRUE(back);
  ASSERT_EQ(back->size(), 2u);
  EXPECT_EQ(describeEdits(*back), text);
  EXPECT_EQ((*back)[1].lines, e.lines);
  for (const std::string& bad :
       {std::string(), std::string("edits 1:1:Q"), text + "9:", text.substr(0, text.size() - 1)})
    EXPECT_FALSE(editsDescribed(bad)) << bad;
}

}  // namespace
}  // namespace orvex

// The item reader and line reader on hand-made and real configuration files, and patterns.
#include "platform/text_reading.h"

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/pattern.h"
#include "support/fixtures.h"

namespace orvex {
namespace {

std::vector<std::string> items(const std::string& data) {
  std::vector<std::string> out;
  ItemReader in(data);
  while (!in.eof()) out.push_back(in.next());
  return out;
}

TEST(ItemReader, SeparatorsBlanksQuotesAndEmptyLines) {
  using V = std::vector<std::string>;
  EXPECT_EQ(items("type=A, B\r\n"), (V{"type=A", "B"}));
  EXPECT_EQ(items("  texture=Blue  \r\nmodel=\r\n"), (V{"texture=Blue", "model="}));
  EXPECT_EQ(items("a\r\n\r\nb"), (V{"a", "", "b"}));
  EXPECT_EQ(items("\"C:\\My, Path\" junk,next\n"), (V{"C:\\My, Path", "next"}));
  EXPECT_EQ(items("title=\"A, B\"\n"), (V{"title=\"A", "B\""}));
  EXPECT_EQ(items("a\rb\nc"), (V{"a", "b", "c"}));
  EXPECT_EQ(items("\"\"\r\n0\r\n"), (V{"", "0"}));
  EXPECT_EQ(items("\"unterminated, still"), (V{"unterminated, still"}));
}

TEST(ItemReader, ReadingPastTheEndIsAnError) {
  ItemReader in("one\r\n");
  EXPECT_EQ(in.next(), "one");
  EXPECT_TRUE(in.eof());
  try {
    in.next();
    FAIL();
  } catch (const FileError& e) {
    EXPECT_EQ(e.number(), err::InputPastEnd);
  }
}

TEST(ItemReader, AircraftFilesGiveTheirTitleItemsWhole) {
  struct Case {
    const char* file;
    const char* firstTitle;
  } cases[] = {
      {"aircraft/tab_aligned_crlf.cfg", "title\t\t\t\t= Piper Cub Yellow"},
      {"aircraft/first_section_not_zero.cfg", "title=\"Bonanza ~Gold~\""},
      {"real:aircraft/fs2004_freeware_hp_hampden.cfg", "title=Hampden"},
      {"real:aircraft/p3d_pmdg_777_300er.cfg", "title=PMDG 777-300ER PMDG House"},
      {"real:aircraft/fsx_dla_jodel_dr1050.cfg", "title\t\t\t\t\t= Jodel DR-1050"},
      {"real:aircraft/p3d_carenado_a36_bonanza.cfg", "title=~A36~ 60th Anniversary by Cheva"},
  };
  for (const Case& c : cases) {
    if (!test::fixtureAvailable(c.file)) continue;
    std::string found;
    for (const std::string& item : items(test::fixtureText(c.file)))
      if (item.substr(0, 5) == "title" || item.substr(0, 5) == "Title") {
        found = item;
        break;
      }
    EXPECT_EQ(found, c.firstTitle) << c.file;
  }
}

TEST(ItemReader, BinaryAndOddInputNeverBreaksIt) {
  std::string garbage;
  for (int k = 0; k < 4096; ++k) garbage += char((k * 131) % 256);
  EXPECT_GT(items(garbage).size(), 0u);
  // "" is one empty item; everything after its closing quote up to a separator is skipped.
  EXPECT_EQ(items(std::string(1000, '"')).size(), 1u);
  EXPECT_EQ(items(std::string(5000, ',')).size(), 5000u);
}

TEST(LineReader, KeepsLinesWholeWithEveryLineEnd) {
  LineReader in("file=Panel.BMP ; day\r\nb\rc\n\nd");
  std::vector<std::string> lines;
  while (!in.eof()) lines.push_back(in.next());
  EXPECT_EQ(lines, (std::vector<std::string>{"file=Panel.BMP ; day", "b", "c", "", "d"}));
}

TEST(LeadingNumber, ReadsTheStartOfAText) {
  EXPECT_EQ(leadingNumber("41"), 41);
  EXPECT_EQ(leadingNumber("12abc"), 12);
  EXPECT_EQ(leadingNumber(" -3.5x"), -3.5);
  EXPECT_EQ(leadingNumber("abc"), 0);
}

TEST(Pattern, WholeNameMatchesWithoutRegardToCase) {
  EXPECT_TRUE(matchesPattern("README", "*.*"));
  EXPECT_TRUE(matchesPattern("Cessna.AIR", "*.air"));
  EXPECT_TRUE(matchesPattern("x.saf", "*.?af"));
  EXPECT_FALSE(matchesPattern("x.af", "*.?af"));
  EXPECT_TRUE(matchesPattern("a.b.c.bmp", "*.bmp"));
  EXPECT_FALSE(matchesPattern("Cessna_Ref.txt", "_Ref.txt"));
  EXPECT_TRUE(matchesPattern("_ref.TXT", "_Ref.txt"));
  EXPECT_TRUE(matchesPattern("tex.r8", "*.r8?") == false);
  EXPECT_TRUE(matchesPattern("tex.r81", "*.r8?"));
  EXPECT_FALSE(matchesPattern("model.cfg.bak", "*.cfg"));
  EXPECT_TRUE(matchesPatternList("b.GIF", "*.jpg;*.gif"));
  EXPECT_FALSE(matchesPatternList("b.png", "*.jpg;*.gif"));
  EXPECT_FALSE(matchesPatternList("anything", ""));
  EXPECT_TRUE(matchesPattern(std::string(300, 'a') + ".bgl", "*a*a*a*.bgl"));
}

TEST(ErrorText, SignedNumberForm) {
  EXPECT_EQ(errorText("Error", FileError(53)), "Error 53 File not found");
  EXPECT_EQ(errorText("Error ", FileError(76)), "Error  76 Path not found");
  EXPECT_EQ(errorText("Error", FileError(-1, "Odd")), "Error-1 Odd");
}

}  // namespace
}  // namespace orvex

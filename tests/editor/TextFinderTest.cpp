// The text finder: literal and pattern matching at a position, whole words,
// range clamping, refusing matches that leave their range, empty matches,
// and scans against a naive search.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "editor/TextFinder.h"
#include "syntax/ecRegExpr.h"

namespace penwick {
namespace {

// Every match FindInRange gives when a scan goes on after each match as a
// search run does: forward from the match's end (one further when empty),
// backward up to right before its start. Starts are 1-based.
std::vector<int> Walk(TTextFinder& finder, const std::string& text, bool backward, int limit = 1000) {
  std::vector<int> starts;
  finder.SetLastPos(0);  // a new search, not one that goes on from an earlier match
  TSearchRange range{1, static_cast<int>(text.size())};
  int ms = 0, me = 0;
  while (finder.FindInRange(text, range, backward, ms, me)) {
    starts.push_back(ms);
    if (static_cast<int>(starts.size()) > limit) break;
    if (backward) range.EndPos = ms - 1;
    else range.StartPos = me + (me == ms ? 1 : 0);
  }
  return starts;
}

TEST(TextFinder, LiteralMatchIgnoresCaseByTheCodePageUnlessCaseSensitive) {
  TTextFinder finder;
  finder.SetFindText("Stra\xDF" "e");
  const std::string text = "x STRA\xDF" "E y \xC4rger";
  int length = 0;
  EXPECT_TRUE(finder.MatchAt(text, 3, length));
  EXPECT_EQ(6, length);
  finder.SetFlags(ftCaseSensitive);
  EXPECT_FALSE(finder.MatchAt(text, 3, length));
  finder.SetFindText("\xE4rger");  // ä against Ä
  finder.SetFlags(0);
  EXPECT_TRUE(finder.MatchAt(text, 12, length));
  // Positions outside the text, and a match that would run off its end.
  EXPECT_FALSE(finder.MatchAt(text, 0, length));
  EXPECT_FALSE(finder.MatchAt(text, static_cast<int>(text.size()), length));
}

TEST(TextFinder, WholeWordsRefuseMatchesThatContinueAWord) {
  TTextFinder finder;
  finder.SetFlags(ftWholeWordOnly);
  finder.SetFindText("LEVEL");
  int ms = 0, me = 0;
  EXPECT_FALSE(finder.FindInRange("LEVELSTART", {1, 10}, false, ms, me));
  EXPECT_FALSE(finder.FindInRange("xLEVELX", {1, 7}, false, ms, me));
  EXPECT_FALSE(finder.FindInRange("LEVEL_END", {1, 9}, false, ms, me));
  ASSERT_TRUE(finder.FindInRange("LEVELX (LEVEL)", {1, 14}, false, ms, me));
  EXPECT_EQ(9, ms);
  EXPECT_EQ(14, me);
  finder.SetFindText("_END");
  EXPECT_FALSE(finder.FindInRange("LEVEL_END", {1, 9}, false, ms, me));
  EXPECT_TRUE(finder.FindInRange("LEVEL _END", {1, 10}, false, ms, me));
  // The same rule holds for patterns.
  finder.SetFlags(ftWholeWordOnly | ftRegularExpr);
  finder.SetFindText("LEV\\w*");
  EXPECT_FALSE(finder.FindInRange("xLEVELX", {1, 7}, false, ms, me));
}

TEST(TextFinder, PatternsUseTheEngineDefaultsWithCaseFromTheFlags) {
  TTextFinder finder;
  EXPECT_EQ(nullptr, finder.Engine());  // made on first use only
  finder.SetFlags(ftRegularExpr);
  finder.SetFindText("LEVEL START  # blanks and comments are ignored");
  int length = 0;
  EXPECT_TRUE(finder.MatchAt("levelstart", 1, length));
  EXPECT_EQ(10, length);
  ASSERT_NE(nullptr, finder.Engine());
  EXPECT_EQ(TecRegExpr::DefaultModifiers, finder.Engine()->Modifiers());
  finder.SetFlags(ftRegularExpr | ftCaseSensitive);
  EXPECT_FALSE(finder.MatchAt("levelstart", 1, length));
  EXPECT_TRUE(finder.MatchAt("LEVELSTART", 1, length));
  EXPECT_EQ(TecRegExpr::DefaultModifiers & ~TecRegExpr::MaskModI, finder.Engine()->Modifiers());
  // '.' stops at a line break (s off); '^' matches at line starts (m on).
  finder.SetFindText("a.b");
  EXPECT_FALSE(finder.MatchAt("a\nb", 1, length));
  finder.SetFindText("^b");
  EXPECT_TRUE(finder.MatchAt("a\r\nb", 4, length));
}

TEST(TextFinder, APatternThatDoesNotCompileRaisesEvenOnAnEmptyRange) {
  TTextFinder finder;
  finder.SetFlags(ftRegularExpr);
  finder.SetFindText("(abc");
  int ms = 0, me = 0;
  EXPECT_THROW(finder.FindInRange("abc", {1, 3}, false, ms, me), ERegExprError);
  EXPECT_THROW(finder.FindInRange("abc", {3, 1}, false, ms, me), ERegExprError);
}

TEST(TextFinder, RangesAreClampedToTheTextButAnInvertedRangeIsEmpty) {
  TTextFinder finder;
  finder.SetFindText("ab");
  int ms = 0, me = 0;
  ASSERT_TRUE(finder.FindInRange("xxab", {-3, 99}, false, ms, me));
  EXPECT_EQ(3, ms);
  // An end before the start finds nothing (it is not the whole text).
  EXPECT_FALSE(finder.FindInRange("abxx", {1, 0}, true, ms, me));
  EXPECT_FALSE(finder.FindInRange("abxx", {3, 2}, false, ms, me));
  // A range shorter than the search text, and a start beyond the text.
  EXPECT_FALSE(finder.FindInRange("abab", {2, 2}, false, ms, me));
  EXPECT_FALSE(finder.FindInRange("abab", {5, 9}, false, ms, me));
  // The last start position leaves room for the whole search text.
  ASSERT_TRUE(finder.FindInRange("abab", {1, 4}, true, ms, me));
  EXPECT_EQ(3, ms);
  EXPECT_EQ(5, me);
  EXPECT_FALSE(finder.FindInRange("abab", {1, 1}, true, ms, me));
}

TEST(TextFinder, NoMatchRunsPastItsRangesEnd) {
  TTextFinder finder;
  finder.SetFlags(ftRegularExpr);
  finder.SetFindText("a+");
  int ms = 0, me = 0;
  // From 1 and from 2 the greedy match runs to 4, past the range 1..2.
  EXPECT_FALSE(finder.FindInRange("aaaa", {1, 2}, false, ms, me));
  ASSERT_TRUE(finder.FindInRange("aaaa", {1, 4}, false, ms, me));
  EXPECT_EQ(5, me);
  finder.SetFindText("b");
  ASSERT_TRUE(finder.FindInRange("abab", {1, 3}, true, ms, me));
  EXPECT_EQ(2, ms);
}

TEST(TextFinder, EmptyMatchesAreTakenOncePerPlaceAndScansEnd) {
  TTextFinder finder;
  finder.SetFlags(ftRegularExpr);
  finder.SetFindText("x*");
  EXPECT_EQ((std::vector<int>{1, 2, 3}), Walk(finder, "abc", false));
  EXPECT_EQ((std::vector<int>{3, 2, 1}), Walk(finder, "abc", true));
  finder.SetFindText("^");
  EXPECT_EQ((std::vector<int>{1, 4}), Walk(finder, "a\r\nb\r\n", false));
  EXPECT_EQ((std::vector<int>{4, 1}), Walk(finder, "a\r\nb\r\n", true));
  // A search that goes on from where its last empty match stood skips it.
  int ms = 0, me = 0;
  finder.SetFindText("x*");
  ASSERT_TRUE(finder.FindInRange("ab", {2, 2}, false, ms, me));
  EXPECT_FALSE(finder.FindInRange("ab", {2, 2}, false, ms, me));
  // The empty text has one place.
  EXPECT_EQ((std::vector<int>{1}), Walk(finder, "", false));
  EXPECT_EQ((std::vector<int>{1}), Walk(finder, "", true));
}

// Non-overlapping occurrences found left to right by plain comparison.
std::vector<int> NaiveStarts(const std::string& text, const std::string& pattern) {
  std::vector<int> starts;
  for (size_t at = 0; at + pattern.size() <= text.size();) {
    if (text.compare(at, pattern.size(), pattern) == 0) {
      starts.push_back(static_cast<int>(at) + 1);
      at += pattern.size();
    } else {
      ++at;
    }
  }
  return starts;
}

TEST(TextFinder, ForwardScansFindWhatANaiveSearchFindsAndBackwardScansTheMirror) {
  std::mt19937 random(14);
  for (int round = 0; round < 400; ++round) {
    std::string text(std::uniform_int_distribution<int>(0, 40)(random), ' ');
    for (char& c : text) c = "ab\n"[std::uniform_int_distribution<int>(0, 2)(random)];
    std::string pattern(std::uniform_int_distribution<int>(1, 3)(random), ' ');
    for (char& c : pattern) c = "ab"[std::uniform_int_distribution<int>(0, 1)(random)];
    TTextFinder finder;
    finder.SetFindText(pattern);
    finder.SetFlags(ftCaseSensitive);
    const std::vector<int> expected = NaiveStarts(text, pattern);
    ASSERT_EQ(expected, Walk(finder, text, false)) << "text '" << text << "' pattern '" << pattern << "'";
    // Backward, non-overlapping from the right: the mirror of a forward scan
    // of the reversed text for the reversed pattern.
    const std::string rtext(text.rbegin(), text.rend());
    const std::string rpattern(pattern.rbegin(), pattern.rend());
    std::vector<int> mirrored;
    for (int start : NaiveStarts(rtext, rpattern))
      mirrored.push_back(static_cast<int>(text.size()) - (start - 1) - static_cast<int>(pattern.size()) + 1);
    ASSERT_EQ(mirrored, Walk(finder, text, true)) << "text '" << text << "' pattern '" << pattern << "'";
    // The pattern engine finds the same for a pattern of plain letters.
    finder.SetFlags(ftCaseSensitive | ftRegularExpr);
    ASSERT_EQ(expected, Walk(finder, text, false));
  }
}

}  // namespace
}  // namespace penwick

// The completion list's model without a window: sorting, filtering, the rules that close or accept, the word
// at the caret, and where a popup stands beside its anchor.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/AnchorPlacement.h"
#include "editor/CompletionList.h"
#include "platform/CodePage.h"

namespace penwick {
namespace {

using TWords = std::vector<std::string>;

const TCodePage& Cp() { return TCodePage::Default(); }

TWords RowTexts(const TCompletionList& list) {
  TWords rows;
  for (int row = 0; row < list.RowCount(); ++row) rows.push_back(list.RowText(row));
  return rows;
}

TEST(CompletionListSort, SortsBothListsOnceByUpperCasedKeyKeepingEqualKeysInOrder) {
  struct TCase {
    TAutoSortType Sort;
    TWords Items;
    TWords Display;
    TWords WantItems;
    TWords WantDisplay;
  };
  const TCase cases[] = {
      // '_' sorts before the letters; "A" and "a" keep their order; a missing display text is filled with the
      // word.
      {asItems, {"b", "A", "_x", "a", "C"}, {"bee", "ay"}, {"_x", "A", "a", "b", "C"}, {"_x", "ay", "a", "bee", "C"}},
      {asItems_Desc, {"b", "A", "a", "C"}, {}, {"C", "b", "A", "a"}, {"C", "b", "A", "a"}},
      {asDisplay, {"one", "two", "three"}, {"z", "Y", "x"}, {"three", "two", "one"}, {"x", "Y", "z"}},
      {asDisplay_Desc, {"one", "two"}, {"a", "B"}, {"two", "one"}, {"B", "a"}},
      {asNone, {"b", "a"}, {"B"}, {"b", "a"}, {"B"}},
      // Letters above 0x7F compare by their upper-cased bytes: \xE9 (e acute) upper-cases to \xC9.
      {asItems, {"\xE9t\xE9", "\xC9TA", "Z"}, {}, {"Z", "\xC9TA", "\xE9t\xE9"}, {"Z", "\xC9TA", "\xE9t\xE9"}},
  };
  for (const TCase& c : cases) {
    TCompletionList list(Cp());
    list.SetItems(c.Items);
    list.SetDisplayItems(c.Display);
    list.SetSortType(c.Sort);
    list.Prepare();
    EXPECT_EQ(c.WantItems, list.Items()) << c.Sort;
    EXPECT_EQ(c.WantDisplay, list.DisplayItems()) << c.Sort;
    EXPECT_FALSE(list.Dirty());
  }
}

// The order a person reading the list expects: without regard to case, signs before digits before letters, so
// that "SET_..." words come before "SETUP_..." and "LEVEL_..." before "LEVELEND".
TEST(CompletionListSort, SignsSortBeforeDigitsAndDigitsBeforeLetters) {
  TCompletionList list(Cp());
  list.SetSortType(asItems);
  list.SetItems({"SETUP_MODELCHECK_DESTROY", "levelend", "SET_ALL_CONTROLS_STATUS", "LEVEL_END_POINT_ARROW_AT", "SET",
                 "A2", "Ab", "A_", "\xC9T\xC9", "A-"});
  list.Prepare();
  EXPECT_EQ((TWords{"A-", "A_", "A2", "Ab", "LEVEL_END_POINT_ARROW_AT", "levelend", "SET", "SET_ALL_CONTROLS_STATUS",
                    "SETUP_MODELCHECK_DESTROY", "\xC9T\xC9"}),
            list.Items());
}

TEST(CompletionListSort, SortsAgainOnlyAfterAChange) {
  TCompletionList list(Cp());
  list.SetSortType(asItems);
  list.SetItems({"b", "a"});
  list.Prepare();
  EXPECT_EQ((TWords{"a", "b"}), list.Items());
  list.SetSortType(asItems_Desc);
  EXPECT_TRUE(list.Dirty());
  list.Prepare();
  EXPECT_EQ((TWords{"b", "a"}), list.Items());
  list.SetItems({"y", "x"});
  list.Prepare();
  EXPECT_EQ((TWords{"y", "x"}), list.Items());
}

TEST(CompletionListFilter, RowsCloseAndAcceptRules) {
  const TWords words = {"GENERATOR", "LEVELEND", "LEVELSTART", "LEVELSTART", "LEVEL_END_POINT_ARROW_AT",
                        "SETUP_MODELCHECK_DESTROY", "SET_GANG_INFO", "\xC9T\xC9_X"};
  struct TCase {
    const char* Prefix;
    unsigned Options;
    TAutoFilterType Filter;
    TWords Rows;
    int Distinct;
    bool ClosesExactly;
  };
  const TCase cases[] = {
      {"lev", aoExactClose, afCmpStart, {"LEVELEND", "LEVELSTART", "LEVELSTART", "LEVEL_END_POINT_ARROW_AT"}, 3,
       false},
      {"", aoExactClose, afCmpStart, words, 7, false},
      // A word stored twice is two rows: typing it whole does not close the list.
      {"levelstart", aoExactClose, afCmpStart, {"LEVELSTART", "LEVELSTART"}, 1, false},
      {"generator", aoExactClose, afCmpStart, {"GENERATOR"}, 1, true},
      {"GENERATOR", 0, afCmpStart, {"GENERATOR"}, 1, false},
      {"generato", aoExactClose, afCmpStart, {"GENERATOR"}, 1, false},
      {"generators", aoExactClose, afCmpStart, {}, 0, false},
      {"q", aoExactClose, afCmpStart, {}, 0, false},
      {"set", aoExactClose, afCmpStart, {"SETUP_MODELCHECK_DESTROY", "SET_GANG_INFO"}, 2, false},
      {"lev", aoCaseSensitive, afCmpStart, {}, 0, false},
      {"LEVELE", aoCaseSensitive, afCmpStart, {"LEVELEND"}, 1, false},
      // Letters of the code page above 0x7F are upper-cased too.
      {"\xE9t", 0, afCmpStart, {"\xC9T\xC9_X"}, 1, false},
      {"zzz", 0, afNone, words, 7, false},
  };
  for (const TCase& c : cases) {
    TCompletionList list(Cp());
    list.SetItems(words);
    list.SetOptions(c.Options);
    list.SetFilterType(c.Filter);
    list.Filter(c.Prefix);
    EXPECT_EQ(c.Rows, RowTexts(list)) << c.Prefix;
    EXPECT_EQ(c.Distinct, list.DistinctRowCount()) << c.Prefix;
    EXPECT_EQ(c.ClosesExactly, list.ClosesExactly(c.Prefix)) << c.Prefix;
  }
}

TEST(CompletionListFilter, RowsShowTheDisplayTextAndInsertTheWord) {
  TCompletionList list(Cp());
  list.SetItems({"alpha", "beta", "alpine"});
  list.SetDisplayItems({"Alpha (1)"});
  list.Filter("al");
  EXPECT_EQ((TWords{"Alpha (1)", "alpine"}), RowTexts(list));
  EXPECT_EQ("alpha", list.RowItem(0));
  EXPECT_EQ("", list.RowItem(2));
  EXPECT_EQ("", list.RowText(-1));
}

// A character that ends the word inserts only a row the user picked, or the one word the prefix leaves.
TEST(CompletionListChoice, ACharacterAcceptsOnlyAChosenRowOrTheOnlyWordLeft) {
  const TWords words = {"LEVELSTART", "LEVELSTART", "SET_GANG_INFO", "SET_ALL_CONTROLS_STATUS", "ENDEXEC"};
  struct TCase {
    const char* Prefix;
    int Selected;
    bool Chosen;
    bool Accepts;
  };
  const TCase cases[] = {
      {"set", 0, false, false},  {"set", 1, true, true},  {"set", -1, true, false},
      {"end", 0, false, true},   {"levels", 0, false, true}, {"levels", 1, false, true},
      {"x", 0, true, false},     {"set", 5, true, false},
  };
  for (const TCase& c : cases) {
    TCompletionList list(Cp());
    list.SetItems(words);
    list.Filter(c.Prefix);
    EXPECT_EQ(c.Accepts, list.CharacterAccepts(c.Selected, c.Chosen)) << c.Prefix << " row " << c.Selected;
  }
}

TEST(CompletionWord, WordStartPrefixAndReplacedSpan) {
  struct TCase {
    const char* Line;
    int Caret;
    int WordStart;
    bool Valid;
    const char* Prefix;
    int SpanEnd;
  };
  const TCase cases[] = {
      {"  levXYZ = 1", 5, 2, true, "lev", 8},  // the part right of the caret is replaced too
      {"levXYZ", 0, 0, true, "", 6},
      {"(lev_2", 6, 1, true, "lev_2", 6},
      {"x = lev", 4, 4, true, "", 7},
      {"ab", 5, 5, false, "", 2},  // beyond the end of the line: no word, and the span stops at the end
      {"\xE9t\xE9 x", 3, 0, true, "\xE9t\xE9", 3},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(c.WordStart, WordStartColumn(c.Line, c.Caret, Cp())) << c.Line;
    std::string prefix;
    EXPECT_EQ(c.Valid, TypedPrefix(c.Line, c.WordStart, c.Caret, true, Cp(), &prefix)) << c.Line;
    if (c.Valid) {
      EXPECT_EQ(c.Prefix, prefix) << c.Line;
    }
    EXPECT_EQ(c.SpanEnd, ReplacedSpanEnd(c.Line, c.WordStart, c.Caret, Cp())) << c.Line;
  }
}

TEST(CompletionWord, PrefixTurnsInvalidWhenTheCaretLeavesTheWord) {
  const std::string line = "  lev x";
  struct TCase {
    int Caret;
    bool SameLine;
    bool Valid;
  };
  const TCase cases[] = {{5, true, true}, {2, true, true}, {1, true, false}, {6, true, false},
                         {7, true, false}, {8, true, false}, {5, false, false}};
  for (const TCase& c : cases)
    EXPECT_EQ(c.Valid, TypedPrefix(line, 2, c.Caret, c.SameLine, Cp(), nullptr)) << c.Caret << " " << c.SameLine;
  // Characters left of the caret are replaced even when they no longer make a word.
  EXPECT_EQ(7, ReplacedSpanEnd(line, 2, 7, Cp()));
}

TEST(PopupPlacement, FlipsAtTheMonitorEdgesAndStaysOnIt) {
  const TPopupRect monitor{0, 0, 1000, 800};
  struct TCase {
    TPopupRect Anchor;
    TLayoutSide Side;
    TPopupRect Want;
  };
  const TCase cases[] = {
      {{300, 100, 10, 15}, lsLeft, {100, 100, 200, 80}},
      {{0, 100, 10, 15}, lsLeft, {10, 100, 200, 80}},     // no room left: right of the anchor
      {{150, 100, 10, 15}, lsLeft, {160, 100, 200, 80}},  // 150 left is less than 200
      {{900, 100, 10, 15}, lsRight, {700, 100, 200, 80}},
      {{300, 100, 10, 15}, lsTop, {300, 20, 200, 80}},
      {{900, 100, 10, 15}, lsTop, {800, 20, 200, 80}},    // pushed left off the right edge
      {{300, 50, 10, 15}, lsTop, {300, 65, 200, 80}},     // no room above: below
      {{300, 750, 10, 15}, lsBottom, {300, 670, 200, 80}},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(c.Want, PlacePopup(c.Anchor, 200, 80, monitor, c.Side)) << c.Anchor.Left << "," << c.Anchor.Top;
  }
  // A monitor left of the primary one: lsTop is never pushed past its left edge.
  EXPECT_EQ((TPopupRect{-150, 220, 200, 80}), PlacePopup({-100, 300, 10, 15}, 200, 80, {-150, 0, 150, 800}, lsTop));
}

}  // namespace
}  // namespace penwick

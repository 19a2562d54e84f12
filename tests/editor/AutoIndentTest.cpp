// The indentation rules of Enter and Backspace, as functions of the text,
// the tab stops and the caret.
#include "editor/AutoIndent.h"

#include <gtest/gtest.h>
#include <random>

namespace penwick {
namespace {

struct TText {
  TSyntMemoStrings lines;
  TTabList tabs;
  explicit TText(const char* text, const char* stops = "4") {
    lines.SetText(text);
    tabs.SetAsString(stops);
  }
};

TEST(AutoIndent, IndentWidthCountsTabsToTheirStopsAndBlankLinesHaveNone) {
  TText t("    a\r\n\tb\r\n  \tc\r\n   \r\nd\r\n\t \t");
  EXPECT_EQ(IndentWidth(t.lines, t.tabs, 0), 4);
  EXPECT_EQ(IndentWidth(t.lines, t.tabs, 1), 4);
  EXPECT_EQ(IndentWidth(t.lines, t.tabs, 2), 4);
  EXPECT_EQ(IndentWidth(t.lines, t.tabs, 3), 0);
  EXPECT_EQ(IndentWidth(t.lines, t.tabs, 4), 0);
  EXPECT_EQ(IndentWidth(t.lines, t.tabs, 5), 0);
  EXPECT_TRUE(IsBlankLine(t.lines, 5));
  EXPECT_TRUE(IsBlankLine(t.lines, 99));
}

TEST(AutoIndent, NewLineTakesTheNearestFittingIndentationAtOrAbove) {
  TText t("a\r\n  b\r\n      c\r\n\r\n        ");
  EXPECT_EQ(NewLineIndentWidth(t.lines, t.tabs, TPoint{7, 2}), 6) << "the caret's own line";
  EXPECT_EQ(NewLineIndentWidth(t.lines, t.tabs, TPoint{3, 2}), 2) << "indentation deeper than the caret is skipped";
  EXPECT_EQ(NewLineIndentWidth(t.lines, t.tabs, TPoint{0, 2}), 0);
  EXPECT_EQ(NewLineIndentWidth(t.lines, t.tabs, TPoint{0, 3}), 0) << "empty line: column 0 fits only 'a'";
  EXPECT_EQ(NewLineIndentWidth(t.lines, t.tabs, TPoint{20, 3}), 6) << "blank lines are passed over";
  EXPECT_EQ(NewLineIndentWidth(t.lines, t.tabs, TPoint{8, 4}), 6);
  EXPECT_EQ(IndentText(6, t.tabs, tmSpaces), "      ");
  EXPECT_EQ(IndentText(6, t.tabs, tmTabChar), "\t  ");
  EXPECT_EQ(IndentText(0, t.tabs, tmTabChar), "");
}

TEST(AutoIndent, BackspaceStepGoesToTheNextSmallerIndentationAbove) {
  TText t("x\r\n  y\r\n      z\r\n      w\r\n    \r\nq\r\n\t\tr");
  // At the end of "      w"'s indentation: the line above has the same, "  y" less.
  EXPECT_EQ(BackUnindentStep(t.lines, t.tabs, TPoint{6, 3}), (TUnindentStep{2, 6, 0}));
  // Not at the end of the indentation: no step.
  EXPECT_FALSE(BackUnindentStep(t.lines, t.tabs, TPoint{5, 3}).has_value());
  EXPECT_FALSE(BackUnindentStep(t.lines, t.tabs, TPoint{7, 3}).has_value());
  // A blank line unindents from anywhere inside it.
  EXPECT_EQ(BackUnindentStep(t.lines, t.tabs, TPoint{3, 4}), (TUnindentStep{2, 3, 0}));
  EXPECT_EQ(BackUnindentStep(t.lines, t.tabs, TPoint{2, 4}), (TUnindentStep{0, 2, 0}));
  // Column 0, beyond the end, an unindented line: no step (plain Backspace joins).
  EXPECT_FALSE(BackUnindentStep(t.lines, t.tabs, TPoint{0, 5}).has_value());
  EXPECT_FALSE(BackUnindentStep(t.lines, t.tabs, TPoint{9, 4}).has_value());
  EXPECT_FALSE(BackUnindentStep(t.lines, t.tabs, TPoint{1, 5}).has_value());
  // Tabs: from column 8 back to 0 (nothing above is indented less but "q").
  EXPECT_EQ(BackUnindentStep(t.lines, t.tabs, TPoint{2, 6}), (TUnindentStep{0, 2, 0}));
}

TEST(AutoIndent, ATabStraddlingTheTargetIsReplacedBySpacesUpToIt) {
  TText t("  a\r\n\tb");
  EXPECT_EQ(BackUnindentStep(t.lines, t.tabs, TPoint{1, 1}), (TUnindentStep{0, 1, 2}));
}

// Property: on random indented texts a step always lands exactly on the
// target column, deletes something, and never touches text after the caret.
TEST(AutoIndent, RandomTextsStepOntoASmallerIndentation) {
  std::mt19937 random(11);
  for (int round = 0; round < 300; ++round) {
    std::string text;
    const int count = 1 + static_cast<int>(random() % 6);
    for (int i = 0; i < count; ++i) {
      if (i) text += "\r\n";
      const int blanks = static_cast<int>(random() % 7);
      for (int k = 0; k < blanks; ++k) text += random() % 4 == 0 ? '\t' : ' ';
      if (random() % 3) text += "w";
    }
    TText t(text.c_str(), random() % 2 ? "4" : "3 5");
    const TColumnLayout layout(t.lines, t.tabs);
    for (int line = 0; line < t.lines.Count(); ++line) {
      for (int x = 0; x <= t.lines.LineLength(line) + 1; ++x) {
        const auto step = BackUnindentStep(t.lines, t.tabs, TPoint{x, line});
        if (!step) continue;
        SCOPED_TRACE(text + " line " + std::to_string(line) + " x " + std::to_string(x));
        ASSERT_EQ(step->ToX, x);
        ASSERT_LT(step->FromX, step->ToX);
        const int caretColumn = layout.VisualColumn(line, x);
        const int landed = layout.VisualColumn(line, step->FromX) + step->PadSpaces;
        ASSERT_LT(landed, caretColumn);
        for (int k = step->FromX; k < step->ToX; ++k) {
          const char c = t.lines.CharAt(t.lines.LineStart(line) + k);
          ASSERT_TRUE(c == ' ' || c == '\t');
        }
        // The landing column is 0 or the indentation of a line above.
        bool found = landed == 0;
        for (int above = 0; above < line && !found; ++above)
          found = !IsBlankLine(t.lines, above) && IndentWidth(t.lines, t.tabs, above) == landed;
        ASSERT_TRUE(found) << landed;
      }
    }
  }
}

}  // namespace
}  // namespace penwick

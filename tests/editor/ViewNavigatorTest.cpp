// Movement over visual rows: the smart caret through wrapped sub-lines and
// over folds, Home and End on sub-lines, the page, and folding at the caret.
#include "editor/ViewNavigator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>

#include "ViewModelFixture.h"

namespace penwick {
namespace {

// At 8 cells, line 0 wraps into "alpha " "beta " "gamma" and line 2 into
// "last " "line " "here": rows 0-2 line 0, row 3 line 1, rows 4-6 line 2.
const char kWrapped[] = "alpha beta gamma\r\nshort\r\nlast line here\r\n";

TEST(ViewNavigator, DownAndUpWalkThroughWrappedSubLinesAtThePixelColumn) {
  TViewModel view(kWrapped, 8);
  TViewNavigator& nav = view.navigator;
  ASSERT_EQ(view.wrap.SubLineCount(0), 3);
  EXPECT_EQ(nav.MoveByRows(TPoint{2, 0}, 1), (TPoint{8, 0})) << "second sub-line, not the next line";
  EXPECT_EQ(nav.MoveByRows(TPoint{8, 0}, 1), (TPoint{13, 0}));
  EXPECT_EQ(nav.MoveByRows(TPoint{13, 0}, 1), (TPoint{2, 1}));
  EXPECT_EQ(nav.MoveByRows(TPoint{2, 1}, -1), (TPoint{13, 0}));
  EXPECT_EQ(nav.MoveByRows(TPoint{2, 1}, -3), (TPoint{2, 0}));
  // A pixel column beyond a shorter sub-line's text: before its last
  // character when the row is not the line's last, else beyond the text.
  EXPECT_EQ(nav.MoveByRows(TPoint{5, 0}, 1), (TPoint{10, 0}));
  EXPECT_EQ(nav.MoveByRows(TPoint{7, 1}, 1), (TPoint{4, 2}));
  EXPECT_EQ(nav.MoveByRows(TPoint{7, 1}, -1), (TPoint{18, 0}));
  EXPECT_EQ(nav.MoveByRows(TPoint{9, 2}, -1), (TPoint{4, 2}));
  // Stops at the first and the last row.
  EXPECT_EQ(nav.MoveByRows(TPoint{3, 0}, -1), (TPoint{3, 0}));
  EXPECT_EQ(nav.MoveByRows(TPoint{3, 2}, 50), (TPoint{13, 2}));
  // Without the smart caret, the character distance from the sub-line's start.
  view.editor.SetOptions(view.editor.Options() & ~soSmartCaret);
  EXPECT_EQ(nav.MoveByRows(TPoint{2, 0}, 1), (TPoint{8, 0}));
  EXPECT_EQ(nav.MoveByRows(TPoint{2, 1}, -1), (TPoint{13, 0}));
}

TEST(ViewNavigator, HomeAndEndActOnTheCaretsSubLineWhenTheLineWraps) {
  TViewModel view(kWrapped, 8);
  TViewNavigator& nav = view.navigator;
  EXPECT_EQ(nav.RowHome(TPoint{8, 0}), (TPoint{6, 0}));
  EXPECT_EQ(nav.RowEnd(TPoint{8, 0}), (TPoint{10, 0})) << "before the blank that ends the row";
  EXPECT_EQ(nav.RowHome(TPoint{14, 0}), (TPoint{11, 0}));
  EXPECT_EQ(nav.RowEnd(TPoint{12, 0}), (TPoint{16, 0}));
  EXPECT_EQ(nav.RowEnd(TPoint{1, 1}), (TPoint{5, 1}));
  EXPECT_EQ(nav.RowHome(TPoint{3, 1}), (TPoint{0, 1}));
  view.wrap.SetWordWrap(false);
  EXPECT_EQ(nav.RowHome(TPoint{8, 0}), (TPoint{0, 0}));
  EXPECT_EQ(nav.RowEnd(TPoint{8, 0}), (TPoint{16, 0}));
  EXPECT_EQ(nav.MoveByRows(TPoint{8, 0}, 1), (TPoint{8, 1})) << "beyond the text of a short line";
}

TEST(ViewNavigator, UpAndDownStepOverAFoldedRangeAndTheCaretStaysOffTheMark) {
  TViewModel view("zero\r\n#ifdef HARD\r\nhidden one\r\nhidden two\r\n#endif\r\nafter the fold\r\nend\r\n");
  TSyntMemoStrings& lines = view.Lines();
  TViewNavigator& nav = view.navigator;
  ASSERT_TRUE(view.folds.Fold(lines.LineStart(1) + 6, lines.LineStart(4) + 6, "HARD"));
  EXPECT_EQ(nav.MoveByRows(TPoint{3, 0}, 1), (TPoint{3, 1}));
  EXPECT_EQ(nav.MoveByRows(TPoint{3, 1}, 1), (TPoint{3, 5}));
  EXPECT_EQ(nav.MoveByRows(TPoint{3, 5}, -1), (TPoint{3, 1}));
  EXPECT_EQ(nav.MoveByRows(TPoint{12, 5}, -1), (TPoint{6, 1})) << "the mark's place, not past it";
  EXPECT_EQ(nav.MoveByRows(TPoint{2, 6}, -2), (TPoint{2, 1}));
  EXPECT_EQ(nav.RowEnd(TPoint{0, 1}), (TPoint{6, 1}));
  // Past the mark: back to it, or, moving on, onto the line after the range.
  EXPECT_EQ(nav.ClampToFolds(TPoint{7, 1}, false), (TPoint{6, 1}));
  EXPECT_EQ(nav.ClampToFolds(TPoint{7, 1}, true), (TPoint{0, 5}));
  EXPECT_EQ(nav.ClampToFolds(TPoint{2, 3}, true), (TPoint{0, 5}));
  EXPECT_EQ(nav.ClampToFolds(TPoint{2, 3}, false), (TPoint{6, 1}));
  EXPECT_EQ(nav.ClampToFolds(TPoint{6, 1}, true), (TPoint{6, 1}));
  EXPECT_EQ(nav.ClampToFolds(TPoint{9, 5}, true), (TPoint{9, 5}));
  // An edit inside the range unfolds it and the rows come back.
  lines.InsertText(lines.LineStart(2) + 3, "!");
  EXPECT_TRUE(view.folds.Empty());
  EXPECT_EQ(nav.MoveByRows(TPoint{3, 1}, 1), (TPoint{3, 2}));
}

TEST(ViewNavigator, ThePageAndTheTopRowKeepTheCaretInSight) {
  std::string text;
  for (int i = 0; i < 30; ++i) text += "line " + std::to_string(i) + "\r\n";
  TViewModel view(text);
  TViewNavigator& nav = view.navigator;
  nav.SetPageRows(10);
  EXPECT_EQ(view.rows.RowCount(), 30);
  nav.SetTopRow(100);
  EXPECT_EQ(nav.TopRow(), 29) << "the last row may be the top row";
  view.editor.SetOptions(view.editor.Options() & ~soScrollLastLine);
  EXPECT_EQ(nav.TopRow(), 20) << "else one page above the end";
  nav.SetTopRow(-3);
  EXPECT_EQ(nav.TopRow(), 0);
  nav.SetTopRow(5);
  EXPECT_EQ(nav.TopOfPage(TPoint{2, 17}), (TPoint{2, 5}));
  EXPECT_EQ(nav.BottomOfPage(TPoint{2, 7}), (TPoint{2, 14}));
  view.editor.SetCaretPos(2, 25);
  nav.EnsureCaretVisible();
  EXPECT_EQ(nav.TopRow(), 16);
  view.editor.SetCaretPos(2, 3);
  nav.EnsureCaretVisible();
  EXPECT_EQ(nav.TopRow(), 3);
  nav.EnsureCaretVisible();
  EXPECT_EQ(nav.TopRow(), 3);
  nav.SetPageRows(0);
  EXPECT_EQ(nav.PageRows(), 1);
}

TEST(ViewNavigator, ToggleCollapseNearestFoldsTheInnermostRangeAndUnfoldsOnTheSameLine) {
  TViewModel view("#ifdef A\r\n  #ifdef B\r\n  x\r\n  #endif\r\n#endif\r\ny\r\n");
  TSyntMemoStrings& lines = view.Lines();
  const TFoldableRange outer{0, lines.LineStart(4) + 6, "A"};
  const TFoldableRange inner{lines.LineStart(1) + 2, lines.LineStart(3) + 8, "B"};
  TFoldSource source;
  source.InnermostRangeAt = [&](int offset) -> std::optional<TFoldableRange> {
    if (offset >= inner.StartPos && offset < inner.EndPos) return inner;
    if (offset < outer.EndPos) return outer;
    return std::nullopt;
  };
  view.navigator.SetFoldSource(source);
  view.editor.SetCaretPos(2, 2);  // inside B, on a line B hides
  view.navigator.ToggleCollapseNearest(view.editor.CaretPos());
  ASSERT_EQ(view.folds.Count(), 1);
  EXPECT_EQ(view.folds.Folds()[0].CollapseText, "B");
  EXPECT_EQ(view.editor.CaretPos(), (TPoint{2, 1})) << "the hidden caret goes to the mark";
  EXPECT_EQ(view.rows.RowCount(), 4);
  view.navigator.ToggleCollapseNearest(TPoint{0, 0});
  EXPECT_EQ(view.folds.Count(), 2);
  EXPECT_EQ(view.rows.RowCount(), 2);
  view.navigator.ToggleCollapseNearest(TPoint{0, 0});
  EXPECT_EQ(view.folds.Count(), 1) << "unfolds the fold on the caret's line; the nested one stays";
  EXPECT_EQ(view.rows.RowCount(), 4);
  view.navigator.ToggleCollapseNearest(TPoint{0, 5});
  EXPECT_EQ(view.folds.Count(), 1) << "no range there";
}

TEST(ViewNavigator, AWindowNarrowerThanOneCharacterStillMovesRowByRow) {
  TViewModel view("abc\r\nde\r\n");
  view.wrap.SetWordWrap(true);
  view.wrap.SetWrapWidth(3);
  TViewNavigator& nav = view.navigator;
  EXPECT_EQ(view.rows.RowCount(), 5);
  EXPECT_EQ(nav.MoveByRows(TPoint{0, 0}, 1), (TPoint{1, 0}));
  EXPECT_EQ(nav.MoveByRows(TPoint{2, 0}, 1), (TPoint{0, 1}));
  EXPECT_EQ(nav.RowEnd(TPoint{1, 1}), (TPoint{2, 1}));
  EXPECT_EQ(nav.RowHome(TPoint{1, 1}), (TPoint{1, 1}));
}

TEST(ViewNavigator, RandomMovesLandOnTheRowAskedForAndNeverOnHiddenText) {
  std::mt19937 random(9);
  TViewModel view("#ifdef A\r\n\tSpawn Tank (1, 2); // patrol\r\nMoveTo Group Zone\r\n#endif\r\n"
                  "a long line of words that wraps more than once at this width\r\n\r\nend\r\n",
                  12);
  TSyntMemoStrings& lines = view.Lines();
  view.folds.Fold(6, lines.LineStart(3) + 6, "A");
  view.folds.Fold(lines.LineStart(4) + 2, lines.LineStart(6) + 1, "");
  for (int step = 0; step < 2000; ++step) {
    if (step % 200 == 100) view.folds.Clear();
    if (step % 200 == 150) view.editor.SetOptions(view.editor.Options() ^ soSmartCaret);
    const int y = static_cast<int>(random() % lines.Count());
    const TPoint caret = view.rows.ShownCaret(TPoint{static_cast<int>(random() % 30), y});
    const int rows = static_cast<int>(random() % 9) - 4;
    const TPoint moved = view.navigator.MoveByRows(caret, rows);
    const int expected = std::clamp(view.rows.RowOfCaret(caret) + rows, 0, view.rows.RowCount() - 1);
    ASSERT_EQ(view.rows.RowOfCaret(moved), expected) << step;
    ASSERT_EQ(view.rows.ShownCaret(moved), moved) << step << " lands on shown text";
    const TPoint home = view.navigator.RowHome(moved);
    const TPoint end = view.navigator.RowEnd(moved);
    if (view.editor.HasOption(soSmartCaret)) {
      ASSERT_EQ(view.rows.RowOfCaret(home), expected) << step;
      ASSERT_EQ(view.rows.RowOfCaret(end), expected) << step;
    } else {  // Home and End of the whole line
      ASSERT_EQ(home, (TPoint{0, moved.Y}));
      ASSERT_EQ(end, (TPoint{view.rows.ShownEnd(moved.Y), moved.Y}));
    }
    ASSERT_LE(home.X, end.X);
  }
}

}  // namespace
}  // namespace penwick

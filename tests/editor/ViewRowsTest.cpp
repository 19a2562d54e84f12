// Visual rows over word wrap and folds, and carets to pixels and back.
#include "editor/ViewRows.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "ViewModelFixture.h"

namespace penwick {
namespace {

// Checks the rows model against a walk over the lines, and the wrap layout
// against a fresh one given the same cuts.
void ExpectConsistent(TViewModel& view, const std::string& context) {
  const std::vector<TRowPos> walk = view.WalkRows();
  ASSERT_EQ(view.rows.RowCount(), static_cast<int>(walk.size())) << context;
  for (size_t r = 0; r < walk.size(); ++r) {
    ASSERT_EQ(view.rows.RowAt(static_cast<int>(r)), walk[r]) << context << " row " << r;
    if (walk[r].Sub == 0) {
      ASSERT_EQ(view.rows.FirstRowOf(walk[r].Line), static_cast<int>(r)) << context;
    }
  }
  for (int line = 0; line < view.wrap.LineCount(); ++line) {
    if (const TFoldRange* f = view.folds.FoldHiding(line)) {
      ASSERT_EQ(view.rows.FirstRowOf(line), view.rows.FirstRowOf(f->FirstLine)) << context;
      ASSERT_EQ(view.rows.LineRows(line), 0);
    }
  }
  TWrapLayout fresh(view.Lines(), view.editor.TabList(), view.measure);
  fresh.SetWordWrap(view.wrap.WordWrap());
  fresh.SetWrapWidth(view.wrap.WrapWidth());
  fresh.SetCutProvider([&](int line) {
    const TFoldRange* f = view.folds.ShownFoldOn(line);
    return f ? TLineCut{f->StartPos - view.Lines().LineStart(line), f->MarkCells()} : TLineCut{};
  });
  for (int line = 0; line < fresh.LineCount(); ++line) {
    ASSERT_EQ(view.wrap.SubLineCount(line), fresh.SubLineCount(line)) << context << " line " << line;
    for (int sub = 0; sub < fresh.SubLineCount(line); ++sub)
      ASSERT_EQ(view.wrap.SubLineStart(line, sub), fresh.SubLineStart(line, sub)) << context << " line " << line;
    ASSERT_EQ(view.wrap.SubLineEnd(line, fresh.SubLineCount(line) - 1), fresh.SubLineEnd(line, fresh.SubLineCount(line) - 1));
  }
}

TEST(ViewRows, RowsFollowRandomFoldsEditsAndWidths) {
  std::mt19937 random(3);
  const char* pieces[] = {"word ", "\r\n", "\t", "x", "\r\nab cd ef gh\r\n", "longwordlongword"};
  for (bool wrap : {false, true}) {
    TViewModel view("#ifdef A\r\nalpha beta gamma delta\r\n#endif\r\n\tone two three four five\r\nend\r\n", wrap ? 8 : 0);
    for (int step = 0; step < 600; ++step) {
      TSyntMemoStrings& lines = view.Lines();
      const int length = lines.TextLength();
      const int action = static_cast<int>(random() % 10);
      if (action < 3 && length > 0) {
        int a = static_cast<int>(random() % length);
        int b = static_cast<int>(random() % (length + 1));
        if (a > b) std::swap(a, b);
        view.folds.Fold(a, b, random() % 2 ? "" : "#ifdef A");
      } else if (action == 3 && !view.folds.Empty()) {
        const TFoldRange f = view.folds.Folds()[random() % view.folds.Count()];
        view.folds.Unfold(f.StartPos, f.EndPos);
      } else if (action == 4 && wrap) {
        view.wrap.SetWrapWidth(static_cast<int>(random() % 120));
      } else if (action < 7 && length > 0) {
        lines.DeleteText(static_cast<int>(random() % length), static_cast<int>(random() % 6) + 1);
      } else {
        lines.InsertText(static_cast<int>(random() % (length + 1)), pieces[random() % 6]);
      }
      if (lines.TextLength() > 600) {
        lines.SetText("a b c\r\nd e f\r\n");
      }
      if (random() % 3 == 0) ExpectConsistent(view, "step " + std::to_string(step));
      if (::testing::Test::HasFatalFailure()) return;
    }
  }
}

TEST(ViewRows, AFoldedFirstLineIsShownUpToItsStartAndTheRowsAfterItJump) {
  TViewModel view("start\r\n#ifdef HARD\r\nSpawn 1\r\nSpawn 2\r\n#endif\r\nend\r\n");
  TSyntMemoStrings& lines = view.Lines();
  ASSERT_TRUE(view.folds.Fold(lines.LineStart(1), lines.LineStart(4) + 6, "HARD"));
  EXPECT_EQ(view.rows.RowCount(), 3);
  EXPECT_EQ(view.rows.RowAt(2), (TRowPos{5, 0}));
  EXPECT_EQ(view.rows.FirstRowOf(5), 2);
  EXPECT_EQ(view.rows.ShownEnd(1), 0);
  EXPECT_EQ(view.rows.FoldOn(1)->MarkCells(), 5);
  // The caret cannot stand past the mark or on a hidden line.
  EXPECT_EQ(view.rows.ShownCaret(TPoint{4, 1}), (TPoint{0, 1}));
  EXPECT_EQ(view.rows.ShownCaret(TPoint{3, 3}), (TPoint{0, 1}));
  EXPECT_EQ(view.rows.PixelToCaret(200, 20), (TPoint{0, 1}));
  EXPECT_EQ(view.rows.RowOfCaret(TPoint{2, 3}), 1);

  // With word wrap on, the cut line wraps as its shown text plus the mark.
  lines.SetText("abcdef #ifdef X\r\nin\r\n#endif\r\nafter\r\n");
  view.wrap.SetWordWrap(true);
  view.wrap.SetWrapWidth(10 * 8);
  ASSERT_TRUE(view.folds.Fold(7, lines.LineStart(2) + 6, "X-long-mark"));
  EXPECT_EQ(view.wrap.SubLineCount(0), 2) << "7 characters and a 12-cell mark";
  EXPECT_EQ(view.rows.RowCount(), 3);
  EXPECT_EQ(view.rows.CaretToPixel(TPoint{7, 0}), (TPixelPoint{0, 16})) << "the caret at the mark, on its row";
  view.folds.UnfoldLine(0);
  EXPECT_EQ(view.wrap.SubLineCount(0), 2) << "\"abcdef #\" then \"ifdef X\": before a word character after a non-word one";
  EXPECT_EQ(view.wrap.SubLineStart(0, 1), 8);
  EXPECT_EQ(view.rows.RowCount(), 5);
}

TEST(ViewRows, CaretsAndPixelsMapBothWaysOnWrappedLinesWithTabs) {
  TViewModel view("ab\tcd efgh ijkl\r\nxy\r\n", 8);  // cells: a b [tab 2-3] c d _ e f | g h _ | i j k l
  TSyntMemoStrings& lines = view.Lines();
  ASSERT_EQ(view.wrap.SubLineCount(0), 3);
  EXPECT_EQ(view.wrap.SubLineStart(0, 1), 6);
  EXPECT_EQ(view.wrap.SubLineStart(0, 2), 11);
  EXPECT_EQ(view.rows.CaretToPixel(TPoint{3, 0}), (TPixelPoint{32, 0})) << "after the tab";
  EXPECT_EQ(view.rows.CaretToPixel(TPoint{6, 0}), (TPixelPoint{0, 16})) << "a wrap position starts the next row";
  EXPECT_EQ(view.rows.CaretToPixel(TPoint{9, 0}), (TPixelPoint{24, 16}));
  EXPECT_EQ(view.rows.CaretToPixel(TPoint{18, 0}), (TPixelPoint{56, 32})) << "beyond the text, a cell a column";
  EXPECT_EQ(view.rows.CaretToPixel(TPoint{1, 1}), (TPixelPoint{8, 48}));
  // Clicks: the nearest boundary; inside the tab's cells, by halves.
  EXPECT_EQ(view.rows.PixelToCaret(19, 5), (TPoint{2, 0}));
  EXPECT_EQ(view.rows.PixelToCaret(25, 5), (TPoint{3, 0}));
  EXPECT_EQ(view.rows.PixelToCaret(300, 20), (TPoint{10, 0})) << "past a row that is not the last: before its last character";
  EXPECT_EQ(view.rows.PixelToCaret(58, 40), (TPoint{18, 0})) << "past the text on the last row";
  EXPECT_EQ(view.rows.PixelToCaret(-5, -5), (TPoint{0, 0}));
  EXPECT_EQ(view.rows.PixelToCaret(9, 9999), (TPoint{1, 1})) << "below the text: the last row";
  // Every shown position comes back from its pixel.
  for (int y = 0; y < lines.Count(); ++y) {
    for (int x = 0; x <= lines.LineLength(y) + 2; ++x) {
      const TPixelPoint p = view.rows.CaretToPixel(TPoint{x, y});
      EXPECT_EQ(view.rows.PixelToCaret(p.X, p.Y), (TPoint{x, y})) << x << "," << y;
      EXPECT_EQ(view.rows.CaretOnRow(p.Y / 16, p.X + 2, false), (TPoint{x, y})) << x << "," << y;
    }
  }
}

}  // namespace
}  // namespace penwick

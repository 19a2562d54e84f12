// The editor's text as visual rows: wrapped sub-lines, minus the lines that
// folds hide, and the mapping between caret positions and pixels.
#pragma once

#include "editor/FoldState.h"
#include "editor/MemoEditor.h"
#include "editor/WrapLayout.h"
#include "platform/ListenerList.h"

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace penwick {

class TSyntMemoStrings;
class TTabList;
class TTextMeasure;

// A point in document pixels: X from the left edge of the text (before any
// horizontal scrolling), Y from the top of the first row (row * line height).
struct TPixelPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TPixelPoint& a, const TPixelPoint& b) { return a.X == b.X && a.Y == b.Y; }
};

// A visual row: a line and a sub-line of it.
struct TRowPos {
  int Line = 0;
  int Sub = 0;
  friend bool operator==(const TRowPos& a, const TRowPos& b) { return a.Line == b.Line && a.Sub == b.Sub; }
};

// Rows
// ----
// A line hidden by a shown fold has no rows; any other line has the rows of
// its sub-lines in the wrap layout. The first line of a shown fold is laid out
// up to the fold's start (its cut) followed by the collapse mark
// (TFoldRange::MarkCells cells, one unbreakable piece); the rows model gives
// the wrap layout these cuts and re-lays out a line whenever a fold starting
// on it comes or goes.
//
// Carets and pixels
// -----------------
// A caret (X column, Y line) stands on the sub-line that shows its column
// (TWrapLayout::SubLineOf); its pixel X is its visual column minus the
// sub-line's first visual column, times the cell width (columns beyond the
// line's text are one cell each). A caret on a hidden line, or past the cut of
// a folded line, is drawn at the mark (the cut of the fold's first line).
// From a pixel: the row under Y (above the text: row 0; below: the last row),
// then the character boundary nearest to X on that sub-line. On a sub-line
// that is not the line's last, points beyond its end give the column before
// its last character (the caret stays on the sub-line); on a folded first
// line, points at or beyond the cut give the cut; on a line's last sub-line,
// points beyond the text give columns beyond it, one per cell.
//
// Costs: row questions O(log n + log F) (n lines, F shown folds); pixel
// questions add the length of the line. Holds references to its parts; they
// must outlive it. It takes the folds' OnChanged and the wrap layout's cut
// provider for itself, and must be constructed after the wrap layout (both
// hear the store in the Content phase, in the order they subscribed).
class TViewRows {
public:
  TViewRows(TSyntMemoStrings& lines, const TTabList& tabs, const TTextMeasure& measure, TWrapLayout& wrap,
            TFoldState& folds);
  // Gives the folds' OnChanged and the wrap layout's cut provider back.
  ~TViewRows();
  TViewRows(const TViewRows&) = delete;
  TViewRows& operator=(const TViewRows&) = delete;

  TWrapLayout& Wrap() { return m_wrap; }
  TFoldState& Folds() { return m_folds; }
  const TTextMeasure& Measure() const { return m_measure; }
  int LineHeight() const;
  int CellWidth() const;

  // ---- Rows ----
  // Visible rows in all (at least 1).
  int RowCount() const;
  // Rows of a line: 0 when hidden, else its sub-lines.
  int LineRows(int line) const;
  // The row of a line's first sub-line; a hidden line gives the row of the
  // first line of the fold hiding it.
  int FirstRowOf(int line) const;
  // The line and sub-line of a row (clamped to 0..RowCount-1).
  TRowPos RowAt(int row) const;
  // The row a caret stands on.
  int RowOfCaret(TPoint caret) const;
  // The line of the next / previous visible line after / before `line`, or -1.
  int NextVisibleLine(int line) const;
  int PrevVisibleLine(int line) const;

  // ---- Shown text of a line ----
  // The column where the shown text ends: the cut of a folded first line, else the line's length.
  int ShownEnd(int line) const;
  // The shown fold starting on a line, or nullptr (its mark follows the cut).
  const TFoldRange* FoldOn(int line) const { return m_folds.ShownFoldOn(line); }
  // Character columns of a sub-line: [start, end) (see TWrapLayout).
  int SubLineStart(int line, int sub) const { return m_wrap.SubLineStart(line, sub); }
  int SubLineEnd(int line, int sub) const { return m_wrap.SubLineEnd(line, sub); }

  // ---- Carets and pixels ----
  // A caret moved off hidden lines and past-the-mark columns onto the mark.
  TPoint ShownCaret(TPoint caret) const;
  TPixelPoint CaretToPixel(TPoint caret) const;
  TPoint PixelToCaret(int x, int y) const;
  // The caret on a given row at pixel X (from the text's left edge): at the
  // nearest character boundary (`nearest`, for the mouse), or before the
  // character whose cell holds X (for moves that keep a pixel column).
  TPoint CaretOnRow(int row, int x, bool nearest = true) const;

private:
  struct TShownFold {
    int FirstLine;
    int LastLine;
    int HiddenRowsBefore;  // wrap rows hidden by the shown folds before this one
    int HiddenRows;        // wrap rows of its lines after the first
    int VisibleRow;        // the row of its first line
  };
  void Refresh() const;
  void OnFoldsChanged(int firstLine, int lastLine, bool byEdit);
  void InvalidateFoldLines(int firstLine, int lastLine);
  // Index of the first shown fold whose first line is >= line.
  size_t ShownIndexFrom(int line) const;
  int VisualColumn(const std::vector<int>& cells, int x) const;

  TSyntMemoStrings& m_lines;
  const TTabList& m_tabs;
  const TTextMeasure& m_measure;
  TWrapLayout& m_wrap;
  TFoldState& m_folds;
  TSubscription m_subscription;
  std::vector<std::pair<int, int>> m_pending;  // fold lines to re-lay out once the edit reached the layout
  mutable std::vector<TShownFold> m_shown;
  mutable std::uint64_t m_wrapGeneration = ~0ull;
  mutable std::uint64_t m_foldGeneration = ~0ull;
};

}  // namespace penwick

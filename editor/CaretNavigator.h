// What the editor's movement commands ask of the view: moves that depend on
// how lines are laid out on screen (wrapped sub-lines, folded ranges, the page).
#pragma once

#include "editor/MemoEditor.h"

namespace penwick {

// A view of the text in visual rows: a line takes one row per wrapped
// sub-line, the lines hidden inside a folded range take none. Rows are
// 0-based from the top of the text. Implemented by the widget over its
// layout; commands and tests use it without a window.
class TCaretNavigator {
public:
  virtual ~TCaretNavigator() = default;

  // The caret `rows` visual rows below (rows > 0) or above (rows < 0) the
  // caret's own row, at the same pixel column when the smart caret is on
  // (else at the same character column), skipping hidden lines. Stops at the
  // first and last rows.
  virtual TPoint MoveByRows(TPoint caret, int rows) = 0;
  // Home and End: with word wrap on and more than one sub-line, the start or
  // the end of the caret's sub-line; else the start or end of the line's text.
  virtual TPoint RowHome(TPoint caret) = 0;
  virtual TPoint RowEnd(TPoint caret) = 0;
  // The caret at the top or bottom row of the window, at the caret's column.
  virtual TPoint TopOfPage(TPoint caret) = 0;
  virtual TPoint BottomOfPage(TPoint caret) = 0;
  // Whole rows the window shows (at least 1).
  virtual int PageRows() const = 0;
  // The first row shown; setting it is clipped to the scroll range.
  virtual int TopRow() const = 0;
  virtual void SetTopRow(int row) = 0;
  // A caret that a movement put past the collapse mark of a folded line:
  // `forward` moves that continue past it land on the first line after the
  // range, others at the mark. Positions outside folded lines come back as given.
  virtual TPoint ClampToFolds(TPoint caret, bool forward) = 0;
  // Folds the innermost foldable range at the caret, or unfolds a folded
  // range on the caret's line.
  virtual void ToggleCollapseNearest(TPoint caret) = 0;
  virtual void EnsureCaretVisible() = 0;
};

}  // namespace penwick

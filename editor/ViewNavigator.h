// The movement commands' view of the text over the rows model: moves by
// visual rows, Home and End on sub-lines, the page and the top row, folds.
#pragma once

#include "editor/CaretNavigator.h"
#include "editor/FoldState.h"
#include "editor/ViewRows.h"

namespace penwick {

// The navigator of a view without a window: the widget gives it the page
// size (SetPageRows, from its height) and keeps its scroll bar in step with
// TopRow. Options come from the editor: soSmartCaret (moves keep the pixel
// column, half a line height beyond the current sub-line, two pixels right of
// the caret's left edge), soScrollLastLine (the last row may become the top
// row; without it the top row goes no further than one page above the end).
// Word wrap is the wrap layout's. RowHome and RowEnd act on the caret's
// sub-line when the smart caret and word wrap are on and the line has more
// than one sub-line; the end of a sub-line that is not the line's last is the
// column before its last character (a column at the wrap position itself
// would stand on the next row).
//
// Folds: MoveByRows skips hidden lines by construction (they have no rows).
// ToggleCollapseNearest asks the fold source (SetFoldSource); after a fold,
// a caret the fold hid (or one past its mark) is put at the mark through the
// editor.
class TViewNavigator : public TCaretNavigator {
public:
  TViewNavigator(TMemoEditor& editor, TViewRows& rows);

  void SetFoldSource(TFoldSource source) { m_source = std::move(source); }
  // Whole rows the window shows; values below 1 count as 1.
  void SetPageRows(int rows);

  TPoint MoveByRows(TPoint caret, int rows) override;
  TPoint RowHome(TPoint caret) override;
  TPoint RowEnd(TPoint caret) override;
  TPoint TopOfPage(TPoint caret) override;
  TPoint BottomOfPage(TPoint caret) override;
  int PageRows() const override { return m_pageRows; }
  int TopRow() const override;
  void SetTopRow(int row) override;
  TPoint ClampToFolds(TPoint caret, bool forward) override;
  void ToggleCollapseNearest(TPoint caret) override;
  void EnsureCaretVisible() override;

  // The largest top row the scroll range allows.
  int MaxTopRow() const;

private:
  TPoint CaretAtRow(TPoint caret, int row);
  bool SmartCaret() const { return m_editor.HasOption(soSmartCaret); }

  TMemoEditor& m_editor;
  TViewRows& m_rows;
  TFoldSource m_source;
  int m_pageRows = 1;
  int m_topRow = 0;
};

}  // namespace penwick

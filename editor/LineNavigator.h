// A caret navigator over unwrapped lines: one visual row per line, nothing
// folded. It serves a view without a wrap layout.
#pragma once

#include <functional>

#include "editor/CaretNavigator.h"

namespace penwick {

// What the navigator asks of the window it scrolls; any member may be empty
// (then the window counts as one row tall, scrolled to the top).
struct TLineViewport {
  std::function<int()> PageRows;       // whole rows the window shows
  std::function<int()> TopRow;         // first row shown
  std::function<void(int)> SetTopRow;  // clipped to the scroll range by the window
  std::function<void()> EnsureCaretVisible;
};

// Rows are lines. Up and Down keep the caret's visual column under the
// smart caret (soSmartCaret: in fixed-width cells that is its pixel column),
// else its character column. Folds do not exist here: ClampToFolds gives
// the caret back and ToggleCollapseNearest does nothing.
class TLineNavigator : public TCaretNavigator {
public:
  TLineNavigator(TMemoEditor& editor, TLineViewport viewport);

  TPoint MoveByRows(TPoint caret, int rows) override;
  TPoint RowHome(TPoint caret) override;
  TPoint RowEnd(TPoint caret) override;
  TPoint TopOfPage(TPoint caret) override;
  TPoint BottomOfPage(TPoint caret) override;
  int PageRows() const override;
  int TopRow() const override;
  void SetTopRow(int row) override;
  TPoint ClampToFolds(TPoint caret, bool) override { return caret; }
  void ToggleCollapseNearest(TPoint) override {}
  void EnsureCaretVisible() override;

private:
  int LastLine() const;
  // `caret`'s column carried over to `line`.
  TPoint OnLine(TPoint caret, int line) const;

  TMemoEditor& m_editor;
  TLineViewport m_viewport;
};

}  // namespace penwick

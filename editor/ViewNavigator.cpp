// Movement over visual rows: smart caret, sub-line Home and End, the page, folds.
#include "editor/ViewNavigator.h"

#include <algorithm>

namespace penwick {

TViewNavigator::TViewNavigator(TMemoEditor& editor, TViewRows& rows) : m_editor(editor), m_rows(rows) {}

void TViewNavigator::SetPageRows(int rows) { m_pageRows = std::max(1, rows); }

// The caret on `row`: at the pixel column of `caret` with the smart caret,
// else at the same character distance from its sub-line's start.
TPoint TViewNavigator::CaretAtRow(TPoint caret, int row) {
  const TPoint c = m_rows.ShownCaret(caret);
  row = std::clamp(row, 0, m_rows.RowCount() - 1);
  if (SmartCaret()) {
    const TPixelPoint p = m_rows.CaretToPixel(c);
    return m_rows.CaretOnRow(row, p.X + 2, false);
  }
  TWrapLayout& wrap = m_rows.Wrap();
  const int sub = wrap.SubLineOf(c.Y, c.X);
  const int offset = c.X - wrap.SubLineStart(c.Y, sub);
  const TRowPos target = m_rows.RowAt(row);
  const int start = wrap.SubLineStart(target.Line, target.Sub);
  int x = start + offset;
  if (target.Sub < wrap.SubLineCount(target.Line) - 1) {
    x = std::min(x, std::max(start, wrap.SubLineEnd(target.Line, target.Sub) - 1));
  }
  return m_rows.ShownCaret(TPoint{x, target.Line});
}

TPoint TViewNavigator::MoveByRows(TPoint caret, int rows) {
  return CaretAtRow(caret, m_rows.RowOfCaret(caret) + rows);
}

TPoint TViewNavigator::RowHome(TPoint caret) {
  const TPoint c = m_rows.ShownCaret(caret);
  TWrapLayout& wrap = m_rows.Wrap();
  if (SmartCaret() && wrap.WordWrap() && wrap.SubLineCount(c.Y) > 1)
    return TPoint{wrap.SubLineStart(c.Y, wrap.SubLineOf(c.Y, c.X)), c.Y};
  return TPoint{0, c.Y};
}

TPoint TViewNavigator::RowEnd(TPoint caret) {
  const TPoint c = m_rows.ShownCaret(caret);
  TWrapLayout& wrap = m_rows.Wrap();
  const int count = wrap.SubLineCount(c.Y);
  if (SmartCaret() && wrap.WordWrap() && count > 1) {
    const int sub = wrap.SubLineOf(c.Y, c.X);
    // A column at a wrap position belongs to the next sub-line, so the end of
    // a sub-line that is not the last is just before its last character.
    if (sub < count - 1) return TPoint{std::max(wrap.SubLineStart(c.Y, sub), wrap.SubLineEnd(c.Y, sub) - 1), c.Y};
  }
  return TPoint{m_rows.ShownEnd(c.Y), c.Y};
}

TPoint TViewNavigator::TopOfPage(TPoint caret) { return CaretAtRow(caret, TopRow()); }

TPoint TViewNavigator::BottomOfPage(TPoint caret) {
  return CaretAtRow(caret, std::min(TopRow() + m_pageRows - 1, m_rows.RowCount() - 1));
}

int TViewNavigator::MaxTopRow() const {
  const int total = m_rows.RowCount();
  return m_editor.HasOption(soScrollLastLine) ? total - 1 : std::max(0, total - m_pageRows);
}

int TViewNavigator::TopRow() const { return std::clamp(m_topRow, 0, MaxTopRow()); }

void TViewNavigator::SetTopRow(int row) { m_topRow = std::clamp(row, 0, MaxTopRow()); }

TPoint TViewNavigator::ClampToFolds(TPoint caret, bool forward) {
  TFoldState& folds = m_rows.Folds();
  if (folds.Empty()) return caret;
  const TFoldRange* fold = folds.FoldHiding(caret.Y);
  if (!fold) {
    fold = folds.ShownFoldOn(caret.Y);
    if (!fold || caret.X <= m_rows.ShownEnd(caret.Y)) return caret;
  }
  const int after = fold->LastLine() + 1;
  if (forward && after < m_rows.Wrap().LineCount()) return TPoint{0, after};
  return TPoint{m_rows.ShownEnd(fold->FirstLine), fold->FirstLine};
}

void TViewNavigator::ToggleCollapseNearest(TPoint caret) {
  TFoldState& folds = m_rows.Folds();
  const TPoint c = m_rows.ShownCaret(caret);
  if (folds.UnfoldLine(c.Y)) return;
  bool folded = false;
  if (m_source.InnermostRangeAt) {
    if (const auto range = m_source.InnermostRangeAt(m_editor.CaretPosToStrPos(c))) folded = folds.Fold(*range);
  }
  if (!folded && m_source.RangeStartingOnLine) {
    if (const auto range = m_source.RangeStartingOnLine(c.Y)) folded = folds.Fold(*range);
  }
  if (!folded) return;
  const TPoint now = m_editor.CaretPos();
  const TPoint shown = ClampToFolds(now, false);
  if (shown != now) m_editor.SetCaretPos(shown);
}

void TViewNavigator::EnsureCaretVisible() {
  const int row = m_rows.RowOfCaret(m_editor.CaretPos());
  const int top = TopRow();
  if (row < top) {
    SetTopRow(row);
  } else if (row >= top + m_pageRows) {
    SetTopRow(row - m_pageRows + 1);
  }
}

}  // namespace penwick

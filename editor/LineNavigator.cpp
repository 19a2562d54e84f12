// Caret navigation over unwrapped, unfolded lines.
#include "editor/LineNavigator.h"

#include <algorithm>

namespace penwick {

TLineNavigator::TLineNavigator(TMemoEditor& editor, TLineViewport viewport)
    : m_editor(editor), m_viewport(std::move(viewport)) {}

int TLineNavigator::LastLine() const { return std::max(0, m_editor.Lines().Count() - 1); }

TPoint TLineNavigator::OnLine(TPoint caret, int line) const {
  line = std::clamp(line, 0, LastLine());
  if (!m_editor.HasOption(soSmartCaret) || line == caret.Y) return TPoint{caret.X, line};
  const int column = m_editor.Layout().VisualColumn(caret.Y, caret.X);
  return TPoint{m_editor.Layout().NearestColumn(line, column), line};
}

TPoint TLineNavigator::MoveByRows(TPoint caret, int rows) { return OnLine(caret, caret.Y + rows); }

TPoint TLineNavigator::RowHome(TPoint caret) { return TPoint{0, caret.Y}; }

TPoint TLineNavigator::RowEnd(TPoint caret) { return TPoint{m_editor.Lines().LineLength(caret.Y), caret.Y}; }

TPoint TLineNavigator::TopOfPage(TPoint caret) { return OnLine(caret, TopRow()); }

TPoint TLineNavigator::BottomOfPage(TPoint caret) { return OnLine(caret, TopRow() + PageRows() - 1); }

int TLineNavigator::PageRows() const { return m_viewport.PageRows ? std::max(1, m_viewport.PageRows()) : 1; }

int TLineNavigator::TopRow() const { return m_viewport.TopRow ? m_viewport.TopRow() : 0; }

void TLineNavigator::SetTopRow(int row) {
  if (m_viewport.SetTopRow) m_viewport.SetTopRow(row);
}

void TLineNavigator::EnsureCaretVisible() {
  if (m_viewport.EnsureCaretVisible) m_viewport.EnsureCaretVisible();
}

}  // namespace penwick

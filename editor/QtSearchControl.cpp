// The editor widget's side of searching.
#include "editor/QtSearchControl.h"

#include "editor/QtSearchForms.h"
#include "editor/SyntaxMemo.h"

namespace penwick {

TMemoSearchControl::TMemoSearchControl(TSyntaxMemo& memo)
    : m_memo(memo), m_forms(std::make_unique<TQtSearchForms>(&memo, memo.CodePage())) {
  SetForms(m_forms.get());
}

TMemoSearchControl::~TMemoSearchControl() = default;

TMemoEditor& TMemoSearchControl::Core() { return m_memo.Core(); }

TSearchMarks& TMemoSearchControl::SearchMarks() { return m_memo.SearchMarks(); }

TClientSyntAnalyzer* TMemoSearchControl::SyntClient() { return m_memo.SyntClient(); }

const TCodePage& TMemoSearchControl::CodePage() const { return m_memo.CodePage(); }

TCommandDispatcher& TMemoSearchControl::Commands() { return m_memo.Commands(); }

void TMemoSearchControl::EnsureCaretVisible() { m_memo.EnsureCaretVisible(); }

void TMemoSearchControl::Repaint() { m_memo.viewport()->update(); }

bool TMemoSearchControl::Focused() const { return m_memo.hasFocus(); }

bool TMemoSearchControl::CanFocus() const { return m_memo.isVisible() && m_memo.isEnabled(); }

void TMemoSearchControl::SetFocus() { m_memo.setFocus(Qt::OtherFocusReason); }

TPopupRect TMemoSearchControl::CharRectOnScreen(int offset) {
  const QPoint cell = m_memo.viewport()->mapToGlobal(m_memo.CaretPosToPoint(m_memo.StrPosToCaretPos(offset)));
  return TPopupRect{cell.x(), cell.y(), m_memo.CharWidth(), m_memo.LineHeight()};
}

}  // namespace penwick

// The editor widget's side of searching: its core, marks, analysis, focus and
// the screen place of a match, with the Qt search forms as its forms.
#pragma once

#include <memory>

#include "editor/SearchControl.h"

namespace penwick {

class TQtSearchForms;
class TSyntaxMemo;

// Serves TSearchControl over one editor widget, which must outlive it (the
// widget owns it and destroys it before its other parts). Owns a
// TQtSearchForms parented to the widget's window and sets it as Forms();
// SetForms may replace it (tests answer from a script), QtForms() stays.
class TMemoSearchControl : public TSearchControl {
public:
  explicit TMemoSearchControl(TSyntaxMemo& memo);
  ~TMemoSearchControl() override;

  TMemoEditor& Core() override;
  TSearchMarks& SearchMarks() override;
  // Asked each time: binding another lexer replaces the analysis.
  TClientSyntAnalyzer* SyntClient() override;
  const TCodePage& CodePage() const override;
  TCommandDispatcher& Commands() override;
  void EnsureCaretVisible() override;
  void Repaint() override;
  bool Focused() const override;
  // Visible and enabled.
  bool CanFocus() const override;
  void SetFocus() override;
  // The caret cell of `offset` in global screen pixels, in the view as it
  // is scrolled now: Width one character cell, Height the line height. An
  // offset outside the text is clamped to it by the caret conversion.
  TPopupRect CharRectOnScreen(int offset) override;

  TQtSearchForms& QtForms() { return *m_forms; }

private:
  TSyntaxMemo& m_memo;
  std::unique_ptr<TQtSearchForms> m_forms;
};

}  // namespace penwick

// What the find and replace components need of the editor they search: its
// editing core, search marks and analysis, the focus, the screen position of
// a match, and the list of components bound to it.
#pragma once

#include <vector>

#include "editor/AnchorPlacement.h"

namespace penwick {

class TBaseFindDialog;
class TClientSyntAnalyzer;
class TCodePage;
class TCommandDispatcher;
class TMemoEditor;
class TSearchForms;
class TSearchMarks;

// The editor side of searching. The editor widget owns one; tests make their
// own over a plain editing core. Components name it as their Control and
// are kept in the order they were bound: a search command of the editor
// takes the first bound component of the class it needs.
class TSearchControl {
public:
  TSearchControl() = default;
  TSearchControl(const TSearchControl&) = delete;
  TSearchControl& operator=(const TSearchControl&) = delete;
  // Every component still bound lets go of the control (its Control becomes null).
  virtual ~TSearchControl();

  virtual TMemoEditor& Core() = 0;
  virtual TSearchMarks& SearchMarks() = 0;
  // The analysis of the text, or nullptr when the text is not highlighted.
  virtual TClientSyntAnalyzer* SyntClient() = 0;
  virtual const TCodePage& CodePage() const = 0;
  // The editor's command dispatcher, where the search keys are registered.
  virtual TCommandDispatcher& Commands() = 0;
  // Scrolls so that the caret is in view.
  virtual void EnsureCaretVisible() = 0;
  virtual void Repaint() = 0;
  virtual bool Focused() const = 0;
  // Whether the editor can take the focus (shown and enabled).
  virtual bool CanFocus() const = 0;
  virtual void SetFocus() = 0;
  // The character at `offset` on the screen: Left its left edge, Top and
  // Height its line's; scrolls nothing.
  virtual TPopupRect CharRectOnScreen(int offset) = 0;

  // The forms searching shows; not owned. Must be set before a search runs.
  TSearchForms& Forms() const { return *m_forms; }
  bool HasForms() const { return m_forms != nullptr; }
  void SetForms(TSearchForms* forms) { m_forms = forms; }

  // Called by the components when their Control is set or cleared.
  void Bind(TBaseFindDialog* component);
  void Unbind(TBaseFindDialog* component);
  const std::vector<TBaseFindDialog*>& Bound() const { return m_bound; }

private:
  TSearchForms* m_forms = nullptr;
  std::vector<TBaseFindDialog*> m_bound;
};

}  // namespace penwick

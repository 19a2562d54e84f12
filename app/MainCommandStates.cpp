// The rules that keep the editing commands' enabled state current: the idle
// updates and the opening of the Edit menu.
#include <QMenu>

#include "app/Main.h"
#include "editor/SyntaxMemo.h"

namespace penwick {

// Runs whenever the event loop is about to wait. The rules of the editing
// items act only while a document is named; without one they leave the
// items as Close left them (off), so that nothing offers to act on the
// hidden text of the last document.
void TfrmMain::UpdateCommandStates() {
  if (!m_editor) return;
  // Save follows changes of the modified state, not the state itself: after
  // Close has switched it off it stays off until the state next changes.
  const bool modified = m_editor->Modified();
  if (modified != m_lastModified) {
    m_lastModified = modified;
    SetEnabled({"mniSave", "tbtSave"}, modified);
  }
  const bool document = !m_documentName.empty();
  if (document) {
    SetEnabled({"mniUndo", "tbtUndo"}, m_editor->CanUndo());
    SetEnabled({"mniRedo", "tbtRedo"}, m_editor->CanRedo());
    const bool selection = m_editor->HaveSelection();
    SetEnabled({"mniCut", "tbtCut", "mniCopy", "tbtCopy"}, selection);
    SetEnabled({"mniPaste", "tbtPaste"}, ClipboardHasText());
  }
  Action("mniSelectAll")->setEnabled(document);
}

bool TfrmMain::ClipboardHasText() {
  if (m_clipboardChanged) {
    m_clipboardChanged = false;
    try {
      m_clipboardHasText = m_editor->Clipboard().HasText();
    } catch (...) {
      m_clipboardHasText = false;  // an unreachable clipboard holds nothing to paste
    }
  }
  return m_clipboardHasText;
}

void TfrmMain::EditMenuAboutToShow() {
  if (!m_documentOpen) return;
  SetEnabled({"mniUndo", "tbtUndo"}, m_editor->CanUndo());
  SetEnabled({"mniRedo", "tbtRedo"}, m_editor->CanRedo());
  m_clipboardChanged = true;
  Action("mniPaste")->setEnabled(ClipboardHasText());
  SetEnabled({"mniCut", "mniCopy"}, m_editor->SelLength() > 0);
  SetEnabled({"mniFind", "mniReplace"}, true);
}

}  // namespace penwick

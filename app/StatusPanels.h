// The three panels of the main window's status bar: the hint of the item
// under the pointer, the modified state, and the caret's line and column.
#pragma once

#include <QString>

class QLabel;
class QStatusBar;

namespace penwick {

class TSyntaxMemo;

class TStatusPanels {
public:
  // Adds the panels to `bar` (which owns them).
  explicit TStatusPanels(QStatusBar& bar);

  // A hint longer than the panel is shown cut with an ellipsis; the panel's
  // tooltip then holds the whole text.
  void ShowHint(const QString& hint);
  void ShowModified(bool modified);
  // "Ln 12, Col 5", both from 1; the column is the visual one (a tab counts
  // up to its stop), as the text is drawn. Empty without a document.
  void ShowCaret(const TSyntaxMemo& editor, bool documentOpen);
  // The text of panel 0, 1 or 2 (for the first, the whole hint); empty for
  // any other index.
  QString Text(int panel) const;
  // What panel 0 shows: the hint, elided to the panel's width.
  QString ShownHint() const;
  QString HintToolTip() const;

private:
  QString m_hintText;
  QLabel* m_hint;
  QLabel* m_modified;
  QLabel* m_caret;
};

}  // namespace penwick

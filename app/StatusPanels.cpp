// The main window's status-bar panels.
#include "app/StatusPanels.h"

#include <QLabel>
#include <QStatusBar>

#include "editor/SyntaxMemo.h"

namespace penwick {

TStatusPanels::TStatusPanels(QStatusBar& bar)
    : m_hint(new QLabel(&bar)), m_modified(new QLabel(&bar)), m_caret(new QLabel(&bar)) {
  m_hint->setFixedWidth(250);
  m_modified->setFixedWidth(300);
  m_caret->setFixedWidth(140);
  bar.addWidget(m_hint);
  bar.addWidget(m_modified);
  bar.addWidget(m_caret);
}

void TStatusPanels::ShowHint(const QString& hint) {
  m_hintText = hint;
  // The label's own margins and the panel's frame take a few pixels.
  const int room = m_hint->contentsRect().width() - 2 * m_hint->margin() - 4;
  const QString shown = m_hint->fontMetrics().elidedText(hint, Qt::ElideRight, room);
  m_hint->setText(shown);
  m_hint->setToolTip(shown == hint ? QString() : hint);
}

QString TStatusPanels::ShownHint() const { return m_hint->text(); }

QString TStatusPanels::HintToolTip() const { return m_hint->toolTip(); }

void TStatusPanels::ShowModified(bool modified) { m_modified->setText(modified ? "Modified" : ""); }

void TStatusPanels::ShowCaret(const TSyntaxMemo& editor, bool documentOpen) {
  if (!documentOpen) {
    m_caret->clear();
    return;
  }
  const TPoint caret = editor.CaretPos();
  const int column = editor.Layout().VisualColumn(caret.Y, caret.X);
  m_caret->setText(QString("Ln %1, Col %2").arg(caret.Y + 1).arg(column + 1));
}

QString TStatusPanels::Text(int panel) const {
  if (panel == 0) return m_hintText;
  const QLabel* panels[] = {m_hint, m_modified, m_caret};
  return panel > 0 && panel < 3 ? panels[panel]->text() : QString();
}

}  // namespace penwick

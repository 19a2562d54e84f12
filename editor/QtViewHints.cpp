// The editor's hints: the rest timer, the scroll hint and the collapsed-range hint.
#include "editor/QtViewHints.h"

#include <QFont>
#include <QWidget>

#include "editor/HintProps.h"
#include "editor/QtHintWindow.h"

namespace penwick {

namespace {

QColor ColorOf(std::uint32_t value) {
  return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

QFont FontOf(const TSyntFont& font) {
  QFont qfont(QString::fromStdString(font.Name));
  if (font.Height < 0) qfont.setPixelSize(-font.Height);
  else if (font.Size > 0) qfont.setPointSize(font.Size);
  return qfont;
}

}  // namespace

TQtViewHints::TQtViewHints(QWidget* owner, const THintProps& props, TQueries queries)
    : QObject(owner), m_props(props), m_queries(std::move(queries)), m_window(new TQtHintWindow(owner)) {
  m_rest.setSingleShot(true);
  connect(&m_rest, &QTimer::timeout, this, [this] { Rested(); });
}

TQtViewHints::~TQtViewHints() = default;

void TQtViewHints::ApplyLook() { m_window->SetColors(ColorOf(m_props.Color()), FontOf(m_props.Font())); }

void TQtViewHints::MouseMoved(QPoint viewportPos) {
  if (m_window->Kind() == TQtHintWindow::hkCollapsed && m_queries.FoldedButtonLineAt(viewportPos) != m_hintLine)
    m_window->CloseHint();
  m_restAt = viewportPos;
  if (m_props.Shows(shCollapsed)) m_rest.start(m_props.DelayBefore());
}

void TQtViewHints::MouseLeft() {
  m_rest.stop();
  if (m_window->Kind() == TQtHintWindow::hkCollapsed) m_window->CloseHint();
}

void TQtViewHints::Rested() {
  if (!m_props.Shows(shCollapsed) || !m_queries.HasFocus()) return;
  const int line = m_queries.FoldedButtonLineAt(m_restAt);
  if (line < 0) return;
  if (m_window->Kind() == TQtHintWindow::hkCollapsed && line == m_hintLine) return;
  m_hintLine = line;
  ApplyLook();
  m_queries.ShowCollapsed(*m_window, line, m_props.TimeCollapsed());
}

void TQtViewHints::ScrollThumbMoved(int value) {
  if (!m_props.Shows(shScroll)) return;
  ApplyLook();
  m_window->ShowText(TQtHintWindow::hkScroll, QString("Line: %1").arg(m_queries.TopLineNumberOf(value)),
                     m_queries.ScrollHintAnchor(), true, 0);
}

void TQtViewHints::ScrollThumbReleased() {
  if (m_window->Kind() == TQtHintWindow::hkScroll) m_window->CloseHint();
}

void TQtViewHints::Wheel() {
  m_rest.stop();
  m_window->CloseHint();
}

void TQtViewHints::MousePressed() {
  m_rest.stop();
  m_window->CloseHint();
}

void TQtViewHints::FocusLost() {
  m_rest.stop();
  if (m_window->Kind() == TQtHintWindow::hkCollapsed) m_window->CloseHint();
}

}  // namespace penwick

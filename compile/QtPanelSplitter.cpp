// The splitter bar above the output panel.
#include "compile/QtPanelSplitter.h"

#include <QMouseEvent>
#include <algorithm>

namespace penwick {

TQtPanelSplitter::TQtPanelSplitter(QWidget* panel, QWidget* parent) : QWidget(parent), m_panel(panel) {
  setFixedHeight(3);
  setCursor(Qt::SizeVerCursor);
}

void TQtPanelSplitter::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !m_panel) return QWidget::mousePressEvent(event);
  m_dragging = true;
  m_pressY = static_cast<int>(event->globalPosition().y());
  m_pressHeight = m_panel->isVisible() ? m_panel->height() : 0;
  event->accept();
}

void TQtPanelSplitter::mouseMoveEvent(QMouseEvent* event) {
  if (!m_dragging || !m_panel) return QWidget::mouseMoveEvent(event);
  // The layout follows the mouse while dragging; dragging up makes the panel taller.
  const int wanted = std::max(0, m_pressHeight + m_pressY - static_cast<int>(event->globalPosition().y()));
  m_panel->setFixedHeight(SnappedHeight(wanted));
  event->accept();
}

void TQtPanelSplitter::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) m_dragging = false;
  event->accept();
}

}  // namespace penwick

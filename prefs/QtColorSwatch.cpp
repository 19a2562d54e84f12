// The clickable colour swatch.
#include "prefs/QtColorSwatch.h"

#include <QMouseEvent>
#include <QPainter>

#include "editor/QtCanvasColors.h"

namespace penwick {

TQtColorSwatch::TQtColorSwatch(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setCursor(Qt::PointingHandCursor);
}

void TQtColorSwatch::SetColor(std::uint32_t color) {
  if (color == m_color) return;
  m_color = color;
  update();
}

void TQtColorSwatch::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(contentsRect(), CanvasColor(m_color, palette(), palette().color(QPalette::Window)));
  painter.end();
  QFrame::paintEvent(event);
}

void TQtColorSwatch::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    event->accept();
    emit Clicked();
    return;
  }
  QFrame::mousePressEvent(event);
}

}  // namespace penwick

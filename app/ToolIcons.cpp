// Toolbar pictures of our own.
#include "app/ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace penwick {
namespace {

// Open scissors, points up: two blades crossing at the pivot, two ring
// handles below.
QPixmap Scissors(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 16.0, size / 16.0);
  // Blades: steel grey, from the handles up past the pivot to the points.
  painter.setPen(QPen(QColor(90, 96, 104), 1.4, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(5.2, 10.2), QPointF(11.5, 1.2));
  painter.drawLine(QPointF(10.8, 10.2), QPointF(4.5, 1.2));
  painter.setBrush(QColor(90, 96, 104));
  painter.drawEllipse(QPointF(8.0, 6.2), 0.9, 0.9);
  // Handles: red rings.
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(200, 40, 40), 1.6));
  painter.drawEllipse(QPointF(4.2, 12.6), 2.3, 2.3);
  painter.drawEllipse(QPointF(11.8, 12.6), 2.3, 2.3);
  return pixmap;
}

}  // namespace

QIcon CutIcon() {
  QIcon drawn;
  drawn.addPixmap(Scissors(16));
  drawn.addPixmap(Scissors(32));
  return QIcon::fromTheme("edit-cut", drawn);
}

}  // namespace penwick

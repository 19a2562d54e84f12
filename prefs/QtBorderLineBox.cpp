// A border line-type list drawn as sample lines.
#include "prefs/QtBorderLineBox.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QSignalBlocker>

#include "prefs/QtBoxPalette.h"
#include "syntax/SyntaxFormat.h"

namespace penwick {

namespace {
constexpr QSize kSampleSize(64, 12);
}

TQtBorderLineBox::TQtBorderLineBox(QWidget* parent) : QComboBox(parent) {
  setIconSize(kSampleSize);
  const QColor ink = palette().color(QPalette::Text);
  for (int type = blNone; type <= blDouble; ++type) addItem(QIcon(Sample(type, kSampleSize, ink)), QString());
  connect(this, &QComboBox::activated, this, [this](int index) {
    if (index >= 0) emit lineTypeChanged(index);
  });
  ApplyBoxPalette(*this);
}

void TQtBorderLineBox::SetLineType(int type) {
  const QSignalBlocker blocker(this);
  setCurrentIndex(type >= blNone && type <= blDouble ? type : -1);
}

QPixmap TQtBorderLineBox::Sample(int type, QSize size, const QColor& color) {
  QPixmap pixmap(size);
  pixmap.fill(Qt::transparent);
  if (type <= blNone || type > blDouble) return pixmap;
  QPainter painter(&pixmap);
  const int left = 2, right = size.width() - 3, middle = size.height() / 2;
  QPen pen(color, 1, Qt::SolidLine, Qt::FlatCap);
  switch (type) {
    case blDash: pen.setStyle(Qt::DashLine); break;
    case blDot: pen.setStyle(Qt::DotLine); break;
    case blDashDot: pen.setStyle(Qt::DashDotLine); break;
    case blDashDotDot: pen.setStyle(Qt::DashDotDotLine); break;
    case blSolid2: pen.setWidth(2); break;
    case blSolid3: pen.setWidth(3); break;
    default: break;
  }
  painter.setPen(pen);
  if (type == blWavyLine) {
    // Up and down by two pixels every two pixels, as a wavy underline.
    QPainterPath path(QPointF(left, middle));
    for (int x = left + 2, up = 1; x <= right; x += 2, up = -up) path.lineTo(x, middle - 2 * up);
    painter.drawPath(path);
  } else if (type == blDouble) {
    painter.drawLine(left, middle - 1, right, middle - 1);
    painter.drawLine(left, middle + 1, right, middle + 1);
  } else {
    painter.drawLine(left, middle, right, middle);
  }
  return pixmap;
}

void TQtBorderLineBox::changeEvent(QEvent* event) {
  QComboBox::changeEvent(event);
  if (event->type() == QEvent::EnabledChange || event->type() == QEvent::ParentChange) ApplyBoxPalette(*this);
}

}  // namespace penwick

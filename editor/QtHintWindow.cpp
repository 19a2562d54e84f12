// The hint window: text or an owner-drawn picture on the hint colour, closed by its timer.
#include "editor/QtHintWindow.h"

#include <QFontMetrics>
#include <QPainter>

namespace penwick {

namespace {
constexpr int kPadding = 3;
}

TQtHintWindow::TQtHintWindow(QWidget* owner)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint), m_background(255, 255, 198) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFocusPolicy(Qt::NoFocus);
  m_timer.setSingleShot(true);
  connect(&m_timer, &QTimer::timeout, this, [this] { CloseHint(); });
}

void TQtHintWindow::SetColors(const QColor& background, const QFont& font) {
  m_background = background;
  setFont(font);
}

void TQtHintWindow::ShowText(TKind kind, const QString& text, QPoint globalAt, bool alignRight, int timeMs) {
  m_kind = kind;
  m_text = text;
  m_paint = nullptr;
  const QFontMetrics metrics(font());
  Place(QSize(metrics.horizontalAdvance(text) + 2 * kPadding, metrics.height() + 2 * kPadding), globalAt,
        alignRight, timeMs);
}

void TQtHintWindow::ShowPicture(TKind kind, QSize size, TPaint paint, QPoint globalAt, int timeMs) {
  m_kind = kind;
  m_text.clear();
  m_paint = std::move(paint);
  Place(size + QSize(2 * kPadding, 2 * kPadding), globalAt, false, timeMs);
}

void TQtHintWindow::Place(QSize size, QPoint globalAt, bool alignRight, int timeMs) {
  resize(size);
  move(alignRight ? globalAt - QPoint(size.width(), 0) : globalAt);
  if (timeMs > 0) m_timer.start(timeMs);
  else m_timer.stop();
  show();
  update();
}

void TQtHintWindow::CloseHint() {
  m_timer.stop();
  m_kind = hkNone;
  m_paint = nullptr;
  hide();
}

void TQtHintWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), m_background);
  painter.setPen(Qt::black);
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  painter.translate(kPadding, kPadding);
  if (m_paint) {
    m_paint(painter);
  } else {
    painter.setFont(font());
    painter.drawText(QRect(0, 0, width() - 2 * kPadding, height() - 2 * kPadding), Qt::AlignLeft | Qt::AlignVCenter,
                     m_text);
  }
}

}  // namespace penwick

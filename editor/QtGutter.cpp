// The gutter: its settings, the folding-button bitmap, painting and the folding clicks.
#include "editor/QtGutter.h"

#include <QApplication>
#include <QBitmap>
#include <QFontMetrics>
#include <QPainter>
#include <QPalette>

namespace penwick {

namespace {

constexpr int kFoldStarts = 0;
constexpr int kFoldEnds = -1;
constexpr int kFoldInside = -2;
constexpr int kCornerStroke = 4;

// The bitmap's bottom-left colour is drawn transparent.
QPixmap ButtonImage(const QImage& bitmap, int index) {
  const int width = bitmap.width() / 2;
  QImage image = bitmap.copy(index * width, 0, width, bitmap.height()).convertToFormat(QImage::Format_ARGB32);
  const QRgb transparent = bitmap.pixel(0, bitmap.height() - 1);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) == transparent) image.setPixel(x, y, qRgba(0, 0, 0, 0));
  return QPixmap::fromImage(image);
}

}  // namespace

TQtGutter::TQtGutter()
    : m_color(QApplication::palette().color(QPalette::Button)), m_collapsePen(Qt::black) {
  SetExpandButtons(DefaultExpandButtons());
}

QImage TQtGutter::DefaultExpandButtons() {
  QImage bitmap(18, 10, QImage::Format_RGB32);
  bitmap.fill(QColor(255, 0, 255));  // the transparent colour, left in the bottom row
  for (int image = 0; image < 2; ++image) {
    const int left = image * 9;
    for (int y = 0; y < 9; ++y)
      for (int x = 0; x < 9; ++x) {
        const bool frame = x == 0 || y == 0 || x == 8 || y == 8;
        bitmap.setPixel(left + x, y, frame ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
      }
    for (int i = 2; i <= 6; ++i) {
      bitmap.setPixel(left + i, 4, qRgb(0, 0, 0));             // minus
      if (image == 1) bitmap.setPixel(left + 4, i, qRgb(0, 0, 0));  // plus
    }
  }
  return bitmap;
}

void TQtGutter::Changed() {
  if (OnChanged) OnChanged();
}

void TQtGutter::SetWidth(int width) {
  width = std::max(0, width);
  if (width == m_width) return;
  m_width = width;
  Changed();
}

void TQtGutter::SetColor(const QColor& color) {
  m_color = color;
  Changed();
}

void TQtGutter::SetShowSeparator(bool show) {
  m_showSeparator = show;
  Changed();
}

void TQtGutter::SetCollapsePen(const QColor& color) {
  m_collapsePen = color;
  Changed();
}

void TQtGutter::SetShowCollapseLine(bool show) {
  m_showCollapseLine = show;
  Changed();
}

void TQtGutter::SetExpandButtons(const QImage& bitmap) {
  m_buttons = bitmap;
  if (bitmap.width() >= 2 && bitmap.height() >= 1) {
    m_minus = ButtonImage(bitmap, 0);
    m_plus = ButtonImage(bitmap, 1);
  } else {
    m_minus = m_plus = QPixmap();
  }
  Changed();
}

QSize TQtGutter::ButtonSize() const {
  if (!m_minus.isNull()) return m_minus.size();
  return QSize(9, 10);
}

QRect TQtGutter::ButtonRect(const TVisibleLine& line) const {
  const QSize size = ButtonSize();
  // Right edge one pixel inside the gutter, centred on the line.
  return QRect(m_width - 1 - size.width(), line.Top + (line.Height - size.height()) / 2, size.width(),
               size.height());
}

int TQtGutter::ButtonLineAt(const std::vector<TVisibleLine>& lines, QPoint point) const {
  if (point.x() < 0 || point.x() >= m_width || !m_folding.FoldState) return -1;
  for (const TVisibleLine& line : lines)
    if (ButtonRect(line).contains(point) && m_folding.FoldState(line.Line) == kFoldStarts) return line.Line;
  return -1;
}

bool TQtGutter::MousePress(const std::vector<TVisibleLine>& lines, QPoint point, bool ctrl) {
  if (point.x() < 0 || point.x() >= m_width) return false;
  const int line = ButtonLineAt(lines, point);
  if (line >= 0 && m_folding.ToggleFold) m_folding.ToggleFold(line, ctrl);
  return true;
}

void TQtGutter::Paint(QPainter& painter, const std::vector<TVisibleLine>& lines, int height) const {
  if (m_width <= 0) return;
  painter.save();
  painter.setClipRect(QRect(0, 0, m_width, height));
  painter.fillRect(QRect(0, 0, m_width, height), m_color);
  for (const TVisibleLine& line : lines) {
    const int state = m_folding.FoldState ? m_folding.FoldState(line.Line) : -3;
    PaintNumber(painter, line, state == kFoldStarts);
    // A range starting inside another one continues that one's line above its button.
    const int above = state == kFoldStarts && line.Line > 0 ? m_folding.FoldState(line.Line - 1) : -3;
    const bool inside = above == kFoldStarts || above == kFoldInside;
    PaintFoldMarks(painter, line, state, inside);
  }
  if (m_showSeparator) {
    painter.setPen(QApplication::palette().color(QPalette::Dark));
    painter.drawLine(m_width - 1, 0, m_width - 1, height);
  }
  painter.restore();
}

void TQtGutter::PaintNumber(QPainter& painter, const TVisibleLine& line, bool hasButton) const {
  if (!m_lineNumbers.Visible()) return;
  const QColor color = hasButton ? m_lineNumbers.UnderColor() : m_lineNumbers.FontColor();
  if (!color.isValid()) return;
  const int margin = m_lineNumbers.Margin();
  const QRect band(margin, line.Top, std::max(0, m_width - 2 * margin), line.Height);
  painter.setFont(m_lineNumbers.Font());
  painter.setPen(color);
  painter.drawText(band, int(m_lineNumbers.Alignment() | Qt::AlignVCenter) | Qt::TextDontClip,
                   QString::number(line.Line + m_lineNumbers.FirstLineNumber()));
}

void TQtGutter::PaintFoldMarks(QPainter& painter, const TVisibleLine& line, int state, bool insideAbove) const {
  const QRect button = ButtonRect(line);
  const int centre = button.left() + button.width() / 2;
  const int bottom = line.Top + line.Height - 1;
  painter.setPen(m_collapsePen);
  if (state == kFoldStarts) {
    if (m_showCollapseLine && !line.Folded) painter.drawLine(centre, button.bottom(), centre, bottom);
    if (m_showCollapseLine && insideAbove) painter.drawLine(centre, line.Top, centre, button.top());
    const QPixmap& image = line.Folded ? m_plus : m_minus;
    if (!image.isNull()) {
      painter.drawPixmap(button.topLeft(), image);
    } else {
      painter.setFont(m_lineNumbers.Font());
      painter.drawText(button, Qt::AlignCenter | Qt::TextDontClip, line.Folded ? "+" : "-");
    }
    return;
  }
  if (!m_showCollapseLine) return;
  if (state == kFoldInside) {
    painter.drawLine(centre, line.Top, centre, bottom);
  } else if (state == kFoldEnds) {
    painter.drawLine(centre, line.Top, centre, bottom);
    painter.drawLine(centre, bottom, centre + kCornerStroke, bottom);
  }
}

}  // namespace penwick

// A small window that shows a hint beside the editor for a limited time.
#pragma once

#include <QColor>
#include <QFont>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace penwick {

// Shows either a line of text or a picture drawn by its owner (the hidden
// lines of a folded range), on the hint colour, without taking the focus.
// Closes itself when its time runs out; the owner closes it when the mouse
// moves away. Kind tells owners which hint is open.
class TQtHintWindow : public QWidget {
  Q_OBJECT
public:
  enum TKind { hkNone, hkScroll, hkCollapsed };
  using TPaint = std::function<void(QPainter& painter)>;

  explicit TQtHintWindow(QWidget* owner);

  void SetColors(const QColor& background, const QFont& font);
  // Shows `text` with its top-left (or, with alignRight, its top-right) at
  // the global point; `timeMs` <= 0 keeps it until closed.
  void ShowText(TKind kind, const QString& text, QPoint globalAt, bool alignRight, int timeMs);
  // Shows a picture of `size` drawn by `paint` at the global point.
  void ShowPicture(TKind kind, QSize size, TPaint paint, QPoint globalAt, int timeMs);
  void CloseHint();

  TKind Kind() const { return isVisible() ? m_kind : hkNone; }
  const QString& Text() const { return m_text; }

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  void Place(QSize size, QPoint globalAt, bool alignRight, int timeMs);

  TKind m_kind = hkNone;
  QString m_text;
  TPaint m_paint;
  QColor m_background;
  QTimer m_timer;
};

}  // namespace penwick

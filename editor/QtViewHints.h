// When the editor shows its hints: the scroll hint while the thumb is dragged and the hidden lines of a folded range.
#pragma once

#include <QObject>
#include <QPoint>
#include <QTimer>
#include <functional>

namespace penwick {

class THintProps;
class TQtHintWindow;

// Owns the hint window and the rest timer. The editor tells it about mouse
// moves, the scroll thumb, the wheel and the focus; it asks the editor back
// through the functions below.
//  - the scroll hint ("Line: N", N the 1-based line at the top) shows while
//    the thumb is dragged with shScroll, at the right edge level with the mouse;
//  - the collapsed hint shows when the mouse has rested DelayBefore over the
//    button of a folded range while the editor has the focus (shCollapsed),
//    for TimeCollapsed; it closes when the mouse leaves the button.
class TQtViewHints : public QObject {
  Q_OBJECT
public:
  struct TQueries {
    // The line whose folded-range button lies under a viewport point, or -1.
    std::function<int(QPoint)> FoldedButtonLineAt;
    // Shows the hidden lines of the range folded on `line` in the window,
    // beside its button, for `timeMs`.
    std::function<void(TQtHintWindow&, int line, int timeMs)> ShowCollapsed;
    // The 1-based number of the line at the top for a scroll-bar value.
    std::function<int(int value)> TopLineNumberOf;
    std::function<bool()> HasFocus;
    // Global top-right corner for the scroll hint, level with the mouse.
    std::function<QPoint()> ScrollHintAnchor;
  };

  TQtViewHints(QWidget* owner, const THintProps& props, TQueries queries);
  ~TQtViewHints() override;

  void MouseMoved(QPoint viewportPos);
  void MouseLeft();
  void ScrollThumbMoved(int value);
  void ScrollThumbReleased();
  void Wheel();
  // A mouse press anywhere in the editor closes an open hint.
  void MousePressed();
  void FocusLost();

  TQtHintWindow& Window() { return *m_window; }
  const TQtHintWindow& Window() const { return *m_window; }

private:
  void Rested();
  void ApplyLook();

  const THintProps& m_props;
  TQueries m_queries;
  TQtHintWindow* m_window;  // owned by the Qt parent
  QTimer m_rest;
  QPoint m_restAt;
  int m_hintLine = -1;
};

}  // namespace penwick

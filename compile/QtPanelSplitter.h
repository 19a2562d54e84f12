// A thin bar that resizes the panel below it by dragging, and snaps the
// panel shut when it is dragged smaller than its minimum.
#pragma once

#include <QPointer>
#include <QWidget>

namespace penwick {

class TQtPanelSplitter : public QWidget {
  Q_OBJECT
public:
  // `panel` lies directly below the bar in a vertical layout; its height is
  // what the bar changes. Not owned.
  TQtPanelSplitter(QWidget* panel, QWidget* parent = nullptr);

  // Below this height (pixels) a dragged panel snaps to height 0.
  int MinSize() const { return m_minSize; }
  void SetMinSize(int size) { m_minSize = size; }

  // The height the panel gets for a drag that would make it `wanted` high.
  int SnappedHeight(int wanted) const { return wanted < m_minSize ? 0 : wanted; }

protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

private:
  QPointer<QWidget> m_panel;
  int m_minSize = 30;
  int m_pressY = 0;
  int m_pressHeight = 0;
  bool m_dragging = false;
};

}  // namespace penwick

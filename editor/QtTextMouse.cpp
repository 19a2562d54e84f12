// Mouse clicks and drags in the editor's text.
#include "editor/QtTextMouse.h"

#include <QApplication>
#include <QMouseEvent>
#include <algorithm>

#include "editor/EditorCommands.h"

namespace penwick {

TQtTextMouse::TQtTextMouse(TEditorCommands& commands, std::function<TPoint(QPoint)> pointToCaret)
    : m_commands(commands), m_pointToCaret(std::move(pointToCaret)) {}

bool TQtTextMouse::Press(const QMouseEvent& event, const TMemoEditor& editor) {
  const QPoint point = event.position().toPoint();
  const TPoint at = m_pointToCaret(point);
  if (event.button() == Qt::RightButton) {
    const int offset = editor.CaretPosToStrPos(at);
    bool inside = false;
    if (editor.HaveSelection()) {
      if (editor.SelectionMode() == smColumn) {
        const TBlockRect block = editor.BlockRect();
        inside = at.Y >= block.Top && at.Y <= block.Bottom && at.X >= block.Left && at.X < block.Right;
      } else {
        inside = offset >= editor.SelStart() && offset < editor.SelStart() + editor.SelLength();
      }
    }
    if (!inside) m_commands.MoveCaretTo(at, false);
    return true;
  }
  if (event.button() != Qt::LeftButton) return false;
  const bool third = m_doubleClickTime.isValid() &&
                     m_doubleClickTime.elapsed() <= QApplication::doubleClickInterval() &&
                     (point - m_doubleClickPoint).manhattanLength() <= QApplication::startDragDistance();
  m_doubleClickTime.invalidate();
  if (third) {
    m_commands.SelectLineAt(at.Y);
    m_selecting = false;
    return true;
  }
  m_commands.MoveCaretTo(at, event.modifiers() & Qt::ShiftModifier);
  m_selecting = true;
  return true;
}

bool TQtTextMouse::Move(const QMouseEvent& event) {
  if (!m_selecting || !(event.buttons() & Qt::LeftButton)) return false;
  m_commands.MoveCaretTo(m_pointToCaret(event.position().toPoint()), true);
  return true;
}

bool TQtTextMouse::Release(const QMouseEvent& event) {
  if (event.button() != Qt::LeftButton) return false;
  m_selecting = false;
  return true;
}

bool TQtTextMouse::DoubleClick(const QMouseEvent& event) {
  if (event.button() != Qt::LeftButton) return false;
  const QPoint point = event.position().toPoint();
  m_commands.SelectWordAt(m_pointToCaret(point));
  m_selecting = false;
  m_doubleClickTime.start();
  m_doubleClickPoint = point;
  return true;
}

}  // namespace penwick

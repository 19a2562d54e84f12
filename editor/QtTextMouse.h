// The mouse in the editor's text: placing the caret, drag selection, word
// selection on a double click and line selection on a third click.
#pragma once

#include <QElapsedTimer>
#include <QPoint>
#include <functional>

#include "editor/MemoEditor.h"

class QMouseEvent;

namespace penwick {

class TEditorCommands;

// Works on viewport points; `pointToCaret` maps one to a caret position
// (the view's geometry). The commands object must outlive this one.
class TQtTextMouse {
public:
  TQtTextMouse(TEditorCommands& commands, std::function<TPoint(QPoint)> pointToCaret);

  // Left button: the caret to the point (Shift extends), or on a third click
  // within the double-click time the whole line. Right button: the caret to
  // the point when it lies outside the selection. Returns whether the event
  // was used; the caller opens the context menu for the right button.
  bool Press(const QMouseEvent& event, const TMemoEditor& editor);
  bool Move(const QMouseEvent& event);
  bool Release(const QMouseEvent& event);
  bool DoubleClick(const QMouseEvent& event);
  // Ends a drag (focus lost).
  void Cancel() { m_selecting = false; }

private:
  TEditorCommands& m_commands;
  std::function<TPoint(QPoint)> m_pointToCaret;
  bool m_selecting = false;
  // The last double click, for the third click.
  QElapsedTimer m_doubleClickTime;
  QPoint m_doubleClickPoint;
};

}  // namespace penwick

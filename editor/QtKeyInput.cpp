// Qt key events through the key map to the editor's commands.
#include "editor/QtKeyInput.h"

#include <QKeyEvent>

#include "editor/CommandDispatcher.h"
#include "editor/EditorCommandIds.h"
#include "platform/CodePage.h"

namespace penwick {

namespace {

TShiftState ShiftOf(Qt::KeyboardModifiers modifiers) {
  return (modifiers & Qt::ShiftModifier ? ssShift : 0u) | (modifiers & Qt::ControlModifier ? ssCtrl : 0u) |
         (modifiers & Qt::AltModifier ? ssAlt : 0u);
}

std::optional<int> VirtualKeyOf(int key) {
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) return key;
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return vkF1 + (key - Qt::Key_F1);
  switch (key) {
    case Qt::Key_Backspace: return vkBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return vkTab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vkReturn;
    case Qt::Key_Shift: return vkShift;
    case Qt::Key_Control: return vkControl;
    case Qt::Key_Alt: return vkMenu;
    case Qt::Key_Escape: return vkEscape;
    case Qt::Key_Space: return vkSpace;
    case Qt::Key_PageUp: return vkPrior;
    case Qt::Key_PageDown: return vkNext;
    case Qt::Key_End: return vkEnd;
    case Qt::Key_Home: return vkHome;
    case Qt::Key_Left: return vkLeft;
    case Qt::Key_Up: return vkUp;
    case Qt::Key_Right: return vkRight;
    case Qt::Key_Down: return vkDown;
    case Qt::Key_Insert: return vkInsert;
    case Qt::Key_Delete: return vkDelete;
    case Qt::Key_Equal:
    case Qt::Key_Plus: return vkOemPlus;
    case Qt::Key_Minus:
    case Qt::Key_Underscore: return vkOemMinus;
    default: return std::nullopt;
  }
}

bool IsModifierKey(int key) { return key == vkShift || key == vkControl || key == vkMenu; }

}  // namespace

std::optional<TKeyStroke> KeyStrokeOf(const QKeyEvent& event) {
  const std::optional<int> key = VirtualKeyOf(event.key());
  if (!key) return std::nullopt;
  TShiftState shift = ShiftOf(event.modifiers());
  if (event.key() == Qt::Key_Backtab) shift |= ssShift;
  return TKeyStroke{*key, shift};
}

TQtKeyInput::TQtKeyInput(TCommandDispatcher& dispatcher, const TCodePage& codePage)
    : m_dispatcher(dispatcher), m_codePage(codePage) {}

bool TQtKeyInput::IsWindowShortcut(const QKeyEvent& event) const {
  if (!m_windowShortcut || event.key() == Qt::Key_Delete) return false;
  const Qt::KeyboardModifiers modifiers =
      event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
  return m_windowShortcut(QKeySequence(QKeyCombination(modifiers, Qt::Key(event.key()))));
}

bool TQtKeyInput::TypesText(const QKeyEvent& event) {
  // Ctrl or Alt alone make commands, not characters; AltGr (Ctrl+Alt) types.
  const Qt::KeyboardModifiers modifiers = event.modifiers();
  const bool command = bool(modifiers & Qt::ControlModifier) != bool(modifiers & Qt::AltModifier);
  if (command || event.text().isEmpty()) return false;
  for (QChar c : event.text())
    if (c.unicode() >= 0x20 && c.unicode() != 0x7F) return true;
  return false;
}

bool TQtKeyInput::WantsKey(const QKeyEvent& event) const {
  if (event.key() == Qt::Key_Delete) return true;
  if (IsWindowShortcut(event)) return false;
  const std::optional<TKeyStroke> stroke = KeyStrokeOf(event);
  if (m_keyMap.Pending() && stroke && !IsModifierKey(stroke->Key)) return true;
  if (stroke && m_keyMap.CommandOf(TShortCut{*stroke, std::nullopt}) != 0) return true;
  return TypesText(event);
}

bool TQtKeyInput::KeyPress(const QKeyEvent& event, bool tabMovesFocus) {
  if (IsWindowShortcut(event)) {
    // The window's action is disabled (else it would have taken the key):
    // the key does nothing here either.
    m_keyMap.ResetQueue();
    return true;
  }
  const std::optional<TKeyStroke> stroke = KeyStrokeOf(event);
  if (stroke && IsModifierKey(stroke->Key)) return false;  // the queue waits through modifier presses
  if (stroke && tabMovesFocus && stroke->Key == vkTab && (stroke->Shift & ~ssShift) == 0 && !m_keyMap.Pending())
    return false;
  if (stroke) {
    const TKeyLookup lookup = m_keyMap.Press(*stroke);
    if (lookup.Kind == TKeyLookup::kCommand) {
      m_dispatcher.Execute(lookup.Command);
      return true;
    }
    if (lookup.Kind == TKeyLookup::kPending) return true;
  } else {
    m_keyMap.ResetQueue();
  }
  if (!TypesText(event)) return false;
  TypeText(event.text());
  return true;
}

void TQtKeyInput::TypeText(const QString& text) {
  // By code point: a surrogate pair is one character (one replacement).
  for (char32_t c : text.toUcs4()) {
    if (c < 0x20 || c == 0x7F) continue;
    m_dispatcher.Execute(cmChar, static_cast<char>(m_codePage.FromUnicode(c)));
  }
}

}  // namespace penwick

// The editor's keyboard: Qt key events translated to key strokes, looked up
// in the key map and run through the command dispatcher; the window's own
// shortcuts kept out of the editor.
#pragma once

#include <QKeySequence>
#include <functional>
#include <optional>

#include "editor/KeyMap.h"

class QKeyEvent;

namespace penwick {

class TCodePage;
class TCommandDispatcher;

// The stroke of a Qt key event: the key as a Windows virtual key (letters
// and digits as their upper-case codes, Shift+Tab as Shift with vkTab) and
// the Shift, Ctrl and Alt modifiers. Keys without a virtual key (most
// punctuation) give nothing; modifier keys alone give vkShift, vkControl, vkMenu.
std::optional<TKeyStroke> KeyStrokeOf(const QKeyEvent& event);

// Holds the key map and its queue; runs commands through a dispatcher that
// must outlive it.
class TQtKeyInput {
public:
  TQtKeyInput(TCommandDispatcher& dispatcher, const TCodePage& codePage);

  TKeyMap& KeyMap() { return m_keyMap; }

  // Keys the window takes first: the editor runs no command for them, even
  // while the window's action is disabled, except for the Delete key, which
  // always belongs to the editor.
  void SetWindowShortcutTest(std::function<bool(const QKeySequence&)> test) { m_windowShortcut = std::move(test); }
  bool IsWindowShortcut(const QKeyEvent& event) const;

  // For QEvent::ShortcutOverride: whether the editor wants the key before
  // any shortcut of the application (its own bound keys and typed
  // characters, the Delete key), and not when the window's shortcut comes first.
  bool WantsKey(const QKeyEvent& event) const;

  // A key press: a window shortcut is swallowed; a bound key runs its
  // command (its character is not typed); the first stroke of a two-stroke
  // shortcut waits; an unbound printable character is typed as the character
  // command. Returns whether the key was taken. `tabMovesFocus` leaves an
  // unmodified Tab to the focus chain.
  bool KeyPress(const QKeyEvent& event, bool tabMovesFocus = false);
  // Typed text (input methods, unbound keys): each character through the
  // character command, in the code page. Control characters are dropped there.
  void TypeText(const QString& text);

  // Whether a key press types text rather than running a command: printable
  // text without Ctrl or Alt alone (AltGr, Ctrl+Alt together, types).
  static bool TypesText(const QKeyEvent& event);

private:

  TCommandDispatcher& m_dispatcher;
  const TCodePage& m_codePage;
  TKeyMap m_keyMap = TKeyMap::Default();
  std::function<bool(const QKeySequence&)> m_windowShortcut;
};

}  // namespace penwick

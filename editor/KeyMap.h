// The editor's key map: shortcuts (one or two key strokes) to command
// numbers, the default bindings, and the key queue that waits for the second
// stroke of a two-stroke shortcut.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace penwick {

// Virtual-key codes in the Windows numbering. Letters and digits are their
// upper-case ASCII codes ('A' = 0x41, '0' = 0x30).
enum TVirtualKey : int {
  vkBack = 0x08,
  vkTab = 0x09,
  vkReturn = 0x0D,
  vkShift = 0x10,
  vkControl = 0x11,
  vkMenu = 0x12,  // Alt
  vkEscape = 0x1B,
  vkSpace = 0x20,
  vkPrior = 0x21,  // Page Up
  vkNext = 0x22,   // Page Down
  vkEnd = 0x23,
  vkHome = 0x24,
  vkLeft = 0x25,
  vkUp = 0x26,
  vkRight = 0x27,
  vkDown = 0x28,
  vkInsert = 0x2D,
  vkDelete = 0x2E,
  vkF1 = 0x70,      // F1..F12 follow in order
  vkOemPlus = 0xBB,  // the '=' / '+' key of the main block
  vkOemMinus = 0xBD,
};

// Modifier bits of a stroke.
enum TShiftBit : unsigned { ssShift = 1u, ssAlt = 2u, ssCtrl = 4u };
using TShiftState = unsigned;

// One key stroke: a virtual key with its modifiers.
struct TKeyStroke {
  int Key = 0;
  TShiftState Shift = 0;
  friend bool operator==(const TKeyStroke& a, const TKeyStroke& b) { return a.Key == b.Key && a.Shift == b.Shift; }
};

// A shortcut of one stroke, or of two strokes pressed one after the other
// ("Ctrl+O, K"). A Key of 0 is no shortcut.
struct TShortCut {
  TKeyStroke First;
  std::optional<TKeyStroke> Second;
  friend bool operator==(const TShortCut& a, const TShortCut& b) {
    return a.First == b.First && a.Second == b.Second;
  }
};

// "Ctrl+Shift+Z", "Shift+Alt+Left", "Ctrl+O, K": modifiers in the order
// Ctrl, Shift, Alt, then the key's name. Unknown keys print as "#<code>".
std::string ShortCutToText(const TShortCut& shortCut);
// The reverse of ShortCutToText; modifiers in any order, names without regard
// to case. An unreadable text gives nothing.
std::optional<TShortCut> TextToShortCut(std::string_view text);

struct TKeyMapItem {
  int Command = 0;
  TShortCut ShortCut;
};

// What a key stroke meant.
struct TKeyLookup {
  enum TKind {
    kNone,     // not bound: the stroke is the caller's (a printable key types)
    kPending,  // the first stroke of a two-stroke shortcut: wait for the next
    kCommand,  // `Command` is bound to the stroke (or to the queued one and it)
  };
  TKind Kind = kNone;
  int Command = 0;
};

// Shortcut → command. Several shortcuts may name the same command; a
// shortcut bound twice runs the command of the first binding.
//
// Key queue: a stroke that starts a two-stroke shortcut (and is not itself a
// one-stroke shortcut) is held and answers kPending. The next stroke either
// completes a two-stroke shortcut (kCommand, the queue empties) or does not:
// then the queue empties and that stroke is looked up afresh on its own, so
// an aborted prefix costs only the prefix (Ctrl+O then Left still moves).
// Strokes of modifier keys alone must not be fed in: the caller filters them.
class TKeyMap {
public:
  TKeyMap() = default;

  // The editor's built-in map.
  static TKeyMap Default();

  void Add(int command, const TShortCut& shortCut);
  void Add(int command, TKeyStroke stroke) { Add(command, TShortCut{stroke, std::nullopt}); }
  // Adds the binding written as text; throws std::invalid_argument on an unreadable text.
  void Add(int command, std::string_view shortCutText);
  void Clear();
  const std::vector<TKeyMapItem>& Items() const { return m_items; }

  // The command of a one-stroke or complete two-stroke shortcut, else 0.
  int CommandOf(const TShortCut& shortCut) const;
  // Every shortcut bound to `command`, in the order added.
  std::vector<TShortCut> ShortCutsOf(int command) const;

  // Feeds one stroke through the key queue (above).
  TKeyLookup Press(TKeyStroke stroke);
  bool Pending() const { return m_queued.has_value(); }
  void ResetQueue() { m_queued.reset(); }

private:
  TKeyLookup LookupFirst(TKeyStroke stroke);

  std::vector<TKeyMapItem> m_items;
  std::optional<TKeyStroke> m_queued;
};

}  // namespace penwick

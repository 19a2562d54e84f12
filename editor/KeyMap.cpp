// The key map: shortcut texts, the default bindings and the key queue.
#include "editor/KeyMap.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "editor/EditorCommandIds.h"

namespace penwick {

namespace {

struct TKeyName {
  int Key;
  const char* Name;
};

constexpr TKeyName kKeyNames[] = {
    {vkBack, "Backspace"}, {vkTab, "Tab"},     {vkReturn, "Enter"},   {vkEscape, "Esc"},  {vkSpace, "Space"},
    {vkPrior, "PgUp"},     {vkNext, "PgDn"},   {vkEnd, "End"},        {vkHome, "Home"},   {vkLeft, "Left"},
    {vkUp, "Up"},          {vkRight, "Right"}, {vkDown, "Down"},      {vkInsert, "Ins"},  {vkDelete, "Del"},
    {vkOemPlus, "="},      {vkOemMinus, "-"},
};

std::string KeyName(int key) {
  for (const TKeyName& name : kKeyNames)
    if (name.Key == key) return name.Name;
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::string(1, static_cast<char>(key));
  if (key >= vkF1 && key < vkF1 + 24) return "F" + std::to_string(key - vkF1 + 1);
  return "#" + std::to_string(key);
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
         });
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

std::optional<int> KeyFromName(std::string_view name) {
  for (const TKeyName& known : kKeyNames)
    if (SameText(name, known.Name)) return known.Key;
  if (SameText(name, "PageUp")) return vkPrior;
  if (SameText(name, "PageDown")) return vkNext;
  if (SameText(name, "Delete")) return vkDelete;
  if (SameText(name, "Insert")) return vkInsert;
  if (SameText(name, "Escape")) return vkEscape;
  if (SameText(name, "Return")) return vkReturn;
  if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
    return std::toupper(static_cast<unsigned char>(name[0]));
  if (name.size() >= 2 && (name[0] == 'F' || name[0] == 'f')) {
    int n = 0;
    for (char c : name.substr(1)) {
      if (c < '0' || c > '9') return std::nullopt;
      n = n * 10 + (c - '0');
    }
    if (n >= 1 && n <= 24) return vkF1 + n - 1;
  }
  if (name.size() > 1 && name[0] == '#') {
    int n = 0;
    for (char c : name.substr(1)) {
      if (c < '0' || c > '9' || n > 0xFFFF) return std::nullopt;
      n = n * 10 + (c - '0');
    }
    return n;
  }
  return std::nullopt;
}

std::string StrokeToText(const TKeyStroke& stroke) {
  std::string out;
  if (stroke.Shift & ssCtrl) out += "Ctrl+";
  if (stroke.Shift & ssShift) out += "Shift+";
  if (stroke.Shift & ssAlt) out += "Alt+";
  return out + KeyName(stroke.Key);
}

std::optional<TKeyStroke> TextToStroke(std::string_view text) {
  text = Trim(text);
  TKeyStroke stroke;
  // The last '+' that is not the text's last character ends the modifiers,
  // so "Ctrl++" would read as Ctrl and the key "+" (not bound here).
  while (true) {
    const size_t plus = text.find('+');
    if (plus == std::string_view::npos || plus + 1 == text.size()) break;
    const std::string_view modifier = Trim(text.substr(0, plus));
    if (SameText(modifier, "Ctrl")) stroke.Shift |= ssCtrl;
    else if (SameText(modifier, "Shift")) stroke.Shift |= ssShift;
    else if (SameText(modifier, "Alt")) stroke.Shift |= ssAlt;
    else return std::nullopt;
    text = Trim(text.substr(plus + 1));
  }
  const std::optional<int> key = KeyFromName(text);
  if (!key || *key == 0) return std::nullopt;
  stroke.Key = *key;
  return stroke;
}

}  // namespace

std::string ShortCutToText(const TShortCut& shortCut) {
  std::string out = StrokeToText(shortCut.First);
  if (shortCut.Second) out += ", " + StrokeToText(*shortCut.Second);
  return out;
}

std::optional<TShortCut> TextToShortCut(std::string_view text) {
  const size_t comma = text.find(',');
  const std::optional<TKeyStroke> first = TextToStroke(text.substr(0, comma));
  if (!first) return std::nullopt;
  TShortCut shortCut{*first, std::nullopt};
  if (comma != std::string_view::npos) {
    const std::optional<TKeyStroke> second = TextToStroke(text.substr(comma + 1));
    if (!second) return std::nullopt;
    shortCut.Second = *second;
  }
  return shortCut;
}

void TKeyMap::Add(int command, const TShortCut& shortCut) { m_items.push_back(TKeyMapItem{command, shortCut}); }

void TKeyMap::Add(int command, std::string_view shortCutText) {
  const std::optional<TShortCut> shortCut = TextToShortCut(shortCutText);
  if (!shortCut) throw std::invalid_argument("Not a shortcut: " + std::string(shortCutText));
  Add(command, *shortCut);
}

void TKeyMap::Clear() {
  m_items.clear();
  m_queued.reset();
}

int TKeyMap::CommandOf(const TShortCut& shortCut) const {
  for (const TKeyMapItem& item : m_items)
    if (item.ShortCut == shortCut) return item.Command;
  return 0;
}

std::vector<TShortCut> TKeyMap::ShortCutsOf(int command) const {
  std::vector<TShortCut> out;
  for (const TKeyMapItem& item : m_items)
    if (item.Command == command) out.push_back(item.ShortCut);
  return out;
}

TKeyLookup TKeyMap::LookupFirst(TKeyStroke stroke) {
  if (const int command = CommandOf(TShortCut{stroke, std::nullopt}))
    return TKeyLookup{TKeyLookup::kCommand, command};
  for (const TKeyMapItem& item : m_items) {
    if (item.ShortCut.Second && item.ShortCut.First == stroke) {
      m_queued = stroke;
      return TKeyLookup{TKeyLookup::kPending, 0};
    }
  }
  return TKeyLookup{};
}

TKeyLookup TKeyMap::Press(TKeyStroke stroke) {
  if (m_queued) {
    const TKeyStroke first = *m_queued;
    m_queued.reset();
    if (const int command = CommandOf(TShortCut{first, stroke})) return TKeyLookup{TKeyLookup::kCommand, command};
  }
  return LookupFirst(stroke);
}

TKeyMap TKeyMap::Default() {
  TKeyMap map;
  // The moves, with Shift extending a normal selection and Shift+Alt a
  // column selection (Home has no column form).
  const std::pair<int, const char*> moves[] = {
      {cmLeft, "Left"},          {cmRight, "Right"},        {cmUp, "Up"},
      {cmDown, "Down"},          {cmWordLeft, "Ctrl+Left"}, {cmWordRight, "Ctrl+Right"},
      {cmPageUp, "PgUp"},        {cmPageDown, "PgDn"},      {cmPageTop, "Ctrl+PgUp"},
      {cmPageBottom, "Ctrl+PgDn"}, {cmTextTop, "Ctrl+Home"}, {cmTextBottom, "Ctrl+End"},
      {cmFirstChar, "Home"},     {cmLastChar, "End"},
  };
  for (const auto& [command, keys] : moves) map.Add(command, keys);
  for (const auto& [command, keys] : moves) map.Add(command + cmSelectionOffset, std::string("Shift+") + keys);
  for (const auto& [command, keys] : moves)
    if (command != cmFirstChar) map.Add(command + cmColumnOffset, std::string("Shift+Alt+") + keys);

  const std::pair<int, const char*> commands[] = {
      {cmCopy, "Ctrl+C"},
      {cmCopy, "Ctrl+Ins"},
      {cmCut, "Ctrl+X"},
      {cmCut, "Shift+Del"},
      {cmPaste, "Ctrl+V"},
      {cmPaste, "Shift+Ins"},
      {cmUndo, "Ctrl+Z"},
      {cmUndo, "Alt+Backspace"},
      {cmRedo, "Ctrl+Shift+Z"},
      {cmSelectAll, "Ctrl+A"},
      {cmDeleteSelection, "Ctrl+Del"},
      {cmScrollUp, "Ctrl+Up"},
      {cmScrollDown, "Ctrl+Down"},
      {cmBackspace, "Backspace"},
      {cmBackspace, "Shift+Backspace"},  // so that Shift held by accident does not swallow the key
      {cmDeleteChar, "Del"},
      {cmDeleteWord, "Ctrl+T"},
      {cmBackDeleteWord, "Ctrl+Backspace"},
      {cmDeleteToLineBegin, "Ctrl+B"},
      {cmDeleteLine, "Ctrl+Y"},
      {cmNewLine, "Enter"},
      {cmNewLine, "Shift+Enter"},
      {cmBreakLine, "Ctrl+N"},
      {cmIndent, "Ctrl+Tab"},
      {cmUnindent, "Shift+Tab"},
      {cmTab, "Tab"},
      {cmTabChar, "Ctrl+I"},
      {cmToggleInsertMode, "Ins"},
      {cmNormalSelection, "Ctrl+O, K"},
      {cmColumnSelection, "Ctrl+O, C"},
      {cmLineSelection, "Ctrl+O, L"},
      {cmResetSelection, "Esc"},
      {cmToggleCollapseNearest, "Ctrl+="},
      {cmIncrementalSearch, "Ctrl+E"},
      {cmGotoLine, "Alt+G"},
      {cmFindDialog, "Ctrl+F"},
      {cmSearchAgain, "F3"},
      {cmFindCurrentWordNext, "Ctrl+Shift+Down"},
      {cmFindCurrentWordPrior, "Ctrl+Shift+Up"},
      {cmReplaceDialog, "Ctrl+R"},
      {cmAutoCompletion, "Ctrl+Space"},
      {cmCodeParameters, "Ctrl+Shift+Space"},
  };
  for (const auto& [command, keys] : commands) map.Add(command, keys);
  return map;
}

}  // namespace penwick

// The editor's own commands: caret moves (plain, extending a normal or a
// column selection), the editing keys, clipboard and undo, selection modes,
// and typed characters, over the editing core and the view's navigator.
#pragma once

#include "editor/CaretNavigator.h"
#include "editor/CommandDispatcher.h"
#include "editor/MemoEditor.h"

namespace penwick {

class TCodePage;

// Holds references to the editor, the navigator and the code page; all must
// outlive it (the navigator can be swapped). Every editing command goes
// through the core's operations, so it is undoable, respects read-only
// places and runs inside one edit bracket.
//
// Selection modes: Shift+move extends a normal selection, Shift+Alt+move a
// column selection (when soEnableBlockSel allows it; otherwise a normal one).
// Column Selection (375) makes Shift+move extend column blocks too, until
// Normal Selection (374) or Esc (379). A plain move empties the selection.
class TEditorCommands {
public:
  TEditorCommands(TMemoEditor& editor, TCaretNavigator& navigator, const TCodePage& codePage);

  void SetNavigator(TCaretNavigator& navigator) { m_navigator = &navigator; }

  // Registers every command of this class with its availability.
  void RegisterAll(TCommandDispatcher& dispatcher);

  // Columns moved by Indent and Unindent (at least 1); default 2.
  int BlockIndent() const { return m_blockIndent; }
  void SetBlockIndent(int columns) { m_blockIndent = columns < 1 ? 1 : columns; }

  // The mode Shift+move extends in (smColumn after command 375).
  TSelectionMode ShiftSelectionMode() const;

  // ---- The commands (also reachable through the dispatcher) ----
  // `command` is a move 1..19, plus 100 to extend a normal selection, plus
  // 200 to extend a column selection. Unknown moves do nothing.
  void Move(int command);
  void TypeChar(char c);
  void Backspace();
  void DeleteChar();
  void DeleteWord();
  void BackDeleteWord();
  void DeleteToLineBegin();
  void DeleteLine();
  void NewLine();
  void BreakLine();
  void Indent();
  void Unindent();
  void Tab();
  void ToggleInsertMode();
  void SelectNormalMode();
  void SelectColumnMode();
  void SelectLines();
  void ResetSelection();

  // ---- What the mouse does in the text ----
  // Puts the caret at `target` (clamped to the folds, as a backward move);
  // with `extend` the normal selection runs from its far end to it,
  // otherwise the selection is emptied.
  void MoveCaretTo(TPoint target, bool extend);
  // Selects the word at `at` (the word characters around it on its line);
  // nothing happens between words. The caret goes to the word's end.
  void SelectWordAt(TPoint at);
  // Selects the whole line with its line break; the caret goes to the next
  // line. On a folded line that is the line after the folded ones.
  void SelectLineAt(int line);

  // Word boundaries by the code page's word characters: the start of the
  // word left of `from`, and the start of the next word right of it.
  TPoint WordLeft(TPoint from) const;
  TPoint WordRight(TPoint from) const;

private:
  enum TExtend { kNoExtend, kExtendNormal, kExtendColumn };
  // The target of a plain move; `forward` tells ClampToFolds where it goes.
  bool MoveTarget(int move, TPoint caret, TPoint& target, bool& forward);
  void PlaceCaret(TPoint target, TExtend extend);
  // Lines the selection covers (a normal selection ending at column 0 leaves
  // that line out), or the caret's line.
  void SelectedLines(int& first, int& last) const;
  // The end `to` of a selection of whole lines, extended over the lines a
  // fold hides after it, so that the caret there stands on a shown line.
  int WholeLinesEnd(int to) const;
  // Shifts lines first..last; `indent` adds BlockIndent columns, else removes
  // up to that much leading blank space.
  void ShiftLines(bool indent);

  TMemoEditor& m_editor;
  TCaretNavigator* m_navigator;
  const TCodePage& m_codePage;
  int m_blockIndent = 2;
  bool m_columnChosen = false;
  // The fixed corner of the column block this class last made, and the block.
  TPoint m_columnAnchor;
  TBlockRect m_columnBlock;
};

}  // namespace penwick

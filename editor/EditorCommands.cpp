// The editor's own commands over the editing core and the view's navigator.
#include "editor/EditorCommands.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "editor/AutoIndent.h"
#include "editor/EditorCommandIds.h"
#include "editor/WordAt.h"
#include "platform/CodePage.h"

namespace penwick {

namespace {

// The moves this class implements (11, 12 and 17 are not among them).
constexpr int kMoves[] = {cmLeft,     cmRight,    cmUp,       cmDown,       cmWordLeft, cmWordRight,
                          cmLineStart, cmLineEnd, cmPageUp,   cmPageDown,   cmPageTop,  cmPageBottom,
                          cmTextTop,  cmTextBottom, cmFirstChar, cmLastChar};

bool IsMove(int move) { return std::find(std::begin(kMoves), std::end(kMoves), move) != std::end(kMoves); }

}  // namespace

TEditorCommands::TEditorCommands(TMemoEditor& editor, TCaretNavigator& navigator, const TCodePage& codePage)
    : m_editor(editor), m_navigator(&navigator), m_codePage(codePage) {}

TSelectionMode TEditorCommands::ShiftSelectionMode() const {
  return m_columnChosen && m_editor.HasOption(soEnableBlockSel) ? smColumn : smNormal;
}

void TEditorCommands::RegisterAll(TCommandDispatcher& dispatcher) {
  TMemoEditor& e = m_editor;
  for (int move : kMoves)
    for (int offset : {0, int(cmSelectionOffset), int(cmColumnOffset)})
      dispatcher.Register(move + offset, [this, command = move + offset](char) { Move(command); });
  auto writable = [&e] { return !e.ReadOnly() && e.HaveSelection() && e.SelectionWritable(); };
  dispatcher.Register(cmCopy, [&e](char) { e.CopyToClipboard(); }, [&e] { return e.HaveSelection(); });
  dispatcher.Register(cmCut, [&e](char) { e.CutToClipboard(); }, writable);
  dispatcher.Register(cmPaste, [&e](char) { e.PasteFromClipboard(); }, [&e] { return !e.ReadOnly() && e.CanPaste(); });
  dispatcher.Register(cmUndo, [&e](char) { e.Undo(); }, [&e] { return !e.ReadOnly() && e.CanUndo(); });
  dispatcher.Register(cmRedo, [&e](char) { e.Redo(); }, [&e] { return !e.ReadOnly() && e.CanRedo(); });
  dispatcher.Register(cmSelectAll, [&e](char) { e.SelectAll(); }, [&e] { return e.Lines().TextLength() > 0; });
  dispatcher.Register(cmDeleteSelection, [&e](char) { e.ClearSelection(); }, writable);
  dispatcher.Register(cmScrollUp, [this](char) { m_navigator->SetTopRow(m_navigator->TopRow() - 1); });
  dispatcher.Register(cmScrollDown, [this](char) { m_navigator->SetTopRow(m_navigator->TopRow() + 1); });
  dispatcher.Register(cmBackspace, [this](char) { Backspace(); });
  dispatcher.Register(cmDeleteChar, [this](char) { DeleteChar(); });
  dispatcher.Register(cmDeleteWord, [this](char) { DeleteWord(); });
  dispatcher.Register(cmBackDeleteWord, [this](char) { BackDeleteWord(); });
  dispatcher.Register(cmDeleteToLineBegin, [this](char) { DeleteToLineBegin(); });
  dispatcher.Register(cmDeleteLine, [this](char) { DeleteLine(); });
  dispatcher.Register(cmNewLine, [this](char) { NewLine(); });
  dispatcher.Register(cmBreakLine, [this](char) { BreakLine(); });
  dispatcher.Register(cmChar, [this](char c) { TypeChar(c); });
  dispatcher.Register(cmIndent, [this](char) { Indent(); });
  dispatcher.Register(cmUnindent, [this](char) { Unindent(); });
  dispatcher.Register(cmTab, [this](char) { Tab(); });
  dispatcher.Register(cmTabChar, [&e](char) { e.InsertText("\t"); });
  dispatcher.Register(cmToggleInsertMode, [this](char) { ToggleInsertMode(); });
  dispatcher.Register(cmNormalSelection, [this](char) { SelectNormalMode(); });
  dispatcher.Register(cmColumnSelection, [this](char) { SelectColumnMode(); },
                      [&e] { return e.HasOption(soEnableBlockSel); });
  dispatcher.Register(cmLineSelection, [this](char) { SelectLines(); });
  dispatcher.Register(cmResetSelection, [this](char) { ResetSelection(); });
  dispatcher.Register(cmToggleCollapseNearest,
                      [this](char) { m_navigator->ToggleCollapseNearest(m_editor.CaretPos()); });
}

// ---------------------------------------------------------------- moves

bool TEditorCommands::MoveTarget(int move, TPoint caret, TPoint& target, bool& forward) {
  const TSyntMemoStrings& lines = m_editor.Lines();
  const int lastLine = std::max(0, lines.Count() - 1);
  TCaretNavigator& nav = *m_navigator;
  forward = false;
  switch (move) {
    case cmLeft:
      if (caret.X > 0) target = TPoint{caret.X - 1, caret.Y};
      else if (caret.Y > 0) target = TPoint{lines.LineLength(caret.Y - 1), caret.Y - 1};
      else target = caret;
      return true;
    case cmRight:
      forward = true;
      // With the caret kept in the text, Right at the end goes on to the next line.
      if (m_editor.HasOption(soKeepCaretInText) && caret.X >= lines.LineLength(caret.Y) && caret.Y < lastLine)
        target = TPoint{0, caret.Y + 1};
      else
        target = TPoint{caret.X + 1, caret.Y};
      return true;
    case cmUp: target = nav.MoveByRows(caret, -1); return true;
    case cmDown:
      forward = true;
      target = nav.MoveByRows(caret, 1);
      return true;
    case cmWordLeft: target = WordLeft(caret); return true;
    case cmWordRight:
      forward = true;
      target = WordRight(caret);
      return true;
    case cmLineStart: target = TPoint{0, caret.Y}; return true;
    case cmLineEnd: target = TPoint{lines.LineLength(caret.Y), caret.Y}; return true;
    case cmPageUp:
    case cmPageDown: {
      const int rows = (move == cmPageUp ? -1 : 1) * nav.PageRows();
      forward = rows > 0;
      nav.SetTopRow(nav.TopRow() + rows);
      target = nav.MoveByRows(caret, rows);
      return true;
    }
    case cmPageTop: target = nav.TopOfPage(caret); return true;
    case cmPageBottom:
      forward = true;
      target = nav.BottomOfPage(caret);
      return true;
    case cmTextTop: target = TPoint{0, 0}; return true;
    case cmTextBottom: target = m_editor.StrPosToCaretPos(lines.TextLength()); return true;
    case cmFirstChar: target = nav.RowHome(caret); return true;
    case cmLastChar: target = nav.RowEnd(caret); return true;
    default: return false;
  }
}

void TEditorCommands::Move(int command) {
  TExtend extend = kNoExtend;
  int move = command;
  if (command > cmColumnOffset) {
    move -= cmColumnOffset;
    extend = m_editor.HasOption(soEnableBlockSel) ? kExtendColumn : kExtendNormal;
  } else if (command > cmSelectionOffset) {
    move -= cmSelectionOffset;
    extend = ShiftSelectionMode() == smColumn ? kExtendColumn : kExtendNormal;
  }
  TPoint target;
  bool forward = false;
  if (!IsMove(move)) return;
  if (!MoveTarget(move, m_editor.CaretPos(), target, forward)) return;
  PlaceCaret(m_navigator->ClampToFolds(target, forward), extend);
  m_navigator->EnsureCaretVisible();
}

void TEditorCommands::PlaceCaret(TPoint target, TExtend extend) {
  TMemoEditor& e = m_editor;
  if (extend == kExtendColumn) {
    // The fixed corner: the one this class made while its block stands,
    // else the corner of the block away from the caret, else the caret.
    TPoint anchor = e.CaretPos();
    if (e.SelectionMode() == smColumn) {
      const TBlockRect block = e.BlockRect();
      if (block == m_columnBlock) {
        anchor = m_columnAnchor;
      } else if (e.HaveSelection()) {
        anchor.X = e.CaretPos().X == block.Left ? block.Right : block.Left;
        anchor.Y = e.CaretPos().Y == block.Top ? block.Bottom : block.Top;
      }
    }
    e.SetCaretPos(target);
    const TPoint caret = e.CaretPos();
    m_columnAnchor = anchor;
    e.SetBlockRect(TBlockRect{std::min(anchor.X, caret.X), std::min(anchor.Y, caret.Y), std::max(anchor.X, caret.X),
                              std::max(anchor.Y, caret.Y)});
    m_columnBlock = e.BlockRect();
    return;
  }
  // A normal selection runs from the end away from the caret, so that a
  // selection made by any means (a search, the mouse) can be extended.
  int anchor = e.CaretStrPos();
  if (extend == kExtendNormal && e.HaveSelection() && e.SelectionMode() == smNormal)
    anchor = anchor == e.SelStart() ? e.SelStart() + e.SelLength() : e.SelStart();
  e.SetSelectionMode(smNormal);
  e.SetCaretPos(target);
  const int caret = e.CaretStrPos();
  if (extend == kNoExtend) anchor = caret;
  e.SetSelection(std::min(anchor, caret), std::abs(caret - anchor));
}

void TEditorCommands::MoveCaretTo(TPoint target, bool extend) {
  PlaceCaret(m_navigator->ClampToFolds(target, false), extend ? kExtendNormal : kNoExtend);
  m_navigator->EnsureCaretVisible();
}

void TEditorCommands::SelectWordAt(TPoint at) {
  TMemoEditor& e = m_editor;
  // A click beyond the line's end takes the word the line ends with.
  if (at.Y >= 0 && at.Y < e.Lines().Count()) at.X = std::min(at.X, e.Lines().LineLength(at.Y));
  const TWordSpan word = WordAt(e.Lines(), at, m_codePage);
  if (word.Empty()) return;
  e.SetSelectionMode(smNormal);
  e.SetCaretStrPos(word.End);
  e.SetSelection(word.Start, word.End - word.Start);
}

void TEditorCommands::SelectLineAt(int line) {
  TMemoEditor& e = m_editor;
  const TSyntMemoStrings& lines = e.Lines();
  if (line < 0 || line >= lines.Count()) return;
  const int from = lines.LineStart(line);
  const int to = WholeLinesEnd(from + lines.LineFullLength(line));
  e.SetSelectionMode(smNormal);
  e.SetCaretStrPos(to);
  e.SetSelection(from, to - from);
}

int TEditorCommands::WholeLinesEnd(int to) const {
  const TPoint end = m_editor.StrPosToCaretPos(to);
  const TPoint shown = m_navigator->ClampToFolds(end, true);
  // A fold reaching the end of the text has no line after it: `to` stays.
  return shown.Y > end.Y ? m_editor.CaretPosToStrPos(shown) : to;
}

TPoint TEditorCommands::WordLeft(TPoint from) const {
  const TSyntMemoStrings& lines = m_editor.Lines();
  int offset = m_editor.CaretPosToStrPos(from);
  if (offset <= 0) return TPoint{0, 0};
  auto word = [&](int at) { return m_codePage.IsWordChar(static_cast<unsigned char>(lines.CharAt(at))); };
  --offset;
  while (offset > 0 && !word(offset)) --offset;
  while (offset > 0 && word(offset - 1)) --offset;
  return m_editor.StrPosToCaretPos(offset);
}

TPoint TEditorCommands::WordRight(TPoint from) const {
  const TSyntMemoStrings& lines = m_editor.Lines();
  int offset = m_editor.CaretPosToStrPos(from);
  const int length = lines.TextLength();
  auto word = [&](int at) { return m_codePage.IsWordChar(static_cast<unsigned char>(lines.CharAt(at))); };
  while (offset < length && word(offset)) ++offset;
  while (offset < length && !word(offset)) ++offset;
  return m_editor.StrPosToCaretPos(offset);
}

// ---------------------------------------------------------------- typing keys

void TEditorCommands::TypeChar(char c) {
  if (static_cast<unsigned char>(c) < 32) return;
  TMemoEditor& e = m_editor;
  const TPoint caret = e.CaretPos();
  if (e.ReplaceMode() && !e.HaveSelection() && caret.X < e.Lines().LineLength(caret.Y)) {
    // One replacement record: undo gives the old character back.
    TUpdateGuard bracket(e);
    if (e.ReplaceText(e.CaretStrPos(), 1, std::string(1, c))) e.SetCaretPos(caret.X + 1, caret.Y);
    return;
  }
  e.InsertText(std::string(1, c));
}

void TEditorCommands::Backspace() {
  TMemoEditor& e = m_editor;
  if (e.HaveSelection() && e.HasOption(soOverwriteBlocks)) {
    e.ClearSelection();
    return;
  }
  const TPoint caret = e.CaretPos();
  if (caret.X > e.Lines().LineLength(caret.Y)) {
    e.SetCaretPos(caret.X - 1, caret.Y);  // beyond the end only the caret moves
    return;
  }
  if (e.HasOption(soBackUnindent)) {
    if (const auto step = BackUnindentStep(e.Lines(), e.TabList(), caret)) {
      TUpdateGuard bracket(e);
      const int start = e.Lines().LineStart(caret.Y) + step->FromX;
      if (e.ReplaceText(start, step->ToX - step->FromX, std::string(static_cast<size_t>(step->PadSpaces), ' ')))
        e.SetCaretPos(step->FromX + step->PadSpaces, caret.Y);
      return;
    }
  }
  e.DeleteText(-1);
}

void TEditorCommands::DeleteChar() {
  TMemoEditor& e = m_editor;
  if (e.HaveSelection() && e.HasOption(soOverwriteBlocks)) {
    e.ClearSelection();
    return;
  }
  const TPoint caret = e.CaretPos();
  const TSyntMemoStrings& lines = e.Lines();
  const int length = lines.LineLength(caret.Y);
  if (caret.X <= length) {
    e.DeleteText(1);
    return;
  }
  // Beyond the end: the gap is filled and the next line joins at the caret.
  const int breakLength = lines.LineBreakLength(caret.Y);
  if (breakLength == 0) return;
  TUpdateGuard bracket(e);
  if (e.ReplaceText(lines.LineStart(caret.Y) + length, breakLength,
                    std::string(static_cast<size_t>(caret.X - length), ' ')))
    e.SetCaretPos(caret);
}

void TEditorCommands::DeleteWord() {
  TMemoEditor& e = m_editor;
  const TPoint caret = e.CaretPos();
  const TSyntMemoStrings& lines = e.Lines();
  if (caret.X >= lines.LineLength(caret.Y)) {
    DeleteChar();  // at or beyond the end: joins the next line
    return;
  }
  const int from = e.CaretStrPos();
  const int lineEnd = lines.LineStart(caret.Y) + lines.LineLength(caret.Y);
  const int to = std::min(lineEnd, e.CaretPosToStrPos(WordRight(caret)));
  TUpdateGuard bracket(e);
  if (e.ReplaceText(from, to - from, "")) e.SetCaretStrPos(from);
}

void TEditorCommands::BackDeleteWord() {
  TMemoEditor& e = m_editor;
  TPoint caret = e.CaretPos();
  const TSyntMemoStrings& lines = e.Lines();
  TUpdateGuard bracket(e);
  if (caret.X > lines.LineLength(caret.Y)) {
    caret.X = lines.LineLength(caret.Y);
    e.SetCaretPos(caret);
  }
  if (caret.X == 0) {
    e.DeleteText(-1);  // joins the line above
    return;
  }
  const int to = e.CaretStrPos();
  const int from = std::max(lines.LineStart(caret.Y), e.CaretPosToStrPos(WordLeft(caret)));
  if (e.ReplaceText(from, to - from, "")) e.SetCaretStrPos(from);
}

void TEditorCommands::DeleteToLineBegin() {
  TMemoEditor& e = m_editor;
  const TPoint caret = e.CaretPos();
  const int start = e.Lines().LineStart(caret.Y);
  const int to = e.CaretPosToStrPos(caret);
  TUpdateGuard bracket(e);
  if (e.ReplaceText(start, to - start, "")) e.SetCaretPos(0, caret.Y);
}

void TEditorCommands::DeleteLine() {
  TMemoEditor& e = m_editor;
  const int line = e.CaretPos().Y;
  const TSyntMemoStrings& lines = e.Lines();
  if (line >= lines.Count()) return;
  const int start = lines.LineStart(line);
  const int count = lines.LineFullLength(line);
  if (count == 0 || e.IsReadOnlySpan(start, count)) return;
  TUpdateGuard bracket(e);
  e.SetSelectionMode(smNormal);
  e.SetSelection(start, 0);
  if (e.ReplaceText(start, count, "")) e.SetCaretPos(0, line);
}

void TEditorCommands::NewLine() {
  TMemoEditor& e = m_editor;
  TUpdateGuard bracket(e);
  if (e.HaveSelection() && e.HasOption(soOverwriteBlocks)) e.ClearSelection();
  const TPoint caret = e.CaretPos();
  std::string text = "\r\n";
  if (e.HasOption(soAutoIndentMode))
    text += IndentText(NewLineIndentWidth(e.Lines(), e.TabList(), caret), e.TabList(), e.TabMode());
  // A break beyond the end of a line goes at the end of its text: the
  // indentation must not be padded out to the caret.
  const int length = e.Lines().LineLength(caret.Y);
  if (caret.X > length && !e.HaveSelection()) e.SetCaretPos(length, caret.Y);
  e.InsertText(text);
}

void TEditorCommands::BreakLine() {
  TMemoEditor& e = m_editor;
  TUpdateGuard bracket(e);
  if (e.HaveSelection() && e.HasOption(soOverwriteBlocks)) e.ClearSelection();
  TPoint caret = e.CaretPos();
  caret.X = std::min(caret.X, e.Lines().LineLength(caret.Y));
  e.SetCaretPos(caret);
  const int before = e.Lines().TextLength();
  e.InsertText("\r\n");
  if (e.Lines().TextLength() != before) e.SetCaretPos(caret);  // the break lies after the caret
}

void TEditorCommands::Tab() {
  TMemoEditor& e = m_editor;
  if (e.TabMode() == tmTabChar) {
    e.InsertText("\t");
    return;
  }
  TUpdateGuard bracket(e);
  if (e.HaveSelection() && e.HasOption(soOverwriteBlocks)) e.ClearSelection();
  const TPoint caret = e.CaretPos();
  const int column = e.Layout().VisualColumn(caret.Y, caret.X);
  e.InsertText(std::string(static_cast<size_t>(std::max(1, e.TabList().NextTabStop(column) - column)), ' '));
}

void TEditorCommands::ToggleInsertMode() { m_editor.SetReplaceMode(!m_editor.ReplaceMode()); }

// ---------------------------------------------------------------- indent

void TEditorCommands::SelectedLines(int& first, int& last) const {
  const TMemoEditor& e = m_editor;
  first = last = e.CaretPos().Y;
  if (!e.HaveSelection()) return;
  if (e.SelectionMode() == smColumn) {
    first = e.BlockRect().Top;
    last = std::min(e.BlockRect().Bottom, std::max(0, e.Lines().Count() - 1));
    return;
  }
  const TPoint start = e.StrPosToCaretPos(e.SelStart());
  const TPoint end = e.StrPosToCaretPos(e.SelStart() + e.SelLength());
  first = start.Y;
  last = end.X == 0 && end.Y > start.Y ? end.Y - 1 : end.Y;
}

void TEditorCommands::ShiftLines(bool indent) {
  TMemoEditor& e = m_editor;
  const TSyntMemoStrings& lines = e.Lines();
  int first = 0, last = 0;
  SelectedLines(first, last);
  const bool normalSelection = e.HaveSelection() && e.SelectionMode() == smNormal;
  const bool caretAtEnd = normalSelection && e.CaretStrPos() != e.SelStart();
  const bool endsAtLineStart = normalSelection && e.StrPosToCaretPos(e.SelStart() + e.SelLength()).X == 0 &&
                               e.StrPosToCaretPos(e.SelStart() + e.SelLength()).Y > first;
  TPoint caret = e.CaretPos();
  TUpdateGuard bracket(e);
  for (int line = last; line >= first; --line) {
    const int start = lines.LineStart(line);
    const int length = lines.LineLength(line);
    int shift = 0;
    if (indent) {
      if (length == 0) continue;
      if (!e.ReplaceText(start, 0, std::string(static_cast<size_t>(m_blockIndent), ' '))) continue;
      shift = m_blockIndent;
    } else {
      // Leading blanks up to BlockIndent columns; a tab reaching past it goes whole.
      int n = 0;
      int width = 0;
      while (n < length && width < m_blockIndent) {
        const char c = lines.CharAt(start + n);
        if (c != ' ' && c != '\t') break;
        width = e.Layout().VisualColumn(line, n + 1);
        ++n;
      }
      if (n == 0 || !e.ReplaceText(start, n, "")) continue;
      shift = -n;
    }
    if (line == caret.Y && caret.X > 0) caret.X = std::max(0, caret.X + shift);
  }
  if (!normalSelection) {
    e.SetCaretPos(caret);
    return;
  }
  // The selection covers the shifted lines whole.
  const int from = lines.LineStart(first);
  const int to = endsAtLineStart ? lines.LineStart(last + 1) : lines.LineStart(last) + lines.LineLength(last);
  e.SetCaretStrPos(caretAtEnd ? to : from);
  e.SetSelection(from, to - from);
}

void TEditorCommands::Indent() { ShiftLines(true); }

void TEditorCommands::Unindent() { ShiftLines(false); }

// ---------------------------------------------------------------- selection modes

void TEditorCommands::SelectNormalMode() {
  TMemoEditor& e = m_editor;
  m_columnChosen = false;
  if (e.SelectionMode() != smColumn) return;
  const TBlockRect block = e.BlockRect();
  const int start = e.CaretPosToStrPos(block.Left, block.Top);
  const int end = e.CaretPosToStrPos(block.Right, block.Bottom);
  e.SetSelectionMode(smNormal);
  e.SetSelection(start, std::max(0, end - start));
}

void TEditorCommands::SelectColumnMode() {
  TMemoEditor& e = m_editor;
  if (!e.HasOption(soEnableBlockSel)) return;
  m_columnChosen = true;
  if (e.SelectionMode() == smColumn) return;
  // The stream selection's corners become the block's.
  const TPoint caret = e.CaretPos();
  TPoint anchor = caret;
  if (e.HaveSelection()) {
    const TPoint start = e.StrPosToCaretPos(e.SelStart());
    const TPoint end = e.StrPosToCaretPos(e.SelStart() + e.SelLength());
    anchor = e.CaretStrPos() == e.SelStart() ? end : start;
  }
  m_columnAnchor = anchor;
  e.SetBlockRect(TBlockRect{std::min(anchor.X, caret.X), std::min(anchor.Y, caret.Y), std::max(anchor.X, caret.X),
                            std::max(anchor.Y, caret.Y)});
  m_columnBlock = e.BlockRect();
}

void TEditorCommands::SelectLines() {
  TMemoEditor& e = m_editor;
  const TSyntMemoStrings& lines = e.Lines();
  if (lines.Count() == 0) return;
  int first = 0, last = 0;
  SelectedLines(first, last);
  m_columnChosen = false;
  const int from = lines.LineStart(first);
  const int to = WholeLinesEnd(lines.LineStart(last) + lines.LineFullLength(last));
  e.SetSelectionMode(smNormal);
  e.SetCaretStrPos(to);
  e.SetSelection(from, to - from);
}

void TEditorCommands::ResetSelection() {
  TMemoEditor& e = m_editor;
  m_columnChosen = false;
  e.SetSelectionMode(smNormal);
  e.SetSelection(e.CaretStrPos(), 0);
}

}  // namespace penwick

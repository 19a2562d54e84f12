// The editing core of the editor control: every operation as undoable
// insertions and deletions of the store inside one edit bracket.
#include "editor/MemoEditor.h"

#include "platform/FlagScope.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace penwick {

TMemoEditor::TMemoEditor() : m_clipboard(&m_ownClipboard) {
  TStoreListener positions;
  positions.Changed = [this](int pos, int count, int) { AdjustToChange(pos, count); };
  m_positionsSubscription = m_lines.Subscribe(std::move(positions), TStorePhase::Positions);
  TStoreListener events;
  events.Changed = [this](int pos, int count, int lineChange) { RaiseTextChanged(pos, count, lineChange); };
  m_eventsSubscription = m_lines.Subscribe(std::move(events), TStorePhase::Events);
  m_lines.SetModifiedChangedHandler([this] {
    if (OnModifiedChanged) OnModifiedChanged();
  });
}

TMemoEditor::~TMemoEditor() {
  m_positionsSubscription.Reset();
  m_eventsSubscription.Reset();
  m_lines.SetModifiedChangedHandler(nullptr);
}

void TMemoEditor::SetClipboard(TClipboard* clipboard) { m_clipboard = clipboard ? clipboard : &m_ownClipboard; }

void TMemoEditor::SetOptions(TSyntaxMemoOptions options) {
  m_options = options;
  if (!(options & soEnableBlockSel) && m_selectionMode == smColumn) {
    // A column block becomes the stream selection over the same corners.
    const int start = CaretPosToStrPos(m_block.Left, m_block.Top);
    const int end = CaretPosToStrPos(m_block.Right, m_block.Bottom);
    m_selectionMode = smNormal;
    SetSelection(start, end - start);
  }
}

// ---------------------------------------------------------------- bracket

void TMemoEditor::BeginUpdate() {
  if (m_updateDepth++ == 0) m_lines.BeginUndoGroup();
}

void TMemoEditor::EndUpdate() {
  if (m_updateDepth <= 0) return;
  if (--m_updateDepth == 0) {
    m_lines.EndUndoGroup();
    if (m_hooks.UpdateView) m_hooks.UpdateView();
  }
}

// ---------------------------------------------------------------- caret

int TMemoEditor::CaretPosToStrPos(int x, int y) const {
  if (y >= m_lines.Count()) return m_lines.TextLength();
  if (y < 0) return 0;
  return m_lines.LineStart(y) + std::clamp(x, 0, m_lines.LineLength(y));
}

TPoint TMemoEditor::StrPosToCaretPos(int offset) const {
  if (offset <= 0 || m_lines.Count() == 0) return TPoint{};
  const int line = m_lines.LineFromOffset(offset);
  return TPoint{std::min(offset - m_lines.LineStart(line), m_lines.LineLength(line)), line};
}

void TMemoEditor::SetCaretPos(TPoint pos) {
  pos.X = std::max(pos.X, 0);
  pos.Y = std::clamp(pos.Y, 0, std::max(m_lines.Count() - 1, 0));
  if (HasOption(soKeepCaretInText)) pos.X = std::min(pos.X, m_lines.LineLength(pos.Y));
  const bool moved = pos != m_caret;
  m_caret = pos;
  if (m_selLength == 0 && m_selectionMode == smNormal) m_selStart = CaretStrPos();
  if (moved) {
    if (m_hooks.CaretMoved) m_hooks.CaretMoved();
    if (OnCaretPosChanged) OnCaretPosChanged();
  }
}

void TMemoEditor::ClampCaret() {
  const int lastLine = std::max(m_lines.Count() - 1, 0);
  if (m_caret.Y > lastLine) SetCaretPos(m_caret);
}

// ---------------------------------------------------------------- selection

void TMemoEditor::NotifySelectionChanged() {
  if (m_hooks.SelectionChanged) m_hooks.SelectionChanged();
}

void TMemoEditor::SetSelectionMode(TSelectionMode mode) {
  if (mode == smColumn && !HasOption(soEnableBlockSel)) return;
  if (mode == m_selectionMode) return;
  m_selectionMode = mode;
  NotifySelectionChanged();
}

void TMemoEditor::SetSelection(int start, int length) {
  const int textLength = m_lines.TextLength();
  m_selStart = std::clamp(start, 0, textLength);
  m_selLength = std::clamp(length, 0, textLength - m_selStart);
  NotifySelectionChanged();
}

void TMemoEditor::SetSelStart(int start) { SetSelection(start, m_selLength); }

void TMemoEditor::SetSelLength(int length) { SetSelection(m_selStart, length); }

void TMemoEditor::SetBlockRect(const TBlockRect& rect) {
  if (!HasOption(soEnableBlockSel)) return;
  m_block.Left = std::max(0, std::min(rect.Left, rect.Right));
  m_block.Right = std::max(0, std::max(rect.Left, rect.Right));
  m_block.Top = std::max(0, std::min(rect.Top, rect.Bottom));
  m_block.Bottom = std::max(0, std::max(rect.Top, rect.Bottom));
  m_selectionMode = smColumn;
  NotifySelectionChanged();
}

bool TMemoEditor::HaveSelection() const {
  if (m_selectionMode == smColumn) return !m_block.IsEmpty() && m_block.Top < m_lines.Count();
  return m_selLength > 0;
}

std::string TMemoEditor::SelText() const {
  if (m_selectionMode == smNormal) return m_lines.TextRange(m_selStart, m_selLength);
  std::string out;
  if (m_block.IsEmpty()) return out;
  const int last = std::min(m_block.Bottom, m_lines.Count() - 1);
  for (int y = m_block.Top; y <= last; ++y) {
    const int length = m_lines.LineLength(y);
    const int from = std::min(m_block.Left, length);
    const int to = std::min(m_block.Right, length);
    out += m_lines.TextRange(m_lines.LineStart(y) + from, to - from);
    out += "\r\n";
  }
  return out;
}

void TMemoEditor::SelectAll() {
  m_selectionMode = smNormal;
  SetSelection(0, m_lines.TextLength());
}

bool TMemoEditor::IsReadOnlyAt(int offset) const {
  return m_readOnly || (m_hooks.ReadOnlyAt && m_hooks.ReadOnlyAt(offset));
}

bool TMemoEditor::IsReadOnlySpan(int offset, int count) const {
  if (count <= 0) return IsReadOnlyAt(offset);
  return IsReadOnlyAt(offset) || IsReadOnlyAt(offset + count - 1);
}

bool TMemoEditor::SelectionWritable() const {
  if (!HaveSelection()) return !IsReadOnlyAt(CaretStrPos());
  if (m_selectionMode == smNormal) return !IsReadOnlySpan(m_selStart, m_selLength);
  const int last = std::min(m_block.Bottom, m_lines.Count() - 1);
  for (int y = m_block.Top; y <= last; ++y) {
    const int length = m_lines.LineLength(y);
    const int from = std::min(m_block.Left, length);
    const int to = std::min(m_block.Right, length);
    if (IsReadOnlySpan(m_lines.LineStart(y) + from, to - from)) return false;
  }
  return true;
}

void TMemoEditor::ClearSelection() {
  if (!HaveSelection()) return;
  if (!SelectionWritable()) return;
  TUpdateGuard guard(*this);
  if (m_selectionMode == smNormal) {
    const int start = m_selStart;
    const int count = m_selLength;
    SetCaretStrPos(start);
    DeleteSpan(start, count, false);
  } else {
    const TBlockRect block = m_block;
    const int last = std::min(block.Bottom, m_lines.Count() - 1);
    for (int y = last; y >= block.Top; --y) {
      const int length = m_lines.LineLength(y);
      const int from = m_lines.LineStart(y) + std::min(block.Left, length);
      const int to = m_lines.LineStart(y) + std::min(block.Right, length);
      if (to > from) m_lines.UndoableDelete(from, to - from, false);
    }
    m_block = TBlockRect{block.Left, block.Top, block.Left, block.Top};
    m_selectionMode = smNormal;
    SetCaretPos(block.Left, block.Top);
  }
  m_selLength = 0;
  m_selStart = CaretStrPos();
  NotifySelectionChanged();
}

// ---------------------------------------------------------------- editing

void TMemoEditor::Clear() {
  TUpdateGuard guard(*this);
  m_lines.Clear();
  if (m_hooks.Cleared) m_hooks.Cleared();
  m_lines.ClearUndo();
  SetCaretPos(0, 0);
}

bool TMemoEditor::InsertAtCaret(std::string_view text, int* insertedAt, int* insertedLength) {
  if (HaveSelection() && !SelectionWritable()) return false;
  if (IsReadOnlyAt(CaretStrPos())) return false;
  TUpdateGuard guard(*this);
  if (HaveSelection() && HasOption(soOverwriteBlocks)) ClearSelection();
  if (text.empty()) return false;
  std::string s;
  const int lineLength = m_lines.LineLength(m_caret.Y);
  if (text != "\r\n" && m_caret.X > lineLength) s.assign(static_cast<size_t>(m_caret.X - lineLength), ' ');
  s.append(text);
  const int offset = CaretStrPos();
  m_lines.UndoableInsert(offset, s);
  SetCaretStrPos(offset + static_cast<int>(s.size()));
  if (insertedAt) *insertedAt = offset;
  if (insertedLength) *insertedLength = static_cast<int>(s.size());
  return true;
}

void TMemoEditor::InsertText(std::string_view text) { InsertAtCaret(text, nullptr, nullptr); }

void TMemoEditor::DeleteSpan(int start, int count, bool backward) {
  if (count <= 0 || IsReadOnlySpan(start, count)) return;
  TUpdateGuard guard(*this);
  m_lines.UndoableDelete(start, count, backward);
  SetCaretStrPos(start);
}

void TMemoEditor::DeleteText(int count) {
  if (count == 0) return;
  const int offset = CaretStrPos();
  const int length = m_lines.TextLength();
  int start;
  int n;
  if (count < 0) {
    if (offset == 0) return;
    start = static_cast<int>(std::max<long long>(0, static_cast<long long>(offset) + count));
    n = offset - start;
  } else {
    start = offset;
    n = std::min(count, length - start);
  }
  if (n <= 0) return;
  // A CR LF pair is one line break: never leave half of it.
  if (start > 0 && m_lines.CharAt(start - 1) == '\r' && m_lines.CharAt(start) == '\n') {
    --start;
    ++n;
  }
  const int end = start + n;
  if (end < length && m_lines.CharAt(end - 1) == '\r' && m_lines.CharAt(end) == '\n') ++n;
  DeleteSpan(start, n, count < 0);
}

bool TMemoEditor::ReplaceText(int offset, int count, std::string_view text) {
  const int length = m_lines.TextLength();
  offset = std::clamp(offset, 0, length);
  count = std::clamp(count, 0, length - offset);
  if (IsReadOnlySpan(offset, count)) return false;
  if (count == 0 && text.empty()) return true;
  TUpdateGuard guard(*this);
  m_lines.UndoableReplace(offset, count, text);
  return true;
}

int TMemoEditor::ConvertTabs(int offset, int count) {
  offset = std::clamp(offset, 0, m_lines.TextLength());
  count = std::clamp(count, 0, m_lines.TextLength() - offset);
  int newLength = count;
  TUpdateGuard guard(*this);
  for (int o = offset + count - 1; o >= offset; --o) {
    if (m_lines.CharAt(o) != '\t') continue;
    const int column = m_layout.VisualColumnAt(o);
    const int spaces = std::max(1, m_tabList.NextTabStop(column) - column);
    if (ReplaceText(o, 1, std::string(static_cast<size_t>(spaces), ' '))) newLength += spaces - 1;
  }
  return newLength;
}

// ---------------------------------------------------------------- clipboard

void TMemoEditor::CopyToClipboard() {
  if (HaveSelection()) m_clipboard->SetText(SelText(), m_selectionMode == smColumn);
}

void TMemoEditor::CutToClipboard() {
  CopyToClipboard();
  ClearSelection();
}

bool TMemoEditor::CanPaste() const {
  try {
    return m_clipboard->HasText() && SelectionWritable();
  } catch (...) {
    return false;
  }
}

void TMemoEditor::PasteFromClipboard() {
  TUpdateGuard guard(*this);
  if (!m_clipboard->HasText()) return;
  bool column = false;
  const std::string text = m_clipboard->GetText(&column);
  if (text.empty() || IsReadOnlyAt(CaretStrPos())) return;
  if (column) {
    PasteColumn(text);
    return;
  }
  int at = 0;
  int length = 0;
  if (!InsertAtCaret(text, &at, &length)) return;
  if (m_tabMode == tmSpaces) SetCaretStrPos(at + ConvertTabs(at, length));
}

// Each line of the block goes in at the caret column of successive lines;
// lines are added at the end of the text as needed and short lines are
// padded with spaces to the column.
void TMemoEditor::PasteColumn(const std::string& text) {
  if (HaveSelection() && HasOption(soOverwriteBlocks)) ClearSelection();
  std::vector<std::string> pieces;
  size_t begin = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    pieces.push_back(text.substr(begin, i - begin));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    begin = i + 1;
  }
  if (begin < text.size()) pieces.push_back(text.substr(begin));
  if (pieces.empty()) return;

  const int x = m_caret.X;
  const int y = m_caret.Y;
  struct TSpan {
    int line;
    int column;
    int length;
  };
  std::vector<TSpan> spans;
  // Makes line `line` exist, appending line breaks at the end of the text.
  // A line right after a final break needs none: the insertion makes it.
  auto ensureLine = [&](int line) {
    while (m_lines.Count() <= line) {
      const int count = m_lines.Count();
      if (count == line && (count == 0 || m_lines.LineBreakLength(count - 1) > 0)) return true;
      const int end = m_lines.TextLength();
      if (IsReadOnlyAt(end)) return false;
      m_lines.UndoableInsert(end, "\r\n");
    }
    return true;
  };
  for (size_t k = 0; k < pieces.size(); ++k) {
    const int line = y + static_cast<int>(k);
    if (!ensureLine(line)) break;
    const bool exists = line < m_lines.Count();
    const int lineLength = exists ? m_lines.LineLength(line) : 0;
    const int column = std::min(x, lineLength);
    std::string s(static_cast<size_t>(std::max(0, x - lineLength)), ' ');
    s += pieces[k];
    const int offset = exists ? m_lines.LineStart(line) + column : m_lines.TextLength();
    if (!s.empty()) {
      if (IsReadOnlyAt(offset)) break;
      m_lines.UndoableInsert(offset, s);
    }
    spans.push_back(TSpan{line, column, static_cast<int>(s.size())});
  }
  if (spans.empty()) return;
  int caretColumn = spans.back().column + spans.back().length;
  if (m_tabMode == tmSpaces) {
    for (size_t k = spans.size(); k-- > 0;) {
      const TSpan& span = spans[k];
      const int newLength = ConvertTabs(m_lines.LineStart(span.line) + span.column, span.length);
      if (k + 1 == spans.size()) caretColumn = span.column + newLength;
    }
  }
  SetCaretPos(caretColumn, spans.back().line);
}

// ---------------------------------------------------------------- undo

void TMemoEditor::Undo() {
  if (!CanUndo()) return;
  TUpdateGuard guard(*this);
  int caret = -1;
  {
    TFlagScope undoing(m_undoingOrRedoing);
    caret = m_lines.Undo(HasOption(soGroupUndo));
  }
  m_selectionMode = smNormal;
  m_selLength = 0;
  if (caret >= 0) SetCaretStrPos(caret);
  NotifySelectionChanged();
}

void TMemoEditor::Redo() {
  if (!CanRedo()) return;
  TUpdateGuard guard(*this);
  int caret = -1;
  {
    TFlagScope undoing(m_undoingOrRedoing);
    caret = m_lines.Redo(HasOption(soGroupRedo));
  }
  m_selectionMode = smNormal;
  m_selLength = 0;
  if (caret >= 0) SetCaretStrPos(caret);
  NotifySelectionChanged();
}

// ---------------------------------------------------------------- notification

void TMemoEditor::AdjustToChange(int pos, int count) {
  if (pos < 0) {
    m_selectionMode = smNormal;
    m_block = TBlockRect{};
    m_selStart = 0;
    m_selLength = 0;
    m_caret = TPoint{};  // a new text has nothing to do with where the caret stood
  } else if (count > 0) {
    if (pos <= m_selStart) m_selStart += count;
    else if (pos < m_selStart + m_selLength) m_selLength += count;
  } else if (count < 0) {
    const int end = pos - count;
    auto adjust = [&](int x) { return x <= pos ? x : (x >= end ? x + count : pos); };
    const int start = adjust(m_selStart);
    const int stop = adjust(m_selStart + m_selLength);
    m_selStart = start;
    m_selLength = stop - start;
  }
  const int textLength = m_lines.TextLength();
  m_selStart = std::clamp(m_selStart, 0, textLength);
  m_selLength = std::clamp(m_selLength, 0, textLength - m_selStart);
  ClampCaret();
}

void TMemoEditor::RaiseTextChanged(int pos, int count, int lineChange) {
  if (OnTextChanged) OnTextChanged(pos, count, lineChange);
  if (OnChange) OnChange();
}

}  // namespace penwick

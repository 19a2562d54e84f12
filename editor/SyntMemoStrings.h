// The editor's text store: the whole 8-bit text with its line table and line
// states, the listeners that follow it, and the undo history and file format
// that belong to it.
#pragma once

#include "editor/Partitioning.h"
#include "editor/SplitVector.h"
#include "editor/StoreErrors.h"
#include "editor/StoreListener.h"
#include "editor/TextFileFormat.h"
#include "editor/UndoHistory.h"
#include "platform/ListenerList.h"
#include "platform/SafeFileWriter.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace penwick {

// The state of one line since the last save.
enum TLineState : uint8_t {
  lsUnchanged = 0,
  lsModified = 1,
  lsNew = 2,
  lsSaved = 3,  // changed earlier, saved since
};

// Text and lines
// --------------
// The text is held in a gap buffer; the line starts in a TPartitioning. A
// line break is CR LF, a lone CR or a lone LF (LF CR is two breaks). A
// line's text runs from its start up to its break; its full length counts the
// break too. Invariants (CheckInvariants): the first start is 0; starts are
// strictly ascending; every offset just past a break is a start, except the
// text length, where a start is optional (after loading, and after an edit
// that ends the text with a break, an empty last line stands there so the
// caret can go after the last break); an empty text has no lines, or one
// empty line after an edit emptied it. One line state per line.
//
// Costs: n is the text length, m the number of lines, k the size of an edit.
// Count, LineStart, LineLength, LineFullLength, CharAt, Chars: O(1).
// LineFromOffset: O(log m). LineText, TextRange: O(length read).
// InsertText/DeleteText: O(k + distance from the previous edit), i.e. O(k)
// for typing; Text(), Text set, loading, saving, AddStrings: O(n + m).
//
// Change notification
// -------------------
// The store tells its listeners (Subscribe) about every change, as
// TStoreListener says: lines inserted or removed, then (pos, count,
// lineChange); (-1, 0, 0) reports a change of the whole text.
//
// Undo
// ----
// The history (TUndoHistory) holds the records; the store's undoable edits
// (UndoableInsert, UndoableDelete, UndoableReplace) make them, always the
// same way: the record first, then the change, so that listeners already see
// the history that includes it. Low-level InsertText/DeleteText and the
// whole-text operations record nothing; a whole-text replacement (Text set,
// Clear, loading) drops the history, whose records would no longer fit the
// text, and when something was undoable the text stays modified.
//
// Files
// -----
// TTextFileFormat says how the text stands in its file. Clear and loading an
// empty file reset it to a new document's format (8-bit, CR LF).
class TSyntMemoStrings {
public:
  using TModifiedHandler = std::function<void()>;

  TSyntMemoStrings();
  TSyntMemoStrings(const TSyntMemoStrings&) = delete;
  TSyntMemoStrings& operator=(const TSyntMemoStrings&) = delete;

  // The handle unsubscribes when it goes (also in the middle of a
  // notification); it must not outlive the store.
  TSubscription Subscribe(TStoreListener listener, TStorePhase phase = TStorePhase::Content);
  // Called on every flip of Modified.
  void SetModifiedChangedHandler(TModifiedHandler handler) { m_undo.OnModifiedChanged = std::move(handler); }

  // ---- Lines ----
  int Count() const { return m_lines.Count(); }
  // Text of line i without its break; an index outside 0..Count-1 yields "".
  std::string Line(int index) const;
  std::string operator[](int index) const { return Line(index); }
  // Replaces the text (not the break) of line i: a deletion of the old text
  // followed by an insertion at the line start. Raises EStringListError for
  // an index outside 0..Count-1.
  void SetLine(int index, std::string_view text);
  // 0 <= index <= Count, else EStringListError (store unchanged). Before line
  // `index`: s followed by CR LF. At Count: after a last line that ends in a
  // break, s + CR LF; on an empty store, s alone; otherwise CR LF + s.
  void Insert(int index, std::string_view text);
  void Add(std::string_view text) { Insert(Count(), text); }
  // Removes line i with its break; the last line without a break takes the
  // break before it along. Raises EStringListError outside 0..Count-1.
  void Delete(int index);
  // Empties the text (no lines); whole-text notification.
  void Clear();
  // Appends each line followed by CR LF, preceded by CR LF when the store is
  // not empty and its last line has no break; one notification.
  void AddStrings(const std::vector<std::string>& lines);

  // ---- Whole text ----
  // The text exactly as held (materialises a string: O(n)).
  std::string Text() const;
  // Replaces the whole text and rebuilds the table (no empty line after a
  // final break); line states become unchanged; whole-text notification.
  void SetText(std::string_view text);
  int TextLength() const { return m_text.Length(); }
  // The character at 1-based offset i; 0 and out-of-range offsets give '\0'.
  char Chars(int pos) const { return CharAt(pos - 1); }
  // The character at 0-based `offset`; outside the text gives '\0'.
  char CharAt(int offset) const {
    return offset >= 0 && offset < m_text.Length() ? m_text.ValueAt(offset) : '\0';
  }
  // Up to `count` characters from `offset`, clipped to the text.
  std::string TextRange(int offset, int count) const;
  // The whole text as one view without copying, for readers that scan it
  // (analysis, search). Closing the gap costs the distance to the nearer end
  // of the text, nothing when the last edit was near either end or when
  // nothing changed since the previous call. Valid until the next change or
  // WindowFrom.
  std::string_view ContiguousText() const {
    return std::string_view(m_text.ContiguousPointer(), static_cast<size_t>(m_text.Length()));
  }

  // The text from `start` to its end as one view, `start` <= `offset`
  // (offset clamped to 0..TextLength): nothing moves when the gap lies at or
  // before `offset` (start is then the gap's offset), else the gap moves
  // back to `offset` (cost: the distance, one line after a keystroke). Valid
  // until the next change or the next WindowFrom or ContiguousText.
  std::string_view WindowFrom(int offset, int& start) const {
    offset = std::clamp(offset, 0, m_text.Length());
    const char* p = m_text.TailFrom(offset, start);
    return std::string_view(p, static_cast<size_t>(m_text.Length() - start));
  }
  // [offset, offset + count) as a view when the gap does not split it; false
  // when it does or the range leaves the text. Moves nothing.
  bool PieceAt(int offset, int count, std::string_view& out) const {
    if (offset < 0 || count < 0 || offset > m_text.Length() - count) return false;
    if (count == 0) {
      out = std::string_view();
      return true;
    }
    const char* p = m_text.PieceAt(offset, count);
    if (!p) return false;
    out = std::string_view(p, static_cast<size_t>(count));
    return true;
  }

  // ---- Fast line access (0-based; an index outside the table gives 0 / "") ----
  int LineStart(int index) const;
  int LineLength(int index) const;      // without the break
  int LineFullLength(int index) const;  // with the break (0, 1 or 2 more)
  int LineBreakLength(int index) const;
  std::string LineText(int index) const { return Line(index); }
  // The line holding `offset`: the last line whose start is <= offset;
  // offsets before 0 give 0, beyond the text the last line; -1 with no lines.
  int LineFromOffset(int offset) const;
  TLineState LineState(int index) const;

  // ---- Low-level edits (no undo record) ----
  // Inserts s at `offset` (clamped to 0..TextLength).
  void InsertText(int offset, std::string_view text);
  // Removes `count` characters at `offset` (clipped to the text).
  void DeleteText(int offset, int count);

  // ---- Undoable edits (one record each, made before the change) ----
  // Inserts s at `offset` (clamped): an insertion record whose caret goes
  // after the text when `caretAfter`.
  void UndoableInsert(int offset, std::string_view text, bool caretAfter = true);
  // Removes `count` characters at `offset` (clipped): a deletion record
  // holding them. Nothing happens (and nothing is recorded) for an empty span.
  void UndoableDelete(int offset, int count, bool caretAfter);
  // Replaces `count` characters at `offset` (clipped) by s: one replacement
  // record, caret after the new text. Nothing happens when both are empty.
  void UndoableReplace(int offset, int count, std::string_view text);

  // ---- Files ----
  // Reads the remainder of the stream: byte-order mark, text, line table
  // (with an empty last line after a final break), line-break style; one
  // whole-text notification. Read and conversion errors are swallowed (the
  // text holds what was read). The undo history is dropped (see above).
  void LoadFromStream(std::istream& stream);
  // As LoadFromStream, except that the text is replaced only by a whole
  // file: EFOpenError when the file cannot be opened or fails while it is read.
  void LoadFromFile(const std::string& fileName);
  // Byte-order mark of the encoding, then the text with the breaks of the
  // line-break style, in the encoding. Throws std::runtime_error when the
  // stream fails.
  void SaveToStream(std::ostream& stream) const;
  // Writes a temporary file beside the target, flushes it to disk and renames
  // it over the target, keeping the target's permissions. On any failure the
  // temporary is removed, the old file is left intact and EFCreateError is
  // raised.
  void SaveToFile(const std::string& fileName) const;

  TTextFileFormat& Format() { return m_format; }
  const TTextFileFormat& Format() const { return m_format; }
  TTextEncoding Encoding() const { return m_format.Encoding(); }
  void SetEncoding(TTextEncoding encoding) { m_format.SetEncoding(encoding); }
  TLineBreakStyle LineBreakStyle() const { return m_format.LineBreakStyle(); }
  void SetLineBreakStyle(TLineBreakStyle style) { m_format.SetLineBreakStyle(style); }

  // ---- Modified state and undo ----
  TUndoHistory& UndoHistory() { return m_undo; }
  const TUndoHistory& UndoHistory() const { return m_undo; }
  bool Modified() const { return m_undo.Modified(); }
  // Stores the forced-modified flag; false also clears the undo history and
  // turns every changed line into lsSaved.
  void SetModified(bool modified);
  // Records one change (TUndoHistory::Add); for callers that change the text
  // with the low-level edits themselves.
  void AddUndo(TUndoKind kind, const std::string& inserted, bool caretAfter, int position,
               const std::string& removed) {
    m_undo.Add(kind, inserted, caretAfter, position, removed);
  }
  void ClearUndo() { m_undo.Clear(); }
  void BeginUndoGroup() { m_undo.BeginGroup(); }
  void EndUndoGroup() { m_undo.EndGroup(); }
  int UndoLimit() const { return m_undo.Limit(); }
  void SetUndoLimit(int limit) { m_undo.SetLimit(limit); }
  bool CanUndo() const { return m_undo.CanUndo(); }
  bool CanRedo() const { return m_undo.CanRedo(); }

  // Takes back the newest undoable record and, while the history says the
  // undo goes on (same group, or with `groupUndo` a continuing record), the
  // next ones. Returns the caret offset the last undone record gives, or -1
  // when nothing was undoable.
  int Undo(bool groupUndo);
  // Re-applies the oldest undone record and, while the redo goes on, the
  // next ones. Returns the caret offset, or -1 when nothing was undone.
  int Redo(bool groupRedo);
  // Single steps, as Undo and Redo use them; -1 when not available.
  int UndoOne();
  int RedoOne();

  // ---- Checking ----
  // Throws std::logic_error naming the first broken invariant. O(n + m).
  void CheckInvariants() const;
  // A canonical description of lines, states and undo for tests to compare.
  std::string DebugDump() const;

private:
  void Notify(int pos, int count, int lineChange);
  void NotifyWholeText(int oldCount);
  void LinesRemovedAt(int first, int count);
  void LinesInsertedAt(int first, int count);
  void RebuildLines(bool emptyLineAfterFinalBreak, TLineState state);
  bool IsLineStartAt(int offset) const;  // a break ends just before `offset`
  void MarkModified(int line);
  void LoadBytes(std::vector<char>&& bytes);
  void WriteTo(const TByteSink& sink) const;

  mutable TSplitVector<char> m_text;  // mutable: moving the gap does not change the text
  TPartitioning m_lines;
  TSplitVector<uint8_t> m_states;
  TUndoHistory m_undo;
  TTextFileFormat m_format;
  struct TLineEvent {
    bool Inserted;
    int First;
    int Count;
  };
  std::vector<TLineEvent> m_lineEvents;  // of the edit in progress
  TListenerList<TStoreListener> m_listeners[3];  // by TStorePhase
};

// Keeps an undo group of the store open for its lifetime.
class TUndoGroupGuard {
public:
  explicit TUndoGroupGuard(TSyntMemoStrings& lines) : m_lines(lines) { m_lines.BeginUndoGroup(); }
  ~TUndoGroupGuard() { m_lines.EndUndoGroup(); }
  TUndoGroupGuard(const TUndoGroupGuard&) = delete;
  TUndoGroupGuard& operator=(const TUndoGroupGuard&) = delete;

private:
  TSyntMemoStrings& m_lines;
};

}  // namespace penwick

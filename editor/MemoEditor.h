// The editing core of the editor control: caret, selection, edit brackets,
// typing, deleting, replacing, clipboard, undo and redo over the text store.
#pragma once

#include "editor/Clipboard.h"
#include "editor/ColumnLayout.h"
#include "editor/MemoryClipboard.h"
#include "editor/SyntMemoStrings.h"
#include "editor/TabList.h"

#include <functional>
#include <string>
#include <string_view>

namespace penwick {

// A caret position: 0-based character column X (may lie beyond the end of
// the line) and 0-based line Y.
struct TPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TPoint& a, const TPoint& b) { return a.X == b.X && a.Y == b.Y; }
  friend bool operator!=(const TPoint& a, const TPoint& b) { return !(a == b); }
};

// A column block: lines Top..Bottom (inclusive), character columns
// Left..Right (Right exclusive). Empty when Right <= Left or Bottom < Top.
struct TBlockRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  bool IsEmpty() const { return Right <= Left || Bottom < Top; }
  friend bool operator==(const TBlockRect& a, const TBlockRect& b) {
    return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
  }
};

// Behaviour switches of the editor (a bit set).
enum TSyntaxMemoOption : unsigned {
  soOverwriteBlocks = 1u << 0,   // typing, pasting, Backspace, Delete replace the selection
  soEnableBlockSel = 1u << 1,    // column selection allowed
  soHideSelection = 1u << 2,     // selection not drawn without focus (view)
  soHideDynamic = 1u << 3,       // dynamic highlighting not drawn without focus (view)
  soAutoIndentMode = 1u << 4,    // Enter indents the new line (key handling)
  soBackUnindent = 1u << 5,      // Backspace at the indentation unindents (key handling)
  soGroupUndo = 1u << 6,         // Undo takes back a run of adjacent records
  soGroupRedo = 1u << 7,         // Redo re-applies a run of adjacent records
  soScrollLastLine = 1u << 8,    // view
  soSmartCaret = 1u << 9,        // view / key handling
  soUndoAfterSave = 1u << 10,    // kept for the settings; saving clears the history either way
  soDragText = 1u << 11,         // view
  soKeepCaretInText = 1u << 12,  // caret may not stand beyond the end of a line
  soAlwaysShowCaret = 1u << 13,  // view
};
using TSyntaxMemoOptions = unsigned;

// The editor's configured options.
constexpr TSyntaxMemoOptions kDefaultSyntaxMemoOptions =
    soOverwriteBlocks | soEnableBlockSel | soHideSelection | soHideDynamic | soAutoIndentMode |
    soBackUnindent | soGroupUndo | soScrollLastLine | soSmartCaret;

enum TSelectionMode { smNormal, smColumn };

// What the Tab key and pasting do with tabs: tmSpaces inserts spaces to the
// next stop and converts pasted tabs; tmTabChar keeps tab characters;
// tmDialog lets Tab move the focus.
enum TTabMode { tmSpaces, tmTabChar, tmDialog };

// What a view of the editor wants to hear; any member may be empty.
//  - UpdateView: at the end of the outermost edit bracket (scroll range,
//    caret, repaint); also while an exception unwinds the bracket, so it
//    must not throw.
//  - CaretMoved: after the caret position changed (before OnCaretPosChanged).
//  - SelectionChanged: after the selection changed.
//  - Cleared: inside Clear, after the text was emptied (folds, bookmarks).
//  - ReadOnlyAt(offset): places that may not be written besides those the
//    ReadOnly property covers.
struct TMemoEditorHooks {
  std::function<void()> UpdateView;
  std::function<void()> CaretMoved;
  std::function<void()> SelectionChanged;
  std::function<void()> Cleared;
  std::function<bool(int offset)> ReadOnlyAt;
};

// The editor without any drawing. Every operation runs inside one edit
// bracket (BeginUpdate/EndUpdate); the outermost bracket opens an undo group
// of the store, so one operation is one group. Edits go through the store's
// undoable edits, which make the records. The editor listens to its store:
// first of all listeners it moves the caret and the selection with a change;
// after all others it raises OnTextChanged and OnChange. A view attaches
// through TMemoEditorHooks and, for the text, its own store subscription.
class TMemoEditor {
public:
  TMemoEditor();
  ~TMemoEditor();
  TMemoEditor(const TMemoEditor&) = delete;
  TMemoEditor& operator=(const TMemoEditor&) = delete;

  TSyntMemoStrings& Lines() { return m_lines; }
  const TSyntMemoStrings& Lines() const { return m_lines; }

  // ---- Events ----
  std::function<void(int pos, int count, int lineChange)> OnTextChanged;
  std::function<void()> OnChange;
  std::function<void()> OnModifiedChanged;
  std::function<void()> OnCaretPosChanged;

  // ---- Properties ----
  TSyntaxMemoOptions Options() const { return m_options; }
  void SetOptions(TSyntaxMemoOptions options);
  bool HasOption(TSyntaxMemoOption option) const { return (m_options & option) != 0; }
  bool ReadOnly() const { return m_readOnly; }
  void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }
  // Overwrite mode: typing replaces the character under the caret (the Ins
  // key toggles it). A plain flag; the view picks the caret shape from it.
  bool ReplaceMode() const { return m_replaceMode; }
  void SetReplaceMode(bool replace) { m_replaceMode = replace; }
  TTabList& TabList() { return m_tabList; }
  const TTabList& TabList() const { return m_tabList; }
  TTabMode TabMode() const { return m_tabMode; }
  void SetTabMode(TTabMode mode) { m_tabMode = mode; }
  int UndoLimit() const { return m_lines.UndoLimit(); }
  void SetUndoLimit(int limit) { m_lines.SetUndoLimit(limit); }
  // The clipboard used by copy, cut and paste; not owned. nullptr restores
  // the editor's own in-memory clipboard.
  TClipboard& Clipboard() { return *m_clipboard; }
  void SetClipboard(TClipboard* clipboard);

  // Replaces the hooks of the view.
  void SetHooks(TMemoEditorHooks hooks) { m_hooks = std::move(hooks); }

  // ---- Edit bracket ----
  void BeginUpdate();
  void EndUpdate();
  int UpdateDepth() const { return m_updateDepth; }

  // ---- Caret ----
  TPoint CaretPos() const { return m_caret; }
  // Negative values become 0; a line beyond the last becomes the last line.
  // The column may lie beyond the end of the line. An empty selection follows
  // the caret.
  void SetCaretPos(TPoint pos);
  void SetCaretPos(int x, int y) { SetCaretPos(TPoint{x, y}); }
  int CaretStrPos() const { return CaretPosToStrPos(m_caret.X, m_caret.Y); }
  void SetCaretStrPos(int offset) { SetCaretPos(StrPosToCaretPos(offset)); }
  // Line Y >= Count gives TextLength, Y < 0 gives 0; otherwise the line start
  // plus the smaller of X and the line's text length.
  int CaretPosToStrPos(int x, int y) const;
  int CaretPosToStrPos(TPoint pos) const { return CaretPosToStrPos(pos.X, pos.Y); }
  // The line whose start is the last one <= offset, X the distance from it
  // limited to the line's text length; offset <= 0 gives (0, 0).
  TPoint StrPosToCaretPos(int offset) const;
  // Where the characters of a line stand once tabs advance to their stops.
  const TColumnLayout& Layout() const { return m_layout; }

  // ---- Selection ----
  TSelectionMode SelectionMode() const { return m_selectionMode; }
  void SetSelectionMode(TSelectionMode mode);
  // Stream selection: 0-based start and length, clipped to the text.
  int SelStart() const { return m_selStart; }
  void SetSelStart(int start);    // keeps the length (clipped)
  int SelLength() const { return m_selLength; }
  void SetSelLength(int length);  // keeps the start
  void SetSelection(int start, int length);
  // Column block (meaningful in smColumn). Setting it switches to smColumn.
  TBlockRect BlockRect() const { return m_block; }
  void SetBlockRect(const TBlockRect& rect);
  bool HaveSelection() const;
  // The selected text; a column block yields each line's part followed by CR LF.
  std::string SelText() const;
  void SelectAll();
  // Deletes the selection (when it may be modified) and empties it; the
  // caret goes to its start. A column block is deleted from its last line up.
  void ClearSelection();

  // ---- Editing ----
  // Empties the text, tells the view (Cleared), ClearUndo, caret to (0, 0).
  void Clear();
  // Types or inserts s at the caret (replacing a selection with
  // soOverwriteBlocks); pads with spaces when the caret stands beyond the end
  // of its line. One insertion record; caret after the text.
  void InsertText(std::string_view text);
  // n > 0 deletes forward, n < 0 backward; a CR LF pair is removed whole.
  void DeleteText(int count);
  // Replaces `count` characters at `offset` by s as one record; the caret
  // does not move. Returns false when the span may not be written.
  bool ReplaceText(int offset, int count, std::string_view text);
  // Replaces every tab in [offset, offset + count) by spaces up to the next
  // tab stop, from the end towards the start, each as a ReplaceText. Returns
  // the span's new length.
  int ConvertTabs(int offset, int count);

  // ---- Clipboard ----
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  bool CanPaste() const;

  // ---- Undo ----
  bool CanUndo() const { return m_lines.CanUndo(); }
  bool CanRedo() const { return m_lines.CanRedo(); }
  void Undo();
  void Redo();
  // Whether the change being reported comes from Undo or Redo: handlers that
  // edit in reply to a change (a typed name turned into a constant) keep out
  // of the way of taking an edit back.
  bool UndoingOrRedoing() const { return m_undoingOrRedoing; }
  void ClearUndo() { m_lines.ClearUndo(); }
  bool Modified() const { return m_lines.Modified(); }
  void SetModified(bool modified) { m_lines.SetModified(modified); }

  // ---- Read-only places ----
  bool IsReadOnlyAt(int offset) const;
  // Whether either end of [offset, offset + count) may not be written.
  bool IsReadOnlySpan(int offset, int count) const;
  // Whether the current selection (or, without one, the caret position) may be written.
  bool SelectionWritable() const;

private:
  void NotifySelectionChanged();
  // The selection and the caret follow a change (first of all listeners).
  void AdjustToChange(int pos, int count);
  // OnTextChanged, OnChange (after all other listeners).
  void RaiseTextChanged(int pos, int count, int lineChange);
  void ClampCaret();
  // Inserts at the caret with padding; returns the insertion offset and
  // length through the pointers. False when nothing was inserted.
  bool InsertAtCaret(std::string_view text, int* insertedAt, int* insertedLength);
  void DeleteSpan(int start, int count, bool backward);
  void PasteColumn(const std::string& text);

  TSyntMemoStrings m_lines;
  TSubscription m_positionsSubscription;
  TSubscription m_eventsSubscription;
  TTabList m_tabList;
  TColumnLayout m_layout{m_lines, m_tabList};
  TMemoEditorHooks m_hooks;
  TMemoryClipboard m_ownClipboard;
  TClipboard* m_clipboard;
  TSyntaxMemoOptions m_options = kDefaultSyntaxMemoOptions;
  TTabMode m_tabMode = tmSpaces;
  bool m_readOnly = false;
  bool m_undoingOrRedoing = false;
  bool m_replaceMode = false;
  int m_updateDepth = 0;
  TPoint m_caret;
  int m_selStart = 0;
  int m_selLength = 0;
  TSelectionMode m_selectionMode = smNormal;
  TBlockRect m_block;
};

// Keeps an edit bracket of the editor open for its lifetime.
class TUpdateGuard {
public:
  explicit TUpdateGuard(TMemoEditor& editor) : m_editor(editor) { m_editor.BeginUpdate(); }
  ~TUpdateGuard() { m_editor.EndUpdate(); }
  TUpdateGuard(const TUpdateGuard&) = delete;
  TUpdateGuard& operator=(const TUpdateGuard&) = delete;

private:
  TMemoEditor& m_editor;
};

}  // namespace penwick

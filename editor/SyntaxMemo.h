// The editor control: a scroll area that shows the text store and turns keys
// and the mouse into the editing operations of its editing core.
#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <QKeySequence>
#include <QTimer>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/ColumnLayout.h"
#include "editor/CommandDispatcher.h"
#include "editor/DefaultStyles.h"
#include "editor/EcCaretShape.h"
#include "editor/FoldCommands.h"
#include "editor/FoldState.h"
#include "editor/HintProps.h"
#include "editor/IncrementalSearch.h"
#include "editor/KeyMap.h"
#include "editor/MemoEditor.h"
#include "editor/SearchMarks.h"
#include "editor/TextMeasure.h"
#include "editor/ViewNavigator.h"
#include "editor/ViewRows.h"
#include "editor/WrapLayout.h"
#include "platform/ListenerList.h"
#include "syntax/CanvasState.h"

namespace penwick {

class TClientSyntAnalyzer;
class TCodePage;
class TMemoSearchControl;
class TMemoTextSource;
class TQtAnalysisScheduler;
class TQtClipboard;
class TQtIncSearchInput;
class TQtKeyInput;
class TQtTextMouse;
class TEditorCommands;
class TQtGutter;
class TQtHintWindow;
class TQtLineNumbers;
class TQtTextRenderer;
class TQtViewHints;
class TSearchControl;
class TSyntAnalyzer;
class TStyledRuns;

// The widget holds its parts and coordinates them: the editing core
// (TMemoEditor: text store, caret, selection, undo, clipboard), the column
// layout of its lines, the analysis of its text and the styled-runs lookup
// painting reads. The editing operations are the core's; the widget passes
// the ones the rest of the program uses straight on.
//
// Text reaches Qt only here, through the code page (Windows-1252 by default).
// The view is laid out in fixed-width character cells of the editor font, in
// visual rows (TViewRows over the wrap layout and the folds): the viewport
// shows the gutter (TQtGutter) at its left, then TextMargin pixels, then the
// text (TQtTextRenderer), which paints only the rows in the window. Qt
// widgets paint into a back buffer, so the view is double-buffered as is.
//
// Highlighting: bound to a lexer definition, the widget owns one analysis of
// its text, which hears every change of the store through its text source and
// runs in idle time through a Qt scheduler. Painting first asks the analysis
// up to the end of the visible lines within a small time budget
// (AnalyzeForPaint), then draws the styled runs and the marks (see
// TQtTextRenderer).
//
// Input: keys go through the key map to the command dispatcher, the mouse in
// the text through TQtTextMouse; movement commands ask the view's navigator.
class TSyntaxMemo : public QAbstractScrollArea {
  Q_OBJECT
public:
  explicit TSyntaxMemo(QWidget* parent = nullptr);
  ~TSyntaxMemo() override;

  // ---- Parts ----
  TMemoEditor& Core() { return m_core; }
  const TMemoEditor& Core() const { return m_core; }
  const TColumnLayout& Layout() const { return m_layout; }

  // ---- Editing operations of the core ----
  TSyntMemoStrings& Lines() { return m_core.Lines(); }
  const TSyntMemoStrings& Lines() const { return m_core.Lines(); }
  void Clear() { m_core.Clear(); }
  void CopyToClipboard() { m_core.CopyToClipboard(); }
  void CutToClipboard() { m_core.CutToClipboard(); }
  void PasteFromClipboard() { m_core.PasteFromClipboard(); }
  bool CanPaste() const { return m_core.CanPaste(); }
  TClipboard& Clipboard() { return m_core.Clipboard(); }
  void SelectAll() { m_core.SelectAll(); }
  void ClearSelection() { m_core.ClearSelection(); }
  bool HaveSelection() const { return m_core.HaveSelection(); }
  std::string SelText() const { return m_core.SelText(); }
  bool CanUndo() const { return m_core.CanUndo(); }
  bool CanRedo() const { return m_core.CanRedo(); }
  void Undo() { m_core.Undo(); }
  void Redo() { m_core.Redo(); }
  void ClearUndo() { m_core.ClearUndo(); }
  bool Modified() const { return m_core.Modified(); }
  void SetModified(bool modified) { m_core.SetModified(modified); }
  TPoint CaretPos() const { return m_core.CaretPos(); }
  void SetCaretPos(TPoint pos) { m_core.SetCaretPos(pos); }
  void SetCaretPos(int x, int y) { m_core.SetCaretPos(x, y); }
  int CaretStrPos() const { return m_core.CaretStrPos(); }
  void SetCaretStrPos(int offset) { m_core.SetCaretStrPos(offset); }
  int SelStart() const { return m_core.SelStart(); }
  int SelLength() const { return m_core.SelLength(); }
  void SetSelStart(int start) { m_core.SetSelStart(start); }
  void SetSelLength(int length) { m_core.SetSelLength(length); }
  void SetSelection(int start, int length) { m_core.SetSelection(start, length); }
  TSelectionMode SelectionMode() const { return m_core.SelectionMode(); }
  TBlockRect BlockRect() const { return m_core.BlockRect(); }
  void InsertText(std::string_view text) { m_core.InsertText(text); }
  void DeleteText(int count) { m_core.DeleteText(count); }
  bool ReplaceText(int offset, int count, std::string_view text) { return m_core.ReplaceText(offset, count, text); }
  void BeginUpdate() { m_core.BeginUpdate(); }
  void EndUpdate() { m_core.EndUpdate(); }
  int CaretPosToStrPos(int x, int y) const { return m_core.CaretPosToStrPos(x, y); }
  int CaretPosToStrPos(TPoint pos) const { return m_core.CaretPosToStrPos(pos); }
  TPoint StrPosToCaretPos(int offset) const { return m_core.StrPosToCaretPos(offset); }
  TSyntaxMemoOptions Options() const { return m_core.Options(); }
  // Takes effect at once: scroll range, hidden selection and dynamic highlighting.
  void SetOptions(TSyntaxMemoOptions options);
  bool ReadOnly() const { return m_core.ReadOnly(); }
  void SetReadOnly(bool readOnly) { m_core.SetReadOnly(readOnly); }
  // Changing the stops through TabList() shows at the next repaint;
  // SetTabListAsString re-lays out and repaints at once.
  TTabList& TabList() { return m_core.TabList(); }
  void SetTabListAsString(std::string_view stops);
  TTabMode TabMode() const { return m_core.TabMode(); }
  int UndoLimit() const { return m_core.UndoLimit(); }
  void SetUndoLimit(int limit) { m_core.SetUndoLimit(limit); }

  // Overwrite mode (the Ins key); the caret takes the overwrite shape inside the text.
  bool ReplaceMode() const { return m_core.ReplaceMode(); }
  void SetReplaceMode(bool replace);

  // ---- Keyboard, commands and the mouse in the text ----
  // Every key press first raises OnKeyDown with its stroke (a handler sets
  // the stroke's Key to 0 to take the key), then goes through the key map to
  // the command dispatcher. Commands of other parts (search, completion)
  // register with the dispatcher; ExecuteCommand runs one as a key would.
  TCommandDispatcher& Commands() { return m_dispatcher; }
  TKeyMap& KeyMap();
  TEditorCommands& EditorCommands() { return *m_commands; }
  bool ExecuteCommand(int command, char data = 0);
  std::function<void(TKeyStroke& key)> OnKeyDown;
  // Raised by every mouse press in the editor before it is handled (an
  // incremental search ends, a hint closes).
  std::function<void()> OnMousePress;
  // The keys the main window takes first: no editor command runs for them,
  // even while the window's action is disabled; the Delete key excepted.
  void SetWindowShortcutTest(std::function<bool(const QKeySequence&)> test);

  // ---- Searching ----
  // What the find and replace components search through; lives as long as
  // the widget.
  TSearchControl& SearchControl();

  // ---- Incremental search ----
  // Takes the focus and starts an incremental search at the caret (state 1).
  void StartIncSearch();
  bool IncSearchActive() const { return m_incSearch.Active(); }
  // The characters found so far, in the text's code page.
  std::string IncSearchString() const { return m_incSearch.SearchString(); }
  // Changing either option ends an active search, except inside the
  // handler of state 1, where the values apply to the starting search.
  bool IncSearchBack() const { return m_incSearch.Back(); }
  void SetIncSearchBack(bool back) { m_incSearch.SetBack(back); }
  bool IncSearchIgnoreCase() const { return m_incSearch.IgnoreCase(); }
  void SetIncSearchIgnoreCase(bool ignoreCase) { m_incSearch.SetIgnoreCase(ignoreCase); }
  // States: 1 started, 2 search string changed, 0 stopped.
  std::function<void(int state)> OnIncSearchChange;

  // ---- View ----
  // Wraps lines at the window's edge: the wrap width is the client width
  // minus the gutter, the text margin and a right margin of one cell, and the
  // horizontal scroll position stays 0.
  bool WordWrap() const { return m_wrap.WordWrap(); }
  void SetWordWrap(bool on);
  // Pixels between the gutter and the text.
  int TextMargin() const { return m_textMargin; }
  void SetTextMargin(int pixels);
  TQtGutter& Gutter() { return *m_gutter; }
  TQtLineNumbers& LineNumbers();
  TDefaultStyles& DefaultStyles() { return m_defaultStyles; }
  const TDefaultStyles& DefaultStyles() const { return m_defaultStyles; }
  THintProps& HintProps() { return m_hintProps; }
  // The caret's shapes; changes show at the next repaint.
  TCaretShapes& Caret() { return m_caretShapes; }
  const TCaretShapes& Caret() const { return m_caretShapes; }
  // The spans a search marked; the view repaints when they change.
  TSearchMarks& SearchMarks() { return m_searchMarks; }
  const TSearchMarks& SearchMarks() const { return m_searchMarks; }
  // The view model: rows over wrap and folds, and the navigator key commands ask.
  TViewRows& Rows() { return m_rows; }
  const TViewRows& Rows() const { return m_rows; }
  TFoldState& Folds() { return m_folds; }
  TViewNavigator& Navigator() { return m_navigator; }
  // Folds or unfolds the range starting on `line` (the gutter button);
  // `nested`: also the ranges inside it. Unfolds the fold shown on a line.
  void ToggleFold(int line, bool nested);
  void UnfoldLine(int line);
  // Unfolds every fold, nested ones included, that hides part of [startPos, endPos).
  void UnfoldSpan(int startPos, int endPos);
  // The caret as drawn, in viewport pixels; empty when none is shown.
  QRect CaretRect() const;
  // The hint window (scroll hint, hidden lines of a folded range).
  const TQtHintWindow& HintWindow() const;
  // Painting's wait for the analysis: analyses up to `endOffset` (the end of
  // the last visible line) within kPaintAnalysisBudgetMs. When the budget runs
  // out first, the rest is drawn in the default style and the view repaints
  // once the idle analysis gets past `endOffset`.
  void AnalyzeForPaint(int endOffset);
  // 50 ms: the analysis tokenises some 50 MB/s, so scripts of a few MB are
  // analysed to their end well inside it, and a paint that does run out
  // still answers within about three frames. Only a jump far into a much
  // larger script (Ctrl+End after opening) shows unhighlighted lines first.
  static constexpr int kPaintAnalysisBudgetMs = 50;
  // Left edge of the text in viewport pixels: gutter width plus text margin.
  int TextLeft() const;

  // The editor font; non-fixed fonts are drawn in cells of the width of "x".
  void SetEditorFont(const QFont& font);
  const QFont& EditorFont() const { return m_font; }
  // Background of the text area and the text colour used where no style says otherwise.
  QColor Color() const { return m_color; }
  void SetColor(const QColor& color);
  QColor FontColor() const { return m_fontColor; }
  void SetFontColor(const QColor& color);

  // The first visual row shown, and the line it belongs to.
  int TopRow() const { return m_navigator.TopRow(); }
  void SetTopRow(int row);
  int TopLine() const;
  void SetTopLine(int line);
  // Number of whole rows that fit the text area (at least 1).
  int VisibleLineCount() const;
  int LineHeight() const { return m_lineHeight; }
  int CharWidth() const { return m_charWidth; }
  // Pixels from a row's top to the text's base line.
  int Ascent() const { return m_ascent; }
  // The code page the text is shown and typed in.
  const TCodePage& CodePage() const { return m_codePage; }
  // Whether the blinking caret is in its visible phase.
  bool CaretBlinkOn() const { return m_caretBlinkOn; }

  // Caret position (column may lie beyond the line's end) under a point of
  // the viewport, through wrapped rows and folds; rows beyond the text give
  // the last row.
  TPoint PointToCaretPos(QPoint point) const;
  // Top-left of the caret cell in viewport coordinates (on its sub-line).
  QPoint CaretPosToPoint(TPoint pos) const;

  // Scrolls so that the caret is inside the visible area.
  void EnsureCaretVisible();

  // ---- Highlighting ----
  // The lexer definition the text is drawn with, or nullptr (plain text).
  // Binding creates a fresh analysis of the text (the old one is dropped);
  // binding the same definition again changes nothing. The definition may be
  // destroyed while bound: the text is then drawn plain and this reads nullptr.
  TSyntAnalyzer* SyntaxAnalyzer() const;
  void SetSyntaxAnalyzer(TSyntAnalyzer* analyzer);
  // The analysis of this text while bound, else nullptr.
  TClientSyntAnalyzer* SyntClient() const { return m_syntClient.get(); }
  // Told about exceptions of the analysis (block rules, idle runs, painting);
  // by default they are logged as warnings. The analysis goes on.
  std::function<void(const std::exception&)> OnAnalysisError;
  // Tells OnAnalysisError, or logs a warning when nobody listens.
  void ReportAnalysisError(const std::exception& error);

  // The drawing state of the character at 0-based `offset` before the
  // selection is laid over it. Analyses up to the offset.
  TCanvasState CanvasStateAt(int offset);
  // The state text starts from: the editor's font and font colour, no background.
  TCanvasState BaseCanvasState() const;

signals:
  void ModifiedChanged();
  void TextChanged();
  void CaretPosChanged();

protected:

  // ---- Qt events ----
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  bool focusNextPrevChild(bool next) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  bool event(QEvent* event) override;

private:
  // ---- What the parts tell the widget ----
  void UpdateView();
  void CaretMoved();
  // Once an operation is over, the caret never stands where no text is shown.
  void KeepCaretOutOfFolds();
  void TextChangedInStore(int pos, int count);

  // Wrap width, page rows and scroll range after a change of size or look;
  // `topLine` (default: the one at the top now) stays the top line.
  void Relayout(int topLine = -1);
  void RestartCaretBlink();
  // The view's part of mouse events: a press (or double click) on the
  // gutter or a collapse mark is the view's (true); moves feed the hints.
  bool ViewMousePress(QMouseEvent* event, bool doubleClick);
  void ViewMouseMove(QMouseEvent* event);
  void CreateHints();
  void UpdateScrollBars();
  void RecountLongestLine();
  // Keys of a running incremental search; true when taken.
  bool HandleIncSearchKey(QKeyEvent* event);

  TMemoEditor m_core;
  TColumnLayout m_layout;
  const TCodePage& m_codePage;
  std::unique_ptr<TQtClipboard> m_systemClipboard;
  // Declared before the analysis: it is destroyed after it.
  std::unique_ptr<TMemoTextSource> m_textSource;
  std::unique_ptr<TQtAnalysisScheduler> m_scheduler;
  std::unique_ptr<TClientSyntAnalyzer> m_syntClient;
  TSubscription m_storeContent;
  TSubscription m_storeEvents;
  // The view model; declared in the order they must hear the store.
  TFixedTextMeasure m_measure;
  TFoldState m_folds;
  TWrapLayout m_wrap;
  TViewRows m_rows;
  TViewNavigator m_navigator;
  TFoldCommands m_foldCommands;
  TSearchMarks m_searchMarks;
  TDefaultStyles m_defaultStyles;
  THintProps m_hintProps;
  TCaretShapes m_caretShapes;
  std::unique_ptr<TQtGutter> m_gutter;
  std::unique_ptr<TQtTextRenderer> m_renderer;
  TQtViewHints* m_hints = nullptr;  // owned by Qt
  QTimer m_caretBlink;
  bool m_caretBlinkOn = true;
  std::vector<int> m_tabStopsLaidOut;
  QFont m_font;
  QColor m_color;
  QColor m_fontColor;
  int m_lineHeight = 13;
  int m_charWidth = 8;
  int m_ascent = 10;
  int m_textMargin = 2;
  int m_longestLine = 0;   // visual columns of the longest line seen
  // ---- Incremental search ----
  TIncrementalSearch m_incSearch{m_core.Lines()};
  TQtIncSearchInput* m_incSearchInput = nullptr;  // a child QObject
  // Input: the commands work through the navigator and run from the key map
  // and the context menu through the dispatcher.
  std::unique_ptr<TEditorCommands> m_commands;
  TCommandDispatcher m_dispatcher;
  std::unique_ptr<TQtKeyInput> m_keyInput;
  std::unique_ptr<TQtTextMouse> m_textMouse;
  // Refers to the parts above: declared last, and reset first on destruction.
  std::unique_ptr<TMemoSearchControl> m_searchControl;
};

}  // namespace penwick

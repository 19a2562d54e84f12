// The editor control: a scroll area that shows the text store and turns keys
// and the mouse into the editing operations of TMemoEditor.
#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <QPalette>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include "editor/MemoEditor.h"
#include "syntax/CanvasState.h"

namespace penwick {

class TClientSyntAnalyzer;
class TCodePage;
class TMemoTextSource;
class TQtAnalysisScheduler;
class TQtClipboard;
class TSyntAnalyzer;
class TSyntaxFormat;

// Text reaches Qt only here, through the code page (Windows-1252 by default).
// Painting touches only the visible lines, so the cost of a repaint does not
// grow with the length of the text. The view is laid out in fixed-width
// character cells: a line's x position is its visual column (tabs advance to
// the next stop of TabList) times the character width. The gutter, wrapping,
// folding and highlighting attach to the virtual layout and drawing steps
// (TextLeft, PaintLine, VisualLineCount...) below.
//
// Highlighting: bound to a lexer definition, the widget owns one analysis of
// its text, fed with every change of the store and run in idle time through
// a Qt scheduler. Painting first analyses up to the end of the visible lines,
// then draws each token in its style: the editor's font and colours, the
// lexer's default style, then the token's style, each laid over the previous
// one; the selection is drawn over all of them in the highlight colours.
class TSyntaxMemo : public QAbstractScrollArea, public TMemoEditor {
  Q_OBJECT
public:
  explicit TSyntaxMemo(QWidget* parent = nullptr);
  ~TSyntaxMemo() override;

  // The editor font; non-fixed fonts are drawn in cells of the width of "x".
  void SetEditorFont(const QFont& font);
  const QFont& EditorFont() const { return m_font; }
  // Background of the text area and the text colour used where no style says otherwise.
  QColor Color() const { return m_color; }
  void SetColor(const QColor& color);
  QColor FontColor() const { return m_fontColor; }
  void SetFontColor(const QColor& color);

  // Index of the first line shown at the top.
  int TopLine() const;
  void SetTopLine(int line);
  // Number of whole lines that fit the text area (at least 1).
  int VisibleLineCount() const;
  int LineHeight() const { return m_lineHeight; }
  int CharWidth() const { return m_charWidth; }

  // Caret position (column may lie beyond the line's end) under a point of
  // the viewport; lines beyond the text give the last line.
  TPoint PointToCaretPos(QPoint point) const;
  // Top-left of the caret cell in viewport coordinates.
  QPoint CaretPosToPoint(TPoint pos) const;
  // Visual column (tabs expanded) of character column `x` of `line`;
  // beyond the line's end each column counts one cell.
  int VisualColumn(int line, int x) const;
  // The character column of `line` whose cell contains visual column `column`.
  int ColumnFromVisual(int line, int column) const;

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

  // The drawing state of the character at 0-based `offset` before the
  // selection is laid over it: editor font and colours, the lexer's default
  // style, the style of the token there. Analyses up to the offset.
  TCanvasState CanvasStateAt(int offset);
  // The state text starts from: the editor's font and font colour, no background.
  TCanvasState BaseCanvasState() const;
  // A colour of a drawing state on screen: red in the lowest byte; a top byte
  // of 0xFF names a system colour, taken from `palette`; clNone and
  // clDefault give `fallback`.
  static QColor CanvasColor(std::uint32_t color, const QPalette& palette, const QColor& fallback);
  // The 32-bit value (red lowest) of a screen colour.
  static std::uint32_t ColorValue(const QColor& color);

signals:
  void ModifiedChanged();
  void TextChanged();
  void CaretPosChanged();

protected:
  // ---- Layout and drawing steps ----
  // Left edge of the text in viewport pixels (gutter and margin come here).
  virtual int TextLeft() const { return m_textMargin; }
  virtual void PaintLine(QPainter& painter, int line, int y);
  virtual void PaintCaret(QPainter& painter);

  // ---- TMemoEditor view hooks ----
  void UpdateView() override;
  void CaretMoved() override;
  void SelectionChanged() override;
  void TextChangedHook(int pos, int count, int lineChange) override;
  void ClearHook() override;

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
  void scrollContentsBy(int dx, int dy) override;
  bool focusNextPrevChild(bool next) override;

private:
  // Moves the caret; with `extend` the selection runs from its anchor (the
  // end away from the caret, or the caret itself) to the new place,
  // otherwise the selection is emptied.
  void MoveCaret(TPoint pos, bool extend);
  bool HandleCommandKey(QKeyEvent* event);
  void TypeText(const QString& text);
  void DeleteLine();
  TPoint WordLeft(TPoint from) const;
  TPoint WordRight(TPoint from) const;
  void UpdateScrollBars();
  void RecountLongestLine();
  // The line as drawn (tabs expanded, control characters as symbols) and,
  // for each character and its end, the visual column where it starts.
  QString DisplayText(int line, std::vector<int>& columns) const;
  // A run of a line drawn in one state: visual columns [From, To).
  struct TStyledRun {
    int From = 0;
    int To = 0;
    TCanvasState State;
  };
  std::vector<TStyledRun> LineRuns(int line, const std::vector<int>& columns);
  // The editor's font with the state's font attributes.
  QFont CanvasFont(const TCanvasState& state) const;
  void ReportAnalysisError(const std::exception& error);

  const TCodePage& m_codePage;
  std::unique_ptr<TQtClipboard> m_systemClipboard;
  // Declared before the analysis: it is destroyed after it.
  std::unique_ptr<TMemoTextSource> m_textSource;
  std::unique_ptr<TQtAnalysisScheduler> m_scheduler;
  std::unique_ptr<TClientSyntAnalyzer> m_syntClient;
  std::vector<const TSyntaxFormat*> m_styles;  // scratch list for the style lookup
  QFont m_font;
  QColor m_color;
  QColor m_fontColor;
  int m_lineHeight = 13;
  int m_charWidth = 8;
  int m_ascent = 10;
  int m_textMargin = 6;
  int m_longestLine = 0;   // visual columns of the longest line seen
  bool m_mouseSelecting = false;
};

}  // namespace penwick

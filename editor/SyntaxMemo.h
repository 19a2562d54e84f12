// The editor control: a scroll area that shows the text store and turns keys
// and the mouse into the editing operations of TMemoEditor.
#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <memory>

#include "editor/MemoEditor.h"

namespace penwick {

class TCodePage;
class TQtClipboard;

// Text reaches Qt only here, through the code page (Windows-1252 by default).
// Painting touches only the visible lines, so the cost of a repaint does not
// grow with the length of the text. The view is laid out in fixed-width
// character cells: a line's x position is its visual column (tabs advance to
// the next stop of TabList) times the character width. The gutter, wrapping,
// folding and highlighting attach to the virtual layout and drawing steps
// (TextLeft, PaintLine, VisualLineCount...) below.
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
  QString DisplayText(int line) const;

  const TCodePage& m_codePage;
  std::unique_ptr<TQtClipboard> m_systemClipboard;
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

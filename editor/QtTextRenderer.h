// Painting the editor's text area: the visible rows in their styles, the marks, the selection, folds and the caret.
#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <QSize>
#include <vector>

#include "editor/VisibleLine.h"
#include "syntax/CanvasState.h"

class QPainter;

namespace penwick {

class TStyledRuns;
class TSyntaxFormat;
class TSyntaxMemo;
struct TFoldRange;

// A part of the editor that reads the widget's state and paints. Only what
// is visible is touched: the lines with a row in the window, and for each
// one pass of the styled-runs lookup over its shown text (one lookup per
// paint). A character's look is built in layers, each laid over the last
// by the style rule: the editor's font and colour, the lexer's default
// style, token and range styles (with the lexer's dynamic highlighting
// unless soHideDynamic hides it without focus), the current-line style on the
// caret's line (the lexer's, else DefaultStyles.CurrentLine), the search
// marks (the lexer's search-match style, else DefaultStyles.SearchMark), and
// over all the selection (DefaultStyles.SelectioMark; not drawn without
// focus under soHideSelection). The first line of a folded range is drawn up
// to the fold's start, followed by its collapse mark: a box in
// DefaultStyles.CollapseMark around the collapse text.
//
// On the caret line the current-line style lies over the dynamic
// highlighting too (the lookup hands both in one style list).
class TQtTextRenderer {
public:
  explicit TQtTextRenderer(TSyntaxMemo& memo) : m_memo(memo) {}

  // Lines with a row inside the viewport, top to bottom.
  std::vector<TVisibleLine> VisibleLines() const;
  // Paints the text area (right of the gutter) for the lines given.
  void Paint(QPainter& painter, const QRect& dirty, const std::vector<TVisibleLine>& lines);
  // The caret as drawn, in viewport pixels (its shape, bottom-aligned in its
  // row); empty when no caret is shown (no focus, a read-only editor).
  // PaintCaret leaves it out while it is blinked off.
  QRect CaretRect() const;
  void PaintCaret(QPainter& painter) const;

  // The collapse mark's box on a visible line that starts a fold (empty otherwise).
  QRect CollapseMarkRect(const TVisibleLine& line) const;
  // The line whose collapse mark lies under a viewport point, or -1.
  int CollapseMarkLineAt(const std::vector<TVisibleLine>& lines, QPoint point) const;

  // The lines hidden by a fold, from its second line on, at most `maxLines`,
  // unwrapped, as the hint shows them: their size and painting (from 0, 0).
  QSize HiddenLinesSize(const TFoldRange& fold, int maxLines) const;
  void PaintHiddenLines(QPainter& painter, const TFoldRange& fold, int maxLines) const;

  // The editor font with a drawing state's font attributes.
  QFont CanvasFont(const TCanvasState& state) const;

private:
  struct TLineMarks;
  void PaintLine(QPainter& painter, TStyledRuns& lookup, const TVisibleLine& line, const QRect& dirty);
  // Draws characters [from, to) of `line` whose first character's cell
  // starts at pixel x0 + cells[from] * width, split where runs, marks and the
  // selection change.
  void PaintPieces(QPainter& painter, TStyledRuns& lookup, int line, int from, int to, int x0, int y,
                   const TLineMarks& marks) const;
  void PaintCollapseMark(QPainter& painter, const TFoldRange& fold, QRect box) const;
  // The line as drawn (tabs as spaces, control characters as symbols), one
  // character per cell, and through `cells` where each character starts.
  QString DisplayText(int line, std::vector<int>& cells) const;
  const TSyntaxFormat* SearchMarkStyle() const;
  const TSyntaxFormat* CurrentLineStyle() const;

  TSyntaxMemo& m_memo;
};

}  // namespace penwick

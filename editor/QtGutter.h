// The editor's gutter: line numbers, folding buttons and folding lines, and folding by mouse.
#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <functional>
#include <vector>

#include "editor/QtLineNumbers.h"
#include "editor/VisibleLine.h"

class QPainter;

namespace penwick {

class TParserResults;

// What the gutter asks of the editor about folding; the editor answers from
// its analysis and its folded ranges.
struct TGutterFolding {
  // LineFoldState of the analysis (0 a range starts, -1 ends, -2 inside,
  // -3 none); -3 without an analysis.
  std::function<int(int line)> FoldState;
  // Folds or unfolds the range starting on `line`; with `nested` also every
  // range inside it (folding) or everything inside it (unfolding).
  std::function<void(int line, bool nested)> ToggleFold;
};

// The gutter occupies the left `Width` pixels of the viewport, filled with
// Color. Per visible line: the number (LineNumbers), then the folding marks
// at the right edge: a button (the left image of ExpandButtons for an
// expanded range, the right one for a folded range) on a line where a
// range starts, a vertical line through the buttons' centre on lines inside
// an expanded range and a corner on its last line (ShowCollapseLine).
// The button bitmap holds two images side by side; its bottom-left pixel's
// colour is transparent. Without a bitmap the signs "-" and "+" are written.
// Every setter tells OnChanged.
class TQtGutter {
public:
  TQtGutter();

  int Width() const { return m_width; }
  void SetWidth(int width);
  const QColor& Color() const { return m_color; }
  void SetColor(const QColor& color);
  bool ShowSeparator() const { return m_showSeparator; }
  void SetShowSeparator(bool show);
  const QColor& CollapsePen() const { return m_collapsePen; }
  void SetCollapsePen(const QColor& color);
  bool ShowCollapseLine() const { return m_showCollapseLine; }
  void SetShowCollapseLine(bool show);
  const QImage& ExpandButtons() const { return m_buttons; }
  void SetExpandButtons(const QImage& bitmap);
  // The 18 by 10 bitmap of the two buttons: each a 9 by 9 black frame, white
  // inside, a black sign 5 pixels long, over a transparent bottom row.
  static QImage DefaultExpandButtons();

  TQtLineNumbers& LineNumbers() { return m_lineNumbers; }
  const TQtLineNumbers& LineNumbers() const { return m_lineNumbers; }

  void SetFolding(TGutterFolding folding) { m_folding = std::move(folding); }

  // Paints the gutter for `lines` (top to bottom) into a viewport of `height`.
  void Paint(QPainter& painter, const std::vector<TVisibleLine>& lines, int height) const;
  // The button rectangle of a line (whether or not it carries one).
  QRect ButtonRect(const TVisibleLine& line) const;
  // The line whose button lies under `point`, or -1.
  int ButtonLineAt(const std::vector<TVisibleLine>& lines, QPoint point) const;
  // A left press at `point`: a press inside the gutter is the gutter's
  // (true); on a button it folds or unfolds (`ctrl`: nested ranges too).
  bool MousePress(const std::vector<TVisibleLine>& lines, QPoint point, bool ctrl);

  std::function<void()> OnChanged;

private:
  void Changed();
  void PaintNumber(QPainter& painter, const TVisibleLine& line, bool hasButton) const;
  // `insideAbove`: the line above lies inside an expanded range, whose line
  // continues down to this line's button.
  void PaintFoldMarks(QPainter& painter, const TVisibleLine& line, int state, bool insideAbove) const;
  QSize ButtonSize() const;

  int m_width = 30;
  QColor m_color;
  bool m_showSeparator = true;
  QColor m_collapsePen;
  bool m_showCollapseLine = true;
  QImage m_buttons;
  QPixmap m_minus;
  QPixmap m_plus;
  TQtLineNumbers m_lineNumbers;
  TGutterFolding m_folding;
};

}  // namespace penwick

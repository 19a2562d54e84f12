// The text area's painting: visible rows, styled pieces, marks, selection, collapse marks and the caret.
#include "editor/QtTextRenderer.h"

#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "editor/QtCanvasColors.h"
#include "editor/QtGutter.h"
#include "editor/StyledRuns.h"
#include "editor/SyntaxMemo.h"
#include "platform/CodePage.h"
#include "syntax/ClientSyntAnalyzer.h"
#include "syntax/SyntAnalyzer.h"
#include "syntax/SyntaxFormat.h"

namespace penwick {

// What lies over the styled runs of one line, in character columns.
struct TQtTextRenderer::TLineMarks {
  QString text;                             // the line as drawn, one character per cell
  std::vector<int> cells;                   // cell of each character, then the end
  std::vector<std::pair<int, int>> search;  // search marks clipped to the line
  int selFrom = 0, selTo = 0;               // selected characters
  int selCellFrom = 0, selCellTo = 0;       // selected cells beyond the text (line break, block)
  const TSyntaxFormat* currentLine = nullptr;
  const TSyntaxFormat* searchStyle = nullptr;
  const TSyntaxFormat* selection = nullptr;
};

std::vector<TVisibleLine> TQtTextRenderer::VisibleLines() const {
  std::vector<TVisibleLine> lines;
  const TViewRows& rows = m_memo.Rows();
  const int lineHeight = rows.LineHeight();
  const int height = m_memo.viewport()->height();
  const int top = m_memo.TopRow();
  const TRowPos first = rows.RowAt(top);
  int line = first.Line;
  int firstRow = top - first.Sub;
  while (line >= 0) {
    const int count = std::max(1, rows.LineRows(line));
    const int y = (firstRow - top) * lineHeight;
    if (y >= height) break;
    lines.push_back(TVisibleLine{line, firstRow, count, y, count * lineHeight, rows.FoldOn(line) != nullptr});
    firstRow += count;
    line = rows.NextVisibleLine(line);
  }
  return lines;
}

QFont TQtTextRenderer::CanvasFont(const TCanvasState& state) const {
  QFont font = m_memo.EditorFont();
  // Fonts of custom-font styles are honoured, but drawn into the editor's cells.
  const QString family = QString::fromStdString(state.FontName);
  if (!family.isEmpty() && family != font.family()) font.setFamily(family);
  // A font sized in pixels has no point size: the base state stands in for it.
  if (state.FontSize > 0 && state.FontSize != m_memo.BaseCanvasState().FontSize) font.setPointSize(state.FontSize);
  font.setBold(state.FontStyle & fsBold);
  font.setItalic(state.FontStyle & fsItalic);
  font.setUnderline(state.FontStyle & fsUnderline);
  font.setStrikeOut(state.FontStyle & fsStrikeOut);
  return font;
}

QString TQtTextRenderer::DisplayText(int line, std::vector<int>& cells) const {
  cells = m_memo.Layout().CellStarts(line);
  const std::string text = line < m_memo.Lines().Count() ? m_memo.Lines().Line(line) : std::string();
  QString display;
  display.reserve(cells.back());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\t') {
      display.append(QString(cells[i + 1] - cells[i], QLatin1Char(' ')));
    } else {
      const char32_t u = m_memo.CodePage().ToUnicode(static_cast<unsigned char>(c));
      display.append(u < 0x20 ? QChar(0x2400 + u) : QChar(static_cast<char16_t>(u)));
    }
  }
  return display;
}

const TSyntaxFormat* TQtTextRenderer::SearchMarkStyle() const {
  const TSyntAnalyzer* lexer = m_memo.SyntaxAnalyzer();
  if (lexer && lexer->SearchMatch()) return lexer->SearchMatch();
  return &m_memo.DefaultStyles().SearchMark;
}

const TSyntaxFormat* TQtTextRenderer::CurrentLineStyle() const {
  const TSyntAnalyzer* lexer = m_memo.SyntaxAnalyzer();
  const TSyntaxFormat* style = lexer && lexer->CurrentLine() ? lexer->CurrentLine() : &m_memo.DefaultStyles().CurrentLine;
  return style->Enabled() ? style : nullptr;
}

void TQtTextRenderer::Paint(QPainter& painter, const QRect& dirty, const std::vector<TVisibleLine>& lines) {
  if (lines.empty()) return;
  const TSyntMemoStrings& store = m_memo.Lines();
  const int last = lines.back().Line;
  if (last < store.Count()) m_memo.AnalyzeForPaint(store.LineStart(last) + store.LineFullLength(last));
  const bool focus = m_memo.hasFocus();
  const bool dynamic = focus || !m_memo.Core().HasOption(soHideDynamic);
  // One lookup for the whole paint: it maps the styled ranges once.
  TStyledRuns lookup(m_memo.SyntClient(), m_memo.BaseCanvasState(), dynamic);
  // The analysis went as far as the paint's budget allowed; the rest is plain.
  lookup.SetAnalyzeOnDemand(false);
  painter.save();
  const int textLeft = m_memo.Gutter().Width();
  painter.setClipRect(QRect(textLeft, 0, std::max(0, m_memo.viewport()->width() - textLeft),
                            m_memo.viewport()->height()));
  for (const TVisibleLine& line : lines) PaintLine(painter, lookup, line, dirty);
  painter.restore();
}

void TQtTextRenderer::PaintLine(QPainter& painter, TStyledRuns& lookup, const TVisibleLine& visible,
                                const QRect& dirty) {
  TSyntaxMemo& memo = m_memo;
  const TViewRows& rows = memo.Rows();
  const int line = visible.Line;
  const int lineHeight = rows.LineHeight();
  const int cellWidth = rows.CellWidth();
  const TSyntMemoStrings& store = memo.Lines();
  const bool inStore = line < store.Count();
  const int lineStart = inStore ? store.LineStart(line) : store.TextLength();
  const int length = inStore ? store.LineLength(line) : 0;
  const int shownEnd = std::min(rows.ShownEnd(line), length);
  const TFoldRange* fold = rows.FoldOn(line);

  TLineMarks marks;
  marks.text = DisplayText(line, marks.cells);
  marks.currentLine = memo.CaretPos().Y == line ? CurrentLineStyle() : nullptr;
  marks.searchStyle = SearchMarkStyle();
  for (const TSearchMark& mark : memo.SearchMarks().Between(lineStart, lineStart + shownEnd))
    marks.search.emplace_back(std::max(mark.Start - lineStart, 0), std::min(mark.End - lineStart, shownEnd));
  const bool showSelection = memo.HaveSelection() && (memo.hasFocus() || !memo.Core().HasOption(soHideSelection));
  if (showSelection) {
    marks.selection = &memo.DefaultStyles().SelectioMark;
    if (memo.SelectionMode() == smColumn) {
      const TBlockRect block = memo.BlockRect();
      if (line >= block.Top && line <= block.Bottom) {
        auto charAtCell = [&](int cell) {
          return int(std::lower_bound(marks.cells.begin(), marks.cells.end() - 1, cell) - marks.cells.begin());
        };
        marks.selFrom = charAtCell(block.Left);
        marks.selTo = charAtCell(block.Right);
        marks.selCellFrom = std::max(block.Left, marks.cells.back());
        marks.selCellTo = block.Right;
      }
    } else {
      const int selEnd = memo.SelStart() + memo.SelLength();
      marks.selFrom = std::clamp(memo.SelStart() - lineStart, 0, length);
      marks.selTo = std::clamp(selEnd - lineStart, 0, length);
      // The line break is selected: one cell after the text.
      if (!fold && memo.SelStart() <= lineStart + length && selEnd > lineStart + length && inStore &&
          store.LineFullLength(line) > length) {
        marks.selCellFrom = marks.cells.back();
        marks.selCellTo = marks.cells.back() + 1;
      }
    }
  }

  const int left = memo.TextLeft() - memo.horizontalScrollBar()->value();
  for (int sub = 0; sub < visible.Rows; ++sub) {
    const int y = visible.Top + sub * lineHeight;
    if (y + lineHeight <= dirty.top() || y > dirty.bottom()) continue;
    const int from = std::min(rows.SubLineStart(line, sub), shownEnd);
    const int to = std::min(std::max(rows.SubLineEnd(line, sub), from), shownEnd);
    const int x0 = left - marks.cells[static_cast<std::size_t>(from)] * cellWidth;
    if (marks.currentLine) {
      TCanvasState state = lookup.StateOf({});
      marks.currentLine->ApplyToCanvas(state, false);
      const QColor background = CanvasColor(state.BgColor, memo.palette(), QColor());
      if (background.isValid())
        painter.fillRect(QRect(memo.Gutter().Width(), y, memo.viewport()->width(), lineHeight), background);
    }
    // Only the characters whose cells reach into the window are drawn (one
    // more on each side for overhanging glyphs): a long line that does not
    // wrap costs what shows of it, not its length.
    const std::vector<int>& cells = marks.cells;
    const int cellLo = (memo.Gutter().Width() - x0) / cellWidth - 1;
    const int cellHi = (memo.viewport()->width() - x0) / cellWidth + 1;
    const auto firstShown = std::upper_bound(cells.begin() + from + 1, cells.begin() + to + 1, cellLo);
    const int drawFrom = std::clamp(int(firstShown - cells.begin()) - 1, from, to);
    const int drawTo = std::clamp(int(std::lower_bound(cells.begin() + drawFrom, cells.begin() + to, cellHi) - cells.begin()),
                                  drawFrom, to);
    PaintPieces(painter, lookup, line, drawFrom, drawTo, x0, y, marks);
    if (sub != visible.Rows - 1) continue;
    if (marks.selCellTo > marks.selCellFrom) {
      TCanvasState state = lookup.StateOf({});
      marks.selection->ApplyToCanvas(state, false);
      painter.fillRect(QRect(x0 + marks.selCellFrom * cellWidth, y, (marks.selCellTo - marks.selCellFrom) * cellWidth,
                             lineHeight),
                       CanvasColor(state.BgColor, memo.palette(), memo.palette().color(QPalette::Highlight)));
    }
    if (fold) PaintCollapseMark(painter, *fold, CollapseMarkRect(visible));
  }
}

void TQtTextRenderer::PaintPieces(QPainter& painter, TStyledRuns& lookup, int line, int from, int to, int x0, int y,
                                  const TLineMarks& marks) const {
  if (to <= from) return;
  const TSyntMemoStrings& store = m_memo.Lines();
  const int lineStart = store.LineStart(line);
  std::vector<TStyledRun> runs;
  try {
    runs = lookup.Runs(lineStart + from, to - from);
  } catch (const std::exception& e) {
    m_memo.ReportAnalysisError(e);
  }
  if (runs.empty()) runs.assign(1, TStyledRun{lineStart + from, lineStart + to, {}, lookup.StateOf({})});
  // Pieces end wherever a run, a search mark or the selection does.
  std::vector<int> cuts{from, to};
  for (const TStyledRun& run : runs) cuts.push_back(run.End - lineStart);
  for (const auto& [a, b] : marks.search) {
    cuts.push_back(a);
    cuts.push_back(b);
  }
  if (marks.selection) {
    cuts.push_back(marks.selFrom);
    cuts.push_back(marks.selTo);
  }
  std::sort(cuts.begin(), cuts.end());
  cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());

  const QString& text = marks.text;
  const std::vector<int>& cells = marks.cells;
  const QPalette& colors = m_memo.palette();
  const int cellWidth = m_memo.Rows().CellWidth();
  const int lineHeight = m_memo.Rows().LineHeight();
  std::size_t run = 0;
  for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
    const int a = cuts[i], b = cuts[i + 1];
    if (a < from || b > to || a >= b) continue;
    while (run + 1 < runs.size() && runs[run].End - lineStart <= a) ++run;
    TCanvasState state = runs[run].State;
    if (marks.currentLine) marks.currentLine->ApplyToCanvas(state, true);
    for (const auto& [ma, mb] : marks.search)
      if (a >= ma && a < mb) marks.searchStyle->ApplyToCanvas(state, true);
    if (marks.selection && a >= marks.selFrom && a < marks.selTo) marks.selection->ApplyToCanvas(state, false);
    const int x = x0 + cells[static_cast<std::size_t>(a)] * cellWidth;
    const int width = (cells[static_cast<std::size_t>(b)] - cells[static_cast<std::size_t>(a)]) * cellWidth;
    const QColor background = CanvasColor(state.BgColor, colors, QColor());
    if (background.isValid()) painter.fillRect(QRect(x, y, width, lineHeight), background);
    painter.setFont(CanvasFont(state));
    painter.setPen(CanvasColor(state.TextColor, colors, m_memo.FontColor()));
    const int cellFrom = cells[static_cast<std::size_t>(a)], cellTo = cells[static_cast<std::size_t>(b)];
    painter.drawText(x, y + m_memo.Ascent(), text.mid(cellFrom, cellTo - cellFrom));
  }
}

QRect TQtTextRenderer::CollapseMarkRect(const TVisibleLine& visible) const {
  const TViewRows& rows = m_memo.Rows();
  const TFoldRange* fold = rows.FoldOn(visible.Line);
  if (!fold) return QRect();
  const int cellWidth = rows.CellWidth();
  const int lineHeight = rows.LineHeight();
  const int cut = rows.ShownEnd(visible.Line);
  const int last = visible.Rows - 1;
  const int lastStart = std::min(rows.SubLineStart(visible.Line, last), cut);
  const int cells = m_memo.Layout().VisualColumn(visible.Line, cut) -
                    m_memo.Layout().VisualColumn(visible.Line, lastStart);
  const int x = m_memo.TextLeft() - m_memo.horizontalScrollBar()->value() + cells * cellWidth;
  return QRect(x, visible.Top + last * lineHeight, fold->MarkCells() * cellWidth, lineHeight);
}

int TQtTextRenderer::CollapseMarkLineAt(const std::vector<TVisibleLine>& lines, QPoint point) const {
  for (const TVisibleLine& line : lines)
    if (line.Folded && CollapseMarkRect(line).contains(point)) return line.Line;
  return -1;
}

void TQtTextRenderer::PaintCollapseMark(QPainter& painter, const TFoldRange& fold, QRect box) const {
  const TSyntaxFormat& style = m_memo.DefaultStyles().CollapseMark;
  TCanvasState state = m_memo.BaseCanvasState();
  style.ApplyToCanvas(state, true);
  const QPalette& colors = m_memo.palette();
  const QColor background = CanvasColor(state.BgColor, colors, QColor());
  const QRect frame = box.adjusted(1, 1, -2, -2);
  if (background.isValid()) painter.fillRect(frame, background);
  painter.setFont(CanvasFont(state));
  painter.setPen(CanvasColor(state.TextColor, colors, m_memo.FontColor()));
  QString text;
  for (char c : fold.MarkText()) text.append(QChar(static_cast<char16_t>(m_memo.CodePage().ToUnicode(static_cast<unsigned char>(c)))));
  painter.drawText(box.left() + m_memo.Rows().CellWidth() / 2, box.top() + m_memo.Ascent(), text);
  auto side = [&](TBorderLineType type, std::uint32_t color, QPoint a, QPoint b) {
    if (type == blNone) return;
    painter.setPen(CanvasColor(color, colors, m_memo.FontColor()));
    painter.drawLine(a, b);
  };
  side(style.BorderTypeLeft, style.BorderColorLeft, frame.topLeft(), frame.bottomLeft());
  side(style.BorderTypeTop, style.BorderColorTop, frame.topLeft(), frame.topRight());
  side(style.BorderTypeRight, style.BorderColorRight, frame.topRight(), frame.bottomRight());
  side(style.BorderTypeBottom, style.BorderColorBottom, frame.bottomLeft(), frame.bottomRight());
}

QRect TQtTextRenderer::CaretRect() const {
  const TSyntaxMemo& memo = m_memo;
  if (!memo.hasFocus() || memo.ReadOnly()) return QRect();
  const TViewRows& rows = memo.Rows();
  const TPoint caret = rows.ShownCaret(memo.CaretPos());
  const TPixelPoint at = rows.CaretToPixel(caret);
  const int cellWidth = rows.CellWidth();
  const int lineHeight = rows.LineHeight();
  const bool insideText = caret.X < rows.ShownEnd(caret.Y) && caret.Y < memo.Lines().Count();
  const TecCaretShape& shape = memo.Core().ReplaceMode() && insideText ? memo.Caret().Overwrite
                                                                         : memo.Caret().Insert;
  const int charWidth = insideText ? (memo.Layout().VisualColumn(caret.Y, caret.X + 1) -
                                      memo.Layout().VisualColumn(caret.Y, caret.X)) * cellWidth
                                   : cellWidth;
  const int width = shape.PixelWidth(charWidth);
  const int height = std::min(shape.PixelHeight(lineHeight), lineHeight);
  const int x = memo.TextLeft() - memo.horizontalScrollBar()->value() + at.X;
  const int y = at.Y - memo.TopRow() * lineHeight;
  return QRect(x, y + lineHeight - height, width, height);
}

void TQtTextRenderer::PaintCaret(QPainter& painter) const {
  const QRect caret = CaretRect();
  if (caret.isEmpty() || !m_memo.CaretBlinkOn()) return;
  painter.save();
  painter.setClipRect(QRect(m_memo.Gutter().Width(), 0, m_memo.viewport()->width(), m_memo.viewport()->height()));
  // Inverts what lies under it, so the character under a block caret stays legible.
  painter.setCompositionMode(QPainter::CompositionMode_Difference);
  painter.fillRect(caret, Qt::white);
  painter.restore();
}

QSize TQtTextRenderer::HiddenLinesSize(const TFoldRange& fold, int maxLines) const {
  const int first = fold.FirstLine + 1;
  const int last = std::min(fold.LastLine(), first + std::max(1, maxLines) - 1);
  int widest = 1;
  for (int line = first; line <= last; ++line) widest = std::max(widest, m_memo.Layout().VisualColumn(line, m_memo.Lines().LineLength(line)));
  const TViewRows& rows = m_memo.Rows();
  return QSize(widest * rows.CellWidth(), (last - first + 1) * rows.LineHeight());
}

void TQtTextRenderer::PaintHiddenLines(QPainter& painter, const TFoldRange& fold, int maxLines) const {
  const int first = fold.FirstLine + 1;
  const int last = std::min(fold.LastLine(), first + std::max(1, maxLines) - 1);
  const QSize size = HiddenLinesSize(fold, maxLines);
  painter.fillRect(QRect(QPoint(0, 0), size), m_memo.Color());
  const TSyntMemoStrings& store = m_memo.Lines();
  if (last < store.Count()) m_memo.AnalyzeForPaint(store.LineStart(last) + store.LineFullLength(last));
  TStyledRuns lookup(m_memo.SyntClient(), m_memo.BaseCanvasState(), true);
  TLineMarks marks;
  const int lineHeight = m_memo.Rows().LineHeight();
  for (int line = first; line <= last && line < store.Count(); ++line) {
    marks.text = DisplayText(line, marks.cells);
    PaintPieces(painter, lookup, line, 0, store.LineLength(line), 0, (line - first) * lineHeight, marks);
  }
}

}  // namespace penwick

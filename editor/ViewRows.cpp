// Visual rows over the wrap layout and the folds; carets to pixels and back.
#include "editor/ViewRows.h"

#include <algorithm>

#include "editor/ColumnLayout.h"
#include "editor/SyntMemoStrings.h"
#include "editor/TabList.h"
#include "editor/TextMeasure.h"

namespace penwick {

TViewRows::TViewRows(TSyntMemoStrings& lines, const TTabList& tabs, const TTextMeasure& measure, TWrapLayout& wrap,
                     TFoldState& folds)
    : m_lines(lines), m_tabs(tabs), m_measure(measure), m_wrap(wrap), m_folds(folds) {
  m_wrap.SetCutProvider([this](int line) {
    if (m_folds.Empty()) return TLineCut{};
    const TFoldRange* fold = m_folds.ShownFoldOn(line);
    if (!fold) return TLineCut{};
    return TLineCut{fold->StartPos - m_lines.LineStart(line), fold->MarkCells()};
  });
  m_folds.OnChanged = [this](int first, int last, bool byEdit) { OnFoldsChanged(first, last, byEdit); };
  // Heard after the wrap layout (subscribed earlier in the same phase): the
  // layout's lines are numbered as the folds' again.
  TStoreListener listener;
  listener.Changed = [this](int, int, int) {
    std::vector<std::pair<int, int>> pending;
    pending.swap(m_pending);
    for (const auto& [first, last] : pending) InvalidateFoldLines(first, last);
  };
  m_subscription = lines.Subscribe(std::move(listener), TStorePhase::Content);
}

TViewRows::~TViewRows() {
  m_folds.OnChanged = nullptr;
  m_wrap.SetCutProvider(nullptr);
}

int TViewRows::LineHeight() const { return std::max(1, m_measure.LineHeight()); }
int TViewRows::CellWidth() const { return std::max(1, m_measure.CellWidth()); }

void TViewRows::OnFoldsChanged(int firstLine, int lastLine, bool byEdit) {
  if (byEdit) {
    if (firstLine >= 0) m_pending.emplace_back(firstLine, lastLine);
    return;  // a whole-text change makes the layout stale anyway
  }
  if (firstLine < 0) {
    m_wrap.InvalidateAll();
    return;
  }
  InvalidateFoldLines(firstLine, lastLine);
}

// The first lines of folds within [firstLine, lastLine] may have gained or
// lost their cut (a fold and those nested in it appear or disappear together).
void TViewRows::InvalidateFoldLines(int firstLine, int lastLine) {
  m_wrap.InvalidateLine(firstLine);
  const std::vector<TFoldRange>& folds = m_folds.Folds();
  auto it = std::lower_bound(folds.begin(), folds.end(), firstLine,
                             [](const TFoldRange& f, int l) { return f.FirstLine < l; });
  for (; it != folds.end() && it->FirstLine <= lastLine; ++it) m_wrap.InvalidateLine(it->FirstLine);
}

void TViewRows::Refresh() const {
  const std::uint64_t wrapGeneration = m_wrap.Generation();
  if (wrapGeneration == m_wrapGeneration && m_folds.Generation() == m_foldGeneration) return;
  const int lineCount = m_wrap.LineCount();
  auto rowAfter = [&](int line) { return line + 1 < lineCount ? m_wrap.FirstRowOf(line + 1) : m_wrap.RowCount(); };
  m_shown.clear();
  int hidden = 0;
  for (const TFoldRange& f : m_folds.ShownFolds()) {
    TShownFold s;
    s.FirstLine = f.FirstLine;
    s.LastLine = std::min(f.LastLine(), lineCount - 1);
    s.HiddenRowsBefore = hidden;
    s.HiddenRows = rowAfter(s.LastLine) - rowAfter(s.FirstLine);
    s.VisibleRow = m_wrap.FirstRowOf(s.FirstLine) - hidden;
    hidden += s.HiddenRows;
    m_shown.push_back(s);
  }
  m_wrapGeneration = m_wrap.Generation();
  m_foldGeneration = m_folds.Generation();
}

size_t TViewRows::ShownIndexFrom(int line) const {
  const auto it = std::lower_bound(m_shown.begin(), m_shown.end(), line,
                                   [](const TShownFold& f, int l) { return f.FirstLine < l; });
  return static_cast<size_t>(it - m_shown.begin());
}

// ---- Rows ----

int TViewRows::RowCount() const {
  Refresh();
  const int hidden = m_shown.empty() ? 0 : m_shown.back().HiddenRowsBefore + m_shown.back().HiddenRows;
  return std::max(1, m_wrap.RowCount() - hidden);
}

int TViewRows::LineRows(int line) const {
  if (m_folds.IsLineHidden(line)) return 0;
  return m_wrap.SubLineCount(line);
}

int TViewRows::FirstRowOf(int line) const {
  Refresh();
  line = std::clamp(line, 0, m_wrap.LineCount() - 1);
  const size_t k = ShownIndexFrom(line);  // shown folds before: 0..k-1
  if (k == 0) return m_wrap.FirstRowOf(line);
  const TShownFold& f = m_shown[k - 1];
  if (line <= f.LastLine) return f.VisibleRow;
  return m_wrap.FirstRowOf(line) - f.HiddenRowsBefore - f.HiddenRows;
}

TRowPos TViewRows::RowAt(int row) const {
  Refresh();
  row = std::clamp(row, 0, RowCount() - 1);
  const auto it = std::upper_bound(m_shown.begin(), m_shown.end(), row,
                                   [](int r, const TShownFold& f) { return r < f.VisibleRow; });
  TRowPos pos;
  if (it == m_shown.begin()) {
    pos.Line = m_wrap.LineOfRow(row, &pos.Sub);
    return pos;
  }
  const TShownFold& f = *(it - 1);
  const int d = row - f.VisibleRow;
  if (d < m_wrap.SubLineCount(f.FirstLine)) return TRowPos{f.FirstLine, d};
  pos.Line = m_wrap.LineOfRow(row + f.HiddenRowsBefore + f.HiddenRows, &pos.Sub);
  return pos;
}

int TViewRows::RowOfCaret(TPoint caret) const {
  const TPoint c = ShownCaret(caret);
  return FirstRowOf(c.Y) + m_wrap.SubLineOf(c.Y, c.X);
}

int TViewRows::NextVisibleLine(int line) const {
  int next = line + 1;
  if (const TFoldRange* f = m_folds.FoldHiding(next)) next = f->LastLine() + 1;
  return next < m_wrap.LineCount() ? next : -1;
}

int TViewRows::PrevVisibleLine(int line) const {
  int prev = line - 1;
  if (const TFoldRange* f = m_folds.FoldHiding(prev)) prev = f->FirstLine;
  return prev >= 0 ? prev : -1;
}

// ---- Shown text ----

int TViewRows::ShownEnd(int line) const {
  const int length = m_lines.LineLength(line);
  if (const TFoldRange* f = m_folds.ShownFoldOn(line)) return std::min(length, f->StartPos - m_lines.LineStart(line));
  return length;
}

// ---- Carets and pixels ----

TPoint TViewRows::ShownCaret(TPoint caret) const {
  TPoint c{std::max(caret.X, 0), std::clamp(caret.Y, 0, m_wrap.LineCount() - 1)};
  if (m_folds.Empty()) return c;
  if (const TFoldRange* f = m_folds.FoldHiding(c.Y)) return TPoint{ShownEnd(f->FirstLine), f->FirstLine};
  if (m_folds.ShownFoldOn(c.Y)) c.X = std::min(c.X, ShownEnd(c.Y));
  return c;
}

int TViewRows::VisualColumn(const std::vector<int>& cells, int x) const {
  const int length = static_cast<int>(cells.size()) - 1;
  return x <= length ? cells[static_cast<size_t>(x)] : cells.back() + (x - length);
}

TPixelPoint TViewRows::CaretToPixel(TPoint caret) const {
  const TPoint c = ShownCaret(caret);
  const int sub = m_wrap.SubLineOf(c.Y, c.X);
  const int start = m_wrap.SubLineStart(c.Y, sub);
  const std::vector<int> cells = TColumnLayout(m_lines, m_tabs).CellStarts(c.Y);
  TPixelPoint p;
  p.X = (VisualColumn(cells, c.X) - VisualColumn(cells, start)) * CellWidth();
  p.Y = (FirstRowOf(c.Y) + sub) * LineHeight();
  return p;
}

TPoint TViewRows::PixelToCaret(int x, int y) const {
  const int row = y < 0 ? 0 : y / LineHeight();
  return CaretOnRow(row, x, true);
}

TPoint TViewRows::CaretOnRow(int row, int x, bool nearest) const {
  const TRowPos pos = RowAt(row);
  const int line = pos.Line;
  const int start = m_wrap.SubLineStart(line, pos.Sub);
  const int end = m_wrap.SubLineEnd(line, pos.Sub);
  const bool lastSub = pos.Sub >= m_wrap.SubLineCount(line) - 1;
  const std::vector<int> cells = TColumnLayout(m_lines, m_tabs).CellStarts(line);
  const int cw = CellWidth();
  const int base = VisualColumn(cells, start);
  for (int i = start; i < end; ++i) {
    const int a = VisualColumn(cells, i) - base;
    const int b = VisualColumn(cells, i + 1) - base;
    if (nearest ? 2 * x < (a + b) * cw : x < b * cw) return TPoint{i, line};
  }
  if (!lastSub) return TPoint{std::max(start, end - 1), line};
  if (m_folds.ShownFoldOn(line)) return TPoint{end, line};
  const int used = VisualColumn(cells, end) - base;
  const int cellsAt = nearest ? (x + cw / 2) / cw : x / cw;
  return TPoint{end + std::max(0, cellsAt - used), line};
}

}  // namespace penwick

// Word wrap: sub-line starts per line and the row table, rebuilt lazily.
#include "editor/WrapLayout.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "editor/SyntMemoStrings.h"
#include "editor/TabList.h"
#include "editor/TextMeasure.h"
#include "platform/CodePage.h"

namespace penwick {

TWrapLayout::TWrapLayout(const TSyntMemoStrings& lines, const TTabList& tabs, const TTextMeasure& measure)
    : m_lines(lines), m_tabs(tabs), m_measure(measure) {
  TStoreListener listener;
  listener.LinesInserted = [this](int first, int count) { OnLinesInserted(first, count); };
  listener.LinesRemoved = [this](int first, int count) { OnLinesRemoved(first, count); };
  listener.Changed = [this](int pos, int count, int lineChange) { OnChanged(pos, count, lineChange); };
  // The store is not changed through this reference; Subscribe only adds a listener.
  m_subscription = const_cast<TSyntMemoStrings&>(lines).Subscribe(std::move(listener), TStorePhase::Content);
}

// ---- Settings ----

void TWrapLayout::SetWordWrap(bool on) {
  if (on == m_wordWrap) return;
  m_wordWrap = on;
  InvalidateAll();
  if (!on) {
    // Nothing per line is kept without word wrap.
    m_info.Clear();
    m_rowStarts.Clear();
    m_pool.clear();
    m_freePool.clear();
  }
}

void TWrapLayout::SetWrapWidth(int pixels) {
  if (pixels == m_wrapWidth) return;
  m_wrapWidth = pixels;
  InvalidateAll();
}

void TWrapLayout::InvalidateAll() {
  m_allStale = true;
  m_staleFirst = 0;
  m_staleLast = -1;
  ++m_generation;
}

void TWrapLayout::InvalidateLine(int line) {
  ++m_generation;
  if (!m_wordWrap || m_allStale || line < 0 || line >= m_info.Length()) return;
  MarkStale(line);
}

void TWrapLayout::SetCutProvider(std::function<TLineCut(int line)> provider) {
  m_cutOf = std::move(provider);
  InvalidateAll();
}

int TWrapLayout::MaxCells() const {
  const int cell = std::max(1, m_measure.CellWidth());
  return std::max(1, m_wrapWidth / cell);
}

// ---- Following the store ----

void TWrapLayout::MarkStale(int line) {
  const std::uint32_t info = m_info.ValueAt(line);
  if (info == kStale) return;
  Release(info);
  m_info.SetValueAt(line, kStale);
  if (m_staleFirst > m_staleLast) {
    m_staleFirst = m_staleLast = line;
  } else {
    m_staleFirst = std::min(m_staleFirst, line);
    m_staleLast = std::max(m_staleLast, line);
  }
}

void TWrapLayout::OnLinesInserted(int first, int count) {
  ++m_generation;
  if (!m_wordWrap || m_allStale || count <= 0) return;
  const int row = m_rowStarts.ValueAt(first);
  for (int j = 0; j < count; ++j) m_rowStarts.Insert(first + j, row + j);
  m_rowStarts.ShiftAfter(first + count - 1, count);
  m_info.InsertValue(first, count, kStale);
  if (m_staleFirst <= m_staleLast) {
    if (m_staleFirst >= first) m_staleFirst += count;
    if (m_staleLast >= first) m_staleLast += count;
    m_staleFirst = std::min(m_staleFirst, first);
    m_staleLast = std::max(m_staleLast, first + count - 1);
  } else {
    m_staleFirst = first;
    m_staleLast = first + count - 1;
  }
}

void TWrapLayout::OnLinesRemoved(int first, int count) {
  ++m_generation;
  if (!m_wordWrap || m_allStale || count <= 0) return;
  const int rows = m_rowStarts.ValueAt(first + count) - m_rowStarts.ValueAt(first);
  for (int i = first; i < first + count; ++i) Release(m_info.ValueAt(i));
  m_info.Delete(first, count);
  m_rowStarts.Remove(first, count);
  m_rowStarts.ShiftAfter(first - 1, -rows);
  if (m_staleFirst <= m_staleLast) {
    auto adjust = [&](int x) { return x < first ? x : x < first + count ? first : x - count; };
    m_staleFirst = adjust(m_staleFirst);
    m_staleLast = adjust(m_staleLast);
  }
}

void TWrapLayout::OnChanged(int pos, int count, int /*lineChange*/) {
  ++m_generation;
  if (pos < 0) {
    InvalidateAll();
    return;
  }
  if (!m_wordWrap || m_allStale || m_info.Length() == 0) return;
  const int a = m_lines.LineFromOffset(pos);
  const int b = count > 0 ? m_lines.LineFromOffset(pos + count) : a;
  for (int line = std::max(a, 0); line <= b && line < m_info.Length(); ++line) MarkStale(line);
}

// ---- Laying out ----

std::uint32_t TWrapLayout::Store(std::vector<int>& starts) const {
  if (!m_freePool.empty()) {
    const std::uint32_t index = m_freePool.back();
    m_freePool.pop_back();
    m_pool[index] = starts;
    return index + kPoolBase;
  }
  m_pool.push_back(starts);
  return static_cast<std::uint32_t>(m_pool.size() - 1) + kPoolBase;
}

void TWrapLayout::Release(std::uint32_t info) const {
  if (info < kPoolBase) return;
  const std::uint32_t index = info - kPoolBase;
  std::vector<int>().swap(m_pool[index]);
  m_freePool.push_back(index);
}

int TWrapLayout::RowsOfInfo(std::uint32_t info) const {
  return info < kPoolBase ? 1 : static_cast<int>(m_pool[info - kPoolBase].size());
}

std::uint32_t TWrapLayout::LayoutLine(int line, const char* text, int length, std::vector<int>& starts) const {
  const TLineCut cut = m_cutOf ? m_cutOf(line) : TLineCut{};
  const int maxCells = m_maxCells;
  if (cut.CutX < 0 && length <= maxCells) {
    // A tab takes at least one cell, so only a line this short can fit; it
    // does when its tabs do not push it past the width.
    const char* p = text;
    const char* const end = text + length;
    int width = 0;
    for (;;) {
      // An empty line may come without any text pointer at all.
      const char* tab = p < end ? static_cast<const char*>(std::memchr(p, '\t', static_cast<size_t>(end - p))) : nullptr;
      if (!tab) {
        width += static_cast<int>(end - p);
        break;
      }
      width = m_tabs.NextTabStop(width + static_cast<int>(tab - p));
      p = tab + 1;
      if (width > maxCells) break;
    }
    if (width <= maxCells) return kOneRow;
  }

  const int shown = cut.CutX >= 0 ? std::min(cut.CutX, length) : length;
  const TCodePage& page = TCodePage::Default();
  auto word = [&](int i) { return page.IsWordChar(static_cast<unsigned char>(text[i])); };
  static thread_local std::vector<int> cols;  // visual column before each character
  cols.assign(static_cast<size_t>(shown) + 1, 0);

  starts.clear();
  starts.push_back(0);
  int subStart = 0;
  int subCol = 0;
  int candidate = -1;  // last break candidate after subStart
  int col = 0;
  int i = 0;
  bool prevWord = false;
  while (i < shown) {
    cols[static_cast<size_t>(i)] = col;
    const int next = text[i] == '\t' ? m_tabs.NextTabStop(col) : col + 1;
    const bool isWord = word(i);
    if (i > subStart && (!isWord || !prevWord)) candidate = i;
    prevWord = isWord;
    if (i > subStart && next - subCol > maxCells) {
      const int at = candidate > subStart ? candidate : i;
      starts.push_back(at);
      subStart = at;
      subCol = cols[static_cast<size_t>(at)];
      candidate = -1;
      i = at;
      col = subCol;
      prevWord = at > 0 && word(at - 1);
      continue;
    }
    col = next;
    ++i;
  }
  if (cut.CutX >= 0 && col > subCol && col - subCol + cut.MarkCells > maxCells) starts.push_back(shown);
  if (starts.size() == 1) return kOneRow;
  return Store(starts);
}

void TWrapLayout::LayoutAll() const {
  m_pool.clear();
  m_freePool.clear();
  const int n = m_lines.Count();
  std::vector<std::uint32_t> info(static_cast<size_t>(n));
  std::vector<int> rowStarts(static_cast<size_t>(n) + 1);
  const std::string_view all = m_lines.ContiguousText();
  const char* const data = all.data();
  const int textLength = static_cast<int>(all.size());
  std::vector<int> starts;
  int row = 0;
  int start = n > 0 ? m_lines.LineStart(0) : 0;
  for (int line = 0; line < n; ++line) {
    rowStarts[static_cast<size_t>(line)] = row;
    const int next = line + 1 < n ? m_lines.LineStart(line + 1) : textLength;
    int end = next;  // the line's text ends before its break: CR LF, LF or CR
    if (end > start && data[end - 1] == '\n') --end;
    if (end > start && data[end - 1] == '\r') --end;
    const std::uint32_t entry = LayoutLine(line, data + start, end - start, starts);
    start = next;
    info[static_cast<size_t>(line)] = entry;
    row += RowsOfInfo(entry);
  }
  rowStarts[static_cast<size_t>(n)] = row;
  m_info.Adopt(std::move(info), 1024);
  m_rowStarts.Adopt(std::move(rowStarts));
  m_allStale = false;
  m_staleFirst = 0;
  m_staleLast = -1;
  ++m_generation;
}

void TWrapLayout::LayoutStaleRange() const {
  const int last = std::min(m_staleLast, m_info.Length() - 1);
  std::vector<int> starts;
  std::string copy;
  for (int line = std::max(m_staleFirst, 0); line <= last; ++line) {
    if (m_info.ValueAt(line) != kStale) continue;
    const int start = m_lines.LineStart(line);
    const int length = m_lines.LineLength(line);
    std::string_view text;
    if (!m_lines.PieceAt(start, length, text)) {
      copy = m_lines.TextRange(start, length);
      text = copy;
    }
    const std::uint32_t entry = LayoutLine(line, text.data(), length, starts);
    m_info.SetValueAt(line, entry);
    const int oldRows = m_rowStarts.ValueAt(line + 1) - m_rowStarts.ValueAt(line);
    const int delta = RowsOfInfo(entry) - oldRows;
    if (delta != 0) m_rowStarts.ShiftAfter(line, delta);
  }
  m_staleFirst = 0;
  m_staleLast = -1;
  ++m_generation;
}

void TWrapLayout::Update() const {
  if (!m_wordWrap) return;
  m_maxCells = MaxCells();
  if (m_allStale) {
    LayoutAll();
  } else if (m_staleFirst <= m_staleLast) {
    LayoutStaleRange();
  }
}

// ---- Queries ----

int TWrapLayout::LineCount() const { return std::max(1, m_lines.Count()); }

int TWrapLayout::RowCount() const {
  Update();
  if (!m_wordWrap || m_lines.Count() == 0) return LineCount();
  return m_rowStarts.ValueAt(m_lines.Count());
}

int TWrapLayout::FirstRowOf(int line) const {
  Update();
  line = std::clamp(line, 0, LineCount() - 1);
  if (!m_wordWrap || m_lines.Count() == 0) return line;
  return m_rowStarts.ValueAt(line);
}

int TWrapLayout::LineOfRow(int row, int* sub) const {
  Update();
  row = std::clamp(row, 0, RowCount() - 1);
  if (!m_wordWrap || m_lines.Count() == 0) {
    if (sub) *sub = 0;
    return row;
  }
  const int line = std::clamp(m_rowStarts.LastAtOrBefore(row), 0, m_lines.Count() - 1);
  if (sub) *sub = row - m_rowStarts.ValueAt(line);
  return line;
}

int TWrapLayout::SubLineCount(int line) const {
  Update();
  if (!m_wordWrap || line < 0 || line >= m_lines.Count()) return 1;
  return RowsOfInfo(m_info.ValueAt(line));
}

int TWrapLayout::SubLineStart(int line, int sub) const {
  Update();
  if (!m_wordWrap || line < 0 || line >= m_lines.Count()) return 0;
  const std::uint32_t info = m_info.ValueAt(line);
  if (info < kPoolBase) return 0;
  const std::vector<int>& starts = m_pool[info - kPoolBase];
  return starts[static_cast<size_t>(std::clamp(sub, 0, static_cast<int>(starts.size()) - 1))];
}

int TWrapLayout::SubLineEnd(int line, int sub) const {
  const int count = SubLineCount(line);
  if (sub < count - 1) return SubLineStart(line, std::max(sub, 0) + 1);
  const int length = m_lines.LineLength(line);
  const TLineCut cut = m_cutOf && line >= 0 && line < m_lines.Count() ? m_cutOf(line) : TLineCut{};
  return cut.CutX >= 0 ? std::min(cut.CutX, length) : length;
}

int TWrapLayout::SubLineOf(int line, int x) const {
  Update();
  if (!m_wordWrap || line < 0 || line >= m_lines.Count()) return 0;
  const std::uint32_t info = m_info.ValueAt(line);
  if (info < kPoolBase) return 0;
  const std::vector<int>& starts = m_pool[info - kPoolBase];
  const auto it = std::upper_bound(starts.begin(), starts.end(), x);
  return std::max(0, static_cast<int>(it - starts.begin()) - 1);
}

int TWrapLayout::SubLineHeight(int /*line*/, int /*sub*/) const { return std::max(1, m_measure.LineHeight()); }

std::uint64_t TWrapLayout::Generation() const {
  Update();
  return m_generation;
}

}  // namespace penwick

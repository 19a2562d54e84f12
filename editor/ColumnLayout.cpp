// Tabs to visual columns and back, for one line of the store.
#include "editor/ColumnLayout.h"

#include <algorithm>

#include "editor/SyntMemoStrings.h"
#include "editor/TabList.h"

namespace penwick {

int TColumnLayout::Advance(char c, int column) const { return c == '\t' ? m_tabs.NextTabStop(column) : column + 1; }

int TColumnLayout::VisualColumn(int line, int x) const {
  const int start = m_lines.LineStart(line);
  const int length = m_lines.LineLength(line);
  x = std::max(x, 0);
  const int inText = std::min(x, length);
  int column = 0;
  for (int i = 0; i < inText; ++i) column = Advance(m_lines.CharAt(start + i), column);
  return column + (x - inText);
}

int TColumnLayout::VisualColumnAt(int offset) const {
  const int line = m_lines.LineFromOffset(offset);
  if (line < 0) return 0;
  return VisualColumn(line, offset - m_lines.LineStart(line));
}

int TColumnLayout::NearestColumn(int line, int x, int cellWidth) const {
  cellWidth = std::max(cellWidth, 1);
  const int start = m_lines.LineStart(line);
  const int length = m_lines.LineLength(line);
  int visual = 0;
  for (int i = 0; i < length; ++i) {
    const int next = Advance(m_lines.CharAt(start + i), visual);
    if (2 * x < (visual + next) * cellWidth) return i;
    visual = next;
  }
  const int cells = std::max(0, (x + cellWidth / 2) / cellWidth);
  return length + std::max(0, cells - visual);
}

std::vector<int> TColumnLayout::CellStarts(int line) const {
  const int start = m_lines.LineStart(line);
  const int length = m_lines.LineLength(line);
  std::vector<int> starts;
  starts.reserve(static_cast<std::size_t>(length) + 1);
  int column = 0;
  for (int i = 0; i < length; ++i) {
    starts.push_back(column);
    column = Advance(m_lines.CharAt(start + i), column);
  }
  starts.push_back(column);
  return starts;
}

}  // namespace penwick

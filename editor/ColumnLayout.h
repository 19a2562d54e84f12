// Visual columns of a line: where each character of a line stands once tabs
// advance to their stops, and the character columns that visual places map back to.
#pragma once

#include <vector>

namespace penwick {

class TSyntMemoStrings;
class TTabList;

// A character column (0-based X of a caret position) names a place between
// characters of a line's text; a visual column counts cells, a tab taking the
// cells up to the next stop of the tab list. Beyond the end of the line each
// column is one cell, so a caret there keeps its column. A line index outside
// the store reads as an empty line.
//
// Costs: every query walks the line from its start, O(length of the line).
// The layout holds references: the store and the tab list must outlive it.
class TColumnLayout {
public:
  TColumnLayout(const TSyntMemoStrings& lines, const TTabList& tabs) : m_lines(lines), m_tabs(tabs) {}

  // Visual column of character column `x` of `line` (x < 0 counts as 0).
  int VisualColumn(int line, int x) const;
  // Visual column of a 0-based text offset within its own line; an offset in
  // a line break counts as the end of the line's text plus the characters
  // past it.
  int VisualColumnAt(int offset) const;
  // The character column whose left edge is nearest to `x`, measured in
  // units where a cell is `cellWidth` wide (x from the start of the line):
  // a point in the left half of a cell gives the cell's character, in the
  // right half the one after it. With cellWidth 1, `x` is a visual column and
  // the answer the character column of the cell holding it.
  int NearestColumn(int line, int x, int cellWidth = 1) const;
  // The visual column each character of the line's text starts at, then the
  // end of the text: length + 1 entries.
  std::vector<int> CellStarts(int line) const;

private:
  int Advance(char c, int column) const;

  const TSyntMemoStrings& m_lines;
  const TTabList& m_tabs;
};

}  // namespace penwick

// Indentation of new lines and the unindent step of Backspace.
#include "editor/AutoIndent.h"

#include <algorithm>

namespace penwick {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Number of leading spaces and tabs of the line.
int LeadingBlanks(const TSyntMemoStrings& lines, int line) {
  const int start = lines.LineStart(line);
  const int length = lines.LineLength(line);
  int n = 0;
  while (n < length && IsBlank(lines.CharAt(start + n))) ++n;
  return n;
}

bool InStore(const TSyntMemoStrings& lines, int line) { return line >= 0 && line < lines.Count(); }

}  // namespace

bool IsBlankLine(const TSyntMemoStrings& lines, int line) {
  if (!InStore(lines, line)) return true;
  return LeadingBlanks(lines, line) == lines.LineLength(line);
}

int IndentWidth(const TSyntMemoStrings& lines, const TTabList& tabs, int line) {
  if (IsBlankLine(lines, line)) return 0;
  return TColumnLayout(lines, tabs).VisualColumn(line, LeadingBlanks(lines, line));
}

int NewLineIndentWidth(const TSyntMemoStrings& lines, const TTabList& tabs, TPoint caret) {
  if (!InStore(lines, caret.Y)) return 0;
  const int column = TColumnLayout(lines, tabs).VisualColumn(caret.Y, caret.X);
  // Only an unindented line fits column 0: no need to look for it.
  if (column == 0) return 0;
  for (int line = caret.Y; line >= 0; --line) {
    if (IsBlankLine(lines, line)) continue;
    const int width = IndentWidth(lines, tabs, line);
    if (width <= column) return width;
  }
  return 0;
}

std::string IndentText(int width, const TTabList& tabs, TTabMode mode) {
  std::string out;
  int column = 0;
  if (mode == tmTabChar) {
    for (int next = tabs.NextTabStop(column); next <= width && next > column; next = tabs.NextTabStop(column)) {
      out += '\t';
      column = next;
    }
  }
  out.append(static_cast<size_t>(std::max(0, width - column)), ' ');
  return out;
}

std::optional<TUnindentStep> BackUnindentStep(const TSyntMemoStrings& lines, const TTabList& tabs, TPoint caret) {
  if (!InStore(lines, caret.Y) || caret.X <= 0 || caret.X > lines.LineLength(caret.Y)) return std::nullopt;
  const TColumnLayout layout(lines, tabs);
  const int column = layout.VisualColumn(caret.Y, caret.X);
  const bool blank = IsBlankLine(lines, caret.Y);
  if (!blank && column != IndentWidth(lines, tabs, caret.Y)) return std::nullopt;
  int target = 0;
  for (int line = caret.Y - 1; line >= 0; --line) {
    if (IsBlankLine(lines, line)) continue;
    const int width = IndentWidth(lines, tabs, line);
    if (width < column) {
      target = width;
      break;
    }
  }
  // The last character that starts at or before the target; what it leaves
  // short of the target is made up with spaces.
  const std::vector<int> cells = layout.CellStarts(caret.Y);
  int from = caret.X;
  while (from > 0 && cells[static_cast<size_t>(from)] > target) --from;
  if (from >= caret.X) return std::nullopt;
  const int pad = std::max(0, target - cells[static_cast<size_t>(from)]);
  return TUnindentStep{from, caret.X, pad};
}

}  // namespace penwick

// Word wrap of the editor's lines: where each visual sub-line of a line
// starts, and the visual rows the lines take from the top of the text.
#pragma once

#include "editor/Partitioning.h"
#include "editor/SplitVector.h"
#include "platform/ListenerList.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace penwick {

class TSyntMemoStrings;
class TTabList;
class TTextMeasure;

// A line shown only up to a column, followed by a mark of some cells (the
// first line of a folded range: its text up to the range's start, then the
// collapse mark). CutX < 0: the whole line is shown.
struct TLineCut {
  int CutX = -1;      // character column where the shown text ends
  int MarkCells = 0;  // cells the mark takes after it
};

// Rows and sub-lines
// ------------------
// With WordWrap off every line is one row: row = line, and nothing is
// computed or stored per line. With WordWrap on, a line is laid out from its
// start in character cells (a tab advances to the next stop of the tab list,
// counted from the line's start) and breaks when the next character would end
// beyond the wrap width: at the last break candidate after the sub-line's
// start — after a blank, or before a character when it or the one before it
// is not a word character (TCodePage::Default().IsWordChar) — or, when the
// sub-line has no candidate (one word longer than the width), just before the
// character that does not fit. Every sub-line holds at least one character
// (a character wider than the whole width, such as a wide tab, stands alone),
// and the wrap width counts as at least one cell, so the layout always
// advances. A cut line (TLineCut) is laid out up to its cut, and the mark is
// one unbreakable piece after it: it starts a new sub-line when it does not
// fit on the last one (unless that sub-line is empty).
//
// A sub-line is named by the character column (offset within the line) where
// it starts; sub-line 0 starts at 0. A column at a wrap position belongs to
// the sub-line that starts there; columns beyond the line's text belong to
// the last sub-line. Every row is one line height tall.
//
// The lines are not the store's when the store is empty: an empty store still
// shows one empty line (one row).
//
// Staleness: the layout listens to the store (Content phase). An edit marks
// the changed lines stale, inserted lines are new and stale, removed lines go
// with their rows; a whole-text replacement, a change of the wrap width or of
// WordWrap, and InvalidateAll (font, tab list) make everything stale. Stale
// lines are laid out again at the next query, all of them at once, so every
// answer is up to date: a keystroke re-lays out its line only, while a full
// re-layout takes one pass over the text's contiguous storage (a line without
// a tab whose length fits in the width is one row without a closer look).
//
// Costs: n lines, L the length of a line. Row queries O(log n) after the
// stale lines were laid out; laying out a line O(L); a full layout O(text).
// The layout holds references: the store, the tab list and the measure must
// outlive it.
class TWrapLayout {
public:
  TWrapLayout(const TSyntMemoStrings& lines, const TTabList& tabs, const TTextMeasure& measure);
  TWrapLayout(const TWrapLayout&) = delete;
  TWrapLayout& operator=(const TWrapLayout&) = delete;

  // ---- Settings (each change makes everything stale) ----
  bool WordWrap() const { return m_wordWrap; }
  void SetWordWrap(bool on);
  // Pixels available to the text on a row: client width minus gutter, text
  // margin and right-hand margin. Values below one cell count as one cell.
  int WrapWidth() const { return m_wrapWidth; }
  void SetWrapWidth(int pixels);
  // Font, cell width or tab list changed.
  void InvalidateAll();
  // One line's shape changed for a reason the store does not know (its cut).
  void InvalidateLine(int line);
  // Where a line is cut (see TLineCut); asked for each line laid out. Empty:
  // no line is cut. Set by the owner of the folds.
  void SetCutProvider(std::function<TLineCut(int line)> provider);

  // ---- Queries (lay out stale lines first) ----
  // Lines shown: the store's count, at least 1.
  int LineCount() const;
  // Total visual rows of all lines.
  int RowCount() const;
  // The row of a line's first sub-line (line clamped to 0..LineCount-1).
  int FirstRowOf(int line) const;
  // The line holding a row (row clamped to 0..RowCount-1); `sub` receives the
  // sub-line within it.
  int LineOfRow(int row, int* sub = nullptr) const;
  // Sub-lines of a line (1 without word wrap).
  int SubLineCount(int line) const;
  // Character column where sub-line `sub` starts (clamped to the line's sub-lines).
  int SubLineStart(int line, int sub) const;
  // Character column where sub-line `sub` ends: the next sub-line's start, or
  // for the last one the end of the shown text (the cut, or the line's length).
  int SubLineEnd(int line, int sub) const;
  // The sub-line showing character column x (see above).
  int SubLineOf(int line, int x) const;
  // Pixel height of sub-line `sub` of `line`: one line height.
  int SubLineHeight(int line, int sub) const;
  // Changes whenever the row count of some line changed (for caches built on rows).
  std::uint64_t Generation() const;

private:
  enum : std::uint32_t { kStale = 0, kOneRow = 1, kPoolBase = 2 };

  void OnLinesInserted(int first, int count);
  void OnLinesRemoved(int first, int count);
  void OnChanged(int pos, int count, int lineChange);
  void MarkStale(int line);
  void Update() const;
  void LayoutAll() const;
  void LayoutStaleRange() const;
  // Lays out one line; returns its info entry (kOneRow or a pool index), and
  // fills `starts` with the sub-line starts when more than one.
  std::uint32_t LayoutLine(int line, const char* text, int length, std::vector<int>& starts) const;
  std::uint32_t Store(std::vector<int>& starts) const;
  void Release(std::uint32_t info) const;
  int RowsOfInfo(std::uint32_t info) const;
  int MaxCells() const;

  const TSyntMemoStrings& m_lines;
  const TTabList& m_tabs;
  const TTextMeasure& m_measure;
  TSubscription m_subscription;
  std::function<TLineCut(int line)> m_cutOf;
  bool m_wordWrap = false;
  int m_wrapWidth = 1 << 20;

  // Valid only with word wrap on and !m_allStale:
  mutable bool m_allStale = true;
  mutable TSplitVector<std::uint32_t> m_info;        // per line: kStale, kOneRow or kPoolBase + pool index
  mutable TPartitioning m_rowStarts;                 // per line its first row, then the total
  mutable std::vector<std::vector<int>> m_pool;      // sub-line starts of wrapped lines
  mutable std::vector<std::uint32_t> m_freePool;
  mutable int m_staleFirst = 0;                      // lines that may be stale: [first, last]
  mutable int m_staleLast = -1;
  mutable std::uint64_t m_generation = 0;
  mutable int m_maxCells = 1;  // of the layout in progress
};

}  // namespace penwick

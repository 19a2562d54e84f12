// The folded (collapsed) ranges of the editor's text, kept in step with the
// text as it changes.
#pragma once

#include "platform/ListenerList.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace penwick {

class TSyntMemoStrings;

// One folded range. Its first line is the line of StartPos; its last line is
// the line of EndPos, or the line before when EndPos is at the start of a
// line; LineCount counts both and the lines between (at least 2). Lines after
// the first are hidden; the first is shown up to StartPos followed by the
// collapse mark.
struct TFoldRange {
  int FirstLine = 0;
  int LineCount = 0;
  int StartPos = 0;  // 0-based offsets; EndPos is exclusive
  int EndPos = 0;
  std::string CollapseText;

  int LastLine() const { return FirstLine + LineCount - 1; }
  // The text the collapse mark shows: the collapse text, or "..." when it is empty.
  std::string MarkText() const { return CollapseText.empty() ? std::string("...") : CollapseText; }
  // Cells the mark takes on its line: its text plus one cell for the box
  // drawn around it (half a cell on each side).
  int MarkCells() const { return static_cast<int>(MarkText().size()) + 1; }
};

// A range that may be folded, as the analysis offers it.
struct TFoldableRange {
  int StartPos = 0;
  int EndPos = 0;
  std::string CollapseText;
};

// Where the foldable ranges come from (the analysis); either member may be
// empty. The plain core asks through these instead of knowing the analyser.
struct TFoldSource {
  // The range to fold from a line (the outermost one starting there).
  std::function<std::optional<TFoldableRange>(int line)> RangeStartingOnLine;
  // The innermost foldable range containing an offset.
  std::function<std::optional<TFoldableRange>(int offset)> InnermostRangeAt;
};

// The folds, sorted by StartPos and, for equal starts, longest first. Any two
// are nested or disjoint (never crossing), and no range is folded twice.
//
// Shown folds: a fold whose first line is hidden by another fold does not act
// (its lines are hidden by that one, or shown) until the other is unfolded;
// the folds that act are the shown folds (ShownFolds), disjoint in lines and
// sorted by first line. IsLineHidden: a line after the first of a shown fold,
// up to its last.
//
// Following the text: the state listens to the store in the Positions phase,
// so it is up to date before the layout and analysis hear of an edit. An
// insertion strictly inside (StartPos, EndPos), or a deletion that overlaps
// [StartPos, EndPos) — also one that deletes the start — unfolds the range;
// a fold after the edit moves with the text, and its lines are read again
// from the store; an insertion at StartPos moves the fold; a whole-text
// replacement drops every fold.
//
// Costs: F folds. Fold, Unfold O(F + log n); an edit O(F log n); line
// questions O(log F) after the shown folds were rebuilt (O(F log F) once per
// change of the folds).
class TFoldState {
public:
  explicit TFoldState(TSyntMemoStrings& lines);
  TFoldState(const TFoldState&) = delete;
  TFoldState& operator=(const TFoldState&) = delete;

  // Told after a fold came or went: the lines it covered (in the numbering
  // after the change; firstLine -1 when every fold went at once) and whether
  // an edit of the text caused it (then it is told from inside the store's
  // notification, before the Content phase hears of the edit). Folds nested
  // in those lines may have become shown or hidden with it.
  std::function<void(int firstLine, int lastLine, bool byEdit)> OnChanged;

  // Folds [startPos, endPos) showing `collapseText`. False (nothing changes)
  // when the range leaves the text, is empty, does not end on a later line
  // than it starts, crosses a fold, or is folded already.
  bool Fold(int startPos, int endPos, std::string_view collapseText);
  bool Fold(const TFoldableRange& range) { return Fold(range.StartPos, range.EndPos, range.CollapseText); }
  // Unfolds the fold with exactly these offsets; false when there is none.
  bool Unfold(int startPos, int endPos);
  // Unfolds the outermost fold whose first line is `line`; false when there is none.
  bool UnfoldLine(int line);
  // Drops every fold.
  void Clear();

  int Count() const { return static_cast<int>(m_folds.size()); }
  bool Empty() const { return m_folds.empty(); }
  const std::vector<TFoldRange>& Folds() const { return m_folds; }
  // The folds that act, disjoint in lines, by first line.
  const std::vector<TFoldRange>& ShownFolds() const;

  // The outermost fold (any, shown or not) whose first line is `line`, or nullptr.
  const TFoldRange* FoldStartingOn(int line) const;
  // The shown fold whose first line is `line`, or nullptr.
  const TFoldRange* ShownFoldOn(int line) const;
  // The shown fold that hides `line`, or nullptr.
  const TFoldRange* FoldHiding(int line) const;
  bool IsLineHidden(int line) const { return FoldHiding(line) != nullptr; }
  // Lines hidden by the shown folds above `line` (not counting `line` itself).
  int HiddenLinesBefore(int line) const;
  // Changes whenever the folds changed.
  std::uint64_t Generation() const { return m_generation; }

  // Empty when every invariant holds (order, nesting, lines and offsets
  // agree with the store), else a description of the first broken one.
  std::string CheckInvariants() const;
  // One line per fold: "first+count [start,end) \"text\"", then the shown
  // folds' first lines.
  std::string DebugDump() const;

private:
  void OnStoreChanged(int pos, int count, int lineChange);
  bool ComputeLines(int startPos, int endPos, int& firstLine, int& lineCount) const;
  void Touch();
  void Tell(int firstLine, int lastLine, bool byEdit);

  TSyntMemoStrings& m_lines;
  TSubscription m_subscription;
  std::vector<TFoldRange> m_folds;
  mutable std::vector<TFoldRange> m_shown;
  mutable std::vector<int> m_hiddenBefore;  // per shown fold: lines hidden by the shown folds before it
  mutable bool m_shownStale = false;
  std::uint64_t m_generation = 0;
};

}  // namespace penwick

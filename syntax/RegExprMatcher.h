// One anchored match of a compiled TecRegExpr program against a text.
#pragma once

#include "syntax/RegExprProgram.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace penwick {

// Runs the matching procedure: every item is tried with its continuation and
// gives full (the rest of the pattern matched), partial (the rest of its own
// alternative matched, but not what follows its group) or fail. Repetitions
// of one item are counted in a loop; recursion follows the items of the
// pattern only, so its depth is bounded by the program's size, never by the
// text's length. Every node step counts against the budget; spending it
// raises ERegExprTooComplex.
//
// Group positions live in caller-owned arrays of GroupCount entries (1-based
// text positions, -1 unset). When an item keeps the outcome of an earlier
// repetition count than the last one it tried, the group positions are put
// back to what they were at that count; and every count's continuation and
// every alternative of a group starts from the positions before it, so a
// path that was tried and abandoned leaves none behind. Groups thus always
// describe the path the match took, and a back-reference never compares
// against text of an abandoned path.
class TRegExprMatcher {
public:
  // Extra steps allowed for every character between the start of the match
  // and the farthest position it has reached.
  static constexpr uint64_t StepsPerChar = 32;
  // From this budget on, a Deterministic program is matched by one walk
  // along its chain; its general matching could not run out of the budget.
  static constexpr uint64_t DeterministicMinBudget = 4096;

  // `text` may be a window of a longer text: `charBefore` is the byte just
  // before its first character, or -1 when the window starts the text. The
  // checks (^ $ \A \b \B) then answer as they would on the whole text.
  // `keepComplete`: see TecRegExpr::KeepCompleteMatches.
  TRegExprMatcher(const TRegExprProgram& program, std::string_view text, int* groupStart, int* groupEnd,
                  uint64_t budget, int charBefore = -1, bool keepComplete = false);

  // One match at `pos` (1..size+1). True: `pos` becomes the end position.
  bool Run(int& pos);
  // One match at `pos` of the root alternative starting at item `first`
  // alone, which must be a deterministic chain (TRegExprAlternative) of a
  // program without groups: every repetition as far as it goes.
  bool RunChain(int first, int& pos);

private:
  void ResetGroups();
  enum TOutcome : uint8_t { Fail = 0, Partial = 1, Full = 2 };

  // Tries item `index` (with its repetitions and continuation) at `pos`;
  // `end` is set to the end of the whole match on Full.
  TOutcome Try(int index, int pos, int& end);
  // Matches one occurrence of `node` at `pos`, advancing it on success.
  bool One(const TRegExprNode& node, int& pos);
  bool OneGroup(const TRegExprNode& node, int& pos);
  bool CheckAt(TRegExprCheck check, int& pos) const;
  bool IsWordAt(int pos) const;

  void Step() {
    if (++m_steps > m_limit) throw ERegExprTooComplex();
  }
  // The budget grows with the text the match has reached, so work that
  // stays linear in the text never runs out of it.
  void Reached(int pos) {
    if (pos > m_farthest) {
      m_farthest = pos;
      m_limit = m_budget + StepsPerChar * static_cast<uint64_t>(m_farthest - m_origin);
    }
  }
  // Group-position copies live on a per-thread stack, addressed by offset
  // (a deeper frame may move it): room for one copy, then copy in and out.
  size_t PushSnapshot();
  void Save(size_t at) const;
  void Restore(size_t at);

  const TRegExprNode* m_nodes;
  bool m_deterministic;
  const unsigned char* m_text;
  int m_size;
  int m_charBefore;
  bool m_keepComplete;
  int* m_start;
  int* m_end;
  int m_groupCount;
  uint64_t m_steps = 0;
  uint64_t m_budget;
  uint64_t m_limit;
  int m_origin = 1;
  int m_farthest = 1;
  size_t m_snapshotTop = 0;
};

}  // namespace penwick

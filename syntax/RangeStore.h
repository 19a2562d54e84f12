// The ranges of one analysis (`TRangeStore`): all ranges in text order, the open ones by rule, recorded line breaks, and their repair when a change cuts the tokens.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "syntax/RangeArena.h"
#include "syntax/ReopenIndex.h"
#include "syntax/TextRange.h"

namespace penwick {

class TTagBlockCondition;

// Ranges are made in token order, so a range's creation order is the
// order of the tokens that opened it (OpenerIdx); Seq is its slot in the
// arena. All ranges are kept ordered by (StartPos, Seq); the open ones in
// one list per rule (by the rule's plan index), each in the same order, so
// that "the innermost open range" is the last of one of those lists and a
// closing rule searches only the lists of the rules it may close.
//
// What a change costs (Truncate, cutting the tokens to `count`): the ranges
// opened by the dropped tokens are the newest, a suffix of the arena, and
// go without being visited; the closed ranges that must open again are
// found through the reopen index; the open lists and the list of all
// ranges and the line breaks lose their suffixes after a halving search.
// Visited are only the ranges reopened and those starting within
// MaxOpenerLead() tokens before the cut: never the ranges or open ranges
// below or above the change. Reopening a range puts it back in its rule's
// list, which moves the open ranges of that rule that start after it.
//
// The open lists in a single text order (OpenCount, OpenAt) are merged on
// demand, for callers outside the analysis.
class TRangeStore {
public:
  int Count() const { return static_cast<int>(m_ranges.size()); }
  // Precondition: 0 <= index < Count().
  const TTextRange& At(int index) const { return *m_ranges[static_cast<std::size_t>(index)]; }

  int OpenCount() const { return m_openCount; }
  // The open ranges merged in text order; O(OpenCount() log) after a
  // change of the open lists, O(1) otherwise. Precondition: 0 <= index < OpenCount().
  const TTextRange& OpenAt(int index) const;
  // The open ranges of one rule, in text order (empty for an unknown rule).
  const std::vector<TTextRange*>& OpenOf(int ruleIndex) const;
  // The last open range in text order, or nullptr. O(rules).
  TTextRange* Innermost() const;
  // The last open range whose rule lacks IgnoreAsParent, not counting the
  // innermost one when it belongs to `self` and `self` closes itself; or
  // nullptr. O(rules).
  const TTextRange* InnermostParent(const TTagBlockCondition* self) const;

  // Stores a range made by token OpenerIdx, newer than every range stored;
  // `ruleIndex` is its rule's plan index. An open range (EndIdx < 0) joins
  // its rule's open list. Sets Seq. Returns its stable address.
  TTextRange* Add(const TTextRange& range, int ruleIndex);
  // Closes the open range at `position` of its rule's list.
  void Close(int ruleIndex, std::size_t position, int endIdx, int closerIdx, int closedAt);
  // Closes every open range of a rule (end of text).
  void CloseAll(int ruleIndex, int endIdx, int closerIdx, int closedAt);
  // Notes a line break at `token`, recorded while `tokenCount` tokens existed.
  void AddLineBreak(int token, bool below, int tokenCount);
  struct TLineBreak {
    int Token;
    bool Below;
    int RecordedAt;  // token count when recorded
  };
  const std::vector<TLineBreak>& LineBreaks() const { return m_lineBreaks; }

  // Tokens from `count` on are gone: ranges they opened or start at go,
  // ranges they closed or end at open again, line breaks they recorded go.
  void Truncate(int count);
  void Clear();

  int MaxOpenerLead() const { return m_maxOpenerLead; }
  std::size_t MemoryBytes() const;
  // Empty when the open lists, the arena and the reopen index agree with
  // the ranges, else what is wrong.
  std::string CheckInvariants() const;

private:
  static int ReopenKey(const TTextRange& range);
  std::vector<TTextRange*>& ListOf(int ruleIndex);
  void OpenListsChanged() { m_openViewDirty = true; }

  TRangeArena m_arena;
  TReopenIndex m_reopen;
  std::vector<TTextRange*> m_ranges;             // ordered by (StartPos, Seq)
  std::vector<std::vector<TTextRange*>> m_open;  // per rule, ordered by (StartPos, Seq)
  int m_openCount = 0;
  mutable std::vector<const TTextRange*> m_openView;
  mutable bool m_openViewDirty = false;
  std::vector<TLineBreak> m_lineBreaks;  // ordered by RecordedAt
  int m_maxOpenerLead = 0;  // max OpenerIdx - StartIdx
};

// The order of all ranges and of the open lists.
inline bool RangeOrder(const TTextRange* a, const TTextRange* b) {
  return a->StartPos != b->StartPos ? a->StartPos < b->StartPos : a->Seq < b->Seq;
}

}  // namespace penwick

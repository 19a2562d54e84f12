// Tokens plus the ranges block rules make over them (`TParserResults`): rule application, closing, fixing after a change, fold queries.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "syntax/AnalysisTextSource.h"
#include "syntax/RangeStore.h"
#include "syntax/TextRange.h"
#include "syntax/TokenHolder.h"

namespace penwick {

class TSyntAnalyzer;
class TAnalysisTextSource;
class TRuleCollectionItem;
class TTagBlockCondition;
class TSingleTagCondition;
struct TAnalyzerPlan;

// Which block rules ApplyBlockRules runs for a token.
enum class TBlockPass {
  All,      // synchronous analysis
  TagOnly,  // deferred analysis, while tokenising: plain tag-detecting rules
  Rest      // deferred analysis, after the end of the text: all the others
};

// What the finishing step derives from the ranges; replaced as a whole.
struct TDerivedRanges {
  std::vector<TCollapsibleRange> Collapsible;  // ordered by start
  std::vector<TStyledRange> Styled;
  std::vector<TCollapsibleRange> Staples;
  std::vector<TLineBreakRange> LineBreaks;
  // Indexes of Collapsible for the fold queries a paint asks once per line:
  // the largest end among the first i + 1 ranges, and (end, start) of every
  // range ordered by end.
  std::vector<std::uint32_t> CollapsibleMaxEnd;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> CollapsibleByEnd;

  void Clear() {
    Collapsible.clear();
    Styled.clear();
    Staples.clear();
    LineBreaks.clear();
    CollapsibleMaxEnd.clear();
    CollapsibleByEnd.clear();
  }
};

// Invariants (CheckInvariants): tokens ordered and disjoint; all ranges
// ordered by (start offset, creation); open ranges are exactly the open
// members of the list, in the same order; every closed range has
// StartIdx <= EndIdx; the range store's own bookkeeping agrees (RangeStore.h).
class TParserResults : public TTokenHolder {
public:
  TParserResults(const TSyntAnalyzer* owner, TAnalysisTextSource& source);
  ~TParserResults() override;

  std::string_view HolderRange(std::uint32_t start, std::uint32_t end) const override;
  TAnalysisTextSource& Source() const { return m_source; }
  // The styling rule of a token (the token rule or a claiming block rule).
  const TRuleCollectionItem* TokenRule(int index) const;

  // All ranges in text order, and the open ones (the last is the innermost).
  int RangeCount() const { return m_store.Count(); }
  const TTextRange& Range(int index) const { return m_store.At(index); }
  int OpenRangeCount() const { return m_store.OpenCount(); }
  const TTextRange& OpenRange(int index) const { return m_store.OpenAt(index); }

  // Derived collections, as delivered by the last finishing step.
  const std::vector<TCollapsibleRange>& CollapsibleRanges() const { return m_derived.Collapsible; }
  const std::vector<TStyledRange>& StyledRanges() const { return m_derived.Styled; }
  const std::vector<TCollapsibleRange>& Staples() const { return m_derived.Staples; }
  const std::vector<TLineBreakRange>& LineBreaks() const { return m_derived.LineBreaks; }

  // Fold state of a 0-based line over the collapsible ranges: 0 a range
  // starts on the line and ends after it; -1 a range that began above ends on
  // it; -2 the line lies inside a range; -3 none. Costs halving searches and
  // the ranges that start or end on the line, not the ranges above it.
  int LineFoldState(int line) const;
  // The range to fold from a line (the outermost one starting there and
  // ending on a later line), or nullptr.
  const TCollapsibleRange* RangeStartingOnLine(int line) const;
  // The innermost collapsible range containing an offset, or nullptr.
  const TCollapsibleRange* InnermostRangeAt(std::uint32_t offset) const;
  // Whether a collapsible range spans more than one line (only those fold).
  bool SpansLines(const TCollapsibleRange& range) const;
  int FirstLineOf(const TCollapsibleRange& range) const;
  int LastLineOf(const TCollapsibleRange& range) const;

  // The rule's CollapseFmt expanded for the range.
  std::string CollapseText(const TCollapsibleRange& range) const;
  std::string CollapseText(const TTextRange& range) const;
  // Expands a range-text format; any failure gives the empty text.
  std::string FormatRangeText(const std::string& format, const TTextRange& range) const;

  // Bytes held by tokens, ranges and derived ranges (capacity, not size).
  std::size_t AnalysisMemory() const;

  // Empty when every invariant holds, else what is wrong.
  std::string CheckInvariants() const;
  // Canonical text of tokens, ranges and derived ranges.
  std::string DebugDump() const;

  // Matching one block rule's conditions against the first `n` tokens: the
  // index of the token met by the last condition, or -1 when no match.
  int ConditionsMatch(const TTagBlockCondition& rule, int n) const;
  int ConditionsMatch(const std::vector<const TSingleTagCondition*>& conditions, int shift, int n) const;

protected:
  // The text of the last token a condition read, kept for the next rule
  // tested on the same token. Valid while no token is added or removed: one
  // ApplyBlockRules call holds one.
  struct TTextMemo {
    int Index = -1;
    std::string_view Text;
  };
  int ConditionsMatch(const std::vector<const TSingleTagCondition*>& conditions, int shift, int n,
                      TTextMemo& memo) const;

  // Block rules for the token n-1 (n tokens so far).
  void ApplyBlockRules(int n, TBlockPass pass);
  // Closes the innermost fitting open range for closing rule `rule` at
  // anchor `anchor`. Searches only the open ranges of the rules it may close.
  bool CloseRange(const TTagBlockCondition& rule, int anchor, int n);
  // End of the text: ranges of EndOfTextClose rules close at the last token.
  // Costs the rules plus the ranges closed.
  void CloseAtEndOfText();
  // Tokens from `count` on are gone: drop or reopen ranges accordingly, at
  // the cost TRangeStore::Truncate states.
  void FixRangesAfterTruncation(int count);
  void ClearRanges();
  // How many tokens before the newest a block rule may have changed; a
  // change must drop that many more tokens so they are made again.
  int ClaimLag() const { return m_maxClaimLag; }
  // Whether a rule's BlockName test passes against the open ranges; `self`
  // is the rule when it is a block rule.
  bool BlockNameAllows(const TRuleCollectionItem& rule, const TTagBlockCondition* self) const;

  // Builds the derived collections; gives up (returns false) when `stop` is set.
  bool BuildDerived(TDerivedRanges& out, const std::atomic<bool>& stop) const;
  // Installs new derived collections and hands back the ones they replace.
  TDerivedRanges SwapDerived(TDerivedRanges derived) {
    std::swap(m_derived, derived);
    return derived;
  }
  void ClearDerived() { m_derived = {}; }
  // LineFoldState's answer for the ranges before `lower` by a walk over them,
  // for derived collections that came without their index.
  int LineFoldStateByWalk(std::vector<TCollapsibleRange>::const_iterator lower, std::uint32_t lineStart,
                          std::uint32_t nextStart) const;

  const TSyntAnalyzer* m_owner;
  TAnalysisTextSource& m_source;
  // Copies of ranges the source held split by its gap, so HolderRange can
  // hand out views; dropped when the text changes (ForgetRangeCopies).
  struct TRangeCopy {
    std::uint32_t Start;
    std::uint32_t End;
    std::string Text;
  };
  mutable std::deque<TRangeCopy> m_rangeCopies;
  // The window the token step in progress reads through, or null. Set only
  // for the extent of one step, in which nothing else can move the gap, so
  // token texts inside it need no call to the source.
  const TTextWindow* m_stepWindow = nullptr;
  void ForgetRangeCopies() { m_rangeCopies.clear(); }
  std::uint32_t m_states = 0;
  // Reports an exception raised while block rules were applied.
  std::function<void(const std::exception&)> m_reportError;

private:
  TRangeStore m_store;
  int m_maxClaimLag = 0;  // max tokens back a rule claimed
  TDerivedRanges m_derived;
};

}  // namespace penwick

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
#include "syntax/RangeArena.h"
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
};

// Invariants (CheckInvariants): tokens ordered and disjoint; all ranges
// ordered by (start offset, creation); open ranges are exactly the open
// members of the list, in the same order; every closed range has
// StartIdx <= EndIdx or is at least well-indexed; parents precede children.
class TParserResults : public TTokenHolder {
public:
  TParserResults(const TSyntAnalyzer* owner, TAnalysisTextSource& source);
  ~TParserResults() override;

  std::string_view HolderRange(std::uint32_t start, std::uint32_t end) const override;
  TAnalysisTextSource& Source() const { return m_source; }
  // The styling rule of a token (the token rule or a claiming block rule).
  const TRuleCollectionItem* TokenRule(int index) const;

  int RangeCount() const { return static_cast<int>(m_ranges.size()); }
  const TTextRange& Range(int index) const { return *m_ranges[static_cast<std::size_t>(index)]; }
  int OpenRangeCount() const { return static_cast<int>(m_open.size()); }
  const TTextRange& OpenRange(int index) const { return *m_open[static_cast<std::size_t>(index)]; }

  // Derived collections, as delivered by the last finishing step.
  const std::vector<TCollapsibleRange>& CollapsibleRanges() const { return m_derived.Collapsible; }
  const std::vector<TStyledRange>& StyledRanges() const { return m_derived.Styled; }
  const std::vector<TCollapsibleRange>& Staples() const { return m_derived.Staples; }
  const std::vector<TLineBreakRange>& LineBreaks() const { return m_derived.LineBreaks; }

  // Fold state of a 0-based line over the collapsible ranges: 0 a range
  // starts on the line and ends after it; -1 a range that began above ends on
  // it; -2 the line lies inside a range; -3 none.
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
  // Block rules for the token n-1 (n tokens so far).
  void ApplyBlockRules(int n, TBlockPass pass);
  // Closes the innermost fitting open range for closing rule `rule` at anchor `anchor`.
  bool CloseRange(const TTagBlockCondition& rule, int anchor, int n);
  // End of the text: ranges of EndOfTextClose rules close at the last token.
  void CloseAtEndOfText();
  // Tokens from `count` on are gone: drop or reopen ranges accordingly.
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
  void SetDerived(TDerivedRanges derived) { m_derived = std::move(derived); }
  void ClearDerived() { m_derived = {}; }

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
  TTextRange* AddRange(const TTextRange& range);
  void InsertOpen(TTextRange* range);
  void EraseOpen(std::size_t index);
  void CountOpen(const TTextRange* range, int delta);
  void MarkClosed(TTextRange* range, int n);

  // Ranges live in creation order in the arena. A change deletes the ranges
  // opened by tokens it drops, and openers grow with creation, so deleted
  // ranges are always a suffix of the arena: deleting costs no allocation.
  TRangeArena m_arena;
  std::vector<TTextRange*> m_ranges;                  // ordered by (StartPos, Seq)
  std::vector<TTextRange*> m_open;                    // same order; last is innermost
  std::vector<int> m_openPerRule;                     // open ranges by rule plan index
  // Closed ranges by ClosedAt, ascending, with the two numbers a change
  // compares kept beside the pointer so that the scan stays in one array.
  struct TClosed {
    int ClosedAt;
    int OpenerIdx;
    TTextRange* Range;
  };
  std::vector<TClosed> m_closedOrder;
  std::vector<std::pair<int, bool>> m_lineBreakTokens;  // token index, below
  std::uint64_t m_nextSeq = 0;
  int m_maxOpenerLead = 0;   // max OpenerIdx - StartIdx
  int m_maxEndLead = 0;      // max EndIdx - (ClosedAt - 1)
  int m_maxClaimLag = 0;     // max tokens back a rule claimed
  TDerivedRanges m_derived;
};

}  // namespace penwick

// Block rules over the token list: conditions, ranges, their repair after a change, derived ranges and fold queries.
#include "syntax/ParserResults.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "platform/CodePage.h"
#include "syntax/AnalysisTextSource.h"
#include "syntax/SyntAnalyzer.h"

namespace penwick {

namespace {

int ShiftOf(const TTagBlockCondition& rule) {
  if (rule.RefToCondEnd()) return 0;
  if (rule.BlockOffset() < 0 && rule.BlockOffset() < rule.IdentIndex()) return -rule.BlockOffset();
  if (rule.IdentIndex() < 0) return -rule.IdentIndex();
  return 0;
}

bool RangeOrder(const TTextRange* a, const TTextRange* b) {
  return a->StartPos != b->StartPos ? a->StartPos < b->StartPos : a->Seq < b->Seq;
}

}  // namespace

TParserResults::TParserResults(const TSyntAnalyzer* owner, TAnalysisTextSource& source)
    : m_owner(owner), m_source(source) {}

TParserResults::~TParserResults() = default;

std::string_view TParserResults::HolderRange(std::uint32_t start, std::uint32_t end) const {
  if (end < start) return {};
  if (const TTextWindow* w = m_stepWindow; w && start >= w->Start && end - w->Start <= w->Text.size())
    return w->Text.substr(start - w->Start, end - start);
  std::string_view out;
  if (m_source.ContiguousRange(start, end - start, out)) return out;
  if (end > m_source.TextLength()) return {};
  // Split by the gap (rare: tokens are read right after they were made, and
  // the analysis reads from the gap on). A copy, kept until the text changes;
  // asking again for the same range reuses it.
  for (const TRangeCopy& copy : m_rangeCopies)
    if (copy.Start == start && copy.End == end) return copy.Text;
  m_rangeCopies.push_back({start, end, m_source.TextRange(start, end - start)});
  return m_rangeCopies.back().Text;
}

const TRuleCollectionItem* TParserResults::TokenRule(int index) const {
  if (!m_owner || index < 0 || index >= TokenCount()) return nullptr;
  return m_owner->RuleById(Token(index).RuleId);
}

int TParserResults::ConditionsMatch(const TTagBlockCondition& rule, int n) const {
  std::vector<const TSingleTagCondition*> conditions;
  for (int c = 0; c < rule.ConditionList().Count(); ++c) conditions.push_back(rule.ConditionList()[c]);
  return ConditionsMatch(conditions, ShiftOf(rule), n);
}

int TParserResults::ConditionsMatch(const std::vector<const TSingleTagCondition*>& conds, int shift, int n) const {
  const int count = static_cast<int>(conds.size());
  if (count == 0) return -1;
  auto textOf = [&](int i) { return TokenText(i); };
  auto test = [&](const TSingleTagCondition* c, int i) { return c->Test(textOf(i), m_tokens[static_cast<std::size_t>(i)].TokenType); };
  int idx = n - 1 - shift;
  int first = -1;
  for (int c = 0; c < count; ++c) {
    if (idx < 0) return -1;
    const TSingleTagCondition* cond = conds[static_cast<std::size_t>(c)];
    if (cond->CondType() == tcSkip && c + 1 < count && conds[static_cast<std::size_t>(c) + 1]->CondType() != tcSkip) {
      const TSingleTagCondition* next = conds[static_cast<std::size_t>(c) + 1];
      while (idx >= 0 && !test(next, idx)) {
        if (!test(cond, idx)) return -1;
        --idx;
      }
      if (idx < 0) return -1;
      ++c;  // `next` met the token where the walk stopped
    } else if (!test(cond, idx)) {
      return -1;
    }
    first = idx;
    --idx;
  }
  return first;
}

bool TParserResults::BlockNameAllows(const TRuleCollectionItem& rule, const TTagBlockCondition* self) const {
  const TTagBlockCondition* target = rule.Block();
  if (!target) return true;
  bool found = false;
  if (rule.StrictParent()) {
    int j = static_cast<int>(m_open.size()) - 1;
    if (self && self->SelfClose() && j >= 0 && m_open[static_cast<std::size_t>(j)]->Rule == self) --j;
    while (j >= 0 && m_open[static_cast<std::size_t>(j)]->Rule->IgnoreAsParent()) --j;
    found = j >= 0 && m_open[static_cast<std::size_t>(j)]->Rule == target;
  } else {
    const int index = target->PlanIndex();
    found = index >= 0 && static_cast<std::size_t>(index) < m_openPerRule.size() && m_openPerRule[static_cast<std::size_t>(index)] > 0;
  }
  return found != rule.NotParent();
}

void TParserResults::CountOpen(const TTextRange* range, int delta) {
  const int index = range->Rule ? range->Rule->PlanIndex() : -1;
  if (index < 0) return;
  if (static_cast<std::size_t>(index) >= m_openPerRule.size()) m_openPerRule.resize(static_cast<std::size_t>(index) + 1, 0);
  m_openPerRule[static_cast<std::size_t>(index)] += delta;
}

void TParserResults::InsertOpen(TTextRange* range) {
  auto it = std::upper_bound(m_open.begin(), m_open.end(), range, RangeOrder);
  m_open.insert(it, range);
  CountOpen(range, +1);
}

void TParserResults::EraseOpen(std::size_t index) {
  CountOpen(m_open[index], -1);
  m_open.erase(m_open.begin() + static_cast<std::ptrdiff_t>(index));
}

TTextRange* TParserResults::AddRange(const TTextRange& range) {
  TTextRange* raw = m_arena.push_back(range);
  auto it = std::upper_bound(m_ranges.begin(), m_ranges.end(), raw, RangeOrder);
  m_ranges.insert(it, raw);
  m_maxOpenerLead = std::max(m_maxOpenerLead, raw->OpenerIdx - raw->StartIdx);
  return raw;
}

void TParserResults::MarkClosed(TTextRange* range, int n) {
  range->ClosedAt = n;
  m_closedOrder.push_back({n, range->OpenerIdx, range});
  m_maxEndLead = std::max(m_maxEndLead, range->EndIdx - (n - 1));
}

bool TParserResults::CloseRange(const TTagBlockCondition& rule, int anchor, int n) {
  for (int j = static_cast<int>(m_open.size()) - 1; j >= 0; --j) {
    TTextRange* r = m_open[static_cast<std::size_t>(j)];
    bool fits = rule.BlockType() == btRangeStart ? (rule.SelfClose() && r->Rule == &rule)
                                                 : (r->Rule->BlockEndRule() == &rule || rule.BlockEndRule() == r->Rule);
    if (!fits) continue;
    if (rule.SameIdent()) {
      const int identIdx = anchor - rule.IdentIndex();
      if (identIdx < 0 || identIdx >= n || r->IdentIdx < 0 ||
          !TCodePage::Default().SameText(TokenText(r->IdentIdx), TokenText(identIdx)))
        continue;
    }
    int end = anchor - rule.BlockOffset();
    if (r->Rule == &rule && end > 0) --end;
    // A range never ends before it starts.
    r->EndIdx = std::max(end, r->StartIdx);
    r->CloserIdx = anchor;
    EraseOpen(static_cast<std::size_t>(j));
    MarkClosed(r, n);
    return true;
  }
  return false;
}

void TParserResults::ApplyBlockRules(int n, TBlockPass pass) {
  if (!m_owner || n <= 0) return;
  const TAnalyzerPlan& plan = m_owner->Plan();
  for (const TBlockRulePlan& entry : plan.BlockRules) {
    const TTagBlockCondition& rule = *entry.Rule;
    if (pass != TBlockPass::All && (pass == TBlockPass::TagOnly) != entry.PlainTag) continue;
    // Most rules fail on the newest token's type alone.
    if (entry.FirstTypes && !rule.GrammaRule()) {
      const int idx = n - 1 - entry.Shift;
      if (idx < 0 || !((entry.FirstTypes >> (static_cast<unsigned>(m_tokens[static_cast<std::size_t>(idx)].TokenType) % 32)) & 1u))
        continue;
    }
    if (!rule.Enabled()) continue;
    if (!rule.StatesAllow(m_states) || !BlockNameAllows(rule, &rule)) continue;
    try {
      const int seqStart = rule.GrammaRule() ? m_owner->Gramma().FirstTokenOfMatch(n - 1, rule.GrammaRule(), *this)
                                             : ConditionsMatch(entry.Conditions, entry.Shift, n);
      if (seqStart < 0) continue;
      m_states = rule.ApplyStates(m_states);
      const int shift = entry.Shift;
      const int anchor = rule.RefToCondEnd() ? seqStart : n - 1 - shift;
      const int ident = anchor - rule.IdentIndex();
      if (ident >= 0 && ident < n) {
        switch (rule.BlockType()) {
          case btTagDetect: {
            TSyntToken& token = m_tokens[static_cast<std::size_t>(ident)];
            token.RuleId = entry.Id;
            if (rule.TokenType() >= 0) token.TokenType = static_cast<std::int16_t>(rule.TokenType());
            m_maxClaimLag = std::max(m_maxClaimLag, n - 1 - ident);
            break;
          }
          case btLineBreak:
            m_lineBreakTokens.emplace_back(ident, rule.LinePos() == lbBottom);
            m_maxClaimLag = std::max(m_maxClaimLag, n - 1 - ident);
            break;
          case btRangeStart: {
            if (rule.SelfClose()) CloseRange(rule, anchor, n);
            const int start = anchor - rule.BlockOffset();
            if (start >= 0 && start < n) {
              TTextRange range;
              range.StartIdx = start;
              range.IdentIdx = ident;
              range.StartPos = Token(start).StartPos;
              range.Rule = &rule;
              range.Parent = m_open.empty() ? nullptr : m_open.back();
              range.OpenerIdx = n - 1;
              range.Seq = m_nextSeq++;
              if (rule.NoEndRule()) {
                const int noEndStart = seqStart - rule.BlockOffset();
                if (noEndStart >= 0 && noEndStart < n) {
                  range.StartIdx = noEndStart;
                  range.StartPos = Token(noEndStart).StartPos;
                }
                range.EndIdx = std::max(n - 1 - shift, range.StartIdx);
                range.CloserIdx = n - 1;
                MarkClosed(AddRange(range), n);
              } else {
                InsertOpen(AddRange(range));
              }
            }
            break;
          }
          case btRangeEnd:
            if (!CloseRange(rule, anchor, n)) continue;
            break;
        }
      }
      if (rule.CancelNextRules()) break;
    } catch (const std::exception& e) {
      if (m_reportError) m_reportError(e);
      break;
    }
  }
}

void TParserResults::CloseAtEndOfText() {
  const int n = TokenCount();
  if (n == 0) return;
  for (std::size_t j = 0; j < m_open.size();) {
    TTextRange* r = m_open[j];
    if (r->Rule->EndOfTextClose()) {
      r->EndIdx = std::max(n - 1, r->StartIdx);
      r->CloserIdx = n - 1;
      EraseOpen(j);
      // Closed "after" every token: any later change reopens it.
      MarkClosed(r, n + 1);
    } else {
      ++j;
    }
  }
}

void TParserResults::FixRangesAfterTruncation(int count) {
  auto reopen = [this](TTextRange* r) {
    r->EndIdx = -1;
    r->CloserIdx = -1;
    r->ClosedAt = -1;
    InsertOpen(r);
  };
  // Closed by a token that is gone: reopen what began before, drop the rest.
  auto closedAfter = std::upper_bound(m_closedOrder.begin(), m_closedOrder.end(), count,
                                      [](int c, const TClosed& r) { return c < r.ClosedAt; });
  for (auto it = closedAfter; it != m_closedOrder.end(); ++it)
    if (it->OpenerIdx < count) reopen(it->Range);
  m_closedOrder.erase(closedAfter, m_closedOrder.end());
  if (m_maxEndLead > 0) {
    for (std::size_t j = m_closedOrder.size(); j-- > 0;) {
      TTextRange* r = m_closedOrder[j].Range;
      if (m_closedOrder[j].ClosedAt <= count - m_maxEndLead) break;
      if (r->EndIdx >= count) {
        m_closedOrder.erase(m_closedOrder.begin() + static_cast<std::ptrdiff_t>(j));
        reopen(r);
      }
    }
  }
  for (std::size_t j = m_open.size(); j-- > 0;)
    if (m_open[j]->OpenerIdx >= count) EraseOpen(j);
  // Every range starting at a dropped token is deleted; before that only
  // the last m_maxOpenerLead tokens can hold ranges opened later.
  auto byStart = [](const TTextRange* r, int idx) { return r->StartIdx < idx; };
  auto cut = std::lower_bound(m_ranges.begin(), m_ranges.end(), count, byStart);
  auto from = std::lower_bound(m_ranges.begin(), cut, count - m_maxOpenerLead, byStart);
  auto kept = std::remove_if(from, cut, [count](const TTextRange* r) { return r->OpenerIdx >= count; });
  m_ranges.erase(kept, m_ranges.end());
  // The dropped ranges are the newest: find where they begin by halving.
  std::size_t lo = 0, hi = m_arena.size();
  while (lo < hi) {
    const std::size_t mid = (lo + hi) / 2;
    if (m_arena[mid].OpenerIdx >= count) hi = mid;
    else lo = mid + 1;
  }
  m_arena.shrink(lo);
  m_lineBreakTokens.erase(std::remove_if(m_lineBreakTokens.begin(), m_lineBreakTokens.end(),
                                         [count](const std::pair<int, bool>& b) { return b.first >= count; }),
                          m_lineBreakTokens.end());
}

void TParserResults::ClearRanges() {
  m_open.clear();
  m_openPerRule.clear();
  m_closedOrder.clear();
  m_ranges.clear();
  m_arena.clear();
  m_lineBreakTokens.clear();
  m_maxOpenerLead = m_maxEndLead = m_maxClaimLag = 0;
}

bool TParserResults::BuildDerived(TDerivedRanges& out, const std::atomic<bool>& stop) const {
  const int n = TokenCount();
  for (std::size_t i = 0; i < m_ranges.size(); ++i) {
    if (stop.load(std::memory_order_relaxed)) return false;
    const TTextRange& r = *m_ranges[i];
    if (r.IsOpen() || r.StartIdx < 0 || r.EndIdx >= n || r.StartIdx > r.EndIdx || !r.Rule) continue;
    const TSyntToken& first = Token(r.StartIdx);
    const TSyntToken& last = Token(r.EndIdx);
    const TCollapsibleRange span{first.StartPos, last.EndPos, static_cast<int>(i)};
    if (!r.Rule->NotCollapsed()) out.Collapsible.push_back(span);
    if (r.Rule->DrawStaple()) out.Staples.push_back(span);
    const TSyntaxFormat* style = r.Rule->Style();
    if (style && r.Rule->DynHighlight() != dhNone) {
      std::uint32_t flags = (r.Rule->Highlight() ? srHighlight : 0u) | (r.Rule->HighlightPos() != cpAny ? srCaretDependent : 0u) |
                            (r.Rule->InvertColors() ? srInvertColors : 0u);
      switch (r.Rule->DynHighlight()) {
        case dhBound:
          out.Styled.push_back({first.StartPos, first.EndPos, style, flags});
          if (r.EndIdx != r.StartIdx) out.Styled.push_back({last.StartPos, last.EndPos, style, flags});
          break;
        case dhRangeNoBound:
          if (first.EndPos < last.StartPos) out.Styled.push_back({first.EndPos, last.StartPos, style, flags});
          break;
        case dhRange:
          out.Styled.push_back({first.StartPos, last.EndPos, style, flags});
          break;
        case dhNone:
          break;
      }
    }
  }
  for (const auto& [token, below] : m_lineBreakTokens)
    if (token >= 0 && token < n) out.LineBreaks.push_back({Token(token).StartPos, below});
  return true;
}

// ----- fold queries -----

bool TParserResults::SpansLines(const TCollapsibleRange& range) const {
  if (range.EndPos <= range.StartPos) return false;
  return LastLineOf(range) > FirstLineOf(range);
}

int TParserResults::FirstLineOf(const TCollapsibleRange& range) const {
  return m_source.LineFromOffset(range.StartPos);
}

int TParserResults::LastLineOf(const TCollapsibleRange& range) const {
  return m_source.LineFromOffset(range.EndPos > range.StartPos ? range.EndPos - 1 : range.StartPos);
}

int TParserResults::LineFoldState(int line) const {
  const auto& ranges = m_derived.Collapsible;
  if (line < 0 || line >= m_source.LineCount()) return -3;
  const std::uint32_t lineStart = static_cast<std::uint32_t>(m_source.LineStartOffset(line));
  const std::uint32_t nextStart = static_cast<std::uint32_t>(m_source.LineStartOffset(line + 1));
  auto lower = std::lower_bound(ranges.begin(), ranges.end(), lineStart,
                                [](const TCollapsibleRange& r, std::uint32_t off) { return r.StartPos < off; });
  for (auto it = lower; it != ranges.end() && it->StartPos < nextStart; ++it)
    if (it->EndPos > nextStart) return 0;
  bool inside = false;
  for (auto it = ranges.begin(); it != lower; ++it) {
    if (it->EndPos <= lineStart) continue;
    if (it->EndPos <= nextStart) return -1;
    inside = true;
  }
  return inside ? -2 : -3;
}

const TCollapsibleRange* TParserResults::RangeStartingOnLine(int line) const {
  const auto& ranges = m_derived.Collapsible;
  if (line < 0 || line >= m_source.LineCount()) return nullptr;
  const std::uint32_t lineStart = static_cast<std::uint32_t>(m_source.LineStartOffset(line));
  const std::uint32_t nextStart = static_cast<std::uint32_t>(m_source.LineStartOffset(line + 1));
  auto it = std::lower_bound(ranges.begin(), ranges.end(), lineStart,
                             [](const TCollapsibleRange& r, std::uint32_t off) { return r.StartPos < off; });
  for (; it != ranges.end() && it->StartPos < nextStart; ++it)
    if (it->EndPos > nextStart) return &*it;
  return nullptr;
}

const TCollapsibleRange* TParserResults::InnermostRangeAt(std::uint32_t offset) const {
  const TCollapsibleRange* best = nullptr;
  for (const auto& r : m_derived.Collapsible) {
    if (r.StartPos > offset) break;
    if (offset < r.EndPos && (!best || r.StartPos >= best->StartPos)) best = &r;
  }
  return best;
}

// ----- range texts -----

std::string TParserResults::CollapseText(const TCollapsibleRange& range) const {
  if (range.RangeIndex < 0 || range.RangeIndex >= RangeCount()) return {};
  return CollapseText(Range(range.RangeIndex));
}

std::string TParserResults::CollapseText(const TTextRange& range) const {
  if (!range.Rule) return {};
  return FormatRangeText(range.Rule->CollapseFmt(), range);
}

namespace {

struct TFieldPos {
  int Index = -1;
  bool Nothing = false;  // the field gives no text
  char Mode = 0;         // 'L', 'Z' or 0
};

}  // namespace

std::string TParserResults::FormatRangeText(const std::string& format, const TTextRange& range) const {
  try {
    const int n = TokenCount();
    const std::size_t len = format.size();

    auto upper = [&](std::size_t p) { return p < len ? static_cast<char>(std::toupper(static_cast<unsigned char>(format[p]))) : '\0'; };
    auto readNumber = [&](std::size_t& p, int& value) {
      std::size_t q = p;
      int sign = 1;
      if (q < len && (format[q] == '+' || format[q] == '-')) sign = format[q++] == '-' ? -1 : 1;
      if (q >= len || !std::isdigit(static_cast<unsigned char>(format[q]))) return false;
      long v = 0;
      while (q < len && std::isdigit(static_cast<unsigned char>(format[q]))) v = std::min<long>(v * 10 + (format[q++] - '0'), 1000000);
      value = sign * static_cast<int>(v);
      p = q;
      return true;
    };
    // Steps: parents, S/E, L/Z or [text], number. False: not a field.
    auto readPosition = [&](std::size_t& p, TFieldPos& out) {
      const TTextRange* r = &range;
      while (upper(p) == 'P') {
        r = r ? r->Parent : nullptr;
        ++p;
      }
      const char which = upper(p);
      if (which != 'S' && which != 'E') return false;
      ++p;
      int dir = 1;
      int idx = -1;
      if (!r) out.Nothing = true;
      else if (which == 'S') idx = r->StartIdx + r->Rule->BlockOffset();
      else {
        dir = -1;
        if (r->IsOpen() || !r->Rule->BlockEndRule()) out.Nothing = true;
        else idx = r->EndIdx + r->Rule->BlockEndRule()->BlockOffset();
      }
      bool searched = false;
      if (upper(p) == 'L' || upper(p) == 'Z') {
        out.Mode = upper(p);
        ++p;
      } else if (p < len && format[p] == '[') {
        const std::size_t close = format.find(']', p + 1);
        if (close == std::string::npos) return false;
        const std::string wanted = format.substr(p + 1, close - p - 1);
        p = close + 1;
        searched = true;
        if (!out.Nothing && r) {
          const int lo = r->StartIdx, hi = r->IsOpen() ? n - 1 : r->EndIdx;
          int found = -1;
          for (int i = idx; i >= lo && i <= hi; i += dir)
            if (TokenText(i) == wanted) {
              found = i;
              break;
            }
          if (found < 0) out.Nothing = true;
          idx = found;
        }
      }
      int number = 0;
      if (!readNumber(p, number) && !searched) return false;
      idx -= number;
      out.Index = idx;
      return true;
    };
    auto tokenText = [&](const TFieldPos& f) -> std::string {
      if (f.Nothing || f.Index < 0 || f.Index >= n) return {};
      const TSyntToken& t = Token(f.Index);
      std::size_t from = t.StartPos, to = t.EndPos;
      if (f.Mode == 'L') {
        TTextWindow window;
        from = m_source.StartAfterBreakBefore(from, window);
      } else if (f.Mode == 'Z') {
        const TTextWindow window = m_source.WindowFrom(to);
        const std::size_t end = window.Start + window.Text.size();
        while (to < end && window.Text[to - window.Start] != '\n' && window.Text[to - window.Start] != '\r') ++to;
      }
      if (to > m_source.TextLength()) return {};
      return m_source.TextRange(from, to - from);
    };

    std::string out;
    std::size_t k = 0;
    while (k < len) {
      if (format[k] != '%' || k + 1 >= len) {
        out += format[k++];
        continue;
      }
      std::size_t p = k + 1;
      if (format[p] == ':') {
        const std::size_t close = format.find(':', p + 1);
        if (close == std::string::npos) {
          out += format[k++];
          continue;
        }
        p = close + 1;
      }
      TFieldPos first;
      if (!readPosition(p, first)) {
        out += format[k++];
        continue;
      }
      std::string value;
      if (p < len && format[p] == '~') {
        ++p;
        TFieldPos second;
        bool ok;
        if (p < len && std::isdigit(static_cast<unsigned char>(format[p]))) {
          int number = 0;
          ok = readNumber(p, number);
          second.Index = range.IsOpen() ? -1 : range.EndIdx - number;
          second.Nothing = range.IsOpen();
        } else {
          ok = readPosition(p, second);
        }
        if (!ok) {
          out += format[k++];
          continue;
        }
        int cap = -1;
        if (p < len && format[p] == '~') {
          std::size_t q = p + 1;
          int number = 0;
          if (readNumber(q, number)) {
            cap = number;
            p = q;
          }
        }
        if (!first.Nothing && !second.Nothing && first.Index >= 0 && second.Index >= 0 && first.Index < n && second.Index < n) {
          const int lo = std::min(first.Index, second.Index), hi = std::max(first.Index, second.Index);
          int taken = 0;
          for (int i = lo; i <= hi; ++i) {
            if (cap >= 0 && taken == cap) {
              value += " ...";
              break;
            }
            if (taken) value += ' ';
            value += TokenText(i);
            ++taken;
          }
        }
      } else {
        value = tokenText(first);
      }
      out += value;
      k = p;
    }
    return out;
  } catch (...) {
    return {};
  }
}

// ----- checks -----

std::size_t TParserResults::AnalysisMemory() const {
  return m_tokens.capacity() * sizeof(TSyntToken) + m_arena.capacity() * sizeof(TTextRange) +
         (m_ranges.capacity() + m_open.capacity()) * sizeof(TTextRange*) + m_closedOrder.capacity() * sizeof(TClosed) +
         m_derived.Collapsible.capacity() * sizeof(TCollapsibleRange) + m_derived.Styled.capacity() * sizeof(TStyledRange) +
         m_derived.Staples.capacity() * sizeof(TCollapsibleRange) + m_derived.LineBreaks.capacity() * sizeof(TLineBreakRange);
}

std::string TParserResults::CheckInvariants() const {
  std::ostringstream err;
  for (int i = 0; i < TokenCount(); ++i) {
    const TSyntToken& t = Token(i);
    if (t.StartPos >= t.EndPos) err << "token " << i << " is empty\n";
    if (i > 0 && Token(i - 1).EndPos > t.StartPos) err << "token " << i << " overlaps its predecessor\n";
  }
  std::vector<const TTextRange*> openSeen;
  for (std::size_t i = 0; i < m_ranges.size(); ++i) {
    const TTextRange* r = m_ranges[i];
    if (i > 0 && RangeOrder(r, m_ranges[i - 1])) err << "range " << i << " out of order\n";
    if (r->StartIdx < 0 || r->StartIdx >= TokenCount()) err << "range " << i << " starts outside the tokens\n";
    else if (Token(r->StartIdx).StartPos != r->StartPos) err << "range " << i << " start offset differs from its token\n";
    if (!r->IsOpen() && r->EndIdx < r->StartIdx) err << "range " << i << " ends before it starts\n";
    if (r->IsOpen()) openSeen.push_back(r);
  }
  if (m_arena.size() != m_ranges.size()) err << "arena holds " << m_arena.size() << " ranges, the list " << m_ranges.size() << '\n';
  for (std::size_t i = 1; i < m_arena.size(); ++i)
    if (m_arena[i].OpenerIdx < m_arena[i - 1].OpenerIdx) err << "arena openers out of order at " << i << '\n';
  std::vector<int> counts(m_openPerRule.size(), 0);
  for (const TTextRange* r : m_open)
    if (r->Rule && r->Rule->PlanIndex() >= 0 && static_cast<std::size_t>(r->Rule->PlanIndex()) < counts.size())
      ++counts[static_cast<std::size_t>(r->Rule->PlanIndex())];
  if (counts != m_openPerRule) err << "open counts per rule differ from the open list\n";
  if (openSeen.size() != m_open.size() || !std::equal(openSeen.begin(), openSeen.end(), m_open.begin()))
    err << "open list differs from the open members of all ranges\n";
  return err.str();
}

std::string TParserResults::DebugDump() const {
  std::ostringstream out;
  for (int i = 0; i < TokenCount(); ++i) {
    const TSyntToken& t = Token(i);
    out << "T " << t.StartPos << ' ' << t.EndPos << ' ' << t.TokenType << ' ' << t.RuleId << '\n';
  }
  auto indexOf = [this](const TTextRange* r) -> int {
    for (std::size_t i = 0; i < m_ranges.size(); ++i)
      if (m_ranges[i] == r) return static_cast<int>(i);
    return -1;
  };
  for (const auto& r : m_ranges)
    out << "R " << r->StartIdx << ' ' << r->EndIdx << ' ' << r->IdentIdx << ' ' << r->StartPos << ' ' << r->OpenerIdx << ' '
        << r->CloserIdx << ' '
        << (r->Rule ? r->Rule->DisplayName() : "-") << " parent " << indexOf(r->Parent) << '\n';
  for (const TTextRange* r : m_open) out << "O " << indexOf(r) << '\n';
  for (const auto& c : m_derived.Collapsible) out << "C " << c.StartPos << ' ' << c.EndPos << ' ' << c.RangeIndex << '\n';
  for (const auto& s : m_derived.Styled) out << "S " << s.StartPos << ' ' << s.EndPos << ' ' << s.Flags << '\n';
  return out.str();
}

}  // namespace penwick

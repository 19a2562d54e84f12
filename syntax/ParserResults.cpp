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
  TTextMemo memo;
  return ConditionsMatch(conds, shift, n, memo);
}

int TParserResults::ConditionsMatch(const std::vector<const TSingleTagCondition*>& conds, int shift, int n,
                                    TTextMemo& memo) const {
  const int count = static_cast<int>(conds.size());
  if (count == 0) return -1;
  auto textOf = [&](int i) {
    if (i != memo.Index) {
      memo.Index = i;
      memo.Text = TokenText(i);
    }
    return memo.Text;
  };
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
    const TTextRange* parent = m_store.InnermostParent(self);
    found = parent && parent->Rule == target;
  } else {
    found = !m_store.OpenOf(target->PlanIndex()).empty();
  }
  return found != rule.NotParent();
}

bool TParserResults::CloseRange(const TTagBlockCondition& rule, int anchor, int n) {
  const std::vector<TBlockRulePlan>& plan = m_owner->Plan().BlockRules;
  const int own = rule.PlanIndex();
  if (own < 0 || static_cast<std::size_t>(own) >= plan.size()) return false;
  // From the innermost open range outwards, over the open ranges of the
  // rules this one may close: the lists' ends, newest first.
  struct TCursor {
    int Rule;
    std::size_t Left;  // ranges of the list not passed over yet
  };
  std::vector<TCursor> cursors;
  for (int index : plan[static_cast<std::size_t>(own)].Closes)
    if (const std::size_t size = m_store.OpenOf(index).size()) cursors.push_back({index, size});
  for (;;) {
    TCursor* best = nullptr;
    const TTextRange* r = nullptr;
    for (TCursor& c : cursors) {
      if (c.Left == 0) continue;
      const TTextRange* candidate = m_store.OpenOf(c.Rule)[c.Left - 1];
      if (!r || RangeOrder(r, candidate)) {
        r = candidate;
        best = &c;
      }
    }
    if (!best) return false;
    if (rule.SameIdent()) {
      const int identIdx = anchor - rule.IdentIndex();
      if (identIdx < 0 || identIdx >= n || r->IdentIdx < 0 ||
          !TCodePage::Default().SameText(TokenText(r->IdentIdx), TokenText(identIdx))) {
        --best->Left;
        continue;
      }
    }
    int end = anchor - rule.BlockOffset();
    if (r->Rule == &rule && end > 0) --end;
    // A range never ends before it starts.
    m_store.Close(best->Rule, best->Left - 1, std::max(end, r->StartIdx), anchor, n);
    return true;
  }
}

void TParserResults::ApplyBlockRules(int n, TBlockPass pass) {
  if (!m_owner || n <= 0) return;
  const TAnalyzerPlan& plan = m_owner->Plan();
  // The rules here change token types and claims, never token positions.
  TTextMemo memo;
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
                                             : ConditionsMatch(entry.Conditions, entry.Shift, n, memo);
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
            m_store.AddLineBreak(ident, rule.LinePos() == lbBottom, n);
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
              range.Parent = m_store.Innermost();
              range.OpenerIdx = n - 1;
              if (rule.NoEndRule()) {
                const int noEndStart = seqStart - rule.BlockOffset();
                if (noEndStart >= 0 && noEndStart < n) {
                  range.StartIdx = noEndStart;
                  range.StartPos = Token(noEndStart).StartPos;
                }
                range.EndIdx = std::max(n - 1 - shift, range.StartIdx);
                range.CloserIdx = n - 1;
                range.ClosedAt = n;
              }
              m_store.Add(range, rule.PlanIndex());
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
  if (n == 0 || !m_owner) return;
  const std::vector<TBlockRulePlan>& plan = m_owner->Plan().BlockRules;
  for (std::size_t i = 0; i < plan.size(); ++i)
    if (plan[i].Rule->EndOfTextClose() && !m_store.OpenOf(static_cast<int>(i)).empty())
      // Closed "after" every token: any later change reopens it.
      m_store.CloseAll(static_cast<int>(i), n - 1, n - 1, n + 1);
}

void TParserResults::FixRangesAfterTruncation(int count) { m_store.Truncate(count); }

void TParserResults::ClearRanges() {
  m_store.Clear();
  m_maxClaimLag = 0;
}

bool TParserResults::BuildDerived(TDerivedRanges& out, const std::atomic<bool>& stop) const {
  const int n = TokenCount();
  for (int i = 0; i < m_store.Count(); ++i) {
    if (stop.load(std::memory_order_relaxed)) return false;
    const TTextRange& r = m_store.At(i);
    if (r.IsOpen() || r.StartIdx < 0 || r.EndIdx >= n || r.StartIdx > r.EndIdx || !r.Rule) continue;
    const TSyntToken& first = Token(r.StartIdx);
    const TSyntToken& last = Token(r.EndIdx);
    const TCollapsibleRange span{first.StartPos, last.EndPos, i};
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
  for (const TRangeStore::TLineBreak& b : m_store.LineBreaks()) {
    if (stop.load(std::memory_order_relaxed)) return false;
    if (b.Token >= 0 && b.Token < n) out.LineBreaks.push_back({Token(b.Token).StartPos, b.Below});
  }
  std::uint32_t maxEnd = 0;
  out.CollapsibleMaxEnd.reserve(out.Collapsible.size());
  out.CollapsibleByEnd.reserve(out.Collapsible.size());
  for (const TCollapsibleRange& r : out.Collapsible) {
    maxEnd = std::max(maxEnd, r.EndPos);
    out.CollapsibleMaxEnd.push_back(maxEnd);
    out.CollapsibleByEnd.emplace_back(r.EndPos, r.StartPos);
  }
  if (stop.load(std::memory_order_relaxed)) return false;
  std::sort(out.CollapsibleByEnd.begin(), out.CollapsibleByEnd.end());
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

int TParserResults::LineFoldStateByWalk(std::vector<TCollapsibleRange>::const_iterator lower,
                                        std::uint32_t lineStart, std::uint32_t nextStart) const {
  bool inside = false;
  for (auto it = m_derived.Collapsible.begin(); it != lower; ++it) {
    if (it->EndPos <= lineStart) continue;
    if (it->EndPos <= nextStart) return -1;
    inside = true;
  }
  return inside ? -2 : -3;
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
  // Ranges that start above the line: none reaches into it unless the
  // largest end among them does.
  const std::size_t above = static_cast<std::size_t>(lower - ranges.begin());
  const auto& maxEnd = m_derived.CollapsibleMaxEnd;
  if (maxEnd.size() != ranges.size()) return LineFoldStateByWalk(lower, lineStart, nextStart);
  if (above == 0 || maxEnd[above - 1] <= lineStart) return -3;
  // One of them ends on the line: among the ranges ending there, one that began above.
  const auto& byEnd = m_derived.CollapsibleByEnd;
  for (auto it = std::upper_bound(byEnd.begin(), byEnd.end(), std::pair(lineStart, UINT32_MAX));
       it != byEnd.end() && it->first <= nextStart; ++it)
    if (it->second < lineStart) return -1;
  // Otherwise the one that reaches into the line goes on past it.
  return -2;
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
  return m_tokens.MemoryBytes() + m_store.MemoryBytes() + m_derived.Collapsible.capacity() * sizeof(TCollapsibleRange) + m_derived.Styled.capacity() * sizeof(TStyledRange) +
         m_derived.Staples.capacity() * sizeof(TCollapsibleRange) + m_derived.LineBreaks.capacity() * sizeof(TLineBreakRange) +
         m_derived.CollapsibleMaxEnd.capacity() * sizeof(std::uint32_t) +
         m_derived.CollapsibleByEnd.capacity() * sizeof(std::pair<std::uint32_t, std::uint32_t>);
}

std::string TParserResults::CheckInvariants() const {
  std::ostringstream err;
  for (int i = 0; i < TokenCount(); ++i) {
    const TSyntToken& t = Token(i);
    if (t.StartPos >= t.EndPos) err << "token " << i << " is empty\n";
    if (i > 0 && Token(i - 1).EndPos > t.StartPos) err << "token " << i << " overlaps its predecessor\n";
  }
  std::vector<const TTextRange*> openSeen;
  for (int i = 0; i < m_store.Count(); ++i) {
    const TTextRange* r = &m_store.At(i);
    if (i > 0 && RangeOrder(r, &m_store.At(i - 1))) err << "range " << i << " out of order\n";
    if (r->StartIdx < 0 || r->StartIdx >= TokenCount()) err << "range " << i << " starts outside the tokens\n";
    else if (Token(r->StartIdx).StartPos != r->StartPos) err << "range " << i << " start offset differs from its token\n";
    if (!r->IsOpen() && r->EndIdx < r->StartIdx) err << "range " << i << " ends before it starts\n";
    if (r->IsOpen()) openSeen.push_back(r);
  }
  err << m_store.CheckInvariants();
  bool sameOpen = openSeen.size() == static_cast<std::size_t>(m_store.OpenCount());
  for (std::size_t i = 0; sameOpen && i < openSeen.size(); ++i) sameOpen = openSeen[i] == &m_store.OpenAt(static_cast<int>(i));
  if (!sameOpen) err << "open list differs from the open members of all ranges\n";
  return err.str();
}

std::string TParserResults::DebugDump() const {
  std::ostringstream out;
  for (int i = 0; i < TokenCount(); ++i) {
    const TSyntToken& t = Token(i);
    out << "T " << t.StartPos << ' ' << t.EndPos << ' ' << t.TokenType << ' ' << t.RuleId << '\n';
  }
  auto indexOf = [this](const TTextRange* r) -> int {
    for (int i = 0; i < m_store.Count(); ++i)
      if (&m_store.At(i) == r) return i;
    return -1;
  };
  for (int i = 0; i < m_store.Count(); ++i) {
    const TTextRange* r = &m_store.At(i);
    out << "R " << r->StartIdx << ' ' << r->EndIdx << ' ' << r->IdentIdx << ' ' << r->StartPos << ' ' << r->OpenerIdx << ' '
        << r->CloserIdx << ' '
        << (r->Rule ? r->Rule->DisplayName() : "-") << " parent " << indexOf(r->Parent) << '\n';
  }
  for (int i = 0; i < m_store.OpenCount(); ++i) out << "O " << indexOf(&m_store.OpenAt(i)) << '\n';
  for (const auto& c : m_derived.Collapsible) out << "C " << c.StartPos << ' ' << c.EndPos << ' ' << c.RangeIndex << '\n';
  for (const auto& s : m_derived.Styled) out << "S " << s.StartPos << ' ' << s.EndPos << ' ' << s.Flags << '\n';
  return out.str();
}

}  // namespace penwick

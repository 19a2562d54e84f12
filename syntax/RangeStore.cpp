// Range bookkeeping: adding, closing, the merged open view, and the repair after the tokens were cut.
#include "syntax/RangeStore.h"

#include <algorithm>
#include <sstream>

#include "syntax/TagBlockCondition.h"

namespace penwick {

namespace {
const std::vector<TTextRange*> kNoRanges;

// The first range of an ordered list whose start token is at least `index`.
std::vector<TTextRange*>::iterator FirstStartingAt(std::vector<TTextRange*>& list, int index) {
  return std::lower_bound(list.begin(), list.end(), index, [](const TTextRange* r, int i) { return r->StartIdx < i; });
}
}  // namespace

int TRangeStore::ReopenKey(const TTextRange& range) {
  // Cutting to `count` tokens reopens a closed range when the token that
  // closed it (ClosedAt - 1) or its end token goes.
  return range.IsOpen() ? 0 : std::max(range.ClosedAt, range.EndIdx + 1);
}

std::vector<TTextRange*>& TRangeStore::ListOf(int ruleIndex) {
  if (static_cast<std::size_t>(ruleIndex) >= m_open.size()) m_open.resize(static_cast<std::size_t>(ruleIndex) + 1);
  return m_open[static_cast<std::size_t>(ruleIndex)];
}

const std::vector<TTextRange*>& TRangeStore::OpenOf(int ruleIndex) const {
  if (ruleIndex < 0 || static_cast<std::size_t>(ruleIndex) >= m_open.size()) return kNoRanges;
  return m_open[static_cast<std::size_t>(ruleIndex)];
}

const TTextRange& TRangeStore::OpenAt(int index) const {
  if (m_openViewDirty || m_openView.size() != static_cast<std::size_t>(m_openCount)) {
    m_openView.clear();
    for (const auto& list : m_open) m_openView.insert(m_openView.end(), list.begin(), list.end());
    std::sort(m_openView.begin(), m_openView.end(), RangeOrder);
    m_openViewDirty = false;
  }
  return *m_openView[static_cast<std::size_t>(index)];
}

TTextRange* TRangeStore::Innermost() const {
  TTextRange* best = nullptr;
  for (const auto& list : m_open)
    if (!list.empty() && (!best || RangeOrder(best, list.back()))) best = list.back();
  return best;
}

const TTextRange* TRangeStore::InnermostParent(const TTagBlockCondition* self) const {
  const TTextRange* innermost = Innermost();
  const TTextRange* skip = self && self->SelfClose() && innermost && innermost->Rule == self ? innermost : nullptr;
  const TTextRange* best = nullptr;
  for (const auto& list : m_open) {
    if (list.empty() || list.back()->Rule->IgnoreAsParent()) continue;
    const TTextRange* candidate = list.back();
    if (candidate == skip) candidate = list.size() > 1 ? list[list.size() - 2] : nullptr;
    if (candidate && (!best || RangeOrder(best, candidate))) best = candidate;
  }
  return best;
}

TTextRange* TRangeStore::Add(const TTextRange& range, int ruleIndex) {
  TTextRange* raw = m_arena.push_back(range);
  raw->Seq = m_arena.size() - 1;
  m_reopen.Push(ReopenKey(*raw));
  m_ranges.insert(std::upper_bound(m_ranges.begin(), m_ranges.end(), raw, RangeOrder), raw);
  m_maxOpenerLead = std::max(m_maxOpenerLead, raw->OpenerIdx - raw->StartIdx);
  if (raw->IsOpen()) {
    std::vector<TTextRange*>& list = ListOf(ruleIndex);
    list.insert(std::upper_bound(list.begin(), list.end(), raw, RangeOrder), raw);
    ++m_openCount;
    OpenListsChanged();
  }
  return raw;
}

void TRangeStore::Close(int ruleIndex, std::size_t position, int endIdx, int closerIdx, int closedAt) {
  std::vector<TTextRange*>& list = ListOf(ruleIndex);
  TTextRange* r = list[position];
  r->EndIdx = endIdx;
  r->CloserIdx = closerIdx;
  r->ClosedAt = closedAt;
  m_reopen.Set(static_cast<std::size_t>(r->Seq), ReopenKey(*r));
  list.erase(list.begin() + static_cast<std::ptrdiff_t>(position));
  --m_openCount;
  OpenListsChanged();
}

void TRangeStore::CloseAll(int ruleIndex, int endIdx, int closerIdx, int closedAt) {
  std::vector<TTextRange*>& list = ListOf(ruleIndex);
  for (TTextRange* r : list) {
    r->EndIdx = std::max(endIdx, r->StartIdx);
    r->CloserIdx = closerIdx;
    r->ClosedAt = closedAt;
    m_reopen.Set(static_cast<std::size_t>(r->Seq), ReopenKey(*r));
  }
  m_openCount -= static_cast<int>(list.size());
  list.clear();
  OpenListsChanged();
}

void TRangeStore::AddLineBreak(int token, bool below, int tokenCount) {
  m_lineBreaks.push_back({token, below, tokenCount});
}

void TRangeStore::Truncate(int count) {
  // Open ranges opened by a dropped token leave their lists: all those
  // starting at a dropped token, and some of those starting no more than
  // MaxOpenerLead() tokens before the cut.
  for (auto& list : m_open) {
    auto cut = FirstStartingAt(list, count);
    auto from = std::min(FirstStartingAt(list, count - m_maxOpenerLead), cut);
    auto kept = std::remove_if(from, cut, [count](const TTextRange* r) { return r->OpenerIdx >= count; });
    m_openCount -= static_cast<int>(list.end() - kept);
    list.erase(kept, list.end());
  }
  // The ranges opened by dropped tokens are the newest: where they begin,
  // by halving. They leave the reopen index before it is searched.
  std::size_t lo = 0, hi = m_arena.size();
  while (lo < hi) {
    const std::size_t mid = (lo + hi) / 2;
    if (m_arena[mid].OpenerIdx >= count) hi = mid;
    else lo = mid + 1;
  }
  m_reopen.Shrink(lo);
  // Closed by a dropped token, or ending at one: open again, and back into
  // their rules' lists, merged in order behind the open ranges before them.
  std::vector<std::size_t> slots;
  m_reopen.CollectAbove(count, slots);
  std::vector<std::pair<int, TTextRange*>> reopened;
  reopened.reserve(slots.size());
  for (std::size_t slot : slots) {
    TTextRange& r = m_arena[slot];
    r.EndIdx = -1;
    r.CloserIdx = -1;
    r.ClosedAt = -1;
    m_reopen.Set(slot, 0);
    if (r.Rule && r.Rule->PlanIndex() >= 0) reopened.emplace_back(r.Rule->PlanIndex(), &r);
  }
  std::sort(reopened.begin(), reopened.end(), [](const auto& a, const auto& b) {
    return a.first != b.first ? a.first < b.first : RangeOrder(a.second, b.second);
  });
  for (std::size_t i = 0; i < reopened.size();) {
    const int ruleIndex = reopened[i].first;
    std::vector<TTextRange*>& list = ListOf(ruleIndex);
    const std::size_t before = list.size();
    for (; i < reopened.size() && reopened[i].first == ruleIndex; ++i) list.push_back(reopened[i].second);
    m_openCount += static_cast<int>(list.size() - before);
    const auto added = list.begin() + static_cast<std::ptrdiff_t>(before);
    std::inplace_merge(std::upper_bound(list.begin(), added, *added, RangeOrder), added, list.end(), RangeOrder);
  }
  OpenListsChanged();
  // Every range starting at a dropped token goes; before that, only the
  // last MaxOpenerLead() tokens can hold ranges opened later.
  auto cut = FirstStartingAt(m_ranges, count);
  auto from = FirstStartingAt(m_ranges, count - m_maxOpenerLead);
  from = std::min(from, cut);
  auto kept = std::remove_if(from, cut, [count](const TTextRange* r) { return r->OpenerIdx >= count; });
  m_ranges.erase(kept, m_ranges.end());
  m_arena.shrink(lo);
  // Line breaks recorded by a dropped token go (the token is read again and
  // records them again); they were recorded in token order.
  m_lineBreaks.erase(std::upper_bound(m_lineBreaks.begin(), m_lineBreaks.end(), count,
                                      [](int c, const TLineBreak& b) { return c < b.RecordedAt; }),
                     m_lineBreaks.end());
}

void TRangeStore::Clear() {
  m_arena.clear();
  m_reopen.Clear();
  m_ranges.clear();
  m_open.clear();
  m_openCount = 0;
  m_openView.clear();
  m_openViewDirty = false;
  m_lineBreaks.clear();
  m_maxOpenerLead = 0;
}

std::size_t TRangeStore::MemoryBytes() const {
  std::size_t open = 0;
  for (const auto& list : m_open) open += list.capacity();
  return m_arena.capacity() * sizeof(TTextRange) + (m_ranges.capacity() + open) * sizeof(TTextRange*) +
         m_reopen.Size() * sizeof(int) * 2 + m_lineBreaks.capacity() * sizeof(TLineBreak);
}

std::string TRangeStore::CheckInvariants() const {
  std::ostringstream err;
  if (m_arena.size() != m_ranges.size()) err << "arena holds " << m_arena.size() << " ranges, the list " << m_ranges.size() << '\n';
  if (m_reopen.Size() != m_arena.size()) err << "reopen index holds " << m_reopen.Size() << " keys for " << m_arena.size() << " ranges\n";
  int open = 0;
  for (std::size_t i = 0; i < m_arena.size(); ++i) {
    const TTextRange& r = m_arena[i];
    if (r.Seq != i) err << "range in slot " << i << " has Seq " << r.Seq << '\n';
    if (i > 0 && r.OpenerIdx < m_arena[i - 1].OpenerIdx) err << "arena openers out of order at " << i << '\n';
    if (i < m_reopen.Size() && m_reopen.Key(i) != ReopenKey(r)) err << "reopen key of slot " << i << " is stale\n";
    if (r.IsOpen()) ++open;
  }
  err << m_reopen.CheckInvariants();
  for (std::size_t rule = 0; rule < m_open.size(); ++rule) {
    const auto& list = m_open[rule];
    for (std::size_t i = 0; i < list.size(); ++i) {
      if (!list[i]->IsOpen()) err << "closed range in the open list of rule " << rule << '\n';
      if (!list[i]->Rule || list[i]->Rule->PlanIndex() != static_cast<int>(rule)) err << "range in the open list of another rule\n";
      if (i > 0 && !RangeOrder(list[i - 1], list[i])) err << "open list of rule " << rule << " out of order at " << i << '\n';
    }
  }
  if (open != m_openCount) err << open << " open ranges, counted " << m_openCount << '\n';
  int listed = 0;
  for (const auto& list : m_open) listed += static_cast<int>(list.size());
  if (listed != m_openCount) err << listed << " ranges in the open lists, counted " << m_openCount << '\n';
  for (std::size_t i = 1; i < m_lineBreaks.size(); ++i)
    if (m_lineBreaks[i].RecordedAt < m_lineBreaks[i - 1].RecordedAt) err << "line breaks out of order at " << i << '\n';
  return err.str();
}

}  // namespace penwick

// The matching procedure of TecRegExpr over a compiled program.
#include "syntax/RegExprMatcher.h"

#include "platform/CodePage.h"

#include <vector>

namespace penwick {

namespace {

// Group positions of up to this many groups are saved on the stack.
constexpr int kLocalGroups = 8;

// Room for one copy of every group's start and end.
class TGroupSnapshot {
public:
  explicit TGroupSnapshot(int groupCount) {
    if (groupCount > kLocalGroups) m_heap.resize(2 * static_cast<size_t>(groupCount));
  }
  int* Data() { return m_heap.empty() ? m_local : m_heap.data(); }

private:
  int m_local[2 * kLocalGroups];
  std::vector<int> m_heap;
};

}  // namespace

TRegExprMatcher::TRegExprMatcher(const TRegExprProgram& program, std::string_view text, int* groupStart,
                                 int* groupEnd, uint64_t budget)
    : m_nodes(program.Nodes.data()),
      m_text(reinterpret_cast<const unsigned char*>(text.data())),
      m_size(static_cast<int>(text.size())),
      m_start(groupStart),
      m_end(groupEnd),
      m_groupCount(program.GroupCount),
      m_budget(budget),
      m_limit(budget) {}

bool TRegExprMatcher::Run(int& pos) {
  for (int g = 0; g < m_groupCount; ++g) m_start[g] = m_end[g] = -1;
  m_origin = m_farthest = pos;
  m_limit = m_budget;
  int end = pos;
  if (Try(0, pos, end) == Fail) return false;
  pos = end;
  return true;
}

void TRegExprMatcher::Save(int* buffer) const {
  for (int g = 0; g < m_groupCount; ++g) {
    buffer[2 * g] = m_start[g];
    buffer[2 * g + 1] = m_end[g];
  }
}

void TRegExprMatcher::Restore(const int* buffer) {
  for (int g = 0; g < m_groupCount; ++g) {
    m_start[g] = buffer[2 * g];
    m_end[g] = buffer[2 * g + 1];
  }
}

TRegExprMatcher::TOutcome TRegExprMatcher::Try(int index, int pos, int& end) {
  if (index < 0) {  // an empty continuation matches completely at once
    end = pos;
    return Full;
  }
  Step();
  Reached(pos);
  const TRegExprNode& node = m_nodes[index];
  int cur = pos;
  for (int i = 0; i < node.Min; ++i) {
    if (i) Step();
    if (!One(node, cur)) return Fail;
  }

  const bool last = node.IsLast();
  const int group = node.OwnerGroup;
  TOutcome outcome = Fail;
  int outcomeEnd = cur;
  int groupEndCandidate = cur;
  // The group positions belonging to the outcome, kept when later counts
  // may disturb them; `stale` says they were disturbed since.
  TGroupSnapshot snapshot(node.NeedsSnapshot ? m_groupCount : 0);
  int* saved = node.NeedsSnapshot ? snapshot.Data() : nullptr;
  bool stale = false;
  const bool isGroup = node.Kind == TRegExprNodeKind::Group;

  for (int count = node.Min;; ++count) {
    if (last && group >= 0) m_end[group] = cur;
    int continuationEnd = cur;
    const TOutcome result = Try(node.Continuation, cur, continuationEnd);
    if (result == Full) {
      outcome = Full;
      outcomeEnd = continuationEnd;
      groupEndCandidate = cur;
      if (saved) Save(saved);
      stale = false;
      if (node.Lazy) break;
    } else if (last || result == Partial) {
      outcome = Partial;
      outcomeEnd = cur;
      if (saved) Save(saved);
      stale = false;
    } else {
      stale = true;  // a failed continuation may have moved groups after this item
    }
    if (node.Max >= 0 && count >= node.Max) break;
    const int before = cur;
    Step();
    if (isGroup) stale = true;
    if (!One(node, cur) || cur == before) break;
  }

  if (outcome == Full) {
    if (stale && saved) Restore(saved);
    if (last && group >= 0) m_end[group] = groupEndCandidate;
    end = outcomeEnd;
    return Full;
  }
  if (outcome == Partial) {
    if (stale && saved) Restore(saved);
    end = outcomeEnd;
    return Partial;
  }
  if (last && group >= 0) m_end[group] = 0;
  return Fail;
}

bool TRegExprMatcher::OneGroup(const TRegExprNode& node, int& pos) {
  const int g = node.Group;
  const int savedStart = m_start[g];
  const int savedEnd = m_end[g];
  m_start[g] = pos;
  m_end[g] = 0;
  TOutcome best = Fail;
  int bestStart = savedStart;
  int bestEnd = savedEnd;
  const size_t count = node.Alternatives.size();
  // A partial alternative may be followed by others that disturb the
  // positions of later groups; keep its own.
  const bool keepOthers = m_groupCount > 1 && count > 1;
  TGroupSnapshot snapshot(keepOthers ? m_groupCount : 0);
  int* saved = keepOthers ? snapshot.Data() : nullptr;
  bool stale = false;
  for (size_t i = 0; i < count; ++i) {
    int end = pos;
    const TOutcome result = Try(node.Alternatives[i], pos, end);
    if (result > best) {
      best = result;
      bestStart = m_start[g];
      bestEnd = m_end[g];
      stale = false;
      if (result == Full) break;
      if (saved) Save(saved);
    } else {
      stale = true;
    }
  }
  if (best == Fail) {
    m_start[g] = savedStart;
    m_end[g] = savedEnd;
    return false;
  }
  if (stale && saved) Restore(saved);
  m_start[g] = bestStart;
  m_end[g] = bestEnd;
  pos = bestEnd;
  return true;
}

bool TRegExprMatcher::IsWordAt(int pos) const {
  return pos >= 1 && pos <= m_size && TCodePage::Default().IsWordChar(m_text[pos - 1]);
}

bool TRegExprMatcher::CheckAt(TRegExprCheck check, int& pos) const {
  const bool hasC = pos <= m_size;
  const int c = hasC ? m_text[pos - 1] : -1;
  const int b = pos > 1 ? m_text[pos - 2] : -1;
  switch (check) {
    case TRegExprCheck::LineStart:
      return pos == 1 || b == '\n' || (b == '\r' && c != '\n');
    case TRegExprCheck::LineEnd:
      return c == '\r' || (c == '\n' && b != '\r') || !hasC;
    case TRegExprCheck::TextStart:
      return pos == 1;
    case TRegExprCheck::TextEnd:
      return !hasC;
    case TRegExprCheck::WordBoundary:
    case TRegExprCheck::NotWordBoundary: {
      const bool boundary = pos == 1 || !hasC || IsWordAt(pos - 1) != IsWordAt(pos);
      return boundary == (check == TRegExprCheck::WordBoundary);
    }
    case TRegExprCheck::LineBreak:
      if (c == '\r') {
        pos += (pos < m_size && m_text[pos] == '\n') ? 2 : 1;
        return true;
      }
      if (c == '\n') {
        ++pos;
        return true;
      }
      return false;
    case TRegExprCheck::None:
      break;
  }
  return false;
}

bool TRegExprMatcher::One(const TRegExprNode& node, int& pos) {
  switch (node.Kind) {
    case TRegExprNodeKind::Chars: {
      const int n = static_cast<int>(node.Chars.size());
      if (pos - 1 + n > m_size) return false;
      const unsigned char* at = m_text + pos - 1;
      const auto* want = reinterpret_cast<const unsigned char*>(node.Chars.data());
      if (node.IgnoreCase) {
        const TCodePage& cp = TCodePage::Default();
        for (int i = 0; i < n; ++i)
          if (cp.ToUpper(at[i]) != want[i]) return false;
      } else {
        for (int i = 0; i < n; ++i)
          if (at[i] != want[i]) return false;
      }
      pos += n;
      return true;
    }
    case TRegExprNodeKind::OneOf:
      if (pos > m_size || !node.Table.Has(m_text[pos - 1])) return false;
      ++pos;
      return true;
    case TRegExprNodeKind::Check:
      return CheckAt(node.Check, pos);
    case TRegExprNodeKind::Ref: {
      const int start = m_start[node.Group];
      const int stop = m_end[node.Group];
      if (start <= 0 || stop <= 0 || stop < start) return false;
      const int n = stop - start;
      if (pos - 1 + n > m_size) return false;
      const unsigned char* at = m_text + pos - 1;
      const unsigned char* ref = m_text + start - 1;
      const TCodePage& cp = TCodePage::Default();
      for (int i = 0; i < n; ++i) {
        if (node.IgnoreCase ? cp.ToUpper(at[i]) != cp.ToUpper(ref[i]) : at[i] != ref[i]) return false;
      }
      pos += n;
      return true;
    }
    case TRegExprNodeKind::Group:
      return OneGroup(node, pos);
  }
  return false;
}

}  // namespace penwick

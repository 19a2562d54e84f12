// The matching procedure of TecRegExpr over a compiled program.
#include "syntax/RegExprMatcher.h"

#include "platform/CodePage.h"

#include <algorithm>
#include <vector>

namespace penwick {

namespace {

// The group-position copies of the active Try and OneGroup frames, kept as
// a stack here rather than in the frames, so that deep recursion over a
// long pattern stays light on the machine stack. One per thread: a match
// never starts inside another on the same thread.
thread_local std::vector<int> t_snapshots;

// Pops the copies a frame pushed when the frame ends, also by an exception.
class TSnapshotFrame {
public:
  explicit TSnapshotFrame(size_t& top) : m_top(top), m_mark(top) {}
  ~TSnapshotFrame() { m_top = m_mark; }
  TSnapshotFrame(const TSnapshotFrame&) = delete;
  TSnapshotFrame& operator=(const TSnapshotFrame&) = delete;

private:
  size_t& m_top;
  size_t m_mark;
};

}  // namespace

TRegExprMatcher::TRegExprMatcher(const TRegExprProgram& program, std::string_view text, int* groupStart,
                                 int* groupEnd, uint64_t budget, int charBefore, bool keepComplete)
    : m_nodes(program.Nodes.data()),
      m_deterministic(program.Deterministic && budget >= DeterministicMinBudget),
      m_text(reinterpret_cast<const unsigned char*>(text.data())),
      m_size(static_cast<int>(text.size())),
      m_charBefore(charBefore < 0 ? -1 : (charBefore & 0xFF)),
      m_keepComplete(keepComplete),
      m_start(groupStart),
      m_end(groupEnd),
      m_groupCount(program.GroupCount),
      m_budget(budget),
      m_limit(budget) {}

void TRegExprMatcher::ResetGroups() {
  for (int g = 0; g < m_groupCount; ++g) m_start[g] = m_end[g] = -1;
}

bool TRegExprMatcher::Run(int& pos) {
  ResetGroups();
  m_origin = m_farthest = pos;
  m_limit = m_budget;
  m_snapshotTop = 0;
  if (m_deterministic) return RunChain(m_nodes[0].Alternatives[0], pos);
  int end = pos;
  if (Try(0, pos, end) == Fail) return false;
  pos = end;
  return true;
}

bool TRegExprMatcher::RunChain(int first, int& pos) {
  ResetGroups();
  int cur = pos;
  for (int item = first; item >= 0;) {
    const TRegExprNode& node = m_nodes[item];
    if (node.Kind == TRegExprNodeKind::Chars) {
      if (!One(node, cur)) return false;
    } else {
      int count = 0;
      while ((node.Max < 0 || count < node.Max) && cur <= m_size && node.Table.Has(m_text[cur - 1])) {
        ++cur;
        ++count;
      }
      if (count < node.Min) return false;
    }
    item = node.Next;
  }
  m_start[0] = pos;
  m_end[0] = cur;
  pos = cur;
  return true;
}

size_t TRegExprMatcher::PushSnapshot() {
  const size_t at = m_snapshotTop;
  m_snapshotTop += 2 * static_cast<size_t>(m_groupCount);
  if (t_snapshots.size() < m_snapshotTop) t_snapshots.resize(std::max(m_snapshotTop, 2 * t_snapshots.size()));
  return at;
}

void TRegExprMatcher::Save(size_t at) const {
  int* buffer = t_snapshots.data() + at;
  for (int g = 0; g < m_groupCount; ++g) {
    buffer[2 * g] = m_start[g];
    buffer[2 * g + 1] = m_end[g];
  }
}

void TRegExprMatcher::Restore(size_t at) {
  const int* buffer = t_snapshots.data() + at;
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
  const int continuation = m_keepComplete ? node.KeepContinuation : node.Continuation;
  // Group positions need keeping when a continuation may move them.
  const bool snapshots = node.NeedsSnapshot || continuation >= 0;
  if (continuation < 0 && !node.Lazy && !snapshots && node.Kind == TRegExprNodeKind::OneOf) {
    // A greedy character class with nothing after it: every count matches
    // completely, so the highest count wins. The general loop below would
    // reach the same end one repetition at a time; identifiers, numbers and
    // comments spend most of their time here.
    const bool bounded = node.Max >= 0;
    const int room = bounded ? node.Max - node.Min : m_size + 1 - cur;
    int extra = 0;
    while (extra < room && cur <= m_size && node.Table.Has(m_text[cur - 1])) {
      ++cur;
      ++extra;
    }
    // One step per repetition, and one for the attempt that ended the run
    // unless the maximum did.
    m_steps += static_cast<uint64_t>(extra) + (bounded && extra == room ? 0 : 1);
    if (m_steps > m_limit) throw ERegExprTooComplex();
    if (last && group >= 0) m_end[group] = cur;
    end = cur;
    return Full;
  }
  TOutcome outcome = Fail;
  int outcomeEnd = cur;
  int groupEndCandidate = cur;
  const bool isGroup = node.Kind == TRegExprNodeKind::Group;
  // `best` holds the group positions of the outcome so far, for when later
  // counts disturb them (`stale`). `entry` holds the positions this item's
  // repetitions left before the continuation was tried: the next count
  // starts from them again, so a continuation that was abandoned, or kept
  // but then outbid, leaves nothing behind for the counts after it.
  const bool withEntry = snapshots && continuation >= 0;
  TSnapshotFrame frame(m_snapshotTop);
  const size_t best = snapshots ? PushSnapshot() : 0;
  const size_t entry = withEntry ? PushSnapshot() : 0;
  bool stale = false;

  // Kept complete matches: a continuation past the end of enclosing groups
  // finds those groups ending here as well (a back-reference to one of them
  // in it then sees its text).
  const bool endsOuterGroups = last && continuation != node.Continuation;
  for (int count = node.Min;; ++count) {
    if (last && group >= 0) m_end[group] = cur;
    if (endsOuterGroups)
      for (int owner = node.Owner; m_nodes[owner].Next < 0; owner = m_nodes[owner].Owner)
        m_end[m_nodes[m_nodes[owner].Owner].Group] = cur;
    // A repetition of anything but a group moves no group position.
    if (withEntry && (isGroup || count == node.Min)) Save(entry);
    int continuationEnd = cur;
    TOutcome result;
    // (GuardContinuation implies a Continuation, which KeepContinuation then equals.)
    if (node.GuardContinuation && cur <= m_size && !node.ContinuationStarts.Has(m_text[cur - 1])) {
      // The continuation would fail on this byte: a lazy item or a group
      // walking a comment or a string spends most of its time here. The
      // budget counts the attempt as the continuation's own first step.
      Step();
      Reached(cur);
      result = Fail;
    } else {
      result = Try(continuation, cur, continuationEnd);
    }
    bool chosen = false;
    if (result == Full) {
      outcome = Full;
      outcomeEnd = continuationEnd;
      groupEndCandidate = cur;
      chosen = true;
    } else if ((last || result == Partial) && !(m_keepComplete && outcome == Full)) {
      outcome = Partial;
      outcomeEnd = cur;
      chosen = true;
    }
    stale = !chosen;  // a failed continuation may have moved groups after this item
    if (chosen && result == Full && node.Lazy) break;
    if (node.Max >= 0 && count >= node.Max) break;
    if (snapshots) {
      if (chosen) Save(best);
      if (withEntry) Restore(entry);
      stale = true;
    }
    const int before = cur;
    Step();
    if (!One(node, cur) || cur == before) break;
  }

  if (outcome == Full) {
    if (stale && snapshots) Restore(best);
    if (last && group >= 0) m_end[group] = groupEndCandidate;
    end = outcomeEnd;
    return Full;
  }
  if (outcome == Partial) {
    if (stale && snapshots) Restore(best);
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
  // Every alternative starts from the positions the group began with, so
  // one that is not kept leaves no group positions behind; the kept partial
  // alternative's own positions are put back at the end.
  const bool keepOthers = m_groupCount > 1 && count > 1;
  TSnapshotFrame frame(m_snapshotTop);
  const size_t initial = keepOthers ? PushSnapshot() : 0;
  const size_t bestState = keepOthers ? PushSnapshot() : 0;
  if (keepOthers) Save(initial);
  for (size_t i = 0; i < count; ++i) {
    if (keepOthers && i > 0) Restore(initial);
    int end = pos;
    const TOutcome result = Try(node.Alternatives[i], pos, end);
    if (result > best) {
      best = result;
      bestStart = m_start[g];
      bestEnd = m_end[g];
      if (result == Full) break;  // the positions are this alternative's
      if (keepOthers) Save(bestState);
    }
  }
  if (best == Fail) {
    if (keepOthers) Restore(initial);
    m_start[g] = savedStart;
    m_end[g] = savedEnd;
    return false;
  }
  if (best == Partial && keepOthers) Restore(bestState);
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
  // The byte before `pos`; at the window's first position the one before the window.
  const int b = pos > 1 ? m_text[pos - 2] : m_charBefore;
  switch (check) {
    case TRegExprCheck::LineStart:
      return b < 0 || b == '\n' || (b == '\r' && c != '\n');
    case TRegExprCheck::LineEnd:
      return c == '\r' || (c == '\n' && b != '\r') || !hasC;
    case TRegExprCheck::TextStart:
      return b < 0;
    case TRegExprCheck::TextEnd:
      return !hasC;
    case TRegExprCheck::WordBoundary:
    case TRegExprCheck::NotWordBoundary: {
      const bool wordBefore = pos > 1 ? IsWordAt(pos - 1) : b >= 0 && TCodePage::Default().IsWordChar(static_cast<unsigned char>(b));
      const bool boundary = b < 0 || !hasC || wordBefore != IsWordAt(pos);
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

// Search marks that follow the text they mark.
#include "editor/SearchMarks.h"

#include <algorithm>

#include "editor/SyntMemoStrings.h"

namespace penwick {

TSearchMarks::TSearchMarks(TSyntMemoStrings& lines) {
  TStoreListener listener;
  listener.Changed = [this](int pos, int count, int) { TextChanged(pos, count); };
  m_subscription = lines.Subscribe(std::move(listener), TStorePhase::Positions);
}

void TSearchMarks::Add(int start, int end) {
  if (end <= start) return;
  // The marks the new one overlaps lie together: from the first that ends
  // after `start` up to the first that starts at or after `end`. Searching
  // for them keeps a Search All over many matches linear (each new mark
  // goes at the end).
  const auto first = std::upper_bound(m_marks.begin(), m_marks.end(), start,
                                      [](int value, const TSearchMark& m) { return value < m.End; });
  const auto last = std::lower_bound(first, m_marks.end(), end,
                                     [](const TSearchMark& m, int value) { return m.Start < value; });
  const auto at = m_marks.erase(first, last);
  m_marks.insert(at, TSearchMark{start, end});
  if (OnChanged) OnChanged();
}

void TSearchMarks::Clear() {
  if (m_marks.empty()) return;
  m_marks.clear();
  if (OnChanged) OnChanged();
}

std::vector<TSearchMark> TSearchMarks::Between(int from, int to) const {
  std::vector<TSearchMark> out;
  // Marks do not overlap, so their ends ascend with their starts.
  auto it = std::upper_bound(m_marks.begin(), m_marks.end(), from,
                             [](int value, const TSearchMark& m) { return value < m.End; });
  for (; it != m_marks.end() && it->Start < to; ++it) out.push_back(*it);
  return out;
}

void TSearchMarks::TextChanged(int pos, int count) {
  // A change of the line count alone (count 0) moves no character.
  if (m_marks.empty() || (pos >= 0 && count == 0)) return;
  if (pos < 0) {
    Clear();
    return;
  }
  // An insertion touches [pos, pos); a deletion [pos, pos - count).
  const int changedEnd = count < 0 ? pos - count : pos;
  bool changed = false;
  std::vector<TSearchMark> kept;
  kept.reserve(m_marks.size());
  for (const TSearchMark& m : m_marks) {
    if (m.End <= pos) {
      kept.push_back(m);
    } else if (m.Start >= changedEnd) {
      kept.push_back(TSearchMark{m.Start + count, m.End + count});
      changed = true;
    } else {
      changed = true;  // the change touches the mark
    }
  }
  m_marks = std::move(kept);
  if (changed && OnChanged) OnChanged();
}

}  // namespace penwick

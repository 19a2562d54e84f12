// The marks a search leaves in the text: spans drawn in the search-mark
// style until the next search or an edit that touches them.
#pragma once

#include <functional>
#include <vector>

#include "platform/ListenerList.h"

namespace penwick {

class TSyntMemoStrings;

struct TSearchMark {
  int Start = 0;  // 0-based offset
  int End = 0;    // exclusive
  friend bool operator==(const TSearchMark& a, const TSearchMark& b) { return a.Start == b.Start && a.End == b.End; }
};

// Marks follow the text: a change before a mark moves it, a change that
// overlaps a mark drops it, replacing the whole text drops them all. Kept
// sorted by start; marks never overlap (Add drops the ones a new mark overlaps).
// Listens to the store in the Positions phase, so views that repaint on a
// change already see the moved marks.
class TSearchMarks {
public:
  // Subscribes to `lines`, which must outlive the marks. Not copied or
  // moved: the subscription refers to this object.
  explicit TSearchMarks(TSyntMemoStrings& lines);
  TSearchMarks(const TSearchMarks&) = delete;
  TSearchMarks& operator=(const TSearchMarks&) = delete;

  const std::vector<TSearchMark>& Marks() const { return m_marks; }
  // Adds [start, end); an empty span is ignored.
  void Add(int start, int end);
  void Clear();
  // Marks that overlap [from, to) (Start < to and from < End), in order;
  // with from == to, the marks that hold `from` strictly inside. O(log n + k).
  std::vector<TSearchMark> Between(int from, int to) const;

  // Told after the marks changed (added, cleared, moved or dropped).
  std::function<void()> OnChanged;

private:
  void TextChanged(int pos, int count);

  std::vector<TSearchMark> m_marks;
  TSubscription m_subscription;
};

}  // namespace penwick

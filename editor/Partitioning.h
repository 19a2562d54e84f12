// The table of line starts: ascending offsets with a lazily applied shift, so
// that an edit anywhere costs far less than a pass over every following line.
#pragma once

#include "editor/SplitVector.h"

#include <vector>

namespace penwick {

// Holds Count() ascending offsets. The entries after StepIndex() are stored
// without a pending shift (StepLength()) that an edit added to all of them;
// the shift is applied only to the entries a later edit walks past. Reading
// an entry is O(1); shifting everything after an index costs the distance
// between that index and the previous one (never more than a pass over the
// shorter side); inserting or removing entries costs as the gap buffer does.
class TPartitioning {
public:
  int Count() const { return m_starts.Length(); }

  // Entry `index` (0 <= index < Count()).
  int ValueAt(int index) const {
    const int v = m_starts.ValueAt(index);
    return index > m_stepIndex ? v + m_stepLength : v;
  }

  // Replaces every entry; `values` must be ascending.
  void Adopt(std::vector<int>&& values);
  void Clear();

  // Adds `delta` to every entry after `index` (index may be -1: all entries).
  void ShiftAfter(int index, int delta);
  // Inserts `value` (an actual offset) as entry `index`.
  void Insert(int index, int value);
  // Removes `count` entries from `index`.
  void Remove(int index, int count);

  // The last entry <= offset, by bisection; -1 when every entry is greater or
  // the table is empty. O(log Count).
  int LastAtOrBefore(int offset) const;

  int StepIndex() const { return m_stepIndex; }
  int StepLength() const { return m_stepLength; }

private:
  void ApplyStepTo(int index);
  void BackStepTo(int index);

  TSplitVector<int> m_starts;
  int m_stepIndex = -1;  // entries with a larger index still lack m_stepLength
  int m_stepLength = 0;
};

}  // namespace penwick

// The table of line starts with its lazily applied shift.
#include "editor/Partitioning.h"

#include <cassert>

namespace penwick {

void TPartitioning::Adopt(std::vector<int>&& values) {
  m_starts.Adopt(std::move(values), 1024);
  m_stepIndex = -1;
  m_stepLength = 0;
}

void TPartitioning::Clear() {
  m_starts.Clear();
  m_stepIndex = -1;
  m_stepLength = 0;
}

// Makes entries (m_stepIndex, index] carry the pending shift in storage.
void TPartitioning::ApplyStepTo(int index) {
  if (m_stepLength != 0 && index > m_stepIndex) m_starts.AddToRange(m_stepIndex + 1, index + 1, m_stepLength);
  m_stepIndex = index;
  if (m_stepIndex >= Count() - 1) {
    m_stepIndex = Count() - 1;
    m_stepLength = 0;
  }
}

// Makes entries (index, m_stepIndex] lack the pending shift in storage.
void TPartitioning::BackStepTo(int index) {
  if (m_stepLength != 0 && index < m_stepIndex) m_starts.AddToRange(index + 1, m_stepIndex + 1, -m_stepLength);
  m_stepIndex = index;
}

void TPartitioning::ShiftAfter(int index, int delta) {
  assert(index >= -1 && index < Count());
  if (delta == 0 || index >= Count() - 1) return;
  if (m_stepLength == 0) {
    m_stepIndex = index;
    m_stepLength = delta;
    return;
  }
  if (index >= m_stepIndex) {
    ApplyStepTo(index);
    if (m_stepLength == 0) m_stepIndex = index;
    m_stepLength += delta;
  } else if (m_stepIndex - index <= Count() - 1 - m_stepIndex) {
    BackStepTo(index);
    m_stepLength += delta;
  } else {
    ApplyStepTo(Count() - 1);
    m_stepIndex = index;
    m_stepLength = delta;
  }
  if (m_stepLength == 0) m_stepIndex = Count() - 1;
}

void TPartitioning::Insert(int index, int value) {
  assert(index >= 0 && index <= Count());
  if (index <= m_stepIndex) {
    m_starts.Insert(index, value);
    ++m_stepIndex;
  } else {
    m_starts.Insert(index, value - m_stepLength);
  }
}

void TPartitioning::Remove(int index, int count) {
  assert(index >= 0 && count >= 0 && index + count <= Count());
  if (count == 0) return;
  if (index <= m_stepIndex) {
    // Entries index..min(stepIndex, index+count-1) leave the materialised part.
    const int lastRemoved = index + count - 1;
    m_stepIndex = lastRemoved <= m_stepIndex ? m_stepIndex - count : index - 1;
  }
  m_starts.Delete(index, count);
  if (m_stepIndex >= Count() - 1) {
    m_stepIndex = Count() - 1;
    m_stepLength = 0;
  }
}

int TPartitioning::LastAtOrBefore(int offset) const {
  int lo = 0;
  int hi = Count() - 1;
  int found = -1;
  while (lo <= hi) {
    const int mid = lo + (hi - lo) / 2;
    if (ValueAt(mid) <= offset) {
      found = mid;
      lo = mid + 1;
    } else {
      hi = mid - 1;
    }
  }
  return found;
}

}  // namespace penwick

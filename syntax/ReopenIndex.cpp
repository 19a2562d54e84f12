// The maxima tree over the reopening keys of ranges: updates, shrinking and the search for ranges a change reopens.
#include "syntax/ReopenIndex.h"

#include <algorithm>
#include <sstream>

namespace penwick {

void TReopenIndex::Recompute(std::size_t level, std::size_t index) {
  const std::vector<int>& below = m_levels[level - 1];
  const std::size_t from = index * kFan;
  const std::size_t to = std::min(from + kFan, below.size());
  int best = below[from];
  for (std::size_t i = from + 1; i < to; ++i) best = std::max(best, below[i]);
  m_levels[level][index] = best;
}

void TReopenIndex::Push(int key) {
  if (m_levels.empty()) m_levels.emplace_back();
  m_levels[0].push_back(key);
  std::size_t index = m_levels[0].size() - 1;
  for (std::size_t h = 1;; ++h) {
    index /= kFan;
    if (h == m_levels.size()) {
      // The top level had one entry and now has two: one more level.
      if (m_levels[h - 1].size() <= 1) return;
      m_levels.emplace_back(1, 0);
      Recompute(h, 0);
      continue;
    }
    std::vector<int>& level = m_levels[h];
    if (index == level.size()) level.push_back(key);
    else if (key > level[index]) level[index] = key;
  }
}

void TReopenIndex::Set(std::size_t slot, int key) {
  int oldValue = m_levels[0][slot];
  int newValue = key;
  m_levels[0][slot] = key;
  std::size_t index = slot;
  for (std::size_t h = 1; h < m_levels.size() && newValue != oldValue; ++h) {
    index /= kFan;
    int& max = m_levels[h][index];
    const int before = max;
    if (newValue > oldValue) {
      if (max >= newValue) return;
      max = newValue;
    } else {
      if (max > oldValue) return;  // another entry holds the maximum
      Recompute(h, index);
    }
    oldValue = before;
    newValue = max;
  }
}

void TReopenIndex::Shrink(std::size_t size) {
  if (size >= Size()) return;
  if (size == 0) {
    m_levels.clear();
    return;
  }
  std::size_t count = size;
  std::size_t h = 0;
  for (;; ++h) {
    m_levels[h].resize(count);
    if (h > 0) Recompute(h, count - 1);  // the last group may have lost members
    if (count <= 1) break;
    count = (count + kFan - 1) / kFan;
  }
  m_levels.resize(h + 1);
}

void TReopenIndex::Visit(std::size_t level, std::size_t index, int count, std::vector<std::size_t>& out) const {
  if (m_levels[level][index] <= count) return;
  if (level == 0) {
    out.push_back(index);
    return;
  }
  const std::size_t from = index * kFan;
  const std::size_t to = std::min(from + kFan, m_levels[level - 1].size());
  for (std::size_t i = from; i < to; ++i) Visit(level - 1, i, count, out);
}

void TReopenIndex::CollectAbove(int count, std::vector<std::size_t>& out) const {
  if (Size() == 0) return;
  const std::size_t top = m_levels.size() - 1;
  for (std::size_t i = 0; i < m_levels[top].size(); ++i) Visit(top, i, count, out);
}

std::string TReopenIndex::CheckInvariants() const {
  std::ostringstream err;
  for (std::size_t h = 1; h < m_levels.size(); ++h) {
    const std::vector<int>& below = m_levels[h - 1];
    const std::vector<int>& level = m_levels[h];
    if (level.size() != (below.size() + kFan - 1) / kFan) err << "level " << h << " has " << level.size() << " entries\n";
    for (std::size_t i = 0; i < level.size(); ++i) {
      const std::size_t from = i * kFan;
      const std::size_t to = std::min(from + kFan, below.size());
      const int best = from < to ? *std::max_element(below.begin() + static_cast<std::ptrdiff_t>(from),
                                                     below.begin() + static_cast<std::ptrdiff_t>(to))
                                 : 0;
      if (from >= to || level[i] != best) err << "level " << h << " entry " << i << " is not the maximum below it\n";
    }
  }
  if (!m_levels.empty() && m_levels.back().size() > 1) err << "the top level has " << m_levels.back().size() << " entries\n";
  return err.str();
}

}  // namespace penwick

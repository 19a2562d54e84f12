// Tab stops: parsing, printing and the next-stop rule.
#include "editor/TabList.h"

#include <algorithm>

namespace penwick {

TTabList::TTabList() : m_stops{4} {}

std::string TTabList::AsString() const {
  std::string out;
  for (int stop : m_stops) {
    if (!out.empty()) out += ' ';
    out += std::to_string(stop);
  }
  return out;
}

void TTabList::Add(int column) {
  // A stop at column 0 or before would never be "greater than" a column and
  // would make the repeat interval 0: it is ignored, as when parsed.
  if (column <= 0) return;
  auto it = std::lower_bound(m_stops.begin(), m_stops.end(), column);
  if (it != m_stops.end() && *it == column) throw ETabListError();
  m_stops.insert(it, column);
}

void TTabList::SetAsString(std::string_view text) {
  m_stops.clear();
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] < '0' || text[i] > '9') {
      ++i;
      continue;
    }
    long long value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      value = std::min<long long>(value * 10 + (text[i] - '0'), 1000000);  // a stop past this is meaningless
      ++i;
    }
    // A stop at column 0 would never be "greater than" any column and would
    // make the repeat interval 0.
    if (value > 0) Add(static_cast<int>(value));
  }
}

int TTabList::NextTabStop(int column) const {
  if (m_stops.empty()) return column + 1;
  auto it = std::upper_bound(m_stops.begin(), m_stops.end(), column);
  if (it != m_stops.end()) return *it;
  const int last = m_stops.back();
  // An interval of 0 or less counts as 1, so no list can divide by zero.
  const int interval = std::max(1, m_stops.size() >= 2 ? last - m_stops[m_stops.size() - 2] : last);
  return last + interval * ((column - last) / interval + 1);
}

}  // namespace penwick

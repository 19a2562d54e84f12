// Tab stops of the editor: an ascending list of distinct columns that repeats
// past its last stop.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace penwick {

// Raised when a tab list string names the same stop twice.
class ETabListError : public std::runtime_error {
public:
  ETabListError() : std::runtime_error("Duplicate tab position") {}
};

// Invariant: stops are positive, distinct and ascending. The default list is "4".
class TTabList {
public:
  TTabList();

  // The stops joined by one space ("4", "4 10").
  std::string AsString() const;
  // Parses every run of decimal digits (any other character separates) and
  // inserts each in order. On a repeated value raises ETabListError; the
  // list then keeps the stops parsed before the duplicate. A zero is ignored.
  void SetAsString(std::string_view text);

  const std::vector<int>& Stops() const { return m_stops; }
  void Clear() { m_stops.clear(); }
  // Inserts one stop in order; raises ETabListError when it is already
  // there. A column of 0 or less is ignored.
  void Add(int column);

  // The first stop greater than `column` (0-based visual column). Past the
  // last stop the stops continue at the interval of the last two (or at the
  // last stop's value when there is only one), an interval below 1 counting
  // as 1; an empty list gives column + 1. Always greater than `column`.
  int NextTabStop(int column) const;

private:
  std::vector<int> m_stops;
};

}  // namespace penwick

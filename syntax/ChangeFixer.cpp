// Mapping offsets across the recorded changes.
#include "syntax/ChangeFixer.h"

namespace penwick {

std::optional<int> TChangeFixer::MapBack(int offset, std::size_t from) const {
  for (std::size_t i = m_changes.size(); i > from; --i) {
    const TChange& c = m_changes[i - 1];
    if (c.Count > 0) {
      if (offset >= c.Pos + c.Count) offset -= c.Count;
      else if (offset >= c.Pos) return std::nullopt;
    } else if (offset >= c.Pos) {
      offset -= c.Count;
    }
  }
  return offset;
}

int TChangeFixer::MapForward(int offset, std::size_t from) const {
  for (std::size_t i = from; i < m_changes.size(); ++i) {
    const TChange& c = m_changes[i];
    if (c.Count > 0) {
      if (offset >= c.Pos) offset += c.Count;
    } else {
      const int removed = -c.Count;
      if (offset >= c.Pos + removed) offset -= removed;
      else if (offset > c.Pos) offset = c.Pos;
    }
  }
  return offset;
}

}  // namespace penwick

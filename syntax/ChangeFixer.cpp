// Mapping offsets across the recorded changes.
#include "syntax/ChangeFixer.h"

namespace penwick {

void TChangeFixer::Add(int pos, int count) {
  if (count == 0) return;
  if (m_changes.size() > m_sealed) {
    TChange& last = m_changes.back();
    if (last.Count > 0 && count > 0 && pos >= last.Pos && pos <= last.Pos + last.Count) {
      last.Count += count;  // typing on inside or right after an insertion
      return;
    }
    if (last.Count < 0 && count < 0 && pos <= last.Pos && last.Pos <= pos - count) {
      last.Pos = pos;  // deleting on before or after a deletion
      last.Count += count;
      return;
    }
    if (last.Count > 0 && count < 0 && pos >= last.Pos && pos - count <= last.Pos + last.Count) {
      last.Count += count;  // deleting inside an insertion
      if (last.Count == 0) m_changes.pop_back();
      return;
    }
  }
  m_changes.push_back({pos, count});
}

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

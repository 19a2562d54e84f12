// The changes made since the derived ranges were last rebuilt (`TChangeFixer`), and mapping offsets across them.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace penwick {

// One record per change, except that a change continuing the record before
// it joins that record: typing on after an insertion, deleting on either
// side of a deletion, deleting inside an insertion. A joined record maps
// every offset exactly as the two did, so typing in one place keeps one
// record and mapping costs the number of places edited, not keystrokes.
// Records before Seal() are never joined, so a caller can map across the
// changes from a record index on.
class TChangeFixer {
public:
  struct TChange {
    int Pos;    // 0-based offset of the change
    int Count;  // > 0: characters inserted; < 0: characters deleted
  };

  void Add(int pos, int count);
  // Later changes start records of their own.
  void Seal() { m_sealed = m_changes.size(); }
  void Clear() {
    m_changes.clear();
    m_sealed = 0;
  }
  std::size_t Count() const { return m_changes.size(); }
  const TChange& operator[](std::size_t i) const { return m_changes[i]; }

  // An offset of the current text mapped back to the text before record
  // `from` (and all after it); none when it lies in text inserted since.
  // O(records from `from` on).
  std::optional<int> MapBack(int offset, std::size_t from = 0) const;
  // An offset of the text before record `from` mapped to the current text;
  // an offset inside deleted text goes to the deletion point.
  int MapForward(int offset, std::size_t from = 0) const;

private:
  std::vector<TChange> m_changes;
  std::size_t m_sealed = 0;  // records below this index are never joined
};

}  // namespace penwick

// The changes made since the derived ranges were last rebuilt (`TChangeFixer`), and mapping offsets across them.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace penwick {

class TChangeFixer {
public:
  struct TChange {
    int Pos;    // 0-based offset of the change
    int Count;  // > 0: characters inserted; < 0: characters deleted
  };

  void Add(int pos, int count) { m_changes.push_back({pos, count}); }
  void Clear() { m_changes.clear(); }
  std::size_t Count() const { return m_changes.size(); }
  const TChange& operator[](std::size_t i) const { return m_changes[i]; }

  // An offset of the current text mapped back to the text before change
  // `from` (and all after it); none when it lies in text inserted since.
  std::optional<int> MapBack(int offset, std::size_t from = 0) const;
  // An offset of the text before change `from` mapped to the current text;
  // an offset inside deleted text goes to the deletion point.
  int MapForward(int offset, std::size_t from = 0) const;

private:
  std::vector<TChange> m_changes;
};

}  // namespace penwick

// Which closed ranges a change reopens (`TReopenIndex`): a key per range in creation order and a tree of maxima over them, so that finding them costs what is found.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace penwick {

// Slots 0..Size()-1 (ranges in creation order) each hold a key: for a
// closed range the smallest token count a change may cut the tokens to and
// leave it closed, 0 for an open one. Cutting to `count` tokens reopens
// exactly the ranges whose key is above count.
//
// Above the keys, levels of maxima over groups of kFan entries, up to a
// single top entry. Costs, with L levels (log base 64 of Size(): 4 for a
// million ranges): Push and raising a key O(L); lowering a key O(64 L);
// Shrink O(64 L); CollectAbove O(64 L) per slot found, plus O(64 L) once,
// whatever the number of slots it passes over.
class TReopenIndex {
public:
  static constexpr std::size_t kFan = 64;

  std::size_t Size() const { return m_levels.empty() ? 0 : m_levels[0].size(); }
  int Key(std::size_t slot) const { return m_levels[0][slot]; }
  // Appends slot Size() with `key`.
  void Push(int key);
  // Precondition: slot < Size().
  void Set(std::size_t slot, int key);
  // Keeps slots below `size` (no effect when size >= Size()).
  void Shrink(std::size_t size);
  void Clear() { m_levels.clear(); }
  // Appends, in ascending order, every slot whose key is above `count`.
  void CollectAbove(int count, std::vector<std::size_t>& out) const;

  // Empty when every maximum equals the maximum of the entries it covers.
  std::string CheckInvariants() const;

private:
  void Recompute(std::size_t level, std::size_t index);
  void Visit(std::size_t level, std::size_t index, int count, std::vector<std::size_t>& out) const;

  // m_levels[0]: the keys; m_levels[h][i]: the maximum of m_levels[h-1]
  // entries kFan*i .. kFan*i+kFan-1 (those that exist). The last level has
  // at most one entry.
  std::vector<std::vector<int>> m_levels;
};

}  // namespace penwick

// Storage of ranges in creation order with stable addresses (`TRangeArena`): appending and dropping the newest cost no allocation.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "syntax/TextRange.h"

namespace penwick {

// Chunks of ranges that are kept when ranges are dropped, so that a change
// that drops every range below the caret and the analysis that makes them
// again reuse the same memory.
class TRangeArena {
public:
  static constexpr std::size_t kChunk = 4096;

  std::size_t size() const { return m_size; }
  bool empty() const { return m_size == 0; }
  TTextRange& operator[](std::size_t i) { return m_chunks[i / kChunk][i % kChunk]; }
  const TTextRange& operator[](std::size_t i) const { return m_chunks[i / kChunk][i % kChunk]; }
  TTextRange& back() { return (*this)[m_size - 1]; }

  TTextRange* push_back(const TTextRange& range) {
    if (m_size == m_chunks.size() * kChunk) m_chunks.push_back(std::make_unique<TTextRange[]>(kChunk));
    TTextRange* slot = &(*this)[m_size++];
    *slot = range;
    return slot;
  }
  // Drops the newest ranges down to `size` (memory is kept).
  void shrink(std::size_t size) {
    if (size < m_size) m_size = size;
  }
  void clear() {
    m_size = 0;
    m_chunks.clear();
  }
  std::size_t capacity() const { return m_chunks.size() * kChunk; }

private:
  std::vector<std::unique_ptr<TTextRange[]>> m_chunks;
  std::size_t m_size = 0;
};

}  // namespace penwick

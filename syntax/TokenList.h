// The token list of an analysis (`TTokenList`): tokens in fixed chunks, so that cutting off the tokens below a change and keeping them aside costs what the cut touches.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "syntax/SyntToken.h"

namespace penwick {

// Tokens in chunks of kChunk, reached through a directory of chunk
// pointers. Why chunks and not one array: a change drops every token from
// the changed line on, and the first change after a finished analysis keeps
// the dropped tokens aside (their styles paint the text not analysed again
// yet). With one array that costs a copy of the smaller side of the cut,
// tens of megabytes in a large script; with chunks the kept tail takes the
// chunks themselves, and only the chunk the cut falls in is copied.
//
// Costs: reading an element is O(1) (two loads); push_back is O(1) and
// never moves tokens (a new chunk when the last is full); Truncate is O(1)
// and keeps the chunks for the tokens that come next; SplitTail copies at
// most kChunk - 1 tokens and moves one pointer per chunk on the shorter side
// of the cut (about 600 for a 50 MB script); Clear frees every chunk.
//
// Element 0 may lie inside the first chunk (a list made by SplitTail starts
// where the cut was); chunks before it are never read and may be absent.
class TTokenList {
public:
  static constexpr std::size_t kChunkBits = 12;
  static constexpr std::size_t kChunk = std::size_t{1} << kChunkBits;  // 48 KB of tokens

  TTokenList() = default;
  // A moved-from list is empty.
  TTokenList(TTokenList&& other) noexcept { *this = std::move(other); }
  TTokenList& operator=(TTokenList&& other) noexcept {
    if (this == &other) return *this;
    m_chunks = std::move(other.m_chunks);
    other.m_chunks.clear();
    m_begin = std::exchange(other.m_begin, 0);
    m_size = std::exchange(other.m_size, 0);
    return *this;
  }
  TTokenList(const TTokenList&) = delete;
  TTokenList& operator=(const TTokenList&) = delete;

  std::size_t size() const { return m_size; }
  bool empty() const { return m_size == 0; }
  // Precondition: i < size().
  const TSyntToken& operator[](std::size_t i) const {
    const std::size_t p = m_begin + i;
    return m_chunks[p >> kChunkBits][p & (kChunk - 1)];
  }
  TSyntToken& operator[](std::size_t i) {
    const std::size_t p = m_begin + i;
    return m_chunks[p >> kChunkBits][p & (kChunk - 1)];
  }
  // Precondition: !empty().
  const TSyntToken& back() const { return (*this)[m_size - 1]; }

  void push_back(const TSyntToken& token);
  // Keeps the first `count` tokens (no effect when count >= size()); the
  // chunks stay for the tokens appended next.
  void Truncate(std::size_t count);
  // Empties the list and frees its chunks.
  void Clear();
  // Keeps the first `keep` tokens and moves the others, in order, into
  // `tail`, whose previous contents are freed. No effect (and `tail` is
  // left alone) when keep >= size().
  void SplitTail(std::size_t keep, TTokenList& tail);

  // Index of the first token that ends after `offset`; size() when none.
  // Tokens must be ordered and disjoint. O(log size()).
  std::size_t FirstEndingAfter(std::uint32_t offset) const;

  // Bytes of the chunks held (directory included).
  std::size_t MemoryBytes() const;

private:
  using TChunk = std::unique_ptr<TSyntToken[]>;
  static TChunk NewChunk();
  std::size_t ChunksInUse() const { return m_size == 0 ? 0 : ((m_begin + m_size - 1) >> kChunkBits) + 1; }

  std::vector<TChunk> m_chunks;
  std::size_t m_begin = 0;  // position of element 0 in the chunks
  std::size_t m_size = 0;
};

}  // namespace penwick

// Chunked token storage: appending, cutting, setting the tail aside and searching by offset.
#include "syntax/TokenList.h"

#include <algorithm>

namespace penwick {

TTokenList::TChunk TTokenList::NewChunk() { return TChunk(new TSyntToken[kChunk]); }

void TTokenList::push_back(const TSyntToken& token) {
  const std::size_t p = m_begin + m_size;
  const std::size_t c = p >> kChunkBits;
  if (c >= m_chunks.size()) m_chunks.resize(c + 1);
  if (!m_chunks[c]) m_chunks[c] = NewChunk();
  m_chunks[c][p & (kChunk - 1)] = token;
  ++m_size;
}

void TTokenList::Truncate(std::size_t count) {
  if (count < m_size) m_size = count;
}

void TTokenList::Clear() {
  m_chunks.clear();
  m_chunks.shrink_to_fit();
  m_begin = 0;
  m_size = 0;
}

void TTokenList::SplitTail(std::size_t keep, TTokenList& tail) {
  if (keep >= m_size) return;
  tail.Clear();
  const std::size_t cut = m_begin + keep;  // position of the first token that moves
  const std::size_t cutChunk = cut >> kChunkBits;
  const std::size_t within = cut & (kChunk - 1);  // tokens of the cut chunk that stay
  const std::size_t used = ChunksInUse();
  const std::size_t firstKept = m_begin >> kChunkBits;
  // The tokens of the cut chunk that stay go to a chunk of their own; the
  // cut chunk itself goes with the tail.
  TChunk head;
  if (within > 0) {
    head = NewChunk();
    std::copy(m_chunks[cutChunk].get(), m_chunks[cutChunk].get() + within, head.get());
  }
  if (used - cutChunk <= cutChunk - firstKept) {
    // The tail is the shorter side: its chunks move to `tail`.
    tail.m_chunks.reserve(used - cutChunk);
    for (std::size_t c = cutChunk; c < used; ++c) tail.m_chunks.push_back(std::move(m_chunks[c]));
    tail.m_begin = within;
  } else {
    // The kept side is shorter: the directory goes to `tail`, and the chunks
    // before the cut come back.
    tail.m_chunks.swap(m_chunks);
    m_chunks.reserve(cutChunk + 1);
    m_chunks.resize(cutChunk);
    for (std::size_t c = firstKept; c < cutChunk; ++c) m_chunks[c] = std::move(tail.m_chunks[c]);
    tail.m_begin = cut;
  }
  tail.m_size = m_size - keep;
  if (head) {
    if (m_chunks.size() <= cutChunk) m_chunks.resize(cutChunk + 1);
    m_chunks[cutChunk] = std::move(head);
  }
  m_size = keep;
}

std::size_t TTokenList::FirstEndingAfter(std::uint32_t offset) const {
  std::size_t lo = 0, hi = m_size;
  while (lo < hi) {
    const std::size_t mid = lo + (hi - lo) / 2;
    if ((*this)[mid].EndPos > offset) hi = mid;
    else lo = mid + 1;
  }
  return lo;
}

std::size_t TTokenList::MemoryBytes() const {
  std::size_t chunks = 0;
  for (const TChunk& c : m_chunks)
    if (c) ++chunks;
  return chunks * kChunk * sizeof(TSyntToken) + m_chunks.capacity() * sizeof(TChunk);
}

}  // namespace penwick

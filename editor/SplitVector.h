// A gap buffer: a sequence that is cheap to change near the place of the last change.
#pragma once

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <cstring>
#include <type_traits>
#include <vector>

namespace penwick {

// Elements live in one array with a gap at the position of the last change.
// Inserting or deleting at the gap costs the size of the change; moving the
// gap costs the distance moved (one memmove). Element access is O(1).
// T must be trivially copyable (bytes, offsets, small states).
template <typename T>
class TSplitVector {
  static_assert(std::is_trivially_copyable_v<T>, "TSplitVector holds plain values");

public:
  TSplitVector() = default;

  int Length() const { return m_length; }
  bool Empty() const { return m_length == 0; }

  // Replaces the content by `values`, taking over its storage. The gap is
  // placed at the end with at least `reserve` free elements.
  void Adopt(std::vector<T>&& values, int reserve = 0) {
    m_body = std::move(values);
    m_length = static_cast<int>(m_body.size());
    m_part1Length = m_length;
    m_gapLength = 0;
    if (reserve > 0) m_body.resize(static_cast<size_t>(m_length) + static_cast<size_t>(reserve));
    m_gapLength = static_cast<int>(m_body.size()) - m_length;
  }

  void Clear() {
    m_body.clear();
    m_body.shrink_to_fit();
    m_length = m_part1Length = m_gapLength = 0;
  }

  T ValueAt(int index) const {
    assert(index >= 0 && index < m_length);
    return index < m_part1Length ? m_body[index] : m_body[index + m_gapLength];
  }
  T operator[](int index) const { return ValueAt(index); }
  void SetValueAt(int index, T value) {
    assert(index >= 0 && index < m_length);
    if (index < m_part1Length) m_body[index] = value;
    else m_body[index + m_gapLength] = value;
  }
  T& RefAt(int index) {
    assert(index >= 0 && index < m_length);
    return index < m_part1Length ? m_body[index] : m_body[index + m_gapLength];
  }

  void Insert(int index, T value) { InsertN(index, &value, 1); }
  void InsertN(int index, const T* values, int count) {
    assert(index >= 0 && index <= m_length && count >= 0);
    if (count <= 0) return;
    RoomFor(count);
    GapTo(index);
    std::memcpy(m_body.data() + m_part1Length, values, sizeof(T) * static_cast<size_t>(count));
    m_part1Length += count;
    m_gapLength -= count;
    m_length += count;
  }
  void InsertValue(int index, int count, T value) {
    assert(index >= 0 && index <= m_length && count >= 0);
    if (count <= 0) return;
    RoomFor(count);
    GapTo(index);
    std::fill(m_body.begin() + m_part1Length, m_body.begin() + m_part1Length + count, value);
    m_part1Length += count;
    m_gapLength -= count;
    m_length += count;
  }
  void Delete(int index, int count) {
    assert(index >= 0 && count >= 0 && index + count <= m_length);
    if (count <= 0) return;
    if (index == 0 && count == m_length) {
      m_part1Length = 0;
      m_gapLength = static_cast<int>(m_body.size());
      m_length = 0;
      return;
    }
    GapTo(index);
    m_gapLength += count;
    m_length -= count;
  }

  // Copies `count` elements from `index` into `out`.
  void CopyTo(T* out, int index, int count) const {
    assert(index >= 0 && count >= 0 && index + count <= m_length);
    const int first = std::max(0, std::min(count, m_part1Length - index));
    if (first > 0) std::memcpy(out, m_body.data() + index, sizeof(T) * static_cast<size_t>(first));
    if (count > first)
      std::memcpy(out + first, m_body.data() + index + first + m_gapLength,
                  sizeof(T) * static_cast<size_t>(count - first));
  }

  // The two stored runs in order: [0, Part1Length()) and the rest.
  const T* Part1() const { return m_body.data(); }
  int Part1Length() const { return m_part1Length; }
  const T* Part2() const { return m_body.data() + m_part1Length + m_gapLength; }
  int Part2Length() const { return m_length - m_part1Length; }

  // A contiguous view of [index, index + count); moves the gap out of the
  // range when it lies inside (cost: the distance moved).
  const T* RangePointer(int index, int count) {
    assert(index >= 0 && count >= 0 && index + count <= m_length);
    if (index < m_part1Length && index + count > m_part1Length) GapTo(index);
    return index < m_part1Length ? m_body.data() + index : m_body.data() + index + m_gapLength;
  }

  // All elements as one run: when the gap lies inside, it is moved to the
  // nearer end (cost: the shorter side), so repeated calls after edits near
  // one place stay cheap. Valid until the next change.
  const T* ContiguousPointer() {
    if (m_part1Length > 0 && m_part1Length < m_length) GapTo(m_part1Length <= m_length - m_part1Length ? 0 : m_length);
    return m_part1Length == 0 ? m_body.data() + m_gapLength : m_body.data();
  }

  // The elements from `start` to the end as one run, where `start` <= `index`:
  // when the gap lies at or before `index` nothing moves and `start` is the
  // gap's index; otherwise the gap moves back to `index` (cost: the
  // distance). Valid until the next change or gap move.
  const T* TailFrom(int index, int& start) {
    assert(index >= 0 && index <= m_length);
    if (index < m_part1Length) GapTo(index);
    start = m_part1Length;
    return Part2();
  }

  // A view of [index, index + count) when it lies on one side of the gap;
  // nullptr when the gap splits it. Moves nothing.
  const T* PieceAt(int index, int count) const {
    assert(index >= 0 && count >= 0 && index + count <= m_length);
    if (index + count <= m_part1Length) return m_body.data() + index;
    if (index >= m_part1Length) return m_body.data() + index + m_gapLength;
    return nullptr;
  }

  // Adds `delta` to the elements in [start, end).
  void AddToRange(int start, int end, T delta) {
    assert(start >= 0 && end <= m_length);
    int i = start;
    const int e1 = std::min(end, m_part1Length);
    T* p = m_body.data();
    for (; i < e1; ++i) p[i] += delta;
    T* q = p + m_gapLength;
    for (; i < end; ++i) q[i] += delta;
  }

  // Index of the gap, and a move of the gap to `index`.
  void GapTo(int index) {
    assert(index >= 0 && index <= m_length);
    if (index == m_part1Length) return;
    T* p = m_body.data();
    if (index < m_part1Length) {
      std::memmove(p + index + m_gapLength, p + index, sizeof(T) * static_cast<size_t>(m_part1Length - index));
    } else {
      std::memmove(p + m_part1Length, p + m_part1Length + m_gapLength,
                   sizeof(T) * static_cast<size_t>(index - m_part1Length));
    }
    m_part1Length = index;
  }

  // Storage in elements, gap included.
  size_t Capacity() const { return m_body.size(); }

private:
  // Grows the gap to hold `count` more elements. Growth is proportional to
  // the length (an eighth) so that a run of insertions is amortised O(1),
  // while a large text does not double its memory at the first keystroke.
  void RoomFor(int count) {
    if (count <= m_gapLength) return;
    GapTo(m_length);
    const size_t minimum = static_cast<size_t>(m_length) + static_cast<size_t>(count);
    const size_t extra = std::max<size_t>(static_cast<size_t>(m_length) / 8, 64);
    m_body.resize(minimum + extra);
    m_gapLength = static_cast<int>(m_body.size()) - m_length;
  }

  std::vector<T> m_body;
  int m_length = 0;
  int m_part1Length = 0;
  int m_gapLength = 0;
};

}  // namespace penwick

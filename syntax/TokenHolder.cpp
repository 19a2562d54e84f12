// Lookups over the token list.
#include "syntax/TokenHolder.h"

namespace penwick {

std::string_view TTokenHolder::TokenText(int index) const {
  if (index < 0 || index >= TokenCount()) return {};
  const TSyntToken& t = Token(index);
  if (t.StartPos > t.EndPos) return {};
  return HolderRange(t.StartPos, t.EndPos);
}

int TTokenHolder::FirstTokenEndingAfter(std::uint32_t offset) const {
  const int n = TokenCount();
  int cached = m_lastFound;
  if (cached >= 0 && cached < n) {
    // Sequential callers ask for the same token or the one after it.
    for (int i = cached; i < n && i <= cached + 1; ++i) {
      if (m_tokens[static_cast<std::size_t>(i)].EndPos > offset &&
          (i == 0 || m_tokens[static_cast<std::size_t>(i - 1)].EndPos <= offset)) {
        m_lastFound = i;
        return i;
      }
    }
  }
  const int index = static_cast<int>(m_tokens.FirstEndingAfter(offset));
  if (index < n) m_lastFound = index;
  return index;
}

int TTokenHolder::FindTokenAt(std::uint32_t offset) const {
  int i = FirstTokenEndingAfter(offset);
  if (i < TokenCount() && Token(i).Contains(offset)) return i;
  return -1;
}

}  // namespace penwick

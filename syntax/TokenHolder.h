// The ordered token list of an analysed text (`TTokenHolder`) and lookups over it.
#pragma once

#include <cstdint>
#include <string_view>
#include "syntax/SyntToken.h"
#include "syntax/TokenList.h"

namespace penwick {

// Tokens are ordered by position and never overlap.
class TTokenHolder {
public:
  virtual ~TTokenHolder() = default;

  int TokenCount() const { return static_cast<int>(m_tokens.size()); }
  // Precondition: 0 <= index < TokenCount().
  const TSyntToken& Token(int index) const { return m_tokens[static_cast<std::size_t>(index)]; }
  // The characters of a token; empty for an index out of range. Valid until
  // the text changes or the text source moves a gap (see HolderRange).
  std::string_view TokenText(int index) const;
  // [start, end) of the text the tokens index into, empty when it leaves the
  // text. Several views may be held at once: none of them moves a gap.
  virtual std::string_view HolderRange(std::uint32_t start, std::uint32_t end) const = 0;

  // Index of the token containing `offset`, -1 if none. Halving search, with
  // the last answer tried first. Does not analyse.
  int FindTokenAt(std::uint32_t offset) const;
  // Index of the first token that ends after `offset` (the token containing
  // it or the next one); TokenCount() when none. O(log TokenCount()), O(1)
  // when it is the last answer or the one after it.
  int FirstTokenEndingAfter(std::uint32_t offset) const;

protected:
  TTokenList m_tokens;
  mutable int m_lastFound = 0;
};

}  // namespace penwick

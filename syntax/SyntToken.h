// A token of an analysed text (`TSyntToken`), a position range with a type and the rule that styles it.
#pragma once

#include <cstdint>

namespace penwick {

// A half-open range of 0-based character offsets.
struct TRange {
  std::uint32_t StartPos = 0;
  std::uint32_t EndPos = 0;  // exclusive
  bool Contains(std::uint32_t offset) const { return offset >= StartPos && offset < EndPos; }
};

// 12 bytes: a 10 MB text makes a couple of million tokens, so the token is
// kept small. The styling rule is an id into the definition's rule table
// (token rules first, then block rules); kNoRule for none.
struct TSyntToken : TRange {
  static constexpr std::uint16_t kNoRule = 0xFFFF;
  std::int16_t TokenType = 0;
  std::uint16_t RuleId = kNoRule;
};

}  // namespace penwick

// Ranges of tokens opened and closed by block rules (`TTextRange`) and the ranges derived from them for the editor.
#pragma once

#include <cstdint>

namespace penwick {

class TTagBlockCondition;
class TSyntaxFormat;

// A range of tokens. Indexes are token indexes; -1 while open.
struct TTextRange {
  int StartIdx = -1;
  int EndIdx = -1;
  int IdentIdx = -1;
  std::uint32_t StartPos = 0;   // start offset of the start token
  const TTagBlockCondition* Rule = nullptr;
  TTextRange* Parent = nullptr; // innermost range open when it was made
  int OpenerIdx = -1;           // token whose arrival opened it
  int CloserIdx = -1;           // closing token (the rule's anchor), -1 while open
  // Bookkeeping: its slot in creation order (which also orders ranges with
  // the same start) and the token count when it was closed, -1 while open.
  std::uint64_t Seq = 0;
  int ClosedAt = -1;

  bool IsOpen() const { return EndIdx < 0; }
};

// A foldable region: start offset of the start token to end offset of the end token.
struct TCollapsibleRange {
  std::uint32_t StartPos = 0;
  std::uint32_t EndPos = 0;
  int RangeIndex = -1;  // index into the client's list of all ranges
};

// Flag bits of a styled range.
enum TStyledRangeFlag : std::uint32_t { srHighlight = 1, srCaretDependent = 2, srInvertColors = 4 };

struct TStyledRange {
  std::uint32_t StartPos = 0;
  std::uint32_t EndPos = 0;
  const TSyntaxFormat* Style = nullptr;
  std::uint32_t Flags = 0;
};

// A line break recorded by a btLineBreak rule: at the offset's line, above
// it (lbTop) or below it.
struct TLineBreakRange {
  std::uint32_t Offset = 0;
  bool Below = false;
};

}  // namespace penwick

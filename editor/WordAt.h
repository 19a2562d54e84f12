// The word around a caret position: the run of word characters on its line
// that touches the caret, as F1, the find dialogs and double clicks see it.
#pragma once

#include <string>

#include "editor/MemoEditor.h"

namespace penwick {

class TCodePage;
class TSyntMemoStrings;

// Offsets [Start, End) of a word in the whole text; Start == End: no word.
struct TWordSpan {
  int Start = 0;
  int End = 0;
  bool Empty() const { return Start == End; }
  bool operator==(const TWordSpan&) const = default;
};

// The word characters (TCodePage::IsWordChar) left and right of `at` on its
// line, both sides taken: a caret at the start, inside or right after a word
// names that word. Between words, beyond the line's end or on a line that
// does not exist the span is empty (at the caret's offset, clamped).
TWordSpan WordAt(const TSyntMemoStrings& lines, TPoint at, const TCodePage& codePage);

// The text of WordAt; "" when there is none.
std::string WordTextAt(const TSyntMemoStrings& lines, TPoint at, const TCodePage& codePage);

}  // namespace penwick
